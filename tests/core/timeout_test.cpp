#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

#include "core/clocktext.h"
#include "core/match.h"
#include "scriptedmatch.h"

namespace {

// The description of a match of time-outs and breaks: the clock state and text, the period, a
// running time-out ("TO1 0:43") or break ("PAUSE 9:59"), the time-outs left per team, and the
// signals sounded so far (short, end).
QString describe(const Match& m, int shortSignals, int endSignals) {
  const MatchState& s = m.state();
  const char* clock = s.clock == MatchClock::Running  ? "running"
                      : s.clock == MatchClock::Paused ? "paused"
                                                      : "ready";
  QString text = QString("%1 %2 | period %3").arg(clock, s.clockText()).arg(s.period);
  if (s.timeoutRunning())
    text += QString(" | TO%1 %2").arg(s.timeoutTeam).arg(SpanText(s.timeoutSecondsLeft));
  if (s.breakOn) text += " | PAUSE " + SpanText(s.breakSecondsLeft);
  text += QString(" | left %1 %2").arg(m.timeoutsLeft(1)).arg(m.timeoutsLeft(2));
  text += QString(" | signals %1 %2").arg(shortSignals).arg(endSignals);
  return text;
}

void play(const Script& script) {
  int shortSignals = 0, endSignals = 0;
  playScript(
      script, [&](const Match& m) { return describe(m, shortSignals, endSignals); },
      [&](Match& m) {
        QObject::connect(&m, &Match::timeoutSignalDue, [&] { ++shortSignals; });
        QObject::connect(&m, &Match::countdownEnded, [&] { ++endSignals; });
      });
}

TEST(Timeouts, EveryPresetKeepsItsTimeoutAndBreakRules) {
  const Script scripts[] = {
      {"standard",
       false,
       {
           // No time-outs and no break of its own: the period ends as it always did.
           {"timeout 1", "refused: not in sport"},
           {"play"},
           {"run 2700", "ready 0:00 | period 0 | left 0 0 | signals 0 0"},
           // A break the operator starts counts down; Play ends it and advances the period.
           {"break", "ready 0:00 | period 0 | PAUSE 15:00 | left 0 0 | signals 0 0"},
           {"run 60", "ready 0:00 | period 0 | PAUSE 14:00 | left 0 0 | signals 0 0"},
           {"play"},
           {"run 1", "running 44:59 | period 2 | left 0 0 | signals 0 0"},
       }},
      {"handball",
       false,
       {
           {"period 1"},
           {"play"},
           {"run 100"},
           // Taken while the clock runs: the clock is paused first.
           {"timeout 1", "paused 28:20 | period 1 | TO1 1:00 | left 1 2 | signals 0 0"},
           // The first tick shows 0:59, as the match clock turns its seconds 900 ms early.
           {"run 0.2", "paused 28:20 | period 1 | TO1 0:59 | left 1 2 | signals 0 0"},
           {"timeout 2", "refused: running"},
           {"run 48.8", "paused 28:20 | period 1 | TO1 0:11 | left 1 2 | signals 0 0"},
           // The signal at 50 s into it, the end signal at 1:00; the paused clock stays.
           {"run 0.2", "paused 28:20 | period 1 | TO1 0:10 | left 1 2 | signals 1 0"},
           {"run 10", "paused 28:20 | period 1 | left 1 2 | signals 1 1"},
           {"timeout 1", "paused 28:20 | period 1 | TO1 1:00 | left 0 2 | signals 1 1"},
           // Ended early: no signal.
           {"end", "paused 28:20 | period 1 | left 0 2 | signals 1 1"},
           {"timeout 1", "refused: period limit"},
           {"timeout 2"},
           // Play ends a running time-out and the clock goes on.
           {"play", "running 28:20 | period 1 | left 0 1 | signals 1 1"},
           {"run 1700", "ready 0:00 | period 1 | PAUSE 9:59 | left 0 1 | signals 1 1"},
           {"timeout 2", "refused: in break"},
           {"run 597.8", "ready 0:00 | period 1 | PAUSE 0:01 | left 0 1 | signals 1 1"},
           {"run 0.6", "ready 0:00 | period 1 | PAUSE 0:00 | left 0 1 | signals 1 2"},
           {"run 5", "ready 0:00 | period 1 | PAUSE 0:00 | left 0 1 | signals 1 2"},
           // The next half: the period counts afresh, the match limit stays.
           {"play", "running 30:00 | period 2 | left 1 2 | signals 1 2"},
           {"timeout 1", "paused 30:00 | period 2 | TO1 1:00 | left 0 2 | signals 1 2"},
           {"end"},
           {"timeout 1", "refused: match limit"},
           {"play"},
           // After the last half no break follows, and Play starts no third half. (In its last
           // five minutes a team has only one time-out.)
           {"run 1800", "ready 0:00 | period 2 | left 0 1 | signals 1 2"},
           {"play"},
           {"run 1", "ready 0:00 | period 2 | left 0 1 | signals 1 2"},
           // A period number the operator sets goes on (extra time).
           {"period 3"},
           {"play"},
           {"run 1", "running 29:59 | period 3 | left 0 2 | signals 1 2"},
       }},
      {"handball",
       false,
       {
           // In the last five minutes of the second half one time-out per team.
           {"period 2"},
           {"play"},
           {"run 1200"},
           {"timeout 1", "paused 10:00 | period 2 | TO1 1:00 | left 1 2 | signals 0 0"},
           {"end"},
           {"play"},
           {"run 320"},
           {"timeout 2", "paused 4:40 | period 2 | TO2 1:00 | left 1 0 | signals 0 0"},
           {"end"},
           {"play"},
           {"run 10"},
           {"timeout 2", "refused: late limit"},
           {"timeout 1", "paused 4:30 | period 2 | TO1 1:00 | left 0 0 | signals 0 0"},
       }},
      {"floorball",
       false,
       {
           // The first Play starts period 1: the break leads to the second.
           {"play"},
           {"timeout 2", "paused 20:00 | period 1 | TO2 0:30 | left 1 0 | signals 0 0"},
           {"run 30", "paused 20:00 | period 1 | left 1 0 | signals 0 1"},
           {"timeout 2", "refused: match limit"},
           {"play"},
           {"run 1200", "ready 0:00 | period 1 | PAUSE 9:59 | left 1 0 | signals 0 1"},
           // Ended by the operator before Play: the next period is set, Play starts it.
           {"endbreak", "ready 20:00 | period 2 | left 1 0 | signals 0 1"},
           {"play"},
           {"run 1", "running 19:59 | period 2 | left 1 0 | signals 0 1"},
       }},
      {"icehockey",
       false,
       {
           {"period 2"},
           {"play"},
           {"run 1200", "ready 0:00 | period 2 | PAUSE 14:59 | left 1 1 | signals 0 0"},
           {"play"},
           {"run 1200", "ready 0:00 | period 3 | left 1 1 | signals 0 0"},
       }},
      {"futsal",
       false,
       {
           {"timeout 3", "refused: no team"},
           {"timeout 1", "ready 20:00 | period 0 | TO1 1:00 | left 0 1 | signals 0 0"},
           {"run 60", "ready 20:00 | period 0 | left 0 1 | signals 0 1"},
           {"timeout 1", "refused: period limit"},
           {"period 1", "ready 20:00 | period 1 | left 1 1 | signals 0 1"},
       }},
  };
  for (const Script& script : scripts) play(script);
}

// A resumed match takes up a running time-out or break with the time it had left.
TEST(Timeouts, SnapshotRestoresARunningTimeoutAndBreak) {
  struct Row {
    const char* sport;
    bool breakOfPeriod;
  };
  for (const Row& row : {Row{"handball", false}, Row{"handball", true}}) {
    Match match;
    quint32 now = 1000;
    match.setSport(*SportRules::preset(row.sport));
    match.setRules({.periodLength = 1800});
    match.playPause(now);
    if (row.breakOfPeriod)
      for (int t = 0; t < 9000; ++t) match.tick(now += 200);
    else
      match.startTimeout(2, now);
    for (int t = 0; t < 100; ++t) match.tick(now += 200);  // 20 s of it
    const MatchSnapshot snapshot = match.snapshot(now);

    Match resumed;
    resumed.setSport(*SportRules::preset(row.sport));
    resumed.setRules({.periodLength = 1800});
    quint32 later = 77;
    resumed.restore(snapshot, later);
    EXPECT_EQ(resumed.state(), match.state()) << row.breakOfPeriod;
    for (int t = 0; t < 25; ++t) resumed.tick(later += 200);
    if (row.breakOfPeriod) {
      EXPECT_TRUE(resumed.state().breakOn);
      // The half ended 0.8 s before its last tick: 25.8 s of the break are over.
      EXPECT_EQ(resumed.state().breakSecondsLeft, 600 - 26);
    } else {
      EXPECT_EQ(resumed.state().timeoutTeam, 2);
      EXPECT_EQ(resumed.state().timeoutSecondsLeft, 60 - 25);
      EXPECT_EQ(resumed.timeoutsLeft(2), 1);
    }
  }
}

}  // namespace
