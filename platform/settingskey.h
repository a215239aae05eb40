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
  // Ends the use of the key; after writing, the values are stored when this returns true,
  // unless writes are held.
  virtual bool close() = 0;

  // From now on close() keeps what was written, so that groups written one after the other
  // are stored together, in one piece, by commit().
  virtual void holdWrites() = 0;
  // Stores what was written since holdWrites() and ends the holding. On failure, including a
  // failed openOrCreate() meanwhile, returns false with the system's text for it in reason.
  virtual bool commit(QString* reason) = 0;
  // Where the values are stored, as the operator would look for it (a file, a registry key).
  virtual QString storeName() const = 0;
};
