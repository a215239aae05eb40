#include "display/label.h"

#include <QMouseEvent>
#include <QPainter>

TLabel::TLabel(QWidget* parent) : QWidget(parent) {}

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

void TLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!transparent_) painter.fillRect(rect(), toQColor(color_));
  drawCaption(painter, rect());
}

void TLabel::drawCaption(QPainter& painter, const QRect& rect) {
  int flags = alignment_ == Alignment::Center         ? Qt::AlignHCenter
              : alignment_ == Alignment::RightJustify ? Qt::AlignRight
                                                      : Qt::AlignLeft;
  flags |= textLayout_ == TextLayout::Center   ? Qt::AlignVCenter
           : textLayout_ == TextLayout::Bottom ? Qt::AlignBottom
                                               : Qt::AlignTop;
  if (wordWrap_) flags |= Qt::TextWordWrap;
  flags |= showAccelChar_ ? Qt::TextShowMnemonic : 0;
  painter.setFont(font());
  painter.setPen(toQColor(fontColor_));
  painter.drawText(rect, flags, caption_);
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
  QWidget::mouseReleaseEvent(event);
}
