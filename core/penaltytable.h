#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

#include "core/team.h"

// The 2 x 2 table of two-minute penalties, free of any window. A slot's start mark is 0 when
// idle, -1 while armed (waiting for the clock to run), else the tick at which the penalty would
// have begun had the clock never been paused.
class PenaltyTable {
 public:
  static constexpr int kLength = 120;  // seconds
  static constexpr qint32 kNone = 0;
  static constexpr qint32 kArmed = -1;

  // Slots are numbered 0..3: team 1 slots 1 and 2, then team 2 slots 1 and 2.
  static constexpr int index(int team, int slot) { return (team - 1) * 2 + (slot - 1); }
  static constexpr int index(Team team, int slot) { return teamIndex(team) * 2 + (slot - 1); }
  static constexpr int teamOf(int index) { return index / 2 + 1; }

  struct Slot {
    bool active = false;
    qint32 startMark = kNone;
  };

  const Slot& slot(int i) const { return slots_[i]; }

  // A click on an idle slot: it becomes active; a fresh one starts now if the clock runs and
  // is armed otherwise. A slot stopped from outside keeps its mark and goes on where it was.
  void activate(int i, bool clockRunning, quint32 now);
  // Whole seconds the slot has run.
  int elapsedSeconds(int i, quint32 now) const;
  // Ends the slot: idle, no start mark.
  void end(int i);
  // Puts a slot back as it was, for a restored match.
  void restore(int i, const Slot& slot) { slots_[i] = slot; }
  // Leaves the slot idle but keeps its start mark (a later click resumes it).
  void deactivate(int i) { slots_[i].active = false; }
  // Resuming after a pause of d ms: running and stopped penalties move with the clock.
  void shiftStarted(quint32 d);
  // The clock goes to Running: armed slots start now.
  void startArmed(quint32 now);
  // After a goal against `team`: the slot of that team to release, if the team plays with more
  // penalties than the other one. The earlier start (armed counting earliest) goes first.
  std::optional<int> slotToRelease(int team) const;

 private:
  static bool startedBefore(qint32 a, qint32 b);

  std::array<Slot, 4> slots_{};
};
