#include "widgets/ovalbutton.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>

namespace {

TColor grey(int k) { return TColor(k) | TColor(k) << 8 | TColor(k) << 16; }

TEST(OvalButtonColors, HighlightHalfWayToWhiteShadowAtSixTenthsLightness) {
  struct Row {
    TColor face;
    TColor highlight;
    TColor shadow;
  } rows[] = {
      {grey(192), grey(223), grey(115)},  {grey(240), grey(247), grey(144)},
      {grey(0), grey(127), grey(0)},      {grey(255), grey(255), grey(153)},
      {grey(3), grey(129), grey(2)},      // 126.5 goes to the even 126
      {grey(1), grey(127), grey(1)},      // 127.5 goes to the even 128
      {colors::red, 0x7F7FFF, 0x000099},  // pure red keeps its hue: (153, 0, 0)
      {0x2070D0, 0x8FB7E7, 0x13437D},     // (208, 112, 32) -> (231, 183, 143) / (125, 67, 19)
      {colors::teal, 0xBFBF7F, 0x4D4D00},
  };
  for (const Row& row : rows) {
    const BevelColors c = makeBevelColors(row.face);
    EXPECT_EQ(c.highlight, row.highlight) << std::hex << row.face;
    EXPECT_EQ(c.shadow, row.shadow) << std::hex << row.face;
  }
}

TEST(OvalButtonGeometry, ArcPointsAndEllipticHitArea) {
  const BevelArcPoints small = bevelArcPoints(QSize(28, 28));
  EXPECT_EQ(small.a, QPoint(20, 5));
  EXPECT_EQ(small.b, QPoint(5, 20));
  const BevelArcPoints reset = bevelArcPoints(QSize(70, 29));
  EXPECT_EQ(reset.a, QPoint(56, 5));
  EXPECT_EQ(reset.b, QPoint(14, 20));

  TOvalButton button;
  EXPECT_EQ(button.size(), QSize(100, 50));
  button.resize(28, 28);
  EXPECT_TRUE(button.hitTest({14, 14}));
  EXPECT_TRUE(button.hitTest({1, 14}));
  for (QPoint corner : {QPoint(0, 0), QPoint(27, 0), QPoint(0, 27), QPoint(27, 27), QPoint(3, 3)})
    EXPECT_FALSE(button.hitTest(corner)) << corner.x() << "," << corner.y();
}

TEST(OvalButtonGeometry, PlacesGlyphAndCaptionByLayout) {
  using enum TButtonLayout;
  struct Row {
    TButtonLayout layout;
    int margin;
    bool sunken;
    QRect glyph;
    QPoint caption;
  } rows[] = {
      {blGlyphLeft, 0, false, {10, 12, 16, 16}, {30, 15}},
      {blGlyphLeft, 2, false, {8, 12, 16, 16}, {28, 15}},
      {blGlyphRight, 0, false, {34, 12, 16, 16}, {10, 15}},
      {blGlyphTop, 0, false, {22, 5, 16, 16}, {20, 25}},
      {blGlyphBottom, 0, false, {22, 19, 16, 16}, {20, 5}},
      {blGlyphLeft, 0, true, {11, 13, 16, 16}, {31, 16}},
  };
  for (const Row& row : rows) {
    const OvalPlacement p = placeOvalContents(
        {QSize(60, 40), QSize(20, 10), QSize(16, 16), true, row.layout, 4, row.margin, row.sunken});
    EXPECT_EQ(p.glyph, row.glyph) << int(row.layout) << row.margin << row.sunken;
    EXPECT_EQ(p.caption, row.caption) << int(row.layout) << row.margin << row.sunken;
  }
}

TEST(OvalButtonGeometry, CaptionAboveAnEmptyGlyphSitsHigher) {
  OvalContents in{QSize(28, 28), QSize(9, 18), QSize(0, 0), true, TButtonLayout::blGlyphBottom};
  EXPECT_EQ(placeOvalContents(in).caption.y(), 3);
  in.showGlyph = false;
  EXPECT_EQ(placeOvalContents(in).caption, QPoint(9, 5));
  // Wider than the button: the halving rounds down.
  in.caption = QSize(31, 18);
  EXPECT_EQ(placeOvalContents(in).caption.x(), -2);
}

TEST(OvalButtonText, AcceleratorAndCaptionLimit) {
  EXPECT_EQ(accelCharOf("&Play"), u'P');
  EXPECT_EQ(accelCharOf("Re&set"), u's');
  EXPECT_EQ(accelCharOf("a&&b"), u'&');
  EXPECT_TRUE(accelCharOf("Play&").isNull());
  EXPECT_TRUE(accelCharOf("Play").isNull());

  TOvalButton button;
  button.setCaption(QString(100, u'x'));
  EXPECT_EQ(button.caption().size(), TOvalButton::kMaxCaption);
}

TEST(OvalButtonGlyph, DesignedStripSetsImageCountAndTransparentColour) {
  EXPECT_EQ(TOvalButton::designGlyphCount({48, 16}), 3);
  EXPECT_EQ(TOvalButton::designGlyphCount({50, 16}), 1);
  EXPECT_EQ(TOvalButton::designGlyphCount({0, 0}), 1);

  QImage strip(48, 16, QImage::Format_RGB32);
  strip.fill(QColor(128, 128, 0));
  TOvalButton button;
  button.setGlyph(strip, true);
  EXPECT_EQ(button.numGlyphs(), 3);
  EXPECT_EQ(button.transparentColor(), TColor(0x008080));
  button.setGlyph(QImage(50, 16, QImage::Format_RGB32), true);
  EXPECT_EQ(button.numGlyphs(), 1);
  button.setNumGlyphs(9);
  EXPECT_EQ(button.numGlyphs(), 4);
}

// Sends mouse events as the platform would and records the button's signals.
struct Mouse {
  TOvalButton& button;
  int clicks = 0;
  int downs = 0;
  bool held = false;

  explicit Mouse(TOvalButton& b) : button(b) {
    QObject::connect(&button, &TOvalButton::clicked, [this] { ++clicks; });
    QObject::connect(&button, &TOvalButton::mouseDown, [this] { ++downs; });
  }

  void send(QEvent::Type type, QPoint pos) {
    const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    held = type == QEvent::MouseButtonPress || (held && type == QEvent::MouseMove);
    QMouseEvent e(type, QPointF(pos), QPointF(pos), changed, held ? Qt::LeftButton : Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &e);
  }
  void move(QPoint p) { send(QEvent::MouseMove, p); }
  void press(QPoint p) { send(QEvent::MouseButtonPress, p); }
  void release(QPoint p) { send(QEvent::MouseButtonRelease, p); }
  void clickAt(QPoint p) { move(p), press(p), release(p); }
};

struct SmallButton {
  TOvalButton button;
  SmallButton() {
    button.resize(28, 28);
    button.setColor(grey(192));
  }
};

TEST(OvalButtonMouse, PressOutsideTheEllipseDoesNothing) {
  SmallButton b;
  Mouse mouse{b.button};
  mouse.move({1, 1});
  mouse.press({1, 1});
  EXPECT_FALSE(b.button.down());
  EXPECT_EQ(b.button.bevelState(), 1);
  EXPECT_TRUE(b.button.mousePressed());
  mouse.release({1, 1});
  EXPECT_FALSE(b.button.mousePressed());
  EXPECT_EQ(mouse.clicks, 0);
  EXPECT_EQ(mouse.downs, 0);
}

TEST(OvalButtonMouse, PushButtonFollowsThePointerAndClicksOnlyInside) {
  SmallButton b;
  Mouse mouse{b.button};
  mouse.move({14, 14});
  mouse.press({14, 14});
  EXPECT_TRUE(b.button.down());
  EXPECT_EQ(b.button.bevelState(), -1);
  EXPECT_EQ(mouse.downs, 1);

  mouse.move({1, 1});  // out of the ellipse, still inside the rectangle
  EXPECT_FALSE(b.button.down());
  EXPECT_EQ(b.button.bevelState(), 1);
  mouse.move({14, 14});
  EXPECT_TRUE(b.button.down());
  mouse.move({27, 1});
  mouse.release({27, 1});
  EXPECT_FALSE(b.button.down());
  EXPECT_EQ(b.button.bevelState(), 1);
  EXPECT_EQ(mouse.clicks, 0);

  mouse.clickAt({14, 14});
  EXPECT_EQ(mouse.clicks, 1);
  EXPECT_FALSE(b.button.down());
  EXPECT_EQ(b.button.bevelState(), 1);
}

TEST(OvalButtonMouse, ToggleButtonFlipsOnEachClickAndStaysDownWhenReleasedOutside) {
  SmallButton b;
  b.button.setGroupIndex(2);
  Mouse mouse{b.button};
  mouse.clickAt({14, 14});
  EXPECT_TRUE(b.button.down());
  EXPECT_EQ(b.button.bevelState(), -1);
  mouse.clickAt({14, 14});
  EXPECT_FALSE(b.button.down());
  EXPECT_EQ(b.button.bevelState(), 1);
  EXPECT_EQ(mouse.clicks, 2);

  mouse.move({14, 14});
  mouse.press({14, 14});
  mouse.move({1, 1});
  mouse.release({1, 1});
  EXPECT_TRUE(b.button.down());
  EXPECT_EQ(mouse.clicks, 2);
}

TEST(OvalButtonMouse, ReleaseHandlingRunsAfterAClickHandlerThatFlipsDown) {
  SmallButton b;
  b.button.setGroupIndex(2);
  QObject::connect(&b.button, &TOvalButton::clicked, [&] { b.button.setDown(!b.button.down()); });
  Mouse mouse{b.button};
  mouse.clickAt({14, 14});
  EXPECT_TRUE(b.button.down());
  mouse.clickAt({14, 14});
  EXPECT_FALSE(b.button.down());
}

TEST(OvalButtonMouse, FlatButtonShowsItsBevelOnlyUnderThePointer) {
  SmallButton b;
  b.button.setFlat(true);
  EXPECT_EQ(b.button.bevelState(), 0);
  Mouse mouse{b.button};
  mouse.move({14, 14});
  EXPECT_EQ(b.button.bevelState(), 1);
  EXPECT_TRUE(b.button.mouseInside());
  mouse.move({1, 1});
  EXPECT_EQ(b.button.bevelState(), 0);
  EXPECT_FALSE(b.button.mouseInside());
  b.button.setDown(true);
  EXPECT_EQ(b.button.bevelState(), -1);
  b.button.setDown(false);
  EXPECT_EQ(b.button.bevelState(), 0);
  b.button.setFlat(false);
  EXPECT_EQ(b.button.bevelState(), 1);
}

QImage render(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_RGB32);
  image.fill(QColor(1, 2, 3));
  widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  return image;
}

// Counts pixels of one colour clearly above (upper) or below the anti-diagonal, away from the
// ends of the arcs.
int count(const QImage& image, const QColor& c, bool upper) {
  const int diagonal = image.width() - 3;
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == c && (upper ? x + y < diagonal - 3 : x + y > diagonal + 3)) ++n;
  return n;
}

TEST(OvalButtonPaint, BevelIsLightTopLeftWhenRaisedAndDarkWhenSunken) {
  SmallButton b;
  const QColor light(223, 223, 223), dark(115, 115, 115);
  QImage image = render(b.button);
  EXPECT_EQ(image.pixelColor(14, 14), QColor(192, 192, 192));
  EXPECT_EQ(image.pixelColor(0, 0), QColor(1, 2, 3));
  EXPECT_EQ(image.pixelColor(0, 13), Qt::black);
  EXPECT_GT(count(image, light, true), 10);
  EXPECT_GT(count(image, dark, false), 10);
  EXPECT_EQ(count(image, dark, true), 0);
  EXPECT_EQ(count(image, light, false), 0);

  b.button.setDown(true);
  image = render(b.button);
  EXPECT_GT(count(image, dark, true), 10);
  EXPECT_GT(count(image, light, false), 10);
  EXPECT_EQ(count(image, light, true), 0);
}

TEST(OvalButtonPaint, GlyphImageFollowsTheState) {
  const QColor olive(128, 128, 0);
  QImage strip(48, 16, QImage::Format_RGB32);
  const QColor images[] = {Qt::red, Qt::green, Qt::blue};
  for (int i = 0; i < 3; ++i) {
    for (int x = 0; x < 16; ++x)
      for (int y = 0; y < 16; ++y) strip.setPixelColor(16 * i + x, y, x < 2 ? olive : images[i]);
  }
  SmallButton b;
  b.button.setGlyph(strip);
  b.button.setNumGlyphs(3);
  // The glyph stands at (6, 6); its two olive columns show the face instead.
  QImage image = render(b.button);
  EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(21, 21), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(7, 10), QColor(192, 192, 192));

  b.button.setEnabled(false);
  EXPECT_EQ(render(b.button).pixelColor(10, 10), QColor(Qt::green));

  b.button.setDown(true);  // the down image wins over the disabled one, one pixel lower right
  image = render(b.button);
  EXPECT_EQ(image.pixelColor(22, 22), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(6, 10), QColor(192, 192, 192));

  b.button.setNumGlyphs(0);
  EXPECT_EQ(render(b.button).pixelColor(20, 20), QColor(192, 192, 192));
}

}  // namespace

// What the window shows now, read back from the offscreen platform.
QImage onScreen(QWidget& window, const QRect& area) {
  return window.screen()
      ->grabWindow(window.winId())
      .toImage()
      .copy(area)
      .convertToFormat(QImage::Format_RGB32);
}

// Only the ellipse: the corners show the parent.
QImage insideEllipse(QImage image, const TOvalButton& button) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (!button.hitTest({x, y})) image.setPixelColor(x, y, QColor(1, 2, 3));
  return image;
}

TEST(OvalButtonPaint, PressAndReleaseRedrawOnlyTheContentsAndMatchAFullPaint) {
  QWidget window;
  window.resize(80, 80);
  window.setPalette(QPalette(QColor(1, 2, 3)));
  window.setAutoFillBackground(true);
  TOvalButton button(&window);
  button.setGeometry(10, 10, 57, 57);
  button.setColor(grey(192));
  // A face whose ink reaches past its advance box on the left.
  QFont mono("Liberation Mono");
  mono.setPixelSize(12);
  button.setFont(mono);
  button.setCaption("Play");
  QImage strip(32, 16, QImage::Format_RGB32);
  strip.fill(Qt::red);
  button.setGlyph(strip);
  button.setNumGlyphs(2);
  window.show();
  QCoreApplication::processEvents();

  int paints = 0;
  struct Counter : QObject {
    int& n;
    explicit Counter(int& count) : n(count) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++n;
      return false;
    }
  } counter(paints);
  window.installEventFilter(&counter);

  Mouse mouse{button};
  mouse.move({28, 28});
  mouse.press({28, 28});
  const QRect area = button.geometry();
  EXPECT_EQ(insideEllipse(onScreen(window, area), button), insideEllipse(render(button), button));
  mouse.release({28, 28});
  EXPECT_EQ(insideEllipse(onScreen(window, area), button), insideEllipse(render(button), button));
  EXPECT_EQ(paints, 0);  // the parent was not repainted underneath
}
