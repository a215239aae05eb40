#pragma once

#include <QDateTime>
#include <QJsonObject>

#include "journal/journalreader.h"

// The lines of a match journal, one JSON object each, told apart by "k":
//   head   first line: program name and format version, start of the match
//   state  the whole match after a command, and every second while the clock runs
//   texts  the running-text list after each edit
//   event  one entry of the match report
//   end    the program ended normally
// A reader accepts the format versions up to its own and refuses newer ones.
namespace journalformat {

constexpr int kVersion = 1;
constexpr const char* kProgram = "Scorvex";

// The wall clock now, with its offset from UTC, so that times read right after a change of
// daylight saving time or in another time zone.
QDateTime wallNow();

QJsonObject head(const QDateTime& started);
QJsonObject state(const QJsonObject& match, const QDateTime& wall);
QJsonObject texts(const RunningTexts& texts);
QJsonObject event(const MatchEvent& event);
QJsonObject end(const QDateTime& wall);

}  // namespace journalformat
