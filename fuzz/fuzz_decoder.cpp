// One libFuzzer target per decoder: FUZZ_DECODER names the decoder the build compiles it for.
#include <cstddef>
#include <cstdint>

#include "platform/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  const QImage image = FUZZ_DECODER(bytes);
  // A picture that decodes must be one the limits allow.
  if (!image.isNull() && !pictureSizeAllowed(image.width(), image.height())) __builtin_trap();
  return 0;
}
