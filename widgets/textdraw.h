#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

class QPaintDevice;
class QPainter;
class QTextLayout;

// Text output in the manner of the classic Windows text drawing: lines split at line breaks,
// optional word breaking at the rectangle's width, tab stops every eight average character
// widths, accelerator prefixes ("&x" underlines x, "&&" shows one "&") and measuring.
namespace textdraw {

enum Flag : unsigned {
  Left = 0x0,
  Center = 0x1,
  Right = 0x2,
  WordBreak = 0x10,
  SingleLine = 0x20,  // line breaks are drawn as part of the one line
  ExpandTabs = 0x40,
  CalcRect = 0x400,  // measure only: nothing is drawn, the adjusted rectangle is returned
  NoPrefix = 0x800,  // "&" is an ordinary character
};

// Draws text with the painter's font and pen, clipped to rect. With CalcRect nothing is drawn
// and the rectangle is returned with its right and bottom moved to the text's extent (left and
// top stay); otherwise rect is returned unchanged.
QRect drawText(QPainter& painter, const QString& text, const QRect& rect, unsigned flags);

// Measures as drawText with CalcRect does, for the given font, without a painter.
QRect measureText(const QFont& font, const QString& text, const QRect& rect, unsigned flags);

// A text laid out as one line in a font at the resolution of a device: its glyphs from the
// line's start, the baseline's distance from its top, where each character starts (one more for
// the end) and the layout, which tells where the glyphs of any characters lie. Shaping a line
// is the main cost of a new clock or penalty time, so recent lines are kept: the label that
// works out what a new caption changes, the measuring and each drawn copy share one shaping.
// The device may be null for the default resolution.
struct ShapedLine {
  std::shared_ptr<const QTextLayout> layout;
  QList<QGlyphRun> runs;
  qreal ascent = 0;
  QList<int> starts;
  bool valid = false;

  // The line's advance, rounded as QFontMetrics rounds it.
  int width() const { return starts.isEmpty() ? 0 : starts.last(); }
};
const ShapedLine& shapedLine(const QFont& font, const QPaintDevice* device, const QString& text);

// Writes the part of a glyph's coverage (a Format_Alpha8 image) into the top left of `into`
// (grown when too small) as Qt draws a glyph of that coverage in the premultiplied colour onto
// a transparent picture. Big glyphs are kept as coverage and drawn through this.
void tint(const QImage& coverage, const QRect& part, QRgb colour, QImage& into);
// Blends the part of a glyph's coverage in the premultiplied colour onto target (Format_RGB32
// or Format_ARGB32_Premultiplied) with the part's top left at `at`, as Qt draws a glyph of that
// coverage onto it. The part must lie inside target.
void blendTinted(const QImage& coverage, const QRect& part, QRgb colour, QImage& target, QPoint at);

}  // namespace textdraw
