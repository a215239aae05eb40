#pragma once

#include <QString>

// `scorvex --report JOURNAL [--format csv|json]`: the match report of a journal on stdout,
// without a window. Returns the exit code: 0, or 1 after one line on stderr.
int printReport(const QString& journalPath, const QString& format);

class Dialogs;
class QWidget;

// Saves the report of the journal at `journalPath` as CSV and JSON side by side, under a name
// the operator picks; a journal that cannot be read or a file that cannot be written is shown
// in the error box.
void saveReport(Dialogs& dialogs, QWidget* parent, const QString& journalPath);
