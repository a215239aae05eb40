#include "commands/commands.h"

#include <QDir>
#include <algorithm>

#include "core/clocktext.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/runlistfile.h"
#include "platform/sound.h"
#include "platform/tickcounter.h"
#include "settings/settings.h"

namespace {

// An error box's text: the file and the system's reason, ending with a full stop.
QString errorText(const QString& format, const QString& file, const QString& reason) {
  QString text = format.arg(QDir::toNativeSeparators(file), reason);
  if (!text.endsWith(u'.')) text += u'.';
  return text;
}

// What a read of a list left out, as the operator is told it; empty when nothing was.
QString shortfallText(const QString& file, const RunListFile::Shortfall& shortfall) {
  if (shortfall.none()) return {};
  QStringList parts;
  if (shortfall.linesNotLoaded > 0 || shortfall.moreNotLoaded)
    parts << QStringLiteral("%1%2 Zeilen nicht geladen")
                 .arg(shortfall.moreNotLoaded ? QStringLiteral("mehr als ") : QString())
                 .arg(shortfall.linesNotLoaded);
  if (shortfall.linesCut > 0) parts << QStringLiteral("%1 Zeilen gekürzt").arg(shortfall.linesCut);
  return QStringLiteral("\"%1\": %2.")
      .arg(QDir::toNativeSeparators(file), parts.join(QStringLiteral(", ")));
}

}  // namespace

MatchRules matchRules(const TSettings& s) { return {s.Time, s.CountDown, s.SoundTime, s.StrReset}; }

SportRules sportRules(const TSettings& s) {
  SportRules rules = SportRules::preset(s.Sport).value_or(SportRules{});
  rules.breakLength = s.BreakTime;
  return rules;
}

Commands::Commands(Match& match, Settings& settings, RunTextList& texts, Platform& platform,
                   const QString& listFolder, QObject* parent)
    : QObject(parent),
      match_(match),
      settings_(settings),
      texts_(texts),
      platform_(platform),
      listFolder_(listFolder) {
  // The match and the sound play by the settings; a confirmed configuration hands the match
  // its rules itself.
  const auto takeSettings = [this] {
    match_.setRules(matchRules(settings_.record()));
    if (const SportRules sport = sportRules(settings_.record()); sport != match_.sport())
      match_.setSport(sport);
    platform_.sound.setMuted(settings_.record().Muted);
  };
  takeSettings();
  connect(&settings_, &Settings::changed, this, takeSettings);
  connect(&match_, &Match::warningDue, this, [this] {
    const TSettings& s = settings_.record();
    if (!s.WarningOff) platform_.sound.playWarning(s.SoundFile, s.SLoop);
  });
  // A warning file that will not play is told when it is chosen, not when it is due.
  connect(&settings_, &Settings::changed, this, [this](const TSettings& before) {
    const TSettings& s = settings_.record();
    if (s.SoundFile != before.SoundFile || s.WarningOff != before.WarningOff) checkWarningSound();
  });
  connect(&match_, &Match::periodEnded, this, [this] {
    platform_.sound.stopAll();
    playEndSignal(platform_.sound);
  });
  connectCountdownSignals();
}

QString Commands::listFilePath() const {
  return QDir(listFolder_).filePath(QLatin1String(RunListFile::defaultName));
}

// ---- Clock ---------------------------------------------------------------------------------

Notice Commands::playPause() {
  if (Notice refused = playPauseRefusal()) return refused;
  match_.playPause(platform_.tick.now());
  return {};
}

Notice Commands::playPauseRefusal() const {
  if (!match_.matchOver()) return {};
  return Notice::error(QStringLiteral(
      "Das Spiel ist aus. Reset beginnt ein neues Spiel, eine Periodennummer (Alt+0 … Alt+4) "
      "eine weitere Periode."));
}

void Commands::clockTick() { match_.tick(platform_.tick.now()); }

void Commands::blinkStep() { match_.blinkStep(); }

void Commands::reset() {
  const MatchSnapshot before = beforeCommand();
  platform_.sound.stopAll();
  match_.reset();
  platform_.dialogs.beep();
  recordUndo("reset", before);
}

void Commands::correct(int stepSeconds) {
  const MatchSnapshot before = beforeCommand();
  match_.correct(stepSeconds);
  recordUndo("correct", before);
}

Notice Commands::setClockRefusal(int shownSeconds) const {
  if (match_.state().clock == MatchClock::Running)
    return Notice::error(QStringLiteral("Die Zeit lässt sich nur bei stehender Uhr setzen."));
  const int length = match_.rules().periodLength;
  if (shownSeconds < 0 || shownSeconds > length)
    return Notice::error(
        QStringLiteral("%1 liegt nicht zwischen 0:00 und %2.")
            .arg(shownSeconds < 0 ? QString::number(shownSeconds) : SpanText(shownSeconds),
                 SpanText(length)));
  return {};
}

Notice Commands::setClock(int shownSeconds) {
  if (Notice refused = setClockRefusal(shownSeconds)) return refused;
  const MatchSnapshot before = beforeCommand();
  match_.setClock(shownSeconds);
  recordUndo("setClock", before);
  return {};
}

void Commands::setCountDown(bool on) {
  settings_.change([on](TSettings& s) { s.CountDown = on; });
}

void Commands::toggleCountDown() { setCountDown(!settings_.record().CountDown); }

void Commands::setClockShown(bool shown) { match_.setClockShown(shown); }

// ---- Period --------------------------------------------------------------------------------

void Commands::setPeriod(int period) {
  const MatchSnapshot before = beforeCommand();
  match_.setPeriod(period);
  recordUndo("period", before);
}

void Commands::periodUp() { setPeriod(match_.state().period + 1); }

void Commands::periodDown() { setPeriod(match_.state().period - 1); }

void Commands::periodCycle() { setPeriod((match_.state().period + 1) % 5); }

// ---- Score and penalties -------------------------------------------------------------------

void Commands::goal(int team, int delta) {
  if (team != 1 && team != 2) return;
  const MatchSnapshot before = beforeCommand();
  match_.changeScore(team, delta, platform_.tick.now());
  recordUndo("goal", before);
}

// Views 2 and 3 show no penalty times, so none can be given there.
void Commands::penaltyClick(int team, int slot) {
  if (settings_.view() >= 2 || team < 1 || team > 2 || slot < 1 || slot > 2) return;
  const MatchSnapshot before = beforeCommand();
  match_.penaltyClick(PenaltyTable::index(team, slot), platform_.tick.now());
  recordUndo("penalty", before);
}

void Commands::setPenaltyRelease(bool on) {
  settings_.change([on](TSettings& s) { s.StrReset = on; });
}

namespace {

Notice noTeam(int team) { return Notice::error(QStringLiteral("Keine Mannschaft %1.").arg(team)); }

Notice noPenalty(int team, int id) {
  return Notice::error(QStringLiteral("Mannschaft %1 hat keine Strafe %2.").arg(team).arg(id));
}

}  // namespace

Notice Commands::givePenalty(int team, const QString& kind, std::optional<int> player) {
  if (team != 1 && team != 2) return noTeam(team);
  if (settings_.view() >= 2)
    return Notice::error(QStringLiteral("Diese Ansicht zeigt keine Strafzeiten."));
  if (!match_.sport().kind(kind))
    return Notice::error(QStringLiteral("Die Sportart \"%1\" kennt keine Strafe \"%2\".")
                             .arg(match_.sport().name, kind));
  if (player && (*player < 0 || *player > Penalty::kMaxPlayer))
    return Notice::error(QStringLiteral("Spielernummer %1 liegt nicht zwischen 0 und %2.")
                             .arg(*player)
                             .arg(Penalty::kMaxPlayer));
  const MatchSnapshot before = beforeCommand();
  match_.givePenalty(team, kind, player, platform_.tick.now());
  recordUndo("penalty", before);
  return {};
}

Notice Commands::setPenaltyTime(int team, int id, int seconds) {
  if (team != 1 && team != 2) return noTeam(team);
  if (!match_.state().penalty(team, id)) return noPenalty(team, id);
  if (seconds < 1 || seconds > Penalty::kMaxSeconds)
    return Notice::error(QStringLiteral("Restzeit %1 s liegt nicht zwischen 1 s und %2.")
                             .arg(seconds)
                             .arg(SpanText(Penalty::kMaxSeconds)));
  const MatchSnapshot before = beforeCommand();
  match_.setPenaltyTime(team, id, seconds, platform_.tick.now());
  recordUndo("penaltyTime", before);
  return {};
}

Notice Commands::cancelPenalty(int team, int id) {
  if (team != 1 && team != 2) return noTeam(team);
  const MatchSnapshot before = beforeCommand();
  if (!match_.cancelPenalty(team, id, platform_.tick.now())) return noPenalty(team, id);
  recordUndo("penaltyCancel", before);
  return {};
}

Notice Commands::foul(int team, int delta) {
  if (team != 1 && team != 2) return noTeam(team);
  if (delta != 1 && delta != -1)
    return Notice::error(QStringLiteral("Fouls ändern sich um 1 oder -1, nicht um %1.").arg(delta));
  const MatchSnapshot before = beforeCommand();
  if (!match_.foul(team, delta))
    return Notice::error(
        QStringLiteral("Die Sportart \"%1\" zählt keine Fouls.").arg(match_.sport().name));
  recordUndo("foul", before);
  return {};
}

// ---- Screens -------------------------------------------------------------------------------

void Commands::setLogoScreen(bool shown) {
  if (logoAvailable_ || !shown) match_.setLogoScreen(shown);
}

void Commands::setBlackScreen(bool shown) {
  if (match_.state().blackScreen != shown) match_.toggleBlackScreen();
}

void Commands::toggleBlackScreen() { match_.toggleBlackScreen(); }

// ---- Running text --------------------------------------------------------------------------

// With nothing selected playback starts over from the saved list, dropping unsaved edits.
Notice Commands::startText(int mode) {
  Notice notice;
  if (texts_.selected() == RunTextList::kNone) notice = loadTexts(listFilePath(), false);
  if (texts_.selected() == RunTextList::kNone)
    match_.startRunText(mode, std::nullopt);
  else
    match_.startRunText(mode, texts_.selectedLine());
  return notice;
}

void Commands::stopText() {
  if (match_.state().runText.shown) match_.stopRunText();
}

void Commands::replayText() {
  const int mode = match_.state().runText.mode;
  if (mode == runTextOne || mode == runTextAll || mode == runTextStatic) startText(mode);
}

// The selection is the playback cursor: each pass moves it on, and all-texts playback goes
// on with the next line, from the top again unless it is to stop after the last.
void Commands::textPassEnded() {
  const int index = texts_.selected();
  if (index == texts_.count() - 1) {
    texts_.select(0);
    if (texts_.stopsAfterLast()) {
      match_.stopRunText();
      return;
    }
  } else {
    texts_.select(index + 1);
  }
  if (match_.state().runText.mode == runTextAll && texts_.selected() != RunTextList::kNone) {
    match_.continueRunText(texts_.selectedLine());
    return;
  }
  match_.stopRunText();
}

void Commands::selectText(int index) { texts_.select(index); }

void Commands::insertTextAfter(const QString& line) { texts_.insertAfterSelected(line); }

void Commands::insertTextBefore(const QString& line) { texts_.insertBeforeSelected(line); }

void Commands::deleteText() { texts_.removeSelected(); }

void Commands::setTextsStopAfterLast(bool stops) { texts_.setStopsAfterLast(stops); }

Notice Commands::loadDefaultTexts() { return loadTexts(listFilePath(), false); }

Notice Commands::openTexts(const QString& path) { return loadTexts(path, true); }

// A list that was not read whole is loaded with a warning; a file that cannot be read leaves
// the list as it was, and only an explicitly chosen file says so.
Notice Commands::loadTexts(const QString& path, bool reportFailure) {
  QStringList lines;
  QString reason;
  RunListFile::Shortfall shortfall;
  if (!RunListFile::read(path, lines, &reason, &shortfall)) {
    if (!reportFailure) return {};
    return Notice::error(errorText(QStringLiteral("Cannot open file \"%1\". %2"), path, reason));
  }
  texts_.load(lines, shortfall.none());
  const QString cut = shortfallText(path, shortfall);
  return cut.isEmpty() ? Notice() : Notice::warning(cut);
}

// Saving a list that was not loaded whole would cut off what was left out.
Notice Commands::saveTexts() {
  const QString file = listFilePath();
  if (!texts_.complete())
    return Notice::error(
        QStringLiteral("\"%1\" wird nicht gespeichert: die Liste wurde nicht vollständig geladen.")
            .arg(QDir::toNativeSeparators(file)));
  QString reason;
  if (!RunListFile::write(file, texts_.lines(), &reason))
    return Notice::error(errorText(QStringLiteral("Cannot create file \"%1\". %2"), file, reason));
  texts_.markSaved();
  return {};
}

// ---- Settings ------------------------------------------------------------------------------

// The match takes the new rules, the start value and the stopped penalties in one step before
// the settings notify, so their own change finds the rules already in place.
void Commands::configure(const ConfirmedConfiguration& configuration) {
  if (!configuration.refused()) match_.takeConfiguration(matchRules(configuration.record));
  settings_.configure(configuration);
}

void Commands::chooseSport(const QString& name) {
  const std::optional<SportRules> rules = SportRules::preset(name);
  if (!rules || name == settings_.record().Sport) return;
  settings_.change([&](TSettings& s) {
    s.Sport = name;
    s.Time = rules->periodLength;
    s.BreakTime = rules->breakLength;
    s.WarningOff = !rules->warningByDefault;
  });
}

void Commands::checkWarningSound() {
  if (!settings_.record().WarningOff) platform_.sound.checkWarning(settings_.record().SoundFile);
}

void Commands::setElementFont(int element, const ElementFont& font) {
  if (element < 0 || element >= 5) return;
  settings_.change([&](TSettings& s) { s.Fonts[element] = font; });
}

void Commands::setElementFonts(const std::array<ElementFont, 5>& fonts) {
  settings_.change([&](TSettings& s) { s.Fonts = fonts; });
}

void Commands::setMuted(bool muted) {
  settings_.change([muted](TSettings& s) { s.Muted = muted; });
}

void Commands::horn() {
  platform_.sound.playHorn(kHornManualMs);
  emit hornSounded();
}

void Commands::setRemote(bool running, int port) {
  settings_.change([&](TSettings& s) {
    s.RemoteOn = running;
    s.RemotePort = port;
  });
}

void Commands::setOverlayToken(const QString& token) {
  settings_.change([&](TSettings& s) { s.RemoteOverlayToken = token; });
}

void Commands::setOverlayColor(int team, TColor color) {
  if (team != 1 && team != 2) return;
  settings_.change([&](TSettings& s) { (team == 1 ? s.RemoteColor1 : s.RemoteColor2) = color; });
}

// ---- Undo ----------------------------------------------------------------------------------

MatchSnapshot Commands::beforeCommand() const { return match_.snapshot(platform_.tick.now()); }

// A command that changed nothing (a refused one) leaves no step. Time that passed while it
// ran is no change of its own: a running clock's elapsed time is not compared.
void Commands::recordUndo(const char* command, const MatchSnapshot& before) {
  const MatchSnapshot after = match_.snapshot(platform_.tick.now());
  const bool clockMoved =
      after.state.clock != MatchClock::Running && after.elapsedMs != before.elapsedMs;
  if (after.state == before.state && !clockMoved) return;
  undoSteps_.push_back({QString::fromLatin1(command), before, after});
  if (undoSteps_.size() > size_t(kUndoSteps)) undoSteps_.pop_front();
  emit undoStepAdded(undoSteps_.back());
}

void Commands::restoreUndoSteps(const QList<UndoStep>& steps) {
  const qsizetype from = std::max<qsizetype>(0, steps.size() - kUndoSteps);
  undoSteps_.assign(steps.begin() + from, steps.end());
}

Notice Commands::undo() {
  if (undoSteps_.empty())
    return Notice::error(QStringLiteral("Es gibt nichts rückgängig zu machen."));
  const UndoStep step = undoSteps_.back();
  undoSteps_.pop_back();
  match_.undo(step.before, step.after, step.command, platform_.tick.now());
  return {};
}

QString Commands::nextUndo() const {
  return undoSteps_.empty() ? QString() : UndoStep::caption(undoSteps_.back().command);
}

// ---- Team time-outs and the break ---------------------------------------------------------

void Commands::connectCountdownSignals() {
  connect(&match_, &Match::timeoutSignalDue, this,
          [this] { platform_.sound.playHorn(kHornShortMs); });
  connect(&match_, &Match::countdownEnded, this, [this] { platform_.sound.playHorn(kHornEndMs); });
}

Notice Commands::timeout(int team) {
  if (Notice refused = timeoutRefusal(team)) return refused;
  const MatchSnapshot before = beforeCommand();
  match_.startTimeout(team, platform_.tick.now());
  recordUndo("timeout", before);
  return {};
}

Notice Commands::timeoutRefusal(int team) const {
  const QString name = team == 1 ? QStringLiteral("HEIM") : QStringLiteral("GAST");
  const QString period =
      match_.sport().periods == 2 ? QStringLiteral("Halbzeit") : QStringLiteral("Periode");
  switch (match_.timeoutRefusal(team)) {
    case TimeoutRefusal::None:
      return {};
    case TimeoutRefusal::NoTeam:
      return noTeam(team);
    case TimeoutRefusal::NotInSport:
      return Notice::error(
          QStringLiteral("Die Sportart \"%1\" kennt keine Auszeiten.").arg(match_.sport().name));
    case TimeoutRefusal::Running:
      return Notice::error(QStringLiteral("Es läuft schon eine Auszeit."));
    case TimeoutRefusal::InBreak:
      return Notice::error(QStringLiteral("In der Pause gibt es keine Auszeit."));
    case TimeoutRefusal::MatchLimit:
      return Notice::error(QStringLiteral("Keine Auszeit mehr für %1 in diesem Spiel.").arg(name));
    case TimeoutRefusal::PeriodLimit:
      return Notice::error(
          QStringLiteral("Keine Auszeit mehr für %1 in dieser %2.").arg(name, period));
    case TimeoutRefusal::LateLimit:
      return Notice::error(
          QStringLiteral("%1 hatte schon eine Auszeit in den letzten %2 Minuten des Spiels.")
              .arg(name)
              .arg(match_.sport().timeouts.lastSeconds / 60));
  }
  return {};
}

void Commands::timeoutEnd() { match_.endTimeout(platform_.tick.now()); }

void Commands::startBreak() { match_.startBreak(platform_.tick.now()); }

void Commands::endBreak() { match_.endBreak(); }
