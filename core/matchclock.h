#pragma once

#include <QtGlobal>

// The state of the match clock and its arithmetic, free of any window. Times are ticks of
// the 32-bit millisecond counter; every difference is taken modulo 2^32, so the clock is
// recomputed from the counter on each tick and never accumulates.
class MatchClock {
 public:
  enum State { Ready = -1, Paused = 0, Running = 1 };

  State state() const { return state_; }
  quint32 startMark() const { return startMark_; }
  quint32 pauseMark() const { return pauseMark_; }

  // Play/Pause. Returns the length of the pause just ended (0 unless resuming).
  quint32 playPause(quint32 now);
  // Shown seconds while running: the second turns 900 ms before it is complete.
  int runningSeconds(quint32 now) const;
  // Elapsed seconds frozen at the pause, with the same 900 ms lead.
  int pausedSeconds() const;
  // Moves the paused clock by k seconds of elapsed time, only while paused and only when the
  // new elapsed time lies strictly inside the period; returns the new elapsed seconds.
  bool correct(int stepSeconds, int periodLength, int* elapsedSeconds);
  // Sets the elapsed time of a clock that stands: paused, or ready (a period not yet started
  // then starts from there). False while it runs.
  bool setElapsed(qint64 elapsedMs);
  // Milliseconds of the period played: up to now while running, up to the pause while paused.
  qint64 elapsedMs(quint32 now) const;
  // Puts the clock into `state` with `elapsedMs` played, measured from `now`.
  void restore(State state, qint64 elapsedMs, quint32 now);
  // End of a period: ready for the next one from zero.
  void stop() {
    state_ = Ready;
    presetMs_ = 0;
  }
  void reset();

 private:
  qint64 elapsedAtPause() const { return static_cast<qint64>(pauseMark_ - startMark_); }

  State state_ = Ready;
  quint32 startMark_ = 0;
  quint32 pauseMark_ = 0;
  qint64 presetMs_ = 0;  // a ready clock starts from here (the operator set its time)
};
