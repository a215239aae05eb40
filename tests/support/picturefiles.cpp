#include "picturefiles.h"

#include <gif_lib.h>

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <cstdio>
#include <vector>
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace {

int appendToBuffer(GifFileType* gif, const GifByteType* bytes, int count) {
  static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), count);
  return count;
}

// The image's distinct colours in first-seen order, padded to 256 entries.
std::vector<QRgb> paletteOf(const QImage& image, QHash<QRgb, int>* index) {
  std::vector<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y) | 0xFF000000u;
      if (!index->contains(c)) {
        index->insert(c, int(colours.size()));
        colours.push_back(c);
      }
    }
  colours.resize(256, qRgb(0, 0, 0));
  return colours;
}

void putTransparency(GifFileType* gif, int transparentIndex) {
  GraphicsControlBlock gcb{};
  gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
  gcb.TransparentColor = transparentIndex;
  GifByteType bytes[4];
  const size_t size = EGifGCBToExtension(&gcb, bytes);
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(size), bytes);
}

// Rows in the order an interlaced GIF stores them.
std::vector<int> storedRows(int height, bool interlaced) {
  std::vector<int> rows;
  const int passes = interlaced ? 4 : 1;
  const int start[] = {0, 4, 2, 1};
  const int step[] = {interlaced ? 8 : 1, 8, 4, 2};
  for (int pass = 0; pass < passes; ++pass)
    for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
  return rows;
}

}  // namespace

QByteArray encodeGif(const QImage& image, const GifOptions& options) {
  QHash<QRgb, int> index;
  const std::vector<QRgb> colours = paletteOf(image, &index);
  QByteArray out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, appendToBuffer, &error);
  EGifSetGifVersion(gif, true);
  std::vector<GifColorType> entries;
  for (QRgb c : colours)
    entries.push_back({GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
  ColorMapObject* map = GifMakeMapObject(256, entries.data());
  const QSize screen = options.screen.isEmpty() ? image.size() : options.screen;
  EGifPutScreenDesc(gif, screen.width(), screen.height(), 8, 0, map);
  if (options.transparent) putTransparency(gif, index.value(*options.transparent | 0xFF000000u));
  EGifPutImageDesc(gif, options.offset.x(), options.offset.y(), image.width(), image.height(),
                   options.interlaced, nullptr);
  std::vector<GifPixelType> line(image.width());
  for (int y : storedRows(image.height(), options.interlaced)) {
    for (int x = 0; x < image.width(); ++x)
      line[x] = GifPixelType(index.value(image.pixel(x, y) | 0xFF000000u));
    EGifPutLine(gif, line.data(), image.width());
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

QByteArray encodeJpeg(const QImage& image, const JpegOptions& options) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = rgb.width();
  cinfo.image_height = rgb.height();
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  if (options.grayscale) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
  if (options.progressive) jpeg_simple_progression(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<uchar*>(rgb.constScanLine(cinfo.next_scanline));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  const QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
  free(buffer);
  return out;
}

QByteArray encodeWithQt(const QImage& image, const char* format) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return out;
}

bool writeFile(const QString& path, const QByteArray& data) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QImage quarters(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  const int w = width / 2;
  const int h = height / 2;
  painter.fillRect(0, 0, w, h, Qt::red);
  painter.fillRect(w, 0, width - w, h, Qt::green);
  painter.fillRect(0, h, w, height - h, Qt::blue);
  painter.fillRect(w, h, width - w, height - h, Qt::white);
  return image;
}
