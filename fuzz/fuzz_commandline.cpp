// libFuzzer target for the command line: arguments separated by NUL bytes either parse or are
// refused with the operator's message, never anything else.
#include <cstddef>
#include <cstdint>

#include "app/commandline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const QStringList arguments = text.split(QChar(0));
  terminalAnswer(parseStartOptions(arguments));
  try {
    parseDisplayOptions(arguments);
  } catch (const InvalidOptionValue& error) {
    if (!*error.what()) __builtin_trap();
  }
  return 0;
}
