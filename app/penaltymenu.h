#pragma once

// The console's penalty menu and its list of every penalty.
//
// A right-click or the menu key on a penalty time (a console penalty label or an entry of the
// list) opens the menu: every kind of the sport (gives one of that kind to the team, asking for
// the player's number, which Enter on an empty field leaves out), and for
// the penalty shown there "Restzeit setzen…" (m:ss, refused with a German message when it is
// not a time of 0:01 … 20:00) and "Aufheben"; where the sport counts fouls, "Foul +1" and
// "Foul −1" first. The menu acts through PenaltyActions, which the
// console implements with the match's commands; the list draws itself from the match state.

#include <QListWidget>
#include <functional>
#include <optional>

#include "core/matchstate.h"
#include "core/sportrules.h"

class Dialogs;
class QMenu;

class PenaltyActions {
 public:
  virtual ~PenaltyActions() = default;
  virtual void givePenalty(int team, const QString& kind, std::optional<int> player) = 0;
  virtual bool setPenaltyTime(int team, int id, int seconds) = 0;
  virtual void cancelPenalty(int team, int id) = 0;
  virtual void foul(int team, int delta) = 0;
};

// A question for a typed text: the box's title, the label before the field, the text offered.
struct TextQuestion {
  QString title;
  QString label;
  QString initial;
};
// Asks the question; nothing when the operator cancelled.
using AskText =
    std::function<std::optional<QString>(QWidget* parent, const TextQuestion& question)>;
// The one the console uses: a small input box.
std::optional<QString> askTextBox(QWidget* parent, const TextQuestion& question);

// The caption of a kind in menus and lists: "2 Min", "2+2 Min", "10 Min (persönlich)".
QString penaltyKindCaption(const PenaltyKind& kind);
// "läuft", "bereit", "wartet", "angehalten".
QString penaltyStateCaption(Penalty::State state);

// The refusal of a typed remaining time that is not m:ss or not within 0:01 … 20:00.
QString penaltyTimeRefusal(const QString& typed);
// A typed player's number: none for an empty text, nothing for one that is no number 0 … 99.
std::optional<std::optional<int>> playerNumber(const QString& typed);

// Fills `menu` for a penalty time of `team`; `penalty` is the one shown there, if any.
void fillPenaltyMenu(QMenu& menu, const SportRules& sport, int team, const Penalty* penalty,
                     PenaltyActions& actions, const AskText& askText, Dialogs& dialogs,
                     QWidget* parent);

// Every penalty of both teams, one entry each: team, kind, player, time and state.
class PenaltyList : public QListWidget {
  Q_OBJECT

 public:
  PenaltyList(PenaltyActions& actions, Dialogs& dialogs, AskText askText,
              QWidget* parent = nullptr);

  void render(const MatchState& state, const SportRules& sport);
  // The menu of the current entry, where a right-click or the menu key opens it.
  void fillMenuForCurrent(QMenu& menu);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  PenaltyActions& actions_;
  Dialogs& dialogs_;
  AskText askText_;
  MatchState state_;
  SportRules sport_;
};
