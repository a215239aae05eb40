#include "app/reportcommand.h"

#include <cstdio>

#include "journal/journalreader.h"
#include "journal/matchreport.h"

int printReport(const QString& journalPath, const QString& format) {
  if (format != "csv" && format != "json") {
    std::fprintf(stderr, "scorvex: unknown report format '%s' (csv or json)\n", qPrintable(format));
    return 1;
  }
  const JournalReading reading = readJournalFile(journalPath);
  if (!reading.contents) {
    std::fprintf(stderr, "scorvex: %s: %s\n", qPrintable(journalPath), qPrintable(reading.problem));
    return 1;
  }
  const QByteArray report =
      format == "csv" ? reportCsv(*reading.contents) : reportJson(*reading.contents);
  std::fwrite(report.constData(), 1, size_t(report.size()), stdout);
  return 0;
}
