#pragma once

#include "platform/os/tickcounter.h"

// A tick counter that moves only when the test says so.
class FakeTick final : public TickCounter {
 public:
  quint32 now() const override { return now_; }
  void set(quint32 t) { now_ = t; }
  void advance(quint32 ms) { now_ += ms; }

 private:
  quint32 now_ = 1000;
};
