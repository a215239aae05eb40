#include "widgets/picturebox.h"

#include <gtest/gtest.h>

#include <QPalette>

#include "support/picturefiles.h"

TEST(FitCentred, LargestSizeWithAspectKeptCentred) {
  const struct {
    QSize image;
    QRect box;
    QRect expected;
  } rows[] = {
      {{100, 50}, {0, 0, 200, 200}, {0, 50, 200, 100}},       // enlarged, full width
      {{50, 100}, {0, 0, 200, 200}, {50, 0, 100, 200}},       // enlarged, full height
      {{30, 30}, {0, 0, 200, 200}, {0, 0, 200, 200}},         // same aspect
      {{1000, 500}, {0, 0, 100, 100}, {0, 25, 100, 50}},      // reduced
      {{3, 1}, {0, 0, 10, 10}, {0, 3, 10, 3}},                // 3.33 truncated, odd margin
      {{640, 480}, {10, 20, 320, 100}, {103, 20, 133, 100}},  // box offset kept
      {{100000, 1}, {0, 0, 10, 10}, {0, 4, 10, 1}},           // a sliver stays visible
      {{0, 10}, {0, 0, 10, 10}, {}},
      {{10, 10}, {0, 0, 0, 10}, {}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(fitCentred(row.image, row.box), row.expected)
        << row.image.width() << "x" << row.image.height() << " in " << row.box.width() << "x"
        << row.box.height();
}

namespace {

// A picture box on a parent of a plain colour, so that uncovered parts show that colour.
struct Scene {
  QWidget parent;
  PictureBox* box;

  Scene() : box(new PictureBox(&parent)) {
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::magenta);
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    parent.resize(200, 100);
    box->setGeometry(0, 0, 200, 100);
  }
  QImage render() { return parent.grab().toImage(); }
};

}  // namespace

TEST(PictureBox, DrawsFittedPictureAndLeavesTheRestToTheParent) {
  Scene scene;
  scene.box->setPicture(quarters(40, 40));
  EXPECT_EQ(scene.box->pictureRect(), QRect(50, 0, 100, 100));
  const QImage shot = scene.render();
  EXPECT_EQ(shot.pixelColor(20, 50), QColor(Qt::magenta));
  EXPECT_EQ(shot.pixelColor(180, 50), QColor(Qt::magenta));
  EXPECT_EQ(shot.pixelColor(60, 10), QColor(Qt::red));
  EXPECT_EQ(shot.pixelColor(140, 90), QColor(Qt::white));
}

TEST(PictureBox, StretchFillsTheWholeBox) {
  Scene scene;
  scene.box->setStretch(true);
  scene.box->setPicture(quarters(40, 40));
  EXPECT_EQ(scene.box->pictureRect(), QRect(0, 0, 200, 100));
  const QImage shot = scene.render();
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(shot.pixelColor(195, 95), QColor(Qt::white));
}

TEST(PictureBox, TransparentColourIsLeftOut) {
  Scene scene;
  scene.box->setPicture(quarters(40, 40));
  scene.box->setTransparentColour(qRgb(0, 0, 255));
  QImage shot = scene.render();
  EXPECT_EQ(shot.pixelColor(60, 90), QColor(Qt::magenta));  // the blue quarter
  EXPECT_EQ(shot.pixelColor(60, 10), QColor(Qt::red));

  scene.box->setTransparentColour(std::nullopt);
  shot = scene.render();
  EXPECT_EQ(shot.pixelColor(60, 90), QColor(Qt::blue));
}

TEST(PictureBox, EmptyPictureDrawsNothing) {
  Scene scene;
  scene.box->setPicture(quarters(40, 40));
  scene.box->setPicture(QImage());
  EXPECT_TRUE(scene.box->pictureRect().isEmpty());
  EXPECT_EQ(scene.render().pixelColor(100, 50), QColor(Qt::magenta));
}
