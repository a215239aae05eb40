#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString chooseProgramFolder(const QString& executableFolder, const QString& userFolder) {
  const QFileInfo beside(executableFolder);
  if (beside.isDir() && beside.isWritable()) return executableFolder;
  QDir().mkpath(userFolder);
  return userFolder;
}

QString programFolder() {
  static const QString folder = chooseProgramFolder(
      QCoreApplication::applicationDirPath(),
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
          "/Merrowtide/Scorvex");
  return folder;
}

QString programFile(const QString& suffix) {
  const QString base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  return programFolder() + "/" + base + "." + suffix;
}
