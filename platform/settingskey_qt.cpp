#include "platform/settingskey_qt.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include "platform/settingskey_regfile.h"
#endif

namespace {

#ifdef Q_OS_WIN
// Registry names compare without case, as the registry does.
constexpr Qt::CaseSensitivity kNameCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kNameCase = Qt::CaseSensitive;

// QSettings locks the file while saving. A lock file that names no process is the debris of a
// crash at that moment, and QSettings would wait half a minute for it to grow stale.
void removeBrokenLock(const QString& file) {
  QLockFile lock(file + QStringLiteral(".lock"));
  qint64 pid;
  QString host, app;
  if (QFileInfo::exists(file + QStringLiteral(".lock")) && !lock.getLockInfo(&pid, &host, &app))
    lock.removeStaleLockFile();
}
#endif

}  // namespace

QtSettingsKey::QtSettingsKey(const QString& keyPath) {
  QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
  keyName_ = parts.takeLast();
#ifdef Q_OS_WIN
  // The store opens HKEY_CURRENT_USER itself and reaches the key through groups: QSettings
  // creates the key it is opened at, and reading must not create anything.
  location_ = QStringLiteral("HKEY_CURRENT_USER");
  parentGroup_ = parts.join(u'/');
#else
  // "\Software\Merrowtide\Scorvex" -> <config>/Merrowtide/Scorvex.reg; inside the file the
  // section carries the full registry path.
  parentGroup_ = QStringLiteral("HKEY_CURRENT_USER/") + parts.join(u'/');
  if (!parts.isEmpty() && parts.first() == u"Software") parts.removeFirst();
  parts.append(keyName_ + QStringLiteral(".reg"));
  location_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
              parts.join(u'/');
#endif
}

QtSettingsKey::~QtSettingsKey() { close(); }

bool QtSettingsKey::openStore() {
  store_.reset();
#ifdef Q_OS_WIN
  store_ = std::make_unique<QSettings>(location_, QSettings::NativeFormat);
#else
  store_ = std::make_unique<QSettings>(location_, regfile::format());
#endif
  store_->beginGroup(parentGroup_);
  const bool exists = store_->childGroups().contains(keyName_, kNameCase);
  store_->beginGroup(keyName_);
  return exists;
}

bool QtSettingsKey::keepOpenIf(bool ok) {
  if (!ok) store_.reset();
  return ok;
}

// A file that cannot be read counts as missing, and is not overwritten: its values would be lost.
bool QtSettingsKey::openExisting() {
  const bool exists = openStore();
  return keepOpenIf(exists && store_->status() == QSettings::NoError);
}

bool QtSettingsKey::openOrCreate() {
#ifndef Q_OS_WIN
  // The file and its folder are made when the key is closed; fail now if that cannot work.
  const QString folder = QFileInfo(location_).absolutePath();
  if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable()) return false;
#endif
  openStore();
  return keepOpenIf(store_->status() == QSettings::NoError);
}

SettingsKey::Text QtSettingsKey::readText(const QString& name) {
  const QVariant value = store_ ? store_->value(name) : QVariant();
  if (!value.isValid()) return {Status::Missing, QString()};
  if (value.typeId() != QMetaType::QString) return {Status::WrongKind, QString()};
  return {Status::Ok, value.toString()};
}

SettingsKey::Integer QtSettingsKey::readInteger(const QString& name) {
  const QVariant value = store_ ? store_->value(name) : QVariant();
  if (!value.isValid()) return {Status::Missing, 0};
  if (value.typeId() != QMetaType::Int) return {Status::WrongKind, 0};
  return {Status::Ok, value.toInt()};
}

// The registry takes each value at once; the file collects them until close().
bool QtSettingsKey::writeText(const QString& name, const QString& value) {
  if (!store_) return false;
  store_->setValue(name, value);
  return store_->status() == QSettings::NoError;
}

bool QtSettingsKey::writeInteger(const QString& name, qint32 value) {
  if (!store_) return false;
  store_->setValue(name, value);
  return store_->status() == QSettings::NoError;
}

bool QtSettingsKey::close() {
  if (!store_) return true;
#ifndef Q_OS_WIN
  removeBrokenLock(location_);
#endif
  store_->sync();
  const bool written = store_->status() == QSettings::NoError;
  store_.reset();
  return written;
}
