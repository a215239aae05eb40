#pragma once

#include <QColor>
#include <QtGlobal>

// A colour as the settings and the controls keep it: 0x00BBGGRR, red in the low byte.
// A value whose top byte is 0xFF names a system colour by the index in its low byte.
using TColor = quint32;

namespace colors {
constexpr TColor black = 0x000000;
constexpr TColor navy = 0x800000;
constexpr TColor teal = 0x808000;
constexpr TColor white = 0xFFFFFF;
constexpr TColor lime = 0x00FF00;
constexpr TColor red = 0x0000FF;
constexpr TColor yellow = 0x00FFFF;
constexpr TColor green = 0x008000;
constexpr TColor grey = 0x808080;
constexpr TColor silver = 0xC0C0C0;

// System colour names (top byte 0xFF) used by the program's controls.
constexpr TColor btnShadow = 0xFF000010;     // 3D shadow, index 16
constexpr TColor grayText = 0xFF000011;      // disabled text, index 17
constexpr TColor btnHighlight = 0xFF000014;  // 3D highlight, index 20
constexpr TColor btnFace = 0xFF00000F;       // control face, index 15
}  // namespace colors

constexpr bool isSystemColor(TColor c) { return (c >> 24) == 0xFF; }

// Resolves system colours to their current value; plain colours map channel by channel.
QColor toQColor(TColor c);
// The opaque 0x00BBGGRR value of a colour.
TColor fromQColor(const QColor& c);
