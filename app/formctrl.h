#pragma once

// The operator console, the program's main window.
// Its handlers turn clicks into calls of the session's command layer (commands/commands.h),
// after asking the operator where a command needs a question; it keeps none of the match, the
// settings or the running-text list itself, and runs no timer of the match: the session does
// (session/matchsession.h). When the match changes, render() draws the console's controls from
// the match's state and its board view (board/boardview.h), the same one the display
// draws; when the settings change, applySettings() takes the console's part (count
// direction, Strafe RESET, names header, penalty labels). The keys are the operator's key table
// (app/operatorkeys.h), installed on the console and the display alike; the handlers that ask
// first are public for it. The running-text list and its strip are RunTextControls.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "platform/color.h"
#include "platform/identity.h"

class Commands;
class MatchSession;
class QCheckBox;
class QLabel;
class PenaltyActions;
class PenaltyList;
class PictureBox;
class RunTextControls;
class JournalStatusLine;
class QTimer;
class QToolButton;
class TCfgDialog;
class TFDlgYesNo;
class TFormInfo;
class TFormTablo;
class Label;
class TLabel3D;
class TOvalButton;
class SpinButton;
struct BoardView;
struct ConsoleGroup;
struct Platform;

class TFormCtrl : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kAppTitle = identity::kTitle;
  static constexpr const char* kVersion = identity::kVersion;

  TFormCtrl(Platform& platform, MatchSession& session, QWidget* parent = nullptr);
  ~TFormCtrl() override;

  // The windows created after the console; the console reaches them through these.
  void attachWindows(TFDlgYesNo* yesNo, TFormTablo* display, TCfgDialog* config, TFormInfo* info);
  // The place stored at the last exit: left and top edge, client height.
  void takeStoredPlace(const ConsoleGroup& stored);

  // Controls (objectName = member name).
  QWidget* Panel1;
  TLabel3D* LabelNameCommands;
  PictureBox* ImagePole;
  TOvalButton *ObHelp, *ObCFG, *ObInfo;
  TLabel3D* LabelTime;
  SpinButton* sbSek;
  QCheckBox* cbCountdown;
  QCheckBox* Time1;
  TLabel3D* LabelTaym;
  SpinButton* sbTaym;
  QToolButton *SpeedButton1, *SpeedButton2;
  TLabel3D *LabelC1, *LabelC2;
  SpinButton *Schet1, *Schet2;
  TOvalButton* bPlay;
  TOvalButton* bReset;
  TLabel3D *LabStrafe1_1, *LabStrafe1_2, *LabStrafe2_1, *LabStrafe2_2;
  QCheckBox* cbStrReset;
  QLabel* Image1;
  QWidget* Panel2;
  QWidget* ListArea;
  // Every penalty, above the running-text list where the sport has more than the display's
  // two slots per team can show (not in "standard").
  PenaltyList* penaltyList;
  QWidget* Panel3;
  RunTextControls* RunText;  // the running-text list and its strip

  // Team time-outs and the break (app/consolematchnight.cpp): a button and a line of time-outs
  // taken and left per team, and the break button.
  std::array<QToolButton*, 2> bTimeout{};
  std::array<QLabel*, 2> LabelTimeouts{};
  QToolButton* bBreak = nullptr;

  // Setting the time (Ctrl+T), undo (Ctrl+Backspace), the horn (Ctrl+J) and the mute switch
  // (Ctrl+M).
  QToolButton *bSetClock, *bUndo, *bHorn, *bMute;
  // One line across the console for what a command refused or did, shown for a few seconds:
  // no box that needs OK while the match goes on.
  void say(const QString& line);

  // Asks for the clock time, m:ss or h:mm:ss, offering `shown`; nothing when cancelled.
  std::function<std::optional<QString>(QWidget* parent, const QString& shown)> askClockTime;

 signals:
  // The console window was moved or resized: its outer bounds.
  void placeChanged(const QRect& bounds);

 public slots:
  void bPlayClick();
  void Reset1Click();
  void MinutePMClick(int stepSeconds);
  void cbCountdownClick();
  void Time1Click();
  void mTymClick(int period);
  void sbTaymUpClick();
  void sbTaymDownClick();
  void LabelTaymClick();
  void SchetDownClick(int operation);
  void LabStrafe_Click(int slot);
  void Help1Click();
  void CFG1Click();
  void mInfoClick();
  void Image1Click();
  void ControlWindowClick();
  void FitNamesFont();
  void SetClockClick();
  void UndoClick();
  void HornClick();
  void MuteClick(bool muted);
  // A team's time-out button: its time-out ends while it runs, else one starts.
  void timeoutClick(int team);
  void breakClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormActivate();
  bool FormCloseQuery();
  void createControls();
  void createClockAndUndoControls();
  void connectControls();
  void createCountdownControls();
  void renderCountdown(const BoardView& board);
  // The board as the match and the settings make it now.
  BoardView board() const;
  void render();
  void applySettings();
  std::array<TLabel3D*, 4> penaltyLabels() const;
  // The penalty menu of a console penalty time (right-click), at `where`.
  void openPenaltyMenu(int slot, const QPoint& where);
  bool penaltiesListed() const;
  // The stored outer height, once the window system has told the frame.
  void takeStoredHeight();

  Platform& platform_;
  Commands& commands_;
  std::unique_ptr<PenaltyActions> penaltyActions_;
  JournalStatusLine* commandLine_;
  QTimer* commandLineShown_;
  bool consoleInFront_ = true;            // Ctrl+C brings the other window to the front
  std::optional<QPoint> rememberedPos_;   // a stored position; none on a first run
  std::optional<int> storedOuterHeight_;  // until the frame is known
  QString helpFile_;

  TFDlgYesNo* FDlgYesNo = nullptr;
  TFormTablo* FormTablo = nullptr;
  TCfgDialog* CfgDialog = nullptr;
  TFormInfo* FormInfo = nullptr;
};
