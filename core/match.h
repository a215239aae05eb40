#pragma once

// Where the match lives and how a key reaches the screen.
//
// Match owns the one MatchState of the program (clock, period, scores, penalties, fouls and
// the display modes) together with the tick marks behind it (MatchClock, PenaltyTimes). It is
// the only writer of that state. Each command below applies the rules, and if the state
// changed, Match emits changed() once; whoever shows or records the match reads state() then.
// Sounds are events, not state: warningDue() and periodEnded().
//
// Commands name a team by its number, 1 home or 2 guest (core/team.h); any other is refused.
//
// Times come in as the tick counter's `now`, so tests drive time by hand; a snapshot holds
// only elapsed milliseconds and survives the counter's wrap and a restart of the program.

#include <QObject>
#include <optional>

#include "core/matchstate.h"
#include "core/penaltytimes.h"
#include "core/sportrules.h"

// The settings the rules depend on.
struct MatchRules {
  int periodLength = 2700;  // seconds
  bool countDown = true;
  int warningLead = 60;              // seconds before the end of the period
  bool goalReleasesPenalty = false;  // the switch "Strafe RESET", for kinds released by it

  bool operator==(const MatchRules&) const = default;
};

// Why a team's time-out was not started.
enum class TimeoutRefusal {
  None,
  NoTeam,
  NotInSport,  // the sport has no team time-outs
  Running,     // a time-out already runs
  InBreak,
  MatchLimit,   // the team has taken all of the match's
  PeriodLimit,  // the team has taken all of this period's
  LateLimit,    // the team has taken its one of the last minutes
};

class Match : public QObject {
  Q_OBJECT

 public:
  // The end-of-period blink: ten steps of 500 ms, the last one switches the clock off.
  static constexpr int kBlinkSteps = 10;
  // A score has three digits on the display: a goal beyond this is refused.
  static constexpr int kMaxScore = 999;
  // No sport ever has more penalties of one team on the list at once; beyond it a new one is
  // refused, so a flood of penalties cannot make every later command slower.
  static constexpr int kPenaltiesPerTeam = 16;
  // The longest period in seconds (its milliseconds fit an int), as the settings and the
  // journal both accept it.
  static constexpr int kMaxPeriodLength = 2'147'483;

  explicit Match(QObject* parent = nullptr);

  const MatchState& state() const { return state_; }
  const MatchRules& rules() const { return rules_; }
  const SportRules& sport() const { return sport_; }

  // Clock. Play after the last period of a sport that numbers its periods is refused (false):
  // the match is over until Reset or a new period number.
  bool playPause(quint32 now);
  bool matchOver() const;
  // The 200 ms tick while the clock runs: penalties, clock, warning, end of the period.
  void tick(quint32 now);
  // One step of the end-of-period blink, every 500 ms while the state is blinking.
  void blinkStep();
  // The whole match back to the start: clock, scores, period, penalties; the clock is shown.
  void reset();
  // Moves a paused clock by stepSeconds of elapsed time (a positive step takes time off).
  void correct(int stepSeconds);
  // Sets the clock to `shownSeconds` as the clock shows it (the time left when counting down),
  // while it stands: paused, or ready before a period's start (the period then starts from
  // there). Penalties keep their own time. False while it runs or outside 0 … period length.
  bool setClock(int shownSeconds);
  // A new count direction or period length shows at once unless the clock runs (a running
  // clock shows it at its next tick); the other rules act when they are used.
  void setRules(const MatchRules& rules);
  // The sport acts from now on: penalties already given keep their kind, and a sport that
  // lets more run at once starts waiting ones.
  void setSport(const SportRules& sport);
  // Both clocks show the period's start value (a new configuration was applied).
  void showStartValue();
  // A confirmed configuration in one step: the new rules, both clocks at the period's start
  // value and, where the sport wants it, every penalty stopped where it is (a click resumes it).
  void takeConfiguration(const MatchRules& rules);
  void setClockShown(bool shown);

  // Period number 0 .. MatchState::kLastPeriod.
  void setPeriod(int period);
  void periodCycle();  // the last wraps to 0

  // Score; a goal may release a penalty of the team that conceded it. Without `now`, a
  // released 2+2 starts its second part at the last time the match was told.
  void changeScore(int team, int delta);
  void changeScore(int team, int delta, quint32 now);

  // Display slot 0..3: an empty slot gives the sport's shortest penalty (armed while the clock
  // stands), an active one ends, a paused one is shown running again.
  void penaltyClick(int slot, quint32 now);
  // Every running or armed penalty is paused: it keeps its text, and its time goes on.
  void deactivatePenalties();
  // A penalty of a kind the sport has, for a player 0..99 or none: running, armed, or waiting
  // while its team has as many running as the sport lets run at once. Returns its id, or 0
  // when refused (unknown kind, bad team or player).
  int givePenalty(int team, const QString& kind, std::optional<int> player, quint32 now);
  // Sets the time a penalty has left, 1 .. Penalty::kMaxSeconds; false when refused.
  bool setPenaltyTime(int team, int id, int seconds, quint32 now);
  // Ends a penalty; the next waiting one of its team starts. False for an unknown one.
  bool cancelPenalty(int team, int id, quint32 now);
  // Adds `delta` to the team's fouls of this half (never below 0); false where the sport
  // counts no fouls.
  bool foul(int team, int delta);

  // Team time-outs. One starts while the match clock stands, or pauses a running clock first,
  // within the sport's limits; it counts down from the sport's length, with a signal at the
  // sport's signal time and at its end. Play or endTimeout() ends it early.
  TimeoutRefusal startTimeout(int team, quint32 now);
  // Why a time-out of the team would be refused now; None when it would start.
  TimeoutRefusal timeoutRefusal(int team) const;
  bool endTimeout(quint32 now);
  // Those a team may still take: the fewer of the match's and the period's left.
  int timeoutsLeft(int team) const;
  // The break counts down the sport's break length while the clock stands (a running time-out
  // ends); the next Play ends it and, after the end of a period, starts the next one with the
  // period number advanced (so does endBreak() after the end of a period). Sports that play
  // breaks start one at the end of a period by themselves.
  void startBreak(quint32 now);
  bool endBreak();

  // Display modes.
  void setLogoScreen(bool shown);
  // Toggles the black screen; either way the logo screen goes.
  void toggleBlackScreen();
  // Starts the running text in `mode` with `text`; with no text (an empty list) the ticker
  // is taken off and only the mode is kept.
  void startRunText(int mode, const std::optional<QString>& text);
  // The next entry of all-texts playback follows without a new start.
  void continueRunText(const QString& text);
  void stopRunText();

  MatchSnapshot snapshot(quint32 now) const;
  void restore(const MatchSnapshot& snapshot, quint32 now);

  // Takes back one command, given the match `before` and `after` it, through restore(). What
  // the command changed goes back; what it left alone stays as it is now, so the passing of
  // time and Play/Pause are not undone: the clock keeps running, and penalties that stood
  // before the command count the time played since. A command that moved the clock (a
  // correction, a set time, a reset) moves it back by as much. `command` names it for the
  // record (undone()).
  void undo(const MatchSnapshot& before, const MatchSnapshot& after, const QString& command,
            quint32 now);

 signals:
  // Once after every command that changed the state.
  void changed();
  // The warning sound is due (once per period).
  void warningDue();
  // The period ran out: the end signal is due. Emitted before changed().
  void periodEnded();
  // A command was taken back (its name as given to undo()). Emitted before changed().
  void undone(const QString& command);
  // A running time-out reached the sport's signal time: the short signal is due.
  void timeoutSignalDue();
  // A time-out or the break ran out: the end signal is due.
  void countdownEnded();

 private:
  // Applies a command and notifies when it changed the state.
  template <typename Command>
  void apply(Command command);
  void showClock(int seconds);
  void endPeriod(quint32 now);
  // Time-outs and the break: counting down, started and ended inside a command.
  void tickCountdown(quint32 now);
  void beginCountdown(int seconds, quint32 now);
  // Every penalty's time stands, as the clock does.
  void freezePenalties(quint32 now);
  // A time-out or the break pauses a running clock first, its penalties with it.
  void pauseRunningClock(quint32 now);
  void enterPeriod(int period);

  Penalty* findPenalty(Team team, int id);
  int addPenalty(Team team, const PenaltyKind& kind, std::optional<int> player, int slot,
                 quint32 now);
  bool counts(const Penalty& p) const;
  int servingCount(Team team) const;
  // Takes the penalty off; the next waiting ones of its team start, `lateMs` ago.
  void endPenalty(Team team, int id, quint32 now, qint64 lateMs = 0);
  void startWaiting(Team team, quint32 now, qint64 lateMs);
  void releaseAfterGoal(Team team, quint32 now);
  // The ids of the penalties the team's two display slots show (0: none).
  std::array<int, 2> shownIds(Team team) const;
  // Gives slots to penalties where the sport keeps them, and draws the four display slots.
  void syncSlots();
  std::map<int, qint64> rebuildFromSlots(const MatchSnapshot& snapshot);
  void stopPenalties();

  MatchState state_;
  MatchRules rules_;
  SportRules sport_;
  MatchClock clock_;
  PenaltyTimes times_;
  quint32 lastNow_ = 0;
  // The running time-out's or break's countdown: its length from its mark on the tick counter.
  quint32 countdownMark_ = 0;
  qint64 countdownMs_ = 0;
};
