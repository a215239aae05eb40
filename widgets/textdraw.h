#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

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

// Writes the part of a glyph's coverage (a Format_Alpha8 image) into the top left of `into`
// (grown when too small) as Qt draws a glyph of that coverage in the premultiplied colour onto
// a transparent picture. Big glyphs are kept as coverage and drawn through this.
void tint(const QImage& coverage, const QRect& part, QRgb colour, QImage& into);

}  // namespace textdraw
