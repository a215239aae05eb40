#include "app/penaltymenu.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>

#include "core/clocktext.h"
#include "platform/dialogs.h"

namespace {

constexpr int kTeamRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;

struct Words {
  Q_DECLARE_TR_FUNCTIONS(PenaltyMenu)
};

}  // namespace

std::optional<QString> askTextBox(QWidget* parent, const TextQuestion& question) {
  bool ok = false;
  const QString typed = QInputDialog::getText(parent, question.title, question.label,
                                              QLineEdit::Normal, question.initial, &ok);
  return ok ? std::optional(typed) : std::nullopt;
}

QString penaltyKindCaption(const PenaltyKind& kind) {
  const QString caption = kind.id + Words::tr(" Min");
  return kind.personal ? caption + Words::tr(" (persönlich)") : caption;
}

QString penaltyStateCaption(Penalty::State state) {
  switch (state) {
    case Penalty::Armed:
      return Words::tr("bereit");
    case Penalty::Waiting:
      return Words::tr("wartet");
    case Penalty::Paused:
      return Words::tr("angehalten");
    case Penalty::Running:
      break;
  }
  return Words::tr("läuft");
}

QString penaltyTimeRefusal(const QString& typed) {
  return Words::tr("„%1“ ist keine Restzeit: bitte m:ss von 0:01 bis %2 eingeben.")
      .arg(typed, SpanText(Penalty::kMaxSeconds));
}

std::optional<std::optional<int>> playerNumber(const QString& typed) {
  const QString text = typed.trimmed();
  if (text.isEmpty()) return std::optional<int>();
  bool ok = false;
  const int number = text.toInt(&ok);
  if (!ok || number < 0 || number > 99) return std::nullopt;
  return std::optional<int>(number);
}

void fillPenaltyMenu(QMenu& menu, const SportRules& sport, int team, const Penalty* penalty,
                     PenaltyActions& actions, const AskText& askText, Dialogs& dialogs,
                     QWidget* parent) {
  if (sport.countsFouls()) {
    menu.addAction(Words::tr("Foul +1"), [&actions, team] { actions.foul(team, +1); });
    menu.addAction(Words::tr("Foul −1"), [&actions, team] { actions.foul(team, -1); });
    menu.addSeparator();
  }
  for (const PenaltyKind& kind : sport.kinds)
    menu.addAction(
        penaltyKindCaption(kind), [&actions, &dialogs, askText, parent, team, id = kind.id] {
          const std::optional<QString> typed =
              askText(parent, {Words::tr("Strafe"), Words::tr("Spielernummer (Enter: ohne):"), {}});
          if (!typed) return;
          const std::optional<std::optional<int>> player = playerNumber(*typed);
          if (!player)
            dialogs.showError(parent, Words::tr("Strafe"),
                              Words::tr("„%1“ ist keine Spielernummer: bitte 0 bis 99 eingeben "
                                        "oder leer lassen.")
                                  .arg(typed->trimmed()));
          else
            actions.givePenalty(team, id, *player);
        });
  menu.addSeparator();
  QAction* setTime = menu.addAction(Words::tr("Restzeit setzen…"));
  QAction* cancel = menu.addAction(Words::tr("Aufheben"));
  setTime->setEnabled(penalty != nullptr);
  cancel->setEnabled(penalty != nullptr);
  if (!penalty) return;
  const int id = penalty->id;
  QObject::connect(
      setTime, &QAction::triggered, &menu,
      [&actions, &dialogs, askText, parent, team, id, shown = penalty->text()] {
        const std::optional<QString> typed =
            askText(parent, {Words::tr("Restzeit setzen"), Words::tr("Restzeit (m:ss):"), shown});
        if (!typed) return;
        const std::optional<int> seconds = SpanSeconds(*typed);
        const bool inRange = seconds && *seconds >= 1 && *seconds <= Penalty::kMaxSeconds;
        if (!inRange || !actions.setPenaltyTime(team, id, *seconds))
          dialogs.showError(parent, Words::tr("Restzeit"), penaltyTimeRefusal(typed->trimmed()));
      });
  QObject::connect(cancel, &QAction::triggered, &menu,
                   [&actions, team, id] { actions.cancelPenalty(team, id); });
}

PenaltyList::PenaltyList(PenaltyActions& actions, Dialogs& dialogs, AskText askText,
                         QWidget* parent)
    : QListWidget(parent), actions_(actions), dialogs_(dialogs), askText_(std::move(askText)) {
  setObjectName(QStringLiteral("PenaltyList"));
}

void PenaltyList::render(const MatchState& state, const SportRules& sport) {
  sport_ = sport;
  if (state.teamPenalties == state_.teamPenalties) return;
  state_ = state;
  // The entry the operator is on stays current while the times count.
  const QListWidgetItem* current = currentItem();
  const int currentId = current ? current->data(kIdRole).toInt() : 0;
  clear();
  for (int team = 1; team <= 2; ++team)
    for (const Penalty& p : state.teamPenalties[team - 1]) {
      QString text =
          (team == 1 ? Words::tr("Heim") : Words::tr("Gast")) + "  " + penaltyKindCaption(p.kind);
      if (p.player) text += QStringLiteral("  #%1").arg(*p.player);
      text += "  " + p.text() + "  " + penaltyStateCaption(p.state);
      auto* item = new QListWidgetItem(text, this);
      item->setData(kTeamRole, team);
      item->setData(kIdRole, p.id);
      if (p.id == currentId) setCurrentItem(item);
    }
}

void PenaltyList::fillMenuForCurrent(QMenu& menu) {
  const QListWidgetItem* item = currentItem();
  if (!item) return;
  const int team = item->data(kTeamRole).toInt();
  fillPenaltyMenu(menu, sport_, team, state_.penalty(team, item->data(kIdRole).toInt()), actions_,
                  askText_, dialogs_, this);
}

void PenaltyList::contextMenuEvent(QContextMenuEvent* event) {
  if (QListWidgetItem* item = itemAt(event->pos())) setCurrentItem(item);
  QMenu menu(this);
  fillMenuForCurrent(menu);
  if (!menu.isEmpty()) menu.exec(event->globalPos());
}

void PenaltyList::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Menu) {
    QListWidget::keyPressEvent(event);
    return;
  }
  QMenu menu(this);
  fillMenuForCurrent(menu);
  if (menu.isEmpty() || !currentItem()) return;
  menu.exec(mapToGlobal(visualItemRect(currentItem()).bottomLeft()));
}
