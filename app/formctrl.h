#pragma once

// The operator console, the program's main window.
// It owns the match state (MatchClock), the penalty table (PenaltyTable), both scores, the
// period number and the settings record TSettings, and it is their only writer. Every change is
// written at once into its own controls and straight into the display's named elements
// (Label2 clock, Label4 score, Label5 period, LabelStraf1a..2b penalties, PanelPause...).
// The arithmetic lives in plain code: MatchClock, PenaltyTable, ClockText/SpanText.
// Keys reach the commands through actions that are never shown in a menu bar.

#include <QWidget>
#include <array>
#include <optional>

#include "core/matchclock.h"
#include "core/penaltytable.h"
#include "display/consolelink.h"
#include "platform/identity.h"
#include "settings/tsettings.h"

class QAction;
class QCheckBox;
class QKeyEvent;
class QLabel;
class TPictureBox;
class TRunTextControls;
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
struct Platform;

class TFormCtrl : public QWidget, public ConsoleLink {
  Q_OBJECT

 public:
  static constexpr const char* kAppTitle = identity::kTitle;
  static constexpr const char* kVersion = identity::kVersion;

  explicit TFormCtrl(Platform& platform, QWidget* parent = nullptr);
  ~TFormCtrl() override;

  // The windows created after the console; the console reaches them through these.
  void attachWindows(TFDlgYesNo* yesNo, TFormTablo* display, TCfgDialog* config, TFormInfo* info);
  // Writes the console's settings group; called at exit after the display stored its own.
  void FormDestroy();

  // ConsoleLink
  TSettings& settings() override { return settings_; }
  void setNamesHeader(const QString& text) override;
  void setPenaltyLabelsVisible(bool visible) override;
  void endAllPenalties() override;
  void setConsoleClockText(const QString& text) override;
  QString clockText(int seconds) const override;
  void displayActivated() override;
  void enableLogoCommand() override;

  // Runs the enabled command that carries the key, as its shortcut would; false if none does.
  bool runCommandForKey(const QKeyEvent& key);

  MatchClock::State state() const { return clock_.state(); }
  int score(int team) const { return score_[team - 1]; }
  int periodNumber() const;
  bool blinking() const;

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
  QWidget* Panel3;
  QTimer* Timer;
  TRunTextControls* RunText;  // the running-text list and its strip

  // Commands carrying the keys.
  QAction *Help1, *CFG1, *mInfo, *mTimerCountdown, *Start1, *Reset1;
  QAction *N111, *N11num1, *mGol1, *N112, *N211, *N21num1, *mGol2, *N212;
  QAction *mLogo, *mTime1, *Pause1, *SekPlus2, *SekMinus2, *SekPlus, *SekMinus, *Sek10plus,
      *Sek10Minus;
  QAction *ControlWindow, *Blackscreen1, *Periode1;
  QAction *mStatStart, *mRunStart, *mStartAll, *Clear1;
  std::array<QAction*, 5> mTym;

 public slots:
  void bPlayClick();
  void TimerTimer();
  void EndPeriod();
  void Reset1Click();
  void MinutePMClick(int stepSeconds);
  void cbCountdownClick();
  void mTimerCountdownClick();
  void Time1Click();
  void mTime1Click();
  void mTymClick(int period);
  void sbTaymUpClick();
  void sbTaymDownClick();
  void LabelTaymClick();
  void SchetDownClick(int operation);
  void LabStrafe_Click(int slot);
  void ShowPenalty(int slot, int elapsedSeconds);
  void ReleasePenalty(int team);
  void ShowScore();
  void ShowPeriod();
  void Help1Click();
  void CFG1Click();
  void mInfoClick();
  void Image1Click();
  void ControlWindowClick();
  void mLogoClick();
  void Blackscreen1Click();
  void FitNamesFont();
  // One step of the end-of-period blink; driven by a 500 ms timer.
  void blinkStep();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormActivate();
  bool FormCloseQuery();
  void createControls();
  void createCommands();
  QAction* addCommand(const char* name, const QString& caption, const QKeySequence& key = {});
  // The enabled command whose key is the pressed one, if any.
  QAction* commandForKey(const QKeyEvent& key) const;
  void setClocks(const QString& text);
  void setPlayButton(const char* caption, TColor colour);
  void changeScore(int team, int delta);
  void setPeriod(int period);
  TColor penaltyActiveColour() const;
  TColor penaltyIdleColour() const;
  TLabel* penaltyLabel(int slot) const;
  TLabel* displayPenaltyLabel(int slot) const;
  void chooseSoundFile();
  void LoadConsoleSettings();
  void SaveConsoleSettings();

  Platform& platform_;
  TSettings settings_;
  MatchClock clock_;
  PenaltyTable penalties_;
  std::array<int, 2> score_{0, 0};
  bool warningStarted_ = false;
  int blinkStepsLeft_ = 0;
  QTimer* blinkTimer_;
  std::optional<QPoint> rememberedPos_;  // a stored position; none on a first run
  QString helpFile_;

  TFDlgYesNo* FDlgYesNo = nullptr;
  TFormTablo* FormTablo = nullptr;
  TCfgDialog* CfgDialog = nullptr;
  TFormInfo* FormInfo = nullptr;
};
