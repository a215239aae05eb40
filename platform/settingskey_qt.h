#pragma once

#include <QSettings>
#include <memory>

#include "platform/settingskey.h"

// The real per-user settings key below HKEY_CURRENT_USER, e.g. "\Software\Merrowtide\Scorvex".
// On Windows it is the registry itself (texts REG_SZ, integers REG_DWORD). Elsewhere the key
// lives in one file in the user's configuration folder, "$XDG_CONFIG_HOME/Merrowtide/
// Scorvex.reg" (default ~/.config), in the registry's export text format, so the kinds of the
// values survive and a value of the wrong kind reads as WrongKind exactly as in the registry.
// The file is replaced atomically when the key is closed after writing; a folder that cannot
// be written makes openOrCreate or close fail and leaves the previous file as it was.
class QtSettingsKey final : public SettingsKey {
 public:
  explicit QtSettingsKey(const QString& keyPath);
  ~QtSettingsKey() override;

  bool openExisting() override;
  bool openOrCreate() override;
  Text readText(const QString& name) override;
  Integer readInteger(const QString& name) override;
  bool writeText(const QString& name, const QString& value) override;
  bool writeInteger(const QString& name, qint32 value) override;
  bool close() override;

  // The settings file; HKEY_CURRENT_USER on Windows.
  QString location() const { return location_; }

 private:
  // Opens the store with the key's parent as the current group; true when the key exists.
  bool openStore();
  // Closes the store again unless ok; returns ok.
  bool keepOpenIf(bool ok);

  QString location_;
  QString parentGroup_;  // the key's parent, '/'-separated, inside the store
  QString keyName_;      // the key's own name, e.g. "Scorvex"
  std::unique_ptr<QSettings> store_;
};
