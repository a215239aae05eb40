#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The rules a match is played by, as plain data: one preset per sport, a row of a table. The
// match asks these values; no sport has a branch of its own in the model.

// Whether a goal of the other team ends a penalty of this kind.
enum class GoalRelease {
  never,
  whileShort,  // when the penalised team plays with more penalties than the scoring team
  bySwitch,    // as whileShort, but only with the operator's switch "Strafe RESET" on
};

// "never", "whileShort", "bySwitch", as the journal stores them.
QString goalReleaseName(GoalRelease release);
std::optional<GoalRelease> goalReleaseNamed(const QString& name);

struct PenaltyKind {
  QString id;       // "2", "2+2", "5", "10"
  int seconds = 0;  // length of one part
  int parts = 1;    // 2+2: the second part starts when the first ends or is released
  GoalRelease release = GoalRelease::never;
  bool personal = false;  // the player sits out, the team is not short (a misconduct)

  int totalSeconds() const { return seconds * parts; }

  bool operator==(const PenaltyKind&) const = default;
};

struct TimeoutRules {
  int perMatch = 0;   // per team; 0: the sport has no team time-outs
  int perPeriod = 0;  // per team and period; 0: only the match limit
  int seconds = 0;
  int signalAt = 0;  // seconds into the time-out at which a signal sounds; 0: none
  // In the last period's last seconds a team may take only one time-out; 0: no such rule.
  int lastSeconds = 0;

  bool operator==(const TimeoutRules&) const = default;
};

struct SportRules {
  // Default-constructed, the rules are the preset "standard".
  QString name = QStringLiteral("standard");
  int periods = 2;
  int periodLength = 2700;  // seconds; the default the configuration dialog offers
  int breakLength = 900;    // seconds
  // The first kind is the one a click on a penalty time gives.
  std::vector<PenaltyKind> kinds{
      {.id = QStringLiteral("2"), .seconds = 120, .release = GoalRelease::bySwitch}};
  // How many penalties of a team run at once (personal ones not counted); the others wait
  // their turn in the order they were given. 0: any number.
  int maxRunning = 2;
  // Running penalties go on into the next period; otherwise the end of a period ends them all.
  bool carryOver = false;
  // A penalty keeps the display slot it was given in; otherwise the display's two slots of a
  // team show its two penalties with the least time left.
  bool slotsKeptByPenalty = true;
  // Accumulated fouls per team and half, marked from this foul on; 0: fouls are not counted.
  int markedFoul = 0;
  TimeoutRules timeouts;
  // When the next period starts, the display's clock comes back on by itself.
  bool clockShownAtNextPeriod = false;
  // A confirmed configuration pauses every running penalty until a click on it (the console's
  // behaviour of old); the other sports keep their penalties running.
  bool configurationPausesPenalties = true;
  // The end of a period that has a next one starts the break by itself; otherwise only the
  // operator starts one.
  bool breakAfterPeriod = false;
  // The match numbers its periods itself: the first Play starts period 1, and the end of the
  // last period ends the match (its penalties with it; Play starts no further period).
  bool numbersPeriods = false;
  // Choosing the sport turns the warning sound before a period's end on; otherwise off.
  bool warningByDefault = true;

  // The kind with this id, if the sport has it.
  const PenaltyKind* kind(const QString& id) const;
  bool hasTimeouts() const { return timeouts.perMatch > 0 && timeouts.seconds > 0; }
  bool countsFouls() const { return markedFoul > 0; }
  bool foulMarked(int fouls) const { return countsFouls() && fouls >= markedFoul; }

  // The presets by name; an unknown name has none.
  static std::optional<SportRules> preset(const QString& name);
  static QStringList presetNames();

  bool operator==(const SportRules&) const = default;
};
