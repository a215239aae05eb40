#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "core/match.h"

// A scripted match: each row is one command and, where given, what the match shows after it
// (as the test's own description of the match puts it).
//   play | config | blink | run S | click SLOT | period N | goal T | give T KIND [#P]
//   set T NTH SECONDS | cancel T NTH | foul T DELTA | timeout T | end | break | endbreak
// NTH counts a team's penalties from 1 in the order given. A refused time-out shows as
// "refused: <reason>" in place of the description.
struct Step {
  const char* command;
  const char* shows = nullptr;
};

struct Script {
  const char* sport;
  bool strafeReset = false;
  std::vector<Step> steps;
};

inline const char* refusalName(TimeoutRefusal r) {
  switch (r) {
    case TimeoutRefusal::None:
      return "none";
    case TimeoutRefusal::NoTeam:
      return "no team";
    case TimeoutRefusal::NotInSport:
      return "not in sport";
    case TimeoutRefusal::Running:
      return "running";
    case TimeoutRefusal::InBreak:
      return "in break";
    case TimeoutRefusal::MatchLimit:
      return "match limit";
    case TimeoutRefusal::PeriodLimit:
      return "period limit";
    case TimeoutRefusal::LateLimit:
      return "late limit";
  }
  return "?";
}

// Runs one command; returns a refusal's text, else nothing.
inline QString runStep(Match& match, quint32& now, const QString& command) {
  const QStringList w = command.split(' ');
  const int team = w.size() > 1 ? w[1].toInt() : 0;
  const auto nth = [&](const QString& n) {
    const auto& list = match.state().teamPenalties[team - 1];
    const int i = n.toInt() - 1;
    return i >= 0 && i < int(list.size()) ? list[i].id : -1;
  };
  if (w[0] == "play") {
    match.playPause(now);
  } else if (w[0] == "config") {
    match.takeConfiguration(match.rules());
  } else if (w[0] == "blink") {
    while (match.state().blinking()) match.blinkStep();
  } else if (w[0] == "run") {
    for (int ms = 0; ms < w[1].toDouble() * 1000; ms += 200) match.tick(now += 200);
  } else if (w[0] == "click") {
    match.penaltyClick(w[1].toInt(), now);
  } else if (w[0] == "period") {
    match.setPeriod(w[1].toInt());
  } else if (w[0] == "goal") {
    match.changeScore(team, +1, now);
  } else if (w[0] == "give") {
    const std::optional<int> player =
        w.size() > 3 ? std::optional(w[3].mid(1).toInt()) : std::nullopt;
    match.givePenalty(team, w[2], player, now);
  } else if (w[0] == "set") {
    EXPECT_TRUE(match.setPenaltyTime(team, nth(w[2]), w[3].toInt(), now)) << command.toStdString();
  } else if (w[0] == "cancel") {
    EXPECT_TRUE(match.cancelPenalty(team, nth(w[2]), now)) << command.toStdString();
  } else if (w[0] == "foul") {
    match.foul(team, w[2].toInt());
  } else if (w[0] == "timeout") {
    const TimeoutRefusal r = match.startTimeout(team, now);
    if (r != TimeoutRefusal::None) return QString("refused: ") + refusalName(r);
  } else if (w[0] == "end") {
    match.endTimeout(now);
  } else if (w[0] == "break") {
    match.startBreak(now);
  } else if (w[0] == "endbreak") {
    match.endBreak();
  } else {
    ADD_FAILURE() << "unknown step " << command.toStdString();
  }
  return {};
}

// Plays `script` on a new match of its sport, the tick counter wrapping on the way, and
// compares each description given with `describe` of the match.
inline void playScript(const Script& script, const std::function<QString(const Match&)>& describe,
                       const std::function<void(Match&)>& prepare = {}) {
  Match match;
  quint32 now = 0xFFFE0000u;
  match.setSport(*SportRules::preset(script.sport));
  match.setRules({.periodLength = match.sport().periodLength,
                  .warningLead = 0,
                  .goalReleasesPenalty = script.strafeReset});
  if (prepare) prepare(match);
  for (const Step& step : script.steps) {
    const QString refused = runStep(match, now, step.command);
    if (!step.shows) continue;
    const QString shown = refused.isEmpty() ? describe(match) : refused;
    EXPECT_EQ(shown.toStdString(), step.shows) << script.sport << ", after: " << step.command;
  }
}
