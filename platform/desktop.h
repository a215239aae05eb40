#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// What the windows need to know about the screens and the pointer.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // Bounds of every monitor, in the order the system enumerates them.
  virtual QList<QRect> monitorBounds() const = 0;
  // Logical pixels per inch of the screen (96 at normal scaling); converts points to pixels.
  virtual int logicalPpi() const = 0;
  virtual void moveCursor(const QPoint& screenPoint) = 0;
};

class QtDesktop final : public Desktop {
 public:
  QList<QRect> monitorBounds() const override;
  int logicalPpi() const override;
  void moveCursor(const QPoint& screenPoint) override;
};
