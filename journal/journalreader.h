#pragma once

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <optional>

#include "core/matchstate.h"
#include "journal/matchevent.h"

class QIODevice;

// The running-text list as the operator left it, unsaved edits included.
struct RunningTexts {
  QStringList lines;
  int selected = -1;  // -1: nothing selected
  bool operator==(const RunningTexts&) const = default;
};

// What a journal holds: the last state of the match, the last running-text list and the
// events of the report.
struct JournalContents {
  QDateTime started;
  std::optional<MatchSnapshot> state;
  std::optional<RunningTexts> texts;
  QList<MatchEvent> events;
  bool ended = false;    // the program ended normally
  bool changed = false;  // the match or the list changed after the journal began
};

struct JournalReading {
  std::optional<JournalContents> contents;
  QString problem;  // one line saying why the journal is not used, when contents is empty
};

// Reads a whole journal. A torn last line (a crash in the middle of writing it) is dropped;
// any other damage, a newer format or a file of another kind rejects the whole journal.
JournalReading readJournal(QIODevice& device);
JournalReading readJournalFile(const QString& path);
