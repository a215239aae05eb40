#pragma once

// The scoreboard display, the spectators' window.
// It owns its elements and their layout and draws the board view (board/boardview.h) of the
// match and the settings: clock band, score, period, penalties, pause sign, logo screen, black
// screen, names, title and running text, whenever the match or the settings report a change.
// Element colours and fonts come from the Settings record, and a confirmed configuration lays
// it out anew. layoutTablo()
// (display/layout.h) computes every bound and font size from the client size; FormResize
// writes the results into the widgets. The display never writes the settings: it reports its
// place (placeChanged) for the settings store. Monitors and the screen's ppi come from
// Platform::desktop.

#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "board/boardview.h"
#include "platform/color.h"

class Match;
class QTimer;
class RunTextView;
struct DisplayGroup;
class Settings;
class TFrameMerrowtide;
class Label;
class TLabel3D;
class PictureBox;
class TRunLabel;
struct Platform;
struct TSettings;

// A plain panel: a colour and an optional raised bevel of bevelWidth pixels.
class BevelPanel : public QWidget {
  Q_OBJECT

 public:
  explicit BevelPanel(QWidget* parent = nullptr);

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
  TFormTablo(Platform& platform, const Settings& settings, const Match& match,
             QWidget* parent = nullptr);
  ~TFormTablo() override;

  // Elements from bottom to top; the panels and the maker's mark always lie above the rest.
  Label* Label4;       // score
  Label* Label2;       // clock
  Label* Label1;       // title text
  Label* Label5;       // period number
  PictureBox* Image1;  // title picture
  TRunLabel* RunLabel;
  PictureBox* Logo1;
  PictureBox* Logo2;
  TLabel3D* LabelLogo1;
  TLabel3D* LabelLogo2;
  TLabel3D* Label3;  // team names
  TLabel3D* LabelStraf1a;
  TLabel3D* LabelStraf1b;
  TLabel3D* LabelStraf2a;
  TLabel3D* LabelStraf2b;
  Label* LabelData;  // today's date
  BevelPanel* PanelPause;
  BevelPanel* PanelPauseRed;
  BevelPanel* PanelLogo;
  PictureBox* Logo;  // the logo screen's picture
  TFrameMerrowtide* FrameMerrowtide1;
  BevelPanel* PanelBlack;

  // The window colour C0.
  TColor color() const { return color_; }
  void setColor(TColor c);

  // Lays the elements out for the current client size and view.
  void FormResize();
  // Whenever the display becomes the active window.
  void FormActivate();
  // The display refuses to close; the program ends through the console.
  bool FormCloseQuery() const { return false; }
  // The place and colours stored at the last exit: the colours only when all five were read.
  void takeStoredPlace(const DisplayGroup& stored);

  // Full screen on the console's monitor, or a sizeable window, from TSettings::FullScr.
  void ApplyScreenMode();
  // Maps the window again on its monitor when it is not on the screen (hidden, minimised, or
  // unmapped behind the program's back), and raises it.
  void showOnItsMonitor();
  // The display's part of a confirmed configuration, after the record took it: the title
  // picture and both team logos read again (their files may be new), the layout for the
  // record's view, the screen mode, and the chosen monitor covered when it changed.
  void takeConfiguration(bool monitorChanged);
  // Window bounds := the bounds of the record's monitor (in window mode with the frame, also
  // when the window manager draws it only after this call).
  void coverMonitor();
  // Shrinks the label's font until its current text fits the label.
  void FitFont(Label* label);
  // The configuration's Default: the base font (Arial bold, white) goes onto the window and
  // the period number, whose font is no element font of the settings record.
  void resetBaseFont();
  // Puts the element colours C0 … C4 of the settings record on the elements.
  void ApplyColors();
  // (Re)loads both team logos, pictures or texts, for the current team names.
  void LoadTeamLogos();
  // Title text or title picture by TSettings::TitelType; a picture that fails to load leaves
  // the title as it was.
  void ApplyTitle();

  // Command-line limits and placement, applied after creation and before the first show.
  // A limit of 0 or less means no limit. Offsets are relative to the console's monitor.
  void limitWidth(int pixels);
  void limitHeight(int pixels);
  void placeLeft(int offset);
  void placeTop(int offset);
  // Bounds of the console's monitor (the first one for an index that names none).
  QRect selectedMonitor() const;
  // A logo-screen picture was found beside the program.
  bool hasLogoScreen() const { return hasLogoScreen_; }

 signals:
  // The display became the active window.
  void activated();
  // The running text finished a pass.
  void runTextEnded();
  // The window moved or changed size: its client size and outer position.
  void placeChanged(const QSize& clientSize, const QPoint& position);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FormCreate();
  void createElements();
  // The board as the match and the settings make it now.
  BoardView view() const;
  void render();
  // The band's countdown colours come from no element colour: leaving a countdown puts the
  // settings' colours back.
  void renderClockBand(const ClockBand& band);
  void applySettings(const TSettings& before);
  void applyFonts();
  void loadLogoScreen();
  // The largest size a picture can be shown at; decoded pictures are kept no larger.
  QSize largestPictureSize() const;
  // LabelLogo1, then LabelLogo2, to the top of the labels, still below panels and frame.
  void raiseLogoTexts();
  void applyPenaltyFonts(const BoardView& board);
  // The smallest outer size is 320 × 240: the client's limit leaves room for the frame.
  void limitOuterSize();
  // Window mode: the window with `frame` (outer minus client size) covers `monitor`.
  void coverWithFrame(const QRect& monitor, const QSize& frame);
  // The window manager's frame around the window, when one is reported and plausible.
  std::optional<QSize> windowFrame(const QRect& monitor) const;
  void coverOnceFramed();
  QSize outerSize() const;

  Platform& platform_;
  const Settings& settings_;
  const Match& match_;
  std::unique_ptr<RunTextView> runText_;
  // A monitor to cover in window mode once the window manager has put its frame around the
  // window: a window that just left full screen has none yet and reports a frame of 0.
  std::optional<QRect> coverWhenFramed_;
  QTimer* frameWatch_;
  int framePolls_ = 0;
  bool countdownShown_ = false;  // the clock band shows a time-out or the break
  BoardView shown_;              // the board drawn last, to raise a screen only when it comes on
  QFont penaltyFont_;            // the penalty times' font of the last layout pass
  QSize laidOutOuter_;           // the outer size the last layout pass was made for
  int ppi_;
  TColor color_ = colors::black;
  bool hasLogoScreen_ = false;
};
