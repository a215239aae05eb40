#include <gtest/gtest.h>

#include <QSignalSpy>
#include <functional>

#include "commands/commands.h"
#include "commands/noticetext.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "settings/settings.h"
#include "support/fakes.h"

namespace {

struct Models {
  Models() {
    settings.change([](TSettings& s) {
      s.Time = 1800;
      s.CountDown = false;
    });
  }
  FakePlatform fake;
  Settings settings;
  Match match;
  RunTextList texts;
  Commands commands{match, settings, texts, fake.platform, QString()};

  void play(int ms) {
    fake.tick.advance(ms);
    commands.clockTick();
  }
};

}  // namespace

// Each command goes back whole with one undo, and the match is as before it; the clock keeps
// the time that passed, so the setup pauses it before the command.
TEST(Undo, EachCommandGoesBackWithOneUndo) {
  struct Row {
    const char* name;
    std::function<void(Commands&)> command;
    const char* sport = nullptr;  // nullptr: standard
  } rows[] = {
      {"goal", [](Commands& c) { c.goal(1, +1); }},
      {"goal taken back", [](Commands& c) { c.goal(2, -1); }},
      {"penalty click", [](Commands& c) { c.penaltyClick(2, 1); }},
      {"penalty given", [](Commands& c) { (void)c.givePenalty(1, "2", 7); }},
      {"penalty cancelled", [](Commands& c) { (void)c.cancelPenalty(1, 1); }},
      {"penalty time set", [](Commands& c) { (void)c.setPenaltyTime(1, 1, 30); }},
      {"period", [](Commands& c) { c.setPeriod(2); }},
      {"period cycle", [](Commands& c) { c.periodCycle(); }},
      {"correction", [](Commands& c) { c.correct(-60); }},
      {"set time", [](Commands& c) { (void)c.setClock(754); }},
      {"reset", [](Commands& c) { c.reset(); }},
      {"time-out", [](Commands& c) { (void)c.timeout(1); }, "handball"},
  };
  for (const Row& row : rows) {
    Models m;
    if (row.sport) m.commands.chooseSport(row.sport);
    m.commands.goal(2, +1);
    (void)m.commands.givePenalty(1, "2", 4);
    m.commands.setPeriod(1);
    m.commands.playPause();
    m.play(65'000);
    m.commands.playPause();
    const MatchSnapshot before = m.match.snapshot(m.fake.tick.now());
    row.command(m.commands);
    ASSERT_NE(m.match.snapshot(m.fake.tick.now()), before) << row.name;
    EXPECT_FALSE(m.commands.undo()) << row.name;
    MatchSnapshot after = m.match.snapshot(m.fake.tick.now());
    // Ids of penalties taken back are not given again.
    EXPECT_GE(after.state.nextPenaltyId, before.state.nextPenaltyId) << row.name;
    after.state.nextPenaltyId = before.state.nextPenaltyId;
    EXPECT_EQ(after, before) << row.name;
  }
}

// Steps go back one at a time, newest first, more than twenty of them.
TEST(Undo, TwentyFiveGoalsGoBackOneByOne) {
  Models m;
  for (int n = 0; n < 25; ++n) m.commands.goal(1 + n % 2, +1);
  EXPECT_EQ(m.match.state().score, (std::array<int, 2>{13, 12}));
  for (int n = 24; n >= 0; --n) {
    EXPECT_EQ(m.commands.nextUndo(), "Tor");
    ASSERT_FALSE(m.commands.undo()) << n;
    EXPECT_EQ(m.match.state().score[0] + m.match.state().score[1], n);
  }
  const Notice nothing = m.commands.undo();
  EXPECT_EQ(nothing.kind, Notice::Error);
  EXPECT_EQ(noticeText(nothing), "Es gibt nichts rückgängig zu machen.");
  // A refused command leaves no step.
  m.commands.goal(1, -1);
  EXPECT_FALSE(m.commands.canUndo());
}

// Only the newest 50 steps are kept, whether done here or taken up from a journal.
TEST(Undo, TheNewestFiftyStepsAreKept) {
  struct Row {
    const char* name;
    int goals;
    bool fromJournal;  // the steps were handed in, as at a resume
    int undoable;
  } rows[] = {
      {"fewer", 49, false, 49},
      {"as many", 50, false, 50},
      {"more", 60, false, 50},
      {"more, from a journal", 60, true, 50},
  };
  for (const Row& row : rows) {
    Models m;
    QList<UndoStep> steps;
    QObject::connect(&m.commands, &Commands::undoStepAdded,
                     [&](const UndoStep& step) { steps.append(step); });
    for (int n = 0; n < row.goals; ++n) m.commands.goal(1, +1);
    if (row.fromJournal) m.commands.restoreUndoSteps(steps);
    int undone = 0;
    while (m.commands.canUndo() && undone <= row.goals) {
      EXPECT_FALSE(m.commands.undo()) << row.name;
      ++undone;
    }
    EXPECT_EQ(undone, row.undoable) << row.name;
    EXPECT_EQ(m.match.state().score[0], row.goals - row.undoable) << row.name;
  }
}

// Undoing while the clock runs takes back the command, not the time: the clock and a penalty
// given before go on, and a penalty cancelled comes back with the time played since taken off.
TEST(Undo, TheClockKeepsRunningAcrossAnUndo) {
  Models m;
  m.commands.penaltyClick(1, 1);
  m.commands.playPause();
  m.play(10'000);
  m.commands.goal(2, +1);
  m.play(5'000);
  EXPECT_FALSE(m.commands.undo());
  EXPECT_EQ(m.match.state().score[1], 0);
  EXPECT_EQ(m.match.state().clock, MatchClock::Running);
  EXPECT_EQ(m.match.state().clockText(), "0:15");
  EXPECT_EQ(m.match.state().penalties[0].text(), "1:45");
  m.play(1'000);
  EXPECT_EQ(m.match.state().clockText(), "0:16");
  EXPECT_EQ(m.match.state().penalties[0].text(), "1:44");
  m.commands.penaltyClick(1, 1);  // a click on a running penalty cancels it
  ASSERT_FALSE(m.match.state().penalties[0].active);
  m.play(30'000);
  EXPECT_FALSE(m.commands.undo());
  m.play(200);
  EXPECT_TRUE(m.match.state().penalties[0].active);
  EXPECT_EQ(m.match.state().penalties[0].text(), "1:14");
}

// Reset and undo: the whole match back, the clock paused where it stood.
TEST(Undo, AResetGivesTheWholeMatchBack) {
  Models m;
  m.commands.goal(1, +1);
  m.commands.goal(1, +1);
  m.commands.setPeriod(2);
  m.commands.playPause();
  m.play(700'000);
  m.commands.penaltyClick(2, 2);
  m.play(54'000);
  m.commands.reset();
  EXPECT_EQ(m.match.state().score, (std::array<int, 2>{0, 0}));
  EXPECT_EQ(m.match.state().clock, MatchClock::Ready);
  EXPECT_FALSE(m.commands.undo());
  const MatchState& s = m.match.state();
  EXPECT_EQ(s.score, (std::array<int, 2>{2, 0}));
  EXPECT_EQ(s.period, 2);
  EXPECT_EQ(s.clock, MatchClock::Paused);
  EXPECT_EQ(s.clockText(), "12:34");
  EXPECT_TRUE(s.started);
  EXPECT_EQ(s.penalties[3].text(), "1:06");
  m.commands.playPause();
  m.play(1'000);
  EXPECT_EQ(m.match.state().clockText(), "12:35");
}

TEST(SetClock, SetsTheShownTimeWhereTheClockStandsAndSaysWhyNotElsewhere) {
  struct Row {
    const char* name;
    bool countDown;
    int runMs;  // -1: before the first start; else played, then paused
    int shown;
    const char* refusal;  // nullptr: set
    const char* text;     // the clock text afterwards
  } rows[] = {
      {"ready", false, -1, 754, nullptr, "12:34"},
      {"paused", false, 5000, 754, nullptr, "12:34"},
      {"paused, counting down", true, 5000, 754, nullptr, "12:34"},
      {"period's end", false, 5000, 1800, nullptr, "30:00"},
      {"zero", true, -1, 0, nullptr, "0:00"},
      {"beyond the period", false, 5000, 1801, "30:01 liegt nicht zwischen 0:00 und 30:00.",
       "0:05"},
      {"negative", false, -1, -1, "-1 liegt nicht zwischen 0:00 und 30:00.", "0:00"},
      {"running", false, 0, 754, "Die Zeit lässt sich nur bei stehender Uhr setzen.", "0:05"},
  };
  for (const Row& row : rows) {
    Models m;
    m.commands.setCountDown(row.countDown);
    if (row.runMs >= 0) {
      m.commands.playPause();
      m.play(5000);
      if (row.runMs > 0) m.commands.playPause();
    }
    const Notice notice = m.commands.setClock(row.shown);
    EXPECT_EQ(noticeText(notice), row.refusal ? row.refusal : "") << row.name;
    EXPECT_EQ(m.match.state().clockText(), row.text) << row.name;
  }
}

// A time set before the first start is where the period starts; penalties keep their time.
TEST(SetClock, ThePeriodStartsFromTheSetTimeAndPenaltiesKeepTheirs) {
  Models m;
  m.commands.penaltyClick(1, 1);
  ASSERT_FALSE(m.commands.setClock(600));
  EXPECT_EQ(m.match.state().penalties[0].text(), "2:00");
  m.commands.playPause();
  m.play(3000);
  EXPECT_EQ(m.match.state().clockText(), "10:03");
  EXPECT_EQ(m.match.state().penalties[0].text(), "1:57");
}
