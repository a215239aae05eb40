// libFuzzer target for team-logo text files: any bytes give at most the allowed number of
// lines, each ended by one line break.
#include <cstddef>
#include <cstdint>

#include "display/teamlogo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<QString> text =
      logoText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  if (text && (text->count(u'\n') > logotext::maxLines || text->contains(u'\r'))) __builtin_trap();
  return 0;
}
