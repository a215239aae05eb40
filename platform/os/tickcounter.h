#pragma once

#include <QtGlobal>

// The system's 32-bit millisecond tick counter. It wraps at 2^32; differences of two ticks are
// taken modulo 2^32 (unsigned subtraction), so a wrap in the middle of a period costs nothing.
class TickCounter {
 public:
  virtual ~TickCounter() = default;
  virtual quint32 now() const = 0;
};

// Milliseconds from `earlier` to `later`, modulo 2^32.
constexpr quint32 tickSpan(quint32 later, quint32 earlier) { return later - earlier; }

class QtTickCounter final : public TickCounter {
 public:
  quint32 now() const override;
};
