// libFuzzer target for the settings file reader: whatever it reads must write back and read
// again to the same values, so a damaged file always leaves a clean one behind.
#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "platform/settingskey_regfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  QBuffer input(&bytes);
  input.open(QIODevice::ReadOnly);
  QSettings::SettingsMap first;
  if (!regfile::read(input, first)) return 0;

  QByteArray written;
  QBuffer output(&written);
  output.open(QIODevice::WriteOnly);
  if (!regfile::write(output, first)) __builtin_trap();
  output.close();
  output.open(QIODevice::ReadOnly);
  QSettings::SettingsMap second;
  if (!regfile::read(output, second) || second != first) __builtin_trap();
  return 0;
}
