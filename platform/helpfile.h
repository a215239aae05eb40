#pragma once

#include <QString>
#include <QStringList>

class QLocale;

// The user's manual in HTML: "handbuch.html" (German) or "manual.html" (English) in the first
// of `folders` that holds one, in the language of `locale` where that exists (German for a
// German locale, English for every other), else in the other; empty when no folder holds one.
QString findManual(const QStringList& folders, const QLocale& locale);

// Where the manual lies: beside the program (a build or an unpacked copy) and in the data
// folder of an installed program.
QStringList manualFolders();

// What the help command shows: the program's .chm file where it exists, else the manual in the
// system's language; empty when there is neither.
QString helpToShow(const QString& chmFile);
