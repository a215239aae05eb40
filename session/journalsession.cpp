#include "session/journalsession.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <algorithm>

#include "core/match.h"
#include "journal/matchjournal.h"
#include "platform/os/tickcounter.h"

namespace {

Q_LOGGING_CATEGORY(lcApp, "scorvex.app")

void report(const QString& line) { qCWarning(lcApp, "%s", qPrintable(line)); }

bool begun(const JournalContents& contents) {
  const MatchState& s = contents.state->state;
  return s.started || s.score != std::array<int, 2>{0, 0};
}

bool resetAmong(const QList<UndoStep>& steps) {
  return std::any_of(steps.begin(), steps.end(),
                     [](const UndoStep& step) { return step.command == QLatin1String("reset"); });
}

// A program that died right after a reset: its new match is still empty, and the reset is the
// last thing it did. There is nothing to offer back, but the reset can still be taken back.
bool justReset(const JournalContents& contents) {
  return !contents.ended && contents.state && !begun(contents) && !contents.changed &&
         !contents.missingFrom.isValid() && !contents.undoSteps.isEmpty() &&
         contents.undoSteps.last().command == QLatin1String("reset");
}

}  // namespace

JournalSession::JournalSession(const QString& folder, Match& match, const TickCounter& tick,
                               QObject* parent)
    : QObject(parent), store_(folder), match_(match), tick_(tick) {}

JournalSession::~JournalSession() = default;

// What the last run left: nothing, a journal to set aside, or a match to offer back. A run
// in which nothing happened leaves no match behind to crowd out real ones.
std::optional<JournalContents> JournalSession::leftOver() const {
  if (!store_.hasCurrent()) return std::nullopt;
  const JournalReading reading = readJournalFile(store_.currentPath());
  if (!reading.contents) {
    report(QString("Spieljournal %1 ignoriert: %2").arg(store_.currentPath(), reading.problem));
  } else if (!reading.contents->changed && !reading.contents->state) {
    QFile::remove(store_.currentPath());
    return std::nullopt;
  } else if (!reading.contents->ended && reading.contents->state) {
    if (begun(*reading.contents) || reading.contents->changed ||
        reading.contents->missingFrom.isValid() || justReset(*reading.contents))
      return reading.contents;
    QFile::remove(store_.currentPath());
    return std::nullopt;
  }
  store_.finishCurrent();
  return std::nullopt;
}

QString JournalSession::recordNote(const JournalContents& contents, bool unwritable,
                                   const QDateTime& now) {
  if (unwritable && contents.lastWall.isValid())
    return tr("Stand von %1 (vor %2 Min.), spätere Änderungen fehlen")
        .arg(contents.lastWall.toLocalTime().toString("HH:mm"))
        .arg(std::max<qint64>(0, contents.lastWall.secsTo(now) / 60));
  if (contents.missingFrom.isValid())
    return tr("Journal fehlt ab %1").arg(contents.missingFrom.toLocalTime().toString("HH:mm:ss"));
  if (contents.damagedLines > 0) return tr("Journal teils beschädigt");
  return QString();
}

std::optional<JournalContents> JournalSession::open(
    const std::function<bool(const QString&)>& ask) {
  QString error;
  if (!store_.prepare(&error)) report(QString("Spieljournal: %1").arg(error));
  std::optional<JournalContents> resumed = leftOver();
  const bool silently = resumed && justReset(*resumed);
  if (silently) {
    // Taken up without a question: the match is the empty one a start shows anyway. Ended
    // without a command it leaves nothing, as any run in which nothing happened.
    resumeMatch(match_, *resumed->state, tick_.now());
  } else if (resumed) {
    // The hall sees no score that may be about to go until the operator has answered.
    const bool wasBlack = match_.state().blackScreen;
    if (!wasBlack) match_.toggleBlackScreen();
    // A journal that cannot be written now could not be written by the last run either: its
    // match may be older than it looks.
    QFile current(store_.currentPath());
    const QString note = recordNote(*resumed, !current.open(QIODevice::Append));
    if (ask(note.isEmpty() ? tr(kResumeQuestion) : tr(kResumeQuestion) + ("\n" + note))) {
      resumeMatch(match_, *resumed->state, tick_.now());
      resumed_ = true;
    } else {
      if (!wasBlack) match_.toggleBlackScreen();
      resumed.reset();
      store_.finishCurrent();
    }
  }
  journal_ = resumed ? std::make_unique<MatchJournal>(match_, tick_, store_.currentPath(), *resumed)
                     : std::make_unique<MatchJournal>(match_, tick_, store_.currentPath());
  // Undoing a reset of the match taken up brings the record of the match before it back, from
  // the journal that reset filed (gone when more matches were filed since).
  if (resumed && resetAmong(resumed->undoSteps) && !resumed->previousJournal.isEmpty()) {
    for (const QString& path : store_.finishedPaths()) {
      if (QFileInfo(path).fileName() != resumed->previousJournal) continue;
      const JournalReading previous = readJournalFile(path);
      if (previous.contents) journal_->takePreviousMatch(*previous.contents);
    }
  }
  journal_->setNextJournal([this] {
    resumed_ = false;
    journal_->setPreviousJournal(QFileInfo(store_.finishCurrent()).fileName());
    return store_.currentPath();
  });
  connect(journal_.get(), &MatchJournal::problemChanged, this, &JournalSession::problemChanged);
  if (!journal_->problem().isEmpty()) emit problemChanged(journal_->problem());
  return resumed;
}

void JournalSession::recordNames(const TeamNames& names) {
  if (journal_) journal_->recordNames(names);
}

void JournalSession::recordTexts(const RunningTexts& texts) {
  if (journal_) journal_->recordTexts(texts);
}

void JournalSession::recordHorn() {
  if (journal_) journal_->recordHorn();
}

void JournalSession::recordUndoStep(const UndoStep& step) {
  if (journal_) journal_->recordUndoStep(step);
}

QString JournalSession::problem() const { return journal_ ? journal_->problem() : QString(); }

void JournalSession::finish() {
  if (!journal_) return;
  if (journal_->inProgress()) {
    // Offered again at the next start, as after a crash.
    journal_->close();
  } else if (resumed_ || journal_->changed()) {
    journal_->finish();
    store_.finishCurrent();
  } else {
    journal_->close();
    QFile::remove(store_.currentPath());
  }
  journal_.reset();
}
