#include <gtest/gtest.h>

#include "core/clocktext.h"
#include "core/matchclock.h"
#include "core/penaltytable.h"

TEST(ClockText, FormatsMinutesSecondsAndHours) {
  struct Row {
    int seconds;
    bool countDown;
    int period;
    const char* text;
  } rows[] = {
      {0, false, 2700, "0:00"},       {65, false, 2700, "1:05"},      {2700, false, 2700, "45:00"},
      {3600, false, 2700, "1:00:00"}, {3725, false, 2700, "1:02:05"}, {1, true, 2700, "44:59"},
      {0, true, 2700, "45:00"},       {2700, true, 2700, "0:00"},     {0, true, 3600, "1:00:00"},
      {5, true, 3600, "59:55"},       {36000, false, 60, "10:00:00"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ClockText(r.seconds, r.countDown, r.period), r.text) << r.seconds;
  EXPECT_EQ(SpanText(120), "2:00");
  EXPECT_EQ(SpanText(1), "0:01");
}

TEST(MatchClock, LeadsBy900MsAndSurvivesTheCounterWrap) {
  MatchClock clock;
  const quint32 start = 0xFFFFFF00u;  // 256 ms before the counter wraps
  clock.playPause(start);
  EXPECT_EQ(clock.runningSeconds(start + 99), 0);
  EXPECT_EQ(clock.runningSeconds(start + 100), 1);
  EXPECT_EQ(clock.runningSeconds(start + 200), 1);  // the first tick already shows a second
  EXPECT_EQ(clock.runningSeconds(start + 60'100u), 61);
}

TEST(MatchClock, CorrectionOnlyWhilePausedAndStrictlyInsideThePeriod) {
  MatchClock clock;
  int elapsed = -1;
  EXPECT_FALSE(clock.correct(60, 2700, &elapsed));  // ready
  clock.playPause(1000);
  EXPECT_FALSE(clock.correct(60, 2700, &elapsed));  // running
  clock.playPause(1000 + 90'000);                   // paused after 90 s
  EXPECT_TRUE(clock.correct(60, 2700, &elapsed));
  EXPECT_EQ(elapsed, 30);
  EXPECT_FALSE(clock.correct(30, 2700, &elapsed));     // would be exactly 0
  EXPECT_FALSE(clock.correct(-2670, 2700, &elapsed));  // would reach the period length
  EXPECT_TRUE(clock.correct(-2669, 2700, &elapsed));
  EXPECT_EQ(elapsed, 2699);
  // Resuming continues from the corrected time with no jump.
  clock.playPause(500'000);
  EXPECT_EQ(clock.runningSeconds(500'000), 2699);
}

TEST(PenaltyTable, ReleaseChoosesTheShortHandedTeamsEarliestPenalty) {
  struct Row {
    const char* name;
    std::array<qint32, 4> marks;  // 0 idle; otherwise active with that start mark
    int team;
    int expected;  // -1: nothing released
  } rows[] = {
      {"one running penalty", {0, 0, 5000, 0}, 2, 2},
      {"the earlier of two", {0, 0, 9000, 4000}, 2, 3},
      {"equal marks take slot 2", {0, 0, 4000, 4000}, 2, 3},
      {"armed counts earliest", {0, 0, 4000, -1}, 2, 3},
      {"one each side", {5000, 0, 6000, 0}, 2, -1},
      {"scoring side short-handed", {0, 0, 5000, 0}, 1, -1},
      {"fewer than the other team", {5000, 6000, 7000, 0}, 2, -1},
      {"two against one", {5000, 0, 7000, 8000}, 2, 2},
      // The tick counter passed 2^31 between the two starts: the later mark is negative.
      {"earlier across the sign change", {0, 0, 0x7FFFFF00, qint32(0x80000100u)}, 2, 2},
  };
  for (const Row& r : rows) {
    PenaltyTable table;
    for (int i = 0; i < 4; ++i) {
      if (r.marks[i] == 0) continue;
      table.activate(i, r.marks[i] != -1, static_cast<quint32>(r.marks[i]));
    }
    const auto slot = table.slotToRelease(r.team);
    EXPECT_EQ(slot.value_or(-1), r.expected) << r.name;
  }
}

TEST(PenaltyTable, PauseShiftsStartedSlotsAndPlayStartsArmedOnes) {
  PenaltyTable table;
  table.activate(0, true, 10'000);
  table.activate(1, false, 10'000);
  EXPECT_EQ(table.slot(1).startMark, PenaltyTable::kArmed);
  table.deactivate(0);  // stopped from outside: keeps its mark and still moves with pauses
  table.shiftStarted(30'000);
  EXPECT_EQ(table.slot(0).startMark, 40'000);
  EXPECT_EQ(table.slot(1).startMark, PenaltyTable::kArmed);
  table.startArmed(50'000);
  EXPECT_EQ(table.slot(1).startMark, 50'000);
  EXPECT_EQ(table.elapsedSeconds(1, 51'999), 1);
}
