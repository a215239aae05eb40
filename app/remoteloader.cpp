#include "app/remoteloader.h"

#include <QAction>
#include <QCoreApplication>
#include <utility>

#include "platform/dialogs.h"
#include "platform/module.h"
#include "platform/platform.h"

QStringList remoteModulePaths() { return modulePaths(SCORVEX_REMOTE_MODULE); }

RemoteLoader::RemoteLoader(QAction& command, QWidget& window, Commands& commands,
                           Platform& platform, QStringList modulePaths)
    : window_(window),
      commands_(commands),
      platform_(platform),
      modulePaths_(std::move(modulePaths)) {
  connect(&command, &QAction::triggered, this, [this] { start(); });
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
    platform_.dialogs.showError(
        &window_, QCoreApplication::translate("RemoteLoader", "Fernbedienung"),
        QCoreApplication::translate("RemoteLoader", "Die Fernbedienung ist nicht verfügbar: %1.")
            .arg(reason));
    return nullptr;
  }
  remote_.reset(create(commands_, platform_));
  remote_->setJournalProblem(journalProblem_);
  return remote_.get();
}

void RemoteLoader::setJournalProblem(const QString& problem) {
  journalProblem_ = problem;
  if (remote_) remote_->setJournalProblem(problem);
}
