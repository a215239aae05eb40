#include "widgets/label.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>
#include <utility>

#include "widgets/fontsize.h"
#include "widgets/textdraw.h"

// An opaque label paints every pixel, so the parent need not be drawn underneath it.
Label::Label(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

// A clock or a penalty time changes one or two digits at a time; repainting only their columns
// spares filling and drawing the rest of a big label, and what lies under a transparent one.
void Label::setCaption(const QString& text) {
  if (text == caption_) return;
  const QRegion region = captionChange(caption_, text);
  caption_ = text;
  if (region.isEmpty())
    changed();
  else
    update(region);
}

QRegion Label::captionChange(const QString& before, const QString& after) const {
  if (!isVisible() || before.isEmpty() || before.size() != after.size()) return {};
  // One line whatever the width and the flags: no breaks, tabs, blanks or prefixes.
  const auto oneLine = [](const QString& s) {
    return std::none_of(s.begin(), s.end(), [](QChar c) {
      return c == u'\n' || c == u'\r' || c == u'\t' || c == u' ' || c == u'&';
    });
  };
  if (!oneLine(before) || !oneLine(after)) return {};
  const QFont font = captionFont(before);
  if (font != captionFont(after)) return {};
  // Measured on the device the caption is drawn on: the window, or a picture like the one a
  // transparent label draws on.
  static const QImage pictureDevice(1, 1, QImage::Format_ARGB32_Premultiplied);
  const QPaintDevice* device =
      transparent_ ? static_cast<const QPaintDevice*>(&pictureDevice) : this;
  const QFontMetrics fm(font, device);
  // Copied: shaping the new caption may drop the kept lines.
  const textdraw::ShapedLine was = textdraw::shapedLine(font, device, before);
  const QList<int>& x = was.starts;
  const textdraw::ShapedLine& now = textdraw::shapedLine(font, device, after);
  if (!was.valid || !now.valid || x != now.starts) return {};
  int first = -1, last = -1;
  for (qsizetype i = 0; i < before.size(); ++i)
    if (before[i] != after[i]) {
      if (first < 0) first = static_cast<int>(i);
      last = static_cast<int>(i);
    }
  if (first < 0) return {};
  // The changed characters' advance boxes and their ink before and after the change; every
  // other glyph is drawn in the same place both times. A glyph is drawn up to two pixels
  // beyond its ink bounds at a rounded position; the copies and the frame reach further.
  const QRectF ink = Label::ink(was, first, last) | Label::ink(now, first, last);
  // The line lies where textdraw aligns it in the label, and where the vertical layout puts
  // it (a frame moves it by no more than the reach). Its width is where the last character
  // ends, within a pixel of its measured advance.
  const int free = width() - x.last();
  const unsigned align = alignmentFlag();
  const int lineLeft = align == textdraw::Right ? free : align == textdraw::Center ? free / 2 : 0;
  const int freeHeight = height() - fm.height();
  const int lineTop = textLayout_ == TextLayout::Top      ? 0
                      : textLayout_ == TextLayout::Center ? freeHeight / 2
                                                          : freeHeight;
  const int reach = 3 + captionReach();
  return QRegion(QRect(
             QPoint(lineLeft + qFloor(ink.left()) - reach, lineTop + qFloor(ink.top()) - reach),
             QPoint(lineLeft + qCeil(ink.right()) + reach,
                    lineTop + qCeil(ink.bottom()) + reach))) &
         rect();
}

QRectF Label::ink(const textdraw::ShapedLine& line, int from, int to) {
  qreal left = line.starts[from], right = line.starts[to + 1];
  qreal top = 0, bottom = 0;
  bool inked = false;
  const auto add = [&](const QGlyphRun& run, qsizetype first, qsizetype end) {
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype g = first; g < end; ++g) {
      const QRectF bounds = run.rawFont().boundingRect(indexes[g]).translated(positions[g]);
      left = qMin(left, bounds.left());
      right = qMax(right, bounds.right());
      top = inked ? qMin(top, bounds.top()) : bounds.top();
      bottom = inked ? qMax(bottom, bounds.bottom()) : bounds.bottom();
      inked = true;
    }
  };
  // ASCII characters in one left-to-right run with as many glyphs as characters have a glyph
  // each, in their order (a ligature would leave fewer): the line's glyphs serve as they are,
  // without laying the characters out once more. Any other line asks the layout.
  const QString text = line.layout->text();
  const bool glyphPerCharacter =
      line.runs.size() == 1 && !line.runs.first().isRightToLeft() &&
      line.runs.first().glyphIndexes().size() == text.size() &&
      std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
  if (glyphPerCharacter) {
    add(line.runs.first(), from, to + 1);
  } else {
    for (const QGlyphRun& run : line.layout->glyphRuns(from, to - from + 1))
      add(run, 0, run.glyphIndexes().size());
  }
  return QRectF(QPointF(left, top), QPointF(right, bottom));
}

void Label::setColor(TColor c) { store(color_, c); }

void Label::setFontColor(TColor c) { store(fontColor_, c); }

void Label::setTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  setAttribute(Qt::WA_OpaquePaintEvent, !on);
  changed();
}

void Label::setAlignment(Alignment a) { store(alignment_, a); }

void Label::setTextLayout(TextLayout l) { store(textLayout_, l); }

void Label::setWordWrap(bool on) { store(wordWrap_, on); }

void Label::setShowAccelChar(bool on) { store(showAccelChar_, on); }

void Label::setShrinkToWidth(bool on) { store(shrinkToWidth_, on); }

unsigned Label::alignmentFlag() const {
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

QString Label::captionFor(unsigned flags) const {
  const bool measuring = flags & textdraw::CalcRect;
  if (measuring && (caption_.isEmpty() || (showAccelChar_ && caption_ == u"&")))
    return caption_ + u' ';
  return caption_;
}

// Fitting measures the text in several sizes; a clock asks for its font on every change and
// every paint, so the last answer is kept for as long as the text, font and width stay.
QFont Label::captionFont(const QString& caption) const {
  if (!shrinkToWidth_) return font();
  const QString text = showAccelChar_ ? textWithoutAccelerators(caption) : caption;
  // Room for the caption and whatever is drawn beside it (a 3D label's shadow copies).
  const int room = width() - (captionReach() - 1);
  if (fitted_.text == text && fitted_.font == font() && fitted_.width == room)
    return fitted_.result;
  const int pixels = QFontInfo(font()).pixelSize();
  const int fitted = fitCharHeightToWidth(text, font(), pixels, room);
  fitted_ = {text, font(), room, fitted < pixels ? fontWithCharHeight(font(), fitted) : font()};
  return fitted_.result;
}

unsigned Label::prefixFlags(unsigned flags) const {
  return showAccelChar_ ? flags : flags | textdraw::NoPrefix;
}

QRect Label::layoutRect(QPainter& painter, const QRect& rect, unsigned flags) {
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

void Label::changed() { update(); }

// An opaque label draws straight onto the window: it sets every pixel, and the big glyphs come
// from the glyph images of textdraw. A label that lets the window show through draws the part
// to repaint on a transparent picture first and lays that over the window, so that its layers
// (the shadow copies and the text) blend with each other before they blend with what is under
// them. The picture lives only for the paint: kept, it would cost the label's full size (0.9 MB
// for a penalty time at 4K) to save a redraw that happens only when the window under it
// changes, and clipping leaves the pixels inside alone, so a part comes out as the whole would.
void Label::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (!transparent_) {
    // Told the part to paint, the big glyphs tint only what can show.
    painter.setClipRect(event->rect());
    paintLabel(painter);
    return;
  }
  const QRect area = event->rect();
  const qreal ratio = devicePixelRatioF();
  QImage picture(area.size() * ratio, QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  {
    QPainter layers(&picture);
    layers.translate(-area.topLeft());
    paintLabel(layers);
  }
  painter.drawImage(area.topLeft(), picture);
}

void Label::paintLabel(QPainter& painter) {
  if (!transparent_) painter.fillRect(rect(), toQColor(color_));
  unsigned flags = textdraw::ExpandTabs | alignmentFlag();
  if (wordWrap_) flags |= textdraw::WordBreak;
  drawCaption(painter, layoutRect(painter, rect(), flags), flags);
}

QRect Label::drawCaption(QPainter& painter, const QRect& rect, unsigned flags) {
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

void Label::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) leftPressed_ = true;
  QWidget::mousePressEvent(event);
}

// The second press of a double click is no press of a click: its release does not click.
void Label::mouseDoubleClickEvent(QMouseEvent* event) { event->ignore(); }

void Label::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && std::exchange(leftPressed_, false) &&
      rect().contains(event->position().toPoint()))
    emit clicked();
  QWidget::mouseReleaseEvent(event);
}
