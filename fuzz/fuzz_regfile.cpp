// libFuzzer target for the settings file reader: whatever it reads must write back and read
// again to the same values, so a damaged file always leaves a clean one behind.
#include <cstddef>
#include <cstdint>

#include "platform/settingskey_regfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const regfile::Values first =
      regfile::read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
  if (regfile::read(regfile::write(first)) != first) __builtin_trap();
  return 0;
}
