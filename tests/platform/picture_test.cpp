#include "platform/picture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include "support/picturefiles.h"

namespace {

// Whether a decoded pixel is within a lossy codec's reach of the expected colour.
bool near(QRgb actual, QColor expected, int tolerance) {
  return qAbs(qRed(actual) - expected.red()) <= tolerance &&
         qAbs(qGreen(actual) - expected.green()) <= tolerance &&
         qAbs(qBlue(actual) - expected.blue()) <= tolerance && qAlpha(actual) == 255;
}

void expectQuarters(const QImage& image, int tolerance) {
  ASSERT_EQ(image.size(), QSize(64, 48));
  EXPECT_TRUE(near(image.pixel(4, 4), Qt::red, tolerance));
  EXPECT_TRUE(near(image.pixel(60, 4), Qt::green, tolerance));
  EXPECT_TRUE(near(image.pixel(4, 44), Qt::blue, tolerance));
  EXPECT_TRUE(near(image.pixel(60, 44), Qt::white, tolerance));
}

// Overwrites a 16-bit big-endian width and height in a JPEG's start-of-frame segment.
QByteArray withJpegSize(QByteArray jpeg, quint16 width, quint16 height) {
  const qsizetype sof = jpeg.indexOf("\xFF\xC0");
  if (sof < 0) return {};
  qToBigEndian(height, jpeg.data() + sof + 5);
  qToBigEndian(width, jpeg.data() + sof + 7);
  return jpeg;
}

QByteArray withBmpSize(QByteArray bmp, qint32 width, qint32 height) {
  qToLittleEndian(width, bmp.data() + 18);
  qToLittleEndian(height, bmp.data() + 22);
  return bmp;
}

QByteArray withGifScreen(QByteArray gif, quint16 width, quint16 height) {
  qToLittleEndian(width, gif.data() + 6);
  qToLittleEndian(height, gif.data() + 8);
  return gif;
}

// The image descriptor follows the 13-byte header and the 256-entry colour table.
QByteArray withGifImageSize(QByteArray gif, quint16 width, quint16 height) {
  constexpr int descriptor = 13 + 3 * 256;
  if (gif.size() < descriptor + 9 || gif[descriptor] != ',') return {};
  qToLittleEndian(width, gif.data() + descriptor + 5);
  qToLittleEndian(height, gif.data() + descriptor + 7);
  return gif;
}

QByteArray garbageAfter(const QByteArray& magic) {
  QByteArray data = magic;
  QRandomGenerator random(42);
  for (int i = 0; i < 2000; ++i) data.append(char(random.bounded(256)));
  return data;
}

}  // namespace

TEST(Picture, DecodesEveryFormatAndVariant) {
  const QImage source = quarters(64, 48);
  const struct {
    const char* name;
    QByteArray data;
    int tolerance;
  } rows[] = {
      {"baseline JPEG", encodeJpeg(source), 12},
      {"progressive JPEG", encodeJpeg(source, {.progressive = true}), 12},
      {"GIF", encodeGif(source), 0},
      {"interlaced GIF", encodeGif(source, {.interlaced = true}), 0},
      {"BMP", encodeWithQt(source, "BMP"), 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    expectQuarters(decodePicture(row.data), row.tolerance);
  }
}

TEST(Picture, PicturesAreKeptNoLargerThanTheyCanBeShown) {
  const QImage source = quarters(640, 480);
  const struct {
    const char* name;
    QByteArray data;
    int tolerance;
  } rows[] = {
      {"JPEG", encodeJpeg(source), 12},
      {"progressive JPEG", encodeJpeg(source, {.progressive = true}), 12},
      {"GIF", encodeGif(source), 0},
      {"BMP", encodeWithQt(source, "BMP"), 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    expectQuarters(decodePicture(row.data, QSize(64, 64)), row.tolerance);
    EXPECT_EQ(decodePicture(row.data).size(), source.size());
  }
  // A few hundred bytes claiming 8192 x 8192: libjpeg greys the missing rest, at a reduced scale.
  const QByteArray claim = withJpegSize(encodeJpeg(quarters(64, 48)), 8192, 8192);
  EXPECT_LT(claim.size(), 1000);
  EXPECT_EQ(decodePicture(claim, QSize(1920, 1080)).size(), QSize(1080, 1080));
  EXPECT_EQ(
      largestShownSize(QSize(400, 300), {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1920, 1080)}),
      QSize(1920, 1080));
}

TEST(Picture, GrayscaleJpegComesOutGrey) {
  const QImage image = decodeJpeg(encodeJpeg(quarters(64, 48), {.grayscale = true}));
  ASSERT_EQ(image.size(), QSize(64, 48));
  const QRgb white = image.pixel(60, 44);
  const QRgb red = image.pixel(4, 4);
  EXPECT_TRUE(near(white, Qt::white, 8));
  EXPECT_EQ(qRed(red), qGreen(red));
  EXPECT_EQ(qGreen(red), qBlue(red));
  EXPECT_NEAR(qRed(red), 76, 8);  // the luma of pure red
}

TEST(Picture, GifTransparentIndexBecomesAlphaZero) {
  const QImage image = decodeGif(encodeGif(quarters(64, 48), {.transparent = qRgb(0, 0, 255)}));
  ASSERT_EQ(image.size(), QSize(64, 48));
  EXPECT_EQ(qAlpha(image.pixel(4, 44)), 0);
  EXPECT_EQ(image.pixel(4, 4), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(60, 44), qRgb(255, 255, 255));
}

TEST(Picture, GifImageIsPlacedOnItsLogicalScreen) {
  const QImage image =
      decodeGif(encodeGif(quarters(64, 48), {.screen = QSize(100, 80), .offset = QPoint(20, 10)}));
  ASSERT_EQ(image.size(), QSize(100, 80));
  EXPECT_EQ(qAlpha(image.pixel(5, 5)), 0);  // outside the image: not covered
  EXPECT_EQ(image.pixel(24, 14), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(80, 54), qRgb(255, 255, 255));
}

TEST(Picture, BrokenInputGivesNullImage) {
  const QImage source = quarters(64, 48);
  const QByteArray jpeg = encodeJpeg(source);
  const QByteArray gif = encodeGif(source);
  const QByteArray bmp = encodeWithQt(source, "BMP");
  const QByteArray png = encodeWithQt(source, "PNG");
  ASSERT_FALSE(png.isEmpty());
  const struct {
    const char* name;
    QByteArray data;
  } rows[] = {
      {"empty", {}},
      {"magic bytes only", "\xFF\xD8\xFF"},
      {"truncated JPEG", jpeg.left(jpeg.size() / 2)},
      {"JPEG without its end marker", jpeg.left(jpeg.size() - 2)},
      {"truncated GIF", gif.left(gif.size() / 2)},
      {"GIF header only", gif.left(13)},
      {"truncated BMP header", bmp.left(20)},
      {"truncated BMP pixels", bmp.left(bmp.size() / 2)},
      {"garbage after JPEG magic", garbageAfter("\xFF\xD8\xFF")},
      {"garbage after GIF magic", garbageAfter("GIF89a")},
      {"garbage after BMP magic", garbageAfter("BM")},
      {"PNG", png},
      {"JPEG too large in bytes", withJpegSize(jpeg, 16384, 16384)},
      {"JPEG too wide", withJpegSize(jpeg, 65000, 16)},
      {"GIF screen too large", withGifScreen(gif, 65535, 65535)},
      {"GIF image too large", withGifImageSize(gif, 65535, 65535)},
      {"BMP 100000 x 100000", withBmpSize(bmp, 100000, 100000)},
      {"BMP top-down, too high", withBmpSize(bmp, 64, -100000)},
      {"BMP of negative width", withBmpSize(bmp, -64, 48)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(decodePicture(row.data).isNull());
    EXPECT_TRUE(decodeJpeg(row.data).isNull());
    EXPECT_TRUE(decodeGif(row.data).isNull());
    EXPECT_TRUE(decodeBmp(row.data).isNull());
  }
}

TEST(Picture, SizeLimits) {
  const struct {
    qint64 width, height;
    bool allowed;
  } rows[] = {
      {1, 1, true},         {16384, 4096, true},  // exactly 256 MiB at 4 bytes a pixel
      {16384, 4097, false}, {4096, 16385, false}, {16385, 1, false},
      {0, 10, false},       {10, -1, false},      {100000, 100000, false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(pictureSizeAllowed(row.width, row.height), row.allowed)
        << row.width << " x " << row.height;
}

TEST(Picture, LoadRecognisesFormatByContentNotName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QImage source = quarters(64, 48);
  const QString jpegAsGif = dir.filePath("a.gif");
  const QString pngAsJpg = dir.filePath("b.jpg");
  const QString empty = dir.filePath("c.bmp");
  ASSERT_TRUE(writeFile(jpegAsGif, encodeJpeg(source)));
  ASSERT_TRUE(writeFile(pngAsJpg, encodeWithQt(source, "PNG")));
  ASSERT_TRUE(writeFile(empty, {}));

  expectQuarters(loadPicture(jpegAsGif), 12);
  EXPECT_TRUE(loadPicture(pngAsJpg).isNull());
  EXPECT_TRUE(loadPicture(empty).isNull());
  EXPECT_TRUE(loadPicture(dir.filePath("missing.jpg")).isNull());
  EXPECT_TRUE(loadPicture(dir.path()).isNull());
}
