#pragma once

#include <QColor>
#include <QImage>

// The program's pictures, drawn in code. The button glyphs stand on an olive background whose
// colour the oval button takes as its transparent colour (the bottom-left pixel); they are drawn
// without antialiasing so that no edge pixel comes near that colour.
namespace glyphs {

inline const QColor kKeyColor(128, 128, 0);  // 0x00008080 as a TColor

QImage help(int size = 24);           // a question mark
QImage configuration(int size = 24);  // a gear wheel
QImage information(int size = 24);    // an "i" in a blue disc
// A handball goal seen from the side, on a transparent background.
QImage goal(QSize size = QSize(48, 85));
// Three 16 × 16 images side by side: a circular arrow, its disabled form, and the arrow
// crossed out.
QImage cyclicStrip();

// The console's link to the maker's page: a globe and the maker's name on a dark badge.
QImage webLink(QSize size = QSize(88, 16));

}  // namespace glyphs
