#include "ticker/runstring.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

namespace {

// Width of one cached tile of the drawn text.
constexpr int tileWidth = 1024;

// The glyphs of a run whose origins lie within [left, right).
QGlyphRun glyphsBetween(const QGlyphRun& run, qreal left, qreal right) {
  const QList<quint32> indexes = run.glyphIndexes();
  const QList<QPointF> positions = run.positions();
  QList<quint32> keptIndexes;
  QList<QPointF> keptPositions;
  for (qsizetype i = 0; i < positions.size(); ++i) {
    if (positions[i].x() < left || positions[i].x() >= right) continue;
    keptIndexes.append(indexes[i]);
    keptPositions.append(positions[i]);
  }
  QGlyphRun kept = run;
  kept.setGlyphIndexes(keptIndexes);
  kept.setPositions(keptPositions);
  return kept;
}

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
  textPrepared_ = false;
  tiles_.clear();
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
  QTextLayout layout(text, rFont_.font, painter.device());
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();

  // A glyph may reach about one line height beyond its origin on either side.
  const qreal reach = QFontMetricsF(rFont_.font, painter.device()).height();
  const QRectF visible =
      painter.hasClipping()
          ? painter.clipBoundingRect()
          : QRectF(QPointF(0, 0), QSizeF(painter.device()->width(), painter.device()->height()));
  painter.setBrush(Qt::NoBrush);
  const auto layer = [&](TColor c, int offset) {
    painter.setPen(toQColor(c));
    const QPointF origin(at.x() + offset, at.y() + offset);
    const qreal left = visible.left() - origin.x() - reach;
    const qreal right = visible.right() - origin.x() + reach;
    for (const QGlyphRun& run : runs) painter.drawGlyphRun(origin, glyphsBetween(run, left, right));
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

void TRunString::prepareText() {
  textPrepared_ = true;
  tiles_.clear();
  const QFontMetrics fm(rFont_.font, this);
  const TRunMetrics m = metrics();
  // The ink of all layers may reach past the text box (overhangs, italics); keep it all.
  const QRect ink = fm.boundingRect(rText_).translated(0, fm.ascent());
  const int spread = qAbs(2 * depth_);
  textArea_ = QRect(0, 0, m.TextBoxWidth, m.TextBoxHeight)
                  .united(ink)
                  .united(ink.translated(spread, spread))
                  .adjusted(-1, -1, 1, 1);
}

const QImage& TRunString::tile(int index) {
  auto found = tiles_.find(index);
  if (found != tiles_.end()) return *found;
  const int left = textArea_.left() + index * tileWidth;
  QImage image(qMin(tileWidth, textArea_.right() + 1 - left), textArea_.height(),
               QImage::Format_RGB32);
  image.fill(toQColor(color_));
  QPainter painter(&image);
  painter.setClipRect(image.rect());
  DrawRunText(painter, QPoint(-left, -textArea_.top()), rText_);
  return *tiles_.insert(index, image);
}

void TRunString::renderFrame() {
  if (frame_.size() != size()) frame_ = QPixmap(size());
  const QPoint at = runTextPosition(
      direction_, runFraction(designMode_ ? stepToView_ : position_, steps_), metrics(), size());
  if (!textPrepared_) prepareText();
  // The text area's columns that fall into the frame, as tile numbers.
  const QPoint areaAt = at + textArea_.topLeft();
  const int firstColumn = qMax(0, -areaAt.x());
  const int lastColumn = qMin(textArea_.width(), width() - areaAt.x()) - 1;
  const int firstTile = firstColumn / tileWidth;
  const int lastTile = lastColumn < firstColumn ? firstTile - 1 : lastColumn / tileWidth;
  for (auto it = tiles_.begin(); it != tiles_.end();)
    it = it.key() < firstTile || it.key() > lastTile ? tiles_.erase(it) : std::next(it);

  QPainter painter(&frame_);
  // The tiles carry their own background; fill only what they leave uncovered.
  QRect covered;
  for (int t = firstTile; t <= lastTile; ++t) {
    const QImage& image = tile(t);
    const QPoint corner = areaAt + QPoint(t * tileWidth, 0);
    painter.drawImage(corner, image);
    covered |= QRect(corner, image.size());
  }
  for (const QRect& r : QRegion(frame_.rect()).subtracted(covered))
    painter.fillRect(r, toQColor(color_));
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
