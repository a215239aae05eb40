#pragma once

#include <QDateTime>
#include <QJsonObject>

#include "journal/journalreader.h"

// The lines of a match journal, one JSON object each, told apart by "k":
//   head     first line: program name and format version, start of the match
//   missing  second line, of a fixed length: empty, or the time from which writes failed; it is
//            overwritten in place, so that it can be set even when the disk is full
//   names    the team names and the title line
//   state    the whole match after a command, and every half second while the clock runs
//   texts    the whole running-text list (at the start and when the journal is compacted)
//   splice   one edit of the running-text list: at "at", "remove" lines go, "insert" come
//   event    one entry of the match report
//   gap      entries of the report were lost between "from" and "to" (writes failed too long)
//   end      the match is over (reset, or declined at the question)
//   step     a command the operator can take back: its name, the match before and after it
//   unstep   the newest step was taken back
//   previous the file name of the journal the last reset filed, while that reset can be undone
//   steps    all the steps that can still be taken back, oldest first, in place of those before
//            (at the start, in a compact journal, and when writing works again after a failure)
// Unknown keys inside a line are ignored, and so is a line of an unknown kind, so that a newer
// program can add to a line without older ones calling it damage. A reader accepts the format
// versions up to its own and refuses newer ones.
namespace journalformat {

// 2: a journal per match, compaction, list edits as splices, the missing mark, names, gaps.
constexpr int kVersion = 2;
constexpr const char* kProgram = "Scorvex";
// The bytes of the missing line's JSON, padding included: room for an ISO time with offset.
constexpr int kMissingJsonBytes = 64;

// The wall clock now, with its offset from UTC, so that times read right after a change of
// daylight saving time or in another time zone.
QDateTime wallNow();
QString wallText(const QDateTime& wall);

QJsonObject head(const QDateTime& started);
// The whole missing line, line feed included; always the same length.
QByteArray missingLine(const QDateTime& from);
QJsonObject names(const TeamNames& names);
QJsonObject state(const QJsonObject& match, const QDateTime& wall);
QJsonObject texts(const RunningTexts& texts);
// The one edit that turns `before` into `after`: what differs between their common start and
// common end.
QJsonObject splice(const RunningTexts& before, const RunningTexts& after);
QJsonObject event(const MatchEvent& event);
QJsonObject gap(const JournalGap& gap);
QJsonObject end(const QDateTime& wall);
QJsonObject step(const UndoStep& step);
QJsonObject unstep();
QJsonObject steps(const QList<UndoStep>& steps);
QJsonObject previous(const QString& journalName);
// The step a "step" line, or an element of a "steps" line, holds; empty when it is not whole.
std::optional<UndoStep> stepFromJson(const QJsonObject& object);

}  // namespace journalformat
