#include "app/instancelock.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <cstdio>

#include "platform/identity.h"

InstanceLock::InstanceLock(const QStringList& places, const QString& folder, QObject* parent)
    : QObject(parent), places_(places), folder_(folder) {
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
    emit raiseRequested();
    // A file replaced rather than written drops out of the watch: it is watched again.
    if (!watcher_.files().contains(path) && QFileInfo::exists(path)) watcher_.addPath(path);
  });
}

InstanceLock::~InstanceLock() {
  for (const QString& place : watcher_.files()) QFile::remove(place);
}

QString InstanceLock::runningMessage() {
  return tr("Scorvex läuft bereits – das laufende Programm wird nach vorn geholt.");
}

// A name of the place's own: two users, or two test runs with folders of their own, share the
// runtime folder without sharing a lock.
QString InstanceLock::lockName(const QString& place) const {
  const QByteArray hash =
      QCryptographicHash::hash(QDir::cleanPath(place).toUtf8(), QCryptographicHash::Sha1);
  return QStringLiteral("scorvex-") + QString::fromLatin1(hash.toHex().left(16));
}

QString InstanceLock::raisePath(const QString& place) const {
  return QDir(folder_).filePath(lockName(place) + ".raise");
}

bool InstanceLock::acquire() {
  problems_.clear();
  QDir().mkpath(folder_);
  for (const QString& place : places_) {
    auto lock = std::make_unique<SystemLock>(folder_, lockName(place));
    switch (lock->state()) {
      case SystemLock::State::Held:
        locks_.push_back(std::move(lock));
        break;
      case SystemLock::State::HeldByAnother:
        locks_.clear();
        return false;
      case SystemLock::State::Failed:
        // Not being able to lock is no sign of another program: start, and say why.
        problems_.append(tr("Sperre für %1 nicht angelegt in %2: %3")
                             .arg(QDir::toNativeSeparators(place),
                                  QDir::toNativeSeparators(folder_), lock->error()));
        break;
    }
  }
  for (const QString& place : places_) {
    QFile raise(raisePath(place));
    if (raise.open(QIODevice::WriteOnly | QIODevice::Truncate)) raise.close();
    if (raise.exists()) watcher_.addPath(raise.fileName());
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

bool InstanceLock::startOrRaise() {
  if (!acquire()) {
    std::fprintf(stderr, "%s\n", qPrintable(runningMessage()));
    askToRaise();
    QMessageBox::information(nullptr, identity::kTitle, runningMessage());
    return false;
  }
  for (const QString& problem : problems_) std::fprintf(stderr, "%s\n", qPrintable(problem));
  return true;
}
