#include "ticker/runstring.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "widgets/fontsize.h"

namespace {

// Width of one cached tile of the drawn text.
constexpr int tileWidth = 1024;
// Tiles kept although out of view: a text up to this many tiles long is drawn once, not on
// every pass.
constexpr int keptTiles = 4;
// The ink of a tile is kept as this many horizontal bands, each with the column ranges that
// hold ink; gaps narrower than four band heights are bridged, so that a step repaints a few
// wide rectangles rather than many narrow ones (each costs a clip and a transfer of its own).
constexpr int inkBands = 6;

// Where the pixels of the image differ from the background colour, banded as above.
QRegion inkRegion(const QImage& image, QRgb background) {
  QRegion ink;
  const int w = image.width();
  const int h = image.height();
  const int bandHeight = qMax(1, (h + inkBands - 1) / inkBands);
  std::vector<char> inked(static_cast<size_t>(w));
  for (int top = 0; top < h; top += bandHeight) {
    const int bottom = qMin(h, top + bandHeight);
    std::fill(inked.begin(), inked.end(), 0);
    for (int y = top; y < bottom; ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < w; ++x) inked[x] |= row[x] != background;
    }
    const int gap = 4 * (bottom - top);
    int start = -1, last = -1;
    for (int x = 0; x <= w; ++x) {
      if (x < w && !inked[x]) continue;
      if (start >= 0 && (x == w || x - last > gap)) {
        ink += QRect(start, top, last - start + 1, bottom - top);
        start = -1;
      }
      if (x == w) break;
      if (start < 0) start = x;
      last = x;
    }
  }
  return ink;
}

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

RunMetrics runMetrics(QSize textExtent, int depth, QSize control) {
  RunMetrics m;
  m.TextBoxWidth = textExtent.width() + 2 * depth;
  m.TextBoxHeight = textExtent.height() + 2 * depth;
  m.CenterX = centerOffset(control.width(), m.TextBoxWidth);
  m.CenterY = centerOffset(control.height(), m.TextBoxHeight);
  return m;
}

double runFraction(int step, int steps) {
  return steps > 0 ? static_cast<double>(step) / steps : 0.0;
}

QPoint runTextPosition(TRDirection direction, double f, const RunMetrics& m, QSize control) {
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
  // Every paint sets every pixel it is asked for, so the parent need not paint underneath.
  setAttribute(Qt::WA_OpaquePaintEvent);
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
    redrawAll();
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

void TRunString::setRFont(const RunFont& font) {
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
  redrawAll();
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

void TRunString::setFitToWidth(bool on) {
  if (on == fitToWidth_) return;
  fitToWidth_ = on;
  UpdateMetrics();
}

void TRunString::measureText() {
  shownFont_ = rFont_.font;
  if (fitToWidth_ && shownFont_.pixelSize() > 0) {
    const int room = width() - 2 * qAbs(depth_);
    shownFont_ = fontWithCharHeight(
        shownFont_, fitCharHeightToWidth(rText_, shownFont_, shownFont_.pixelSize(), room));
  }
  const QFontMetrics fm(shownFont_, this);
  textExtent_ = QSize(fm.horizontalAdvance(rText_), fm.height());
  textPrepared_ = false;
  tiles_.clear();
  runs_.clear();
}

void TRunString::UpdateMetrics() {
  measureText();
  steps_ = metrics().TextBoxWidth + width();
  redrawAll();
}

void TRunString::redrawAll() {
  shownAt_.reset();
  update();
}

void TRunString::tick() {
  // A tick queued before the timer was stopped is ignored.
  if (!timerEnabled_) return;
  if (position_ == 0) emit OnBegin();
  const QPoint before = textPosition();
  position_ += oneStep_;
  paintStep(before);
  emit OnStep();
  if (position_ < steps_) return;
  if (!autoRewind_) setTimerEnabled(false);
  emit OnEnd();
  position_ = 0;
}

QList<QGlyphRun> TRunString::glyphRuns(const QString& text, QPaintDevice* device) const {
  QTextLayout layout(text, shownFont_, device);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  return layout.glyphRuns();
}

void TRunString::DrawRunText(QPainter& painter, QPoint at, const QString& text) const {
  drawLayers(painter, at, glyphRuns(text, painter.device()));
}

void TRunString::drawLayers(QPainter& painter, QPoint at, const QList<QGlyphRun>& runs) const {
  // A glyph may reach about one line height beyond its origin on either side.
  const qreal reach = QFontMetricsF(shownFont_, painter.device()).height();
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
  runs_.clear();
  const QFontMetrics fm(shownFont_, this);
  const RunMetrics m = metrics();
  // The ink of all layers may reach past the text box (overhangs, italics); keep it all.
  const QRect ink = fm.boundingRect(rText_).translated(0, fm.ascent());
  const int spread = qAbs(2 * depth_);
  textArea_ = QRect(0, 0, m.TextBoxWidth, m.TextBoxHeight)
                  .united(ink)
                  .united(ink.translated(spread, spread))
                  .adjusted(-1, -1, 1, 1);
}

QPoint TRunString::textPosition() const {
  return runTextPosition(direction_, runFraction(designMode_ ? stepToView_ : position_, steps_),
                         metrics(), size());
}

std::pair<int, int> TRunString::tilesInView(QPoint at) const {
  const QPoint areaAt = at + textArea_.topLeft();
  const int firstColumn = qMax(0, -areaAt.x());
  const int lastColumn = qMin(textArea_.width(), width() - areaAt.x()) - 1;
  const int firstTile = firstColumn / tileWidth;
  return {firstTile, lastColumn < firstColumn ? firstTile - 1 : lastColumn / tileWidth};
}

const TRunString::Tile& TRunString::tile(int index) {
  auto found = tiles_.find(index);
  if (found != tiles_.end()) return *found;
  const int left = textArea_.left() + index * tileWidth;
  QImage image(qMin(tileWidth, textArea_.right() + 1 - left), textArea_.height(),
               QImage::Format_RGB32);
  const QColor background = toQColor(color_);
  image.fill(background);
  // The text is laid out once for all its tiles.
  if (runs_.isEmpty()) runs_ = glyphRuns(rText_, &image);
  {
    QPainter painter(&image);
    painter.setClipRect(image.rect());
    drawLayers(painter, QPoint(-left, -textArea_.top()), runs_);
  }
  const QRegion ink = inkRegion(image, background.rgb());
  return *tiles_.insert(index, {image, ink});
}

QRegion TRunString::stepRegion(QPoint from, QPoint to) {
  // A pixel can only change where the text has ink before or after the step; everywhere else
  // it shows the background on both sides of the step.
  QRegion region;
  for (const QPoint at : {from, to}) {
    const auto [first, last] = tilesInView(at);
    for (int t = first; t <= last; ++t)
      region += tile(t).ink.translated(at + textArea_.topLeft() + QPoint(t * tileWidth, 0));
  }
  return region & rect();
}

void TRunString::paintStep(QPoint before) {
  // A hidden strip draws nothing; what it shows when it appears is drawn then.
  if (!isVisible()) {
    shownAt_.reset();
    return;
  }
  const QPoint after = textPosition();
  if (shownAt_ != before) {
    shownAt_.reset();
    repaint();
    return;
  }
  if (after == before) return;
  // Painting the step region at the new place leaves the whole strip showing it there.
  const QRegion region = stepRegion(before, after);
  shownAt_ = after;
  if (!region.isEmpty()) repaint(region);
}

void TRunString::paintEvent(QPaintEvent* event) {
  if (width() <= 0 || height() <= 0) return;
  if (!textPrepared_) prepareText();
  const QPoint at = textPosition();
  const QPoint areaAt = at + textArea_.topLeft();
  const auto [firstTile, lastTile] = tilesInView(at);
  // A short text keeps all its tiles for the next pass; a long one only those in view.
  if (tiles_.size() > keptTiles)
    for (auto it = tiles_.begin(); it != tiles_.end();)
      it = it.key() < firstTile || it.key() > lastTile ? tiles_.erase(it) : std::next(it);

  QPainter painter(this);
  const QColor background = toQColor(color_);
  // One rectangle at a time: a blit clipped to a rectangle is a plain copy of rows, while a
  // complex clip would blend span by span.
  for (const QRect& r : event->region()) {
    painter.setClipRect(r);
    // The tiles carry their own background; fill only what they leave uncovered.
    QRegion uncovered(r);
    for (int t = firstTile; t <= lastTile; ++t) {
      const QRect area(
          areaAt + QPoint(t * tileWidth, 0),
          QSize(qMin(tileWidth, textArea_.width() - t * tileWidth), textArea_.height()));
      const QRect part = area & r;
      if (part.isEmpty()) continue;
      painter.drawImage(part, tile(t).image, part.translated(-area.topLeft()));
      uncovered -= part;
    }
    for (const QRect& rest : uncovered) painter.fillRect(rest, background);
  }

  // A paint of everything that shows fixes where the text stands on screen; a partial one
  // keeps it only if it drew the text where the rest of the strip already shows it.
  if ((visibleRegion() - event->region()).isEmpty())
    shownAt_ = at;
  else if (shownAt_ != at)
    shownAt_.reset();
}

void TRunString::resizeEvent(QResizeEvent* event) {
  shownAt_.reset();
  QWidget::resizeEvent(event);
  if (fitToWidth_) UpdateMetrics();
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
