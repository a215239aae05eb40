#include "app/formctrl.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include "app/courtpicture.h"
#include "config/cfgdialog.h"
#include "config/periodlength.h"
#include "core/match.h"
#include "widgets/label3d.h"
#include "widgets/picturebox.h"
#include "display/tablo.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/helpfile.h"
#include "platform/helpviewer.h"
#include "platform/picture.h"
#include "platform/platform.h"
#include "platform/programfolder.h"
#include "platform/sound.h"
#include "platform/tickcounter.h"
#include "settings/settings.h"
#include "settings/settingsgroups.h"
#include "ticker/runtextcontrols.h"
#include "widgets/appicon.h"
#include "widgets/dlgyesno.h"
#include "widgets/forminfo.h"
#include "widgets/glyphs.h"
#include "widgets/ovalbutton.h"
#include "widgets/spinbutton.h"

namespace {

constexpr int kClientWidth = 428;
constexpr int kClientHeight = 515;
constexpr int kMinClientHeight = 434;
constexpr int kUpperPanelHeight = 358;
constexpr int kStripHeight = 34;
constexpr int kEditPanelHeight = 32;
constexpr int kBlinkIntervalMs = 500;
constexpr TColor kHeaderOrange = 0x2070D0;
constexpr TColor kClockGreen = 0x006000;
constexpr const char* kEndSignal = "Ton-ende.wav";

QString styleColour(TColor c) { return toQColor(c).name(); }

QFont arialBold(int pixelSize) {
  QFont font("Arial");
  font.setBold(true);
  font.setPixelSize(pixelSize);
  return font;
}

// Places a label with its font and colours in one call; the console has many of them.
TLabel3D* makeLabel(QWidget* parent, const char* name, const QRect& bounds, const QString& text,
                    const QFont& font, TColor textColour) {
  auto* label = new TLabel3D(parent);
  label->setObjectName(name);
  label->setGeometry(bounds);
  label->setCaption(text);
  label->setFont(font);
  label->setFontColor(textColour);
  label->setTransparent(true);
  label->setAlignment(TLabel::Alignment::Center);
  label->setTextLayout(TLabel::TextLayout::Center);
  return label;
}

TSpinButton* makeSpin(QWidget* parent, const char* name, const QRect& bounds, const QString& hint) {
  auto* spin = new TSpinButton(parent);
  spin->setObjectName(name);
  spin->setGeometry(bounds);
  spin->setToolTip(hint);
  return spin;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QPoint& at, const QString& text,
                     const QString& hint) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  box->move(at);
  box->setToolTip(hint);
  box->setFocusPolicy(Qt::NoFocus);
  box->setStyleSheet(
      QString("QCheckBox { color: %1; font: bold 11px 'Arial'; }").arg(styleColour(colors::lime)));
  box->adjustSize();
  return box;
}

MatchRules matchRules(const TSettings& s) { return {s.Time, s.CountDown, s.SoundTime, s.StrReset}; }

}  // namespace

TFormCtrl::TFormCtrl(Platform& platform, Settings& settings, Match& match, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      platform_(platform),
      settings_(settings),
      match_(match) {
  setObjectName("FormCtrl");
  setWindowIcon(applicationIcon());
  createControls();
  createCommands();
  blinkTimer_ = new QTimer(this);
  blinkTimer_->setInterval(kBlinkIntervalMs);
  connect(blinkTimer_, &QTimer::timeout, &match_, &Match::blinkStep);
  connect(&match_, &Match::changed, this, &TFormCtrl::render);
  connect(&settings_, &Settings::changed, this, &TFormCtrl::applySettings);
  connect(&match_, &Match::warningDue, this,
          [this] { platform_.sound.play(settings_.record().SoundFile, settings_.record().SLoop); });
  connect(&match_, &Match::periodEnded, this, [this] {
    platform_.sound.stopAll();
    platform_.sound.play(kEndSignal, false);
  });
  qApp->installEventFilter(this);
  FormCreate();
  applySettings();
  render();
}

TFormCtrl::~TFormCtrl() { qApp->removeEventFilter(this); }

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

  LabelNameCommands = makeLabel(Panel1, "LabelNameCommands", {0, 0, kClientWidth, 24},
                                "HEIM - GAST", arialBold(24), colors::black);
  LabelNameCommands->setBevel(TLabel3DBevel::blNone);
  LabelNameCommands->setTransparent(false);
  LabelNameCommands->setColor(kHeaderOrange);

  auto makeOvalButton = [this](const char* name, const QRect& bounds, const QString& hint) {
    auto* button = new TOvalButton(Panel1);
    button->setObjectName(name);
    button->setGeometry(bounds);
    button->setToolTip(hint);
    return button;
  };
  ObHelp = makeOvalButton("ObHelp", {15, 39, 37, 37}, "[F1] Help");
  ObHelp->setGlyph(glyphs::help(), true);
  ObCFG = makeOvalButton("ObCFG", {52, 39, 37, 37}, "[F2] Configuration");
  ObCFG->setGlyph(glyphs::configuration(), true);
  ObInfo = makeOvalButton("ObInfo", {89, 39, 37, 37}, "[F3] Information");
  ObInfo->setGlyph(glyphs::information(), true);

  LabelTime =
      makeLabel(Panel1, "LabelTime", {133, 29, 163, 54}, "45:00", arialBold(60), colors::yellow);
  LabelTime->setHighLightColor(colors::black);
  LabelTime->setTransparent(false);
  LabelTime->setColor(kClockGreen);
  sbSek = makeSpin(Panel1, "sbSek", {293, 30, 17, 52}, "Correct time (Shift+Ctrl +/-)");
  cbCountdown = makeCheck(Panel1, "cbCountdown", {318, 38}, "Countdown", "[F4] Countdown timer");
  cbCountdown->setChecked(true);
  Time1 = makeCheck(Panel1, "Time1", {318, 61}, "Zeit anzeigen", "[Ctrl+Z]");
  Time1->setChecked(true);

  LabelTaym = makeLabel(Panel1, "LabelTaym", {189, 83, 43, 40}, "0", arialBold(37), colors::grey);
  LabelTaym->setToolTip("[Alt+0..4] Half-time ");
  LabelTaym->setFillGradient(true);
  LabelTaym->setGradientOrientation(TGradientOrientation::goVertical);
  LabelTaym->setFirstColor(colors::green);
  LabelTaym->setLastColor(colors::white);
  sbTaym = makeSpin(Panel1, "sbTaym", {233, 85, 17, 37}, "[Alt+0..4] Period");

  auto makeGoalButton = [this](const char* name, int left, const QString& hint, bool mirrored) {
    auto* button = new QToolButton(Panel1);
    button->setObjectName(name);
    button->setGeometry(left, 132, 48, 85);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(hint);
    button->setIconSize(QSize(44, 81));
    button->setIcon(QPixmap::fromImage(glyphs::goal(QSize(44, 81)).mirrored(mirrored, false)));
    return button;
  };
  SpeedButton1 = makeGoalButton("SpeedButton1", 12, "[F11] +1 Goal (HOME team left)", false);
  SpeedButton2 = makeGoalButton("SpeedButton2", 368, "[F12] +1 Goal (GUEST team right)", true);

  LabelC1 = makeLabel(Panel1, "LabelC1", {65, 139, 67, 74}, "0", arialBold(61), colors::red);
  LabelC1->setAlignment(TLabel::Alignment::RightJustify);
  LabelC1->setShadowSize(2);
  LabelC1->setToolTip(SpeedButton1->toolTip());
  LabelC2 = makeLabel(Panel1, "LabelC2", {294, 139, 67, 74}, "0", arialBold(61), colors::red);
  LabelC2->setAlignment(TLabel::Alignment::LeftJustify);
  LabelC2->setShadowSize(2);
  LabelC2->setToolTip(SpeedButton2->toolTip());
  Schet1 = makeSpin(Panel1, "Schet1", {138, 152, 17, 49}, "-1 [Ctrl+F11]");
  Schet2 = makeSpin(Panel1, "Schet2", {269, 152, 17, 49}, "-1 [Ctrl+F12]");

  bPlay = makeOvalButton("bPlay", {186, 147, 57, 57}, "[F5] Play/Pause");
  bPlay->setFont(arialBold(13));
  bReset = makeOvalButton("bReset", {180, 244, 70, 29}, "[F10] Game Reset 0:0");
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
      makeLabel(Panel1, "LabStrafe1_1", {90, 224, 76, 36}, "2:00", penaltyFont, colors::white);
  LabStrafe1_2 =
      makeLabel(Panel1, "LabStrafe1_2", {90, 258, 76, 36}, "2:00", penaltyFont, colors::white);
  LabStrafe2_1 =
      makeLabel(Panel1, "LabStrafe2_1", {256, 224, 76, 36}, "2:00", penaltyFont, colors::white);
  LabStrafe2_2 =
      makeLabel(Panel1, "LabStrafe2_2", {256, 258, 76, 36}, "2:00", penaltyFont, colors::white);
  for (TLabel3D* label : {LabStrafe1_1, LabStrafe1_2, LabStrafe2_1, LabStrafe2_2}) {
    label->setBevel(TLabel3DBevel::blShadow);
    label->setShadowColor(colors::black);
    label->setHighLightColor(colors::lime);
  }
  for (TLabel3D* label : {LabStrafe2_1, LabStrafe2_2})
    label->setAlignment(TLabel::Alignment::RightJustify);

  cbStrReset = makeCheck(Panel1, "cbStrReset", {168, 302}, "Strafe  RESET", QString());

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
  Panel3 = new QWidget(this);
  Panel3->setObjectName("Panel3");

  RunText = new TRunTextControls(Panel2, ListArea, Panel3, match_, platform_.dialogs,
                                 programFolder(), this);

  Timer = new QTimer(this);
  Timer->setObjectName("Timer");
  Timer->setInterval(200);
  connect(Timer, &QTimer::timeout, this, &TFormCtrl::TimerTimer);

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
  connect(SpeedButton1, &QToolButton::clicked, this, [this] { SchetDownClick(1); });
  connect(LabelC1, &TLabel::clicked, this, [this] { SchetDownClick(1); });
  connect(Schet1, &TSpinButton::upClick, this, [this] { SchetDownClick(1); });
  connect(Schet1, &TSpinButton::downClick, this, [this] { SchetDownClick(2); });
  connect(SpeedButton2, &QToolButton::clicked, this, [this] { SchetDownClick(3); });
  connect(LabelC2, &TLabel::clicked, this, [this] { SchetDownClick(3); });
  connect(Schet2, &TSpinButton::upClick, this, [this] { SchetDownClick(3); });
  connect(Schet2, &TSpinButton::downClick, this, [this] { SchetDownClick(4); });
  for (int i = 0; i < 4; ++i)
    connect(penaltyLabels()[i], &TLabel::clicked, this, [this, i] { LabStrafe_Click(i); });
  connect(cbStrReset, &QCheckBox::toggled, this,
          [this](bool on) { settings_.change([on](TSettings& s) { s.StrReset = on; }); });
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
  mGol1 = addCommand("mGol1", "1. -1n");
  N112 = addCommand("N112", "1. -1", Qt::CTRL | Qt::Key_F11);
  N211 = addCommand("N211", "2. +1", Qt::Key_F12);
  N21num1 = addCommand("N21num1", "2. -1num", Qt::CTRL | Qt::Key_Down);
  mGol2 = addCommand("mGol2", "2. -1n");
  N212 = addCommand("N212", "2. -1", Qt::CTRL | Qt::Key_F12);
  mLogo = addCommand("mLogo", "Logo", Qt::CTRL | Qt::Key_L);
  mLogo->setCheckable(true);
  mLogo->setEnabled(false);
  mTime1 = addCommand("mTime1", "Zeit", Qt::CTRL | Qt::Key_Z);
  mTime1->setCheckable(true);
  mTime1->setChecked(true);
  Pause1 = addCommand("Pause1", "Pause", Qt::CTRL | Qt::Key_Space);
  SekPlus2 = addCommand("SekPlus2", "MinPlus2");
  SekMinus2 = addCommand("SekMinus2", "MinMinus2");
  SekPlus = addCommand("SekPlus", "MinPlus");
  SekMinus = addCommand("SekMinus", "MinMinus");
  Sek10plus = addCommand("Sek10plus", "Sek10plus");
  Sek10Minus = addCommand("Sek10Minus", "Sek10Minus");
  ControlWindow = addCommand("ControlWindow", "Control", Qt::CTRL | Qt::Key_C);
  ControlWindow->setCheckable(true);
  ControlWindow->setChecked(true);
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
  const std::pair<QAction*, int> scoreCommands[] = {{N111, 1}, {N112, 2}, {N11num1, 2}, {mGol1, 2},
                                                    {N211, 3}, {N212, 4}, {N21num1, 4}, {mGol2, 4}};
  for (auto [action, operation] : scoreCommands)
    connect(action, &QAction::triggered, this, [this, op = operation] { SchetDownClick(op); });
  const std::pair<QAction*, int> corrections[] = {{SekPlus, 60},   {SekMinus, -60},
                                                  {Sek10plus, 10}, {Sek10Minus, -10},
                                                  {SekPlus2, 60},  {SekMinus2, -60}};
  for (auto [action, step] : corrections)
    connect(action, &QAction::triggered, this, [this, s = step] { MinutePMClick(s); });
  connect(mLogo, &QAction::triggered, this, &TFormCtrl::mLogoClick);
  connect(mTime1, &QAction::triggered, this, &TFormCtrl::mTime1Click);
  connect(ControlWindow, &QAction::triggered, this, &TFormCtrl::ControlWindowClick);
  connect(Blackscreen1, &QAction::triggered, this, &TFormCtrl::Blackscreen1Click);
  connect(Periode1, &QAction::triggered, this, &TFormCtrl::LabelTaymClick);
  connect(mReport, &QAction::triggered, this, &TFormCtrl::reportRequested);
  connect(mStatStart, &QAction::triggered, RunText, &TRunTextControls::mStatStartClick);
  connect(mRunStart, &QAction::triggered, RunText, &TRunTextControls::mRunStartClick);
  connect(mStartAll, &QAction::triggered, RunText, &TRunTextControls::mStartAllClick);
  connect(Clear1, &QAction::triggered, RunText, &TRunTextControls::Clear1Click);
}

void TFormCtrl::FormCreate() {
  setWindowTitle(QString(kAppTitle) + " " + kVersion);
  ImagePole->setAttribute(Qt::WA_TransparentForMouseEvents);
  helpFile_ = programFile("chm");
  chooseSoundFile();
  const QString field = programFolder() + "/Hintergrund.jpg";
  if (QFileInfo::exists(field)) {
    const QImage picture =
        loadPicture(field, largestShownSize(size(), platform_.desktop.monitorBounds()));
    if (!picture.isNull()) ImagePole->setPicture(picture);
  }
  // The width is the field picture's; the window system adds its own frame around it.
  setFixedWidth(ImagePole->width());
  setMinimumHeight(kMinClientHeight);
  const Qt::KeyboardModifiers ctrlPad = Qt::ControlModifier | Qt::KeypadModifier;
  SekPlus->setShortcut(QKeyCombination(ctrlPad, Qt::Key_Plus));
  SekMinus->setShortcut(QKeyCombination(ctrlPad, Qt::Key_Minus));
  Sek10plus->setShortcut(QKeyCombination(ctrlPad | Qt::ShiftModifier, Qt::Key_Plus));
  Sek10Minus->setShortcut(QKeyCombination(ctrlPad | Qt::ShiftModifier, Qt::Key_Minus));
  LoadConsoleSettings();
  SpeedButton2->move(width() - SpeedButton2->width() - SpeedButton1->x(), SpeedButton2->y());
  FitNamesFont();
}

// The warning sound by default: the end signal beside the program, else its WMA twin,
// else the system's own notification sound.
void TFormCtrl::chooseSoundFile() {
  QString file = platform_.sound.systemSoundFile();
  if (QFileInfo::exists(kEndSignal))
    file = kEndSignal;
  else if (QFileInfo::exists("Ton-ende.wma"))
    file = "Ton-ende.wma";
  settings_.change([&file](TSettings& s) { s.SoundFile = file; });
}

void TFormCtrl::LoadConsoleSettings() {
  const ConsoleGroup stored = readConsoleGroup(platform_.settings);
  settings_.change([&stored](TSettings& s) { applyConsoleGroup(stored, s); });
  if (stored.L) move(*stored.L, y());
  if (stored.T) move(x(), *stored.T);
  // Without a stored position the window system places the console on its first show.
  if (stored.L || stored.T) rememberedPos_ = pos();
  // The width is fixed; the height is the client height (the window frame is not known
  // before the window is shown, so storing the outer height would grow it at every start).
  if (stored.H) resize(width(), qMax(*stored.H, kMinClientHeight));
}

void TFormCtrl::SaveConsoleSettings() {
  writeConsoleGroup(platform_.settings, settings_.record(), QRect(pos(), size()));
}

void TFormCtrl::attachWindows(TFDlgYesNo* yesNo, TFormTablo* display, TCfgDialog* config,
                              TFormInfo* info) {
  FDlgYesNo = yesNo;
  FormTablo = display;
  CfgDialog = config;
  FormInfo = info;
  mLogo->setEnabled(display->hasLogoScreen());
  connect(display, &TFormTablo::activated, this, [this] { ControlWindow->setChecked(false); });
  connect(display, &TFormTablo::runTextEnded, RunText, &TRunTextControls::RunLabelEnd);
  if (!config) return;
  // Font choices act on the display while the dialog is still open, even if it is cancelled.
  connect(config, &TCfgDialog::elementFontChosen, this, [this](int n, const ElementFont& font) {
    settings_.change([&](TSettings& s) { s.Fonts[n] = font; });
  });
  connect(config, &TCfgDialog::elementFontsReset, this,
          [this](const std::array<ElementFont, kElementFonts>& fonts) {
            settings_.change([&](TSettings& s) { s.Fonts = fonts; });
            if (FormTablo) FormTablo->resetBaseFont();
          });
}

void TFormCtrl::FormDestroy() { SaveConsoleSettings(); }

void TFormCtrl::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFormCtrl::FormShow() {
  if (rememberedPos_) move(*rememberedPos_);
}

void TFormCtrl::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TFormCtrl::FormActivate() {
  ControlWindow->setChecked(true);
  const QRect frame = frameGeometry();
  platform_.desktop.moveCursor({frame.left() + frame.width() / 2 + 2, frame.top() + 175});
}

void TFormCtrl::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  event->accept();
  // exit(), not quit(): quit() asks every window to close, and the display refuses.
  QCoreApplication::exit(0);
}

bool TFormCtrl::FormCloseQuery() {
  if (!FDlgYesNo) return true;
  FDlgYesNo->SetQuestion("Programm beenden?");
  return FDlgYesNo->exec() == QDialog::Accepted;
}

void TFormCtrl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int listTop = kUpperPanelHeight;
  const int editTop = height() - kEditPanelHeight;
  ListArea->setGeometry(0, listTop, width(), qMax(0, editTop - listTop));
  Panel3->setGeometry(0, editTop, width(), kEditPanelHeight);
  emit placeChanged();
}

void TFormCtrl::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  emit placeChanged();
}

// The console's keys win over the focused control (Ctrl+Z in the line editor switches the
// display clock instead of undoing), so a key that a command carries is not given to it.
bool TFormCtrl::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() == QEvent::ShortcutOverride) {
    if (widget && isAncestorOf(widget) && commandForKey(*static_cast<QKeyEvent*>(event)))
      return true;
  } else if (event->type() == QEvent::KeyPress && widget && window() == widget->window()) {
    // X11 and Wayland drop the keypad flag before matching shortcuts, so Ctrl + keypad +/-
    // find no command there and arrive as a plain key press.
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & Qt::KeypadModifier && runCommandForKey(*key)) return true;
  } else if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
    Image1Click();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool TFormCtrl::runCommandForKey(const QKeyEvent& key) {
  QAction* command = commandForKey(key);
  if (command) command->trigger();
  return command;
}

// The enabled command carrying the key. Like Qt's own shortcut lookup, a keypad key also
// matches without its keypad flag: keypad 1 with Num Lock off is Ctrl+End, the key of N11num1.
QAction* TFormCtrl::commandForKey(const QKeyEvent& key) const {
  const QKeyCombination pressed = key.keyCombination();
  const QKeyCombination plain(pressed.keyboardModifiers() & ~Qt::KeypadModifier, pressed.key());
  for (const QKeySequence& wanted : {QKeySequence(pressed), QKeySequence(plain)})
    for (QAction* action : actions())
      if (action->isEnabled() && action->shortcut() == wanted) return action;
  return nullptr;
}

// ---- Drawing the match and the settings ---------------------------------------------------

std::array<TLabel3D*, 4> TFormCtrl::penaltyLabels() const {
  return {LabStrafe1_1, LabStrafe1_2, LabStrafe2_1, LabStrafe2_2};
}

void TFormCtrl::render() {
  const MatchState& s = match_.state();
  const bool running = s.clock == MatchClock::Running;
  LabelTime->setCaption(s.clockText());
  LabelTime->setFontColor(s.clockShown ? colors::yellow : colors::grey);
  Time1->setChecked(s.clockShown);
  mTime1->setChecked(s.clockShown);
  bPlay->setCaption(running ? "Pause" : "Play");  // the next action
  bPlay->setColor(running ? colors::yellow : colors::lime);
  bReset->setEnabled(s.started);
  sbSek->setEnabled(s.correctionOffered());
  if (running != Timer->isActive()) running ? Timer->start() : Timer->stop();
  if (s.blinkStepsLeft > blinkShown_)
    blinkTimer_->start();
  else if (!s.blinking())
    blinkTimer_->stop();
  blinkShown_ = s.blinkStepsLeft;

  LabelTaym->setCaption(QString::number(s.period));
  LabelTaym->setFontColor(s.period > 0 ? colors::black : colors::grey);
  LabelC1->setCaption(QString::number(s.score[0]));
  LabelC2->setCaption(QString::number(s.score[1]));
  // A running penalty takes the display's period colour, an idle one the score background.
  for (int i = 0; i < 4; ++i) {
    penaltyLabels()[i]->setCaption(s.penalties[i].text());
    penaltyLabels()[i]->setFontColor(s.penalties[i].active ? TFormTablo::kPeriodTextColour
                                                           : settings_.record().C[4]);
  }
  mLogo->setChecked(s.logoScreen);
}

void TFormCtrl::applySettings() {
  const TSettings& s = settings_.record();
  cbCountdown->setChecked(s.CountDown);
  cbStrReset->setChecked(s.StrReset);
  if (LabelNameCommands->caption() != s.CNames) {
    LabelNameCommands->setCaption(s.CNames);
    FitNamesFont();
  }
  for (TLabel3D* label : penaltyLabels()) label->setVisible(s.VidTablo < 2);
  match_.setRules(matchRules(s));
  render();
}

// ---- Commands: each is one call into the match or the settings --------------------------

void TFormCtrl::bPlayClick() { match_.playPause(platform_.tick.now()); }

void TFormCtrl::TimerTimer() { match_.tick(platform_.tick.now()); }

void TFormCtrl::Reset1Click() {
  if (platform_.dialogs.askOkCancel(this, kAppTitle, "Reset GAME?")) ResetGame();
}

void TFormCtrl::ResetGame() {
  platform_.sound.stopAll();
  match_.reset();
  platform_.dialogs.beep();
  bReset->setDown(false);
}

void TFormCtrl::MinutePMClick(int stepSeconds) { match_.correct(stepSeconds); }

void TFormCtrl::cbCountdownClick() {
  const bool on = cbCountdown->isChecked();
  settings_.change([on](TSettings& s) { s.CountDown = on; });
}

void TFormCtrl::mTimerCountdownClick() {
  settings_.change([](TSettings& s) { s.CountDown = !s.CountDown; });
}

void TFormCtrl::Time1Click() { match_.setClockShown(Time1->isChecked()); }

// The action has already flipped its own check mark.
void TFormCtrl::mTime1Click() { match_.setClockShown(mTime1->isChecked()); }

void TFormCtrl::mTymClick(int period) { match_.setPeriod(period); }

void TFormCtrl::sbTaymUpClick() { match_.periodUp(); }

void TFormCtrl::sbTaymDownClick() { match_.periodDown(); }

void TFormCtrl::LabelTaymClick() { match_.periodCycle(); }

// The score commands carry their operation: 1 home +1, 2 home -1, 3 guest +1, 4 guest -1.
void TFormCtrl::SchetDownClick(int operation) {
  if (operation < 1 || operation > 4) return;
  match_.changeScore(operation <= 2 ? 1 : 2, operation % 2 ? +1 : -1);
}

void TFormCtrl::LabStrafe_Click(int slot) { match_.penaltyClick(slot, platform_.tick.now()); }

// ---- Commands of the console -------------------------------------------------------------

void TFormCtrl::FitNamesFont() {
  QFont font = LabelNameCommands->font();
  int size = 19;
  for (; size >= 4; --size) {
    font.setPointSize(size);
    if (QFontMetrics(font).horizontalAdvance(LabelNameCommands->caption()) <=
        LabelNameCommands->width())
      break;
  }
  font.setPointSize(qMax(size, 4) - 1);
  LabelNameCommands->setFont(font);
}

void TFormCtrl::Help1Click() {
  if (const QString help = helpToShow(helpFile_); !help.isEmpty())
    platform_.help.showContents(this, help);
}

// The dialog is modal, but the clock and the running text keep going while it is open: their
// timers run in the dialog's event loop.
void TFormCtrl::CFG1Click() {
  if (!CfgDialog || CfgDialog->isVisible()) return;
  CfgDialog->fill(settings_.record());
  if (CfgDialog->exec() == QDialog::Accepted) applyConfiguration();
}

// The confirmed dialog goes into the record in one change, and the match and the display take
// their part. A period length that is no valid time refuses the rest: the fields taken before
// it (screen mode, view, sound, title, teams) are kept in the record and the title follows
// them, but the windows' layout and everything else stay as they were.
void TFormCtrl::applyConfiguration() {
  TSettings s = settings_.record();
  CfgDialog->takeSettings(s);
  const QString periodText = CfgDialog->periodText();
  const std::optional<int> time = periodSeconds(periodText);
  if (!time) {
    settings_.apply(s);
    platform_.dialogs.showError(this, kAppTitle,
                                QString("'%1' is not a valid time.").arg(periodText));
    return;
  }
  s.Time = *time;
  s.Title = CfgDialog->titleText();
  s.CNames = CfgDialog->namesText();
  s.C = CfgDialog->backgroundColors();
  s.Speed = CfgDialog->runSpeed();
  // With no monitor entry selected (monitors removed while running) the stored one stays.
  const std::optional<int> monitor = CfgDialog->selectedMonitor();
  const bool monitorChanged = monitor && *monitor != s.Monitor;
  if (monitorChanged) s.Monitor = *monitor;
  settings_.apply(s);

  // Both clocks show the start value until a running clock's next tick; every penalty stops
  // where it is and is resumed by a click on it.
  match_.showStartValue();
  match_.deactivatePenalties();
  if (FormTablo) FormTablo->takeConfiguration(monitorChanged);
}

void TFormCtrl::mInfoClick() {
  if (FormInfo) FormInfo->exec();
}

void TFormCtrl::Image1Click() { platform_.dialogs.openUrl(identity::kContactUrl); }

void TFormCtrl::ControlWindowClick() {
  // The action has already flipped its check mark.
  QWidget* front = ControlWindow->isChecked() ? static_cast<QWidget*>(this) : FormTablo;
  if (!front) return;
  front->raise();
  front->activateWindow();
}

// The action has already flipped its own check mark.
void TFormCtrl::mLogoClick() { match_.setLogoScreen(mLogo->isChecked()); }

void TFormCtrl::Blackscreen1Click() { match_.toggleBlackScreen(); }
