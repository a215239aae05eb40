#pragma once

// The scoreboard display, the spectators' window.
// It owns its elements and their layout and never touches the match state: the console
// writes clock, score, period, penalties and the visibility of pause sign, logo screen, black
// screen and running text straight into the public elements below. layoutTablo()
// (display/layout.h) computes every bound and font size from the client size; FormResize
// writes the results into the widgets. The display group of the settings store is read at
// creation and written by FormDestroy. Everything the display needs from the console (the
// settings record, the console's names header, penalty labels and clock, the Logo command)
// goes through ConsoleLink; monitors and the screen's ppi come from Platform::desktop.

#include <QWidget>
#include <array>

#include "platform/color.h"

class ConsoleLink;
class TFrameMerrowtide;
class TLabel;
class TLabel3D;
class TPictureBox;
class TRunLabel;
struct TRunFont;
struct Platform;

// A plain panel: a colour and an optional raised bevel of bevelWidth pixels.
class TBevelPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TBevelPanel(QWidget* parent = nullptr);

  TColor color() const { return color_; }
  void setColor(TColor c);
  // 0 draws no bevel.
  int bevelWidth() const { return bevelWidth_; }
  void setBevelWidth(int width);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TColor color_ = colors::btnFace;
  int bevelWidth_ = 1;
};

class TFormTablo : public QWidget {
  Q_OBJECT

 public:
  TFormTablo(Platform& platform, ConsoleLink& console, QWidget* parent = nullptr);

  // Elements from bottom to top; the panels and the maker's mark always lie above the rest.
  TLabel* Label4;       // score
  TLabel* Label2;       // clock
  TLabel* Label1;       // title text
  TLabel* Label5;       // period number, kept in its Tag
  TPictureBox* Image1;  // title picture
  TRunLabel* RunLabel;
  TPictureBox* Logo1;
  TPictureBox* Logo2;
  TLabel3D* LabelLogo1;
  TLabel3D* LabelLogo2;
  TLabel3D* Label3;  // team names
  TLabel3D* LabelStraf1a;
  TLabel3D* LabelStraf1b;
  TLabel3D* LabelStraf2a;
  TLabel3D* LabelStraf2b;
  TLabel* LabelData;  // today's date
  TBevelPanel* PanelPause;
  TBevelPanel* PanelPauseRed;
  TBevelPanel* PanelLogo;
  TPictureBox* Logo;  // the logo screen's picture
  TFrameMerrowtide* FrameMerrowtide1;
  TBevelPanel* PanelBlack;

  // The window colour C0.
  TColor color() const { return color_; }
  void setColor(TColor c);

  // Lays the elements out for the current client size and view.
  void FormResize();
  // Whenever the display becomes the active window.
  void FormActivate();
  // The display refuses to close; the program ends through the console.
  bool FormCloseQuery() const { return false; }
  // Stores the display's settings; called at exit before the console stores its own.
  void FormDestroy();

  // Full screen on the console's monitor, or a sizeable window, from TSettings::FullScr.
  void ApplyScreenMode();
  // Shrinks the label's font until its current text fits the label.
  void FitFont(TLabel* label);
  // Puts the element colours C0 … C4 of the settings record on the elements.
  void ApplyColors();
  // (Re)loads both team logos, pictures or texts, for the current team names.
  void LoadTeamLogos();
  // Title text or title picture by TSettings::TitelType; a picture that fails to load leaves
  // the title as it was.
  void ApplyTitle();
  void LoadDisplaySettings();
  void SaveDisplaySettings();

  // Command-line limits and placement, applied after creation and before the first show.
  // A limit of 0 or less means no limit. Offsets are relative to the console's monitor.
  void limitWidth(int pixels);
  void limitHeight(int pixels);
  void placeLeft(int offset);
  void placeTop(int offset);
  // Bounds of the console's monitor (the first one for an index that names none).
  QRect selectedMonitor() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FormCreate();
  void createElements();
  void loadLogoScreen();
  // The largest size a picture can be shown at; decoded pictures are kept no larger.
  QSize largestPictureSize() const;
  // LabelLogo1, then LabelLogo2, to the top of the labels, still below panels and frame.
  void raiseLogoTexts();
  // The smallest outer size is 320 × 240: the client's limit leaves room for the frame.
  void limitOuterSize();
  // The element fonts with their colours: title, clock, names, score, running text.
  std::array<TLabel*, 4> fontLabels() const;
  TRunFont elementFont(int n) const;
  void setElementFont(int n, const TRunFont& font);

  Platform& platform_;
  ConsoleLink& console_;
  int ppi_;
  TColor color_ = colors::black;
};
