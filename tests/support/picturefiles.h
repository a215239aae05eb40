#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

// Real picture files for the tests, encoded with the libraries the program decodes them with.

struct GifOptions {
  std::optional<QRgb> transparent{};  // this colour's index becomes the transparent index
  bool interlaced = false;
  QSize screen{};   // logical screen; the image's size when empty
  QPoint offset{};  // position of the image on the screen
};
// Encodes an image of at most 256 colours as a GIF89a.
QByteArray encodeGif(const QImage& image, const GifOptions& options = {});

struct JpegOptions {
  bool grayscale = false;
  bool progressive = false;
  int quality = 95;
};
QByteArray encodeJpeg(const QImage& image, const JpegOptions& options = {});

// Encodes with Qt's writer for a format it knows ("BMP", "PNG").
QByteArray encodeWithQt(const QImage& image, const char* format);

bool writeFile(const QString& path, const QByteArray& data);

// A picture of four coloured quarters: red top-left, green top-right, blue bottom-left,
// white bottom-right.
QImage quarters(int width, int height);
