#include "app/remoteloader.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/formctrl.h"
#include "platform/dialogs.h"
#include "platform/platform.h"

QStringList remoteModulePaths() {
  const QDir folder(QCoreApplication::applicationDirPath());
  return {folder.filePath(SCORVEX_REMOTE_MODULE),
          folder.filePath(SCORVEX_INSTALLED_MODULE_FOLDER "/" SCORVEX_REMOTE_MODULE)};
}

RemoteLoader::RemoteLoader(TFormCtrl& console, Match& match, Settings& settings,
                           Platform& platform, QStringList modulePaths)
    : console_(console),
      match_(match),
      settings_(settings),
      platform_(platform),
      modulePaths_(std::move(modulePaths)) {
  connect(console.mRemote, &QAction::triggered, this, [this] { start(); });
}

// The remote goes before the module's code could.
RemoteLoader::~RemoteLoader() = default;

void RemoteLoader::start(std::optional<int> port) {
  if (Remote* remote = this->remote()) remote->start(port);
}

Remote* RemoteLoader::remote() {
  if (remote_) return remote_.get();
  // The first path that holds the module; when none does, the last one's error names the
  // installed place.
  QString path = modulePaths_.last();
  for (const QString& candidate : modulePaths_) {
    if (QFileInfo::exists(candidate)) {
      path = candidate;
      break;
    }
  }
  module_.setFileName(path);
  // Every symbol is bound at loading, so a module that does not fit the program fails here
  // with a reason instead of ending the program at its first call.
  module_.setLoadHints(QLibrary::ResolveAllSymbolsHint);
  auto create = reinterpret_cast<RemoteFactory>(module_.resolve(kRemoteFactoryName));
  if (!create) {
    platform_.dialogs.showError(
        &console_, "Fernbedienung",
        QString("Die Fernbedienung ist nicht verfügbar: %1.").arg(module_.errorString()));
    return nullptr;
  }
  remote_.reset(create(console_, match_, settings_, platform_));
  return remote_.get();
}
