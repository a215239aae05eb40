#pragma once

#include <QtGlobal>
#include <map>

// The tick marks behind the penalties of the match, by penalty id, free of any window. A
// penalty's time is the milliseconds it has left at a mark; while it counts, the tick counter
// takes from it (differences modulo 2^32), while it stands, the time is frozen. Freezing at a
// pause and counting on at the resume is the same as shifting the mark by the pause.
class PenaltyTimes {
 public:
  // A new penalty, or a new time for one: `leftMs` from now on, standing.
  void set(int id, qint64 leftMs);
  void erase(int id) { times_.erase(id); }
  void clear() { times_.clear(); }
  bool contains(int id) const { return times_.count(id) > 0; }

  // Starts counting from `now` (a standing one), or from a moment before it: `now` minus
  // `lateMs`, for a penalty that should have started when another one ran out between ticks.
  void count(int id, quint32 now, qint64 lateMs = 0);
  void freeze(int id, quint32 now);
  bool counting(int id) const;

  // Milliseconds left at `now`; below zero once the penalty ran out while counting.
  qint64 leftMs(int id, quint32 now) const;
  // The tick at which a counting penalty runs out, or the frozen time: of two penalties
  // in the same condition, the smaller ends first.
  bool endsBefore(int a, int b) const;

 private:
  struct Time {
    qint64 leftMs = 0;
    bool counting = false;
    quint32 mark = 0;
  };

  std::map<int, Time> times_;
};
