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

// The names the display showed for the match.
struct TeamNames {
  QString home;
  QString guest;
  QString title;
  bool operator==(const TeamNames&) const = default;
};

// A stretch of the match the journal does not hold whole: damaged lines, or entries of the
// report that could not be written.
struct JournalGap {
  qsizetype atEvent = 0;  // the gap lies before this entry of the report
  QDateTime from;         // the last good time before it (invalid when unknown)
  QDateTime to;           // the first good time after it (invalid when unknown)
  int lost = 0;           // entries known to be lost; 0 when unknown
  bool damaged = false;   // lines were damaged, rather than not written

  bool operator==(const JournalGap&) const = default;
};

// What a journal holds: the last state of the match, the last running-text list and the
// events of the report.
struct JournalContents {
  QDateTime started;
  std::optional<MatchSnapshot> state;
  std::optional<RunningTexts> texts;
  std::optional<TeamNames> names;
  QList<MatchEvent> events;
  QList<JournalGap> gaps;
  // The commands that can still be taken back, oldest first: the newest UndoStep::kKept. A
  // damaged line drops the ones before it, which might no longer fit the match.
  QList<UndoStep> undoSteps;
  // The file name of the journal the last reset filed, while that reset can be undone.
  QString previousJournal;
  int damagedLines = 0;   // lines skipped as damaged (a torn last line is not counted)
  QDateTime missingFrom;  // valid: writes failed from then on and may be missing
  QDateTime lastWall;     // the time of the last line that carries one
  bool ended = false;     // the match is over: reset, declined, or (format 1) a normal end
  bool changed = false;   // the match or the list changed after the journal began
};

struct JournalReading {
  std::optional<JournalContents> contents;
  QString problem;  // one line saying why the journal is not used, when contents is empty
};

// The longest line read; a longer one is skipped as damage. The program never writes one that
// long: its longest line is the whole running-text list, which it reads up to 16 MB.
constexpr qint64 kMaxJournalLineBytes = qint64(256) << 20;

// Reads a journal of any length, line by line, keeping only the last state, the last list, the
// report's entries and the last steps that can be taken back. A torn last line (a crash in the
// middle of writing it) is dropped; a damaged line elsewhere is skipped and noted as a gap, and the
// latest good state after it is used. A file of another kind, a damaged first line or a newer
// format is refused.
JournalReading readJournal(QIODevice& device);
JournalReading readJournalFile(const QString& path);
