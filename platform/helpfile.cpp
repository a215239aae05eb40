#include "platform/helpfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

QString findManual(const QStringList& folders, const QLocale& locale) {
  const QString german = QStringLiteral("handbuch.html");
  const QString english = QStringLiteral("manual.html");
  const bool inGerman = locale.language() == QLocale::German;
  for (const QString& folder : folders) {
    for (const QString& name : {inGerman ? german : english, inGerman ? english : german}) {
      const QString path = QDir(folder).filePath(name);
      if (QFileInfo(path).isFile()) return path;
    }
  }
  return {};
}

QStringList manualFolders() {
  const QDir folder(QCoreApplication::applicationDirPath());
  return {folder.filePath(QStringLiteral("manual")),
          QDir::cleanPath(folder.filePath(QStringLiteral(SCORVEX_INSTALLED_MANUAL_FOLDER)))};
}

QString helpToShow(const QString& chmFile) {
  if (QFileInfo::exists(chmFile)) return chmFile;
  return findManual(manualFolders(), QLocale::system());
}
