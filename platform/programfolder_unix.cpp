#include <QFileInfo>
#include <QStandardPaths>

#include "platform/identity.h"
#include "platform/programfolder.h"

QString installedMarker(const QString& executableFolder) {
  return QString("%1/../share/applications/%2.desktop").arg(executableFolder, identity::kAppId);
}

bool folderIsWritable(const QString& folder) {
  const QFileInfo info(folder);
  return info.isDir() && info.isWritable();
}

QString userDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         "/Merrowtide/Scorvex";
}
