#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStringList>
#include <functional>
#include <vector>

#include "core/match.h"
#include "scriptedmatch.h"

namespace {

// The description of a match of penalties: each team's penalties, the display's four slots (an
// empty one "-", a paused one in brackets), the fouls where the sport counts them, and "clock
// off" while the display's clock is off.
QString teamText(const MatchState& s, int team) {
  QStringList out;
  for (const Penalty& p : s.teamPenalties[team - 1]) {
    QString text = p.kind.id;
    if (p.player) text += QString(" #%1").arg(*p.player);
    out.append(text + ' ' + p.text() + ' ' + Penalty::stateName(p.state));
  }
  return out.isEmpty() ? "-" : out.join(", ");
}

QString describe(const Match& m) {
  const MatchState& s = m.state();
  QStringList shown;
  for (const PenaltySlotState& p : s.penalties)
    shown.append(p.active ? p.text() : p == PenaltySlotState{} ? "-" : '(' + p.text() + ')');
  QString text =
      "home: " + teamText(s, 1) + " | guest: " + teamText(s, 2) + " | slots: " + shown.join(' ');
  if (m.sport().countsFouls())
    for (int team = 1; team <= 2; ++team)
      text += (team == 1 ? " | fouls: " : " ") + QString::number(s.fouls[team - 1]) +
              (m.sport().foulMarked(s.fouls[team - 1]) ? "*" : "");
  if (!s.clockShown) text += " | clock off";
  return text;
}

void play(const Script& script) { playScript(script, describe); }

TEST(Sports, EveryPresetPlaysItsScriptedMatch) {
  const Script scripts[] = {
      {"standard",
       true,
       {
           {"play"},
           {"click 1"},
           {"give 1 2 #10"},
           {"give 1 2",
            "home: 2 2:00 running, 2 #10 2:00 running, 2 2:00 waiting | guest: - | "
            "slots: 2:00 2:00 - -"},
           {"give 1 5",
            "home: 2 2:00 running, 2 #10 2:00 running, 2 2:00 waiting | guest: - | "
            "slots: 2:00 2:00 - -"},
           {"run 10"},
           // Two started in the same tick: the one in slot 2 goes; the waiting one takes it.
           {"goal 2", "home: 2 #10 1:50 running, 2 2:00 running | guest: - | slots: 1:50 2:00 - -"},
           {"run 1"},
           {"config",
            "home: 2 #10 1:49 paused, 2 1:59 paused | guest: - | slots: (1:49) (1:59) - -"},
           {"run 5"},
           {"click 0"},
           {"run 1", "home: 2 #10 1:43 running, 2 1:59 paused | guest: - | slots: 1:43 (1:59) - -"},
           {"run 2700", "home: - | guest: - | slots: - - - -"},
           {"blink", "home: - | guest: - | slots: - - - - | clock off"},
       }},
      {"handball",
       false,
       {
           {"play"},
           {"run 1740"},
           {"give 1 2 #7"},
           {"run 58"},
           {"give 1 2"},
           {"goal 2", "home: 2 #7 1:02 running, 2 2:00 running | guest: - | slots: 1:02 2:00 - -"},
           // A new configuration leaves a handball match's penalties running.
           {"config", "home: 2 #7 1:02 running, 2 2:00 running | guest: - | slots: 1:02 2:00 - -"},
           // The half ends 0.8 s early (the clock's second turns 900 ms before it is complete).
           {"run 2", "home: 2 #7 1:01 running, 2 1:59 running | guest: - | slots: 1:01 1:59 - -"},
           {"give 2 2",
            "home: 2 #7 1:01 running, 2 1:59 running | guest: 2 2:00 armed | "
            "slots: 1:01 1:59 2:00 -"},
           {"set 1 1 75",
            "home: 2 #7 1:15 running, 2 1:59 running | guest: 2 2:00 armed | "
            "slots: 1:15 1:59 2:00 -"},
           {"blink",
            "home: 2 #7 1:15 running, 2 1:59 running | guest: 2 2:00 armed | "
            "slots: 1:15 1:59 2:00 - | clock off"},
           {"play"},
           {"run 75", "home: 2 0:44 running | guest: 2 0:45 running | slots: 0:44 - 0:45 -"},
           {"give 1 2"},
           {"give 1 2",
            "home: 2 0:44 running, 2 2:00 running, 2 2:00 running | "
            "guest: 2 0:45 running | slots: 0:44 2:00 0:45 -"},
       }},
      {"floorball",
       false,
       {
           {"play"},
           {"run 1190"},
           {"give 2 5 #3"},
           {"give 2 2 #8"},
           {"goal 1", "home: - | guest: 5 #3 5:00 running | slots: - - 5:00 -"},
           {"give 2 2+2"},
           {"run 10",
            "home: - | guest: 5 #3 4:51 running, 2+2 3:51 running | "
            "slots: - - 3:51 4:51"},
           {"play"},
           {"run 111",
            "home: - | guest: 5 #3 3:00 running, 2+2 2:00 running | "
            "slots: - - 2:00 3:00"},
           // In its second part a 2+2 ends with the goal; a 5 is never released.
           {"goal 1", "home: - | guest: 5 #3 3:00 running | slots: - - 3:00 -"},
           {"goal 1", "home: - | guest: 5 #3 3:00 running | slots: - - 3:00 -"},
       }},
      {"icehockey",
       false,
       {
           {"play"},
           {"run 100"},
           {"give 1 2+2 #12"},
           {"run 30", "home: 2+2 #12 3:30 running | guest: - | slots: 3:30 - - -"},
           // Released in its first part: the second part starts with the goal.
           {"goal 2", "home: 2+2 #12 2:00 running | guest: - | slots: 2:00 - - -"},
           {"run 10"},
           {"give 1 2 #4"},
           {"give 1 5 #9"},
           {"give 1 10 #9",
            "home: 2+2 #12 1:50 running, 2 #4 2:00 running, 5 #9 5:00 waiting, "
            "10 #9 10:00 running | guest: - | slots: 1:50 2:00 - -"},
           {"run 110",
            "home: 2 #4 0:10 running, 5 #9 5:00 running, 10 #9 8:10 running | "
            "guest: - | slots: 0:10 5:00 - -"},
           {"goal 2",
            "home: 5 #9 5:00 running, 10 #9 8:10 running | guest: - | "
            "slots: 5:00 - - -"},
           {"cancel 1 1"},
           {"cancel 1 1", "home: - | guest: - | slots: - - - -"},
           {"run 900"},
           {"give 2 2"},
           {"run 50", "home: - | guest: 2 1:11 running | slots: - - 1:11 -"},
           {"blink", "home: - | guest: 2 1:11 running | slots: - - 1:11 - | clock off"},
           {"play"},
           {"run 71", "home: - | guest: - | slots: - - - -"},
       }},
      {"icehockey",
       false,
       {
           // The last period's end carries nothing over: there is no next period.
           {"period 3"},
           {"play"},
           {"run 1100"},
           {"give 1 5 #9", "home: 5 #9 5:00 running | guest: - | slots: 5:00 - - -"},
           {"run 100", "home: - | guest: - | slots: - - - -"},
       }},
      {"futsal",
       false,
       {
           {"play"},
           {"period 1"},
           {"foul 1 1"},
           {"foul 1 1"},
           {"foul 1 1"},
           {"foul 1 1"},
           {"foul 1 1"},
           {"foul 1 1", "home: - | guest: - | slots: - - - - | fouls: 6* 0"},
           {"foul 1 -1"},
           {"foul 2 -1"},
           {"foul 2 1", "home: - | guest: - | slots: - - - - | fouls: 5 1"},
           {"give 1 2 #5"},
           {"give 1 5", "home: 2 #5 2:00 running | guest: - | slots: 2:00 - - - | fouls: 5 1"},
           {"goal 2", "home: - | guest: - | slots: - - - - | fouls: 5 1"},
           {"run 1200", "home: - | guest: - | slots: - - - - | fouls: 0 0"},
           {"blink", "home: - | guest: - | slots: - - - - | fouls: 0 0 | clock off"},
           {"period 2"},
           {"play"},
           {"foul 2 1"},
           // Shown again at the start of the second half, as the sport wants.
           {"run 1200", "home: - | guest: - | slots: - - - - | fouls: 0 1"},
       }},
  };
  for (const Script& s : scripts) play(s);
}

TEST(Sports, BadPenaltyCommandsAreRefusedAndChangeNothing) {
  Match match;
  match.setSport(*SportRules::preset("icehockey"));
  match.playPause(1000);
  const int id = match.givePenalty(1, "2", 17, 1000);
  ASSERT_NE(id, 0);
  const struct {
    const char* name;
    std::function<bool()> command;
    bool accepted;
  } rows[] = {
      {"a kind the sport lacks", [&] { return match.givePenalty(1, "2 min", {}, 1000) != 0; },
       false},
      {"player 100", [&] { return match.givePenalty(1, "5", 100, 1000) != 0; }, false},
      {"team 3", [&] { return match.givePenalty(3, "5", {}, 1000) != 0; }, false},
      {"no time", [&] { return match.setPenaltyTime(1, id, 0, 1000); }, false},
      {"20:01", [&] { return match.setPenaltyTime(1, id, 1201, 1000); }, false},
      {"20:00", [&] { return match.setPenaltyTime(1, id, 1200, 1000); }, true},
      {"0:01", [&] { return match.setPenaltyTime(1, id, 1, 1000); }, true},
      {"time of an unknown id", [&] { return match.setPenaltyTime(1, id + 1, 60, 1000); }, false},
      {"the other team's id", [&] { return match.cancelPenalty(2, id, 1000); }, false},
      {"fouls where none count", [&] { return match.foul(1, 1); }, false},
      {"player 0", [&] { return match.givePenalty(2, "5", 0, 1000) != 0; }, true},
  };
  for (const auto& row : rows) {
    const MatchSnapshot before = match.snapshot(1000);
    QSignalSpy changed(&match, &Match::changed);
    EXPECT_EQ(row.command(), row.accepted) << row.name;
    EXPECT_EQ(changed.count(), row.accepted ? 1 : 0) << row.name;
    if (!row.accepted) {
      EXPECT_EQ(match.snapshot(1000), before) << row.name;
    }
  }
  EXPECT_EQ(match.state().penalty(1, id)->text(), "0:01");
}

TEST(Sports, ASnapshotBringsBackEveryPenaltyAcrossTheCounterWrap) {
  const SportRules hockey = *SportRules::preset("icehockey");
  Match match;
  match.setSport(hockey);
  quint32 now = 0xFFFFF000u;
  match.playPause(now);
  match.givePenalty(1, "2+2", 12, now);
  match.givePenalty(1, "2", {}, now);
  match.givePenalty(1, "5", 9, now);  // waits
  match.givePenalty(2, "10", 3, now);
  for (int i = 0; i < 50; ++i) match.tick(now += 200);
  match.deactivatePenalties();
  match.penaltyClick(0, now);  // the 2 (least time left, in slot 1) runs again
  match.playPause(now += 100);
  const MatchSnapshot paused = match.snapshot(now + 7000);

  Match later;
  later.setSport(hockey);
  later.restore(paused, 0x20);
  EXPECT_EQ(later.snapshot(0x20 + 5000), paused);
  // Both play on for 130 s and show the same: the 2 ran out and the 5 took its turn; the
  // paused ones keep their last text.
  quint32 then = 0x20;
  match.playPause(now);
  later.playPause(then);
  for (int i = 0; i < 650; ++i) {
    match.tick(now += 200);
    later.tick(then += 200);
  }
  EXPECT_EQ(describe(later), describe(match));
  EXPECT_EQ(describe(later).toStdString(),
            "home: 2+2 #12 3:50 paused, 5 #9 4:40 running | guest: 10 #3 9:50 paused | "
            "slots: (3:50) 4:40 - -");
}

}  // namespace
