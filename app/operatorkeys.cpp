#include "app/operatorkeys.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <iterator>

#include "app/formctrl.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "ticker/runtextcontrols.h"

namespace {

using Targets = OperatorKeys::Targets;

struct Row {
  const char* name;  // the action's objectName, the original menu command's
  const char* caption;
  QKeyCombination key;
  void (*run)(Targets&);
  bool checkable = false;
  bool keptByTextFields = false;  // a focused text field edits with the key
};

Commands& commands(Targets& t) { return t.session.commands(); }
const MatchState& state(Targets& t) { return t.session.match().state(); }

constexpr Qt::KeyboardModifiers kCtrlPad = Qt::ControlModifier | Qt::KeypadModifier;
constexpr Qt::KeyboardModifiers kShiftCtrlPad = kCtrlPad | Qt::ShiftModifier;

#define CAPTION(text) QT_TRANSLATE_NOOP("OperatorKeys", text)

// clang-format off
const Row kRows[] = {
    {"Help1", CAPTION("Help"), Qt::Key_F1, [](Targets& t) { t.console.Help1Click(); }},
    {"CFG1", CAPTION("CFG"), Qt::Key_F2, [](Targets& t) { t.console.CFG1Click(); }},
    {"mInfo", CAPTION("Info"), Qt::Key_F3, [](Targets& t) { t.console.mInfoClick(); }},
    {"mTimerCountdown", CAPTION("Timer/Countdown"), Qt::Key_F4,
     [](Targets& t) { commands(t).toggleCountDown(); }},
    {"Start1", CAPTION("Start"), Qt::Key_F5, [](Targets& t) { t.console.bPlayClick(); }},
    {"Reset1", CAPTION("Reset"), Qt::Key_F10, [](Targets& t) { t.console.Reset1Click(); }},
    {"N111", CAPTION("1. +1"), Qt::Key_F11, [](Targets& t) { commands(t).goal(1, +1); }},
    {"N11num1", CAPTION("1. -1num"), Qt::CTRL | Qt::Key_End,
     [](Targets& t) { commands(t).goal(1, -1); }},
    {"N112", CAPTION("1. -1"), Qt::CTRL | Qt::Key_F11, [](Targets& t) { commands(t).goal(1, -1); }},
    {"N211", CAPTION("2. +1"), Qt::Key_F12, [](Targets& t) { commands(t).goal(2, +1); }},
    {"N21num1", CAPTION("2. -1num"), Qt::CTRL | Qt::Key_Down,
     [](Targets& t) { commands(t).goal(2, -1); }},
    {"N212", CAPTION("2. -1"), Qt::CTRL | Qt::Key_F12, [](Targets& t) { commands(t).goal(2, -1); }},
    {"mLogo", CAPTION("Logo"), Qt::CTRL | Qt::Key_L,
     [](Targets& t) { commands(t).setLogoScreen(!state(t).logoScreen); }, true},
    {"mTime1", CAPTION("Zeit"), Qt::CTRL | Qt::Key_Z,
     [](Targets& t) { commands(t).setClockShown(!state(t).clockShown); }, true},
    {"Pause1", CAPTION("Pause"), Qt::CTRL | Qt::Key_Space,
     [](Targets& t) { t.console.bPlayClick(); }},
    {"SekPlus", CAPTION("MinPlus"), QKeyCombination(kCtrlPad, Qt::Key_Plus),
     [](Targets& t) { commands(t).correct(60); }},
    {"SekMinus", CAPTION("MinMinus"), QKeyCombination(kCtrlPad, Qt::Key_Minus),
     [](Targets& t) { commands(t).correct(-60); }},
    {"Sek10plus", CAPTION("Sek10plus"), QKeyCombination(kShiftCtrlPad, Qt::Key_Plus),
     [](Targets& t) { commands(t).correct(10); }},
    {"Sek10Minus", CAPTION("Sek10Minus"), QKeyCombination(kShiftCtrlPad, Qt::Key_Minus),
     [](Targets& t) { commands(t).correct(-10); }},
    {"ControlWindow", CAPTION("Control"), Qt::CTRL | Qt::Key_C,
     [](Targets& t) { t.console.ControlWindowClick(); }},
    {"Blackscreen1", CAPTION("Black screen"), Qt::CTRL | Qt::Key_B,
     [](Targets& t) { commands(t).toggleBlackScreen(); }},
    {"Periode1", CAPTION("Drittel"), Qt::CTRL | Qt::Key_D,
     [](Targets& t) { commands(t).periodCycle(); }},
    {"mReport", CAPTION("Spielbericht"), Qt::CTRL | Qt::Key_E,
     [](Targets& t) { if (t.saveReport) t.saveReport(); }},
    {"mStatStart", CAPTION("Static 1"), Qt::Key_F6,
     [](Targets& t) { t.console.RunText->mStatStartClick(); }, true},
    {"mRunStart", CAPTION("Start 1"), Qt::Key_F7,
     [](Targets& t) { t.console.RunText->mRunStartClick(); }, true},
    {"mStartAll", CAPTION("Start All"), Qt::Key_F8,
     [](Targets& t) { t.console.RunText->mStartAllClick(); }, true},
    {"Clear1", CAPTION("Clear"), Qt::Key_F9, [](Targets& t) { commands(t).stopText(); }},
    {"mRemote", CAPTION("Fernbedienung"), Qt::CTRL | Qt::Key_R,
     [](Targets& t) { if (t.startRemote) t.startRemote(); }},
    {"mTym0", CAPTION("0"), Qt::ALT | Qt::Key_0, [](Targets& t) { commands(t).setPeriod(0); }},
    {"mTym1", CAPTION("1"), Qt::ALT | Qt::Key_1, [](Targets& t) { commands(t).setPeriod(1); }},
    {"mTym2", CAPTION("2"), Qt::ALT | Qt::Key_2, [](Targets& t) { commands(t).setPeriod(2); }},
    {"mTym3", CAPTION("3"), Qt::ALT | Qt::Key_3, [](Targets& t) { commands(t).setPeriod(3); }},
    {"mTym4", CAPTION("4"), Qt::ALT | Qt::Key_4, [](Targets& t) { commands(t).setPeriod(4); }},
    // Ctrl+1 / Ctrl+2 stay free: Ctrl with keypad 1 or 2 arrives as them with Num Lock on.
    {"mTimeout1", CAPTION("Auszeit HEIM"), Qt::CTRL | Qt::Key_H,
     [](Targets& t) { t.console.timeoutClick(1); }},
    {"mTimeout2", CAPTION("Auszeit GAST"), Qt::CTRL | Qt::Key_G,
     [](Targets& t) { t.console.timeoutClick(2); }},
    {"mTimeoutEnd", CAPTION("Auszeit beenden"), Qt::CTRL | Qt::Key_0,
     [](Targets& t) { commands(t).timeoutEnd(); }},
    {"mBreak", CAPTION("Pause"), Qt::CTRL | Qt::Key_P, [](Targets& t) { t.console.breakClick(); }},
    {"mSetClock", CAPTION("Zeit setzen…"), Qt::CTRL | Qt::Key_T,
     [](Targets& t) { t.console.SetClockClick(); }},
    {"mUndo", CAPTION("Rückgängig"), Qt::CTRL | Qt::Key_Backspace,
     [](Targets& t) { t.console.UndoClick(); }, false, true},
    {"mHorn", CAPTION("Horn"), Qt::CTRL | Qt::Key_J, [](Targets& t) { commands(t).horn(); }},
    {"mMute", CAPTION("Ton aus"), Qt::CTRL | Qt::Key_M,
     [](Targets& t) { commands(t).setMuted(!t.session.settings().record().Muted); }, true},
    // Clock corrections on keys every laptop has, as Ctrl + keypad +/- do.
    {"SekPlusPage", CAPTION("MinPlus"), Qt::CTRL | Qt::Key_PageUp,
     [](Targets& t) { commands(t).correct(60); }},
    {"SekMinusPage", CAPTION("MinMinus"), Qt::CTRL | Qt::Key_PageDown,
     [](Targets& t) { commands(t).correct(-60); }},
    {"Sek10plusPage", CAPTION("Sek10plus"), Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp,
     [](Targets& t) { commands(t).correct(10); }},
    {"Sek10MinusPage", CAPTION("Sek10Minus"), Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown,
     [](Targets& t) { commands(t).correct(-10); }},
};
// clang-format on

}  // namespace

OperatorKeys::OperatorKeys(Targets targets, QObject* parent)
    : QObject(parent), targets_(std::move(targets)) {
  auto* playback = new QActionGroup(this);
  for (const Row& row : kRows) {
    auto* action = new QAction(QCoreApplication::translate("OperatorKeys", row.caption), this);
    action->setObjectName(row.name);
    action->setShortcut(row.key);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setCheckable(row.checkable);
    connect(action, &QAction::triggered, this, [this, &row] { row.run(targets_); });
    actions_.append(action);
  }
  for (const char* start : {"mStatStart", "mRunStart", "mStartAll"})
    playback->addAction(action(start));
  logo_ = action("mLogo");
  clockShown_ = action("mTime1");
  setClock_ = action("mSetClock");
  mute_ = action("mMute");
  connect(&targets_.session.match(), &Match::changed, this, &OperatorKeys::render);
  connect(&targets_.session.settings(), &Settings::changed, this, &OperatorKeys::render);
  // Key presses are looked at before any widget of the program sees them (see eventFilter).
  qApp->installEventFilter(this);
  render();
}

OperatorKeys::~OperatorKeys() { qApp->removeEventFilter(this); }

void OperatorKeys::install(QWidget& window) {
  window.addActions(actions_);
  windows_.append(&window);
  connect(&window, &QObject::destroyed, this, [this, gone = &window] { windows_.removeAll(gone); });
}

QAction* OperatorKeys::action(const char* name) const {
  for (QAction* action : actions_)
    if (action->objectName() == QLatin1String(name)) return action;
  return nullptr;
}

void OperatorKeys::render() {
  const MatchState& s = targets_.session.match().state();
  logo_->setEnabled(targets_.session.logoAvailable());
  logo_->setChecked(s.logoScreen);
  clockShown_->setChecked(s.clockShown);
  setClock_->setEnabled(s.clock != MatchClock::Running);
  mute_->setChecked(targets_.session.settings().record().Muted);
}

// A key that a command carries is not offered to the focused control, unless that is a text
// field that edits with the key (the field then has it even where it would not ask for it). X11 and
// Wayland drop the keypad flag before matching shortcuts, so Ctrl + keypad +/- find no action there
// and arrive as a plain key press.
bool OperatorKeys::eventFilter(QObject* watched, QEvent* event) {
  const bool override = event->type() == QEvent::ShortcutOverride;
  if (!override && event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || !windows_.contains(widget->window())) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const int row = rowForKey(*key);
  if (row < 0) return false;
  if (kRows[row].keptByTextFields && widget->testAttribute(Qt::WA_InputMethodEnabled)) {
    // Accepting the override takes the key from the shortcut and gives it to the field.
    if (override) event->accept();
    return override;
  }
  if (override) return true;
  if (!(key->modifiers() & Qt::KeypadModifier)) return false;
  actions_[row]->trigger();
  return true;
}

int OperatorKeys::rowForKey(const QKeyEvent& key) const {
  const QKeyCombination pressed = key.keyCombination();
  const QKeyCombination plain(pressed.keyboardModifiers() & ~Qt::KeypadModifier, pressed.key());
  for (const QKeySequence& wanted : {QKeySequence(pressed), QKeySequence(plain)})
    for (int row = 0; row < actions_.size(); ++row)
      if (actions_[row]->isEnabled() && actions_[row]->shortcut() == wanted) return row;
  return -1;
}
