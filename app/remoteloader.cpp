#include "app/remoteloader.h"

#include <QApplication>
#include <QCoreApplication>
#include <utility>

#include "platform/dialogs.h"
#include "platform/module.h"
#include "platform/platform.h"

QStringList remoteModulePaths() { return modulePaths(SCORVEX_REMOTE_MODULE); }

RemoteLoader::RemoteLoader(MatchSession& session, Platform& platform, QStringList modulePaths)
    : session_(session), platform_(platform), modulePaths_(std::move(modulePaths)) {}

void RemoteLoader::start(std::optional<int> port) {
  if (Remote* remote = this->remote()) remote->start(port);
}

Remote* RemoteLoader::remote() {
  if (remote_) return remote_.get();
  QString reason;
  auto create = reinterpret_cast<RemoteFactory>(
      loadModule(module_, modulePaths_, kRemoteFactoryName, reason));
  if (!create) {
    platform_.dialogs.showError(
        QApplication::activeWindow(), QCoreApplication::translate("RemoteLoader", "Fernbedienung"),
        QCoreApplication::translate("RemoteLoader", "Die Fernbedienung ist nicht verfügbar: %1.")
            .arg(reason));
    return nullptr;
  }
  remote_.reset(create(session_, platform_));
  return remote_.get();
}
