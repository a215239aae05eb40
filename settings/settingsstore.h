#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "settings/settingsgroups.h"

class Settings;
class SettingsKey;

// The settings store as the program uses it. At start, before any window exists, load() reads
// both groups once into the Settings object and keeps what they say about the windows' places;
// from then on the store writes both groups from the Settings object and the places the
// windows report, so no window reads or writes the store itself.
class SettingsStore {
 public:
  SettingsStore(SettingsKey& key, Settings& settings) : key_(key), settings_(settings) {}

  // Reads both groups into the record. The warning sound is `defaultSound` unless a sound is
  // stored; a stored monitor index that names none of `monitorCount` monitors becomes 0.
  void load(const QString& defaultSound, int monitorCount);
  const ConsoleGroup& storedConsole() const { return console_; }
  const DisplayGroup& storedDisplay() const { return display_; }

  // Where the windows are now, as they report it: the console's position and client size,
  // the display's client size and outer position.
  void setConsoleBounds(const QRect& bounds) { consoleBounds_ = bounds; }
  void setDisplayPlace(const QSize& clientSize, const QPoint& position);

  // Writes the display group, then the console group. The caller holds the key's writes so
  // that both reach the store in one piece.
  void writeGroups();

 private:
  SettingsKey& key_;
  Settings& settings_;
  ConsoleGroup console_;
  DisplayGroup display_;
  QRect consoleBounds_;
  QSize displaySize_;
  QPoint displayPosition_;
};

// The warning sound when none is stored: the end signal in the current folder, else its WMA
// twin, else `systemSound`.
QString defaultWarningSound(const QString& systemSound);
