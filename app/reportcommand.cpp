#include "app/reportcommand.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

#include "journal/journalreader.h"
#include "journal/matchreport.h"
#include "platform/dialogs.h"

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(ReportCommand)
};

}  // namespace

int printReport(const QString& journalPath, const QString& format) {
  if (format != "csv" && format != "json") {
    std::fprintf(
        stderr, "%s\n",
        qPrintable(Words::tr("scorvex: unknown report format '%1' (csv or json)").arg(format)));
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

namespace {

// Replaces the file whole or leaves it as it was.
bool writeFile(const QString& path, const QByteArray& bytes, QString* reason) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
    return true;
  *reason = file.errorString();
  return false;
}

}  // namespace

void saveReport(Dialogs& dialogs, QWidget* parent, const QString& journalPath) {
  const QString caption = QCoreApplication::applicationName();
  const JournalReading reading = readJournalFile(journalPath);
  if (!reading.contents) {
    dialogs.showError(
        parent, caption,
        Words::tr("Kein Spielbericht: %1.")
            .arg(journalPath.isEmpty() ? Words::tr("noch kein Spiel") : reading.problem));
    return;
  }
  const QString suggested = QDir::home().filePath(
      Words::tr("Spielbericht %1.csv").arg(reading.contents->started.date().toString(Qt::ISODate)));
  const QString picked = dialogs.pickSaveFile(parent, suggested, Words::tr("CSV und JSON (*.csv)"));
  if (picked.isEmpty()) return;
  const QFileInfo csv(picked);
  const QString base = csv.dir().filePath(csv.suffix().compare("csv", Qt::CaseInsensitive) == 0
                                              ? csv.completeBaseName()
                                              : csv.fileName());
  const QList<std::pair<QString, QByteArray>> files{
      {base + ".csv", reportCsv(*reading.contents)},
      {base + ".json", reportJson(*reading.contents)}};
  for (const auto& [path, bytes] : files) {
    QString reason;
    if (!writeFile(path, bytes, &reason)) {
      dialogs.showError(parent, caption,
                        Words::tr("Datei \"%1\" kann nicht angelegt werden: %2").arg(path, reason));
      return;
    }
  }
}
