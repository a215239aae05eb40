#include "settings/settingsstore.h"

#include <QFileInfo>
#include <QLoggingCategory>

#include "settings/settings.h"

namespace {
Q_LOGGING_CATEGORY(lcSettings, "scorvex.settings")
}  // namespace

void SettingsStore::load(const QString& defaultSound, int monitorCount) {
  console_ = readConsoleGroup(key_);
  display_ = readDisplayGroup(key_);
  TSettings record = settings_.record();
  record.SoundFile = defaultSound;
  applyConsoleGroup(console_, record);
  if (console_.sportRefused())
    qCWarning(lcSettings, "Sportart \"%s\" unbekannt, es gilt \"%s\".",
              qPrintable(*console_.text("Sport")), qPrintable(record.Sport));
  applyDisplayGroup(display_, record);
  record.Monitor = validMonitorIndex(record.Monitor, monitorCount);
  settings_.load(record);
}

void SettingsStore::setDisplayPlace(const QSize& clientSize, const QPoint& position) {
  displaySize_ = clientSize;
  displayPosition_ = position;
}

void SettingsStore::writeGroups() {
  writeDisplayGroup(key_, settings_.record(), displaySize_, displayPosition_);
  writeConsoleGroup(key_, settings_.record(), consoleBounds_);
}

QString defaultWarningSound(const QString& systemSound) {
  for (const char* file : {"Ton-ende.wav", "Ton-ende.wma"})
    if (QFileInfo::exists(file)) return file;
  return systemSound;
}
