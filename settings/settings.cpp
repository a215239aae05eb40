#include "settings/settings.h"

// A change of the stored view is the view shown, except from a refused configuration.
void Settings::apply(const TSettings& record) {
  take(record, record.VidTablo != record_.VidTablo ? record.VidTablo : view_);
}

void Settings::load(const TSettings& record) { take(record, record.VidTablo); }

void Settings::configure(const ConfirmedConfiguration& configuration) {
  if (configuration.refused()) {
    take(configuration.record, view_);
    emit configuredInPart();
    return;
  }
  take(configuration.record, configuration.record.VidTablo);
  emit configured(configuration.monitorChanged);
}

void Settings::take(const TSettings& record, int view) {
  if (record == record_ && view == view_) return;
  const TSettings before = record_;
  record_ = record;
  view_ = view;
  emit changed(before);
}
