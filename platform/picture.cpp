#include "platform/picture.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <optional>

PictureFormat pictureFormat(const QByteArray& data) {
  if (data.startsWith("\xFF\xD8\xFF")) return PictureFormat::Jpeg;
  if (data.startsWith("GIF87a") || data.startsWith("GIF89a")) return PictureFormat::Gif;
  if (data.startsWith("BM")) return PictureFormat::Bmp;
  return PictureFormat::Unknown;
}

bool pictureSizeAllowed(qint64 width, qint64 height) {
  return width > 0 && height > 0 && width <= picture::maxSide && height <= picture::maxSide &&
         width * height * 4 <= picture::maxDecodedBytes;
}

namespace {

struct BmpHeader {
  qint64 width = 0;
  qint64 height = 0;  // negative for a top-down bitmap
  int bitsPerPixel = 0;
  quint32 compression = 0;
  quint32 pixelOffset = 0;
};

// The fields of a BMP's file and info headers. The old 12-byte core header keeps the size
// as 16-bit values, all later headers as 32-bit ones.
std::optional<BmpHeader> readBmpHeader(const QByteArray& data) {
  constexpr int fileHeaderSize = 14;
  if (data.size() < fileHeaderSize + 12) return {};
  const auto* file = reinterpret_cast<const uchar*>(data.constData());
  const uchar* info = file + fileHeaderSize;
  const quint32 infoSize = qFromLittleEndian<quint32>(info);
  BmpHeader header;
  header.pixelOffset = qFromLittleEndian<quint32>(file + 10);
  if (infoSize == 12) {
    header.width = qFromLittleEndian<quint16>(info + 4);
    header.height = qFromLittleEndian<quint16>(info + 6);
    header.bitsPerPixel = qFromLittleEndian<quint16>(info + 10);
    return header;
  }
  if (infoSize < 16 || data.size() < fileHeaderSize + 20) return {};
  header.width = qFromLittleEndian<qint32>(info + 4);
  header.height = qFromLittleEndian<qint32>(info + 8);
  header.bitsPerPixel = qFromLittleEndian<quint16>(info + 14);
  header.compression = qFromLittleEndian<quint32>(info + 16);
  return header;
}

// Checks the claimed size before Qt allocates anything, and that an uncompressed bitmap's
// rows are all there: Qt would show a cut-off file with its missing part black.
bool bmpPlausible(const QByteArray& data) {
  const std::optional<BmpHeader> header = readBmpHeader(data);
  if (!header || !pictureSizeAllowed(header->width, qAbs(header->height))) return false;
  constexpr quint32 rgb = 0, bitfields = 3, alphaBitfields = 6;
  const quint32 c = header->compression;
  if (c != rgb && c != bitfields && c != alphaBitfields) return true;
  const qint64 rowBytes = (header->width * header->bitsPerPixel + 31) / 32 * 4;
  return data.size() >= header->pixelOffset + rowBytes * qAbs(header->height);
}

}  // namespace

QImage decodeBmp(const QByteArray& data) {
  if (pictureFormat(data) != PictureFormat::Bmp || !bmpPlausible(data)) return {};
  QImage image;
  if (!image.loadFromData(data, "BMP")) return {};
  return image;
}

QSize fittedSize(QSize picture, QSize largest) {
  if (largest.isEmpty() ||
      (picture.width() <= largest.width() && picture.height() <= largest.height()))
    return picture;
  return picture.scaled(largest, Qt::KeepAspectRatio).expandedTo({1, 1});
}

QImage fitWithin(const QImage& image, QSize largest) {
  const QSize fitted = fittedSize(image.size(), largest);
  if (fitted == image.size()) return image;
  return image.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QSize largestShownSize(QSize window, const QList<QRect>& monitors) {
  for (const QRect& monitor : monitors) window = window.expandedTo(monitor.size());
  return window;
}

QImage decodePicture(const QByteArray& data, QSize largest) {
  switch (pictureFormat(data)) {
    case PictureFormat::Jpeg:
      return fitWithin(decodeJpeg(data, largest), largest);
    case PictureFormat::Gif:
      return fitWithin(decodeGif(data), largest);
    case PictureFormat::Bmp:
      return fitWithin(decodeBmp(data), largest);
    case PictureFormat::Unknown:
      break;
  }
  return {};
}

QImage loadPicture(const QString& path, QSize largest) {
  // Only regular files: a pipe or a device would block or never end.
  if (!QFileInfo(path).isFile()) return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > picture::maxFileBytes) return {};
  // Read one byte beyond the cap so a file that grew after the size check is still refused.
  const QByteArray data = file.read(picture::maxFileBytes + 1);
  if (data.size() > picture::maxFileBytes) return {};
  return decodePicture(data, largest);
}
