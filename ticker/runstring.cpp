#include "ticker/runstring.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

// A sprite larger than this is not kept; such a text is drawn straight into each frame.
constexpr qint64 maxSpriteBytes = 32 * 1024 * 1024;

}  // namespace

int nearestEven(double v) {
  const double down = std::floor(v);
  const double rest = v - down;
  if (rest < 0.5) return static_cast<int>(down);
  if (rest > 0.5) return static_cast<int>(down) + 1;
  return std::fmod(down, 2.0) == 0.0 ? static_cast<int>(down) : static_cast<int>(down) + 1;
}

int centerOffset(int controlSize, int boxSize) {
  return boxSize < controlSize ? (controlSize - boxSize) / 2 : 0;
}

TRunMetrics runMetrics(QSize textExtent, int depth, QSize control) {
  TRunMetrics m;
  m.TextBoxWidth = textExtent.width() + 2 * depth;
  m.TextBoxHeight = textExtent.height() + 2 * depth;
  m.CenterX = centerOffset(control.width(), m.TextBoxWidth);
  m.CenterY = centerOffset(control.height(), m.TextBoxHeight);
  return m;
}

double runFraction(int step, int steps) {
  return steps > 0 ? static_cast<double>(step) / steps : 0.0;
}

QPoint runTextPosition(TRDirection direction, double f, const TRunMetrics& m, QSize control) {
  const int width = m.TextBoxWidth + control.width();
  const int height = m.TextBoxHeight + control.height();
  switch (direction) {
    case TRDirection::rdRightToLeft:
      return {nearestEven((1.0 - f) * width) - m.TextBoxWidth, m.CenterY};
    case TRDirection::rdLeftToRight:
      return {nearestEven(f * width) - m.TextBoxWidth, m.CenterY};
    // The vertical names are the historical ones: "top to bottom" moves the text upward.
    case TRDirection::rdTopToBottom:
      return {m.CenterX, nearestEven((1.0 - f) * height) - m.TextBoxHeight};
    case TRDirection::rdBottomToTop:
      return {m.CenterX, nearestEven(f * height) - m.TextBoxHeight};
    case TRDirection::rdStatic:
      break;
  }
  return {m.CenterX, m.CenterY};
}

TRunString::TRunString(QWidget* parent) : QWidget(parent) {
  // Not opaque: the parent paints its background behind the strip first.
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setAutoFillBackground(false);
  resize(192, 20);
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(speed_);
  connect(&timer_, &QTimer::timeout, this, &TRunString::tick);
  measureText();
}

void TRunString::setLabelStyle(TRLabelStyle style) {
  if (style == labelStyle_) return;
  labelStyle_ = style;
  UpdateMetrics();
}

void TRunString::setDirection(TRDirection direction) { direction_ = direction; }

void TRunString::setRText(const QString& text) {
  if (text == rText_) return;
  rText_ = text;
  UpdateMetrics();
}

void TRunString::setOneStep(int step) {
  // A step below 1 would never reach the end of a pass.
  oneStep_ = qMax(step, 1);
}

void TRunString::setSteps(int steps) {
  if (steps == steps_) return;
  steps_ = steps == 0 ? 1 : steps;
  if (designMode_) {
    stepToView_ = steps_ / 2;
    update();
  }
}

void TRunString::setSpeed(int ms) {
  if (ms == speed_) return;
  speed_ = qBound(1, ms, 1000);
  timer_.setInterval(speed_);
}

void TRunString::setColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  UpdateMetrics();
}

void TRunString::setColorH(TColor c) {
  if (c == colorH_) return;
  colorH_ = c;
  UpdateMetrics();
}

void TRunString::setColorS(TColor c) {
  if (c == colorS_) return;
  colorS_ = c;
  UpdateMetrics();
}

void TRunString::setRFont(const TRunFont& font) {
  // Assigning a font always counts as a change of the owned font.
  rFont_ = font;
  UpdateMetrics();
}

void TRunString::setDepth(int depth) {
  if (depth == depth_) return;
  depth_ = depth;
  UpdateMetrics();
}

void TRunString::setStepToView(int step) {
  if (!designMode_ || step < 0 || step > steps_ || step == stepToView_) return;
  stepToView_ = step;
  UpdateMetrics();
}

void TRunString::setDesignMode(bool on) {
  if (on == designMode_) return;
  designMode_ = on;
  update();
}

void TRunString::setExternalTicks(bool on) {
  externalTicks_ = on;
  if (on)
    timer_.stop();
  else if (timerEnabled_)
    timer_.start();
}

void TRunString::setTimerEnabled(bool on) {
  if (on == timerEnabled_) return;
  timerEnabled_ = on;
  if (!on)
    timer_.stop();
  else if (!externalTicks_)
    timer_.start();
}

void TRunString::Start(int s) {
  if (s >= 0 && s <= steps_) position_ = s;
  setTimerEnabled(true);
}

int TRunString::Stop() {
  setTimerEnabled(false);
  return position_;
}

void TRunString::measureText() {
  const QFontMetrics fm(rFont_.font, this);
  textExtent_ = QSize(fm.horizontalAdvance(rText_), fm.height());
  spriteDirty_ = true;
}

void TRunString::UpdateMetrics() {
  measureText();
  steps_ = metrics().TextBoxWidth + width();
  update();
}

void TRunString::tick() {
  // A tick queued before the timer was stopped is ignored.
  if (!timerEnabled_) return;
  if (position_ == 0) emit OnBegin();
  position_ += oneStep_;
  repaint();
  emit OnStep();
  if (position_ < steps_) return;
  if (!autoRewind_) setTimerEnabled(false);
  emit OnEnd();
  position_ = 0;
}

void TRunString::DrawRunText(QPainter& painter, QPoint at, const QString& text) const {
  painter.setFont(rFont_.font);
  painter.setBrush(Qt::NoBrush);
  const int ascent = QFontMetrics(rFont_.font, painter.device()).ascent();
  const auto layer = [&](TColor c, int offset) {
    painter.setPen(toQColor(c));
    painter.drawText(QPoint(at.x() + offset, at.y() + offset + ascent), text);
  };
  if (labelStyle_ == TRLabelStyle::rlRaised) {
    layer(colorH_, 0);
    layer(colorS_, 2 * depth_);
  } else if (labelStyle_ == TRLabelStyle::rlLowered) {
    layer(colorS_, 0);
    layer(colorH_, 2 * depth_);
  }
  layer(rFont_.color, depth_);
}

void TRunString::renderSprite() {
  spriteDirty_ = false;
  const QFontMetrics fm(rFont_.font, this);
  const TRunMetrics m = metrics();
  // The ink of all layers may reach past the text box (overhangs, italics); keep it all.
  const QRect ink = fm.boundingRect(rText_).translated(0, fm.ascent());
  const int spread = qAbs(2 * depth_);
  QRect area = QRect(0, 0, m.TextBoxWidth, m.TextBoxHeight)
                   .united(ink)
                   .united(ink.translated(spread, spread))
                   .adjusted(-1, -1, 1, 1);
  spriteUsable_ = qint64(area.width()) * area.height() * 4 <= maxSpriteBytes;
  if (!spriteUsable_) {
    sprite_ = QImage();
    return;
  }
  sprite_ = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
  sprite_.fill(Qt::transparent);
  spriteOrigin_ = -area.topLeft();
  QPainter painter(&sprite_);
  painter.setRenderHint(QPainter::TextAntialiasing);
  DrawRunText(painter, spriteOrigin_, rText_);
}

void TRunString::renderFrame() {
  if (frame_.size() != size()) frame_ = QPixmap(size());
  frame_.fill(toQColor(color_));
  const QPoint at = runTextPosition(
      direction_, runFraction(designMode_ ? stepToView_ : position_, steps_), metrics(), size());
  if (spriteDirty_) renderSprite();
  QPainter painter(&frame_);
  if (spriteUsable_)
    painter.drawImage(at - spriteOrigin_, sprite_);
  else
    DrawRunText(painter, at, rText_);
}

void TRunString::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  renderFrame();
  QPainter(this).drawPixmap(0, 0, frame_);
}

void TRunLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit OnClick();
  TRunString::mouseReleaseEvent(event);
}

void TRunLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  emit OnDblClick();
  TRunString::mouseDoubleClickEvent(event);
}
