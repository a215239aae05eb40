#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "journal/journalreader.h"
#include "journal/journalstore.h"

class Match;
class MatchJournal;
class TickCounter;

// The match journal over one run of the program. At start-up it finds a match that was not
// ended normally and offers to take it up again; then it records the match; at a normal end
// it files the journal among the finished matches.
class JournalSession {
 public:
  static constexpr const char* kResumeQuestion =
      "Das letzte Spiel wurde nicht beendet. Spiel fortsetzen?";

  JournalSession(const QString& folder, Match& match, const TickCounter& tick);
  ~JournalSession();

  // Offers an unfinished match through `ask` (true takes it up again) and starts recording.
  // Returns the match taken up, already back in the Match; its running texts and count
  // direction are the caller's to put back. A journal that cannot be trusted is reported in
  // one line on stderr and filed away without a question; declining files it as well. A run
  // in which nothing changed leaves no journal.
  std::optional<JournalContents> open(const std::function<bool(const QString&)>& ask);
  // Null when the journal could not be opened (the match goes on unrecorded).
  MatchJournal* journal() const { return journal_.get(); }
  // The journal of the match in progress, else of the last finished one (empty: none yet).
  QString lastMatchPath() const { return store_.lastMatchPath(); }
  void finish();

 private:
  std::optional<JournalContents> leftOver() const;

  JournalStore store_;
  Match& match_;
  const TickCounter& tick_;
  std::unique_ptr<MatchJournal> journal_;
  bool resumed_ = false;
};
