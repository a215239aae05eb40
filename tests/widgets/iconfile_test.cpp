#include "widgets/iconfile.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include "widgets/appicon.h"

namespace {

quint16 read16(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<quint16>(data.constData() + at);
}
quint32 read32(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<quint32>(data.constData() + at);
}

// The file reads back through Qt's own icon reader picture by picture, and its directory says
// what Windows' resource compiler copies: a side of 256 as 0, 32 bits, and each entry's bytes
// at their place, a PNG.
TEST(WindowsIconFile, HoldsEveryPictureAsPng) {
  const QList<QList<int>> rows = {{16}, {256, 16}, windowsIconSizes()};
  for (const QList<int>& sizes : rows) {
    QList<QImage> images;
    for (int size : sizes) images.append(applicationIconImage(size));
    const QByteArray ico = windowsIconFile(images);
    ASSERT_GE(ico.size(), 6) << sizes.size();
    EXPECT_EQ(read16(ico, 2), 1);  // an icon, not a cursor
    ASSERT_EQ(read16(ico, 4), sizes.size());

    QBuffer buffer;
    buffer.setData(ico);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
      const int size = sizes[i];
      const qsizetype entry = 6 + 16 * i;
      EXPECT_EQ(quint8(ico[entry]), size == 256 ? 0 : size) << size;
      EXPECT_EQ(quint8(ico[entry + 1]), size == 256 ? 0 : size) << size;
      EXPECT_EQ(read16(ico, entry + 6), 32) << size;
      const quint32 length = read32(ico, entry + 8), offset = read32(ico, entry + 12);
      ASSERT_LE(qsizetype(offset) + qsizetype(length), ico.size()) << size;
      EXPECT_EQ(ico.mid(offset, 8), QByteArray("\x89PNG\r\n\x1a\n", 8)) << size;

      ASSERT_TRUE(reader.jumpToImage(int(i))) << size;
      const QImage read = reader.read();
      EXPECT_EQ(read.convertToFormat(QImage::Format_ARGB32),
                applicationIconImage(size).convertToFormat(QImage::Format_ARGB32))
          << size;
    }
  }
}

TEST(WindowsIconFile, RefusesWhatTheFormatCannotHold) {
  const struct {
    const char* what;
    QList<QImage> images;
  } rows[] = {
      {"no picture", {}},
      {"a null picture", {applicationIconImage(16), QImage()}},
      {"wider than 256", {QImage(257, 16, QImage::Format_ARGB32)}},
      {"taller than 256", {QImage(16, 257, QImage::Format_ARGB32)}},
  };
  for (const auto& row : rows) EXPECT_TRUE(windowsIconFile(row.images).isEmpty()) << row.what;
}

}  // namespace
