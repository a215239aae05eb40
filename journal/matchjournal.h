#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/matchstate.h"
#include "journal/journalreader.h"
#include "platform/os/journalfile.h"

class Match;
class TickCounter;

// Records a match into its journal: the whole state after every change of the match and, while
// the clock runs, whenever the last one is half a second old (so a restart finds the clock less
// than a second behind), the entries of the match report, the team names, and the edits of the
// running-text list.
//
// The journal stays small: once it passes a few MB it is replaced in one step by a compact one
// (head, names, whole list, the report's entries, the steps to undo, the last state), and the next
// compaction waits until it has doubled again. A reset ends the match: the journal is closed and,
// when the owner gave a way to do so, filed, and a new one begins.
//
// A write that fails does not stop the match. From the first failure until writing works again
// problem() tells it; the report's entries of that time are kept in memory, the journal's
// second line says from when the record is missing (it is overwritten in place, which needs no
// new room on a full disk), and writing is tried again every few seconds. When it works, the
// kept entries, the whole list and a full state are written at once and the mark is cleared.
class MatchJournal : public QObject {
  Q_OBJECT

 public:
  // While the clock runs a state line is due when the last one is this old; the clock's own
  // second changes write one each second besides.
  static constexpr int kClockLineAgeMs = 500;
  // A journal is compacted when it grows past this, or past twice its last compacted size.
  static constexpr qint64 kCompactBytes = qint64(4) << 20;
  static constexpr int kRetryMs = 2000;

  // Writes the journal at `path`. A new one starts with its head line; an existing one (a
  // match taken up again) is read and replaced by its compact form, its entries, gaps, list
  // and names carried over, and a time from which its record was missing kept as a gap.
  MatchJournal(Match& match, const TickCounter& tick, const QString& path,
               QObject* parent = nullptr);
  // The same for a journal already read (the match taken up again at start-up), so that a
  // long one is not read twice.
  MatchJournal(Match& match, const TickCounter& tick, const QString& path,
               const JournalContents& read, QObject* parent = nullptr);
  ~MatchJournal() override;

  // After a reset: files the finished journal and returns the path of the next one.
  void setNextJournal(std::function<QString()> fileAndNext) {
    nextJournal_ = std::move(fileAndNext);
  }

  bool isOpen() const { return file_ && file_->isOpen(); }
  QString path() const { return path_; }
  qint64 size() const { return file_ ? file_->size() : 0; }
  void recordTexts(const RunningTexts& texts);
  void recordNames(const TeamNames& names);
  // The operator sounded the horn.
  void recordHorn();
  // A command that can be taken back; the newest UndoStep::kKept are kept, in the file as in
  // the command layer. An undo taken drops the newest when the match reports it.
  void recordUndoStep(const UndoStep& step);
  // The steps that can still be taken back, oldest first.
  const QList<UndoStep>& undoSteps() const { return steps_; }
  // The journal the reset just made filed (its file name), told by the owner while it files
  // it: a match taken up again finds the record before the reset there.
  void setPreviousJournal(const QString& name) { previousJournal_ = name; }
  // The record of the match the last reset ended (its filed journal, read back), for a match
  // taken up again: undoing that reset takes it back into this journal, as in the run that
  // made the reset.
  void takePreviousMatch(const JournalContents& previous);
  // The match or the running-text list changed since the journal was opened.
  bool changed() const { return changed_; }
  // The match has begun and was not reset: it is offered again after any end of the program.
  bool inProgress() const;
  // Empty while writing works; else one line saying why the match is not being recorded.
  QString problem() const { return problem_; }
  // The match is over: the journal gets its end line and is closed.
  void finish();
  // The program ends with the match still on: closed without an end line.
  void close();

 signals:
  void problemChanged(const QString& problem);

 private:
  void record();
  // The report's entries of the change just made; an undo is one entry, naming what it took
  // back, not the changes it made.
  QList<MatchEvent> eventsOf(const MatchSnapshot& now, const QDateTime& wall);
  void recordClock();
  // Whole lines in one write, so a crash keeps all of them or none but the torn last one.
  // `events` are the report's entries among the lines, held when writing fails.
  // `newEvents` are the report's entries among the lines: the last ones of events_.
  void write(const QByteArray& lines, qsizetype newEvents);
  void fail(qsizetype newEvents);
  void retry();
  MatchJournal(Match& match, const TickCounter& tick, const QString& path,
               const JournalContents* read, QObject* parent);
  void carryOver(const JournalContents& contents);
  void startNext(const QDateTime& wall);
  QByteArray fullState() const;
  QByteArray compactJournal() const;
  void encodeReport();
  bool startFile(const QString& path);
  void compactIfDue();
  void setProblem(const QString& problem);

  Match& match_;
  const TickCounter& tick_;
  QString path_;
  std::unique_ptr<JournalFile> file_;
  std::function<QString()> nextJournal_;
  QDateTime started_;
  MatchSnapshot last_;
  QDateTime lastWall_;
  std::optional<RunningTexts> lastTexts_;
  std::optional<TeamNames> names_;
  QList<MatchEvent> events_;  // of this match, for compaction
  QList<JournalGap> gaps_;
  // The lines of events_ and gaps_ in their order, kept as they grow, so that a compaction
  // copies them rather than writing each entry anew.
  QByteArray report_;
  QList<UndoStep> steps_;      // the newest UndoStep::kKept, oldest first
  qint64 missingOffset_ = -1;  // where the missing line is; -1 when the file has none
  qint64 compactAt_ = kCompactBytes;
  bool changed_ = false;
  QString undone_;  // the command the match is taking back, until its change is recorded
  // The match before the last reset, taken back into this journal when the reset is undone.
  struct Previous {
    QDateTime started;
    QList<MatchEvent> events;
    QList<JournalGap> gaps;
  };
  std::optional<Previous> previous_;
  QString previousJournal_;  // the file name of its journal, while its reset can be undone

  QDateTime missingSince_;        // valid while writing fails
  qsizetype firstUnwritten_ = 0;  // while writing fails: the first entry not in the file
  QString problem_;
  QTimer retryTimer_;

  QTimer clockTimer_;
  QElapsedTimer sinceLastState_;
};

// Puts a journal's last state back into the match, ready for the operator's Play: a running
// clock comes back paused at its last time, and an end-of-period blink as finished.
void resumeMatch(Match& match, MatchSnapshot snapshot, quint32 now);
