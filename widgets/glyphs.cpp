#include "widgets/glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace glyphs {
namespace {

QImage keyedCanvas(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kKeyColor);
  return image;
}

// A ring arrow: an arc of 300 degrees, pointed at its clockwise end.
void drawCircularArrow(QPainter& painter, const QRectF& box, const QColor& color) {
  const double pen = box.width() / 8;
  const QRectF ring = box.adjusted(pen, pen, -pen, -pen);
  painter.setPen(QPen(color, pen, Qt::SolidLine, Qt::FlatCap));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(ring, 120 * 16, 300 * 16);
  // The head sits where the arc starts (120 degrees), pointing along the clockwise direction.
  const QPointF c = ring.center();
  const double r = ring.width() / 2, angle = qDegreesToRadians(120.0);
  const QPointF tip(c.x() + r * std::cos(angle), c.y() - r * std::sin(angle));
  const QPointF along(std::sin(angle), std::cos(angle));  // clockwise tangent, screen axes
  const QPointF outward(std::cos(angle), -std::sin(angle));
  const double head = pen * 1.8;
  QPainterPath arrow;
  arrow.moveTo(tip + along * head);
  arrow.lineTo(tip + outward * head);
  arrow.lineTo(tip - outward * head);
  arrow.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  painter.drawPath(arrow);
}

}  // namespace

QImage help(int size) {
  QImage image = keyedCanvas(size, size);
  QPainter painter(&image);
  QFont font("Liberation Sans");
  font.setPixelSize(size);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(font);
  painter.setPen(QColor(0, 0, 160));
  painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
  return image;
}

QImage configuration(int size) {
  QImage image = keyedCanvas(size, size);
  QPainter painter(&image);
  const QPointF c(size / 2.0, size / 2.0);
  const QColor steel(64, 64, 72);
  painter.setPen(Qt::NoPen);
  painter.setBrush(steel);
  const double tooth = size / 6.0;
  for (int i = 0; i < 8; ++i) {
    painter.save();
    painter.translate(c);
    painter.rotate(45.0 * i);
    painter.drawRect(QRectF(-tooth / 2, -size / 2.0 + 1, tooth, tooth));
    painter.restore();
  }
  const double body = size * 0.34;
  painter.drawEllipse(c, body, body);
  painter.setBrush(kKeyColor);  // the hole lets the face show through
  painter.drawEllipse(c, size * 0.13, size * 0.13);
  return image;
}

QImage information(int size) {
  QImage image = keyedCanvas(size, size);
  QPainter painter(&image);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 64, 192));
  painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
  const double stem = size / 7.0;
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF((size - stem) / 2, size * 0.42, stem, size * 0.38));
  painter.drawEllipse(QRectF((size - stem) / 2, size * 0.2, stem, stem));
  return image;
}

QImage goal(QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const double post = size.width() / 8.0;
  const QRectF frame(post / 2, post / 2, size.width() - post, size.height() - post);

  // The net: a diagonal mesh behind the frame.
  painter.save();
  painter.setClipRect(frame);
  painter.setPen(QPen(QColor(230, 230, 230, 200), 1));
  const double mesh = size.width() / 6.0;
  for (double d = -size.height(); d < size.width() + size.height(); d += mesh) {
    painter.drawLine(QPointF(d, 0), QPointF(d + size.height(), size.height()));
    painter.drawLine(QPointF(d, size.height()), QPointF(d + size.height(), 0));
  }
  painter.restore();

  // Posts and bar in the red and white bands of a handball goal.
  const double band = size.height() / 10.0;
  painter.setPen(Qt::NoPen);
  for (int i = 0; i * band < size.height(); ++i) {
    painter.setBrush(i % 2 ? QColor(Qt::white) : QColor(220, 0, 0));
    painter.drawRect(QRectF(size.width() - post, i * band, post, band));
  }
  painter.setBrush(QColor(220, 0, 0));
  painter.drawRect(QRectF(0, 0, size.width(), post));
  painter.drawRect(QRectF(0, size.height() - post, size.width(), post));
  return image;
}

QImage cyclicStrip() {
  QImage strip = keyedCanvas(48, 16);
  QPainter painter(&strip);
  const QRectF cell(1, 1, 14, 14);
  drawCircularArrow(painter, cell, QColor(0, 96, 0));
  drawCircularArrow(painter, cell.translated(16, 0), QColor(150, 150, 150));
  drawCircularArrow(painter, cell.translated(32, 0), QColor(0, 96, 0));
  painter.setPen(QPen(QColor(224, 0, 0), 2));
  painter.drawLine(QPointF(34, 14), QPointF(46, 2));
  return strip;
}

QImage webLink(QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF badge(0.5, 0.5, size.width() - 1, size.height() - 1);
  painter.setPen(QPen(QColor(0x80, 0xc0, 0xff), 1));
  painter.setBrush(QColor(0x10, 0x23, 0x4a));
  painter.drawRoundedRect(badge, size.height() / 2.0, size.height() / 2.0);
  // The globe: a circle with its equator and one meridian.
  const double d = size.height() - 5;
  const QRectF globe(3, 2.5, d, d);
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(globe);
  painter.drawEllipse(globe.adjusted(d * 0.3, 0, -d * 0.3, 0));
  painter.drawLine(QPointF(globe.left(), globe.center().y()),
                   QPointF(globe.right(), globe.center().y()));
  QFont font("Liberation Sans");
  font.setPixelSize(size.height() - 5);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(globe.right() + 2, 0, size.width() - globe.right() - 5, size.height()),
                   Qt::AlignCenter, "Merrowtide");
  return image;
}

}  // namespace glyphs
