#include "platform/module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

QStringList modulePaths(const QString& fileName) {
  const QDir folder(QCoreApplication::applicationDirPath());
  return {folder.filePath(fileName),
          QDir::cleanPath(folder.filePath(SCORVEX_INSTALLED_MODULE_FOLDER "/" + fileName))};
}

QFunctionPointer loadModule(QLibrary& module, const QStringList& paths, const char* entry,
                            QString& reason) {
  const auto found = std::find_if(paths.begin(), paths.end(),
                                  [](const QString& path) { return QFileInfo::exists(path); });
  if (found == paths.end()) {
    QStringList folders;
    for (const QString& path : paths)
      folders.append(QDir::toNativeSeparators(QFileInfo(path).path()));
    reason = QCoreApplication::translate("Module", "%1 fehlt in %2")
                 .arg(QFileInfo(paths.first()).fileName(),
                      folders.join(QCoreApplication::translate("Module", " und ")));
    return nullptr;
  }
  module.setFileName(*found);
  module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  const QFunctionPointer function = module.resolve(entry);
  if (!function) reason = module.errorString();
  return function;
}
