#include "app/courtpicture.h"

#include <QPainter>

QImage courtPicture(const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(image.rect(), QColor(0, 70, 40));
  const QRectF court = QRectF(image.rect()).adjusted(10, 10, -10, -10);
  p.fillRect(court, QColor(30, 110, 170));
  p.setPen(QPen(QColor(235, 235, 235), 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(court);
  p.drawLine(QPointF(court.center().x(), court.top()), QPointF(court.center().x(), court.bottom()));
  const qreal r = court.height() * 0.30;
  p.setBrush(QColor(220, 160, 60));
  p.drawChord(QRectF(court.left() - r, court.center().y() - r, 2 * r, 2 * r), -90 * 16, 180 * 16);
  p.drawChord(QRectF(court.right() - r, court.center().y() - r, 2 * r, 2 * r), 90 * 16, 180 * 16);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(235, 235, 235), 2, Qt::DashLine));
  const qreal r9 = r * 1.5;
  p.drawArc(QRectF(court.left() - r9, court.center().y() - r9, 2 * r9, 2 * r9), -90 * 16, 180 * 16);
  p.drawArc(QRectF(court.right() - r9, court.center().y() - r9, 2 * r9, 2 * r9), 90 * 16, 180 * 16);
  return image;
}
