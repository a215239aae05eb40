#pragma once

#include <QFont>
#include <QSize>
#include <QString>

// Font sizes in the two units the windows use: a character height in pixels (the height of the
// characters without the font's internal leading) or a point size; s points are s × ppi ÷ 72
// pixels. A QFont takes a character height h as pixel size h: Qt's pixel size is the em
// height, and ascent + descent − internal leading is exactly one em.

// s × ppi ÷ 72 and back, rounded to the nearest integer with halves away from zero.
int pointsToPixels(int points, int ppi);
int pixelsToPoints(int pixels, int ppi);

// Copies of `font` with the given character height or point size (at least one pixel).
QFont fontWithCharHeight(const QFont& font, int pixels);
QFont fontWithPointSize(const QFont& font, int points, int ppi);
// The point size of a font whose pixel size was set by the functions above.
int fontPointSize(const QFont& font, int ppi);

// A label's text as drawn ("&x" draws x underlined, "&&" draws one ampersand).
QString textWithoutAccelerators(const QString& caption);

// The largest point size, starting from the label's height and going down one point at a
// time, at which `text` is narrower than the label and, with `fitHeight`, the font's line
// height (characters plus internal leading) is lower than the label. Never below 1 point.
int FitFont(const QString& text, const QSize& labelSize, const QFont& font, int ppi,
            bool fitHeight = true);

// The largest character height up to `charHeight` at which `text` in `font` is at most `width`
// pixels wide. Never below 1 pixel.
int fitCharHeightToWidth(const QString& text, const QFont& font, int charHeight, int width);
