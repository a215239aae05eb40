#include "widgets/iconfile.h"

#include <QBuffer>
#include <QtEndian>

namespace {

void append16(QByteArray& out, quint16 value) {
  const quint16 le = qToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void append32(QByteArray& out, quint32 value) {
  const quint32 le = qToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

}  // namespace

QByteArray windowsIconFile(const QList<QImage>& images) {
  if (images.isEmpty()) return {};
  QList<QByteArray> pngs;
  for (const QImage& image : images) {
    if (image.isNull() || image.width() > 256 || image.height() > 256) return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG")) return {};
    pngs.append(png);
  }
  // The directory (6 bytes), one 16-byte entry per picture, then the pictures.
  QByteArray out;
  append16(out, 0);  // reserved
  append16(out, 1);  // an icon, not a cursor
  append16(out, quint16(pngs.size()));
  quint32 offset = 6 + 16 * quint32(pngs.size());
  for (qsizetype i = 0; i < pngs.size(); ++i) {
    // A side of 256 is written as 0: the field is one byte.
    out.append(char(images[i].width() & 0xff));
    out.append(char(images[i].height() & 0xff));
    out.append(char(0));  // no palette
    out.append(char(0));  // reserved
    append16(out, 1);     // colour planes
    append16(out, 32);    // bits per pixel
    append32(out, quint32(pngs[i].size()));
    append32(out, offset);
    offset += quint32(pngs[i].size());
  }
  for (const QByteArray& png : pngs) out.append(png);
  return out;
}

const QList<int>& windowsIconSizes() {
  static const QList<int> sizes{16, 20, 24, 32, 40, 48, 64, 256};
  return sizes;
}
