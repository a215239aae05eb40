#include "ticker/runstring.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QStringList>
#include <QWindow>

namespace {

// A strip driven only by tick(), recording its events in order.
struct DrivenStrip {
  DrivenStrip() {
    strip.setExternalTicks(true);
    QObject::connect(&strip, &TRunString::OnBegin, [this] { events << "begin"; });
    QObject::connect(&strip, &TRunString::OnStep, [this] { events << "step"; });
    QObject::connect(&strip, &TRunString::OnEnd, [this] {
      events << "end";
      positionAtEnd = strip.Position();
      timerAtEnd = strip.timerEnabled();
    });
  }
  int ticksUntilEnd(int limit = 100000) {
    for (int n = 1; n <= limit; ++n) {
      const qsizetype before = events.count("end");
      strip.tick();
      if (events.count("end") > before) return n;
    }
    return -1;
  }
  TRunLabel strip;
  QStringList events;
  int positionAtEnd = -1;
  bool timerAtEnd = true;
};

int textWidth(const TRunString& s, const QString& text) {
  return QFontMetrics(s.RFont().font, &s).horizontalAdvance(text);
}

}  // namespace

TEST(RunArithmetic, NearestRoundsHalvesToEven) {
  const struct {
    double v;
    int expected;
  } rows[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},
              {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}};
  for (const auto& r : rows) EXPECT_EQ(nearestEven(r.v), r.expected) << r.v;
}

TEST(RunArithmetic, BoxWiderThanControlIsNotCentredNegatively) {
  EXPECT_EQ(centerOffset(192, 101), 45);  // 91 / 2 toward zero
  EXPECT_EQ(centerOffset(192, 192), 0);
  EXPECT_EQ(centerOffset(192, 300), 0);
  const RunMetrics m = runMetrics(QSize(400, 30), 1, QSize(192, 20));
  EXPECT_EQ(m.TextBoxWidth, 402);
  EXPECT_EQ(m.TextBoxHeight, 32);
  EXPECT_EQ(m.CenterX, 0);
  EXPECT_EQ(m.CenterY, 0);
}

TEST(RunArithmetic, PositionForEveryDirection) {
  // A 100-pixel text with depth 1 in the constructor's 192 x 20 control: box 102 x 14.
  const QSize control(192, 20);
  const RunMetrics m = runMetrics(QSize(100, 12), 1, control);
  ASSERT_EQ(m.CenterX, 45);
  ASSERT_EQ(m.CenterY, 3);
  const struct {
    TRDirection d;
    double f;
    QPoint expected;
  } rows[] = {
      {TRDirection::rdRightToLeft, 0.0, {192, 3}},   // left edge at the right border
      {TRDirection::rdRightToLeft, 1.0, {-102, 3}},  // right edge at the left border
      {TRDirection::rdRightToLeft, 0.5, {45, 3}},
      {TRDirection::rdLeftToRight, 0.0, {-102, 3}},
      {TRDirection::rdLeftToRight, 1.0, {192, 3}},
      {TRDirection::rdTopToBottom, 0.0, {45, 20}},  // starts below the bottom, moves up
      {TRDirection::rdTopToBottom, 1.0, {45, -14}},
      {TRDirection::rdBottomToTop, 0.0, {45, -14}},  // starts above the top, moves down
      {TRDirection::rdBottomToTop, 1.0, {45, 20}},
      {TRDirection::rdStatic, 0.3, {45, 3}},
      {TRDirection::rdRightToLeft, 1.0 / 588, {192, 3}},  // 293.5 rounds to the even 294
      {TRDirection::rdRightToLeft, 3.0 / 588, {190, 3}},  // 292.5 rounds to 292
  };
  for (const auto& r : rows)
    EXPECT_EQ(runTextPosition(r.d, r.f, m, control), r.expected) << int(r.d) << " f=" << r.f;
  EXPECT_EQ(runFraction(147, 294), 0.5);
  EXPECT_EQ(runFraction(5, 0), 0.0);
}

TEST(RunString, ConstructorValues) {
  TRunString s;
  EXPECT_EQ(s.size(), QSize(192, 20));
  EXPECT_EQ(s.LabelStyle(), TRLabelStyle::rlRaised);
  EXPECT_EQ(s.Direction(), TRDirection::rdRightToLeft);
  EXPECT_EQ(s.RText(), "Running label");
  EXPECT_EQ(s.OneStep(), 1);
  EXPECT_EQ(s.Steps(), 192);
  EXPECT_EQ(s.Speed(), 10);
  EXPECT_EQ(s.timerInterval(), 10);
  EXPECT_EQ(s.Color(), 0u);
  EXPECT_EQ(s.ColorH(), 0x00FF0000u);
  EXPECT_EQ(s.ColorS(), 0x00FF0000u);
  EXPECT_EQ(s.RFont().font.family(), "System");
  EXPECT_EQ(s.RFont().font.pointSize(), 10);
  EXPECT_EQ(s.RFont().color, 0x00FFFFFFu);
  EXPECT_EQ(s.Depth(), 1);
  EXPECT_EQ(s.StepToView(), 96);
  EXPECT_TRUE(s.AutoRewind());
  EXPECT_EQ(s.Position(), 0);
  EXPECT_FALSE(s.timerEnabled());
  EXPECT_TRUE(s.testAttribute(Qt::WA_OpaquePaintEvent));  // it paints every pixel itself
}

TEST(RunString, StepsFollowTheTextWidth) {
  TRunString s;
  s.setRText("Hallo Halle");
  EXPECT_EQ(s.Steps(), textWidth(s, "Hallo Halle") + 2 + 192);
  s.setDepth(3);
  EXPECT_EQ(s.Steps(), textWidth(s, "Hallo Halle") + 6 + 192);
  // An empty text leaves a box of twice the depth.
  s.setRText("");
  EXPECT_EQ(s.Steps(), 6 + 192);
}

TEST(RunString, SameTextKeepsStepsAfterResize) {
  TRunString s;
  s.setRText("Tor!");
  const int before = s.Steps();
  s.resize(500, 20);
  s.setRText("Tor!");
  EXPECT_EQ(s.Steps(), before);
  s.setRText("tor!");  // compared case-sensitively
  EXPECT_EQ(s.Steps(), textWidth(s, "tor!") + 2 + 500);
}

TEST(RunString, SettersClampAndReplaceZero) {
  TRunString s;
  s.setSpeed(5000);
  EXPECT_EQ(s.Speed(), 1000);
  EXPECT_EQ(s.timerInterval(), 1000);
  s.setSpeed(-3);
  EXPECT_EQ(s.Speed(), 1);
  EXPECT_EQ(s.timerInterval(), 1);
  s.setOneStep(0);
  EXPECT_EQ(s.OneStep(), 1);
  s.setOneStep(4);
  EXPECT_EQ(s.OneStep(), 4);
  s.setSteps(0);
  EXPECT_EQ(s.Steps(), 1);
}

TEST(RunString, StepToViewOnlyInDesignModeAndInRange) {
  TRunString s;
  s.setSteps(300);
  s.setStepToView(10);
  EXPECT_EQ(s.StepToView(), 96);
  s.setDesignMode(true);
  s.setSteps(301);
  EXPECT_EQ(s.StepToView(), 150);
  s.setStepToView(10);
  EXPECT_EQ(s.StepToView(), 10);
  const int steps = s.Steps();  // the setter recomputed them from the text
  s.setStepToView(steps + 1);
  s.setStepToView(-1);
  EXPECT_EQ(s.StepToView(), 10);
}

TEST(RunString, StartOutOfRangeKeepsPosition) {
  DrivenStrip d;
  d.strip.setSteps(100);
  d.strip.Start(7);
  EXPECT_EQ(d.strip.Position(), 7);
  d.strip.Start(-1);
  EXPECT_EQ(d.strip.Position(), 7);
  d.strip.Start(101);
  EXPECT_EQ(d.strip.Position(), 7);
  EXPECT_TRUE(d.strip.timerEnabled());
  d.strip.Start(100);
  EXPECT_EQ(d.strip.Position(), 100);
  EXPECT_EQ(d.strip.Stop(), 100);
  EXPECT_FALSE(d.strip.timerEnabled());
  EXPECT_EQ(d.strip.Position(), 100);
}

TEST(RunString, TickOrderAndPassEnd) {
  DrivenStrip d;
  d.strip.setSteps(100);
  d.strip.setOneStep(3);
  d.strip.Start(0);
  d.strip.tick();
  EXPECT_EQ(d.events, QStringList({"begin", "step"}));
  EXPECT_EQ(d.strip.Position(), 3);
  // The end comes on the tick from 99 to 102, before the position is reset.
  EXPECT_EQ(d.ticksUntilEnd(), 33);
  EXPECT_EQ(d.positionAtEnd, 102);
  EXPECT_EQ(d.strip.Position(), 0);
  EXPECT_TRUE(d.timerAtEnd);
  EXPECT_EQ(d.events.mid(d.events.size() - 2), QStringList({"step", "end"}));
  d.events.clear();
  d.strip.tick();
  EXPECT_EQ(d.events, QStringList({"begin", "step"}));
}

TEST(RunString, WithoutAutoRewindTheTimerStopsBeforeTheEndEvent) {
  DrivenStrip d;
  d.strip.setAutoRewind(false);
  d.strip.setSteps(10);
  d.strip.setOneStep(5);
  d.strip.Start(0);
  EXPECT_EQ(d.ticksUntilEnd(), 2);
  EXPECT_FALSE(d.timerAtEnd);
  // A tick that was already queued is ignored.
  d.events.clear();
  d.strip.tick();
  EXPECT_TRUE(d.events.isEmpty());
  EXPECT_EQ(d.strip.Position(), 0);
}

TEST(RunString, EmptyTextPassLastsBoxPlusWidthTicks) {
  DrivenStrip d;
  d.strip.setRText("");
  d.strip.setOneStep(3);
  d.strip.Start(0);
  EXPECT_EQ(d.ticksUntilEnd(), (194 + 2) / 3);  // 194 steps, 65 ticks rounded up
  EXPECT_EQ(d.events.count("begin"), 1);
}

TEST(RunString, EndHandlerMayStopOrChangeTheText) {
  DrivenStrip d;
  d.strip.setSteps(4);
  QObject::connect(&d.strip, &TRunString::OnEnd, [&] {
    d.strip.setRText("Nächster Text");
    d.strip.Stop();
  });
  d.strip.Start(0);
  EXPECT_EQ(d.ticksUntilEnd(), 4);
  EXPECT_FALSE(d.strip.timerEnabled());
  EXPECT_EQ(d.strip.Steps(), textWidth(d.strip, "Nächster Text") + 2 + 192);
}

TEST(RunString, RaisedStyleDrawsBothLayersAroundTheText) {
  TRunString s;
  s.resize(200, 60);
  s.setRFont({QFont("Liberation Sans", 28, QFont::Bold), colors::white});
  s.setDirection(TRDirection::rdStatic);
  s.setColorH(colors::red);
  s.setColorS(colors::lime);
  s.setDepth(2);
  s.setRText("HH");
  const auto colours = [&] {
    const QImage img = s.grab().toImage();
    QSet<QRgb> seen;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) seen.insert(img.pixel(x, y) & 0xFFFFFF);
    return seen;
  };
  QSet<QRgb> seen = colours();
  EXPECT_TRUE(seen.contains(0xFF0000));  // highlight, upper left
  EXPECT_TRUE(seen.contains(0x00FF00));  // shadow, lower right
  EXPECT_TRUE(seen.contains(0xFFFFFF));
  s.setLabelStyle(TRLabelStyle::rlNormal);
  seen = colours();
  EXPECT_FALSE(seen.contains(0xFF0000));
  EXPECT_FALSE(seen.contains(0x00FF00));
  EXPECT_TRUE(seen.contains(0xFFFFFF));
}

TEST(RunString, FrozenAtTheWidthStepShowsTheTextAtTheLeftBorder) {
  TRunString s;
  s.resize(300, 40);
  s.setColor(colors::navy);
  s.setRFont({QFont("Liberation Sans", 16, QFont::Bold), colors::yellow});
  s.setLabelStyle(TRLabelStyle::rlNormal);
  s.setRText("IIII");
  s.Start(s.width());
  s.Stop();
  const QImage img = s.grab().toImage();
  QRect ink;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) != 0x000080) ink |= QRect(x, y, 1, 1);
  // The box starts at 0 and the main text one depth inside it, centred vertically.
  const RunMetrics m = s.metrics();
  EXPECT_GE(ink.left(), 1);
  EXPECT_LE(ink.left(), 5);
  EXPECT_GE(ink.top(), m.CenterY + 1);
  EXPECT_LE(ink.bottom(), m.CenterY + m.TextBoxHeight - 1);
  EXPECT_LE(ink.right(), m.TextBoxWidth);
}

TEST(RunString, LongTextDrawsTheSameAsInOnePiece) {
  TRunString s;
  s.resize(400, 50);
  s.setColor(colors::navy);
  s.setColorH(colors::red);
  s.setColorS(colors::lime);
  s.setRFont({QFont("Liberation Sans", 24, QFont::Bold), colors::yellow});
  s.setRText(QString("Sponsor des Tages: Bäckerei Müller, Hauptstraße 7. ").repeated(6));
  ASSERT_GT(s.metrics().TextBoxWidth, 3000);  // spans several cached tiles
  for (const int step : {0, 700, 1400, 2300, s.Steps()}) {
    s.Start(step);
    s.Stop();
    QImage expected(s.size(), QImage::Format_RGB32);
    expected.fill(toQColor(s.Color()));
    {
      QPainter p(&expected);
      s.DrawRunText(
          p, runTextPosition(s.Direction(), runFraction(step, s.Steps()), s.metrics(), s.size()),
          s.RText());
    }
    EXPECT_EQ(s.grab().toImage().convertToFormat(QImage::Format_RGB32), expected)
        << "step " << step;
  }
}

// Ticks repaint only where the text's ink was or is; what the window shows must still be the
// whole strip drawn at the new position, while the text enters, crosses and leaves.
TEST(RunString, TicksShowTheSamePictureAsAFullRepaint) {
  const struct {
    TRDirection direction;
    int oneStep;
  } rows[] = {{TRDirection::rdRightToLeft, 3},
              {TRDirection::rdLeftToRight, 1},
              {TRDirection::rdTopToBottom, 2}};
  for (const auto& r : rows) {
    QWidget window;
    window.resize(420, 80);
    TRunLabel strip(&window);
    strip.setGeometry(10, 10, 400, 50);
    strip.setExternalTicks(true);
    strip.setColor(colors::navy);
    strip.setColorH(colors::red);
    strip.setColorS(colors::lime);
    strip.setDepth(2);
    strip.setRFont({QFont("Liberation Sans", 24, QFont::Bold), colors::yellow});
    strip.setRText(QString("Tor für Gäste: 1:0. ").repeated(4));  // spans two tiles
    strip.setDirection(r.direction);
    strip.setOneStep(r.oneStep);
    window.show();
    while (!window.windowHandle()->isExposed()) QCoreApplication::processEvents();
    strip.Start(0);
    for (int n = 1; strip.timerEnabled() && strip.Position() + r.oneStep < strip.Steps(); ++n) {
      strip.tick();
      if (n % 37 != 0) continue;
      const QImage shown = window.screen()
                               ->grabWindow(window.winId(), 10, 10, 400, 50)
                               .toImage()
                               .convertToFormat(QImage::Format_RGB32);
      ASSERT_EQ(shown, strip.grab().toImage().convertToFormat(QImage::Format_RGB32))
          << "direction " << int(r.direction) << " position " << strip.Position();
    }
  }
}
