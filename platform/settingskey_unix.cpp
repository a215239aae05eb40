#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>

#include "platform/settingskey_qt.h"
#include "platform/settingskey_regfile.h"

namespace {

// What a kill during a save leaves beside the file: the temporary file of a replace
// ("Scorvex.reg.a1B2c3"), and from older versions their save lock ("Scorvex.reg.lock").
void removeCrashDebris(const QString& file) {
  const QFileInfo info(file);
  const QRegularExpression debris(QStringLiteral("^%1\\.([A-Za-z0-9]{6}|lock)$")
                                      .arg(QRegularExpression::escape(info.fileName())));
  QDir folder = info.absoluteDir();
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
    if (debris.match(name).hasMatch()) folder.remove(name);
}

}  // namespace

struct QtSettingsKey::Store {
  QString location;
  QString prefix;          // the key's path inside the file with '/' separators, and a final '/'
  regfile::Values values;  // the whole file: other keys are written back as they were
  bool open = false;
  bool changed = false;  // values holds writes not yet in the file
  bool holding = false;
  QString failure;  // why the last open for writing or the last save failed

  // The file as a map; nothing when it exists but cannot be read (it must not be replaced
  // then, its values would be lost).
  std::optional<regfile::Values> readFile() {
    const QFileInfo info(location);
    if (!info.exists()) return regfile::Values();
    // Only a regular file: a pipe would block the program on opening it.
    if (!info.isFile()) {
      failure = QCoreApplication::translate("SettingsKey", "Not a regular file");
      return std::nullopt;
    }
    QFile file(location);
    if (!file.open(QIODevice::ReadOnly)) {
      failure = file.errorString();
      return std::nullopt;
    }
    QByteArray bytes = file.read(maxFileBytes);
    // A giant is read up to its last complete line within the cap, never half a value.
    if (!file.atEnd()) bytes.truncate(bytes.lastIndexOf('\n') + 1);
    return regfile::read(bytes);
  }

  // Loads the file unless writes not yet saved are waiting in values.
  bool load() {
    if (changed) return true;
    std::optional<regfile::Values> read = readFile();
    if (!read) return false;
    values = std::move(*read);
    return true;
  }

  bool save() {
    const QByteArray bytes = regfile::write(values);
    QSaveFile file(location);
    // Unbuffered, so that a failing write (disk full) is seen here and not committed; synced
    // before the replace, so that a crash of the system cannot leave an empty file either.
    // Only the user may read it: it holds the overlay's token.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
              file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
              file.write(bytes) == bytes.size();
    if (ok && ::fsync(file.handle()) != 0) {
      failure = qt_error_string(errno);
      return false;
    }
    if (!ok || !file.commit()) {
      failure = file.errorString();
      return false;
    }
    changed = false;
    return true;
  }

  bool makeFolder() {
    std::error_code error;
    std::filesystem::create_directories(
        QFile::encodeName(QFileInfo(location).absolutePath()).toStdString(), error);
    if (error) failure = QString::fromLocal8Bit(error.message());
    return !error;
  }
};

QtSettingsKey::QtSettingsKey(const QString& keyPath) : d_(std::make_unique<Store>()) {
  // "\Software\Merrowtide\Scorvex" -> <config>/Merrowtide/Scorvex.reg; inside the file the
  // section carries the full registry path.
  QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
  d_->prefix = QStringLiteral("HKEY_CURRENT_USER/") + parts.join(u'/') + u'/';
  if (!parts.isEmpty() && parts.first() == u"Software") parts.removeFirst();
  d_->location = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
                 parts.join(u'/') + QStringLiteral(".reg");
  removeCrashDebris(d_->location);
}

QtSettingsKey::~QtSettingsKey() = default;

QString QtSettingsKey::location() const { return d_->location; }
QString QtSettingsKey::storeName() const { return QDir::toNativeSeparators(d_->location); }

bool QtSettingsKey::openExisting() {
  d_->open = d_->load() && std::any_of(d_->values.keyBegin(), d_->values.keyEnd(),
                                       [&](const QString& k) { return k.startsWith(d_->prefix); });
  return d_->open;
}

bool QtSettingsKey::openOrCreate() {
  d_->open = d_->makeFolder() && d_->load();
  return d_->open;
}

SettingsKey::Text QtSettingsKey::readText(const QString& name) {
  const QVariant value = d_->open ? d_->values.value(d_->prefix + name) : QVariant();
  if (!value.isValid()) return {Status::Missing, QString()};
  if (value.typeId() != QMetaType::QString) return {Status::WrongKind, QString()};
  return {Status::Ok, value.toString()};
}

SettingsKey::Integer QtSettingsKey::readInteger(const QString& name) {
  const QVariant value = d_->open ? d_->values.value(d_->prefix + name) : QVariant();
  if (!value.isValid()) return {Status::Missing, 0};
  if (value.typeId() != QMetaType::Int) return {Status::WrongKind, 0};
  return {Status::Ok, value.toInt()};
}

bool QtSettingsKey::writeText(const QString& name, const QString& value) {
  if (!d_->open) return false;
  d_->values.insert(d_->prefix + name, value);
  d_->changed = true;
  return true;
}

bool QtSettingsKey::writeInteger(const QString& name, qint32 value) {
  if (!d_->open) return false;
  d_->values.insert(d_->prefix + name, value);
  d_->changed = true;
  return true;
}

bool QtSettingsKey::close() {
  d_->open = false;
  return d_->holding || !d_->changed || d_->save();
}

void QtSettingsKey::holdWrites() {
  d_->holding = true;
  d_->failure.clear();
}

bool QtSettingsKey::commit(QString* reason) {
  d_->holding = false;
  const bool ok = d_->failure.isEmpty() && (!d_->changed || d_->save());
  if (!ok && reason) *reason = d_->failure;
  return ok;
}
