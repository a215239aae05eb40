#include "app/remoteloader.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "app/formctrl.h"
#include "platform/dialogs.h"
#include "platform/platform.h"

QStringList remoteModulePaths() {
  const QDir folder(QCoreApplication::applicationDirPath());
  return {
      folder.filePath(SCORVEX_REMOTE_MODULE),
      QDir::cleanPath(folder.filePath(SCORVEX_INSTALLED_MODULE_FOLDER "/" SCORVEX_REMOTE_MODULE))};
}

RemoteLoader::RemoteLoader(TFormCtrl& console, Match& match, Settings& settings, Platform& platform,
                           QStringList modulePaths)
    : console_(console),
      match_(match),
      settings_(settings),
      platform_(platform),
      modulePaths_(std::move(modulePaths)) {
  connect(console.mRemote, &QAction::triggered, this, [this] { start(); });
}

void RemoteLoader::start(std::optional<int> port) {
  if (Remote* remote = this->remote()) remote->start(port);
}

Remote* RemoteLoader::remote() {
  if (remote_) return remote_.get();
  const QString reason = load();
  if (!reason.isEmpty()) {
    platform_.dialogs.showError(&console_, "Fernbedienung",
                                QString("Die Fernbedienung ist nicht verfügbar: %1.").arg(reason));
    return nullptr;
  }
  return remote_.get();
}

QString RemoteLoader::load() {
  const auto found = std::find_if(modulePaths_.begin(), modulePaths_.end(),
                                  [](const QString& path) { return QFileInfo::exists(path); });
  if (found == modulePaths_.end()) {
    QStringList folders;
    for (const QString& path : modulePaths_)
      folders.append(QDir::toNativeSeparators(QFileInfo(path).path()));
    return QString("%1 fehlt in %2")
        .arg(QFileInfo(modulePaths_.first()).fileName(), folders.join(" und "));
  }
  module_.setFileName(*found);
  // Every symbol is bound at loading, so a module that does not fit the program fails here
  // with a reason instead of ending the program at its first call.
  module_.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  auto create = reinterpret_cast<RemoteFactory>(module_.resolve(kRemoteFactoryName));
  if (!create) return module_.errorString();
  remote_.reset(create(console_, match_, settings_, platform_));
  return {};
}
