// libFuzzer target for the running-text list reader: whatever it reads saves and reads back to
// the same entries, so a save never changes a list the operator did not edit.
#include <cstddef>
#include <cstdint>

#include "platform/os/runlistfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QStringList entries =
      RunListFile::parse(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
  if (RunListFile::parse(RunListFile::format(entries)) != entries) __builtin_trap();
  return 0;
}
