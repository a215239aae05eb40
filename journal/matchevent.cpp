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
  if (was.period != is.period) add(Kind::PeriodNumber, after.elapsedMs);
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

  const qint64 played = after.elapsedMs - before.elapsedMs;
  for (int i = 0; i < 4; ++i) {
    const PenaltySlotState& p = was.penalties[i];
    const PenaltySlotState& q = is.penalties[i];
    const int team = PenaltyTable::teamOf(i);
    const int slot = i % 2 + 1;
    if (!p.active && q.active) add(Kind::PenaltyStart, after.elapsedMs, team, slot);
    // Ended, not merely stopped by a new configuration (that keeps its start).
    if (!p.active || q.active || after.penaltyElapsedMs[i] != MatchSnapshot::kNoStart || q.armed)
      continue;
    // A penalty that ran out between the two snapshots ended by itself; one tick's worth of
    // leeway covers a click in its last moment.
    constexpr qint64 kTickMs = 200;
    const bool ranOut =
        was.clock == MatchClock::Running && !p.armed &&
        before.penaltyElapsedMs[i] + played >= PenaltyTable::kLength * 1000 - kTickMs;
    if (periodEnded || ranOut)
      add(Kind::PenaltyEnd, periodEnded ? qint64(is.periodLength) * 1000 : after.elapsedMs, team,
          slot);
    else if (scored[2 - team])
      add(Kind::PenaltyRelease, after.elapsedMs, team, slot);
    else
      add(Kind::PenaltyCancel, after.elapsedMs, team, slot);
  }
  addCountdownEvents(was, is, after.elapsedMs, add);
  return events;
}
