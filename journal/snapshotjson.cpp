#include "journal/snapshotjson.h"

#include <QJsonArray>
#include <limits>

#include "core/match.h"

namespace {

constexpr qint64 kPenaltyMs = qint64(PenaltyTable::kLength) * 1000;
constexpr qint64 kMaxTickSpan = std::numeric_limits<quint32>::max();
constexpr int kMaxInt = std::numeric_limits<int>::max();

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

}  // namespace

QJsonObject toJson(const MatchSnapshot& snapshot) {
  const MatchState& s = snapshot.state;
  QJsonArray penalties;
  for (int i = 0; i < 4; ++i) {
    const PenaltySlotState& p = s.penalties[i];
    penalties.append(QJsonObject{{"active", p.active},
                                 {"armed", p.armed},
                                 {"secondsLeft", p.secondsLeft},
                                 {"elapsedMs", snapshot.penaltyElapsedMs[i]}});
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
          {"clockShown", s.clockShown},
          {"blinkStepsLeft", s.blinkStepsLeft},
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
  s.periodLength = int(f.whole("periodLength", 0, kMaxInt / 1000));
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
    p.secondsLeft = int(slot.whole("secondsLeft", 0, PenaltyTable::kLength));
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
  s.runText.starts = int(run.whole("starts", 0, kMaxInt));
  // A shown text always lit the lamp; journals from before the lamp was kept do not say.
  s.runText.lit = object["runText"]["lit"].toBool() || s.runText.shown;
  f.require(run.ok());
  if (!f.ok()) return std::nullopt;
  return snapshot;
}
