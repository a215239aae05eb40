#include "widgets/glyphs.h"

#include <gtest/gtest.h>

#include "widgets/ovalbutton.h"

namespace {

int countPixels(const QImage& image, const QRect& area, bool (*match)(QColor)) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (match(image.pixelColor(x, y))) ++n;
  return n;
}

// A blend of the key with the picture, which the button would not replace by its face.
bool isNearKey(QColor c) {
  const QColor k = glyphs::kKeyColor;
  return c != k &&
         qAbs(c.red() - k.red()) + qAbs(c.green() - k.green()) + qAbs(c.blue() - k.blue()) < 60;
}
bool isPicture(QColor c) { return c != glyphs::kKeyColor; }
bool isRed(QColor c) { return c.red() > 180 && c.green() < 60; }
bool isColourful(QColor c) { return c.saturation() > 40 && c != glyphs::kKeyColor; }

TEST(Glyphs, ButtonPicturesStandOnTheKeyColourTheButtonPicksUp) {
  for (const QImage& image : {glyphs::help(), glyphs::configuration(), glyphs::information()}) {
    EXPECT_EQ(image.size(), QSize(24, 24));
    TOvalButton button;
    button.setGlyph(image, true);
    EXPECT_EQ(button.transparentColor(), TColor(0x008080));
    EXPECT_EQ(button.numGlyphs(), 1);
    EXPECT_GT(countPixels(image, image.rect(), isPicture), 24);
    EXPECT_EQ(countPixels(image, image.rect(), isNearKey), 0);
  }
}

TEST(Glyphs, CyclicStripHasNormalDisabledAndCrossedOutImages) {
  const QImage strip = glyphs::cyclicStrip();
  EXPECT_EQ(strip.size(), QSize(48, 16));
  EXPECT_EQ(TOvalButton::designGlyphCount(strip.size()), 3);
  EXPECT_EQ(strip.pixelColor(0, 15), glyphs::kKeyColor);
  const QRect normal(0, 0, 16, 16), disabled(16, 0, 16, 16), crossed(32, 0, 16, 16);
  EXPECT_GT(countPixels(strip, normal, isColourful), 20);
  EXPECT_EQ(countPixels(strip, disabled, isColourful), 0);
  EXPECT_GT(countPixels(strip, disabled, isPicture), 20);
  EXPECT_EQ(countPixels(strip, normal, isRed), 0);
  EXPECT_GT(countPixels(strip, crossed, isRed), 10);
}

TEST(Glyphs, GoalFillsItsAreaWithATransparentSurround) {
  const QImage goal = glyphs::goal();
  EXPECT_EQ(goal.size(), QSize(48, 85));
  EXPECT_GT(countPixels(goal, goal.rect(), isRed), 100);
  EXPECT_GT(countPixels(goal, goal.rect(), [](QColor c) { return c.alpha() == 0; }), 500);
}

}  // namespace
