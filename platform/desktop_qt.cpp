#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "platform/desktop.h"

QList<QRect> QtDesktop::monitorBounds() const {
  QList<QRect> bounds;
  for (const QScreen* screen : QGuiApplication::screens()) bounds.append(screen->geometry());
  return bounds;
}

int QtDesktop::logicalPpi() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

void QtDesktop::moveCursor(const QPoint& screenPoint) { QCursor::setPos(screenPoint); }
