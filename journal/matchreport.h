#pragma once

#include <QByteArray>

struct JournalContents;

// The report of a match from its journal: one row per event with the wall-clock time, the
// period, the time played in the period and the score after it. CSV (a header row, no field needs
// quoting) opens in a spreadsheet; JSON carries the same with the match's start.
QByteArray reportCsv(const JournalContents& journal);
QByteArray reportJson(const JournalContents& journal);
