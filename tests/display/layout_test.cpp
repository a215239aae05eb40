#include "display/layout.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

namespace {

QFont arialBold() {
  QFont f("Arial");
  f.setBold(true);
  return f;
}

LayoutInput input(int w, int h, int view, int outerHeight = -1) {
  LayoutInput in;
  in.width = w;
  in.height = h;
  in.outerWidth = w;
  in.outerHeight = outerHeight < 0 ? h : outerHeight;
  in.view = view;
  in.ppi = 96;
  in.title = {"TITEL", arialBold()};
  in.names = {"HEIM - GAST", arialBold()};
  in.score = {"0 - 0", arialBold()};
  in.date = {"31.12.2010", arialBold()};
  return in;
}

struct RectRow {
  const char* element;
  QRect actual;
  QRect expected;
};

void expectRects(const std::vector<RectRow>& rows) {
  for (const RectRow& row : rows) EXPECT_EQ(row.actual, row.expected) << row.element;
}

// The loop the fitting follows, one point at a time; FitFont must find the same size.
int fitOnePointAtATime(const QString& text, QSize size, const QFont& font, int ppi,
                       bool fitHeight) {
  auto metrics = [&](int s) { return QFontMetrics(fontWithPointSize(font, s, ppi)); };
  int s = std::max(pixelsToPoints(size.height(), ppi), 1);
  while (s > 1 && metrics(s).horizontalAdvance(text) >= size.width()) --s;
  while (fitHeight && s > 1 && metrics(s).height() >= size.height()) --s;
  return s;
}

}  // namespace

TEST(Layout, BorderlessView0At1024x768) {
  const TabloLayout l = layoutTablo(input(1024, 768, 0));
  ASSERT_TRUE(l.bands.has_value());
  const Bands& b = *l.bands;
  // The title takes the room left of the date.
  const int titleWidth = 1024 - l.labelData.width();
  expectRects({
      {"frame", l.frame, QRect(768, 709, 256, 59)},
      {"Label1", l.label1, QRect(0, 0, titleWidth, 153)},
      {"Label2", b.label2, QRect(310, 153, 404, 153)},
      {"Label3", b.label3, QRect(0, 306, 1024, 153)},
      {"Label4", b.label4, QRect(0, 459, 1024, 250)},
      {"Label5", b.label5, QRect(449, 459, 125, 250)},
      {"Image1", b.image1, QRect(0, 0, titleWidth, 153)},
      {"Logo1", b.logo1, QRect(0, 153, 310, 153)},
      {"Logo2", b.logo2, QRect(714, 153, 310, 153)},
      {"LabelLogo1", b.labelLogo1, QRect(0, 153, 310, 153)},
      {"LabelLogo2", b.labelLogo2, QRect(714, 153, 310, 153)},
      {"RunLabel", l.runLabel, QRect(0, 709, 768, 60)},
      {"LabelStraf1a", l.straf1a, QRect(0, 459, 170, 125)},
      {"LabelStraf1b", l.straf1b, QRect(0, 584, 170, 125)},
      {"LabelStraf2a", l.straf2a, QRect(854, 459, 170, 125)},
      {"LabelStraf2b", l.straf2b, QRect(854, 584, 170, 125)},
      {"PanelPause", l.panelPause, QRect(449, 459, 125, 250)},
      {"PanelPauseRed", l.panelPauseRed, QRect(0, 62, 125, 125)},
      {"PanelLogo", l.panelLogo, QRect(0, 0, 1024, 768)},
  });
  EXPECT_EQ(b.clockCharHeight, 145);
  EXPECT_EQ(b.logoTextPoints, 38);
  EXPECT_EQ(l.runPoints, 38);
  EXPECT_EQ(l.penaltyPoints, 56);
  EXPECT_EQ(l.datePoints, 51);
  EXPECT_EQ(l.basePoints, 76);
  EXPECT_EQ(l.periodPoints, l.scorePoints / 3);
  EXPECT_TRUE(l.namesVisible);
  EXPECT_TRUE(l.penaltiesVisible);
  EXPECT_EQ(l.caption, "1024x768");
}

TEST(Layout, BorderlessView3At1024x768) {
  const TabloLayout l = layoutTablo(input(1024, 768, 3));
  ASSERT_TRUE(l.bands.has_value());
  const Bands& b = *l.bands;
  EXPECT_EQ(b.rowUnit, 128);
  expectRects({
      {"Label3", b.label3, QRect(0, 153, 1024, 85)},
      {"Label2", b.label2, QRect(310, 238, 404, 320)},
      {"Label4", b.label4, QRect(0, 558, 1024, 151)},
      {"Label5", b.label5, QRect(474, 558, 75, 151)},
      {"Logo1", b.logo1, QRect(0, 238, 310, 320)},
      {"frame", l.frame, QRect(768, 709, 256, 59)},
  });
  EXPECT_EQ(b.clockCharHeight, 123);
  EXPECT_EQ(b.logoTextPoints, 32);
  EXPECT_FALSE(l.penaltiesVisible);
  EXPECT_TRUE(l.namesVisible);
}

TEST(Layout, View2HidesNamesButKeepsTheirBand) {
  const TabloLayout l = layoutTablo(input(1024, 768, 2));
  ASSERT_TRUE(l.bands.has_value());
  EXPECT_FALSE(l.namesVisible);
  EXPECT_FALSE(l.penaltiesVisible);
  EXPECT_EQ(l.bands->label3, QRect(0, 153, 1024, 128));
  EXPECT_EQ(l.bands->label2, QRect(310, 281, 404, 192));
  EXPECT_EQ(l.bands->label4, QRect(0, 473, 1024, 236));
}

TEST(Layout, OutOfRangeViewKeepsBandsAndUsesCurrentScoreBounds) {
  LayoutInput in = input(800, 600, 7);
  in.score0 = QRect(0, 459, 1024, 250);
  in.period0 = QRect(449, 459, 125, 250);
  const TabloLayout l = layoutTablo(in);
  EXPECT_FALSE(l.bands.has_value());
  EXPECT_TRUE(l.namesVisible);
  EXPECT_FALSE(l.penaltiesVisible);
  expectRects({
      {"Label1", l.label1, QRect(0, 0, 800 - l.labelData.width(), 120)},
      {"frame", l.frame, QRect(600, 554, 200, 46)},
      {"LabelStraf1a", l.straf1a, QRect(0, 459, 133, 125)},
      {"LabelStraf2b", l.straf2b, QRect(667, 584, 133, 125)},
      {"PanelPause", l.panelPause, QRect(449, 459, 125, 250)},
  });
  EXPECT_EQ(l.scorePoints, FitFont("0 - 0", QSize(1024, 250), arialBold(), 96));
}

// A long title shrinks into the room the date leaves; its text ends before the date begins.
TEST(Layout, TheTitleKeepsClearOfTheDate) {
  struct Row {
    int width, height, view;
  };
  for (const Row& r : {Row{1024, 768, 0}, Row{1920, 1080, 3}, Row{640, 480, 1}, Row{400, 300, 2}}) {
    LayoutInput in = input(r.width, r.height, r.view);
    in.title.text = "Großer Preis der Stadtwerke Süd 2026";
    const TabloLayout l = layoutTablo(in);
    const QFontMetrics title(fontWithPointSize(in.title.font, l.titlePoints, 96));
    const int textRight = (l.label1.width() + title.horizontalAdvance(in.title.text)) / 2;
    EXPECT_LE(textRight, l.labelData.x()) << r.width << "x" << r.height << " view " << r.view;
    EXPECT_LE(l.bands->image1.right(), l.labelData.x()) << r.width << "x" << r.height;
  }
}

TEST(Layout, WindowModeTakesTheFrameHeightFromTheOuterHeight) {
  const TabloLayout l = layoutTablo(input(1024, 768, 0, 800));
  EXPECT_EQ(l.frame, QRect(768, 707, 256, 61));
  EXPECT_EQ(l.runPoints, 40);
  EXPECT_EQ(l.bands->label4, QRect(0, 459, 1024, 248));
  EXPECT_EQ(l.panelLogo, QRect(0, 0, 1024, 800));
}

// A frame reported while the window manager is still framing the window (none, negative, or
// the monitor's size) does not make the least size larger than 320 × 240.
TEST(Layout, LeastClientSizeCountsOnlyAPlausibleFrame) {
  struct Row {
    const char* name;
    QSize frame, least;
  };
  const QSize monitor(1920, 1080);
  for (const Row& r :
       {Row{"framed", {2, 32}, {318, 208}}, Row{"no frame yet", {0, 0}, {320, 240}},
        Row{"negative", {-1919, -1079}, {320, 240}}, Row{"half negative", {4, -30}, {320, 240}},
        Row{"larger than a quarter of the monitor", {600, 30}, {320, 240}}})
    EXPECT_EQ(leastClientSize(r.frame, monitor), r.least) << r.name;
}

TEST(Layout, ProductsRoundHalvesToEven) {
  struct Row {
    int height, clockCharHeight;
  };
  // Row units 10 (9.5), 30 (28.5) and 50 (47.5) give exact halves for u × 0.95.
  for (const Row& row : {Row{50, 10}, Row{150, 28}, Row{250, 48}, Row{768, 145}}) {
    const TabloLayout l = layoutTablo(input(400, row.height, 0));
    EXPECT_EQ(l.bands->clockCharHeight, row.clockCharHeight) << row.height;
  }
  // Score height 60 gives penalty height 30: 13.5 points become 14; 50 gives 25 -> 11.25.
  LayoutInput in = input(400, 300, 7);
  for (auto [scoreHeight, points] : {std::pair{60, 14}, std::pair{20, 4}, std::pair{50, 11}}) {
    in.score0 = QRect(0, 0, 400, scoreHeight);
    EXPECT_EQ(layoutTablo(in).penaltyPoints, points) << scoreHeight;
  }
}

TEST(Layout, PointPixelConversionRoundsHalvesAwayFromZero) {
  struct Row {
    int points, ppi, pixels;
  };
  for (const Row& r : {Row{38, 96, 51}, Row{56, 96, 75}, Row{3, 60, 3}, Row{1, 36, 1},
                       Row{10, 120, 17}, Row{-3, 60, -3}, Row{0, 96, 0}}) {
    EXPECT_EQ(pointsToPixels(r.points, r.ppi), r.pixels) << r.points << " at " << r.ppi;
  }
  for (const Row& r :
       {Row{38, 96, 51}, Row{109, 96, 145}, Row{2, 96, 2}, Row{2, 96, 3}, Row{5, 144, 9}}) {
    EXPECT_EQ(pixelsToPoints(r.pixels, r.ppi), r.points) << r.pixels << " at " << r.ppi;
  }
}

TEST(Layout, FitFontMatchesTheOnePointLoop) {
  struct Row {
    const char* text;
    QSize size;
    int ppi;
  };
  const Row rows[] = {
      {"TITEL", {1024, 153}, 96},
      {"HEIM - GAST", {1024, 153}, 96},
      {"0 - 0", {1024, 250}, 96},
      {"10 - 9", {320, 250}, 96},
      {"SCOR", {84, 59}, 96},
      {"SPIELTITEL MIT LANGEM NAMEN", {3840, 432}, 96},
      {"W", {5, 400}, 96},
      {"", {100, 40}, 96},
      {"HEIM - GAST", {1920, 216}, 144},
      {"x", {0, 0}, 96},
  };
  for (const Row& r : rows) {
    for (bool fitHeight : {true, false}) {
      EXPECT_EQ(FitFont(r.text, r.size, arialBold(), r.ppi, fitHeight),
                fitOnePointAtATime(r.text, r.size, arialBold(), r.ppi, fitHeight))
          << r.text << " in " << r.size.width() << "x" << r.size.height();
    }
  }
}

TEST(Layout, FitFontStopsAtOnePointForATextThatNeverFits) {
  const QString endless(400, u'W');
  EXPECT_EQ(FitFont(endless, QSize(10, 300), arialBold(), 96), 1);
  EXPECT_EQ(FitFont("0 - 0", QSize(1024, 1), arialBold(), 96), 1);
}

TEST(Layout, MarkFrameSplitsIntoThirtyThreeAndTwentyThreePercent) {
  const MarkLayout m = layoutMark(QSize(256, 59), {"SCOR", arialBold()}, 96);
  EXPECT_EQ(m.left, QRect(0, 0, 84, 59));
  EXPECT_EQ(m.middle, QRect(84, 0, 114, 59));
  EXPECT_EQ(m.right, QRect(198, 0, 58, 59));
  EXPECT_EQ(m.pointSize, FitFont("SCOR", QSize(84, 59), arialBold(), 96, false));
}

TEST(Layout, AcceleratorPrefixesAreRemovedFromTheMeasuredText) {
  struct Row {
    const char* caption;
    const char* drawn;
  };
  for (const Row& r : {Row{"HEIM & GAST", "HEIM  GAST"}, Row{"HEIM && GAST", "HEIM & GAST"},
                       Row{"&Titel", "Titel"}, Row{"Ende&", "Ende"}, Row{"&&&x", "&x"}}) {
    EXPECT_EQ(textWithoutAccelerators(r.caption), r.drawn) << r.caption;
  }
}
