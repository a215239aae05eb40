#include "app/remoteloader.h"

#include <QAction>
#include <utility>

#include "app/formctrl.h"
#include "platform/dialogs.h"
#include "platform/module.h"
#include "platform/platform.h"

QStringList remoteModulePaths() { return modulePaths(SCORVEX_REMOTE_MODULE); }

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
  QString reason;
  auto create = reinterpret_cast<RemoteFactory>(
      loadModule(module_, modulePaths_, kRemoteFactoryName, reason));
  if (!create) {
    platform_.dialogs.showError(&console_, "Fernbedienung",
                                QString("Die Fernbedienung ist nicht verfügbar: %1.").arg(reason));
    return nullptr;
  }
  remote_.reset(create(console_, match_, settings_, platform_));
  return remote_.get();
}
