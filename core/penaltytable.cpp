#include "core/penaltytable.h"

#include "platform/os/tickcounter.h"

void PenaltyTable::activate(int i, bool clockRunning, quint32 now) {
  Slot& s = slots_[i];
  s.active = true;
  if (s.startMark == kNone) s.startMark = clockRunning ? static_cast<qint32>(now) : kArmed;
}

int PenaltyTable::elapsedSeconds(int i, quint32 now) const {
  return static_cast<int>(tickSpan(now, static_cast<quint32>(slots_[i].startMark)) / 1000);
}

void PenaltyTable::end(int i) { slots_[i] = Slot{}; }

void PenaltyTable::shiftStarted(quint32 d) {
  for (Slot& s : slots_)
    if (s.startMark != kNone && s.startMark != kArmed)
      s.startMark = static_cast<qint32>(static_cast<quint32>(s.startMark) + d);
}

void PenaltyTable::startArmed(quint32 now) {
  for (Slot& s : slots_)
    if (s.startMark == kArmed) s.startMark = static_cast<qint32>(now);
}

std::optional<int> PenaltyTable::slotToRelease(int team) const {
  int count[2] = {0, 0};
  for (int i = 0; i < 4; ++i) count[teamOf(i) - 1] += slots_[i].active ? 1 : 0;
  const int own = count[team - 1];
  const int other = count[2 - team];
  if (own == other || own == 0 || own < other) return std::nullopt;

  const int first = index(team, 1);
  const int second = index(team, 2);
  if (!slots_[first].active) return second;
  if (!slots_[second].active) return first;
  return startedBefore(slots_[first].startMark, slots_[second].startMark) ? first : second;
}

// An armed slot counts as the earliest. Tick marks are compared by their distance modulo 2^32,
// so two penalties on either side of the counter's sign change keep their order.
bool PenaltyTable::startedBefore(qint32 a, qint32 b) {
  if (a == kArmed || b == kArmed) return a == kArmed && b != kArmed;
  return static_cast<qint32>(static_cast<quint32>(a) - static_cast<quint32>(b)) < 0;
}
