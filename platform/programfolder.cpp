#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString chooseProgramFolder(const QString& executableFolder, const QString& userFolder) {
  // An installed program keeps its files in the user's folder even where the user (root, an
  // administrator) may write beside it.
  const bool installed = QFileInfo::exists(installedMarker(executableFolder));
  if (!installed && folderIsWritable(executableFolder)) return executableFolder;
  QDir().mkpath(userFolder);
  return userFolder;
}

QString programFolder() {
  static const QString folder =
      chooseProgramFolder(QCoreApplication::applicationDirPath(), userDataFolder());
  return folder;
}

QString programFile(const QString& suffix) {
  const QString base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  return programFolder() + "/" + base + "." + suffix;
}
