#include "widgets/label3d.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {

const QColor kBackdrop(1, 2, 3);  // what a transparent label shows through
const QColor kHighlight(255, 255, 255);
const QColor kShadow(160, 160, 160);
const QColor kGrayText(109, 109, 109);
const QColor kRed(255, 0, 0);
const QColor kNavy(0, 0, 128);

QFont crispFont(int pixels) {
  QFont font("Liberation Sans");
  font.setPixelSize(pixels);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// A label showing "I" (a solid bar) in red on navy, so each copy of the text is a rectangle.
struct BarLabel {
  TLabel3D label;
  BarLabel() {
    label.resize(60, 60);
    label.setFont(crispFont(40));
    label.setFontColor(colors::red);
    label.setColor(colors::navy);
    label.setCaption("I");
    label.setAlignment(Label::Alignment::Center);
    label.setTextLayout(Label::TextLayout::Center);
  }
};

QImage render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(kBackdrop);
  widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  return image;
}

// The bounding box of the pixels of exactly this colour.
QRect box(const QImage& image, const QColor& color) {
  QRect r;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == color) r |= QRect(x, y, 1, 1);
  return r;
}

// Rows [first, last] that hold any pixel other than the background colour.
std::pair<int, int> inkRows(const QImage& image, const QColor& background) {
  int first = -1, last = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) != background) {
        if (first < 0) first = y;
        last = y;
        break;
      }
  return {first, last};
}

TEST(Label3D, NewLabelHasTheDefaults) {
  TLabel3D label;
  EXPECT_EQ(label.bevel(), TLabel3DBevel::blRaised);
  EXPECT_EQ(label.highLightColor(), colors::btnHighlight);
  EXPECT_EQ(label.shadowColor(), colors::btnShadow);
  EXPECT_EQ(label.shadowSize(), 1);
  EXPECT_EQ(label.shadowNapr(), 1);
  EXPECT_FALSE(label.fillGradient());
  EXPECT_EQ(label.firstColor(), colors::white);
  EXPECT_EQ(label.lastColor(), colors::teal);
  EXPECT_EQ(label.gradientOrientation(), TGradientOrientation::goHorizontal);
  EXPECT_EQ(label.borderColor(), colors::black);
  EXPECT_EQ(label.borderWidth(), 1);
  EXPECT_EQ(label.borderStyle(), TLabel3DBorderStyle::lbNone);
  label.setShadowSize(300);
  EXPECT_EQ(label.shadowSize(), 255);
}

TEST(Label3D, DefaultBevelDrawsLightCopyUpLeftAndShadowDownRight) {
  BarLabel bar;
  const QImage image = render(bar.label);
  const QRect text = box(image, kRed);
  ASSERT_FALSE(text.isEmpty());
  const QRect light = box(image, kHighlight);
  const QRect dark = box(image, kShadow);
  EXPECT_EQ(light.topLeft(), text.topLeft() - QPoint(1, 1));
  EXPECT_EQ(dark.bottomRight(), text.bottomRight() + QPoint(1, 1));
  EXPECT_LE(light.right(), text.right() - 1);  // covered by the text on its right
}

TEST(Label3D, ShadowBevelDrawsOneCopyMovedByShadowSize) {
  BarLabel bar;
  bar.label.setBevel(TLabel3DBevel::blShadow);
  bar.label.setShadowColor(colors::black);
  bar.label.setShadowSize(2);
  const QImage image = render(bar.label);
  const QRect text = box(image, kRed);
  EXPECT_EQ(box(image, Qt::black), text.translated(2, 2));
  EXPECT_TRUE(box(image, kHighlight).isEmpty());
}

// The runs of pixels of exactly this colour in row y.
int runsInRow(const QImage& image, int y, const QColor& color) {
  int runs = 0;
  for (int x = 0; x < image.width(); ++x)
    if (image.pixelColor(x, y) == color && (x == 0 || image.pixelColor(x - 1, y) != color)) ++runs;
  return runs;
}

// A score label: "III" is too wide for it; asked to, it shrinks the text, shadow included,
// into the label instead of cutting a bar off.
TEST(Label3D, ShrinkToWidthFitsTheTextAndItsShadowIntoTheLabel) {
  for (const bool shrink : {false, true}) {
    BarLabel bar;
    // Two thirds of the text's width, whatever face stands in for the font.
    bar.label.resize(QFontMetrics(crispFont(40)).horizontalAdvance("III") * 2 / 3, 60);
    bar.label.setCaption("III");
    bar.label.setAlignment(Label::Alignment::RightJustify);
    bar.label.setBevel(TLabel3DBevel::blShadow);
    bar.label.setShadowColor(colors::black);
    bar.label.setShadowSize(2);
    bar.label.setShrinkToWidth(shrink);
    const QImage image = render(bar.label);
    const QRect text = box(image, kRed);
    EXPECT_EQ(runsInRow(image, text.center().y(), kRed) == 3, shrink) << shrink;
    if (shrink) EXPECT_EQ(box(image, Qt::black), text.translated(2, 2));
  }
}

TEST(Label3D, AllEightDirectionsOutlineTheText) {
  BarLabel bar;
  bar.label.setBevel(TLabel3DBevel::blShadow);
  bar.label.setShadowColor(colors::black);
  bar.label.setShadowNapr(255 | 0x100);  // bits above 7 are ignored
  const QImage image = render(bar.label);
  const QRect text = box(image, kRed);
  const QRect ring = text.adjusted(-1, -1, 1, 1);
  for (int x = ring.left(); x <= ring.right(); ++x)
    for (int y = ring.top(); y <= ring.bottom(); ++y)
      if (!text.contains(x, y)) {
        EXPECT_EQ(image.pixelColor(x, y), Qt::black) << x << "," << y;
      }
  EXPECT_EQ(box(image, Qt::black), ring);
}

TEST(Label3D, DisabledLabelKeepsShadowsAndDrawsGreyText) {
  BarLabel enabled, disabled;
  disabled.label.setEnabled(false);
  const QRect text = box(render(enabled.label), kRed);
  const QImage image = render(disabled.label);
  EXPECT_TRUE(box(image, kHighlight).isEmpty());
  EXPECT_TRUE(box(image, kRed).isEmpty());
  EXPECT_EQ(box(image, kGrayText), text);
  EXPECT_EQ(box(image, kShadow).bottomRight(), text.bottomRight() + QPoint(1, 1));
}

TEST(Label3D, GradientHasOneBandPerPixelWithIntegerColours) {
  TLabel3D label;
  label.resize(101, 10);
  label.setFillGradient(true);
  QImage image = render(label);
  struct Row {
    int column;
    QColor color;
  } rows[] = {{0, QColor(255, 255, 255)},
              {50, QColor(127, 191, 191)},
              {99, QColor(2, 129, 129)},
              {100, QColor(0, 128, 128)}};
  for (const Row& row : rows)
    for (int y : {0, 9}) EXPECT_EQ(image.pixelColor(row.column, y), row.color) << row.column;

  label.setGradientOrientation(TGradientOrientation::goVertical);
  label.setFirstColor(colors::green);
  label.setLastColor(colors::white);
  image = render(label);
  EXPECT_EQ(image.pixelColor(70, 0), QColor(0, 128, 0));
  EXPECT_EQ(image.pixelColor(70, 9), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(0, 4), QColor(113, 184, 113));  // 255 * 4 / 9, 128 + 127 * 4 / 9

  // A gradient one pixel across paints nothing, not even the plain background.
  label.resize(101, 1);
  image = render(label);
  EXPECT_EQ(box(image, kBackdrop), QRect(0, 0, 101, 1));
}

TEST(Label3D, InnerFrameDrawsFourRingsAroundASmallerTextArea) {
  TLabel3D label;
  label.resize(40, 30);
  label.setColor(colors::navy);
  label.setBorderStyle(TLabel3DBorderStyle::lbInn);
  label.setBorderWidth(2);
  const QImage image = render(label);
  struct Row {
    int x, y;
    QColor color;
  } rows[] = {
      // outer lowered rings: dark left and top, light right and bottom with both corners
      {0, 10, kShadow},
      {10, 0, kShadow},
      {1, 10, kShadow},
      {39, 10, kHighlight},
      {39, 0, kHighlight},
      {0, 29, kHighlight},
      {38, 1, kHighlight},
      {10, 28, kHighlight},
      // inner raised rings
      {2, 10, kHighlight},
      {10, 3, kHighlight},
      {37, 10, kShadow},
      {36, 3, kShadow},
      {3, 26, kShadow},
      {10, 27, kShadow},
      // the text area
      {4, 4, kNavy},
      {35, 25, kNavy},
  };
  for (const Row& row : rows)
    EXPECT_EQ(image.pixelColor(row.x, row.y), row.color) << row.x << "," << row.y;
  EXPECT_EQ(box(image, kNavy), QRect(4, 4, 32, 22));
}

TEST(Label3D, NormalFrameUsesBorderColourAndZeroWidthDrawsNone) {
  TLabel3D label;
  label.resize(20, 20);
  label.setColor(colors::navy);
  label.setBorderStyle(TLabel3DBorderStyle::lbNormal);
  label.setBorderColor(colors::red);
  EXPECT_EQ(box(render(label), kNavy), QRect(1, 1, 18, 18));
  EXPECT_EQ(render(label).pixelColor(19, 0), kRed);
  label.setBorderWidth(0);
  EXPECT_EQ(box(render(label), kNavy), QRect(0, 0, 20, 20));
}

TEST(Label3D, CentredLayoutBalancesTheTextAndLetsTallTextOverflowBothEdges) {
  TLabel3D label;
  label.setBevel(TLabel3DBevel::blNone);
  label.setFont(crispFont(14));
  label.setColor(colors::navy);
  label.setTextLayout(Label::TextLayout::Center);
  label.setCaption("H\nH\nH");
  const int lines = 3 * QFontMetrics(crispFont(14)).height();

  label.resize(40, lines + 30);
  auto [first, last] = inkRows(render(label), kNavy);
  EXPECT_NEAR(first, label.height() - 1 - last, 6);  // glyph placement within a line differs

  label.resize(40, lines - 12);
  std::tie(first, last) = inkRows(render(label), kNavy);
  EXPECT_EQ(first, 0);                  // the first line sticks out above
  EXPECT_EQ(last, label.height() - 1);  // and the last line is not cut off at the bottom

  label.setTextLayout(Label::TextLayout::Bottom);
  label.resize(40, lines + 30);
  std::tie(first, last) = inkRows(render(label), kNavy);
  EXPECT_GT(first, 30);
}

TEST(Label3D, OnlyPlainOrWrappingLabelsBreakWords) {
  const int lineHeight = QFontMetrics(crispFont(14)).height();
  struct Row {
    TLabel3DBevel bevel;
    bool wordWrap;
    bool breaks;
  } rows[] = {{TLabel3DBevel::blNone, false, true},
              {TLabel3DBevel::blRaised, false, false},
              {TLabel3DBevel::blRaised, true, true},
              {TLabel3DBevel::blShadow, false, false}};
  for (const Row& row : rows) {
    TLabel3D label;
    label.resize(40, 4 * lineHeight);
    label.setFont(crispFont(14));
    label.setColor(colors::navy);
    label.setBevel(row.bevel);
    label.setWordWrap(row.wordWrap);
    label.setCaption("Heim Gast");
    const auto [first, last] = inkRows(render(label), kNavy);
    EXPECT_EQ(last > lineHeight + 1, row.breaks) << int(row.bevel) << row.wordWrap;
  }
}

}  // namespace

// A new clock or penalty time repaints only the columns of the changed digits; what the window
// shows must still be the whole window drawn anew, for an opaque clock and for a transparent
// shadowed and framed penalty time over another label, in every alignment and layout.
TEST(Label3D, ChangedDigitsShowTheSameAsAFullRepaint) {
  QWidget window;
  window.resize(520, 360);
  window.setAutoFillBackground(true);
  window.setPalette(QPalette(Qt::black));
  Label clock(&window);
  clock.setGeometry(10, 10, 500, 130);
  Label band(&window);
  band.setGeometry(10, 150, 500, 140);
  TLabel3D penalty(&window);
  penalty.setGeometry(30, 170, 300, 100);
  penalty.setTransparent(true);
  penalty.setBevel(TLabel3DBevel::blShadow);
  penalty.setShadowSize(12);
  penalty.setBorderStyle(TLabel3DBorderStyle::lbNormal);
  penalty.setBorderWidth(3);
  // A console clock: glyphs small enough for Qt's own glyph cache, a raised bevel, no frame.
  TLabel3D small(&window);
  small.setGeometry(10, 300, 163, 54);
  QFont big("Liberation Sans");
  big.setPixelSize(110);
  big.setBold(true);
  for (Label* label : {&clock, &band, static_cast<Label*>(&penalty), static_cast<Label*>(&small)}) {
    QFont font = big;
    if (label == &small) font.setPixelSize(60);
    label->setFont(font);
    label->setFontColor(colors::yellow);
    label->setColor(colors::navy);
    label->setTextLayout(Label::TextLayout::Center);
  }
  band.setCaption("8 - 9");
  window.show();
  while (!window.windowHandle()->isExposed()) QCoreApplication::processEvents();
  const QStringList times = {"44:59", "44:58", "44:50", "43:59", "9:59", "10:00", "11:11"};
  for (const auto align :
       {Label::Alignment::Center, Label::Alignment::LeftJustify, Label::Alignment::RightJustify}) {
    // The vertical layouts go round with the alignments.
    const auto layout = Label::TextLayout(int(align));
    for (Label* label : {&clock, static_cast<Label*>(&penalty), static_cast<Label*>(&small)}) {
      label->setAlignment(align);
      label->setTextLayout(layout);
    }
    for (const QString& time : times) {
      clock.setCaption(time);
      small.setCaption(time);
      penalty.setCaption(time.right(4));
      QCoreApplication::processEvents();
      const QImage shown = window.screen()
                               ->grabWindow(window.winId())
                               .toImage()
                               .convertToFormat(QImage::Format_RGB32);
      // A change of colour there and back draws the penalty's picture whole.
      penalty.setFontColor(colors::red);
      penalty.setFontColor(colors::yellow);
      ASSERT_EQ(shown, window.grab().toImage().convertToFormat(QImage::Format_RGB32))
          << time.toStdString() << " alignment " << int(align) << " layout " << int(layout);
    }
  }
}

// A transparent label's copies and text blend with each other first and then, as one picture,
// with what lies under the label; blending each layer with the window in turn would round the
// soft edges where they overlap differently.
TEST(Label3D, TransparentLabelLaysItsLayersOverTheWindowAsOnePicture) {
  TLabel3D label;
  label.resize(220, 120);
  label.setTransparent(true);
  label.setBevel(TLabel3DBevel::blShadow);
  label.setShadowSize(2);
  label.setShadowColor(0x00204060);
  label.setFontColor(colors::yellow);
  QFont font("Liberation Sans");
  font.setPixelSize(90);
  label.setFont(font);
  label.setCaption("1:51");
  QImage layers(label.size(), QImage::Format_ARGB32_Premultiplied);
  layers.fill(Qt::transparent);
  label.render(&layers, QPoint(), QRegion(), QWidget::RenderFlags());
  QImage expected(label.size(), QImage::Format_RGB32);
  expected.fill(kNavy);
  QPainter(&expected).drawImage(0, 0, layers);
  QImage shown(label.size(), QImage::Format_RGB32);
  shown.fill(kNavy);
  label.render(&shown, QPoint(), QRegion(), QWidget::RenderFlags());
  EXPECT_EQ(shown, expected);
}
