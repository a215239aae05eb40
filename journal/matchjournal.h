#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "core/matchstate.h"
#include "journal/journalreader.h"
#include "platform/journalfile.h"

class Match;
class TickCounter;

// Records a match into its journal: the whole state after every change of the match and, while
// the clock runs, whenever the last one is half a second old (so a restart finds the clock less
// than a second behind), the entries of the match report, and the running-text list after each
// edit.
class MatchJournal : public QObject {
  Q_OBJECT

 public:
  // While the clock runs a state line is due when the last one is this old; the clock's own
  // second changes write one each second besides.
  static constexpr int kClockLineAgeMs = 500;

  // Appends to the journal at `path`; a new journal starts with its head line.
  MatchJournal(Match& match, const TickCounter& tick, const QString& path,
               QObject* parent = nullptr);

  bool isOpen() const { return file_.isOpen(); }
  QString path() const { return file_.path(); }
  void recordTexts(const RunningTexts& texts);
  // The match or the running-text list changed since the journal was opened.
  bool changed() const { return changed_; }
  // The program ends normally: the journal gets its end line and is closed.
  void finish();

 private:
  void record();
  void recordClock();
  // Whole lines in one write, so a crash keeps all of them or none but the torn last one.
  void append(const QByteArray& lines);

  Match& match_;
  const TickCounter& tick_;
  JournalFile file_;
  MatchSnapshot last_;
  std::optional<RunningTexts> lastTexts_;
  bool changed_ = false;
  QTimer clockTimer_;
  QElapsedTimer sinceLastState_;
  bool failureReported_ = false;
};

// Puts a journal's last state back into the match, ready for the operator's Play: a running
// clock comes back paused at its last time, and an end-of-period blink as finished.
void resumeMatch(Match& match, MatchSnapshot snapshot, quint32 now);
