#pragma once

#include <QString>
#include <array>
#include <map>
#include <optional>
#include <vector>

#include "core/matchclock.h"
#include "core/penaltytable.h"
#include "core/sportrules.h"
#include "core/team.h"

// The state of a match as both windows show it: plain values, compared with ==. Nothing in here
// refers to the tick counter; Match keeps the tick marks behind it.

// Playback modes of the running text, as the console's start commands carry them.
enum RunTextMode { runTextOne = 0, runTextAll = -1, runTextStatic = -2 };

struct PenaltySlotState {
  bool active = false;
  bool armed = false;                       // waiting for the clock to run
  int secondsLeft = PenaltyTable::kLength;  // as last shown; an idle slot keeps its last text
  int id = 0;                               // the penalty shown, 0: none

  QString text() const;

  bool operator==(const PenaltySlotState&) const = default;
};

// One penalty of a team, of a kind of the sport, with its player and its time as last shown.
struct Penalty {
  // Running: its time counts with the clock (and stands while the clock stands). Armed: given
  // while the clock stood, it starts with the clock. Waiting: its team has as many running as
  // the sport lets run at once; it starts when one of them ends. Paused: stopped from outside
  // (a new configuration); its time goes on as if it ran, and a click on it shows it again.
  enum State { Running, Armed, Waiting, Paused };

  static constexpr int kMaxSeconds = 1200;  // the longest time the operator can set
  static constexpr int kMaxPlayer = 99;

  int id = 0;  // stable within a match, never reused before Reset
  PenaltyKind kind;
  std::optional<int> player;
  State state = Armed;
  bool started = false;   // its time has begun to count
  int lengthSeconds = 0;  // as given, or as the operator set it last
  int secondsLeft = 0;    // as last shown; a 2+2 shows both parts
  int slot = 0;           // the display slot 1 or 2 it keeps, where the sport keeps them; or 0

  bool active() const { return state == Running || state == Armed; }
  // Its player is off: it counts towards the penalties that run at once.
  bool serving() const { return state != Waiting && !kind.personal; }
  QString text() const;

  // "running", "armed", "waiting", "paused": the names the journal and the remote use.
  static QString stateName(State state);
  static std::optional<State> stateNamed(const QString& name);

  bool operator==(const Penalty&) const = default;
};

struct RunTextState {
  int mode = runTextOne;  // kept across a stop until the next start
  QString text;           // the entry on the ticker
  bool shown = false;
  int starts = 0;  // counts the starts, so that starting the same text again is a change
  // The console's playback lamp: lit by a start with a text, out after a stop; a start with
  // nothing to show leaves it as it was. Not kept in the journal.
  bool lit = false;

  bool operator==(const RunTextState&) const = default;
};

struct MatchState {
  // Periods are numbered 1 to kLastPeriod; 0 shows none.
  static constexpr int kLastPeriod = 4;

  // Clock. clockSeconds is the elapsed time the clocks show; countDown and periodLength are the
  // ones the clock text was made with (a running clock takes a new direction at its next tick).
  MatchClock::State clock = MatchClock::Ready;
  int clockSeconds = 0;
  bool countDown = true;
  int periodLength = 2700;
  bool started = false;      // the clock ran since the last reset: Reset is offered
  bool periodEnded = false;  // until the next Play/Pause or Reset: no corrections offered
  bool warningStarted = false;

  int period = 0;  // 0 shows no period
  std::array<int, 2> score{0, 0};
  // The display's penalty slots, drawn from the penalty lists below: team 1 slots 1 and 2,
  // then team 2 slots 1 and 2.
  std::array<PenaltySlotState, 4> penalties{};
  // Every penalty of team 1 and of team 2, in the order given.
  std::array<std::vector<Penalty>, 2> teamPenalties{};
  int nextPenaltyId = 1;
  // Accumulated fouls of the current half, where the sport counts them.
  std::array<int, 2> fouls{0, 0};
  QString sport = QStringLiteral("standard");  // the name of the rules played by

  // Team time-outs: the team whose time-out runs (0: none) with its seconds left and whether
  // its signal has sounded; those taken per team in the match and in the current period.
  int timeoutTeam = 0;
  int timeoutSecondsLeft = 0;
  bool timeoutSignalled = false;
  std::array<int, 2> timeoutsTaken{0, 0};
  std::array<int, 2> timeoutsTakenInPeriod{0, 0};
  std::array<int, 2> timeoutsTakenLate{0, 0};  // in the sport's last seconds of the match
  // The break: on from its start until the next Play (or the operator ends it); its seconds
  // count down to 0, where it stays until then.
  bool breakOn = false;
  int breakSecondsLeft = 0;

  // Display modes.
  bool clockShown = true;
  int blinkStepsLeft = 0;  // the end-of-period blink: even shows the display clock, odd hides it
  bool logoScreen = false;
  bool blackScreen = false;
  RunTextState runText;

  // The clock text of both windows: elapsed, or the time left when counting down.
  QString clockText() const;
  bool pauseSign() const { return clock == MatchClock::Paused; }
  bool blinking() const { return blinkStepsLeft > 0; }
  // The display's clock: the blink decides while it lasts, then the operator's choice.
  bool displayClockVisible() const { return blinking() ? blinkStepsLeft % 2 == 0 : clockShown; }
  bool correctionOffered() const { return clock != MatchClock::Running && !periodEnded; }
  const Penalty* penalty(Team team, int id) const;
  const Penalty* penalty(int team, int id) const;  // the team numbered 1 or 2
  bool timeoutRunning() const { return timeoutTeam != 0; }
  // The time-outs a team may still take under `sport`: the fewer of the match's and the period's.
  int timeoutsLeft(const SportRules& sport, int team) const;
  // In the last seconds of the match in which a team may take only one time-out.
  bool late(const SportRules& sport) const;
  // A time-out or a break counts down: the ticks must go on while the match clock stands.
  bool countingDown() const { return timeoutRunning() || (breakOn && breakSecondsLeft > 0); }

  bool operator==(const MatchState&) const = default;
};

// A match that can be stored and taken up again later, whatever the tick counter does in
// between: the state plus the times played, in milliseconds.
struct MatchSnapshot {
  static constexpr qint64 kNoStart = -1;

  MatchState state;
  qint64 elapsedMs = 0;  // of the period; frozen while paused
  // Per slot: time run since its start (frozen while paused), or kNoStart for an idle or
  // armed slot.
  std::array<qint64, 4> penaltyElapsedMs{kNoStart, kNoStart, kNoStart, kNoStart};
  // Per penalty id: the milliseconds it has left (frozen while the clock stands). A snapshot
  // without penalty lists (written before they existed) is read from the slots above.
  std::map<int, qint64> penaltyLeftMs;
  // The running time-out's or break's milliseconds left (frozen in the snapshot).
  qint64 countdownLeftMs = 0;

  bool operator==(const MatchSnapshot&) const = default;
};

// A command the operator can still take back: its name (as Match::undo() records it) and the
// match just before and just after it. The command layer keeps the newest kKept of them; the
// journal keeps the same ones, so that a match taken up again can still take them back.
struct UndoStep {
  static constexpr int kKept = 50;

  QString command;
  MatchSnapshot before;
  MatchSnapshot after;

  // The operator's word for a command name ("Tor", "Reset") in the session's language: the
  // console's undo button, the phone and the German match report say it. An unknown name is
  // given back as it is.
  static QString caption(const QString& command);

  bool operator==(const UndoStep&) const = default;
};
