#include "core/penaltytimes.h"

#include "platform/os/tickcounter.h"

void PenaltyTimes::set(int id, qint64 leftMs) { times_[id] = Time{leftMs, false, 0}; }

void PenaltyTimes::count(int id, quint32 now, qint64 lateMs) {
  Time& t = times_[id];
  if (t.counting) return;
  t.counting = true;
  t.mark = now - static_cast<quint32>(lateMs);
}

void PenaltyTimes::freeze(int id, quint32 now) {
  Time& t = times_[id];
  if (!t.counting) return;
  t.leftMs -= tickSpan(now, t.mark);
  t.counting = false;
}

bool PenaltyTimes::counting(int id) const {
  const auto it = times_.find(id);
  return it != times_.end() && it->second.counting;
}

qint64 PenaltyTimes::leftMs(int id, quint32 now) const {
  const auto it = times_.find(id);
  if (it == times_.end()) return 0;
  const Time& t = it->second;
  return t.counting ? t.leftMs - qint64(tickSpan(now, t.mark)) : t.leftMs;
}

bool PenaltyTimes::endsBefore(int a, int b) const {
  const Time& x = times_.at(a);
  const Time& y = times_.at(b);
  if (x.counting && y.counting) {
    // End ticks compared by their distance modulo 2^32, like start marks.
    const quint32 endX = x.mark + static_cast<quint32>(x.leftMs);
    const quint32 endY = y.mark + static_cast<quint32>(y.leftMs);
    return static_cast<qint32>(endX - endY) < 0;
  }
  return x.leftMs < y.leftMs;
}
