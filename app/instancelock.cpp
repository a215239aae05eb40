#include "app/instancelock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString raisePath(const QString& place) { return place + ".raise"; }

}  // namespace

InstanceLock::InstanceLock(const QStringList& places, QObject* parent) : QObject(parent) {
  for (const QString& place : places)
    if (QDir::isAbsolutePath(place)) places_.append(place);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
    emit raiseRequested();
    // A file replaced rather than written drops out of the watch: it is watched again.
    if (!watcher_.files().contains(path) && QFileInfo::exists(path)) watcher_.addPath(path);
  });
}

InstanceLock::~InstanceLock() {
  for (const QString& place : watcher_.files()) QFile::remove(place);
}

bool InstanceLock::acquire() {
  for (const QString& place : places_) {
    QDir().mkpath(QFileInfo(place).absolutePath());
    auto lock = std::make_unique<QLockFile>(place + ".lock");
    // Only a lock whose process is gone is stale, however old it is: a match may run for days.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
      locks_.push_back(std::move(lock));
      continue;
    }
    // Held by another program. A place where no lock can be made at all (a file where the
    // folder should be) does not keep the program from starting: the journal tells it.
    if (lock->error() != QLockFile::LockFailedError) continue;
    locks_.clear();
    return false;
  }
  for (const QString& place : places_) {
    QFile raise(raisePath(place));
    if (raise.open(QIODevice::WriteOnly | QIODevice::Truncate)) raise.close();
    if (raise.exists()) watcher_.addPath(raisePath(place));
  }
  return true;
}

void InstanceLock::askToRaise() const {
  for (const QString& place : places_) {
    QFile raise(raisePath(place));
    if (!raise.exists() || !raise.open(QIODevice::WriteOnly | QIODevice::Truncate)) continue;
    raise.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
    return;
  }
}
