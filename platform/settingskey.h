#pragma once

#include <QString>

// One per-user key of typed values: texts and 32-bit integers (booleans, colours and style
// bits are stored as integers). A value can be missing or stored with another kind; the
// readers of the settings groups decide what either means.
class SettingsKey {
 public:
  enum class Status { Ok, Missing, WrongKind };
  struct Text {
    Status status;
    QString value;
  };
  struct Integer {
    Status status;
    qint32 value;
  };

  virtual ~SettingsKey() = default;
  // Opens the key for reading without creating it; false when it does not exist.
  virtual bool openExisting() = 0;
  // Opens the key for writing, creating it and its parents if missing; false on failure.
  virtual bool openOrCreate() = 0;
  virtual Text readText(const QString& name) = 0;
  virtual Integer readInteger(const QString& name) = 0;
  virtual bool writeText(const QString& name, const QString& value) = 0;
  virtual bool writeInteger(const QString& name, qint32 value) = 0;
  // Ends the use of the key; after writing, the values are on disk when this returns true.
  virtual bool close() = 0;
};
