#include "settings/settings.h"

void Settings::apply(const TSettings& record) {
  if (record == record_) return;
  const TSettings before = record_;
  record_ = record;
  emit changed(before);
}
