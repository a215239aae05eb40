#include "core/matchclock.h"

#include "platform/os/tickcounter.h"

quint32 MatchClock::playPause(quint32 now) {
  quint32 pause = 0;
  switch (state_) {
    case Ready:
      startMark_ = now - static_cast<quint32>(presetMs_);
      presetMs_ = 0;
      state_ = Running;
      break;
    case Paused:
      pause = tickSpan(now, pauseMark_);
      startMark_ += pause;
      state_ = Running;
      break;
    case Running:
      pauseMark_ = now;
      state_ = Paused;
      break;
  }
  return pause;
}

int MatchClock::runningSeconds(quint32 now) const {
  return static_cast<int>((static_cast<qint64>(tickSpan(now, startMark_)) + 900) / 1000);
}

int MatchClock::pausedSeconds() const { return static_cast<int>((elapsedAtPause() + 900) / 1000); }

bool MatchClock::correct(int stepSeconds, int periodLength, int* elapsedSeconds) {
  if (state_ != Paused) return false;
  const qint64 corrected = elapsedAtPause() - qint64(stepSeconds) * 1000;
  if (corrected <= 0 || corrected >= qint64(periodLength) * 1000) return false;
  startMark_ += static_cast<quint32>(stepSeconds * 1000);
  *elapsedSeconds = static_cast<int>(corrected / 1000);
  return true;
}

bool MatchClock::setElapsed(qint64 elapsedMs) {
  if (state_ == Running) return false;
  if (state_ == Ready)
    presetMs_ = elapsedMs;
  else
    startMark_ = pauseMark_ - static_cast<quint32>(elapsedMs);
  return true;
}

void MatchClock::reset() {
  state_ = Ready;
  pauseMark_ = 0;
  presetMs_ = 0;
}

qint64 MatchClock::elapsedMs(quint32 now) const {
  switch (state_) {
    case Running:
      return tickSpan(now, startMark_);
    case Paused:
      return elapsedAtPause();
    case Ready:
      break;
  }
  return presetMs_;
}

void MatchClock::restore(State state, qint64 elapsedMs, quint32 now) {
  state_ = state;
  startMark_ = now - static_cast<quint32>(elapsedMs);
  pauseMark_ = state == Paused ? now : 0;
  presetMs_ = state == Ready ? elapsedMs : 0;
}
