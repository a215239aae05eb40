// The console's controls, built in code as a designer form would build them;
// app/formctrl.cpp has the window's behaviour, app/operatorkeys.cpp its keys.

#include <QCheckBox>
#include <QLabel>
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

  ImagePole = new PictureBox(Panel1);
  ImagePole->setObjectName("ImagePole");
  ImagePole->setGeometry(0, 24, kClientWidth, kUpperPanelHeight - 24 - kStripHeight);
  ImagePole->setStretch(true);
  ImagePole->setPicture(courtPicture(ImagePole->size()));

  LabelNameCommands = label(Panel1, "LabelNameCommands", {0, 0, kClientWidth, 24},
                            tr("HEIM - GAST"), arialBold(24), colors::black);
  LabelNameCommands->setBevel(TLabel3DBevel::blNone);
  LabelNameCommands->setTransparent(false);
  LabelNameCommands->setColor(kHeaderOrange);

  ObHelp = ovalButton(Panel1, "ObHelp", {15, 39, 37, 37}, tr("[F1] Help"));
  ObHelp->setGlyph(glyphs::help(), true);
  ObCFG = ovalButton(Panel1, "ObCFG", {52, 39, 37, 37}, tr("[F2] Configuration"));
  ObCFG->setGlyph(glyphs::configuration(), true);
  ObInfo = ovalButton(Panel1, "ObInfo", {89, 39, 37, 37}, tr("[F3] Information"));
  ObInfo->setGlyph(glyphs::information(), true);

  LabelTime =
      label(Panel1, "LabelTime", {133, 29, 163, 54}, "45:00", arialBold(60), colors::yellow);
  LabelTime->setHighLightColor(colors::black);
  LabelTime->setTransparent(false);
  LabelTime->setColor(kClockGreen);
  sbSek = spin(Panel1, "sbSek", {293, 30, 17, 52}, tr("Correct time (Shift+Ctrl +/-)"));
  cbCountdown =
      check(Panel1, "cbCountdown", {318, 38}, tr("Countdown"), tr("[F4] Countdown timer"));
  cbCountdown->setChecked(true);
  Time1 = check(Panel1, "Time1", {318, 61}, tr("Zeit anzeigen"), "[Ctrl+Z]");
  Time1->setChecked(true);

  LabelTaym = label(Panel1, "LabelTaym", {189, 83, 43, 40}, "0", arialBold(37), colors::grey);
  LabelTaym->setToolTip(tr("[Alt+0..4] Half-time "));
  LabelTaym->setFillGradient(true);
  LabelTaym->setGradientOrientation(TGradientOrientation::goVertical);
  LabelTaym->setFirstColor(colors::green);
  LabelTaym->setLastColor(colors::white);
  sbTaym = spin(Panel1, "sbTaym", {233, 85, 17, 37}, tr("[Alt+0..4] Period"));

  SpeedButton1 =
      goalButton(Panel1, "SpeedButton1", 12, tr("[F11] +1 Goal (HOME team left)"), false);
  SpeedButton2 =
      goalButton(Panel1, "SpeedButton2", 368, tr("[F12] +1 Goal (GUEST team right)"), true);

  LabelC1 = label(Panel1, "LabelC1", {65, 139, 67, 74}, "0", arialBold(61), colors::red);
  LabelC1->setAlignment(Label::Alignment::RightJustify);
  LabelC1->setShadowSize(2);
  LabelC1->setShrinkToWidth(true);  // a three-digit score shows whole
  LabelC1->setToolTip(SpeedButton1->toolTip());
  LabelC2 = label(Panel1, "LabelC2", {294, 139, 67, 74}, "0", arialBold(61), colors::red);
  LabelC2->setAlignment(Label::Alignment::LeftJustify);
  LabelC2->setShadowSize(2);
  LabelC2->setShrinkToWidth(true);
  LabelC2->setToolTip(SpeedButton2->toolTip());
  Schet1 = spin(Panel1, "Schet1", {138, 152, 17, 49}, tr("-1 [Ctrl+F11]"));
  Schet2 = spin(Panel1, "Schet2", {269, 152, 17, 49}, tr("-1 [Ctrl+F12]"));

  bPlay = ovalButton(Panel1, "bPlay", {186, 147, 57, 57}, tr("[F5] Play/Pause"));
  bPlay->setFont(arialBold(13));
  bReset = ovalButton(Panel1, "bReset", {180, 244, 70, 29}, tr("[F10] Game Reset 0:0"));
  bReset->setCaption(tr("Reset"));
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
    label->setAlignment(Label::Alignment::RightJustify);

  cbStrReset = check(Panel1, "cbStrReset", {168, 302}, tr("Strafe  RESET"), QString());

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
  penaltyList = new PenaltyList(*penaltyActions_, platform_.dialogs, askTextBox, this);
  penaltyList->hide();
  Panel3 = new QWidget(this);
  Panel3->setObjectName("Panel3");

  RunText = new RunTextControls(Panel2, ListArea, Panel3, commands_, platform_.dialogs, this);
}

void TFormCtrl::connectControls() {
  connect(bPlay, &TOvalButton::clicked, this, &TFormCtrl::bPlayClick);
  connect(LabelTime, &Label::clicked, this, &TFormCtrl::bPlayClick);
  connect(bReset, &TOvalButton::clicked, this, &TFormCtrl::Reset1Click);
  connect(sbSek, &SpinButton::upClick, this, [this] { MinutePMClick(10); });
  connect(sbSek, &SpinButton::downClick, this, [this] { MinutePMClick(-10); });
  connect(cbCountdown, &QCheckBox::clicked, this, &TFormCtrl::cbCountdownClick);
  connect(Time1, &QCheckBox::clicked, this, &TFormCtrl::Time1Click);
  connect(LabelTaym, &Label::clicked, this, &TFormCtrl::LabelTaymClick);
  connect(sbTaym, &SpinButton::upClick, this, &TFormCtrl::sbTaymUpClick);
  connect(sbTaym, &SpinButton::downClick, this, &TFormCtrl::sbTaymDownClick);
  // The score controls carry their operation: 1 home +1, 2 home -1, 3 guest +1, 4 guest -1.
  const std::pair<QObject*, int> scoreClicks[] = {
      {SpeedButton1, 1}, {LabelC1, 1}, {SpeedButton2, 3}, {LabelC2, 3}};
  for (auto [control, operation] : scoreClicks) {
    const auto click = [this, op = operation] { SchetDownClick(op); };
    if (auto* button = qobject_cast<QToolButton*>(control))
      connect(button, &QToolButton::clicked, this, click);
    else
      connect(static_cast<Label*>(control), &Label::clicked, this, click);
  }
  connect(Schet1, &SpinButton::upClick, this, [this] { SchetDownClick(1); });
  connect(Schet1, &SpinButton::downClick, this, [this] { SchetDownClick(2); });
  connect(Schet2, &SpinButton::upClick, this, [this] { SchetDownClick(3); });
  connect(Schet2, &SpinButton::downClick, this, [this] { SchetDownClick(4); });
  for (int i = 0; i < 4; ++i) {
    TLabel3D* label = penaltyLabels()[i];
    connect(label, &Label::clicked, this, [this, i] { LabStrafe_Click(i); });
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(label, &QWidget::customContextMenuRequested, this,
            [this, i, label](const QPoint& at) { openPenaltyMenu(i, label->mapToGlobal(at)); });
  }
  connect(cbStrReset, &QCheckBox::toggled, &commands_, &Commands::setPenaltyRelease);
  connect(ObHelp, &TOvalButton::clicked, this, &TFormCtrl::Help1Click);
  connect(ObCFG, &TOvalButton::clicked, this, &TFormCtrl::CFG1Click);
  connect(ObInfo, &TOvalButton::clicked, this, &TFormCtrl::mInfoClick);
}

// "Zeit setzen…", "Rückgängig", the horn and the mute switch: four small buttons beside the
// penalty times.
void TFormCtrl::createClockAndUndoControls() {
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
  bSetClock = button("bSetClock", tr("Zeit…"), tr("[Ctrl+T] Zeit setzen…"), {6, 92, 82, 28});
  bUndo = button("bUndo", tr("Rückgängig"), tr("[Ctrl+Backspace] Rückgängig"), {92, 92, 90, 28});
  bHorn = button("bHorn", tr("Horn"), tr("[Ctrl+J] Horn"), {256, 92, 80, 28});
  bMute = button("bMute", tr("Ton aus"), tr("[Ctrl+M] Ton aus / an"), {340, 92, 82, 28});
  bMute->setCheckable(true);
  connect(bSetClock, &QToolButton::clicked, this, &TFormCtrl::SetClockClick);
  connect(bUndo, &QToolButton::clicked, this, &TFormCtrl::UndoClick);
  connect(bHorn, &QToolButton::clicked, this, &TFormCtrl::HornClick);
  connect(bMute, &QToolButton::clicked, this, &TFormCtrl::MuteClick);
}
