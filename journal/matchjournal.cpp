#include "journal/matchjournal.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <algorithm>
#include <utility>

#include "core/match.h"
#include "journal/journalformat.h"
#include "journal/journalline.h"
#include "journal/snapshotjson.h"
#include "platform/os/tickcounter.h"

using journalline::encode;

namespace {
Q_LOGGING_CATEGORY(lcJournal, "scorvex.journal")
}  // namespace

MatchJournal::MatchJournal(Match& match, const TickCounter& tick, const QString& path,
                           QObject* parent)
    : MatchJournal(match, tick, path, nullptr, parent) {}

MatchJournal::MatchJournal(Match& match, const TickCounter& tick, const QString& path,
                           const JournalContents& read, QObject* parent)
    : MatchJournal(match, tick, path, &read, parent) {}

MatchJournal::MatchJournal(Match& match, const TickCounter& tick, const QString& path,
                           const JournalContents* read, QObject* parent)
    : QObject(parent), match_(match), tick_(tick), path_(path) {
  last_ = match_.snapshot(tick_.now());
  lastWall_ = journalformat::wallNow();
  started_ = lastWall_;
  retryTimer_.setInterval(kRetryMs);
  connect(&retryTimer_, &QTimer::timeout, this, &MatchJournal::retry);
  clockTimer_.setInterval(kClockLineAgeMs / 2);
  connect(&clockTimer_, &QTimer::timeout, this, &MatchJournal::recordClock);
  connect(&match_, &Match::changed, this, &MatchJournal::record);
  connect(&match_, &Match::undone, this, [this](const QString& command) { undone_ = command; });
  if (match_.state().clock == MatchClock::Running) clockTimer_.start();
  sinceLastState_.start();

  const QFileInfo info(path);
  if (info.size() > 0) {
    const JournalReading reading = read ? JournalReading{*read, {}} : readJournalFile(path);
    if (reading.contents) carryOver(*reading.contents);
    file_ = std::make_unique<JournalFile>(path);
    if (!file_->isOpen()) {
      fail(0);
      return;
    }
    if (reading.contents) {
      const QByteArray compact = compactJournal();
      if (file_->replace(compact)) {
        missingOffset_ = compact.indexOf('\n') + 1;
        compactAt_ = std::max(kCompactBytes, 2 * compact.size());
        return;
      }
    }
    // Not read, or not replaced (the disk may be full): the state goes at its end.
    write(fullState(), 0);
    return;
  }
  startNext(lastWall_);
}

MatchJournal::~MatchJournal() = default;

// The entries, gaps, list and names of a match taken up again. The time from which its record
// was missing becomes a gap up to now: what was played then is not in the journal.
void MatchJournal::carryOver(const JournalContents& contents) {
  started_ = contents.started;
  events_ = contents.events;
  gaps_ = contents.gaps;
  if (contents.missingFrom.isValid())
    gaps_.append({events_.size(), contents.missingFrom, lastWall_, 0, false});
  encodeReport();
  if (contents.texts) lastTexts_ = contents.texts;
  if (contents.names) names_ = contents.names;
  steps_ = contents.undoSteps;
  previousJournal_ = contents.previousJournal;
}

// A new journal: head, missing line, names, list and the state, in one write.
void MatchJournal::startNext(const QDateTime& wall) {
  started_ = wall;
  events_.clear();
  gaps_.clear();
  report_.clear();
  changed_ = false;
  missingSince_ = QDateTime();
  missingOffset_ = -1;
  compactAt_ = kCompactBytes;
  QDir().mkpath(QFileInfo(path_).absolutePath());
  file_ = std::make_unique<JournalFile>(path_);
  if (!file_->isOpen()) return fail(0);
  const QByteArray start = compactJournal();
  if (!file_->append(start)) return fail(0);
  missingOffset_ = start.indexOf('\n') + 1;
  setProblem(QString());
  retryTimer_.stop();
}

bool MatchJournal::inProgress() const {
  return last_.state.started || last_.state.score != std::array<int, 2>{0, 0};
}

void MatchJournal::record() {
  const QDateTime wall = journalformat::wallNow();
  const MatchSnapshot now = match_.snapshot(tick_.now());
  const bool resetUndone = undone_ == QLatin1String("reset") && previous_;
  // An undo takes back the newest step: its line goes in the same write as the change, so that
  // after a crash the step is either still there with the match before the undo, or gone.
  const bool undo = !undone_.isEmpty();
  if (undo && !steps_.isEmpty()) steps_.removeLast();
  const QList<MatchEvent> events = eventsOf(now, wall);
  QByteArray eventLines;
  for (const MatchEvent& event : events) eventLines += encode(journalformat::event(event));
  QByteArray lines = eventLines;
  if (undo) lines += encode(journalformat::unstep());
  lines += encode(journalformat::state(toJson(now), wall));
  if (resetUndone) {
    // The match goes on: its record before the reset comes back into this journal (the
    // filed one stays as it was), and the journal is written anew in one step.
    started_ = previous_->started;
    events_ = previous_->events + events_;
    gaps_ = previous_->gaps;
    previous_.reset();
    previousJournal_.clear();
    events_ += events;
    encodeReport();
    changed_ = true;
    last_ = now;
    lastWall_ = wall;
    if (isOpen() && !missingSince_.isValid()) {
      const QByteArray compact = compactJournal();
      if (file_->replace(compact)) missingOffset_ = compact.indexOf('\n') + 1;
    }
    sinceLastState_.restart();
    if (now.state.clock == MatchClock::Running && !clockTimer_.isActive()) clockTimer_.start();
    return;
  }
  events_ += events;
  report_ += eventLines;
  changed_ = changed_ || now.state != last_.state;
  last_ = now;
  lastWall_ = wall;
  write(lines, events.size());
  sinceLastState_.restart();
  if (now.state.clock == MatchClock::Running) {
    if (!clockTimer_.isActive()) clockTimer_.start();
  } else {
    clockTimer_.stop();
  }

  // A reset ends the match: its journal is filed, and the next match gets a new one.
  const bool reset = std::any_of(events.begin(), events.end(), [](const MatchEvent& e) {
    return e.kind == MatchEvent::Kind::Reset;
  });
  if (!reset || !nextJournal_) return;
  if (isOpen() && !missingSince_.isValid()) file_->append(encode(journalformat::end(wall)));
  file_.reset();
  path_ = nextJournal_();
  previous_ = Previous{started_, events_, gaps_};
  startNext(wall);
}

QList<MatchEvent> MatchJournal::eventsOf(const MatchSnapshot& now, const QDateTime& wall) {
  if (undone_.isEmpty()) return eventsBetween(last_, now, wall);
  MatchEvent undo{wall,
                  MatchEvent::Kind::Undo,
                  now.state.period,
                  now.elapsedMs,
                  0,
                  0,
                  now.state.score[0],
                  now.state.score[1],
                  0,
                  std::exchange(undone_, QString())};
  return {undo};
}

void MatchJournal::recordHorn() {
  const MatchSnapshot now = match_.snapshot(tick_.now());
  const MatchEvent horn{journalformat::wallNow(),
                        MatchEvent::Kind::Horn,
                        now.state.period,
                        now.elapsedMs,
                        0,
                        0,
                        now.state.score[0],
                        now.state.score[1],
                        0,
                        {}};
  events_.append(horn);
  const QByteArray line = encode(journalformat::event(horn));
  report_ += line;
  write(line, 1);
}

void MatchJournal::recordUndoStep(const UndoStep& step) {
  steps_.append(step);
  if (steps_.size() > UndoStep::kKept) steps_.removeFirst();
  write(encode(journalformat::step(step)), 0);
}

void MatchJournal::takePreviousMatch(const JournalContents& previous) {
  previous_ = Previous{previous.started, previous.events, previous.gaps};
}

void MatchJournal::recordClock() {
  if (sinceLastState_.elapsed() >= kClockLineAgeMs) record();
}

void MatchJournal::recordTexts(const RunningTexts& texts) {
  if (lastTexts_ && texts == *lastTexts_) return;
  const QJsonObject line =
      lastTexts_ ? journalformat::splice(*lastTexts_, texts) : journalformat::texts(texts);
  changed_ = changed_ || lastTexts_.has_value();
  lastTexts_ = texts;
  write(encode(line), 0);
}

void MatchJournal::recordNames(const TeamNames& names) {
  if (names_ == names) return;
  names_ = names;
  write(encode(journalformat::names(names)), 0);
}

void MatchJournal::finish() {
  if (!isOpen()) return close();
  if (!missingSince_.isValid()) file_->append(encode(journalformat::end(journalformat::wallNow())));
  close();
}

void MatchJournal::close() {
  clockTimer_.stop();
  retryTimer_.stop();
  disconnect(&match_, nullptr, this, nullptr);
  file_.reset();
}

void MatchJournal::write(const QByteArray& lines, qsizetype newEvents) {
  // While writing fails the entries wait in events_; after close() nothing is written.
  if (missingSince_.isValid() || !file_) return;
  if (!isOpen() || !file_->append(lines)) return fail(newEvents);
  compactIfDue();
}

void MatchJournal::fail(qsizetype newEvents) {
  if (!missingSince_.isValid()) {
    missingSince_ = lastWall_;
    firstUnwritten_ = events_.size() - newEvents;
    // Told to the file too, so that a crash before writing works again is not taken for a
    // whole record.
    if (isOpen() && missingOffset_ >= 0)
      file_->overwrite(missingOffset_, journalformat::missingLine(missingSince_));
    qCWarning(lcJournal, "Spieljournal %s kann nicht geschrieben werden: %s", qPrintable(path_),
              qPrintable(file_->errorString()));
  }
  setProblem(file_->errorString());
  retryTimer_.start();
}

// Writing is tried again: the entries missed, the names, the whole list and the state at once.
void MatchJournal::retry() {
  if (!isOpen()) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    auto file = std::make_unique<JournalFile>(path_);
    if (!file->isOpen()) return setProblem(file->errorString());
    file_ = std::move(file);
  }
  // A journal that could not even begin gets its whole start now.
  if (file_->size() == 0) {
    const QDateTime since = std::exchange(missingSince_, QDateTime());
    const QByteArray start = compactJournal();
    if (!file_->append(start)) {
      missingSince_ = since;
      return setProblem(file_->errorString());
    }
    missingOffset_ = start.indexOf('\n') + 1;
    retryTimer_.stop();
    return setProblem(QString());
  }
  QByteArray lines;
  for (qsizetype i = firstUnwritten_; i < events_.size(); ++i)
    lines += encode(journalformat::event(events_[i]));
  lines += fullState();
  if (!file_->append(lines)) return setProblem(file_->errorString());
  if (missingOffset_ >= 0) file_->overwrite(missingOffset_, journalformat::missingLine({}));
  missingSince_ = QDateTime();
  retryTimer_.stop();
  setProblem(QString());
  compactIfDue();
}

QByteArray MatchJournal::fullState() const {
  QByteArray lines;
  if (names_) lines += encode(journalformat::names(*names_));
  if (lastTexts_) lines += encode(journalformat::texts(*lastTexts_));
  lines += encode(journalformat::steps(steps_));
  if (!previousJournal_.isEmpty()) lines += encode(journalformat::previous(previousJournal_));
  lines += encode(journalformat::state(toJson(last_), lastWall_));
  return lines;
}

void MatchJournal::encodeReport() {
  report_.clear();
  qsizetype gap = 0;
  for (qsizetype i = 0; i <= events_.size(); ++i) {
    for (; gap < gaps_.size() && gaps_[gap].atEvent <= i; ++gap)
      report_ += encode(journalformat::gap(gaps_[gap]));
    if (i < events_.size()) report_ += encode(journalformat::event(events_[i]));
  }
}

QByteArray MatchJournal::compactJournal() const {
  return encode(journalformat::head(started_)) + journalformat::missingLine(missingSince_) +
         report_ + fullState();
}

void MatchJournal::compactIfDue() {
  if (missingSince_.isValid() || !isOpen() || file_->size() < compactAt_) return;
  const QByteArray compact = compactJournal();
  if (file_->replace(compact)) {
    missingOffset_ = compact.indexOf('\n') + 1;
    compactAt_ = std::max(kCompactBytes, 2 * compact.size());
  } else {
    // The old journal is still whole and written; compaction is tried again a bit later.
    compactAt_ = file_->size() + kCompactBytes / 4;
  }
}

void MatchJournal::setProblem(const QString& reason) {
  const QString problem = reason.isEmpty()
                              ? QString()
                              : tr("Spieljournal: %1 — das Spiel wird nicht gesichert").arg(reason);
  if (problem == problem_) return;
  problem_ = problem;
  emit problemChanged(problem_);
}

void resumeMatch(Match& match, MatchSnapshot snapshot, quint32 now) {
  if (snapshot.state.clock == MatchClock::Running) snapshot.state.clock = MatchClock::Paused;
  match.restore(snapshot, now);
  while (match.state().blinking()) match.blinkStep();
}
