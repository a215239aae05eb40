#pragma once

// The console's controls are many small labels, spin buttons and check boxes that differ only
// in name, place, text and colours; these make one in a call.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include "platform/color.h"

class QCheckBox;
class QToolButton;
class QWidget;
class TLabel3D;
class TOvalButton;
class SpinButton;

namespace consolewidgets {

// The console's client area: the upper panel with the match, the running-text strip at its
// bottom, the list below it and the line editor at the bottom of the window.
constexpr int kClientWidth = 428;
constexpr int kClientHeight = 515;
constexpr int kMinClientHeight = 434;
constexpr int kUpperPanelHeight = 358;
constexpr int kStripHeight = 34;
constexpr int kEditPanelHeight = 32;
constexpr TColor kHeaderOrange = 0x2070D0;
constexpr TColor kClockGreen = 0x006000;

QFont arialBold(int pixelSize);
TLabel3D* label(QWidget* parent, const char* name, const QRect& bounds, const QString& text,
                const QFont& font, TColor textColour);
SpinButton* spin(QWidget* parent, const char* name, const QRect& bounds, const QString& hint);
QCheckBox* check(QWidget* parent, const char* name, const QPoint& at, const QString& text,
                 const QString& hint);
TOvalButton* ovalButton(QWidget* parent, const char* name, const QRect& bounds,
                        const QString& hint);
// A goal button with the goal picture, mirrored for the guest side.
QToolButton* goalButton(QWidget* parent, const char* name, int left, const QString& hint,
                        bool mirrored);

}  // namespace consolewidgets
