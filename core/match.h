#pragma once

// Where the match lives and how a key reaches the screen.
//
// Match owns the one MatchState of the program (clock, period, scores, the four penalties and
// the display modes) together with the tick marks behind it (MatchClock, PenaltyTable). It is
// the only writer of that state. Each command below applies the rules, and if the state
// changed, Match emits changed() once; whoever shows or records the match reads state() then.
// Sounds are events, not state: warningDue() and periodEnded().
//
// Times come in as the tick counter's `now`, so tests drive time by hand; a snapshot holds
// only elapsed milliseconds and survives the counter's wrap and a restart of the program.

#include <QObject>
#include <optional>

#include "core/matchstate.h"
#include "core/penaltytable.h"

// The settings the rules depend on.
struct MatchRules {
  int periodLength = 2700;  // seconds
  bool countDown = true;
  int warningLead = 60;  // seconds before the end of the period
  bool goalReleasesPenalty = false;

  bool operator==(const MatchRules&) const = default;
};

class Match : public QObject {
  Q_OBJECT

 public:
  // The end-of-period blink: ten steps of 500 ms, the last one switches the clock off.
  static constexpr int kBlinkSteps = 10;
  // A score has three digits on the display: a goal beyond this is refused.
  static constexpr int kMaxScore = 999;

  explicit Match(QObject* parent = nullptr);

  const MatchState& state() const { return state_; }
  const MatchRules& rules() const { return rules_; }

  // Clock.
  void playPause(quint32 now);
  // The 200 ms tick while the clock runs: penalties, clock, warning, end of the period.
  void tick(quint32 now);
  // One step of the end-of-period blink, every 500 ms while the state is blinking.
  void blinkStep();
  // The whole match back to the start: clock, scores, period, penalties; the clock is shown.
  void reset();
  // Moves a paused clock by stepSeconds of elapsed time (a positive step takes time off).
  void correct(int stepSeconds);
  // A new count direction or period length shows at once unless the clock runs (a running
  // clock shows it at its next tick); the other rules act when they are used.
  void setRules(const MatchRules& rules);
  // Both clocks show the period's start value (a new configuration was applied).
  void showStartValue();
  // A confirmed configuration in one step: the new rules, both clocks at the period's start
  // value and every penalty stopped where it is (a click resumes it).
  void takeConfiguration(const MatchRules& rules);
  void setClockShown(bool shown);

  // Period number 0..4.
  void setPeriod(int period);
  void periodUp();     // up to 4
  void periodDown();   // down to 0
  void periodCycle();  // 4 wraps to 0

  // Score; a goal may release a penalty of the team that conceded it.
  void changeScore(int team, int delta);

  // Penalty slot 0..3: starts an idle slot (armed while the clock stands), ends an active one.
  void penaltyClick(int slot, quint32 now);
  // Every slot becomes inactive but keeps its time; a later click goes on from there.
  void deactivatePenalties();

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

 signals:
  // Once after every command that changed the state.
  void changed();
  // The warning sound is due (once per period).
  void warningDue();
  // The period ran out: the end signal is due. Emitted before changed().
  void periodEnded();

 private:
  // Applies a command and notifies when it changed the state.
  template <typename Command>
  void apply(Command command);
  void showClock(int seconds);
  void endPenalty(int slot);
  void showPenalty(int slot, int elapsedSeconds);
  void syncPenalty(int slot);
  void endPeriod();
  void stopPenalties();

  MatchState state_;
  MatchRules rules_;
  MatchClock clock_;
  PenaltyTable penalties_;
};
