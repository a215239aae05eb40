#include "commands/commands.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <algorithm>

#include "core/match.h"
#include "core/runtextlist.h"
#include "settings/settings.h"
#include "support/fakes.h"

namespace {

struct Models {
  FakePlatform fake;
  Settings settings;
  Match match;
  RunTextList texts;
  Commands commands{match, settings, texts, fake.platform, QString()};
};

}  // namespace

// A confirmed configuration reaches the match as one change (one redraw, one journal line,
// one push), whatever it changes; a refused one leaves the match and the shown view alone.
TEST(Commands, AConfigurationIsOneChangeOfTheMatchAndARefusalNone) {
  Models m;
  m.commands.penaltyClick(1, 1);
  m.commands.playPause();
  m.fake.tick.advance(5000);
  m.commands.clockTick();
  QSignalSpy matchChanged(&m.match, &Match::changed);
  QSignalSpy configured(&m.settings, &Settings::configured);

  TSettings record = m.settings.record();
  record.Time = 1200;
  record.VidTablo = 2;
  m.commands.configure({record, "'00:75:00' is not a valid time.", false});
  EXPECT_EQ(matchChanged.count(), 0);
  EXPECT_EQ(configured.count(), 0);
  EXPECT_EQ(m.settings.record().VidTablo, 2);  // stored as the dialog left it
  EXPECT_EQ(m.settings.view(), 0);             // but not shown
  m.commands.penaltyClick(2, 1);               // penalties are still given in the shown view
  EXPECT_TRUE(m.match.state().penalties[2].armed || m.match.state().penalties[2].active);
  matchChanged.clear();

  m.commands.configure({record, QString(), false});
  EXPECT_EQ(matchChanged.count(), 1);
  EXPECT_EQ(configured.count(), 1);
  EXPECT_EQ(m.settings.view(), 2);
  EXPECT_EQ(m.match.state().periodLength, 1200);
  EXPECT_EQ(m.match.state().clockText(), "20:00");
  EXPECT_FALSE(m.match.state().penalties[0].active);
  m.commands.penaltyClick(1, 2);  // view 2 shows no penalty times: none is given
  EXPECT_FALSE(m.match.state().penalties[1].active || m.match.state().penalties[1].armed);
}

// The list's edits keep the selection where the operator expects it.
TEST(Commands, ListEditsMoveTheSelection) {
  struct Row {
    const char* name;
    std::function<void(Commands&)> edit;
    QStringList lines;
    int selected;
  } rows[] = {
      {"insert after B", [](Commands& c) { c.insertTextAfter("X"); }, {"A", "B", "X", "C"}, 2},
      {"insert before B", [](Commands& c) { c.insertTextBefore("X"); }, {"A", "X", "B", "C"}, 1},
      {"delete B", [](Commands& c) { c.deleteText(); }, {"A", "C"}, 1},
      {"insert before none",
       [](Commands& c) {
         c.selectText(-1);
         c.insertTextBefore("X");
       },
       {"A", "B", "C", "X"},
       RunTextList::kNone},
      {"insert after none",
       [](Commands& c) {
         c.selectText(7);
         c.insertTextAfter("X");
       },
       {"X", "A", "B", "C"},
       0},
  };
  for (const Row& row : rows) {
    Models m;
    m.texts.load({"A", "B", "C"}, true);
    m.commands.selectText(1);
    QSignalSpy edited(&m.texts, &RunTextList::linesEdited);
    row.edit(m.commands);
    EXPECT_EQ(m.texts.lines(), row.lines) << row.name;
    EXPECT_EQ(m.texts.selected(), row.selected) << row.name;
    EXPECT_EQ(edited.count(), 1) << row.name;
    EXPECT_TRUE(m.texts.unsaved()) << row.name;
  }
}

// The warning before a period's end: on in "standard", off once a preset is chosen (its horn
// would stop play), and a warning file is checked when it is chosen, not when it is due.
TEST(Commands, APresetTurnsTheWarningOffAndAChosenFileIsCheckedAtOnce) {
  struct Row {
    const char* sport;
    bool warningOff;
    int warningsPlayed;
  };
  for (const Row& row : {Row{"standard", false, 1}, Row{"handball", true, 0}}) {
    Models m;
    m.settings.change([](TSettings& s) {
      s.Sport = "icehockey";  // so that choosing either is a change
      s.SoundFile = "warnung.wav";
    });
    m.commands.chooseSport(row.sport);
    EXPECT_EQ(m.settings.record().WarningOff, row.warningOff) << row.sport;
    m.settings.change([](TSettings& s) {
      s.Time = 100;
      s.SoundTime = 60;
    });
    m.commands.playPause();
    m.fake.tick.advance(50'000);
    m.commands.clockTick();
    const auto& calls = m.fake.sound.calls;
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const FakeSound::Call& c) { return c.file == "warnung.wav"; }),
              row.warningsPlayed)
        << row.sport;
  }
  Models m;
  m.settings.change([](TSettings& s) { s.SoundFile = "neu.wav"; });
  m.settings.change([](TSettings& s) { s.WarningOff = true; });
  m.settings.change([](TSettings& s) { s.SoundFile = "aus.wav"; });
  EXPECT_EQ(m.fake.sound.checked, QStringList{"neu.wav"});
}

// After the last period of a sport that numbers its periods, Play says the match is over.
TEST(Commands, PlayAfterTheLastPeriodSaysTheMatchIsOver) {
  Models m;
  m.commands.chooseSport("handball");
  m.settings.change([](TSettings& s) { s.Time = 10; });
  m.commands.setPeriod(2);
  EXPECT_FALSE(m.commands.playPause());
  m.fake.tick.advance(10'000);
  m.commands.clockTick();
  const Notice over = m.commands.playPause();
  EXPECT_EQ(over.kind, Notice::Error);
  EXPECT_EQ(over.reason, Refusal::MatchOver);
  EXPECT_EQ(m.match.state().clock, MatchClock::Ready);
}

// A team's list holds at most Match::kPenaltiesPerTeam penalties: a further one, given by kind or
// by a click on an empty slot, is refused and changes nothing; the other team still gets its own.
TEST(Commands, AFullPenaltyListRefusesTheNextPenalty) {
  Models m;
  m.commands.chooseSport("icehockey");
  // Misconducts: the team is not short, so both slots stay empty however many there are.
  for (int i = 0; i < Match::kPenaltiesPerTeam; ++i)
    ASSERT_FALSE(m.commands.givePenalty(1, "10", std::nullopt)) << i;
  ASSERT_EQ(m.match.state().penalties[0].id, 0);
  const MatchState full = m.match.state();
  const Notice refused = m.commands.givePenalty(1, "2", 7);
  EXPECT_EQ(refused.kind, Notice::Error);
  EXPECT_EQ(refused.reason, Refusal::PenaltyListFull);
  EXPECT_EQ(refused.args, QStringList({"1", "16"}));
  m.commands.penaltyClick(1, 1);
  EXPECT_EQ(m.match.state(), full);

  EXPECT_FALSE(m.commands.givePenalty(2, "2", std::nullopt));
  m.commands.penaltyClick(2, 2);
  EXPECT_EQ(m.match.state().teamPenalties[1].size(), 2u);
}
