#pragma once

#include <QObject>

#include "settings/tsettings.h"

// A configuration confirmed in the dialog: the record as the dialog left it and what the
// dialog found. A refused period length (`refusal` says why) keeps only the fields taken before
// it in the record's order; the rest of the record is as it was.
struct ConfirmedConfiguration {
  TSettings record;
  QString refusal;  // empty: the whole configuration holds
  bool monitorChanged = false;

  bool refused() const { return !refusal.isEmpty(); }
};

// The one place the settings record lives. Whoever changes settings hands in a changed record
// (through the command layer); every window and the match take their part from record() when
// changed() arrives, and the settings store writes it.
//
// The view is the one setting a refused configuration stores without showing it: the record
// keeps the view as stored, view() the one both windows lay out.
class Settings : public QObject {
  Q_OBJECT

 public:
  explicit Settings(QObject* parent = nullptr) : QObject(parent) {}

  const TSettings& record() const { return record_; }
  int view() const { return view_; }
  // Takes the record; notifies once when it differs from the current one.
  void apply(const TSettings& record);
  // Changes a copy of the record with `edit` and applies it.
  template <typename Edit>
  void change(Edit edit) {
    TSettings record = record_;
    edit(record);
    apply(record);
  }
  // Takes a confirmed configuration, or of a refused one the fields it kept, and tells the
  // windows to lay themselves out for it.
  void configure(const ConfirmedConfiguration& configuration);
  // The record as read at start: the view it names is the one shown.
  void load(const TSettings& record);

 signals:
  // The record changed; `before` is the one it replaced.
  void changed(const TSettings& before);
  // A configuration was confirmed and is in the record: the windows take the layout, the
  // screen mode and (when it changed) the monitor.
  void configured(bool monitorChanged);
  // A configuration refused for its period length kept the fields before it: the title picture
  // they name is read again, changed path or not.
  void configuredInPart();

 private:
  void take(const TSettings& record, int view);

  TSettings record_;
  int view_ = record_.VidTablo;
};
