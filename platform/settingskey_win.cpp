#include <QSettings>

#include "platform/settingskey_qt.h"

// The registry below HKEY_CURRENT_USER. The store opens HKEY_CURRENT_USER itself and reaches
// the key through groups: QSettings creates the key it is opened at, and reading must not
// create anything. Registry names compare without case, as the registry does.
struct QtSettingsKey::Store {
  QString parentGroup;  // the key's parent, '/'-separated, e.g. "Software/Merrowtide"
  QString keyName;      // the key's own name, e.g. "Scorvex"
  std::unique_ptr<QSettings> settings;
  bool holding = false;
  QString failure;

  // Opens the store with the key as the current group; true when the key exists.
  bool open() {
    if (settings) return true;  // still open with writes held
    settings =
        std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER"), QSettings::NativeFormat);
    settings->beginGroup(parentGroup);
    const bool exists = settings->childGroups().contains(keyName, Qt::CaseInsensitive);
    settings->beginGroup(keyName);
    return exists;
  }
  bool keepOpenIf(bool ok) {
    if (!ok) settings.reset();
    return ok;
  }
  bool sync() {
    settings->sync();
    const bool ok = settings->status() == QSettings::NoError;
    if (!ok) failure = QStringLiteral("Access denied");
    settings.reset();
    return ok;
  }
};

QtSettingsKey::QtSettingsKey(const QString& keyPath) : d_(std::make_unique<Store>()) {
  QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
  d_->keyName = parts.takeLast();
  d_->parentGroup = parts.join(u'/');
}

QtSettingsKey::~QtSettingsKey() = default;

QString QtSettingsKey::location() const { return QStringLiteral("HKEY_CURRENT_USER"); }
QString QtSettingsKey::storeName() const {
  return QStringLiteral("HKEY_CURRENT_USER\\") + QString(d_->parentGroup).replace(u'/', u'\\') +
         u'\\' + d_->keyName;
}

bool QtSettingsKey::openExisting() {
  const bool exists = d_->open();
  return d_->keepOpenIf(exists && d_->settings->status() == QSettings::NoError);
}

bool QtSettingsKey::openOrCreate() {
  d_->open();
  if (d_->settings->status() != QSettings::NoError) d_->failure = QStringLiteral("Access denied");
  return d_->keepOpenIf(d_->settings->status() == QSettings::NoError);
}

SettingsKey::Text QtSettingsKey::readText(const QString& name) {
  const QVariant value = d_->settings ? d_->settings->value(name) : QVariant();
  if (!value.isValid()) return {Status::Missing, QString()};
  if (value.typeId() != QMetaType::QString) return {Status::WrongKind, QString()};
  return {Status::Ok, value.toString()};
}

SettingsKey::Integer QtSettingsKey::readInteger(const QString& name) {
  const QVariant value = d_->settings ? d_->settings->value(name) : QVariant();
  if (!value.isValid()) return {Status::Missing, 0};
  if (value.typeId() != QMetaType::Int) return {Status::WrongKind, 0};
  return {Status::Ok, value.toInt()};
}

bool QtSettingsKey::writeText(const QString& name, const QString& value) {
  if (!d_->settings) return false;
  d_->settings->setValue(name, value);
  return d_->settings->status() == QSettings::NoError;
}

bool QtSettingsKey::writeInteger(const QString& name, qint32 value) {
  if (!d_->settings) return false;
  d_->settings->setValue(name, value);
  return d_->settings->status() == QSettings::NoError;
}

// While writes are held the store stays open, so that commit() syncs all of them at once.
bool QtSettingsKey::close() {
  if (!d_->settings || d_->holding) return true;
  return d_->sync();
}

void QtSettingsKey::holdWrites() {
  d_->holding = true;
  d_->failure.clear();
}

bool QtSettingsKey::commit(QString* reason) {
  d_->holding = false;
  const bool ok = d_->failure.isEmpty() && (!d_->settings || d_->sync());
  if (!ok && reason) *reason = d_->failure;
  return ok;
}
