#pragma once

#include <QString>
#include <QStringList>

// The folder of match journals: the journal of the match in progress, "current.journal", and
// the finished ones under "matches/", named after the time they were last written so that their
// names sort oldest first. Only the newest kKeptMatches finished ones are kept.
class JournalStore {
 public:
  static constexpr int kKeptMatches = 100;

  explicit JournalStore(const QString& folder);

  QString folder() const { return folder_; }
  QString currentPath() const;
  bool hasCurrent() const;
  // Creates the folders; false (with the reason) when that fails.
  bool prepare(QString* error) const;
  // Moves the current journal among the finished matches and drops the oldest beyond the
  // kept number. Returns the new path, or an empty text when there was nothing to move.
  QString finishCurrent() const;
  QStringList finishedPaths() const;
  // The journal a report is made of: the current match, else the last finished one.
  QString lastMatchPath() const;

 private:
  QString matchesFolder() const;

  QString folder_;
};
