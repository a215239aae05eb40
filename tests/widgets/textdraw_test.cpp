#include "widgets/textdraw.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>

namespace {

QFont testFont() {
  QFont font("Liberation Sans");
  font.setPixelSize(20);
  return font;
}

struct Canvas {
  QImage image{200, 100, QImage::Format_RGB32};
  Canvas() { image.fill(Qt::white); }

  QRect draw(const QString& text, const QRect& rect, unsigned flags) {
    QPainter painter(&image);
    painter.setFont(testFont());
    painter.setPen(Qt::black);
    return textdraw::drawText(painter, text, rect, flags);
  }

  // The horizontal span of non-white pixels in rows [top, bottom); empty when none.
  std::pair<int, int> inkColumns(int top = 0, int bottom = 100) const {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
      for (int y = top; y < bottom; ++y)
        if (image.pixel(x, y) != qRgb(255, 255, 255)) {
          if (first < 0) first = x;
          last = x;
          break;
        }
    return {first, last};
  }
};

TEST(TextDraw, MeasuresPrefixesAsShown) {
  const QFontMetrics fm(testFont());
  const QRect box(10, 20, 500, 100);
  struct Row {
    QString text;
    unsigned flags;
    QString shown;
  } rows[] = {
      {"&File", 0, "File"},
      {"Save && Exit", 0, "Save & Exit"},
      {"&File", textdraw::NoPrefix, "&File"},
      {"A&&B&", 0, "A&B"},
  };
  for (const Row& row : rows) {
    const QRect r =
        textdraw::measureText(testFont(), row.text, box, row.flags | textdraw::CalcRect);
    EXPECT_EQ(r, QRect(10, 20, fm.horizontalAdvance(row.shown), fm.height()))
        << row.text.toStdString();
  }
}

TEST(TextDraw, EmptyTextMeasuresNoLine) {
  const QRect r = textdraw::measureText(testFont(), "", QRect(0, 0, 100, 50), textdraw::CalcRect);
  EXPECT_EQ(r.height(), 0);
  EXPECT_EQ(r.width(), 0);
}

TEST(TextDraw, WordBreakWrapsAtSpacesAndKeepsLongWords) {
  const QFontMetrics fm(testFont());
  const unsigned flags = textdraw::WordBreak | textdraw::CalcRect;
  const int width = fm.horizontalAdvance("aaa bbb") + 1;

  QRect r = textdraw::measureText(testFont(), "aaa bbb ccc ddd", QRect(0, 0, width, 10), flags);
  EXPECT_EQ(r.height(), 2 * fm.height());
  EXPECT_EQ(r.width(), qMax(fm.horizontalAdvance("aaa bbb"), fm.horizontalAdvance("ccc ddd")));

  // A word wider than the rectangle is not split; the measured width grows to hold it.
  r = textdraw::measureText(testFont(), "x abcdefghijklmnop y", QRect(0, 0, 30, 10), flags);
  EXPECT_EQ(r.height(), 3 * fm.height());
  EXPECT_EQ(r.width(), fm.horizontalAdvance("abcdefghijklmnop"));

  // Without word break only line breaks start new lines.
  r = textdraw::measureText(testFont(), "aaa bbb\r\nccc", QRect(0, 0, 30, 10), textdraw::CalcRect);
  EXPECT_EQ(r.height(), 2 * fm.height());
  EXPECT_EQ(r.width(), fm.horizontalAdvance("aaa bbb"));
}

TEST(TextDraw, TabsAdvanceToStopsOfEightAverageCharacters) {
  const QFontMetrics fm(testFont());
  const int tab = 8 * fm.averageCharWidth();
  const QRect box(0, 0, 1000, 10);
  QRect r =
      textdraw::measureText(testFont(), "a\tb", box, textdraw::ExpandTabs | textdraw::CalcRect);
  EXPECT_EQ(r.width(), tab + fm.horizontalAdvance("b"));
  r = textdraw::measureText(testFont(), "\t\tb", box, textdraw::ExpandTabs | textdraw::CalcRect);
  EXPECT_EQ(r.width(), 2 * tab + fm.horizontalAdvance("b"));
}

TEST(TextDraw, MeasuringDrawsNothing) {
  Canvas canvas;
  canvas.draw("Hello", QRect(0, 0, 200, 100), textdraw::CalcRect);
  EXPECT_EQ(canvas.inkColumns().first, -1);
}

TEST(TextDraw, AlignsEachLineInTheRectangle) {
  const QFontMetrics fm(testFont());
  const int w = fm.horizontalAdvance("HH");
  for (unsigned align : {textdraw::Left, textdraw::Center, textdraw::Right}) {
    Canvas canvas;
    canvas.draw("HH", QRect(20, 0, 160, 50), align);
    const int expectedLeft = align == textdraw::Left     ? 20
                             : align == textdraw::Center ? 20 + (160 - w) / 2
                                                         : 180 - w;
    const auto [first, last] = canvas.inkColumns();
    EXPECT_NEAR(first, expectedLeft, 3) << align;
    EXPECT_NEAR(last, expectedLeft + w, 3) << align;
  }
}

TEST(TextDraw, ClipsToTheRectangle) {
  Canvas canvas;
  canvas.draw("WWWWWWWWWWWW", QRect(0, 0, 40, 50), textdraw::Left);
  EXPECT_LE(canvas.inkColumns().second, 39);
}

TEST(TextDraw, PrefixUnderlinesTheNextCharacterOnly) {
  const QFontMetrics fm(testFont());
  const int below = fm.ascent() + 1;  // rows under the baseline where only an underline can be
  Canvas plain, marked, literal;
  plain.draw("xo", QRect(0, 0, 200, 50), 0);
  marked.draw("&xo", QRect(0, 0, 200, 50), 0);
  literal.draw("&&xo", QRect(0, 0, 200, 50), 0);
  EXPECT_EQ(plain.inkColumns(below, below + 3).first, -1);
  const auto [first, last] = marked.inkColumns(below, below + 3);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, fm.horizontalAdvance("x") - 1);
  EXPECT_EQ(literal.inkColumns(below, below + 3).first, -1);
}

}  // namespace

namespace {

// Big glyphs come from cached images; they must land where Qt itself draws them.
TEST(TextDraw, BigGlyphsMatchQtsOwnDrawing) {
  for (int pixelSize : {80, 205}) {
    QFont font("Liberation Sans");
    font.setBold(true);
    font.setPixelSize(pixelSize);
    const QRect box(0, 0, 700, pixelSize * 2);
    QImage ours(box.size(), QImage::Format_RGB32);
    for (int round = 0; round < 2; ++round) {  // the second round draws from the cache
      ours.fill(Qt::black);
      QPainter painter(&ours);
      painter.setFont(font);
      painter.setPen(Qt::yellow);
      textdraw::drawText(painter, "45:07", box, textdraw::Center);
    }
    QImage qts(box.size(), QImage::Format_RGB32);
    qts.fill(Qt::black);
    {
      QPainter painter(&qts);
      painter.setFont(font);
      painter.setPen(Qt::yellow);
      const QFontMetrics fm(font);
      painter.drawText(QPoint((box.width() - fm.horizontalAdvance("45:07")) / 2, fm.ascent()),
                       "45:07");
    }
    int ink = 0, differing = 0;
    QRect ourInk, qtsInk;
    for (int y = 0; y < box.height(); ++y)
      for (int x = 0; x < box.width(); ++x) {
        const bool a = qRed(ours.pixel(x, y)) > 127, b = qRed(qts.pixel(x, y)) > 127;
        if (a) ourInk |= QRect(x, y, 1, 1);
        if (b) qtsInk |= QRect(x, y, 1, 1);
        ink += b ? 1 : 0;
        differing += a != b ? 1 : 0;
      }
    ASSERT_GT(ink, pixelSize * pixelSize / 2) << pixelSize;
    EXPECT_LE((ourInk.topLeft() - qtsInk.topLeft()).manhattanLength(), 1) << pixelSize;
    EXPECT_LE((ourInk.bottomRight() - qtsInk.bottomRight()).manhattanLength(), 1) << pixelSize;
    // Glyph edges may differ by sub-pixel rounding, nothing more.
    EXPECT_LT(differing, ink / 10) << pixelSize;
  }
}

}  // namespace

namespace {

TEST(TextDraw, AFinalLineBreakAddsNoLine) {
  const QFont font = testFont();
  const int line = QFontMetrics(font).height();
  const QRect box(0, 0, 300, 300);
  EXPECT_EQ(textdraw::measureText(font, "TV\nHeim\n", box, 0).height(), 2 * line);
  EXPECT_EQ(textdraw::measureText(font, "TV\r\nHeim\r\n", box, 0).height(), 2 * line);
  EXPECT_EQ(textdraw::measureText(font, "TV\n\nHeim", box, 0).height(), 3 * line);
  EXPECT_EQ(textdraw::measureText(font, "\n", box, 0).height(), line);
}

}  // namespace

namespace {

// A big glyph kept as coverage and tinted comes out exactly as Qt draws it in that colour.
TEST(TextDraw, TintedCoverageEqualsQtsDrawingInThatColour) {
  QFont font("Liberation Sans");
  font.setPixelSize(120);
  const QRawFont raw = QRawFont::fromFont(font);
  QGlyphRun run;
  run.setRawFont(raw);
  run.setGlyphIndexes(raw.glyphIndexesForString("&"));
  run.setPositions({QPointF(10, 110)});
  const auto drawn = [&](QColor colour) {
    QImage image(140, 150, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(colour);
    painter.drawGlyphRun(QPointF(), run);
    return image;
  };
  const QImage coverage = drawn(Qt::white).convertToFormat(QImage::Format_Alpha8);
  // Blended straight onto a picture, it equals Qt drawing the glyph onto the same picture.
  QImage opaque(coverage.size(), QImage::Format_RGB32);
  QImage seeThrough(coverage.size(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < opaque.height(); ++y)
    for (int x = 0; x < opaque.width(); ++x) {
      opaque.setPixel(x, y, qRgb(x * 7 % 256, y * 3 % 256, (x + y) % 256));
      seeThrough.setPixel(x, y, qPremultiply(qRgba(x % 256, 90, y % 256, (x * y) % 256)));
    }
  const QPoint at(7, 5);
  const QRect part = coverage.rect().adjusted(at.x(), at.y(), 0, 0);
  for (const QRgb colour :
       {0xffffff00u, 0xff000080u, 0xff204060u, 0xfffefdfcu, 0xff000000u, 0x80402010u}) {
    const QColor qtColour = QColor::fromRgba(qUnpremultiply(colour));
    QImage tinted;
    textdraw::tint(coverage, coverage.rect(), colour, tinted);
    EXPECT_EQ(tinted, drawn(qtColour)) << std::hex << colour;
    for (const QImage& background : {opaque, seeThrough}) {
      QImage ours = background, qts = background;
      textdraw::blendTinted(coverage, part, colour, ours, at);
      QPainter painter(&qts);
      painter.setClipRect(QRect(at, part.size()));
      painter.setPen(qtColour);
      painter.drawGlyphRun(QPointF(), run);
      painter.end();
      EXPECT_EQ(ours, qts) << std::hex << colour << " " << background.format();
    }
  }
}

}  // namespace

namespace {

// Lines are drawn from their shared shaping; that must give Qt's own pixels and widths.
TEST(TextDraw, ShapedLinesDrawAndMeasureAsQtDoes) {
  struct Row {
    const char* family;
    int pixelSize;
    bool bold;
    bool italic;
  } rows[] = {{"Liberation Sans", 9, false, false}, {"Liberation Sans", 13, true, false},
              {"Liberation Sans", 20, false, true}, {"Liberation Serif", 27, false, false},
              {"Liberation Mono", 16, true, false}, {"Liberation Sans", 64, true, false}};
  const QStringList texts = {"45:07", "HEIM - GAST", "Ärger über Öl", " Zeit  ", "1:00:00"};
  for (const Row& row : rows) {
    QFont font(row.family);
    font.setPixelSize(row.pixelSize);
    font.setBold(row.bold);
    font.setItalic(row.italic);
    const QFontMetrics fm(font);
    for (const QString& text : texts) {
      const QRect box(0, 0, 600, fm.height());
      QImage ours(box.size(), QImage::Format_RGB32), qts(box.size(), QImage::Format_RGB32);
      ours.fill(Qt::white);
      qts.fill(Qt::white);
      QPainter a(&ours), b(&qts);
      a.setFont(font);
      b.setFont(font);
      a.setPen(Qt::darkBlue);
      b.setPen(Qt::darkBlue);
      const QRect measured = textdraw::drawText(a, text, box, textdraw::CalcRect);
      textdraw::drawText(a, text, box, textdraw::Left);
      b.drawText(QPoint(0, fm.ascent()), text);
      a.end(), b.end();
      EXPECT_EQ(measured.width(), fm.horizontalAdvance(text))
          << row.pixelSize << " " << text.toStdString();
      EXPECT_EQ(ours, qts) << row.family << " " << row.pixelSize << " " << text.toStdString();
    }
  }
}

}  // namespace
