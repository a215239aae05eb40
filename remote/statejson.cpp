#include "remote/statejson.h"

#include <QJsonArray>

#include "core/matchstate.h"

namespace {

QString clockStateName(MatchClock::State state) {
  switch (state) {
    case MatchClock::Running:
      return "running";
    case MatchClock::Paused:
      return "paused";
    default:
      return "ready";
  }
}

QString runTextModeName(int mode) {
  switch (mode) {
    case runTextAll:
      return "all";
    case runTextStatic:
      return "static";
    default:
      return "one";
  }
}

}  // namespace

QJsonObject matchStateJson(const MatchSnapshot& snapshot) {
  const MatchState& s = snapshot.state;
  QJsonArray teams;
  for (int team = 0; team < 2; ++team) {
    QJsonArray penalties;
    for (int slot = team * 2; slot < team * 2 + 2; ++slot) {
      const PenaltySlotState& p = s.penalties[slot];
      penalties.append(QJsonObject{{"active", p.active},
                                   {"armed", p.armed},
                                   {"text", p.text()},
                                   {"secondsLeft", p.secondsLeft},
                                   {"elapsedMs", snapshot.penaltyElapsedMs[slot]}});
    }
    teams.append(QJsonObject{{"score", s.score[team]}, {"penalties", penalties}});
  }
  return {
      {"clock", QJsonObject{{"state", clockStateName(s.clock)},
                            {"text", s.clockText()},
                            {"elapsedMs", snapshot.elapsedMs},
                            {"periodLength", s.periodLength},
                            {"visible", s.displayClockVisible()},
                            {"correctable", s.correctionOffered()}}},
      {"period", s.period},
      {"teams", teams},
      {"pause", s.pauseSign()},
      {"toggles", QJsonObject{{"showClock", s.clockShown},
                              {"countDown", s.countDown},
                              {"logo", s.logoScreen},
                              {"black", s.blackScreen}}},
      {"text", QJsonObject{{"mode", runTextModeName(s.runText.mode)},
                           {"shown", s.runText.shown},
                           {"text", s.runText.text}}},
  };
}
