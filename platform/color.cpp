#include "platform/color.h"

#include <QApplication>
#include <QPalette>

namespace {

// System colours resolve to the application palette where it has an equivalent; the
// classic Windows values stand in for the rest.
QColor systemColor(int index) {
  const QPalette palette = QApplication::palette();
  switch (index) {
    case 15:
      return palette.color(QPalette::Button);
    case 16:
      return QColor(160, 160, 160);
    case 17:
      return QColor(109, 109, 109);
    case 20:
      return QColor(255, 255, 255);
    default:
      return palette.color(QPalette::Window);
  }
}

}  // namespace

QColor toQColor(TColor c) {
  if (isSystemColor(c)) return systemColor(static_cast<int>(c & 0xFF));
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

TColor fromQColor(const QColor& c) {
  return static_cast<TColor>(c.red()) | (static_cast<TColor>(c.green()) << 8) |
         (static_cast<TColor>(c.blue()) << 16);
}
