#include "widgets/label3d.h"

#include <QPainter>

#include "widgets/textdraw.h"

namespace {

// Offsets of the shadow copies, in the order of the direction bits.
constexpr QPoint kShadowDirections[8] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1},
                                         {1, 0}, {0, 1},  {-1, 0},  {0, -1}};

}  // namespace

TLabel3D::TLabel3D(QWidget* parent) : Label(parent) {}

void TLabel3D::setHighLightColor(TColor c) { store(highLightColor_, c); }
void TLabel3D::setShadowColor(TColor c) { store(shadowColor_, c); }
void TLabel3D::setBevel(TLabel3DBevel b) { store(bevel_, b); }
void TLabel3D::setShadowSize(int size) { store(shadowSize_, qBound(0, size, 255)); }
void TLabel3D::setShadowNapr(int directions) { store(shadowNapr_, directions); }
void TLabel3D::setFillGradient(bool on) { store(fillGradient_, on); }
void TLabel3D::setFirstColor(TColor c) { store(firstColor_, c); }
void TLabel3D::setLastColor(TColor c) { store(lastColor_, c); }
void TLabel3D::setGradientOrientation(TGradientOrientation o) { store(gradientOrientation_, o); }
void TLabel3D::setBorderColor(TColor c) { store(borderColor_, c); }
void TLabel3D::setBorderWidth(int width) { store(borderWidth_, width); }
void TLabel3D::setBorderStyle(TLabel3DBorderStyle s) { store(borderStyle_, s); }

void TLabel3D::paintLabel(QPainter& painter) {
  QRect r = rect();
  drawBorder(painter, r);
  if (fillGradient_)
    drawGradient(painter, r);
  else if (!transparent())
    painter.fillRect(r, toQColor(color()));
  // Word break is asked for here; drawText3D keeps it only where the bevel allows.
  const unsigned flags = alignmentFlag() | textdraw::WordBreak | textdraw::ExpandTabs;
  drawText3D(painter, layoutRect(painter, r, flags), flags);
}

QRect TLabel3D::drawCaption(QPainter& painter, const QRect& rect, unsigned flags) {
  return drawText3D(painter, rect, flags);
}

void TLabel3D::drawBorder(QPainter& painter, QRect& rect) const {
  using enum TLabel3DBorderStyle;
  const TColor light = colors::btnHighlight;
  const TColor dark = colors::btnShadow;
  switch (borderStyle_) {
    case lbNone:
      break;
    case lbNormal:
      drawFrame3D(painter, rect, borderColor_, borderColor_);
      break;
    case lbLowered:
      drawFrame3D(painter, rect, dark, light);
      break;
    case lbRaised:
      drawFrame3D(painter, rect, light, dark);
      break;
    case lbInn:
      drawFrame3D(painter, rect, dark, light);
      drawFrame3D(painter, rect, light, dark);
      break;
    case lbOut:
      drawFrame3D(painter, rect, light, dark);
      drawFrame3D(painter, rect, dark, light);
      break;
  }
}

void TLabel3D::drawFrame3D(QPainter& painter, QRect& rect, TColor topLeft,
                           TColor bottomRight) const {
  if (borderWidth_ <= 0) return;
  const QColor c1 = toQColor(topLeft);
  const QColor c2 = toQColor(bottomRight);
  // left/top/right/bottom are the outermost pixel rows and columns of the current ring.
  int left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
  for (int ring = 0; ring < borderWidth_ && left <= right && top <= bottom; ++ring) {
    painter.fillRect(left, top, 1, bottom - top, c1);
    painter.fillRect(left, top, right - left, 1, c1);
    painter.fillRect(right, top, 1, bottom - top + 1, c2);
    painter.fillRect(left, bottom, right - left + 1, 1, c2);
    ++left, ++top, --right, --bottom;
  }
  rect.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
}

void TLabel3D::drawGradient(QPainter& painter, const QRect& rect) const {
  const bool horizontal = gradientOrientation_ == TGradientOrientation::goHorizontal;
  const int n = (horizontal ? rect.width() : rect.height()) - 1;
  if (n <= 0) return;
  const QColor a = toQColor(firstColor_);
  const QColor b = toQColor(lastColor_);
  for (int i = 0; i <= n; ++i) {
    const QColor band((a.red() * (n - i) + b.red() * i) / n,
                      (a.green() * (n - i) + b.green() * i) / n,
                      (a.blue() * (n - i) + b.blue() * i) / n);
    if (horizontal)
      painter.fillRect(rect.left() + i, rect.top(), 1, rect.height(), band);
    else
      painter.fillRect(rect.left(), rect.top() + i, rect.width(), 1, band);
  }
}

QRect TLabel3D::drawText3D(QPainter& painter, const QRect& rect, unsigned flags) {
  const QString text = captionFor(flags);
  flags = prefixFlags(flags);
  painter.setFont(drawingFont());
  if (bevel_ != TLabel3DBevel::blNone) {
    // Bevelled text breaks at words only with wordWrap; plain text always may.
    flags = wordWrap() ? flags | textdraw::WordBreak : flags & ~unsigned(textdraw::WordBreak);
    if (!(flags & textdraw::CalcRect)) drawCopies(painter, text, rect, flags);
  }
  painter.setPen(toQColor(isEnabled() ? fontColor() : colors::grayText));
  return textdraw::drawText(painter, text, rect, flags);
}

void TLabel3D::drawCopies(QPainter& painter, const QString& text, const QRect& rect,
                          unsigned flags) const {
  using enum TLabel3DBevel;
  const int s = shadowSize_;
  // A disabled label loses its light copy but keeps its shadows.
  if (bevel_ != blShadow && isEnabled()) {
    painter.setPen(toQColor(bevel_ == blRaised ? highLightColor_ : shadowColor_));
    textdraw::drawText(painter, text, rect.translated(-s, -s), flags);
  }
  painter.setPen(toQColor(bevel_ == blLowered ? highLightColor_ : shadowColor_));
  for (int bit = 0; bit < 8; ++bit)
    if (shadowNapr_ & (1 << bit))
      textdraw::drawText(painter, text, rect.translated(kShadowDirections[bit] * s), flags);
}
