#pragma once

#include <QtGlobal>
#include <algorithm>

#include "platform/os/tickcounter.h"

// A token bucket: on average `perSecond` events per second, in bursts of up to one second's
// worth. Times are tick values, so it needs no clock of its own and tests drive it directly.
class RateLimit {
 public:
  RateLimit(int perSecond, quint32 now) : perSecond_(perSecond), tokens_(capacity()), last_(now) {}

  // True when the event is allowed; it then uses up one token.
  bool take(quint32 now) {
    refill(now);
    if (tokens_ < 1000) return false;
    tokens_ -= 1000;
    return true;
  }
  // The milliseconds until take() allows an event; 0 when it does now.
  quint32 wait(quint32 now) {
    refill(now);
    return tokens_ >= 1000 ? 0 : quint32((1000 - tokens_ + perSecond_ - 1) / perSecond_);
  }

 private:
  void refill(quint32 now) {
    // Tokens are counted in thousandths, so a millisecond adds perSecond_ of them exactly.
    const qint64 elapsed = std::min<qint64>(tickSpan(now, last_), 1000);
    last_ = now;
    tokens_ = std::min(capacity(), tokens_ + elapsed * perSecond_);
  }
  qint64 capacity() const { return qint64(perSecond_) * 1000; }

  int perSecond_;
  qint64 tokens_;
  quint32 last_;
};
