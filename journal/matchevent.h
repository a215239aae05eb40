#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// One entry of the match report: what happened, on the wall clock and on the match clock.
struct MatchEvent {
  enum class Kind {
    Goal,
    ScoreCorrection,  // a goal taken back
    PenaltyStart,
    PenaltyCancel,   // ended by the operator
    PenaltyRelease,  // ended by a goal of the other team
    PenaltyEnd,      // its two minutes are over, or the period ended
    PeriodStart,
    PeriodEnd,
    PeriodNumber,  // the operator set the period number
    TimeCorrection,
    Reset,
    // The operator's own: a command taken back ("undone" names it), the horn by hand.
    Undo,
    Horn,
    TimeoutStart,  // a team's time-out
    TimeoutEnd,    // ran out, or ended by the operator or by Play
    BreakStart,
    BreakEnd,  // by Play or by the operator (not when its time ran out)
    // Penalties by their id, beyond the start and end above: a goal of the other team ended
    // the first part of a two-part penalty (its second part goes on), the operator set its time
    // left, it went on into the next period.
    PenaltyPartRelease,
    PenaltyTimeSet,
    PenaltyCarryOver,
    Foul,            // a team's accumulated fouls went up
    FoulCorrection,  // … or down
    PenaltyServing,  // a waiting penalty began to count: one of its team's ended
  };

  QDateTime wall;
  Kind kind = Kind::Goal;
  int period = 0;
  qint64 matchMs = 0;  // elapsed time of the period
  int team = 0;        // 1 home, 2 guest, 0 for none
  int slot = 0;        // penalty slot 1 or 2, 0 for none
  int home = 0;        // score after the event
  int guest = 0;
  int stepSeconds = 0;  // time correction: the elapsed time went back by this much
  QString undone{};     // undo: the command taken back ("goal", "reset", …)
  // Penalty entries: the penalty's id in the match, its kind ("2", "2+2", "5", "10") and its
  // player, if one was given; 0 and empty for other entries.
  int penaltyId = 0;
  QString penaltyKind{};
  std::optional<int> player{};
  int penaltySeconds = 0;      // time set: the time set; carried over: the time it had left
  std::optional<int> fouls{};  // fouls and their corrections: the team's fouls after it

  bool operator==(const MatchEvent&) const = default;
};

QString eventName(MatchEvent::Kind kind);

QJsonObject toJson(const MatchEvent& event);
// Empty unless every field is present and in range.
std::optional<MatchEvent> eventFromJson(const QJsonObject& object);

struct MatchSnapshot;

// The report entries of one change of the match, told from the snapshots before and after it.
QList<MatchEvent> eventsBetween(const MatchSnapshot& before, const MatchSnapshot& after,
                                const QDateTime& wall);
