#include "remote/qrcode.h"

#include <qrencode.h>

#include <memory>

QImage qrCodeImage(const QString& text) {
  const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
      QRcode_encodeString(text.toUtf8().constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), QRcode_free);
  if (!code) return {};
  constexpr int kQuiet = 4;
  const int width = code->width;
  QImage image(width + 2 * kQuiet, width + 2 * kQuiet, QImage::Format_Mono);
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  image.fill(1);
  for (int y = 0; y < width; ++y)
    for (int x = 0; x < width; ++x)
      if (code->data[y * width + x] & 1) image.setPixel(x + kQuiet, y + kQuiet, 0);
  return image;
}
