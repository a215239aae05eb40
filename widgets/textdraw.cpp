#include "widgets/textdraw.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace textdraw {
namespace {

// A line of text in a font at a resolution (0 for the default one of a measurement without a
// device): what its shaping depends on.
struct ShapeKey {
  QFont font;
  int dpi;
  QString text;
  bool operator==(const ShapeKey&) const = default;
};

size_t qHash(const ShapeKey& key, size_t seed) {
  return qHashMulti(seed, key.font, key.dpi, key.text);
}

// Shaping a line is most of the cost of drawing a big caption, and a clock measures and draws
// the same few lines over and over: results for recent lines are kept, and all of them are
// dropped once there are many.
template <typename Value>
class RecentLines {
 public:
  template <typename Make>
  const Value& get(const ShapeKey& key, Make make) {
    auto it = lines_.constFind(key);
    if (it != lines_.constEnd()) return *it;
    if (lines_.size() >= kMaxLines) lines_.clear();
    return *lines_.insert(key, make());
  }

 private:
  static constexpr qsizetype kMaxLines = 256;
  QHash<ShapeKey, Value> lines_;
};

int dpiOf(const QPaintDevice* device) { return device ? device->logicalDpiY() : 0; }

// One line as drawn: the visible characters and which of them carry an accelerator underline.
struct Line {
  QString text;
  QList<int> underlined;
};

bool isBreakSpace(QChar c) { return c == u' ' || c == u'\t'; }

// Turns "&x" into an underlined x and "&&" into "&"; a lone "&" at the end shows nothing.
Line stripPrefixes(const QString& text) {
  Line line;
  line.text.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      line.text += text[i];
      continue;
    }
    if (++i >= text.size()) break;
    if (text[i] != u'&') line.underlined.append(static_cast<int>(line.text.size()));
    line.text += text[i];
  }
  return line;
}

Line slice(const Line& source, int from, int to) {
  Line line{source.text.mid(from, to - from), {}};
  // The underlined positions are in ascending order.
  auto k = std::lower_bound(source.underlined.begin(), source.underlined.end(), from);
  for (; k != source.underlined.end() && *k < to; ++k) line.underlined.append(*k - from);
  return line;
}

// The largest k in [first, size) for which fits(k) holds, fits(first) counting as true and fits
// turning false once and for good: galloping away from the guess until the answer is
// bracketed, then halving the bracket.
template <typename Fits>
qsizetype lastFitting(qsizetype first, qsizetype size, qsizetype guess, Fits fits) {
  qsizetype fit = first;    // fits, or is first
  qsizetype tooFar = size;  // does not fit, or lies past the end
  guess = qBound(first, guess, size - 1);
  const bool up = guess == first || fits(guess);
  (up ? fit : tooFar) = guess;
  for (qsizetype step = 1; tooFar - fit > step; step *= 2) {
    const qsizetype probe = up ? fit + step : tooFar - step;
    const bool probeFits = fits(probe);
    (probeFits ? fit : tooFar) = probe;
    if (probeFits != up) break;
  }
  while (tooFar - fit > 1) {
    const qsizetype middle = fit + (tooFar - fit) / 2;
    (fits(middle) ? fit : tooFar) = middle;
  }
  return fit;
}

// Qt rasterises glyphs above 64 pixels from their outlines on every draw, which makes the
// scoreboard's big digits the most expensive thing it paints. Such glyphs are drawn once per
// font and glyph into an image of their coverage, and from then on tinted in the pen's colour
// and blitted: a quarter of the memory of a coloured image, and one image for every colour (a
// 3D label draws its text in two or three).
class BigGlyphs {
 public:
  static constexpr int kMinPixelSize = 65;

  static bool wanted(const QPainter& painter) {
    return painter.fontInfo().pixelSize() >= kMinPixelSize &&
           painter.transform().type() <= QTransform::TxTranslate;
  }

  void draw(QPainter& painter, QPoint origin, const ShapedLine& shaped) {
    const QPointF start = QPointF(origin) - QPointF(0, shaped.ascent);
    const QRgb colour = painter.pen().color().rgba64().premultiplied().toArgb32();
    const std::optional<Target> target = directTarget(painter);
    const QRect visible = target ? target->clip : visibleArea(painter);
    for (const QGlyphRun& run : shaped.runs) {
      const QList<quint32> indexes = run.glyphIndexes();
      const QList<QPointF> positions = run.positions();
      for (qsizetype i = 0; i < indexes.size(); ++i) {
        const Glyph& glyph = find(run.rawFont(), indexes[i]);
        const QRect area(QPoint((start + positions[i]).toPoint() + glyph.offset),
                         glyph.coverage.size());
        // Only the part that can show is drawn: a new clock digit repaints a few columns.
        const QRect part = (area & visible).translated(-area.topLeft());
        if (part.isEmpty()) continue;
        const QPoint at = area.topLeft() + part.topLeft();
        if (target) {
          blendTinted(glyph.coverage, part, colour, *target->image, at + target->offset);
          continue;
        }
        tint(glyph.coverage, part, colour, tinted_);
        // Drawn whole, an image of the part's size takes the painter's plain blending; a part
        // of a bigger image, like an image Qt would have to convert, takes the general one.
        const QImage tinted(tinted_.constBits(), part.width(), part.height(),
                            tinted_.bytesPerLine(), tinted_.format());
        painter.drawImage(at, tinted);
      }
    }
  }

 private:
  struct Glyph {
    QImage coverage;  // Format_Alpha8
    QPoint offset;    // of the image's top left from the glyph's origin
  };
  struct GlyphKey {
    QRawFont font;
    quint32 index;
    bool operator==(const GlyphKey&) const = default;
    friend size_t qHash(const GlyphKey& key, size_t seed) {
      return qHashMulti(seed, key.font, key.index);
    }
  };
  static constexpr qsizetype kMaxBytes = 16 * 1024 * 1024;

  // The pixels a painter draws on, when a glyph can be blended into them straight away instead
  // of being tinted into a picture that Qt then blends: Qt's raster engine drawing on an image
  // plainly (source over, opaque, whole-pixel offsets), clipped to one rectangle, the window's
  // own clip to the region being painted included.
  struct Target {
    QImage* image;
    QPoint offset;  // of the painter's coordinates in the image
    QRect clip;     // in the painter's coordinates
  };
  static std::optional<Target> directTarget(QPainter& painter) {
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
      return std::nullopt;
    auto* image = static_cast<QImage*>(engine->paintDevice());
    const QTransform transform = painter.deviceTransform();
    const QPoint offset(qRound(transform.dx()), qRound(transform.dy()));
    if ((image->format() != QImage::Format_RGB32 &&
         image->format() != QImage::Format_ARGB32_Premultiplied) ||
        !image->isDetached() || painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter.opacity() != 1.0 || transform.type() > QTransform::TxTranslate ||
        QPointF(offset) != QPointF(transform.dx(), transform.dy()))
      return std::nullopt;
    QRegion clip = engine->systemClip().isEmpty() ? QRegion(image->rect())
                                                  : engine->systemClip() & image->rect();
    if (painter.hasClipping()) clip &= painter.clipRegion().translated(offset);
    if (clip.rectCount() > 1) return std::nullopt;
    return Target{image, offset, clip.boundingRect().translated(-offset)};
  }

  // The painter's clip and the device, in the painter's coordinates; the window's own clip
  // to the region being painted is not known here, so a label clips to that itself.
  static QRect visibleArea(const QPainter& painter) {
    const QPointF shift(painter.transform().dx(), painter.transform().dy());
    QRect area =
        QRectF(QPointF(0, 0), QSizeF(painter.device()->width(), painter.device()->height()))
            .translated(-shift)
            .toAlignedRect();
    if (painter.hasClipping()) area &= painter.clipBoundingRect().toAlignedRect();
    return area;
  }

  const Glyph& find(const QRawFont& font, quint32 index) {
    const GlyphKey key{font, index};
    auto it = cache_.constFind(key);
    if (it != cache_.constEnd()) return *it;
    if (bytes_ > kMaxBytes) {
      cache_.clear();
      bytes_ = 0;
    }
    Glyph glyph = render(font, index);
    bytes_ += glyph.coverage.sizeInBytes();
    return *cache_.insert(key, glyph);
  }

  // Drawn in white on transparent, every channel of a pixel is the glyph's coverage there.
  static Glyph render(const QRawFont& font, quint32 index) {
    constexpr int margin = 2;
    const QRect bounds =
        font.boundingRect(index).toAlignedRect().adjusted(-margin, -margin, margin, margin);
    QImage white(bounds.size().expandedTo({1, 1}), QImage::Format_ARGB32_Premultiplied);
    white.fill(Qt::transparent);
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes({index});
    run.setPositions({QPointF(-bounds.left(), -bounds.top())});
    {
      QPainter painter(&white);
      painter.setPen(Qt::white);
      painter.drawGlyphRun(QPointF(0, 0), run);
    }
    return {white.convertToFormat(QImage::Format_Alpha8), bounds.topLeft()};
  }

  QHash<GlyphKey, Glyph> cache_;
  qsizetype bytes_ = 0;
  QImage tinted_;  // the glyph being drawn, in the pen's colour
};

}  // namespace

const ShapedLine& shapedLine(const QFont& font, const QPaintDevice* device, const QString& text) {
  static RecentLines<ShapedLine> lines;
  return lines.get({font, dpiOf(device), text}, [&] {
    auto layout = std::make_shared<QTextLayout>(text, font, const_cast<QPaintDevice*>(device));
    layout->beginLayout();
    const QTextLine line = layout->createLine();
    layout->endLayout();
    ShapedLine shaped;
    if (!line.isValid()) return shaped;
    shaped = {layout, layout->glyphRuns(), line.ascent(), {}, true};
    for (qsizetype i = 0; i <= text.size(); ++i)
      shaped.starts.append(qRound(line.cursorToX(int(i))));
    return shaped;
  });
}

namespace {

// Draws one run of text at a baseline origin from its shaped line, which the measuring, the
// other copies of a 3D text and the label's own change tracking share; big glyphs go through
// their images. Lines with decorations are left to Qt.
void drawRun(QPainter& painter, QPoint origin, const QString& text) {
  static BigGlyphs bigGlyphs;
  const QFont& font = painter.font();
  if (font.underline() || font.strikeOut() || font.overline()) {
    painter.drawText(origin, text);
    return;
  }
  const ShapedLine& shaped = shapedLine(font, painter.device(), text);
  if (!shaped.valid) return;
  if (BigGlyphs::wanted(painter)) {
    bigGlyphs.draw(painter, origin, shaped);
    return;
  }
  const QPointF top = QPointF(origin) - QPointF(0, shaped.ascent);
  for (const QGlyphRun& run : shaped.runs) painter.drawGlyphRun(top, run);
}

class Layout {
 public:
  // The metrics are those of font on device (none: the default resolution).
  Layout(const QFontMetrics& metrics, const QFont& font, const QPaintDevice* device, unsigned flags)
      : fm_(metrics), font_(font), device_(device), flags_(flags) {}

  // Width of a line, tabs advancing to the next stop counted from the line's start.
  int width(const QString& text) const {
    if (!expandsTabs(text) || tabWidth() <= 0) return advance(text);
    int x = 0;
    const QStringList parts = text.split(u'\t');
    for (qsizetype i = 0; i < parts.size(); ++i) {
      x += advance(parts[i]);
      if (i + 1 < parts.size()) x = (x / tabWidth() + 1) * tabWidth();
    }
    return x;
  }

  QList<Line> lines(const QString& text, int maxWidth) const {
    QList<Line> result;
    if (text.isEmpty()) return result;
    const Line all = (flags_ & NoPrefix) ? Line{text, {}} : stripPrefixes(text);
    if (flags_ & SingleLine) return {all};
    int start = 0;
    const int n = static_cast<int>(all.text.size());
    for (int i = 0; i <= n; ++i) {
      if (i < n && all.text[i] != u'\n' && all.text[i] != u'\r') continue;
      // A line break at the very end ends the last line; it starts no empty one.
      if (i == n && start == n && n > 0) break;
      const Line paragraph = slice(all, start, i);
      if (flags_ & WordBreak)
        breakWords(paragraph, maxWidth, result);
      else
        result.append(paragraph);
      if (i + 1 < n && all.text[i] == u'\r' && all.text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
    return result;
  }

  void draw(QPainter& painter, const Line& line, int x, int top) const {
    const int baseline = top + fm_.ascent();
    if (expandsTabs(line.text)) {
      int offset = 0;
      const QStringList parts = line.text.split(u'\t');
      for (qsizetype i = 0; i < parts.size(); ++i) {
        drawRun(painter, QPoint(x + offset, baseline), parts[i]);
        offset += advance(parts[i]);
        if (i + 1 < parts.size() && tabWidth() > 0) offset = (offset / tabWidth() + 1) * tabWidth();
      }
    } else {
      drawRun(painter, QPoint(x, baseline), line.text);
    }
    for (int k : line.underlined) {
      const int left = x + width(line.text.left(k));
      painter.fillRect(left, baseline + fm_.underlinePos(), fm_.horizontalAdvance(line.text[k]),
                       qMax(1, fm_.lineWidth()), painter.pen().color());
    }
  }

  int lineHeight() const { return fm_.height(); }

 private:
  bool expandsTabs(const QString& text) const {
    return (flags_ & ExpandTabs) && text.contains(u'\t');
  }
  // Tab stops every eight average character widths, measured only for a text with tabs.
  int tabWidth() const {
    if (tabWidth_ < 0) tabWidth_ = 8 * fm_.averageCharWidth();
    return tabWidth_;
  }
  int advance(const QString& text) const {
    static RecentLines<int> advances;
    // A line that is not broken into words is drawn as measured: its shaping is shared.
    if (!(flags_ & WordBreak)) return shapedLine(font_, device_, text).width();
    return advances.get({font_, dpiOf(device_), text}, [&] { return fm_.horizontalAdvance(text); });
  }

  // Greedy breaking at spaces; a word wider than the limit stands alone on its line. Each line
  // takes as many words as fit, found from a guess (the previous line's count) by galloping
  // and halving: a few measurements per line instead of one per word on every line.
  void breakWords(const Line& paragraph, int maxWidth, QList<Line>& out) const {
    const QString& s = paragraph.text;
    const int n = static_cast<int>(s.size());
    // Where a line may end: after each word, and at the start before leading blanks.
    QList<int> ends;
    if (n == 0 || isBreakSpace(s[0])) ends.append(0);
    for (int i = 0; i < n; ++i)
      if (!isBreakSpace(s[i]) && (i + 1 == n || isBreakSpace(s[i + 1]))) ends.append(i + 1);

    int pos = 0;
    qsizetype first = 0;  // the line's first possible end, taken even when it does not fit
    qsizetype lastCount = 0;
    do {
      const qsizetype last = lastFitting(first, ends.size(), first + lastCount, [&](qsizetype k) {
        return width(s.mid(pos, ends[k] - pos)) <= maxWidth;
      });
      out.append(slice(paragraph, pos, ends[last]));
      pos = ends[last];
      while (pos < n && isBreakSpace(s[pos])) ++pos;
      lastCount = last - first;
      first = last + 1;
    } while (pos < n);
  }

  QFontMetrics fm_;
  QFont font_;
  const QPaintDevice* device_;
  unsigned flags_;
  mutable int tabWidth_ = -1;
};

QRect extent(const Layout& layout, const QList<Line>& lines, const QRect& rect) {
  int widest = 0;
  for (const Line& line : lines) widest = qMax(widest, layout.width(line.text));
  return QRect(rect.left(), rect.top(), widest,
               static_cast<int>(lines.size()) * layout.lineHeight());
}

}  // namespace

namespace {

// Each channel of a premultiplied pixel times a / 255, rounded as Qt rounds it when it blends.
QRgb byteMul(QRgb pixel, quint32 a) {
  quint32 rb = (pixel & 0x00ff00ff) * a;
  rb = ((rb + ((rb >> 8) & 0x00ff00ff) + 0x00800080) >> 8) & 0x00ff00ff;
  quint32 ag = ((pixel >> 8) & 0x00ff00ff) * a;
  ag = (ag + ((ag >> 8) & 0x00ff00ff) + 0x00800080) & 0xff00ff00;
  return ag | rb;
}

// Source over, as Qt blends: what the shade leaves uncovered of the pixel below shows through.
QRgb over(QRgb shade, QRgb below) {
  const quint32 through = 255 - qAlpha(shade);
  return through == 0 ? shade : through == 255 ? below : shade + byteMul(below, through);
}

// Qt blends a solid colour into a pixel with coverage a as byteMul(colour, a), so tinting with
// these gives Qt's own drawing in that colour. One table of the 256 coverages makes each pixel
// a look-up.
std::array<QRgb, 256> shadesOf(QRgb colour) {
  std::array<QRgb, 256> shades;
  for (quint32 a = 0; a < 256; ++a) shades[a] = byteMul(colour, a);
  return shades;
}

}  // namespace

void blendTinted(const QImage& coverage, const QRect& part, QRgb colour, QImage& target,
                 QPoint at) {
  const std::array<QRgb, 256> shades = shadesOf(colour);
  const bool opaque = qAlpha(colour) == 255;
  const int width = part.width();
  const qsizetype stride = target.bytesPerLine();
  uchar* row = target.bits() + at.y() * stride + at.x() * sizeof(QRgb);
  for (int y = 0; y < part.height(); ++y, row += stride) {
    const uchar* a = coverage.constScanLine(part.top() + y) + part.left();
    auto* out = reinterpret_cast<QRgb*>(row);
    const uchar* end = a + width;
    // Most of a big glyph's box is empty or fully covered: eight such pixels at a time.
    constexpr quint64 kNone = 0, kFull = ~quint64(0);
    for (quint64 eight; end - a >= 8; a += 8, out += 8) {
      std::memcpy(&eight, a, 8);
      if (eight == kNone) continue;
      if (eight == kFull && opaque) {
        std::fill_n(out, 8, colour);
        continue;
      }
      for (int i = 0; i < 8; ++i) out[i] = over(shades[a[i]], out[i]);
    }
    for (; a != end; ++a, ++out) *out = over(shades[*a], *out);
  }
}

void tint(const QImage& coverage, const QRect& part, QRgb colour, QImage& into) {
  if (into.width() < part.width() || into.height() < part.height())
    into = QImage(part.size().expandedTo(into.size()), QImage::Format_ARGB32_Premultiplied);
  const std::array<QRgb, 256> shades = shadesOf(colour);
  const int width = part.width();
  for (int y = 0; y < part.height(); ++y) {
    const uchar* a = coverage.constScanLine(part.top() + y) + part.left();
    auto* out = reinterpret_cast<QRgb*>(into.scanLine(y));
    for (const uchar* end = a + width; a != end; ++a, ++out) *out = shades[*a];
  }
}

QRect drawText(QPainter& painter, const QString& text, const QRect& rect, unsigned flags) {
  const Layout layout(painter.fontMetrics(), painter.font(), painter.device(), flags);
  const QList<Line> lines = layout.lines(text, rect.width());
  if (flags & CalcRect) return extent(layout, lines, rect);

  painter.save();
  painter.setClipRect(rect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  int top = rect.top();
  for (const Line& line : lines) {
    const int free = rect.width() - layout.width(line.text);
    const int x = rect.left() + ((flags & Right) ? free : (flags & Center) ? free / 2 : 0);
    layout.draw(painter, line, x, top);
    top += layout.lineHeight();
  }
  painter.restore();
  return rect;
}

QRect measureText(const QFont& font, const QString& text, const QRect& rect, unsigned flags) {
  const Layout layout(QFontMetrics(font), font, nullptr, flags);
  return extent(layout, layout.lines(text, rect.width()), rect);
}

}  // namespace textdraw
