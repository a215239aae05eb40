#pragma once

#include <memory>

#include "platform/settingskey.h"

// The real per-user settings key below HKEY_CURRENT_USER, e.g. "\Software\Merrowtide\Scorvex".
// On Windows it is the registry itself (texts REG_SZ, integers REG_DWORD). Elsewhere the key
// lives in one file in the user's configuration folder, "$XDG_CONFIG_HOME/Merrowtide/
// Scorvex.reg" (default ~/.config), in the registry's export text format (regfile), so the
// kinds of the values survive and a value of the wrong kind reads as WrongKind exactly as in
// the registry.
//
// The file is read whole when the key is opened (at most maxFileBytes of it: a damaged giant
// loses its rest at the next save) and written whole, by one atomic replace, when the key is
// closed after writing or, while writes are held, at commit(). A kill at any moment leaves
// either the old or the new file; a temporary file left by a kill between the last two steps
// of a replace, and the lock files of older versions, are removed when the next key is made.
// A folder that cannot be written leaves the previous file as it was.
class QtSettingsKey final : public SettingsKey {
 public:
  static constexpr qint64 maxFileBytes = 1 << 20;

  explicit QtSettingsKey(const QString& keyPath);
  ~QtSettingsKey() override;

  bool openExisting() override;
  bool openOrCreate() override;
  Text readText(const QString& name) override;
  Integer readInteger(const QString& name) override;
  bool writeText(const QString& name, const QString& value) override;
  bool writeInteger(const QString& name, qint32 value) override;
  bool close() override;
  void holdWrites() override;
  bool commit(QString* reason) override;
  QString storeName() const override;

  // The settings file; HKEY_CURRENT_USER on Windows.
  QString location() const;

 private:
  struct Store;
  std::unique_ptr<Store> d_;
};
