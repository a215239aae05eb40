#include "journal/matchevent.h"

#include <array>
#include <limits>

#include "core/match.h"
#include "core/matchstate.h"

namespace {

constexpr std::array kNames = {
    "goal",
    "score_correction",
    "penalty_start",
    "penalty_cancel",
    "penalty_release",
    "penalty_end",
    "period_start",
    "period_end",
    "period_number",
    "time_correction",
    "reset",
    "undo",
    "horn",
    "timeout_start",
    "timeout_end",
    "break_start",
    "break_end",
    "penalty_part_release",
    "penalty_time_set",
    "penalty_carry_over",
    "foul",
    "foul_correction",
    "penalty_serving",
};

std::optional<MatchEvent::Kind> kindNamed(const QString& name) {
  for (size_t i = 0; i < kNames.size(); ++i)
    if (name == QLatin1String(kNames[i])) return MatchEvent::Kind(i);
  return std::nullopt;
}

// A JSON number that is a whole number inside [low, high].
std::optional<qint64> whole(const QJsonValue& value, qint64 low, qint64 high) {
  if (!value.isDouble()) return std::nullopt;
  const double d = value.toDouble();
  if (!(d >= double(low) && d <= double(high)) || d != double(qint64(d))) return std::nullopt;
  return qint64(d);
}

// A team's time-out and the break, begun and ended, at the match time they stood at.
template <typename Add>
void addCountdownEvents(const MatchState& was, const MatchState& is, qint64 matchMs, Add add) {
  using Kind = MatchEvent::Kind;
  if (was.timeoutTeam && was.timeoutTeam != is.timeoutTeam)
    add(Kind::TimeoutEnd, matchMs, was.timeoutTeam, 0);
  if (is.timeoutTeam && was.timeoutTeam != is.timeoutTeam)
    add(Kind::TimeoutStart, matchMs, is.timeoutTeam, 0);
  if (was.breakOn && !is.breakOn) add(Kind::BreakEnd, matchMs, 0, 0);
  if (!was.breakOn && is.breakOn) add(Kind::BreakStart, matchMs, 0, 0);
}

// The milliseconds a penalty had left in the snapshot; its shown time where the snapshot does
// not hold them.
qint64 leftMs(const MatchSnapshot& snapshot, const Penalty& p) {
  const auto left = snapshot.penaltyLeftMs.find(p.id);
  return left != snapshot.penaltyLeftMs.end() ? left->second : qint64(p.secondsLeft) * 1000;
}

// Whole seconds as the clock shows them, within the range the journal takes.
int shownSeconds(qint64 ms) {
  return int(qBound<qint64>(1, (ms + 999) / 1000, qint64(Penalty::kMaxSeconds)));
}

}  // namespace

QString eventName(MatchEvent::Kind kind) { return QLatin1String(kNames[size_t(kind)]); }

QJsonObject toJson(const MatchEvent& e) {
  QJsonObject o{{"wall", e.wall.toString(Qt::ISODateWithMs)},
                {"event", eventName(e.kind)},
                {"period", e.period},
                {"ms", e.matchMs},
                {"home", e.home},
                {"guest", e.guest}};
  if (e.team) o["team"] = e.team;
  if (e.slot) o["slot"] = e.slot;
  if (e.stepSeconds) o["step"] = e.stepSeconds;
  if (!e.undone.isEmpty()) o["undone"] = e.undone;
  if (e.penaltyId) o["penalty"] = e.penaltyId;
  if (!e.penaltyKind.isEmpty()) o["kind"] = e.penaltyKind;
  if (e.player) o["player"] = *e.player;
  if (e.penaltySeconds) o["seconds"] = e.penaltySeconds;
  if (e.fouls) o["fouls"] = *e.fouls;
  return o;
}

std::optional<MatchEvent> eventFromJson(const QJsonObject& o) {
  constexpr qint64 kMaxScore = Match::kMaxScore;
  constexpr qint64 kMaxMs = qint64(24) * 3600 * 1000 * 100;
  MatchEvent e;
  e.wall = QDateTime::fromString(o["wall"].toString(), Qt::ISODateWithMs);
  const auto kind = kindNamed(o["event"].toString());
  const auto period = whole(o["period"], 0, 4);
  const auto ms = whole(o["ms"], 0, kMaxMs);
  const auto home = whole(o["home"], 0, kMaxScore);
  const auto guest = whole(o["guest"], 0, kMaxScore);
  const auto team = o.contains("team") ? whole(o["team"], 1, 2) : 0;
  const auto slot = o.contains("slot") ? whole(o["slot"], 1, 2) : 0;
  const auto step = o.contains("step") ? whole(o["step"], -kMaxMs / 1000, kMaxMs / 1000) : 0;
  if (!e.wall.isValid() || !kind || !period || !ms || !home || !guest || !team || !slot || !step)
    return std::nullopt;
  e.kind = *kind;
  e.period = int(*period);
  e.matchMs = *ms;
  e.home = int(*home);
  e.guest = int(*guest);
  e.team = int(*team);
  e.slot = int(*slot);
  e.stepSeconds = int(*step);
  constexpr int kMaxCommandName = 32;
  if (o.contains("undone") &&
      (!o["undone"].isString() || o["undone"].toString().size() > kMaxCommandName))
    return std::nullopt;
  e.undone = o["undone"].toString();

  // The penalty's and the fouls' fields, absent in journals from before penalty lists.
  constexpr qint64 kMaxCount = std::numeric_limits<int>::max();
  constexpr int kMaxKindName = 8;
  const auto penalty = o.contains("penalty") ? whole(o["penalty"], 1, kMaxCount) : 0;
  const auto player = o.contains("player") ? whole(o["player"], 0, Penalty::kMaxPlayer) : 0;
  const auto seconds = o.contains("seconds") ? whole(o["seconds"], 1, Penalty::kMaxSeconds) : 0;
  const auto fouls = o.contains("fouls") ? whole(o["fouls"], 0, kMaxCount) : 0;
  if (!penalty || !player || !seconds || !fouls) return std::nullopt;
  if (o.contains("kind") && (!o["kind"].isString() || o["kind"].toString().isEmpty() ||
                             o["kind"].toString().size() > kMaxKindName))
    return std::nullopt;
  e.penaltyId = int(*penalty);
  e.penaltyKind = o["kind"].toString();
  if (o.contains("player")) e.player = int(*player);
  e.penaltySeconds = int(*seconds);
  if (o.contains("fouls")) e.fouls = int(*fouls);
  return e;
}

QList<MatchEvent> eventsBetween(const MatchSnapshot& before, const MatchSnapshot& after,
                                const QDateTime& wall) {
  using Kind = MatchEvent::Kind;
  const MatchState& was = before.state;
  const MatchState& is = after.state;
  QList<MatchEvent> events;
  auto add = [&](Kind kind, qint64 matchMs, int team = 0, int slot = 0) {
    events.append({wall, kind, is.period, matchMs, team, slot, is.score[0], is.score[1], 0, {}});
  };

  if (was.started && !is.started) {
    add(Kind::Reset, before.elapsedMs);
    return events;
  }
  const bool periodStarted = was.clock == MatchClock::Ready && is.clock == MatchClock::Running;
  const bool periodEnded = was.clock == MatchClock::Running && is.clock == MatchClock::Ready;
  if (periodStarted) add(Kind::PeriodStart, 0);
  if (periodEnded) add(Kind::PeriodEnd, qint64(is.periodLength) * 1000);
  // A period started by Play carries its number in its own row.
  if (was.period != is.period && !periodStarted) add(Kind::PeriodNumber, after.elapsedMs);
  // Corrected or set while it stands: paused, or ready before the period's start.
  if (was.clock == is.clock && is.clock != MatchClock::Running &&
      before.elapsedMs != after.elapsedMs) {
    add(Kind::TimeCorrection, after.elapsedMs);
    events.last().stepSeconds = int((before.elapsedMs - after.elapsedMs) / 1000);
  }

  bool scored[2] = {false, false};
  for (int team = 1; team <= 2; ++team) {
    const int delta = is.score[team - 1] - was.score[team - 1];
    scored[team - 1] = delta > 0;
    for (int n = 0; n < qAbs(delta); ++n)
      add(delta > 0 ? Kind::Goal : Kind::ScoreCorrection, after.elapsedMs, team);
  }

  // Penalties by id. Between two snapshots a penalty counts at most for the time the clock
  // ran; one tick's worth of leeway covers a click in its last moment, and a time that moved
  // by more than a second otherwise was set.
  constexpr qint64 kTickMs = 200;
  constexpr qint64 kSetMs = 1000;
  const bool clockRan = was.clock == MatchClock::Running || is.clock == MatchClock::Running;
  const qint64 played = clockRan ? qMax<qint64>(0, after.elapsedMs - before.elapsedMs) : 0;
  const qint64 periodEndMs = qint64(is.periodLength) * 1000;
  for (int team = 1; team <= 2; ++team) {
    const auto addPenalty = [&](Kind kind, qint64 matchMs, const Penalty& p, int seconds = 0) {
      add(kind, matchMs, team, p.slot);
      MatchEvent& e = events.last();
      e.penaltyId = p.id;
      e.penaltyKind = p.kind.id;
      e.player = p.player;
      e.penaltySeconds = seconds;
    };
    for (const Penalty& p : was.teamPenalties[team - 1]) {
      if (is.penalty(team, p.id)) continue;
      const bool counted =
          was.clock == MatchClock::Running &&
          (p.state == Penalty::Running || (p.state == Penalty::Paused && p.started));
      const bool ranOut = counted && leftMs(before, p) - played <= kTickMs;
      if (periodEnded || ranOut)
        addPenalty(Kind::PenaltyEnd, periodEnded ? periodEndMs : after.elapsedMs, p);
      else if (scored[2 - team])
        addPenalty(Kind::PenaltyRelease, after.elapsedMs, p);
      else
        addPenalty(Kind::PenaltyCancel, after.elapsedMs, p);
    }
    for (const Penalty& q : is.teamPenalties[team - 1]) {
      const Penalty* p = was.penalty(team, q.id);
      // Given, or (as the display shows it) running again after a new configuration paused it.
      if (!p || (p->state == Penalty::Paused && q.active())) {
        addPenalty(Kind::PenaltyStart, after.elapsedMs, q);
        if (!p) continue;
      }
      if (p->state == Penalty::Waiting && q.state != Penalty::Waiting)
        addPenalty(Kind::PenaltyServing, after.elapsedMs, q);
      const qint64 wasLeft = leftMs(before, *p);
      const qint64 isLeft = leftMs(after, q);
      if (periodEnded) {
        // The end of the period is a tick of its own, late perhaps: no goal or time set in it.
        addPenalty(Kind::PenaltyCarryOver, periodEndMs, q, shownSeconds(isLeft));
        continue;
      }
      const qint64 lastPartMs = qint64(q.kind.seconds) * 1000 * (q.kind.parts - 1);
      if (q.kind.parts > 1 && scored[2 - team] && q.lengthSeconds == p->lengthSeconds &&
          wasLeft - played > lastPartMs && isLeft <= lastPartMs)
        addPenalty(Kind::PenaltyPartRelease, after.elapsedMs, q);
      else if (q.lengthSeconds != p->lengthSeconds || isLeft > wasLeft + kSetMs ||
               isLeft < wasLeft - played - kSetMs)
        addPenalty(Kind::PenaltyTimeSet, after.elapsedMs, q, shownSeconds(isLeft));
    }
  }

  // Fouls; their reset at the end of a half is told by the period's end.
  for (int team = 1; team <= 2; ++team) {
    const int fouls = is.fouls[team - 1];
    if (periodEnded || fouls == was.fouls[team - 1]) continue;
    add(fouls > was.fouls[team - 1] ? Kind::Foul : Kind::FoulCorrection, after.elapsedMs, team);
    events.last().fouls = fouls;
  }
  addCountdownEvents(was, is, after.elapsedMs, add);
  return events;
}
