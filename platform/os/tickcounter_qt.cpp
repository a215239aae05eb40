#include <QDeadlineTimer>

#include "platform/os/tickcounter.h"

quint32 QtTickCounter::now() const {
  // The monotonic clock's milliseconds, cut to 32 bits like the system tick counter.
  return static_cast<quint32>(QDeadlineTimer::current(Qt::PreciseTimer).deadline());
}
