#include "board/boardview.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/sportrules.h"
#include "settings/tsettings.h"

namespace {

// The four penalty places of a board, with and without fouls: the slots as the match keeps them
// (running 1:30, armed, idle at 0:07, paused before it started) and six fouls for the home team
// against five for the guests.
TEST(BoardView, PenaltyPlacesShowTheSlotsOrATeamsFouls) {
  TSettings settings;
  settings.C[4] = 0x0000C0;  // the score area, which idle slots take
  const SportRules standard;
  const SportRules futsal = *SportRules::preset("futsal");  // fouls marked from the sixth on
  MatchState s;
  s.penalties = {PenaltySlotState{true, false, 90}, PenaltySlotState{true, true, 120},
                 PenaltySlotState{false, false, 7}, PenaltySlotState{false, true, 45}};
  s.fouls = {6, 5};
  const struct {
    const char* name;
    const SportRules& sport;
    int place;
    BoardSlot shown;
  } rows[] = {
      {"running", standard, 0, {BoardSlot::Running, "1:30", "1:30", colors::white}},
      {"armed", standard, 1, {BoardSlot::Armed, "2:00", "2:00", colors::white}},
      {"idle keeps its text", standard, 2, {BoardSlot::Idle, "0:07", "0:07", 0x0000C0}},
      {"paused before its start", standard, 3, {BoardSlot::Idle, "0:45", "0:45", 0x0000C0}},
      {"marked fouls", futsal, 0, {BoardSlot::Fouls, "Fouls 6", "F6", colors::red}},
      {"home's first slot", futsal, 1, {BoardSlot::Running, "1:30", "1:30", colors::white}},
      {"fouls below the mark", futsal, 2, {BoardSlot::Fouls, "Fouls 5", "F5", colors::white}},
      {"guests' first slot", futsal, 3, {BoardSlot::Idle, "0:07", "0:07", 0x0000C0}},
  };
  for (const auto& row : rows) {
    const BoardSlot shown = boardView(s, row.sport, settings).place(row.place);
    EXPECT_EQ(shown.state, row.shown.state) << row.name;
    EXPECT_EQ(shown.text, row.shown.text) << row.name;
    EXPECT_EQ(shown.shortText, row.shown.shortText) << row.name;
    EXPECT_EQ(shown.colour, row.shown.colour) << row.name;
  }
  const BoardView withFouls = boardView(s, futsal, settings);
  EXPECT_EQ(withFouls.teams[0].fouls, 6);
  EXPECT_TRUE(withFouls.teams[0].foulsMarked);
  EXPECT_FALSE(withFouls.teams[1].foulsMarked);
  EXPECT_EQ(boardView(s, standard, settings).teams[0].fouls, std::nullopt);
}

// The clock band shows the match clock in the settings' colours, as the operator switched it
// and the end-of-period blink lets it; a time-out or the break takes it whole, in yellow on red.
TEST(BoardView, ClockBandShowsTheClockATimeoutOrTheBreak) {
  TSettings settings;
  settings.C[2] = 0x102030;
  settings.Fonts[1].color = 0x405060;
  const struct {
    const char* name;
    std::function<void(MatchState&)> change;
    ClockBand band;
  } rows[] = {
      {"clock", [](MatchState&) {}, {"29:55", true, false, 0x102030, 0x405060}},
      {"clock off",
       [](MatchState& s) { s.clockShown = false; },
       {"29:55", false, false, 0x102030, 0x405060}},
      {"blink shows it",
       [](MatchState& s) {
         s.blinkStepsLeft = 2;
         s.clockShown = false;
       },
       {"29:55", true, false, 0x102030, 0x405060}},
      {"blink hides it",
       [](MatchState& s) { s.blinkStepsLeft = 3; },
       {"29:55", false, false, 0x102030, 0x405060}},
      {"home time-out",
       [](MatchState& s) {
         s.timeoutTeam = 1;
         s.timeoutSecondsLeft = 43;
       },
       {"AUSZEIT HEIM 0:43", true, true, colors::red, colors::yellow}},
      {"guest time-out, clock off",
       [](MatchState& s) {
         s.timeoutTeam = 2;
         s.timeoutSecondsLeft = 60;
         s.clockShown = false;
       },
       {"AUSZEIT GAST 1:00", true, true, colors::red, colors::yellow}},
      {"break",
       [](MatchState& s) {
         s.breakOn = true;
         s.breakSecondsLeft = 599;
       },
       {"PAUSE 9:59", true, true, colors::red, colors::yellow}},
  };
  for (const auto& row : rows) {
    MatchState s;
    s.periodLength = 1800;
    s.clockSeconds = 5;
    row.change(s);
    const BoardView view = boardView(s, SportRules{}, settings);
    EXPECT_EQ(view.band.text, row.band.text) << row.name;
    EXPECT_EQ(view.band.visible, row.band.visible) << row.name;
    EXPECT_EQ(view.band.countdown, row.band.countdown) << row.name;
    EXPECT_EQ(view.band.background, row.band.background) << row.name;
    EXPECT_EQ(view.band.textColour, row.band.textColour) << row.name;
    // The console's clock and its break button read these beside the band.
    EXPECT_EQ(view.clockText, "29:55") << row.name;
    EXPECT_EQ(view.breakText, s.breakOn ? row.band.text : QString()) << row.name;
  }
}

TEST(BoardView, ScoreTextAndPeriod) {
  MatchState s;
  s.score = {12, 3};
  EXPECT_EQ(boardView(s, SportRules{}, TSettings{}).scoreText, "12 - 3");
  EXPECT_FALSE(boardView(s, SportRules{}, TSettings{}).periodShown);
  s.period = 4;
  EXPECT_TRUE(boardView(s, SportRules{}, TSettings{}).periodShown);
}

}  // namespace
