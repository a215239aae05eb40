#include "remote/statejson.h"

#include <QJsonArray>

#include "board/boardview.h"
#include "core/clocktext.h"

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

QJsonObject matchStateJson(const MatchSnapshot& snapshot, const TSettings& settings) {
  const MatchState& s = snapshot.state;
  const SportRules sport = SportRules::preset(s.sport).value_or(SportRules{});
  const BoardView board = boardView(s, sport, settings);
  QJsonArray teams;
  for (int team = 0; team < 2; ++team) {
    // The display's two penalty times of the team, and every penalty it has.
    QJsonArray shown;
    for (int slot = team * 2; slot < team * 2 + 2; ++slot) {
      const PenaltySlotState& p = s.penalties[slot];
      shown.append(QJsonObject{{"active", p.active},
                               {"armed", p.armed},
                               {"text", p.text()},
                               {"secondsLeft", p.secondsLeft},
                               {"elapsedMs", snapshot.penaltyElapsedMs[slot]},
                               {"id", p.id ? QJsonValue(p.id) : QJsonValue()}});
    }
    QJsonArray penalties;
    for (const Penalty& p : s.teamPenalties[team])
      penalties.append(QJsonObject{{"id", p.id},
                                   {"kind", p.kind.id},
                                   {"player", p.player ? QJsonValue(*p.player) : QJsonValue()},
                                   {"state", Penalty::stateName(p.state)},
                                   {"personal", p.kind.personal},
                                   {"secondsLeft", p.secondsLeft},
                                   {"text", p.text()}});
    const BoardTeam& shownTeam = board.teams[team];
    QJsonObject entry{{"score", shownTeam.score},
                      {"slots", shown},
                      {"penalties", penalties},
                      {"timeoutsUsed", s.timeoutsTaken[team]},
                      {"timeoutsLeft", s.timeoutsLeft(sport, team + 1)}};
    if (shownTeam.fouls) {
      entry.insert("fouls", *shownTeam.fouls);
      entry.insert("foulsMarked", shownTeam.foulsMarked);
    }
    teams.append(entry);
  }
  QJsonArray kinds;
  for (const PenaltyKind& k : sport.kinds) kinds.append(k.id);
  return {
      {"sport", s.sport},
      {"penaltyKinds", kinds},
      {"clock", QJsonObject{{"state", clockStateName(s.clock)},
                            {"text", board.clockText},
                            {"elapsedMs", snapshot.elapsedMs},
                            {"periodLength", s.periodLength},
                            {"visible", s.displayClockVisible()},
                            {"correctable", s.correctionOffered()}}},
      // The display's clock band: the clock, or a time-out or the break in their own colours.
      {"band", QJsonObject{{"text", board.band.text},
                           {"visible", board.band.visible},
                           {"countdown", board.band.countdown}}},
      {"period", board.period},
      {"teams", teams},
      {"timeout", s.timeoutRunning()
                      ? QJsonValue(QJsonObject{{"team", s.timeoutTeam},
                                               {"secondsLeft", s.timeoutSecondsLeft},
                                               {"text", SpanText(s.timeoutSecondsLeft)}})
                      : QJsonValue()},
      {"break", s.breakOn ? QJsonValue(QJsonObject{{"secondsLeft", s.breakSecondsLeft},
                                                   {"text", SpanText(s.breakSecondsLeft)}})
                          : QJsonValue()},
      {"pause", board.pauseSign},
      {"toggles", QJsonObject{{"showClock", s.clockShown},
                              {"countDown", s.countDown},
                              {"logo", board.logoScreen},
                              {"black", board.blackScreen}}},
      {"text", QJsonObject{{"mode", runTextModeName(s.runText.mode)},
                           {"shown", s.runText.shown},
                           {"text", s.runText.text}}},
  };
}
