#include "journal/snapshotjson.h"

#include <QJsonArray>
#include <limits>

#include "core/match.h"

namespace {

// The longest time a shown penalty can have; a standard one never shows more than 2:00.
constexpr qint64 kPenaltyMs = qint64(Penalty::kMaxSeconds) * 1000;
constexpr qint64 kMaxTickSpan = std::numeric_limits<quint32>::max();
// Counters that the match adds to: read only up to far below where adding would overflow.
constexpr int kMaxCounter = 1'000'000'000;
constexpr int kMaxFouls = 999;

const char* clockName(MatchClock::State state) {
  switch (state) {
    case MatchClock::Ready:
      return "ready";
    case MatchClock::Paused:
      return "paused";
    case MatchClock::Running:
      break;
  }
  return "running";
}

std::optional<MatchClock::State> clockNamed(const QString& name) {
  for (MatchClock::State s : {MatchClock::Ready, MatchClock::Paused, MatchClock::Running})
    if (name == QLatin1String(clockName(s))) return s;
  return std::nullopt;
}

// Reads typed fields and remembers whether any was missing, mistyped or out of range.
class Fields {
 public:
  explicit Fields(const QJsonObject& object) : object_(object) {}
  bool ok() const { return ok_; }

  qint64 whole(const char* name, qint64 low, qint64 high) {
    const QJsonValue v = object_[name];
    const double d = v.toDouble();
    if (!v.isDouble() || !(d >= double(low) && d <= double(high)) || d != double(qint64(d))) {
      ok_ = false;
      return low;
    }
    return qint64(d);
  }
  std::optional<int> wholeOrNull(const char* name, int low, int high) {
    if (object_[name].isNull()) return std::nullopt;
    return int(whole(name, low, high));
  }
  bool flag(const char* name) {
    ok_ = ok_ && object_[name].isBool();
    return object_[name].toBool();
  }
  QString text(const char* name) {
    ok_ = ok_ && object_[name].isString();
    return object_[name].toString();
  }
  QJsonObject object(const char* name) {
    ok_ = ok_ && object_[name].isObject();
    return object_[name].toObject();
  }
  void require(bool condition) { ok_ = ok_ && condition; }

 private:
  const QJsonObject object_;
  bool ok_ = true;
};

QJsonArray penaltyListJson(const MatchSnapshot& snapshot) {
  QJsonArray list;
  for (int team = 1; team <= 2; ++team)
    for (const Penalty& p : snapshot.state.teamPenalties[team - 1]) {
      const auto left = snapshot.penaltyLeftMs.find(p.id);
      list.append(QJsonObject{{"team", team},
                              {"id", p.id},
                              {"kind", p.kind.id},
                              {"kindSeconds", p.kind.seconds},
                              {"parts", p.kind.parts},
                              {"release", goalReleaseName(p.kind.release)},
                              {"personal", p.kind.personal},
                              {"player", p.player ? QJsonValue(*p.player) : QJsonValue()},
                              {"state", Penalty::stateName(p.state)},
                              {"started", p.started},
                              {"lengthSeconds", p.lengthSeconds},
                              {"secondsLeft", p.secondsLeft},
                              {"slot", p.slot},
                              {"leftMs", left != snapshot.penaltyLeftMs.end() ? left->second : 0}});
    }
  return list;
}

// The penalty lists, absent from journals written before there were any: then the match
// takes its penalties from the four slots.
bool readPenaltyList(const QJsonObject& object, MatchSnapshot& snapshot) {
  MatchState& s = snapshot.state;
  Fields f(object);
  if (!object.contains("penaltyList")) return true;
  s.sport = f.text("sport");
  s.nextPenaltyId = int(f.whole("nextPenaltyId", 1, kMaxCounter));
  const QJsonArray fouls = object["fouls"].toArray();
  f.require(fouls.size() == 2);
  for (int t = 0; t < 2 && f.ok(); ++t) {
    const double n = fouls[t].toDouble(-1);
    f.require(n >= 0 && n <= kMaxFouls && n == double(int(n)));
    s.fouls[t] = int(n);
  }
  const QJsonArray penaltyList = object["penaltyList"].toArray();
  for (const QJsonValue& v : penaltyList) {
    Fields e(v.toObject());
    Penalty p;
    const int team = int(e.whole("team", 1, 2));
    // No match holds more; a list made longer elsewhere is cut, so reading it stays quick.
    if (s.teamPenalties[team - 1].size() >= Match::kPenaltiesPerTeam) continue;
    p.id = int(e.whole("id", 1, s.nextPenaltyId - 1));
    p.kind.id = e.text("kind");
    p.kind.seconds = int(e.whole("kindSeconds", 1, Penalty::kMaxSeconds));
    p.kind.parts = int(e.whole("parts", 1, 2));
    const auto release = goalReleaseNamed(e.text("release"));
    p.kind.release = release.value_or(GoalRelease::never);
    p.kind.personal = e.flag("personal");
    p.player = e.wholeOrNull("player", 0, Penalty::kMaxPlayer);
    const auto state = Penalty::stateNamed(e.text("state"));
    p.state = state.value_or(Penalty::Running);
    p.started = e.flag("started");
    p.lengthSeconds = int(e.whole("lengthSeconds", 1, Penalty::kMaxSeconds));
    p.secondsLeft = int(e.whole("secondsLeft", 0, Penalty::kMaxSeconds));
    p.slot = int(e.whole("slot", 0, 2));
    // A paused penalty's time goes on, however long ago it ran out; a running one recorded
    // between two ticks may have passed its end by a moment and comes back at its end.
    qint64 left = e.whole("leftMs", -kMaxTickSpan, kPenaltyMs);
    if (p.state != Penalty::Paused) left = qMax<qint64>(left, 0);
    e.require(release.has_value() && state.has_value() && !p.kind.id.isEmpty());
    e.require(left <= qint64(p.lengthSeconds) * 1000);
    e.require(p.started == (p.state == Penalty::Running) || p.state == Penalty::Paused);
    e.require(!s.penalty(1, p.id) && !s.penalty(2, p.id));
    f.require(e.ok());
    if (!f.ok()) break;
    s.teamPenalties[team - 1].push_back(p);
    snapshot.penaltyLeftMs[p.id] = left;
  }
  return f.ok();
}

// Team time-outs and the break; a journal written before they existed has none.
QJsonObject countdownJson(const MatchSnapshot& snapshot) {
  const MatchState& s = snapshot.state;
  return {
      {"timeoutTeam", s.timeoutTeam},
      {"timeoutSecondsLeft", s.timeoutSecondsLeft},
      {"timeoutSignalled", s.timeoutSignalled},
      {"timeoutsTaken", QJsonArray{s.timeoutsTaken[0], s.timeoutsTaken[1]}},
      {"timeoutsTakenInPeriod", QJsonArray{s.timeoutsTakenInPeriod[0], s.timeoutsTakenInPeriod[1]}},
      {"timeoutsTakenLate", QJsonArray{s.timeoutsTakenLate[0], s.timeoutsTakenLate[1]}},
      {"breakOn", s.breakOn},
      {"breakSecondsLeft", s.breakSecondsLeft},
      {"leftMs", snapshot.countdownLeftMs}};
}

bool readCountdown(const QJsonObject& object, MatchSnapshot& snapshot) {
  if (!object.contains("countdown")) return true;
  MatchState& s = snapshot.state;
  Fields f(object["countdown"].toObject());
  constexpr int kMaxCountdown = 24 * 3600;
  s.timeoutTeam = int(f.whole("timeoutTeam", 0, 2));
  s.timeoutSecondsLeft = int(f.whole("timeoutSecondsLeft", 0, kMaxCountdown));
  s.timeoutSignalled = f.flag("timeoutSignalled");
  // Those of the last minutes came later: a journal without them has none.
  const std::pair<const char*, std::array<int, 2>*> lists[] = {
      {"timeoutsTaken", &s.timeoutsTaken},
      {"timeoutsTakenInPeriod", &s.timeoutsTakenInPeriod},
      {"timeoutsTakenLate", &s.timeoutsTakenLate}};
  for (const auto& [name, counts_] : lists) {
    if (counts_ == &s.timeoutsTakenLate && !object["countdown"].toObject().contains(name)) continue;
    const QJsonArray counts = object["countdown"][name].toArray();
    f.require(counts.size() == 2);
    std::array<int, 2>& to = *counts_;
    for (int t = 0; t < 2 && f.ok(); ++t) {
      const double n = counts[t].toDouble(-1);
      f.require(n >= 0 && n <= 99 && n == double(int(n)));
      to[t] = int(n);
    }
  }
  s.breakOn = f.flag("breakOn");
  s.breakSecondsLeft = int(f.whole("breakSecondsLeft", 0, kMaxCountdown));
  snapshot.countdownLeftMs = f.whole("leftMs", 0, qint64(kMaxCountdown) * 1000);
  return f.ok();
}

}  // namespace

QJsonObject toJson(const MatchSnapshot& snapshot) {
  const MatchState& s = snapshot.state;
  QJsonArray penalties;
  for (int i = 0; i < 4; ++i) {
    const PenaltySlotState& p = s.penalties[i];
    penalties.append(QJsonObject{{"active", p.active},
                                 {"armed", p.armed},
                                 {"secondsLeft", p.secondsLeft},
                                 {"elapsedMs", snapshot.penaltyElapsedMs[i]},
                                 {"id", p.id}});
  }
  return {{"clock", clockName(s.clock)},
          {"elapsedMs", snapshot.elapsedMs},
          {"clockSeconds", s.clockSeconds},
          {"countDown", s.countDown},
          {"periodLength", s.periodLength},
          {"started", s.started},
          {"periodEnded", s.periodEnded},
          {"warningStarted", s.warningStarted},
          {"period", s.period},
          {"home", s.score[0]},
          {"guest", s.score[1]},
          {"penalties", penalties},
          {"sport", s.sport},
          {"penaltyList", penaltyListJson(snapshot)},
          {"nextPenaltyId", s.nextPenaltyId},
          {"fouls", QJsonArray{s.fouls[0], s.fouls[1]}},
          {"clockShown", s.clockShown},
          {"blinkStepsLeft", s.blinkStepsLeft},
          {"countdown", countdownJson(snapshot)},
          {"logoScreen", s.logoScreen},
          {"blackScreen", s.blackScreen},
          {"runText", QJsonObject{{"mode", s.runText.mode},
                                  {"text", s.runText.text},
                                  {"shown", s.runText.shown},
                                  {"starts", s.runText.starts},
                                  {"lit", s.runText.lit}}}};
}

std::optional<MatchSnapshot> snapshotFromJson(const QJsonObject& object) {
  MatchSnapshot snapshot;
  MatchState& s = snapshot.state;
  Fields f(object);
  const auto clock = clockNamed(f.text("clock"));
  f.require(clock.has_value());
  s.clock = clock.value_or(MatchClock::Ready);
  s.periodLength = int(f.whole("periodLength", 0, Match::kMaxPeriodLength));
  // A running clock or penalty recorded between two ticks may have passed its end by a
  // moment; it comes back at its end, and the next tick ends it.
  snapshot.elapsedMs = qMin(f.whole("elapsedMs", 0, kMaxTickSpan), qint64(s.periodLength) * 1000);
  s.clockSeconds = int(f.whole("clockSeconds", 0, s.periodLength));
  s.countDown = f.flag("countDown");
  s.started = f.flag("started");
  s.periodEnded = f.flag("periodEnded");
  s.warningStarted = f.flag("warningStarted");
  s.period = int(f.whole("period", 0, 4));
  s.score = {int(f.whole("home", 0, Match::kMaxScore)), int(f.whole("guest", 0, Match::kMaxScore))};
  s.clockShown = f.flag("clockShown");
  s.blinkStepsLeft = int(f.whole("blinkStepsLeft", 0, Match::kBlinkSteps));
  s.logoScreen = f.flag("logoScreen");
  s.blackScreen = f.flag("blackScreen");

  const QJsonArray penalties = object["penalties"].toArray();
  f.require(penalties.size() == 4);
  for (int i = 0; i < 4 && f.ok(); ++i) {
    PenaltySlotState& p = s.penalties[i];
    Fields slot(penalties[i].toObject());
    p.active = slot.flag("active");
    p.armed = slot.flag("armed");
    p.secondsLeft = int(slot.whole("secondsLeft", 0, Penalty::kMaxSeconds));
    // The penalty the slot shows; journals written before penalty lists have none.
    if (penalties[i].toObject().contains("id")) p.id = int(slot.whole("id", 0, kMaxCounter));
    // An idle slot stopped by a new configuration keeps its start, however long ago.
    qint64 elapsed = slot.whole("elapsedMs", MatchSnapshot::kNoStart, kMaxTickSpan);
    if (p.active) elapsed = qMin(elapsed, kPenaltyMs);
    snapshot.penaltyElapsedMs[i] = elapsed;
    slot.require(!p.armed || elapsed == MatchSnapshot::kNoStart);
    slot.require(!p.active || p.armed || elapsed != MatchSnapshot::kNoStart);
    f.require(slot.ok());
  }

  Fields run(f.object("runText"));
  s.runText.mode = int(run.whole("mode", runTextStatic, runTextOne));
  s.runText.text = run.text("text");
  s.runText.shown = run.flag("shown");
  s.runText.starts = int(run.whole("starts", 0, kMaxCounter));
  // A shown text always lit the lamp; journals from before the lamp was kept do not say.
  s.runText.lit = object["runText"]["lit"].toBool() || s.runText.shown;
  f.require(run.ok());
  f.require(readPenaltyList(object, snapshot));
  f.require(readCountdown(object, snapshot));
  if (!f.ok()) return std::nullopt;
  return snapshot;
}
