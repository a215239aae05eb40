#pragma once

#include <QObject>

#include "settings/tsettings.h"

// The one place the settings record lives. Whoever changes settings (loading a stored group,
// a console check box, the configuration dialog) hands in a changed record; every window and
// the match take their part from record() when changed() arrives.
class Settings : public QObject {
  Q_OBJECT

 public:
  explicit Settings(QObject* parent = nullptr) : QObject(parent) {}

  const TSettings& record() const { return record_; }
  // Takes the record; notifies once when it differs from the current one.
  void apply(const TSettings& record);
  // Changes a copy of the record with `edit` and applies it.
  template <typename Edit>
  void change(Edit edit) {
    TSettings record = record_;
    edit(record);
    apply(record);
  }

 signals:
  // The record changed; `before` is the one it replaced.
  void changed(const TSettings& before);

 private:
  TSettings record_;
};
