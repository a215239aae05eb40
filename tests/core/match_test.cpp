#include "core/match.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

// A match with the clock driven by hand in 200 ms ticks.
struct Played {
  explicit Played(MatchRules rules = {}) { match.setRules(rules); }
  void run(int ms) {
    for (int t = 0; t < ms; t += 200) match.tick(now += 200);
  }
  const MatchState& state() const { return match.state(); }

  Match match;
  quint32 now = 1000;
};

TEST(Match, PeriodRunsToItsEndWarnsEndsPenaltiesAndBlinks) {
  Played p({.periodLength = 60, .countDown = true, .warningLead = 10});
  QSignalSpy warning(&p.match, &Match::warningDue);
  QSignalSpy ended(&p.match, &Match::periodEnded);
  p.match.playPause(p.now);
  p.match.penaltyClick(0, p.now);
  p.run(49'000);
  EXPECT_EQ(p.state().clockText(), "0:11");
  EXPECT_EQ(warning.count(), 0);
  p.run(200);
  EXPECT_EQ(p.state().clockText(), "0:10");
  EXPECT_EQ(warning.count(), 1);
  EXPECT_EQ(p.state().penalties[0].text(), "1:11");
  p.run(10'000);
  EXPECT_EQ(warning.count(), 1);
  EXPECT_EQ(ended.count(), 1);
  EXPECT_EQ(p.state().clock, MatchClock::Ready);
  EXPECT_EQ(p.state().clockText(), "0:00");
  EXPECT_EQ(p.state().penalties[0], PenaltySlotState{});
  EXPECT_FALSE(p.state().correctionOffered());

  // Visible, hidden, five times; the last step switches the clock off at its start value.
  QString seen;
  while (p.state().blinking()) {
    seen += p.state().displayClockVisible() ? 'V' : '-';
    p.match.blinkStep();
  }
  EXPECT_EQ(seen, "V-V-V-V-V-");
  EXPECT_FALSE(p.state().clockShown);
  EXPECT_FALSE(p.state().displayClockVisible());
  EXPECT_EQ(p.state().clockText(), "1:00");
}

TEST(Match, ALateTickEndsThePeriodAtItsEndNotPastIt) {
  Played p({.periodLength = 60, .countDown = true});
  p.match.playPause(p.now);
  p.run(58'000);
  p.match.tick(p.now += 3'000);  // the program was held up for three seconds
  EXPECT_EQ(p.state().clock, MatchClock::Ready);
  EXPECT_EQ(p.state().clockText(), "0:00");
}

TEST(Match, PlayDuringTheBlinkStartsTheNextPeriodAndTheBlinkStillEnds) {
  Played p({.periodLength = 10});
  p.match.playPause(p.now);
  p.run(10'000);
  p.match.blinkStep();
  p.match.playPause(p.now);
  p.run(1000);
  while (p.state().blinking()) p.match.blinkStep();
  EXPECT_EQ(p.state().clock, MatchClock::Running);
  EXPECT_FALSE(p.state().clockShown);
  EXPECT_EQ(p.state().clockText(), "0:10");
  p.run(200);
  EXPECT_EQ(p.state().clockText(), "0:08");
}

TEST(Match, PauseFreezesClockAndPenaltiesAndCorrectionsMoveOnlyAPausedClock) {
  Played p;
  p.match.correct(60);  // ready: nothing
  p.match.penaltyClick(2, p.now);
  EXPECT_TRUE(p.state().penalties[2].armed);
  p.match.playPause(p.now);
  p.run(90'000);
  p.match.correct(60);  // running: nothing
  p.match.playPause(p.now);
  EXPECT_TRUE(p.state().pauseSign());
  EXPECT_EQ(p.state().clockText(), "43:30");
  p.now += 30'000;
  p.match.correct(60);
  p.match.correct(-10);
  EXPECT_EQ(p.state().clockText(), "44:20");
  p.match.correct(80);  // would leave no elapsed time
  EXPECT_EQ(p.state().clockText(), "44:20");
  p.match.setRules({.countDown = false});
  EXPECT_EQ(p.state().clockText(), "0:40");
  p.match.playPause(p.now);
  p.run(200);
  EXPECT_EQ(p.state().clockText(), "0:41");
  EXPECT_EQ(p.state().penalties[2].text(), "0:30");
}

TEST(Match, AClockPausedPastAShortenedPeriodShowsThePeriodsEnd) {
  struct Row {
    const char* name;
    MatchRules rules;
    const char* shown;
  };
  // Paused at 0:07 of 45:00, counting down.
  for (const Row& row : {Row{"down, 0:05", {.periodLength = 5}, "0:00"},
                         Row{"up, 0:05", {.periodLength = 5, .countDown = false}, "0:05"},
                         Row{"up, 0:07", {.periodLength = 7, .countDown = false}, "0:07"},
                         Row{"down, 0:10", {.periodLength = 10}, "0:03"}}) {
    Played p;
    p.match.playPause(p.now);
    p.run(7000);
    p.match.playPause(p.now);
    p.match.setRules(row.rules);
    EXPECT_EQ(p.state().clockText(), row.shown) << row.name;
    // The direction switched back and forth (F4 twice) shows the same.
    p.match.setRules({row.rules.periodLength, !row.rules.countDown});
    p.match.setRules(row.rules);
    EXPECT_EQ(p.state().clockText(), row.shown) << row.name;
  }
}

TEST(Match, GoalReleasesAPenaltyOfTheShortHandedConcedingTeam) {
  struct Row {
    const char* name;
    bool option;
    std::vector<int> started;  // started 1 s apart in this order
    int scoringTeam;
    int released;  // -1: none
  } rows[] = {
      {"option off", false, {2}, 1, -1},
      {"one guest penalty", true, {2}, 1, 2},
      {"the earlier of two", true, {3, 2}, 1, 3},
      {"one each side", true, {0, 2}, 1, -1},
      {"the scoring side's own penalty", true, {2}, 2, -1},
      {"two against one", true, {0, 2, 3}, 1, 2},
  };
  for (const Row& r : rows) {
    Played p({.goalReleasesPenalty = r.option});
    p.match.playPause(p.now);
    for (int slot : r.started) {
      p.match.penaltyClick(slot, p.now);
      p.run(1000);
    }
    p.match.changeScore(r.scoringTeam, +1);
    for (int slot = 0; slot < 4; ++slot) {
      const bool wasStarted = std::count(r.started.begin(), r.started.end(), slot) > 0;
      EXPECT_EQ(p.state().penalties[slot].active, wasStarted && slot != r.released)
          << r.name << ", slot " << slot;
    }
  }
}

TEST(Match, ResetClearsTheMatchAndShowsTheClock) {
  Played p({.goalReleasesPenalty = true});
  p.match.playPause(p.now);
  p.match.changeScore(1, +1);
  p.match.changeScore(2, -1);  // never below zero
  p.match.setPeriod(3);
  p.match.penaltyClick(1, p.now);
  p.match.setClockShown(false);
  p.match.toggleBlackScreen();
  p.run(5000);
  p.match.reset();
  MatchState expected;
  expected.blackScreen = true;  // the screens are not the match's score
  EXPECT_EQ(p.state(), expected);
  p.match.playPause(p.now);
  p.run(1000);
  EXPECT_EQ(p.state().penalties[1], PenaltySlotState{});
}

TEST(Match, ScoresStayWithinZeroAndNineHundredNinetyNine) {
  struct Row {
    const char* name;
    int start;
    int delta;
    int expected;
  } rows[] = {
      {"last goal", 998, +1, 999},
      {"beyond three digits", 999, +1, 999},
      {"a jump past the end", 5, 2'147'483'647, 5},
      {"below zero", 1, -2, 1},
      {"taken back", 999, -1, 998},
  };
  for (const Row& r : rows) {
    Played p;
    p.match.changeScore(1, r.start);
    p.match.changeScore(1, r.delta);
    EXPECT_EQ(p.state().score[0], r.expected) << r.name;
  }
}

TEST(Match, SnapshotRestoresAcrossTheCounterWrap) {
  Played p;
  p.now = 0xFFFF0000u;  // 65 s before the counter wraps
  p.match.playPause(p.now);
  p.match.penaltyClick(0, p.now);
  p.run(30'000);
  p.match.penaltyClick(3, p.now);  // kept mark: stopped from outside below
  p.run(10'000);
  p.match.deactivatePenalties();
  p.match.penaltyClick(0, p.now);
  p.match.playPause(p.now);
  const MatchSnapshot paused = p.match.snapshot(p.now + 5000);
  EXPECT_EQ(paused.elapsedMs, 40'000);
  EXPECT_EQ(paused.penaltyElapsedMs[0], 40'000);
  EXPECT_EQ(paused.penaltyElapsedMs[3], 10'000);

  Played later;
  later.now = 0x10;  // after the wrap
  later.match.restore(paused, later.now);
  EXPECT_EQ(later.match.snapshot(later.now + 99'000), paused);
  later.match.playPause(later.now);
  later.match.penaltyClick(3, later.now);
  later.run(200);
  EXPECT_EQ(later.state().clockText(), "44:19");
  EXPECT_EQ(later.state().penalties[0].text(), "1:20");
  EXPECT_EQ(later.state().penalties[3].text(), "1:50");
  const MatchSnapshot running = later.match.snapshot(later.now);
  later.match.restore(running, 0xFFFFFFF0u);
  EXPECT_EQ(later.match.snapshot(0xFFFFFFF0u), running);
}

TEST(Match, EveryCommandNotifiesOnceAndTheTickOnlyWhenTheTextChanges) {
  Played p;
  QSignalSpy changed(&p.match, &Match::changed);
  const std::pair<const char*, std::function<void()>> commands[] = {
      {"play", [&] { p.match.playPause(p.now); }},
      {"goal", [&] { p.match.changeScore(1, +1); }},
      {"penalty", [&] { p.match.penaltyClick(0, p.now); }},
      {"period", [&] { p.match.periodCycle(); }},
      {"clock off", [&] { p.match.setClockShown(false); }},
      {"logo", [&] { p.match.setLogoScreen(true); }},
      {"black", [&] { p.match.toggleBlackScreen(); }},
      {"run text", [&] { p.match.startRunText(runTextAll, QString("Willkommen")); }},
      {"next text", [&] { p.match.continueRunText("Pause"); }},
      {"pause", [&] { p.match.playPause(p.now += 1500); }},
      {"correct", [&] { p.match.correct(-60); }},
      {"count up", [&] { p.match.setRules({.countDown = false}); }},
      {"penalties off", [&] { p.match.deactivatePenalties(); }},
      {"start value", [&] { p.match.showStartValue(); }},
      {"reset", [&] { p.match.reset(); }},
  };
  for (const auto& [name, command] : commands) {
    changed.clear();
    command();
    EXPECT_EQ(changed.count(), 1) << name;
  }
  changed.clear();
  p.match.correct(60);  // ready: no change, no notification
  p.match.playPause(p.now);
  p.match.tick(p.now += 200);
  p.match.tick(p.now += 200);  // same second
  EXPECT_EQ(changed.count(), 2);
}

}  // namespace
