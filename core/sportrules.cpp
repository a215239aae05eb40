#include "core/sportrules.h"

namespace {

using R = GoalRelease;

const PenaltyKind kMinorByGoal{QStringLiteral("2"), 120, 1, R::whileShort, false};
const PenaltyKind kDoubleMinor{QStringLiteral("2+2"), 120, 2, R::whileShort, false};
const PenaltyKind kMajor{QStringLiteral("5"), 300, 1, R::never, false};
const PenaltyKind kMisconduct{QStringLiteral("10"), 600, 1, R::never, true};

std::vector<SportRules> presetTable() {
  // clang-format off
  return {
    // name          periods length break  kinds
    //   running carry  slots kept  marked foul  time-outs {match, period, s, signal, last s}  clock back,
    //   configuration pauses penalties, break after a period, numbers periods, warning
    {QStringLiteral("standard"), 2, 2700, 900, SportRules{}.kinds,
       2,      false, true,       0,           {0, 0, 0, 0},                         false, true, false, false, true},
    {QStringLiteral("handball"), 2, 1800, 600, {{QStringLiteral("2"), 120, 1, R::never, false}},
       0,      true,  false,      0,           {3, 2, 60, 50, 300},                  true,  false, true, true, false},
    {QStringLiteral("floorball"), 3, 1200, 600, {kMinorByGoal, kDoubleMinor, kMajor, kMisconduct},
       2,      true,  false,      0,           {1, 0, 30, 0},                        true,  false, true, true, false},
    {QStringLiteral("icehockey"), 3, 1200, 900, {kMinorByGoal, kDoubleMinor, kMajor, kMisconduct},
       2,      true,  false,      0,           {1, 0, 30, 0},                        true,  false, true, true, false},
    {QStringLiteral("futsal"), 2, 1200, 900, {kMinorByGoal},
       0,      true,  false,      6,           {2, 1, 60, 0},                        true,  false, true, true, false},
  };
  // clang-format on
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
