// The console's controls and the commands that carry its keys, built in code as a designer
// form would build them; app/formctrl.cpp has the window's behaviour.

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include "app/consolewidgets.h"
#include "app/courtpicture.h"
#include "app/formctrl.h"
#include "app/penaltymenu.h"
#include "commands/commands.h"
#include "core/match.h"
#include "platform/platform.h"
#include "ticker/runtextcontrols.h"
#include "widgets/glyphs.h"
#include "widgets/label3d.h"
#include "widgets/ovalbutton.h"
#include "widgets/picturebox.h"
#include "widgets/spinbutton.h"

using namespace consolewidgets;

void TFormCtrl::createControls() {
  resize(kClientWidth, kClientHeight);
  setStyleSheet("QToolTip { color: black; background: #ffffe1; }");

  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  Panel1->setAutoFillBackground(true);
  Panel1->setPalette(QPalette(Qt::black));
  Panel1->setGeometry(0, 0, kClientWidth, kUpperPanelHeight);

  ImagePole = new TPictureBox(Panel1);
  ImagePole->setObjectName("ImagePole");
  ImagePole->setGeometry(0, 24, kClientWidth, kUpperPanelHeight - 24 - kStripHeight);
  ImagePole->setStretch(true);
  ImagePole->setPicture(courtPicture(ImagePole->size()));

  LabelNameCommands = label(Panel1, "LabelNameCommands", {0, 0, kClientWidth, 24}, "HEIM - GAST",
                            arialBold(24), colors::black);
  LabelNameCommands->setBevel(TLabel3DBevel::blNone);
  LabelNameCommands->setTransparent(false);
  LabelNameCommands->setColor(kHeaderOrange);

  ObHelp = ovalButton(Panel1, "ObHelp", {15, 39, 37, 37}, "[F1] Help");
  ObHelp->setGlyph(glyphs::help(), true);
  ObCFG = ovalButton(Panel1, "ObCFG", {52, 39, 37, 37}, "[F2] Configuration");
  ObCFG->setGlyph(glyphs::configuration(), true);
  ObInfo = ovalButton(Panel1, "ObInfo", {89, 39, 37, 37}, "[F3] Information");
  ObInfo->setGlyph(glyphs::information(), true);

  LabelTime =
      label(Panel1, "LabelTime", {133, 29, 163, 54}, "45:00", arialBold(60), colors::yellow);
  LabelTime->setHighLightColor(colors::black);
  LabelTime->setTransparent(false);
  LabelTime->setColor(kClockGreen);
  sbSek = spin(Panel1, "sbSek", {293, 30, 17, 52}, "Correct time (Shift+Ctrl +/-)");
  cbCountdown = check(Panel1, "cbCountdown", {318, 38}, "Countdown", "[F4] Countdown timer");
  cbCountdown->setChecked(true);
  Time1 = check(Panel1, "Time1", {318, 61}, "Zeit anzeigen", "[Ctrl+Z]");
  Time1->setChecked(true);

  LabelTaym = label(Panel1, "LabelTaym", {189, 83, 43, 40}, "0", arialBold(37), colors::grey);
  LabelTaym->setToolTip("[Alt+0..4] Half-time ");
  LabelTaym->setFillGradient(true);
  LabelTaym->setGradientOrientation(TGradientOrientation::goVertical);
  LabelTaym->setFirstColor(colors::green);
  LabelTaym->setLastColor(colors::white);
  sbTaym = spin(Panel1, "sbTaym", {233, 85, 17, 37}, "[Alt+0..4] Period");

  SpeedButton1 = goalButton(Panel1, "SpeedButton1", 12, "[F11] +1 Goal (HOME team left)", false);
  SpeedButton2 = goalButton(Panel1, "SpeedButton2", 368, "[F12] +1 Goal (GUEST team right)", true);

  LabelC1 = label(Panel1, "LabelC1", {65, 139, 67, 74}, "0", arialBold(61), colors::red);
  LabelC1->setAlignment(TLabel::Alignment::RightJustify);
  LabelC1->setShadowSize(2);
  LabelC1->setShrinkToWidth(true);  // a three-digit score shows whole
  LabelC1->setToolTip(SpeedButton1->toolTip());
  LabelC2 = label(Panel1, "LabelC2", {294, 139, 67, 74}, "0", arialBold(61), colors::red);
  LabelC2->setAlignment(TLabel::Alignment::LeftJustify);
  LabelC2->setShadowSize(2);
  LabelC2->setShrinkToWidth(true);
  LabelC2->setToolTip(SpeedButton2->toolTip());
  Schet1 = spin(Panel1, "Schet1", {138, 152, 17, 49}, "-1 [Ctrl+F11]");
  Schet2 = spin(Panel1, "Schet2", {269, 152, 17, 49}, "-1 [Ctrl+F12]");

  bPlay = ovalButton(Panel1, "bPlay", {186, 147, 57, 57}, "[F5] Play/Pause");
  bPlay->setFont(arialBold(13));
  bReset = ovalButton(Panel1, "bReset", {180, 244, 70, 29}, "[F10] Game Reset 0:0");
  bReset->setCaption("Reset");
  bReset->setFont(arialBold(12));
  bReset->setColor(colors::red);
  bReset->setEnabled(false);

  const QFont penaltyFont = [] {
    QFont font("Courier New");
    font.setBold(true);
    font.setPixelSize(32);
    return font;
  }();
  LabStrafe1_1 =
      label(Panel1, "LabStrafe1_1", {90, 224, 76, 36}, "2:00", penaltyFont, colors::white);
  LabStrafe1_2 =
      label(Panel1, "LabStrafe1_2", {90, 258, 76, 36}, "2:00", penaltyFont, colors::white);
  LabStrafe2_1 =
      label(Panel1, "LabStrafe2_1", {256, 224, 76, 36}, "2:00", penaltyFont, colors::white);
  LabStrafe2_2 =
      label(Panel1, "LabStrafe2_2", {256, 258, 76, 36}, "2:00", penaltyFont, colors::white);
  for (TLabel3D* label : {LabStrafe1_1, LabStrafe1_2, LabStrafe2_1, LabStrafe2_2}) {
    label->setBevel(TLabel3DBevel::blShadow);
    label->setShadowColor(colors::black);
    label->setHighLightColor(colors::lime);
  }
  for (TLabel3D* label : {LabStrafe2_1, LabStrafe2_2})
    label->setAlignment(TLabel::Alignment::RightJustify);

  cbStrReset = check(Panel1, "cbStrReset", {168, 302}, "Strafe  RESET", QString());

  Image1 = new QLabel(Panel1);
  Image1->setObjectName("Image1");
  Image1->setGeometry(319, 292, 88, 16);
  Image1->setPixmap(QPixmap::fromImage(glyphs::webLink()));
  Image1->setToolTip(identity::kContactUrl);
  Image1->setCursor(Qt::PointingHandCursor);
  Image1->installEventFilter(this);

  Panel2 = new QWidget(Panel1);
  Panel2->setObjectName("Panel2");
  Panel2->setAutoFillBackground(true);
  Panel2->setPalette(QPalette(toQColor(kHeaderOrange)));
  Panel2->setGeometry(0, kUpperPanelHeight - kStripHeight, kClientWidth, kStripHeight);

  ListArea = new QWidget(this);
  ListArea->setObjectName("ListArea");
  PenaltyList = new TPenaltyList(*penaltyActions_, platform_.dialogs, askTextBox, this);
  PenaltyList->hide();
  Panel3 = new QWidget(this);
  Panel3->setObjectName("Panel3");

  RunText = new TRunTextControls(Panel2, ListArea, Panel3, commands_, platform_.dialogs, this);

  Timer = new QTimer(this);
  Timer->setObjectName("Timer");
  Timer->setInterval(200);
  blinkTimer_ = new QTimer(this);
  blinkTimer_->setInterval(kBlinkIntervalMs);
}

void TFormCtrl::connectControls() {
  connect(Timer, &QTimer::timeout, this, &TFormCtrl::TimerTimer);
  connect(blinkTimer_, &QTimer::timeout, &commands_, &Commands::blinkStep);
  connect(bPlay, &TOvalButton::clicked, this, &TFormCtrl::bPlayClick);
  connect(LabelTime, &TLabel::clicked, this, &TFormCtrl::bPlayClick);
  connect(bReset, &TOvalButton::clicked, this, &TFormCtrl::Reset1Click);
  connect(sbSek, &TSpinButton::upClick, this, [this] { MinutePMClick(10); });
  connect(sbSek, &TSpinButton::downClick, this, [this] { MinutePMClick(-10); });
  connect(cbCountdown, &QCheckBox::clicked, this, &TFormCtrl::cbCountdownClick);
  connect(Time1, &QCheckBox::clicked, this, &TFormCtrl::Time1Click);
  connect(LabelTaym, &TLabel::clicked, this, &TFormCtrl::LabelTaymClick);
  connect(sbTaym, &TSpinButton::upClick, this, &TFormCtrl::sbTaymUpClick);
  connect(sbTaym, &TSpinButton::downClick, this, &TFormCtrl::sbTaymDownClick);
  // The score controls carry their operation: 1 home +1, 2 home -1, 3 guest +1, 4 guest -1.
  const std::pair<QObject*, int> scoreClicks[] = {
      {SpeedButton1, 1}, {LabelC1, 1}, {SpeedButton2, 3}, {LabelC2, 3}};
  for (auto [control, operation] : scoreClicks) {
    const auto click = [this, op = operation] { SchetDownClick(op); };
    if (auto* button = qobject_cast<QToolButton*>(control))
      connect(button, &QToolButton::clicked, this, click);
    else
      connect(static_cast<TLabel*>(control), &TLabel::clicked, this, click);
  }
  connect(Schet1, &TSpinButton::upClick, this, [this] { SchetDownClick(1); });
  connect(Schet1, &TSpinButton::downClick, this, [this] { SchetDownClick(2); });
  connect(Schet2, &TSpinButton::upClick, this, [this] { SchetDownClick(3); });
  connect(Schet2, &TSpinButton::downClick, this, [this] { SchetDownClick(4); });
  for (int i = 0; i < 4; ++i) {
    TLabel3D* label = penaltyLabels()[i];
    connect(label, &TLabel::clicked, this, [this, i] { LabStrafe_Click(i); });
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(label, &QWidget::customContextMenuRequested, this,
            [this, i, label](const QPoint& at) { openPenaltyMenu(i, label->mapToGlobal(at)); });
  }
  connect(cbStrReset, &QCheckBox::toggled, &commands_, &Commands::setPenaltyRelease);
  connect(ObHelp, &TOvalButton::clicked, this, &TFormCtrl::Help1Click);
  connect(ObCFG, &TOvalButton::clicked, this, &TFormCtrl::CFG1Click);
  connect(ObInfo, &TOvalButton::clicked, this, &TFormCtrl::mInfoClick);
}

QAction* TFormCtrl::addCommand(const char* name, const QString& caption, const QKeySequence& key) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  action->setShortcut(key);
  action->setShortcutContext(Qt::WindowShortcut);
  addAction(action);
  return action;
}

void TFormCtrl::createCommands() {
  Help1 = addCommand("Help1", "Help", Qt::Key_F1);
  CFG1 = addCommand("CFG1", "CFG", Qt::Key_F2);
  mInfo = addCommand("mInfo", "Info", Qt::Key_F3);
  mTimerCountdown = addCommand("mTimerCountdown", "Timer/Countdown", Qt::Key_F4);
  Start1 = addCommand("Start1", "Start", Qt::Key_F5);
  Reset1 = addCommand("Reset1", "Reset", Qt::Key_F10);
  N111 = addCommand("N111", "1. +1", Qt::Key_F11);
  N11num1 = addCommand("N11num1", "1. -1num", Qt::CTRL | Qt::Key_End);
  N112 = addCommand("N112", "1. -1", Qt::CTRL | Qt::Key_F11);
  N211 = addCommand("N211", "2. +1", Qt::Key_F12);
  N21num1 = addCommand("N21num1", "2. -1num", Qt::CTRL | Qt::Key_Down);
  N212 = addCommand("N212", "2. -1", Qt::CTRL | Qt::Key_F12);
  mLogo = addCommand("mLogo", "Logo", Qt::CTRL | Qt::Key_L);
  mLogo->setCheckable(true);
  mLogo->setEnabled(false);
  mTime1 = addCommand("mTime1", "Zeit", Qt::CTRL | Qt::Key_Z);
  mTime1->setCheckable(true);
  mTime1->setChecked(true);
  Pause1 = addCommand("Pause1", "Pause", Qt::CTRL | Qt::Key_Space);
  // Ctrl + keypad +/-, with Shift by ten seconds; the keypad flag is set in FormCreate.
  SekPlus = addCommand("SekPlus", "MinPlus");
  SekMinus = addCommand("SekMinus", "MinMinus");
  Sek10plus = addCommand("Sek10plus", "Sek10plus");
  Sek10Minus = addCommand("Sek10Minus", "Sek10Minus");
  ControlWindow = addCommand("ControlWindow", "Control", Qt::CTRL | Qt::Key_C);
  Blackscreen1 = addCommand("Blackscreen1", "Black screen", Qt::CTRL | Qt::Key_B);
  Periode1 = addCommand("Periode1", "Drittel", Qt::CTRL | Qt::Key_D);
  mReport = addCommand("mReport", "Spielbericht", Qt::CTRL | Qt::Key_E);
  mStatStart = addCommand("mStatStart", "Static 1", Qt::Key_F6);
  mRunStart = addCommand("mRunStart", "Start 1", Qt::Key_F7);
  mStartAll = addCommand("mStartAll", "Start All", Qt::Key_F8);
  Clear1 = addCommand("Clear1", "Clear", Qt::Key_F9);
  mRemote = addCommand("mRemote", "Fernbedienung", Qt::CTRL | Qt::Key_R);
  auto* playback = new QActionGroup(this);
  for (QAction* start : {mStatStart, mRunStart, mStartAll}) {
    start->setCheckable(true);
    playback->addAction(start);
  }
  for (int i = 0; i < 5; ++i) {
    mTym[i] = addCommand(qPrintable(QString("mTym%1").arg(i)), QString::number(i),
                         Qt::ALT | Qt::Key(Qt::Key_0 + i));
    connect(mTym[i], &QAction::triggered, this, [this, i] { mTymClick(i); });
  }

  connect(Help1, &QAction::triggered, this, &TFormCtrl::Help1Click);
  connect(CFG1, &QAction::triggered, this, &TFormCtrl::CFG1Click);
  connect(mInfo, &QAction::triggered, this, &TFormCtrl::mInfoClick);
  connect(mTimerCountdown, &QAction::triggered, this, &TFormCtrl::mTimerCountdownClick);
  connect(Start1, &QAction::triggered, this, &TFormCtrl::bPlayClick);
  connect(Pause1, &QAction::triggered, this, &TFormCtrl::bPlayClick);
  connect(Reset1, &QAction::triggered, this, &TFormCtrl::Reset1Click);
  const std::pair<QAction*, int> scoreCommands[] = {{N111, 1}, {N112, 2}, {N11num1, 2},
                                                    {N211, 3}, {N212, 4}, {N21num1, 4}};
  for (auto [action, operation] : scoreCommands)
    connect(action, &QAction::triggered, this, [this, op = operation] { SchetDownClick(op); });
  const std::pair<QAction*, int> corrections[] = {
      {SekPlus, 60}, {SekMinus, -60}, {Sek10plus, 10}, {Sek10Minus, -10}};
  for (auto [action, step] : corrections)
    connect(action, &QAction::triggered, this, [this, s = step] { MinutePMClick(s); });
  connect(mLogo, &QAction::triggered, this, &TFormCtrl::mLogoClick);
  connect(mTime1, &QAction::triggered, this,
          [this] { commands_.setClockShown(!commands_.match().state().clockShown); });
  connect(ControlWindow, &QAction::triggered, this, &TFormCtrl::ControlWindowClick);
  connect(Blackscreen1, &QAction::triggered, this, &TFormCtrl::Blackscreen1Click);
  connect(Periode1, &QAction::triggered, this, &TFormCtrl::LabelTaymClick);
  connect(mReport, &QAction::triggered, this, &TFormCtrl::reportRequested);
  connect(mStatStart, &QAction::triggered, RunText, &TRunTextControls::mStatStartClick);
  connect(mRunStart, &QAction::triggered, RunText, &TRunTextControls::mRunStartClick);
  connect(mStartAll, &QAction::triggered, RunText, &TRunTextControls::mStartAllClick);
  connect(Clear1, &QAction::triggered, RunText, &TRunTextControls::Clear1Click);
  createClockAndUndoControls();
}

// "Zeit setzen…", "Rückgängig", the horn and the mute switch: their keys, the laptop keys for
// clock corrections, and four small buttons beside the penalty times.
void TFormCtrl::createClockAndUndoControls() {
  mSetClock = addCommand("mSetClock", "Zeit setzen…", Qt::CTRL | Qt::Key_T);
  mUndo = addCommand("mUndo", "Rückgängig", Qt::CTRL | Qt::Key_Backspace);
  mHorn = addCommand("mHorn", "Horn", Qt::CTRL | Qt::Key_J);
  mMute = addCommand("mMute", "Ton aus", Qt::CTRL | Qt::Key_M);
  mMute->setCheckable(true);
  SekPlusPage = addCommand("SekPlusPage", "MinPlus", Qt::CTRL | Qt::Key_PageUp);
  SekMinusPage = addCommand("SekMinusPage", "MinMinus", Qt::CTRL | Qt::Key_PageDown);
  Sek10plusPage = addCommand("Sek10plusPage", "Sek10plus", Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp);
  Sek10MinusPage =
      addCommand("Sek10MinusPage", "Sek10Minus", Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown);
  const std::pair<QAction*, int> corrections[] = {
      {SekPlusPage, 60}, {SekMinusPage, -60}, {Sek10plusPage, 10}, {Sek10MinusPage, -10}};
  for (auto [action, step] : corrections)
    connect(action, &QAction::triggered, this, [this, s = step] { MinutePMClick(s); });
  connect(mSetClock, &QAction::triggered, this, &TFormCtrl::SetClockClick);
  connect(mUndo, &QAction::triggered, this, &TFormCtrl::UndoClick);
  connect(mHorn, &QAction::triggered, this, &TFormCtrl::HornClick);
  connect(mMute, &QAction::triggered, this, [this] { MuteClick(mMute->isChecked()); });

  const auto button = [this](const char* name, const QString& text, const QString& hint,
                             const QRect& bounds) {
    auto* b = new QToolButton(Panel1);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setGeometry(bounds);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(arialBold(11));
    return b;
  };
  // In the court's free bands beside the period number; the time-out controls sit beside the
  // penalty times.
  bSetClock = button("bSetClock", "Zeit…", "[Ctrl+T] Zeit setzen…", {6, 92, 82, 28});
  bUndo = button("bUndo", "Rückgängig", "[Ctrl+Backspace] Rückgängig", {92, 92, 90, 28});
  bHorn = button("bHorn", "Horn", "[Ctrl+J] Horn", {256, 92, 80, 28});
  bMute = button("bMute", "Ton aus", "[Ctrl+M] Ton aus / an", {340, 92, 82, 28});
  bMute->setCheckable(true);
  connect(bSetClock, &QToolButton::clicked, this, &TFormCtrl::SetClockClick);
  connect(bUndo, &QToolButton::clicked, this, &TFormCtrl::UndoClick);
  connect(bHorn, &QToolButton::clicked, this, &TFormCtrl::HornClick);
  connect(bMute, &QToolButton::clicked, this, &TFormCtrl::MuteClick);
}
