#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "journal/journalreader.h"
#include "journal/journalstore.h"

class Match;
class MatchJournal;
class TickCounter;

// The match journal over one run of the program. At start-up it finds a match that was neither
// reset nor declined, whether the program crashed or was ended, and offers to take it up
// again; then it records the match, a new journal for each new match; at the end it leaves a
// match in progress for the next start and files a finished one.
class JournalSession : public QObject {
  Q_OBJECT

 public:
  static constexpr const char* kResumeQuestion =
      QT_TR_NOOP("Das letzte Spiel wurde nicht beendet. Spiel fortsetzen?");

  JournalSession(const QString& folder, Match& match, const TickCounter& tick,
                 QObject* parent = nullptr);
  ~JournalSession() override;

  // Offers an unfinished match through `ask` (true takes it up again) and starts recording.
  // While the question is open the display shows the black screen. The question says in one
  // more line when part of the record was damaged or is missing from a time on. Returns the
  // match taken up, already back in the Match; its running texts and count direction are the
  // caller's to put back, and so are its undo steps (for the command layer). A journal that cannot
  // be read at all is reported in one line on stderr and filed away without a question; declining
  // files it as well.
  std::optional<JournalContents> open(const std::function<bool(const QString&)>& ask);
  // Null before open().
  MatchJournal* journal() const { return journal_.get(); }
  // The journal of the match in progress, else of the last finished one (empty: none yet).
  QString lastMatchPath() const { return store_.lastMatchPath(); }
  void recordNames(const TeamNames& names);
  void recordTexts(const RunningTexts& texts);
  void recordHorn();
  void recordUndoStep(const UndoStep& step);
  // Empty while the match is recorded; else the one line the console and the phone show.
  QString problem() const;
  // A match in progress stays for the next start; a finished one is filed; a run in which
  // nothing happened leaves nothing.
  void finish();

  // The question's third line for a journal read with damage or a missing stretch, or one that
  // cannot be written (`unwritable`: the last run could not have recorded its later changes
  // either, so the match is as old as its last line at `now`): short, so that it fits the
  // question's small box.
  static QString recordNote(const JournalContents& contents, bool unwritable = false,
                            const QDateTime& now = QDateTime::currentDateTime());

 signals:
  void problemChanged(const QString& problem);

 private:
  std::optional<JournalContents> leftOver() const;

  JournalStore store_;
  Match& match_;
  const TickCounter& tick_;
  std::unique_ptr<MatchJournal> journal_;
  bool resumed_ = false;  // the journal open is a match taken up again
};
