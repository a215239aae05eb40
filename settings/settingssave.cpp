#include "settings/settingssave.h"

#include <QCoreApplication>

#include "platform/dialogs.h"
#include "platform/settingskey.h"

bool saveSettingsAtExit(SettingsKey& key, Dialogs& dialogs, const QString& caption,
                        const std::function<void()>& writeGroups) {
  key.holdWrites();
  writeGroups();
  QString reason;
  if (key.commit(&reason)) return true;
  QString text =
      QCoreApplication::translate(
          "SettingsSave", "Die Einstellungen konnten nicht in \"%1\" gespeichert werden: %2")
          .arg(key.storeName(), reason);
  if (!text.endsWith(u'.')) text += u'.';
  dialogs.showError(nullptr, caption, text);
  return false;
}
