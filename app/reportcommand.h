#pragma once

#include <QString>

// `scorvex --report JOURNAL [--format csv|json]`: the match report of a journal on stdout,
// without a window. Returns the exit code: 0, or 1 after one line on stderr.
int printReport(const QString& journalPath, const QString& format);
