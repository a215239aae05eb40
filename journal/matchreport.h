#pragma once

#include <QByteArray>
#include <QLocale>

struct JournalContents;

// The report of a match from its journal: the title and team names, then one row per event
// with the wall-clock time (local, with its offset from UTC), the period, the time played in
// the period, the team, the penalty (its id, kind and player), the score after it, and the
// time set or carried over of a penalty or the fouls after a foul. A stretch the journal does not
// hold whole is a row of its own.
//
// CSV is made for the spreadsheet of the given locale, with the times played and the penalty
// times as durations with hours (0:02:41), which a spreadsheet reads as such: UTF-8 with a
// byte-order mark (so that
// umlauts read right), German headers and event names in a German locale, and ';' between the
// fields where the decimal separator is a comma (else ','). JSON has fixed English keys in any
// locale (see docs/report.md).
QByteArray reportCsv(const JournalContents& journal, const QLocale& locale = QLocale::system());
QByteArray reportJson(const JournalContents& journal);
