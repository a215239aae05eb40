#include "widgets/label.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>

namespace {

const QColor kBackdrop(1, 2, 3);
const QColor kNavy(0, 0, 128);

QFont crispFont() {
  QFont font("Liberation Mono");
  font.setPixelSize(16);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

QImage render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(kBackdrop);
  widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  return image;
}

// The bounding box of pixels that are neither the backdrop nor the label's colour.
QRect ink(const QImage& image) {
  QRect r;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (const QColor c = image.pixelColor(x, y); c != kBackdrop && c != kNavy)
        r |= QRect(x, y, 1, 1);
  return r;
}

struct PlainLabel {
  Label label;
  const int charWidth = QFontMetrics(crispFont()).horizontalAdvance(u'x');
  const int lineHeight = QFontMetrics(crispFont()).height();
  PlainLabel() {
    label.setFont(crispFont());
    label.setColor(colors::navy);
    label.resize(12 * charWidth, 4 * lineHeight);
  }
};

TEST(Label, BreaksWordsOnlyWithWordWrapAndLaysOutVertically) {
  PlainLabel p;
  p.label.setCaption("aaaa bbbb cccc dddd");
  EXPECT_LT(ink(render(p.label)).bottom(), p.lineHeight);
  p.label.setWordWrap(true);
  EXPECT_GT(ink(render(p.label)).bottom(), p.lineHeight);

  p.label.setTextLayout(Label::TextLayout::Bottom);
  const QRect bottom = ink(render(p.label));
  EXPECT_GE(bottom.top(), 2 * p.lineHeight);
  p.label.setTextLayout(Label::TextLayout::Center);
  EXPECT_EQ(ink(render(p.label)).top(), bottom.top() - p.lineHeight);
}

TEST(Label, OpaqueFillsTransparentShowsThrough) {
  PlainLabel p;
  EXPECT_EQ(render(p.label).pixelColor(0, 0), kNavy);
  p.label.setTransparent(true);
  EXPECT_EQ(render(p.label).pixelColor(0, 0), kBackdrop);
}

TEST(Label, AcceleratorPrefixesCanBeShownAsTheyAre) {
  PlainLabel p;
  p.label.setCaption("&&&&");
  const QRect shown = ink(render(p.label));
  p.label.setShowAccelChar(false);
  const QRect raw = ink(render(p.label));
  EXPECT_NEAR(shown.width(), p.charWidth * 2, p.charWidth / 2);
  EXPECT_NEAR(raw.width(), p.charWidth * 4, p.charWidth / 2);
}

TEST(Label, PressAndReleaseInsideClicks) {
  PlainLabel p;
  int clicks = 0;
  QObject::connect(&p.label, &Label::clicked, [&] { ++clicks; });
  for (QPoint pos : {QPoint(5, 5), QPoint(-5, 5)}) {
    const QPointF in(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, in, in, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&p.label, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), QPointF(pos), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&p.label, &release);
  }
  EXPECT_EQ(clicks, 1);
}

}  // namespace
