// The console's match-night controls. Team time-outs and the break: a button per team under its
// penalty times with the time-outs taken and left beneath it, the break button, and their keys:
//   Ctrl+H  time-out HEIM, Ctrl+G  time-out GAST (a second press ends the running one)
//   Ctrl+0  ends the running time-out
//   Ctrl+P  starts the break, or ends it
// Ctrl+1 / Ctrl+2 are not used: Ctrl with keypad 1 or 2 arrives as them with Num Lock on, and
// keypad 1 with Num Lock off is already a score key (Ctrl+End).

#include <QAction>
#include <QLabel>
#include <QToolButton>

#include "app/consolewidgets.h"
#include "app/formctrl.h"
#include "commands/commands.h"
#include "core/clocktext.h"
#include "core/match.h"
#include "platform/dialogs.h"
#include "platform/platform.h"

using namespace consolewidgets;

namespace {

QToolButton* countdownButton(QWidget* parent, const char* name, const QRect& bounds,
                             const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setGeometry(bounds);
  button->setToolTip(hint);
  button->setFont(arialBold(11));
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QString teamWord(int team) { return team == 1 ? QStringLiteral("HEIM") : QStringLiteral("GAST"); }

}  // namespace

void TFormCtrl::createCountdownControls() {
  const QRect buttons[2] = {{6, 226, 80, 24}, {342, 226, 80, 24}};
  const QRect lines[2] = {{6, 252, 80, 34}, {342, 252, 80, 34}};
  const char* buttonNames[2] = {"bTimeout1", "bTimeout2"};
  const char* lineNames[2] = {"LabelTimeouts1", "LabelTimeouts2"};
  const char* hints[2] = {"[Ctrl+H] Auszeit HEIM", "[Ctrl+G] Auszeit GAST"};
  for (int t = 0; t < 2; ++t) {
    bTimeout[t] = countdownButton(Panel1, buttonNames[t], buttons[t], hints[t]);
    LabelTimeouts[t] = new QLabel(Panel1);
    LabelTimeouts[t]->setObjectName(lineNames[t]);
    LabelTimeouts[t]->setGeometry(lines[t]);
    LabelTimeouts[t]->setAlignment(Qt::AlignCenter);
    LabelTimeouts[t]->setStyleSheet("QLabel { color: white; background: rgba(0, 0, 0, 160); }");
    LabelTimeouts[t]->setFont(arialBold(11));
    const int team = t + 1;
    connect(bTimeout[t], &QToolButton::clicked, this, [this, team] { timeoutClick(team); });
  }
  bBreak = countdownButton(Panel1, "bBreak", {6, 296, 80, 24}, "[Ctrl+P] Pause");
  connect(bBreak, &QToolButton::clicked, this, &TFormCtrl::breakClick);

  mTimeout1 = addCommand("mTimeout1", "Auszeit HEIM", Qt::CTRL | Qt::Key_H);
  mTimeout2 = addCommand("mTimeout2", "Auszeit GAST", Qt::CTRL | Qt::Key_G);
  mTimeoutEnd = addCommand("mTimeoutEnd", "Auszeit beenden", Qt::CTRL | Qt::Key_0);
  mBreak = addCommand("mBreak", "Pause", Qt::CTRL | Qt::Key_P);
  connect(mTimeout1, &QAction::triggered, this, [this] { timeoutClick(1); });
  connect(mTimeout2, &QAction::triggered, this, [this] { timeoutClick(2); });
  connect(mTimeoutEnd, &QAction::triggered, &commands_, &Commands::timeoutEnd);
  connect(mBreak, &QAction::triggered, this, &TFormCtrl::breakClick);
}

void TFormCtrl::timeoutClick(int team) {
  if (commands_.match().state().timeoutTeam == team) {
    commands_.timeoutEnd();
    return;
  }
  if (const Notice notice = commands_.timeout(team)) say(notice.text);
}

void TFormCtrl::breakClick() {
  if (commands_.match().state().breakOn)
    commands_.endBreak();
  else
    commands_.startBreak();
}

void TFormCtrl::renderCountdown() {
  if (!bBreak) return;  // drawn before the controls exist
  const Match& match = commands_.match();
  const MatchState& s = match.state();
  const bool timeouts = match.sport().hasTimeouts();
  for (int t = 0; t < 2; ++t) {
    const int team = t + 1;
    bTimeout[t]->setVisible(timeouts);
    LabelTimeouts[t]->setVisible(timeouts);
    bTimeout[t]->setText(s.timeoutTeam == team
                             ? QStringLiteral("Ende ") + SpanText(s.timeoutSecondsLeft)
                             : QStringLiteral("Auszeit"));
    LabelTimeouts[t]->setText(QStringLiteral("%1 genommen\n%2 übrig")
                                  .arg(s.timeoutsTaken[t])
                                  .arg(match.timeoutsLeft(team)));
    LabelTimeouts[t]->setToolTip(QStringLiteral("Auszeiten %1").arg(teamWord(team)));
  }
  bBreak->setText(s.breakOn ? QStringLiteral("PAUSE ") + SpanText(s.breakSecondsLeft)
                            : QStringLiteral("Pause"));
}

// ---- Setting the time, undo, horn and mute -------------------------------------------------

// The shown time is offered; a text that is no time is refused before the command layer
// sees it, a time outside the period by the command layer.
void TFormCtrl::SetClockClick() {
  if (commands_.match().state().clock == MatchClock::Running) return;
  const std::optional<QString> typed = askClockTime(this, commands_.match().state().clockText());
  if (!typed) return;
  const std::optional<int> seconds = ClockTimeSeconds(*typed);
  if (!seconds) {
    platform_.dialogs.showError(
        this, kAppTitle,
        QStringLiteral("„%1“ ist keine Zeit: bitte m:ss oder h:mm:ss eingeben.").arg(*typed));
    return;
  }
  if (const Notice notice = commands_.setClock(*seconds))
    platform_.dialogs.showError(this, kAppTitle, notice.text);
}

void TFormCtrl::UndoClick() {
  if (const Notice notice = commands_.undo())
    platform_.dialogs.showError(this, kAppTitle, notice.text);
}

void TFormCtrl::HornClick() { commands_.horn(); }

void TFormCtrl::MuteClick(bool muted) { commands_.setMuted(muted); }
