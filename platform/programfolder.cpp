#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/identity.h"

QString chooseProgramFolder(const QString& executableFolder, const QString& userFolder) {
  // An installed program has its desktop entry in the prefix; root may write even there.
  const bool installed = QFileInfo::exists(
      QString("%1/../share/applications/%2.desktop").arg(executableFolder, identity::kAppId));
  const QFileInfo beside(executableFolder);
  if (!installed && beside.isDir() && beside.isWritable()) return executableFolder;
  QDir().mkpath(userFolder);
  return userFolder;
}

QString programFolder() {
  static const QString folder =
      chooseProgramFolder(QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                              "/Merrowtide/Scorvex");
  return folder;
}

QString programFile(const QString& suffix) {
  const QString base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  return programFolder() + "/" + base + "." + suffix;
}
