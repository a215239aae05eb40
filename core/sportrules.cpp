#include "core/sportrules.h"

namespace {

using R = GoalRelease;

// Each preset names every value, so a row reads without its neighbours or the defaults.
std::vector<SportRules> presetTable() {
  // Kinds several sports share; made here, not as globals, so none is built before main().
  const PenaltyKind kMinorByGoal{
      .id = QStringLiteral("2"), .seconds = 120, .release = R::whileShort};
  const PenaltyKind kDoubleMinor{
      .id = QStringLiteral("2+2"), .seconds = 120, .parts = 2, .release = R::whileShort};
  const PenaltyKind kMajor{.id = QStringLiteral("5"), .seconds = 300};
  const PenaltyKind kMisconduct{.id = QStringLiteral("10"), .seconds = 600, .personal = true};
  return {
      {.name = QStringLiteral("standard"),
       .periods = 2,
       .periodLength = 2700,
       .breakLength = 900,
       .kinds = SportRules{}.kinds,
       .maxRunning = 2,
       .carryOver = false,
       .slotsKeptByPenalty = true,
       .markedFoul = 0,
       .timeouts = {.perMatch = 0, .perPeriod = 0, .seconds = 0, .signalAt = 0, .lastSeconds = 0},
       .clockShownAtNextPeriod = false,
       .configurationPausesPenalties = true,
       .breakAfterPeriod = false,
       .numbersPeriods = false,
       .warningByDefault = true},
      {.name = QStringLiteral("handball"),
       .periods = 2,
       .periodLength = 1800,
       .breakLength = 600,
       .kinds = {{.id = QStringLiteral("2"), .seconds = 120, .release = R::never}},
       .maxRunning = 0,
       .carryOver = true,
       .slotsKeptByPenalty = false,
       .markedFoul = 0,
       .timeouts =
           {.perMatch = 3, .perPeriod = 2, .seconds = 60, .signalAt = 50, .lastSeconds = 300},
       .clockShownAtNextPeriod = true,
       .configurationPausesPenalties = false,
       .breakAfterPeriod = true,
       .numbersPeriods = true,
       .warningByDefault = false},
      {.name = QStringLiteral("floorball"),
       .periods = 3,
       .periodLength = 1200,
       .breakLength = 600,
       .kinds = {kMinorByGoal, kDoubleMinor, kMajor, kMisconduct},
       .maxRunning = 2,
       .carryOver = true,
       .slotsKeptByPenalty = false,
       .markedFoul = 0,
       .timeouts = {.perMatch = 1, .perPeriod = 0, .seconds = 30, .signalAt = 0, .lastSeconds = 0},
       .clockShownAtNextPeriod = true,
       .configurationPausesPenalties = false,
       .breakAfterPeriod = true,
       .numbersPeriods = true,
       .warningByDefault = false},
      {.name = QStringLiteral("icehockey"),
       .periods = 3,
       .periodLength = 1200,
       .breakLength = 900,
       .kinds = {kMinorByGoal, kDoubleMinor, kMajor, kMisconduct},
       .maxRunning = 2,
       .carryOver = true,
       .slotsKeptByPenalty = false,
       .markedFoul = 0,
       .timeouts = {.perMatch = 1, .perPeriod = 0, .seconds = 30, .signalAt = 0, .lastSeconds = 0},
       .clockShownAtNextPeriod = true,
       .configurationPausesPenalties = false,
       .breakAfterPeriod = true,
       .numbersPeriods = true,
       .warningByDefault = false},
      {.name = QStringLiteral("futsal"),
       .periods = 2,
       .periodLength = 1200,
       .breakLength = 900,
       .kinds = {kMinorByGoal},
       .maxRunning = 0,
       .carryOver = true,
       .slotsKeptByPenalty = false,
       .markedFoul = 6,
       .timeouts = {.perMatch = 2, .perPeriod = 1, .seconds = 60, .signalAt = 0, .lastSeconds = 0},
       .clockShownAtNextPeriod = true,
       .configurationPausesPenalties = false,
       .breakAfterPeriod = true,
       .numbersPeriods = true,
       .warningByDefault = false},
  };
}

const std::vector<SportRules>& presets() {
  static const std::vector<SportRules> table = presetTable();
  return table;
}

}  // namespace

QString goalReleaseName(GoalRelease release) {
  switch (release) {
    case GoalRelease::whileShort:
      return QStringLiteral("whileShort");
    case GoalRelease::bySwitch:
      return QStringLiteral("bySwitch");
    case GoalRelease::never:
      break;
  }
  return QStringLiteral("never");
}

std::optional<GoalRelease> goalReleaseNamed(const QString& name) {
  for (GoalRelease r : {GoalRelease::never, GoalRelease::whileShort, GoalRelease::bySwitch})
    if (goalReleaseName(r) == name) return r;
  return std::nullopt;
}

const PenaltyKind* SportRules::kind(const QString& id) const {
  for (const PenaltyKind& k : kinds)
    if (k.id == id) return &k;
  return nullptr;
}

std::optional<SportRules> SportRules::preset(const QString& name) {
  for (const SportRules& r : presets())
    if (r.name == name) return r;
  return std::nullopt;
}

QStringList SportRules::presetNames() {
  QStringList names;
  for (const SportRules& r : presets()) names.append(r.name);
  return names;
}
