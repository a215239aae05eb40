#include "commands/commands.h"

#include <QDir>
#include <algorithm>

#include "core/clocktext.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "core/team.h"
#include "platform/dialogs.h"
#include "platform/os/runlistfile.h"
#include "platform/os/tickcounter.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "settings/settings.h"

namespace {

// What a read of a list left out, as the operator is told it; none when nothing was.
Notice shortfallNotice(const QString& file, const RunListFile::Shortfall& shortfall) {
  if (shortfall.none()) return {};
  return Notice::warning(Refusal::ListShortfall,
                         {QDir::toNativeSeparators(file), QString::number(shortfall.linesNotLoaded),
                          shortfall.moreNotLoaded ? QStringLiteral("more") : QString(),
                          QString::number(shortfall.linesCut)});
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
  return Notice::error(Refusal::MatchOver);
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
  if (match_.state().clock == MatchClock::Running) return Notice::error(Refusal::ClockRunning);
  const int length = match_.rules().periodLength;
  if (shownSeconds < 0 || shownSeconds > length)
    return Notice::error(Refusal::ClockOutOfRange,
                         {shownSeconds < 0 ? QString::number(shownSeconds) : SpanText(shownSeconds),
                          SpanText(length)});
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

void Commands::periodCycle() {
  setPeriod((match_.state().period + 1) % (MatchState::kLastPeriod + 1));
}

// ---- Score and penalties -------------------------------------------------------------------

void Commands::goal(int team, int delta) {
  if (!teamNumbered(team)) return;
  const MatchSnapshot before = beforeCommand();
  match_.changeScore(team, delta, platform_.tick.now());
  recordUndo("goal", before);
}

// Views 2 and 3 show no penalty times, so none can be given there.
void Commands::penaltyClick(int team, int slot) {
  if (settings_.view() >= 2 || !teamNumbered(team) || slot < 1 || slot > 2) return;
  const bool empty = match_.state().penalties[PenaltyTable::index(team, slot)].id == 0;
  if (empty && penaltyListRefusal(team)) return;  // the click would give one
  const MatchSnapshot before = beforeCommand();
  match_.penaltyClick(PenaltyTable::index(team, slot), platform_.tick.now());
  recordUndo("penalty", before);
}

void Commands::setPenaltyRelease(bool on) {
  settings_.change([on](TSettings& s) { s.StrReset = on; });
}

namespace {

Notice noTeam(int team) { return Notice::error(Refusal::NoTeam, {QString::number(team)}); }

Notice noPenalty(int team, int id) {
  return Notice::error(Refusal::NoPenalty, {QString::number(team), QString::number(id)});
}

}  // namespace

Notice Commands::givePenalty(int team, const QString& kind, std::optional<int> player) {
  if (!teamNumbered(team)) return noTeam(team);
  if (settings_.view() >= 2) return Notice::error(Refusal::NoPenaltyTimes);
  if (!match_.sport().kind(kind))
    return Notice::error(Refusal::UnknownPenaltyKind, {match_.sport().name, kind});
  if (player && (*player < 0 || *player > Penalty::kMaxPlayer))
    return Notice::error(Refusal::PlayerOutOfRange,
                         {QString::number(*player), QString::number(Penalty::kMaxPlayer)});
  if (Notice full = penaltyListRefusal(team)) return full;
  const MatchSnapshot before = beforeCommand();
  match_.givePenalty(team, kind, player, platform_.tick.now());
  recordUndo("penalty", before);
  return {};
}

Notice Commands::penaltyListRefusal(int team) const {
  if (match_.state().teamPenalties[team - 1].size() < Match::kPenaltiesPerTeam) return {};
  return Notice::error(Refusal::PenaltyListFull,
                       {QString::number(team), QString::number(Match::kPenaltiesPerTeam)});
}

Notice Commands::setPenaltyTime(int team, int id, int seconds) {
  if (!teamNumbered(team)) return noTeam(team);
  if (!match_.state().penalty(team, id)) return noPenalty(team, id);
  if (seconds < 1 || seconds > Penalty::kMaxSeconds)
    return Notice::error(Refusal::PenaltyTimeOutOfRange,
                         {QString::number(seconds), SpanText(Penalty::kMaxSeconds)});
  const MatchSnapshot before = beforeCommand();
  match_.setPenaltyTime(team, id, seconds, platform_.tick.now());
  recordUndo("penaltyTime", before);
  return {};
}

Notice Commands::cancelPenalty(int team, int id) {
  if (!teamNumbered(team)) return noTeam(team);
  const MatchSnapshot before = beforeCommand();
  if (!match_.cancelPenalty(team, id, platform_.tick.now())) return noPenalty(team, id);
  recordUndo("penaltyCancel", before);
  return {};
}

Notice Commands::foul(int team, int delta) {
  if (!teamNumbered(team)) return noTeam(team);
  if (delta != 1 && delta != -1) return Notice::error(Refusal::FoulStep, {QString::number(delta)});
  const MatchSnapshot before = beforeCommand();
  if (!match_.foul(team, delta)) return Notice::error(Refusal::NoFouls, {match_.sport().name});
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
    return Notice::error(Refusal::CannotOpenFile, {QDir::toNativeSeparators(path), reason});
  }
  texts_.load(lines, shortfall.none());
  return shortfallNotice(path, shortfall);
}

// Saving a list that was not loaded whole would cut off what was left out.
Notice Commands::saveTexts() {
  const QString file = listFilePath();
  if (!texts_.complete())
    return Notice::error(Refusal::ListNotSaved, {QDir::toNativeSeparators(file)});
  QString reason;
  if (!RunListFile::write(file, texts_.lines(), &reason))
    return Notice::error(Refusal::CannotCreateFile, {QDir::toNativeSeparators(file), reason});
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
  if (!teamNumbered(team)) return;
  settings_.change([&](TSettings& s) {
    (teamNumbered(team) == Team::Home ? s.RemoteColor1 : s.RemoteColor2) = color;
  });
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
  if (undoSteps_.empty()) return Notice::error(Refusal::NothingToUndo);
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
  switch (match_.timeoutRefusal(team)) {
    case TimeoutRefusal::None:
      return {};
    case TimeoutRefusal::NoTeam:
      return noTeam(team);
    case TimeoutRefusal::NotInSport:
      return Notice::error(Refusal::NoTimeouts, {match_.sport().name});
    case TimeoutRefusal::Running:
      return Notice::error(Refusal::TimeoutRunning);
    case TimeoutRefusal::InBreak:
      return Notice::error(Refusal::TimeoutInBreak);
    case TimeoutRefusal::MatchLimit:
      return Notice::error(Refusal::TimeoutMatchLimit, {QString::number(team)});
    case TimeoutRefusal::PeriodLimit:
      return Notice::error(Refusal::TimeoutPeriodLimit,
                           {QString::number(team), QString::number(match_.sport().periods)});
    case TimeoutRefusal::LateLimit:
      return Notice::error(
          Refusal::TimeoutLateLimit,
          {QString::number(team), QString::number(match_.sport().timeouts.lastSeconds / 60)});
  }
  return {};
}

void Commands::timeoutEnd() { match_.endTimeout(platform_.tick.now()); }

void Commands::startBreak() { match_.startBreak(platform_.tick.now()); }

void Commands::endBreak() { match_.endBreak(); }
