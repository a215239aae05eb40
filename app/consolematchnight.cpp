// The console's match-night controls. Team time-outs and the break: a button per team under its
// penalty times with the time-outs taken and left beneath it, and the break button. Their keys
// (Ctrl+H, Ctrl+G, Ctrl+0, Ctrl+P) are in the operator's key table (app/operatorkeys.cpp).

#include <QLabel>
#include <QToolButton>

#include "app/consolewidgets.h"
#include "app/formctrl.h"
#include "board/boardview.h"
#include "commands/commands.h"
#include "commands/noticetext.h"
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

QString teamWord(int team) { return team == 1 ? TFormCtrl::tr("HEIM") : TFormCtrl::tr("GAST"); }

}  // namespace

void TFormCtrl::createCountdownControls() {
  const QRect buttons[2] = {{6, 226, 80, 24}, {342, 226, 80, 24}};
  const QRect lines[2] = {{6, 252, 80, 34}, {342, 252, 80, 34}};
  const char* buttonNames[2] = {"bTimeout1", "bTimeout2"};
  const char* lineNames[2] = {"LabelTimeouts1", "LabelTimeouts2"};
  const char* hints[2] = {QT_TR_NOOP("[Ctrl+H] Auszeit HEIM"), QT_TR_NOOP("[Ctrl+G] Auszeit GAST")};
  for (int t = 0; t < 2; ++t) {
    bTimeout[t] = countdownButton(Panel1, buttonNames[t], buttons[t], tr(hints[t]));
    LabelTimeouts[t] = new QLabel(Panel1);
    LabelTimeouts[t]->setObjectName(lineNames[t]);
    LabelTimeouts[t]->setGeometry(lines[t]);
    LabelTimeouts[t]->setAlignment(Qt::AlignCenter);
    LabelTimeouts[t]->setStyleSheet("QLabel { color: white; background: rgba(0, 0, 0, 160); }");
    LabelTimeouts[t]->setFont(arialBold(11));
    const int team = t + 1;
    connect(bTimeout[t], &QToolButton::clicked, this, [this, team] { timeoutClick(team); });
  }
  bBreak = countdownButton(Panel1, "bBreak", {6, 296, 80, 24}, tr("[Ctrl+P] Pause"));
  connect(bBreak, &QToolButton::clicked, this, &TFormCtrl::breakClick);
}

void TFormCtrl::timeoutClick(int team) {
  if (commands_.match().state().timeoutTeam == team) {
    commands_.timeoutEnd();
    return;
  }
  if (const Notice notice = commands_.timeout(team)) say(noticeText(notice));
}

void TFormCtrl::breakClick() {
  if (commands_.match().state().breakOn)
    commands_.endBreak();
  else
    commands_.startBreak();
}

void TFormCtrl::renderCountdown(const BoardView& board) {
  if (!bBreak) return;  // drawn before the controls exist
  const Match& match = commands_.match();
  const MatchState& s = match.state();
  const bool timeouts = match.sport().hasTimeouts();
  for (int t = 0; t < 2; ++t) {
    const int team = t + 1;
    bTimeout[t]->setVisible(timeouts);
    LabelTimeouts[t]->setVisible(timeouts);
    bTimeout[t]->setText(s.timeoutTeam == team ? tr("Ende %1").arg(SpanText(s.timeoutSecondsLeft))
                                               : tr("Auszeit"));
    LabelTimeouts[t]->setText(
        tr("%1 genommen\n%2 übrig").arg(s.timeoutsTaken[t]).arg(match.timeoutsLeft(team)));
    LabelTimeouts[t]->setToolTip(tr("Auszeiten %1").arg(teamWord(team)));
  }
  bBreak->setText(s.breakOn ? board.breakText : tr("Pause"));
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
        this, kAppTitle, tr("„%1“ ist keine Zeit: bitte m:ss oder h:mm:ss eingeben.").arg(*typed));
    return;
  }
  if (const Notice notice = commands_.setClock(*seconds))
    platform_.dialogs.showError(this, kAppTitle, noticeText(notice));
}

void TFormCtrl::UndoClick() {
  if (const Notice notice = commands_.undo())
    platform_.dialogs.showError(this, kAppTitle, noticeText(notice));
}

void TFormCtrl::HornClick() { commands_.horn(); }

void TFormCtrl::MuteClick(bool muted) { commands_.setMuted(muted); }
