#include "widgets/appicon.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// Segments a..g of a seven-segment figure, as bits 0..6.
constexpr int kThree = 0b1001111;  // a b c d g
constexpr int kOne = 0b0000110;    // b c

// Draws one figure into `box`; segments are bars `t` thick.
void drawFigure(QPainter& p, const QRectF& box, int segments) {
  const double t = box.width() / 4.5, w = box.width(), h = box.height(), x = box.left(),
               y = box.top(), half = (h - t) / 2;
  const QRectF bars[7] = {
      {x + t * 0.6, y, w - 1.2 * t, t},                    // a top
      {x + w - t, y + t * 0.6, t, half - 0.2 * t},         // b upper right
      {x + w - t, y + half + t * 0.6, t, half - 0.2 * t},  // c lower right
      {x + t * 0.6, y + h - t, w - 1.2 * t, t},            // d bottom
      {x, y + half + t * 0.6, t, half - 0.2 * t},          // e lower left
      {x, y + t * 0.6, t, half - 0.2 * t},                 // f upper left
      {x + t * 0.6, y + half, w - 1.2 * t, t},             // g middle
  };
  for (int i = 0; i < 7; ++i)
    if (segments & (1 << i)) p.drawRoundedRect(bars[i], t * 0.3, t * 0.3);
}

}  // namespace

QImage applicationIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);  // designed on a 64 × 64 grid

  QLinearGradient face(0, 0, 0, 64);
  face.setColorAt(0, QColor(0x2a, 0x3f, 0x66));
  face.setColorAt(1, QColor(0x0e, 0x16, 0x28));
  p.setPen(QPen(QColor(0x08, 0x0c, 0x16), 1.5));
  p.setBrush(face);
  p.drawRoundedRect(QRectF(2, 4, 60, 56), 9, 9);

  // The names strip along the top, in the console's header orange.
  QPainterPath strip;
  strip.addRoundedRect(QRectF(2.75, 4.75, 58.5, 15), 8.3, 8.3);
  QPainterPath lowerHalf;
  lowerHalf.addRect(QRectF(2.75, 12, 58.5, 8));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd0, 0x70, 0x20));
  p.drawPath(strip.united(lowerHalf));

  p.setBrush(QColor(0xff, 0xd2, 0x1f));
  drawFigure(p, QRectF(9, 25, 16, 28), kThree);
  drawFigure(p, QRectF(39, 25, 16, 28), kOne);
  p.drawEllipse(QRectF(29.5, 31, 5, 5));
  p.drawEllipse(QRectF(29.5, 42, 5, 5));
  return image;
}

const QList<int>& applicationIconSizes() {
  static const QList<int> sizes{16, 22, 24, 32, 48, 64, 128, 256};
  return sizes;
}

namespace {

// Draws the icon when a size of it is asked for instead of keeping every size: the window
// system takes its copies when a window gets the icon, and the largest sizes alone would
// hold a third of a megabyte for the whole run.
class ApplicationIconEngine : public QIconEngine {
 public:
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    QRect square(0, 0, qMin(rect.width(), rect.height()), qMin(rect.width(), rect.height()));
    square.moveCenter(rect.center());
    painter->drawImage(square, applicationIconImage(square.width()));
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(&painter, image.rect(), mode, state);
    return QPixmap::fromImage(image);
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (int size : applicationIconSizes()) sizes.append(QSize(size, size));
    return sizes;
  }
  QIconEngine* clone() const override { return new ApplicationIconEngine; }
  QString key() const override { return "scorvex"; }
};

}  // namespace

QIcon applicationIcon() {
  static const QIcon icon(new ApplicationIconEngine);
  return icon;
}
