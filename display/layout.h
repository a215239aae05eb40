#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <optional>

#include "widgets/fontsize.h"

// The scoreboard display's layout pass as plain arithmetic: from the client size, the view and
// the texts whose fonts are fitted, it computes the bounds of every element and every font
// size (in the units of widgets/fontsize.h). TFormTablo feeds it from its widgets and writes
// the results back.

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

// The window manager's frame (outer minus client size) when it is plausible on a monitor of
// `monitor` size: while the manager is still framing a window it can report none, half of one
// or a negative one.
std::optional<QSize> plausibleFrame(const QSize& frame, const QSize& monitor);
// The least client size of a window whose outer size is at least 320 × 240, from the frame
// reported: a frame that is not plausible counts as none, so the window never has to be larger
// than its monitor.
QSize leastClientSize(const QSize& reportedFrame, const QSize& monitor);
