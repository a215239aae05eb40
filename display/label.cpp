#include "display/label.h"

#include <QMouseEvent>
#include <QPainter>

#include "widgets/textdraw.h"

// An opaque label paints every pixel, so the parent need not be drawn underneath it.
TLabel::TLabel(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void TLabel::setCaption(const QString& text) {
  if (text == caption_) return;
  caption_ = text;
  update();
}

void TLabel::setColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void TLabel::setFontColor(TColor c) {
  if (c == fontColor_) return;
  fontColor_ = c;
  update();
}

void TLabel::setTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  setAttribute(Qt::WA_OpaquePaintEvent, !on);
  update();
}

void TLabel::setAlignment(Alignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  update();
}

void TLabel::setTextLayout(TextLayout l) {
  if (l == textLayout_) return;
  textLayout_ = l;
  update();
}

void TLabel::setWordWrap(bool on) {
  if (on == wordWrap_) return;
  wordWrap_ = on;
  update();
}

void TLabel::setShowAccelChar(bool on) {
  if (on == showAccelChar_) return;
  showAccelChar_ = on;
  update();
}

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

void TLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!transparent_) painter.fillRect(rect(), toQColor(color_));
  unsigned flags = textdraw::ExpandTabs | alignmentFlag();
  if (wordWrap_) flags |= textdraw::WordBreak;
  drawCaption(painter, layoutRect(painter, rect(), flags), flags);
}

QRect TLabel::drawCaption(QPainter& painter, const QRect& rect, unsigned flags) {
  const QString text = captionFor(flags);
  flags = prefixFlags(flags);
  painter.setFont(font());
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

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
  QWidget::mouseReleaseEvent(event);
}
