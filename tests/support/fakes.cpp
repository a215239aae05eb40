#include "fakes.h"

int FakeSound::playCount() const {
  int n = 0;
  for (const Call& c : calls) n += c.file.isEmpty() ? 0 : 1;
  return n;
}

SettingsKey::Text FakeSettingsKey::readText(const QString& name) {
  if (texts.contains(name)) return {Status::Ok, texts.value(name)};
  if (integers.contains(name)) return {Status::WrongKind, QString()};
  return {Status::Missing, QString()};
}

SettingsKey::Integer FakeSettingsKey::readInteger(const QString& name) {
  if (integers.contains(name)) return {Status::Ok, integers.value(name)};
  if (texts.contains(name)) return {Status::WrongKind, 0};
  return {Status::Missing, 0};
}

bool FakeSettingsKey::writeText(const QString& name, const QString& value) {
  integers.remove(name);
  texts.insert(name, value);
  writeOrder.append(name);
  return true;
}

bool FakeSettingsKey::writeInteger(const QString& name, qint32 value) {
  texts.remove(name);
  integers.insert(name, value);
  writeOrder.append(name);
  return true;
}

bool FakeSettingsKey::commit(QString* reason) {
  holding = false;
  ++commits;
  if (commitFailure.isEmpty()) return true;
  if (reason) *reason = commitFailure;
  return false;
}
