#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include "platform/programfolder.h"

// The installer puts its uninstaller beside the program (packaging/windows/scorvex.nsi).
QString installedMarker(const QString& executableFolder) {
  return executableFolder + "/uninstall.exe";
}

// The attributes say nothing about the folder's access rights (Program Files reads as writable
// for everyone): only a file made there tells.
bool folderIsWritable(const QString& folder) {
  if (!QFileInfo(folder).isDir()) return false;
  QTemporaryFile probe(folder + "/.scorvex-XXXXXX");
  return probe.open();
}

// %APPDATA%\Merrowtide\Scorvex: the user's own files (the running-text list, pictures) travel
// with a roaming profile.
QString userDataFolder() {
  QString base = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
  if (!QDir::isAbsolutePath(base)) base = QDir::homePath() + "/AppData/Roaming";
  return base + "/Merrowtide/Scorvex";
}
