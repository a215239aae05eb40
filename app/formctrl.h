#pragma once

// The operator console, the program's main window.
// Its handlers turn keys and clicks into calls of the command layer (commands/commands.h),
// after asking the operator where a command needs a question; it keeps none of the match, the
// settings or the running-text list itself. When the match changes, render() draws the
// console's controls from the match's state and runs the clock and blink timers; when the
// settings change, applySettings() takes the console's part (count direction, Strafe RESET,
// names header, penalty labels). Keys reach the handlers through actions that are never shown
// in a menu bar. The running-text list and its strip are TRunTextControls.

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "platform/color.h"
#include "platform/identity.h"

class Commands;
class QAction;
class QCheckBox;
class QKeyEvent;
class QLabel;
class PenaltyActions;
class TPenaltyList;
class TPictureBox;
class TRunTextControls;
class JournalStatusLine;
class QTimer;
class QToolButton;
class TCfgDialog;
class TFDlgYesNo;
class TFormInfo;
class TFormTablo;
class TLabel;
class TLabel3D;
class TOvalButton;
class TSpinButton;
struct ConsoleGroup;
struct Platform;

class TFormCtrl : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kAppTitle = identity::kTitle;
  static constexpr const char* kVersion = identity::kVersion;

  TFormCtrl(Platform& platform, Commands& commands, QWidget* parent = nullptr);
  ~TFormCtrl() override;

  // The windows created after the console; the console reaches them through these.
  void attachWindows(TFDlgYesNo* yesNo, TFormTablo* display, TCfgDialog* config, TFormInfo* info);
  // The place stored at the last exit: left and top edge, client height.
  void takeStoredPlace(const ConsoleGroup& stored);

  // Runs the enabled command that carries the key, as its shortcut would; false if none does.
  bool runCommandForKey(const QKeyEvent& key);

  // Controls (objectName = member name).
  QWidget* Panel1;
  TLabel3D* LabelNameCommands;
  TPictureBox* ImagePole;
  TOvalButton *ObHelp, *ObCFG, *ObInfo;
  TLabel3D* LabelTime;
  TSpinButton* sbSek;
  QCheckBox* cbCountdown;
  QCheckBox* Time1;
  TLabel3D* LabelTaym;
  TSpinButton* sbTaym;
  QToolButton *SpeedButton1, *SpeedButton2;
  TLabel3D *LabelC1, *LabelC2;
  TSpinButton *Schet1, *Schet2;
  TOvalButton* bPlay;
  TOvalButton* bReset;
  TLabel3D *LabStrafe1_1, *LabStrafe1_2, *LabStrafe2_1, *LabStrafe2_2;
  QCheckBox* cbStrReset;
  QLabel* Image1;
  QWidget* Panel2;
  QWidget* ListArea;
  // Every penalty, above the running-text list where the sport has more than the display's
  // two slots per team can show (not in "standard").
  TPenaltyList* PenaltyList;
  QWidget* Panel3;
  QTimer* Timer;
  TRunTextControls* RunText;  // the running-text list and its strip

  // Commands carrying the keys.
  QAction *Help1, *CFG1, *mInfo, *mTimerCountdown, *Start1, *Reset1;
  QAction *N111, *N11num1, *N112, *N211, *N21num1, *N212;
  QAction *mLogo, *mTime1, *Pause1, *SekPlus, *SekMinus, *Sek10plus, *Sek10Minus;
  QAction *ControlWindow, *Blackscreen1, *Periode1, *mReport;
  QAction* mRemote;  // Ctrl+R: the remote control, run by its owner (RemoteLoader)
  QAction *mStatStart, *mRunStart, *mStartAll, *Clear1;
  std::array<QAction*, 5> mTym;
  // Team time-outs and the break (app/consolecountdown.cpp): a button and a line of time-outs
  // taken and left per team, the break button, and their keys.
  std::array<QToolButton*, 2> bTimeout{};
  std::array<QLabel*, 2> LabelTimeouts{};
  QToolButton* bBreak = nullptr;
  QAction *mTimeout1 = nullptr, *mTimeout2 = nullptr, *mTimeoutEnd = nullptr, *mBreak = nullptr;

  // Setting the time, undo, the horn and the mute switch: keys and buttons.
  QAction* mSetClock;  // Ctrl+T "Zeit setzen…"
  QAction* mUndo;      // Ctrl+Backspace "Rückgängig"
  QAction* mHorn;      // Ctrl+H "Horn"
  QAction* mMute;      // Ctrl+M "Ton aus", checkable
  // Clock corrections on keys every laptop has: Ctrl+PgUp/PgDown one minute, with Shift ten
  // seconds, as Ctrl + keypad +/- do.
  QAction *SekPlusPage, *SekMinusPage, *Sek10plusPage, *Sek10MinusPage;
  QToolButton *bSetClock, *bUndo, *bHorn, *bMute;
  // One line across the console for what a command refused or did, shown for a few seconds:
  // no box that needs OK while the match goes on.
  void say(const QString& line);

  // Asks for the clock time, m:ss or h:mm:ss, offering `shown`; nothing when cancelled.
  std::function<std::optional<QString>(QWidget* parent, const QString& shown)> askClockTime;

 signals:
  // "Spielbericht" (Ctrl+E): the operator wants the match report saved.
  void reportRequested();
  // The console window was moved or resized: its outer bounds.
  void placeChanged(const QRect& bounds);

 public slots:
  void bPlayClick();
  void TimerTimer();
  void Reset1Click();
  void MinutePMClick(int stepSeconds);
  void cbCountdownClick();
  void mTimerCountdownClick();
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
  void mLogoClick();
  void Blackscreen1Click();
  void FitNamesFont();
  void SetClockClick();
  void UndoClick();
  void HornClick();
  void MuteClick(bool muted);

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
  void createCommands();
  void createClockAndUndoControls();
  QAction* addCommand(const char* name, const QString& caption, const QKeySequence& key = {});
  // The enabled command whose key is the pressed one, if any.
  QAction* commandForKey(const QKeyEvent& key) const;
  void connectControls();
  void createCountdownControls();
  void renderCountdown();
  // A team's time-out button: its time-out ends while it runs, else one starts.
  void timeoutClick(int team);
  void breakClick();
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
  QTimer* blinkTimer_;
  JournalStatusLine* commandLine_;
  QTimer* commandLineShown_;
  bool consoleInFront_ = true;  // Ctrl+C brings the other window to the front
  int blinkShown_ = 0;  // blink steps left when last drawn, to start the timer with a new blink
  std::optional<QPoint> rememberedPos_;   // a stored position; none on a first run
  std::optional<int> storedOuterHeight_;  // until the frame is known
  QString helpFile_;

  TFDlgYesNo* FDlgYesNo = nullptr;
  TFormTablo* FormTablo = nullptr;
  TCfgDialog* CfgDialog = nullptr;
  TFormInfo* FormInfo = nullptr;
};
