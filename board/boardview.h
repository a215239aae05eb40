#pragma once

// What a scoreboard shows of the match, made in one place: the display, the console's own board
// and the remote's pages draw from boardView() instead of deciding each for themselves what a
// penalty slot shows, in which colour, or what the clock band says during a time-out.

#include <QCoreApplication>
#include <QString>
#include <array>
#include <optional>

#include "core/matchstate.h"
#include "platform/color.h"

struct SportRules;
struct TSettings;

// One of the four penalty places of a board: a penalty slot, or a team's fouls where the sport
// counts them.
struct BoardSlot {
  enum State { Idle, Armed, Running, Fouls };

  State state = Idle;
  QString text;       // "1:30", "Fouls 6"
  QString shortText;  // the console's narrow label: "1:30", "F6"
  // An idle slot takes the score area's background, so that only its shadow remains.
  TColor colour = colors::navy;

  bool operator==(const BoardSlot&) const = default;
};

struct BoardTeam {
  int score = 0;
  std::optional<int> fouls;  // where the sport counts them
  bool foulsMarked = false;  // from the sport's marked foul on
  std::array<BoardSlot, 2> places{};

  bool operator==(const BoardTeam&) const = default;
};

// The clock band: the match clock, or a running time-out or the break in their own colours.
struct ClockBand {
  QString text;
  bool visible = true;
  bool countdown = false;  // a time-out or the break, which the match clock never shows
  TColor background = colors::navy;
  TColor textColour = colors::white;

  bool operator==(const ClockBand&) const = default;
};

struct BoardView {
  Q_DECLARE_TR_FUNCTIONS(BoardView)

 public:
  ClockBand band;
  QString clockText;  // the match clock, also while the band shows a countdown
  QString breakText;  // "PAUSE 9:59" while the break is on, else empty
  std::array<BoardTeam, 2> teams{};
  QString scoreText;  // "3 - 1"
  int period = 0;
  bool periodShown = false;
  bool pauseSign = false;
  bool logoScreen = false;
  bool blackScreen = false;
  QString names;  // the names line, "HEIM - GAST"
  QString title;
  RunTextState runText;
  int runTextSpeed = 0;  // pixels per ticker step

  // The slot a board's penalty place p (0..3: home a, home b, guest a, guest b) shows.
  const BoardSlot& place(int p) const { return teams[p / 2].places[p % 2]; }

  bool operator==(const BoardView&) const = default;
};

// The text colour of the period number; running penalties take it on every board.
inline constexpr TColor kPeriodTextColour = colors::white;

// A team's fouls as a board's penalty place shows them: "Fouls 6".
QString foulsText(int fouls);

BoardView boardView(const MatchState& state, const SportRules& sport, const TSettings& settings);
