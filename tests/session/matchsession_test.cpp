#include "session/matchsession.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "journal/snapshotjson.h"
#include "session/journalsession.h"
#include "settings/settings.h"
#include "support/fakes.h"

namespace {

// The session's timers as the event loop runs them, on the fake tick: the match tick every
// 200 ms while the session ticks, a blink step every 500 ms while it blinks.
void run(MatchSession& session, FakeTick& tick, int seconds) {
  for (int ms = 100; ms <= seconds * 1000; ms += 100) {
    tick.advance(100);
    if (ms % MatchSession::kTickMs == 0 && session.ticking()) session.commands().clockTick();
    if (ms % MatchSession::kBlinkMs == 0 && session.blinking()) session.commands().blinkStep();
  }
}

TEST(MatchSession, PlaysAHandballHalfWithoutAWindowAndItsJournalResumes) {
  QTemporaryDir folder;
  FakePlatform fake;
  Settings settings;
  MatchSession first(settings, fake.platform, QString());
  Commands& c = first.commands();
  const MatchState& s = first.match().state();
  c.chooseSport("handball");
  first.openJournal(folder.path(), [](const QString&) { return false; });

  c.setPeriod(1);
  c.playPause();
  EXPECT_TRUE(first.ticking());
  run(first, fake.tick, 600);
  c.goal(1, +1);
  // A time-out stops the clock, and its minute still counts down.
  EXPECT_FALSE(c.timeout(1));
  EXPECT_EQ(s.clock, MatchClock::Paused);
  run(first, fake.tick, 30);
  EXPECT_TRUE(first.ticking());
  EXPECT_EQ(s.clockText(), "20:00");
  run(first, fake.tick, 31);
  EXPECT_FALSE(s.timeoutRunning());
  EXPECT_FALSE(first.ticking());
  c.playPause();
  run(first, fake.tick, 1140);
  EXPECT_EQ(s.clockText(), "1:00");
  c.penaltyClick(2, 1);  // 60.9 s before the end: the clock turns its second 900 ms early
  run(first, fake.tick, 60);
  // The half is over: the clock stands and blinks, the break counts down, and the guests'
  // penalty is carried over where it stood.
  EXPECT_EQ(s.clock, MatchClock::Ready);
  EXPECT_TRUE(first.blinking());
  EXPECT_TRUE(s.breakOn);
  run(first, fake.tick, 300);
  EXPECT_FALSE(first.blinking());
  EXPECT_TRUE(first.ticking());
  EXPECT_EQ(s.breakSecondsLeft, 299);  // the half ended 0.8 s before the last minute ran out
  ASSERT_EQ(s.teamPenalties[1].size(), 1u);
  EXPECT_EQ(s.teamPenalties[1][0].secondsLeft, 61);
  c.setPeriod(2);
  first.finishJournal();

  // The next start offers the match and takes it up as it was left.
  Settings again;
  MatchSession second(again, fake.platform, QString());
  second.commands().chooseSport("handball");
  QStringList asked;
  second.openJournal(folder.path(), [&](const QString& question) {
    asked << question;
    return true;
  });
  EXPECT_EQ(asked, QStringList{JournalSession::kResumeQuestion});
  EXPECT_EQ(toJson(second.match().snapshot(fake.tick.now())),
            toJson(first.match().snapshot(fake.tick.now())));
  EXPECT_EQ(second.commands().nextUndo(), first.commands().nextUndo());
  EXPECT_TRUE(second.ticking());  // the break goes on counting
}

}  // namespace
