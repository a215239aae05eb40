#pragma once

#include <array>
#include <optional>

// The two teams: home on the left, guest on the right. Keys, the phone, the journal and the
// report number them 1 and 2; per-team arrays hold the home team first.
enum class Team { Home, Guest };

inline constexpr std::array<Team, 2> kTeams{Team::Home, Team::Guest};

// 0 for the home team, 1 for the guest team: the place in a per-team array.
constexpr int teamIndex(Team team) { return team == Team::Home ? 0 : 1; }
// 1 for the home team, 2 for the guest team.
constexpr int teamNumber(Team team) { return teamIndex(team) + 1; }
// The team numbered 1 or 2; any other number names none.
constexpr std::optional<Team> teamNumbered(int number) {
  if (number == 1) return Team::Home;
  if (number == 2) return Team::Guest;
  return std::nullopt;
}
constexpr Team opponent(Team team) { return team == Team::Home ? Team::Guest : Team::Home; }
