// GIF decoding with giflib, record by record: only the first image is decoded, so an animation
// of many frames costs no more than its first one.

#include <gif_lib.h>

#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/picture.h"

namespace {

struct MemoryReader {
  const QByteArray& data;
  qsizetype pos = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int wanted) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const qsizetype count = qMin<qsizetype>(wanted, reader->data.size() - reader->pos);
  std::memcpy(buffer, reader->data.constData() + reader->pos, count);
  reader->pos += count;
  return static_cast<int>(count);
}

struct GifCloser {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// Reads the records in front of the first image and returns its transparent index (-1 for
// none), or nothing when the file ends or breaks off before an image.
std::optional<int> skipToFirstImage(GifFileType* gif) {
  int transparentIndex = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR || type == TERMINATE_RECORD_TYPE) return {};
    if (type == IMAGE_DESC_RECORD_TYPE) return transparentIndex;
    if (type != EXTENSION_RECORD_TYPE) continue;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return {};
    GraphicsControlBlock gcb;
    // A block starts with its length byte.
    if (code == GRAPHICS_EXT_FUNC_CODE && block &&
        DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
      transparentIndex = gcb.TransparentColor;
    while (block)
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return {};
  }
}

// The 256 colours an index may name; indices beyond the table are black.
std::array<QRgb, 256> palette(const ColorMapObject* map, int transparentIndex) {
  std::array<QRgb, 256> colours;
  colours.fill(qRgb(0, 0, 0));
  for (int i = 0; i < qMin(map->ColorCount, 256); ++i) {
    const GifColorType& c = map->Colors[i];
    colours[i] = qRgb(c.Red, c.Green, c.Blue);
  }
  if (transparentIndex >= 0 && transparentIndex < 256) colours[transparentIndex] = 0;
  return colours;
}

// The picture rows in the order an image's lines arrive: interlaced images come in four
// passes, every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> rowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(height);
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr int start[] = {0, 4, 2, 1};
  constexpr int step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < height; y += step[pass]) rows.push_back(y);
  return rows;
}

}  // namespace

QImage decodeGif(const QByteArray& data) {
  if (pictureFormat(data) != PictureFormat::Gif) return {};
  MemoryReader reader{data};
  GifFile gif(DGifOpen(&reader, readFromMemory, nullptr));
  if (!gif) return {};

  const std::optional<int> transparentIndex = skipToFirstImage(gif.get());
  if (!transparentIndex || DGifGetImageDesc(gif.get()) == GIF_ERROR) return {};
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  // The canvas is the logical screen, widened if the image reaches beyond it.
  const qint64 width = qMax<qint64>(gif->SWidth, qint64(desc.Left) + desc.Width);
  const qint64 height = qMax<qint64>(gif->SHeight, qint64(desc.Top) + desc.Height);
  if (!map || desc.Width <= 0 || desc.Height <= 0 || !pictureSizeAllowed(width, height)) return {};

  QImage image(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {};
  image.fill(Qt::transparent);
  const std::array<QRgb, 256> colours = palette(map, *transparentIndex);
  std::vector<GifPixelType> line(desc.Width);
  for (int row : rowOrder(desc.Height, desc.Interlace)) {
    if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) return {};
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(desc.Top + row)) + desc.Left;
    for (int x = 0; x < desc.Width; ++x) out[x] = colours[line[x]];
  }
  return image;
}
