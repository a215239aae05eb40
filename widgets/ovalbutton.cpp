#include "widgets/ovalbutton.h"

#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QShortcutEvent>
#include <QtMath>
#include <algorithm>
#include <cmath>

#include "widgets/textdraw.h"

namespace {

// Nearest integer, a half going to the even neighbour.
int nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

// Halving that rounds down, also for negative differences.
int half(int v) { return v >> 1; }

double hueToChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 1.0 / 2) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

// The colour with its HLS lightness scaled by factor.
QColor scaleLightness(const QColor& c, double factor) {
  const double r = c.red() / 255.0, g = c.green() / 255.0, b = c.blue() / 255.0;
  const double hi = std::max({r, g, b}), lo = std::min({r, g, b});
  const double lightness = (hi + lo) / 2;
  const double l = lightness * factor;
  if (hi == lo) return QColor(nearest(l * 255), nearest(l * 255), nearest(l * 255));
  const double d = hi - lo;
  const double s = lightness <= 0.5 ? d / (hi + lo) : d / (2 - hi - lo);
  double h = hi == r ? (g - b) / d + (g < b ? 6 : 0) : hi == g ? (b - r) / d + 2 : (r - g) / d + 4;
  h /= 6;
  const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  const double p = 2 * l - q;
  return QColor(nearest(hueToChannel(p, q, h + 1.0 / 3) * 255),
                nearest(hueToChannel(p, q, h) * 255),
                nearest(hueToChannel(p, q, h - 1.0 / 3) * 255));
}

// The angle, in 1/16 degree as QPainter::drawArc takes it, of the point where the ray from the
// centre of box through p meets the ellipse. drawArc measures angles on the ellipse's
// parameter, which differs from the ray's angle unless the ellipse is a circle.
int arcAngle(const QRectF& box, QPoint p) {
  const double a = box.width() / 2, b = box.height() / 2;
  const double dx = p.x() - box.center().x(), up = box.center().y() - p.y();
  return qRound(qRadiansToDegrees(std::atan2(a * up, b * dx)) * 16);
}

}  // namespace

BevelColors makeBevelColors(TColor face) {
  const QColor c = toQColor(face);
  auto lighten = [](int k) { return 255 - nearest((256 - k) * 0.5); };
  const QColor light(lighten(c.red()), lighten(c.green()), lighten(c.blue()));
  return {fromQColor(light), fromQColor(scaleLightness(c, 0.6))};
}

BevelArcPoints bevelArcPoints(QSize button) {
  const int w = button.width(), h = button.height();
  return {QPoint(4 * (w / 5), h / 5), QPoint(w / 5, 4 * (h / 5))};
}

OvalPlacement placeOvalContents(const OvalContents& in) {
  using enum TButtonLayout;
  const int w = in.button.width(), h = in.button.height();
  const int tw = in.caption.width(), th = in.caption.height();
  const int gw = in.glyph.width(), gh = in.glyph.height();
  const bool captioned = !in.caption.isEmpty();
  int gx = half(w - gw), gy = half(h - gh);
  if (captioned && in.layout == blGlyphLeft) gx = half(w - (tw + gw + in.spacing)) - in.margin;
  if (captioned && in.layout == blGlyphRight) gx = half(tw + gw + in.spacing + w) - gw + in.margin;
  if (captioned && in.layout == blGlyphTop) gy = half(h - (th + gh + in.spacing)) - in.margin;
  if (captioned && in.layout == blGlyphBottom) gy = half(th + gh + in.spacing + h) - gh + in.margin;

  int x = half(w - tw), y = half(h - th);
  if (in.showGlyph) {
    switch (in.layout) {
      case blGlyphRight:
        x = gx - tw - in.spacing;
        break;
      case blGlyphLeft:
        x = gx + gw + in.spacing;
        break;
      case blGlyphTop:
        y = gy + gh + in.spacing;
        break;
      case blGlyphBottom:
        y = gy - th - in.spacing;
        break;
    }
  }
  // Glyph and caption move together by one pixel, so the clean-up of either state covers the
  // other.
  const int shift = in.sunken ? 1 : 0;
  return {QRect(gx + shift, gy + shift, gw, gh), QPoint(x + shift, y + shift)};
}

QChar accelCharOf(const QString& caption) {
  const qsizetype amp = caption.indexOf(u'&');
  return amp >= 0 && amp + 1 < caption.size() ? caption[amp + 1] : QChar();
}

TOvalButton::TOvalButton(QWidget* parent) : QWidget(parent) {
  resize(100, 50);
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
  bevelColors_ = makeBevelColors(color_);
}

void TOvalButton::repaintAll() {
  fullPaintPending_ = true;
  update();
}

void TOvalButton::redraw(Part part) {
  if (fullPaintPending_ || !isVisible() || (part == Part::Contents && transparent_)) {
    repaintAll();
    return;
  }
  // For this one synchronous paint the button counts as opaque, so the parent is not drawn
  // underneath and the face of the last full paint stays in place.
  partToPaint_ = part;
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  repaint();
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  partToPaint_ = Part::All;
}

void TOvalButton::setCaption(const QString& text) {
  const QString limited = text.left(kMaxCaption);
  if (limited == caption_) return;
  caption_ = limited;
  regrabAccelerator();
  repaintAll();
}

void TOvalButton::setColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  bevelColors_ = makeBevelColors(c);
  repaintAll();
}

void TOvalButton::setFontColor(TColor c) {
  if (c == fontColor_) return;
  fontColor_ = c;
  repaintAll();
}

void TOvalButton::setDown(bool on) {
  if (on == down_) return;
  down_ = on;
  bevelState_ = down_ ? -1 : flat_ ? 0 : 1;
  repaintAll();
}

void TOvalButton::setFlat(bool on) {
  if (on == flat_) return;
  flat_ = on;
  bevelState_ = flat_ ? 0 : 1;
  repaintAll();
}

int TOvalButton::designGlyphCount(QSize strip) {
  const int w = strip.width(), h = strip.height();
  return h > 0 && w % h == 0 ? w / h : 1;
}

void TOvalButton::setGlyph(const QImage& strip, bool designTime) {
  glyph_ = strip;
  if (!strip.isNull()) transparentColor_ = fromQColor(strip.pixelColor(0, strip.height() - 1));
  if (designTime) numGlyphs_ = qBound(0, designGlyphCount(strip.size()), 4);
  repaintAll();
}

void TOvalButton::setButtonLayout(TButtonLayout l) {
  if (l == layout_) return;
  layout_ = l;
  repaintAll();
}

void TOvalButton::setMargin(int m) {
  if (m == margin_) return;
  margin_ = m;
  repaintAll();
}

void TOvalButton::setNumGlyphs(int n) {
  n = qBound(0, n, 4);
  if (n == numGlyphs_) return;
  numGlyphs_ = n;
  repaintAll();
}

void TOvalButton::setSpacing(int s) {
  if (s == spacing_) return;
  spacing_ = s;
  repaintAll();
}

void TOvalButton::setTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  repaintAll();
}

void TOvalButton::setTransparentColor(TColor c) {
  if (c == transparentColor_) return;
  transparentColor_ = c;
  repaintAll();
}

bool TOvalButton::hitTest(QPoint p) const {
  return QRegion(0, 0, width(), height(), QRegion::Ellipse).contains(p);
}

void TOvalButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  switch (partToPaint_) {
    case Part::Bevel:
      drawBevel(painter);
      return;
    case Part::Contents:
      drawContents(painter);
      return;
    case Part::All:
      break;
  }
  fullPaintPending_ = false;
  painter.setBrush(transparent_ ? QBrush(Qt::NoBrush) : QBrush(toQColor(color_)));
  painter.setPen(flat_ ? QPen(Qt::NoPen) : QPen(Qt::black, 1));
  // An aliased outline of an ellipse adds one pixel to the box: it covers 0 … size - 2.
  painter.drawEllipse(QRect(0, 0, width() - 2, height() - 2));
  drawContents(painter);
}

void TOvalButton::drawBevel(QPainter& painter) {
  if (bevelState_ == 0) return;
  const BevelArcPoints points = bevelArcPoints(size());
  const QRectF box(1, 1, width() - 4, height() - 4);
  const int a = arcAngle(box, points.a), b = arcAngle(box, points.b);
  const int upperSpan = ((b - a) % 5760 + 5760) % 5760;
  const QColor light = toQColor(bevelColors_.highlight), dark = toQColor(bevelColors_.shadow);
  const bool sunken = bevelState_ == -1;
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(sunken ? dark : light, 1));
  painter.drawArc(box, a, upperSpan);
  painter.setPen(QPen(sunken ? light : dark, 1));
  painter.drawArc(box, b, 5760 - upperSpan);
}

void TOvalButton::drawContents(QPainter& painter) {
  const QFontMetrics fm(font());
  const bool sunken = bevelState_ == -1;
  const bool showGlyph = numGlyphs_ > 0;
  const QSize image = showGlyph ? QSize(glyph_.width() / numGlyphs_, glyph_.height()) : QSize();
  const QSize text =
      caption_.isEmpty() ? QSize() : QSize(fm.horizontalAdvance(caption_), fm.height());
  const OvalPlacement place =
      placeOvalContents({size(), text, image, showGlyph, layout_, spacing_, margin_, sunken});
  const QColor face = toQColor(color_);

  drawBevel(painter);
  const QRect captionRect(place.caption, text);
  if (!caption_.isEmpty() && !transparent_) {
    // Clear the caption as both states drew it, ink included: some faces reach past their
    // advance box. This comes before the glyph so that it never paints over the image.
    const QRect ink =
        fm.boundingRect(caption_).translated(place.caption.x(), place.caption.y() + fm.ascent());
    const QRect drawn = captionRect.united(ink);
    painter.fillRect(drawn, face);
    painter.fillRect(sunken ? drawn.translated(-1, -1) : drawn.translated(1, 1), face);
  }
  if (showGlyph) {
    const QRect g = place.glyph;
    // Face-coloured strips where the image of the other state had its edge.
    if (!transparent_ && sunken) {
      painter.fillRect(g.left() - 1, g.top() - 1, 1, g.height() + 2, face);
      painter.fillRect(g.left() - 1, g.top() - 1, g.width() + 1, 1, face);
    } else if (!transparent_) {
      painter.fillRect(g.left() + g.width(), g.top(), 1, g.height() + 1, face);
      painter.fillRect(g.left() + 1, g.top() + g.height(), g.width(), 1, face);
    }
    int index = 0;
    if (!isEnabled() && numGlyphs_ > 1) index = 1;
    if (sunken && numGlyphs_ > 2) index = 2;
    drawGlyph(painter, g, index);
  }
  if (caption_.isEmpty()) return;
  painter.setPen(toQColor(fontColor_));
  textdraw::drawText(painter, caption_, captionRect, textdraw::SingleLine);
}

void TOvalButton::drawGlyph(QPainter& painter, const QRect& target, int image) {
  if (target.isEmpty()) return;
  QImage source = glyph_.copy(image * target.width(), 0, target.width(), target.height())
                      .convertToFormat(QImage::Format_ARGB32);
  const QRgb key = toQColor(transparentColor_).rgb() & RGB_MASK;
  const QRgb fill = transparent_ ? qRgba(0, 0, 0, 0) : toQColor(color_).rgb();
  for (int y = 0; y < source.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
    for (int x = 0; x < source.width(); ++x)
      if ((line[x] & RGB_MASK) == key) line[x] = fill;
  }
  painter.drawImage(target.topLeft(), source);
}

void TOvalButton::press(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (isEnabled() && hitTest(pos)) {
    downBeforePress_ = down_;
    down_ = true;
    bevelState_ = -1;
    redraw(Part::Contents);
    emit mouseDown(event->button(), event->modifiers(), pos);
  }
  mousePressed_ = true;
}

void TOvalButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) leftPressed_ = true;
  press(event);
}

// The second press of a double click goes down and up like any press, but its release is no
// click: the double click stands in for it.
void TOvalButton::mouseDoubleClickEvent(QMouseEvent* event) {
  press(event);
  if (isEnabled() && mouseInside_) emit doubleClicked();
}

void TOvalButton::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const bool inside = hitTest(pos);
  if (mousePressed_) {
    // A push button follows the pointer: raised outside the ellipse, down inside.
    if (!inside) {
      if (bevelState_ == -1 && groupIndex_ == 0 && mouseInside_) {
        down_ = false;
        bevelState_ = 1;
        redraw(Part::Bevel);
      }
      mouseInside_ = false;
    } else if (bevelState_ == 1 && groupIndex_ == 0) {
      mouseInside_ = true;
      down_ = true;
      bevelState_ = -1;
      redraw(Part::Bevel);
    }
  } else if (flat_ && !down_) {
    if (inside) {
      mouseInside_ = true;
      bevelState_ = 1;
      redraw(Part::Bevel);
    } else if (mouseInside_) {
      mouseInside_ = false;
      bevelState_ = 0;
      repaintAll();
    }
  } else {
    mouseInside_ = inside;
  }
  if (mouseInside_) emit mouseMoved(event->modifiers(), pos);
}

void TOvalButton::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  // The click comes first, as the platform reports it before the release itself.
  if (event->button() == Qt::LeftButton && leftPressed_) {
    leftPressed_ = false;
    if (rect().contains(pos)) click();
  }
  if (isEnabled() && hitTest(pos)) {
    if (groupIndex_ != 0) {
      setDown(!downBeforePress_);
    } else {
      down_ = false;
      bevelState_ = 1;
      redraw(Part::Contents);
    }
    emit mouseUp(event->button(), event->modifiers(), pos);
  }
  mousePressed_ = false;
}

void TOvalButton::click() {
  if (isEnabled() && mouseInside_) emit clicked();
}

void TOvalButton::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  emit mouseEntered();
}

void TOvalButton::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (mouseInside_ && isEnabled()) {
    mouseInside_ = false;
    if (flat_ && !down_) {
      bevelState_ = 0;
      repaintAll();
    }
  }
  emit mouseExited();
}

void TOvalButton::regrabAccelerator() {
  if (accelShortcut_ != 0) releaseShortcut(accelShortcut_);
  accelShortcut_ = 0;
  const QChar accel = accelCharOf(caption_);
  if (!accel.isNull()) accelShortcut_ = grabShortcut(QKeySequence(QStringLiteral("Alt+") + accel));
}

bool TOvalButton::event(QEvent* e) {
  switch (e->type()) {
    // Qt repaints the whole button after these; until it has, a press must not draw only the
    // contents over a face that is out of date.
    case QEvent::Show:
    case QEvent::Resize:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
      fullPaintPending_ = true;
      break;
    default:
      break;
  }
  if (e->type() == QEvent::Shortcut &&
      static_cast<QShortcutEvent*>(e)->shortcutId() == accelShortcut_) {
    if (isEnabled()) click();
    return true;
  }
  return QWidget::event(e);
}
