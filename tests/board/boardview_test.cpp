#include "board/boardview.h"

#include <gtest/gtest.h>

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
  const TColor back = settings.C[2] = 0x102030;
  const TColor digits = settings.Fonts[1].color = 0x405060;
  const TColor red = colors::red, yellow = colors::yellow;
  const struct {
    const char* name;
    bool clockShown;
    int blinkStepsLeft, timeoutTeam, timeoutSecondsLeft;
    bool breakOn;  // with 9:59 left
    ClockBand band;
  } rows[] = {
      {"clock", true, 0, 0, 0, false, {"29:55", true, false, back, digits}},
      {"clock off", false, 0, 0, 0, false, {"29:55", false, false, back, digits}},
      {"blink shows it", false, 2, 0, 0, false, {"29:55", true, false, back, digits}},
      {"blink hides it", true, 3, 0, 0, false, {"29:55", false, false, back, digits}},
      {"home time-out", true, 0, 1, 43, false, {"AUSZEIT HEIM 0:43", true, true, red, yellow}},
      {"guest, clock off", false, 0, 2, 60, false, {"AUSZEIT GAST 1:00", true, true, red, yellow}},
      {"break", true, 0, 0, 0, true, {"PAUSE 9:59", true, true, red, yellow}},
  };
  for (const auto& row : rows) {
    MatchState s;
    s.periodLength = 1800;
    s.clockSeconds = 5;
    s.clockShown = row.clockShown;
    s.blinkStepsLeft = row.blinkStepsLeft;
    s.timeoutTeam = row.timeoutTeam;
    s.timeoutSecondsLeft = row.timeoutSecondsLeft;
    s.breakOn = row.breakOn;
    s.breakSecondsLeft = 599;
    const BoardView view = boardView(s, SportRules{}, settings);
    EXPECT_EQ(view.band.text, row.band.text) << row.name;
    EXPECT_EQ(view.band.visible, row.band.visible) << row.name;
    EXPECT_EQ(view.band.countdown, row.band.countdown) << row.name;
    EXPECT_EQ(view.band.background, row.band.background) << row.name;
    EXPECT_EQ(view.band.textColour, row.band.textColour) << row.name;
    // The console's clock and its break button read these beside the band.
    EXPECT_EQ(view.clockText, "29:55") << row.name;
    EXPECT_EQ(view.breakText, row.breakOn ? row.band.text : QString()) << row.name;
  }
}

}  // namespace
