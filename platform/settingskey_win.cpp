#include <windows.h>

#include <QMap>
#include <QVariant>
#include <string>

#include "platform/settingskey_qt.h"

// The registry below HKEY_CURRENT_USER, through the registry functions themselves: texts are
// REG_SZ, integers REG_DWORD, exactly as other programs and regedit see them (QSettings would
// escape texts starting with '@' and write in its own order).
//
// Writes are gathered and stored when the key is closed (or at commit() while writes are
// held), in the order of their names, which is the order of the settings file on other
// systems; then the key is flushed. The registry keeps each value whole: a kill while storing
// leaves the values stored before it new and the rest old, never a value half written. Value
// names compare without case, as the registry does.

namespace {

QString systemMessage(LSTATUS code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, DWORD(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                           : QStringLiteral("Error %1").arg(code);
  LocalFree(text);
  return message;
}

std::wstring wide(const QString& text) { return text.toStdWString(); }

using Values = QMap<QString, QVariant>;

// The entry of `name` as the registry compares names, without case.
Values::iterator findName(Values& values, const QString& name) {
  auto it = values.find(name);
  if (it != values.end()) return it;
  for (it = values.begin(); it != values.end(); ++it)
    if (it.key().compare(name, Qt::CaseInsensitive) == 0) return it;
  return values.end();
}

}  // namespace

struct QtSettingsKey::Store {
  QString path;  // below HKEY_CURRENT_USER, '\'-separated, e.g. "Software\Merrowtide\Scorvex"
  HKEY key = nullptr;
  bool writable = false;
  bool open = false;
  Values pending;  // written, not yet stored; the first spelling of a name is kept
  bool holding = false;
  QString failure;

  void closeKey() {
    if (key) RegCloseKey(key);
    key = nullptr;
    writable = false;
  }

  bool store() {
    if (pending.isEmpty()) return true;
    if (!key || !writable) {
      HKEY handle = nullptr;
      const LSTATUS opened = RegCreateKeyExW(HKEY_CURRENT_USER, wide(path).c_str(), 0, nullptr, 0,
                                             KEY_READ | KEY_WRITE, nullptr, &handle, nullptr);
      if (opened != ERROR_SUCCESS) {
        failure = systemMessage(opened);
        return false;
      }
      closeKey();
      key = handle;
      writable = true;
    }
    for (auto it = pending.begin(); it != pending.end(); it = pending.erase(it)) {
      const std::wstring name = wide(it.key());
      LSTATUS result;
      if (it->typeId() == QMetaType::Int) {
        const DWORD number = DWORD(it->toInt());
        result = RegSetValueExW(key, name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&number), sizeof number);
      } else {
        const std::wstring text = wide(it->toString());
        result = RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                DWORD((text.size() + 1) * sizeof(wchar_t)));
      }
      if (result != ERROR_SUCCESS) {
        failure = systemMessage(result);
        return false;
      }
    }
    // Stored on the disk when this returns, as the file is on other systems.
    const LSTATUS flushed = RegFlushKey(key);
    if (flushed != ERROR_SUCCESS) {
      failure = systemMessage(flushed);
      return false;
    }
    return true;
  }
};

QtSettingsKey::QtSettingsKey(const QString& keyPath) : d_(std::make_unique<Store>()) {
  d_->path = keyPath.split(u'\\', Qt::SkipEmptyParts).join(u'\\');
}

QtSettingsKey::~QtSettingsKey() { d_->closeKey(); }

QString QtSettingsKey::location() const { return QStringLiteral("HKEY_CURRENT_USER"); }
QString QtSettingsKey::storeName() const {
  return QStringLiteral("HKEY_CURRENT_USER\\") + d_->path;
}

bool QtSettingsKey::openExisting() {
  HKEY handle = nullptr;
  if (!d_->key && RegOpenKeyExW(HKEY_CURRENT_USER, wide(d_->path).c_str(), 0, KEY_READ, &handle) ==
                      ERROR_SUCCESS)
    d_->key = handle;
  // Values written while held make the key exist already.
  d_->open = d_->key || !d_->pending.isEmpty();
  return d_->open;
}

bool QtSettingsKey::openOrCreate() {
  d_->open = false;
  if (d_->key && d_->writable) return d_->open = true;
  HKEY handle = nullptr;
  const LSTATUS result = RegCreateKeyExW(HKEY_CURRENT_USER, wide(d_->path).c_str(), 0, nullptr, 0,
                                         KEY_READ | KEY_WRITE, nullptr, &handle, nullptr);
  if (result != ERROR_SUCCESS) {
    d_->failure = systemMessage(result);
    return false;
  }
  d_->closeKey();
  d_->key = handle;
  d_->writable = true;
  return d_->open = true;
}

SettingsKey::Text QtSettingsKey::readText(const QString& name) {
  if (!d_->open) return {Status::Missing, QString()};
  const auto written = findName(d_->pending, name);
  if (written != d_->pending.end())
    return written->typeId() == QMetaType::QString ? Text{Status::Ok, written->toString()}
                                                   : Text{Status::WrongKind, QString()};
  if (!d_->key) return {Status::Missing, QString()};
  const std::wstring valueName = wide(name);
  DWORD type = 0, bytes = 0;
  LSTATUS result = RegQueryValueExW(d_->key, valueName.c_str(), nullptr, &type, nullptr, &bytes);
  if (result == ERROR_FILE_NOT_FOUND) return {Status::Missing, QString()};
  // Expandable texts read as texts, unexpanded, as the settings file's hex(2) values do.
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) ||
      bytes > QtSettingsKey::maxFileBytes)
    return {Status::WrongKind, QString()};
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD size = DWORD(text.size() * sizeof(wchar_t));
  result = RegQueryValueExW(d_->key, valueName.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(text.data()), &size);
  if (result != ERROR_SUCCESS) return {Status::WrongKind, QString()};
  // The stored text need not end in a null; it ends at the first one.
  text.resize(size / sizeof(wchar_t));
  const size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return {Status::Ok, QString::fromStdWString(text)};
}

SettingsKey::Integer QtSettingsKey::readInteger(const QString& name) {
  if (!d_->open) return {Status::Missing, 0};
  const auto written = findName(d_->pending, name);
  if (written != d_->pending.end())
    return written->typeId() == QMetaType::Int ? Integer{Status::Ok, written->toInt()}
                                               : Integer{Status::WrongKind, 0};
  if (!d_->key) return {Status::Missing, 0};
  DWORD type = 0, number = 0, size = sizeof number;
  const LSTATUS result = RegQueryValueExW(d_->key, wide(name).c_str(), nullptr, &type,
                                          reinterpret_cast<BYTE*>(&number), &size);
  if (result == ERROR_FILE_NOT_FOUND) return {Status::Missing, 0};
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof number)
    return {Status::WrongKind, 0};
  return {Status::Ok, qint32(number)};
}

bool QtSettingsKey::writeText(const QString& name, const QString& value) {
  if (!d_->open || !d_->writable) return false;
  const auto written = findName(d_->pending, name);
  d_->pending.insert(written != d_->pending.end() ? written.key() : name, value);
  return true;
}

bool QtSettingsKey::writeInteger(const QString& name, qint32 value) {
  if (!d_->open || !d_->writable) return false;
  const auto written = findName(d_->pending, name);
  d_->pending.insert(written != d_->pending.end() ? written.key() : name, int(value));
  return true;
}

// While writes are held the values wait, so that commit() stores all of them at once.
bool QtSettingsKey::close() {
  d_->open = false;
  if (d_->holding) return true;
  const bool ok = d_->store();
  d_->closeKey();
  return ok;
}

void QtSettingsKey::holdWrites() {
  d_->holding = true;
  d_->failure.clear();
}

bool QtSettingsKey::commit(QString* reason) {
  d_->holding = false;
  const bool ok = d_->failure.isEmpty() && d_->store();
  d_->closeKey();
  if (!ok && reason) *reason = d_->failure;
  return ok;
}
