#include "display/label.h"

#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "display/layout.h"
#include "widgets/textdraw.h"

// An opaque label paints every pixel, so the parent need not be drawn underneath it.
TLabel::TLabel(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void TLabel::setCaption(const QString& text) { store(caption_, text); }

void TLabel::setColor(TColor c) { store(color_, c); }

void TLabel::setFontColor(TColor c) { store(fontColor_, c); }

void TLabel::setTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  setAttribute(Qt::WA_OpaquePaintEvent, !on);
  changed();
}

void TLabel::setAlignment(Alignment a) { store(alignment_, a); }

void TLabel::setTextLayout(TextLayout l) { store(textLayout_, l); }

void TLabel::setWordWrap(bool on) { store(wordWrap_, on); }

void TLabel::setShowAccelChar(bool on) { store(showAccelChar_, on); }

void TLabel::setShrinkToWidth(bool on) { store(shrinkToWidth_, on); }

unsigned TLabel::alignmentFlag() const {
  switch (alignment_) {
    case Alignment::RightJustify:
      return textdraw::Right;
    case Alignment::Center:
      return textdraw::Center;
    case Alignment::LeftJustify:
      break;
  }
  return textdraw::Left;
}

QString TLabel::captionFor(unsigned flags) const {
  const bool measuring = flags & textdraw::CalcRect;
  if (measuring && (caption_.isEmpty() || (showAccelChar_ && caption_ == u"&")))
    return caption_ + u' ';
  return caption_;
}

QFont TLabel::drawingFont() const {
  if (!shrinkToWidth_) return font();
  const QString text = showAccelChar_ ? textWithoutAccelerators(caption_) : caption_;
  const int pixels = QFontInfo(font()).pixelSize();
  const int fitted = fitCharHeightToWidth(text, font(), pixels, width());
  return fitted < pixels ? fontWithCharHeight(font(), fitted) : font();
}

unsigned TLabel::prefixFlags(unsigned flags) const {
  return showAccelChar_ ? flags : flags | textdraw::NoPrefix;
}

QRect TLabel::layoutRect(QPainter& painter, const QRect& rect, unsigned flags) {
  if (textLayout_ == TextLayout::Top) return rect;
  const QRect measured = drawCaption(painter, rect, flags | textdraw::CalcRect);
  const int free = rect.height() - measured.height();
  QRect r = rect.translated(0, textLayout_ == TextLayout::Center ? free / 2 : free);
  // A text taller than the label keeps its whole extent instead of being cut at the bottom.
  if (free < 0) {
    if (measured.bottom() > r.bottom()) r.setBottom(measured.bottom());
    if (measured.top() < r.top()) r.setTop(measured.top());
  }
  return r;
}

void TLabel::changed() {
  cacheValid_ = false;
  update();
}

void TLabel::changeEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::EnabledChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
      cacheValid_ = false;
      break;
    default:
      break;
  }
  QWidget::changeEvent(event);
}

// An opaque label draws straight onto the window: it sets every pixel, and the big glyphs come
// from the glyph images of textdraw, so keeping a picture of the whole label would cost its full
// size in memory (the score band alone is 10 MB at 4K) for little time saved. A label that
// lets the window show through keeps its last drawing with alpha, and draws again only after
// one of its properties changed, since the window repaints it whenever something above or below
// it changes.
void TLabel::paintEvent(QPaintEvent*) {
  if (coversEveryPixel()) {
    cache_ = QImage();
    QPainter painter(this);
    paintLabel(painter);
    return;
  }
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (cache_.size() != pixels) {
    cache_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    cache_.setDevicePixelRatio(ratio);
    cacheValid_ = false;
  }
  if (!cacheValid_) {
    cache_.fill(Qt::transparent);
    QPainter painter(&cache_);
    paintLabel(painter);
    cacheValid_ = true;
  }
  QPainter(this).drawImage(0, 0, cache_);
}

void TLabel::paintLabel(QPainter& painter) {
  if (!transparent_) painter.fillRect(rect(), toQColor(color_));
  unsigned flags = textdraw::ExpandTabs | alignmentFlag();
  if (wordWrap_) flags |= textdraw::WordBreak;
  drawCaption(painter, layoutRect(painter, rect(), flags), flags);
}

QRect TLabel::drawCaption(QPainter& painter, const QRect& rect, unsigned flags) {
  const QString text = captionFor(flags);
  flags = prefixFlags(flags);
  painter.setFont(drawingFont());
  if (flags & textdraw::CalcRect) return textdraw::drawText(painter, text, rect, flags);
  if (isEnabled()) {
    painter.setPen(toQColor(fontColor_));
  } else {
    // Disabled text is engraved: a light copy one pixel down-right under a dark one.
    painter.setPen(toQColor(colors::btnHighlight));
    textdraw::drawText(painter, text, rect.translated(1, 1), flags);
    painter.setPen(toQColor(colors::btnShadow));
  }
  return textdraw::drawText(painter, text, rect, flags);
}

void TLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) leftPressed_ = true;
  QWidget::mousePressEvent(event);
}

// The second press of a double click is no press of a click: its release does not click.
void TLabel::mouseDoubleClickEvent(QMouseEvent* event) { event->ignore(); }

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && std::exchange(leftPressed_, false) &&
      rect().contains(event->position().toPoint()))
    emit clicked();
  QWidget::mouseReleaseEvent(event);
}
