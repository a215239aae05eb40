#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <optional>

// The scoreboard display's layout pass as plain arithmetic: from the client size, the view and
// the texts whose fonts are fitted, it computes the bounds of every element and every font
// size. TFormTablo feeds it from its widgets and writes the results back.
//
// Font sizes come in two units: a character height in pixels (the height of the characters
// without the font's internal leading) or a point size; s points are s × ppi ÷ 72 pixels.
// A QFont takes a character height h as pixel size h: Qt's pixel size is the em height, and
// ascent + descent − internal leading is exactly one em.

// s × ppi ÷ 72 and back, rounded to the nearest integer with halves away from zero.
int pointsToPixels(int points, int ppi);
int pixelsToPoints(int pixels, int ppi);
// Nearest integer, a half going to the even neighbour.
int roundHalfEven(double value);

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

// A text whose font the pass fits, as the label draws it.
struct FittedText {
  QString text;
  QFont font;
};

// The maker's-mark frame: three labels side by side over the frame's full height.
struct MarkLayout {
  QRect left, middle, right;
  int pointSize = 0;  // the left label's text fitted by width; the others take the same size
};
MarkLayout layoutMark(const QSize& client, const FittedText& left, int ppi);

struct LayoutInput {
  int width = 0;        // client width W
  int height = 0;       // client height H
  int outerWidth = 0;   // outer window size; equal to the client size without a border
  int outerHeight = 0;  // Hw
  int view = 0;         // "VidTablo"
  int ppi = 96;
  FittedText title;       // Label1
  FittedText names;       // Label3
  FittedText score;       // Label4
  FittedText date;        // LabelData (sized to its text, not fitted)
  QRect score0, period0;  // current bounds of Label4 and Label5, kept by views without bands
};

// The bands of title, names, clock and score with the logos; laid out for views 0 to 3 only.
struct Bands {
  int rowUnit = 0;
  QRect label2, label3, label4, label5, image1, logo1, logo2, labelLogo1, labelLogo2;
  int clockCharHeight = 0;  // Label2, in pixels; the label draws a wider text smaller
  int namesPoints = 0;      // Label3, fitted
  int logoTextPoints = 0;   // LabelLogo1 and LabelLogo2
};

struct TabloLayout {
  QRect panelLogo;
  bool namesVisible = true;  // Label3
  QRect frame;               // its three parts are laid out by layoutMark when it is resized
  int basePoints = 0;        // the window's base font
  QRect label1;
  int titlePoints = 0;  // fitted
  QRect labelData;
  int datePoints = 0;
  std::optional<Bands> bands;
  int scorePoints = 0;   // Label4, fitted
  int periodPoints = 0;  // Label5
  QRect runLabel;
  int runPoints = 0;
  QRect straf1a, straf1b, straf2a, straf2b;
  int penaltyPoints = 0;
  bool penaltiesVisible = true;
  QRect panelPause;
  QRect panelPauseRed;  // relative to PanelPause
  QString caption;
};

TabloLayout layoutTablo(const LayoutInput& in);
