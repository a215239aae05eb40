#include "core/match.h"

#include "core/clocktext.h"
#include "platform/tickcounter.h"

QString MatchState::clockText() const { return ClockText(clockSeconds, countDown, periodLength); }

QString PenaltySlotState::text() const { return SpanText(secondsLeft); }

Match::Match(QObject* parent) : QObject(parent) {}

template <typename Command>
void Match::apply(Command command) {
  const MatchState before = state_;
  command();
  if (state_ != before) emit changed();
}

void Match::showClock(int seconds) {
  state_.clockSeconds = seconds;
  state_.countDown = rules_.countDown;
  state_.periodLength = rules_.periodLength;
}

void Match::syncPenalty(int slot) {
  const PenaltyTable::Slot& s = penalties_.slot(slot);
  state_.penalties[slot].active = s.active;
  state_.penalties[slot].armed = s.startMark == PenaltyTable::kArmed;
}

// Elapsed seconds of the slot's two minutes; at 120 the penalty ends and shows "2:00" again.
void Match::showPenalty(int slot, int elapsedSeconds) {
  if (elapsedSeconds >= PenaltyTable::kLength) {
    penalties_.end(slot);
    elapsedSeconds = 0;
  }
  syncPenalty(slot);
  state_.penalties[slot].secondsLeft = PenaltyTable::kLength - elapsedSeconds;
}

void Match::endPenalty(int slot) { showPenalty(slot, PenaltyTable::kLength); }

void Match::playPause(quint32 now) {
  apply([&] {
    const quint32 pause = clock_.playPause(now);
    state_.clock = clock_.state();
    state_.periodEnded = false;
    if (state_.clock != MatchClock::Running) return;
    state_.started = true;
    penalties_.shiftStarted(pause);
    penalties_.startArmed(now);
    for (int i = 0; i < 4; ++i) syncPenalty(i);
  });
}

void Match::tick(quint32 now) {
  if (state_.clock != MatchClock::Running) return;
  apply([&] {
    for (int i = 0; i < 4; ++i)
      if (penalties_.slot(i).active) showPenalty(i, penalties_.elapsedSeconds(i, now));
    // A late tick (the program held up, a clock resumed at its end) ends the period at its
    // end rather than showing a time past it.
    const int s = qMin(clock_.runningSeconds(now), rules_.periodLength);
    showClock(s);
    if (!state_.warningStarted && s >= rules_.periodLength - rules_.warningLead) {
      state_.warningStarted = true;
      emit warningDue();
    }
    if (s <= 0 || s >= rules_.periodLength) endPeriod();
  });
}

void Match::endPeriod() {
  state_.warningStarted = false;
  clock_.stop();
  state_.clock = clock_.state();
  state_.periodEnded = true;
  emit periodEnded();
  for (int i = 0; i < 4; ++i) endPenalty(i);
  state_.blinkStepsLeft = kBlinkSteps;
}

void Match::blinkStep() {
  if (!state_.blinking()) return;
  apply([&] {
    if (--state_.blinkStepsLeft > 0) return;
    // The blink is over: the clock goes off and shows the period's start value again.
    state_.clockShown = false;
    showClock(0);
  });
}

// The blink of an ended period goes on: it ends by switching the clock off as always.
void Match::reset() {
  apply([&] {
    clock_.reset();
    state_.clock = clock_.state();
    state_.clockShown = true;
    state_.started = false;
    state_.periodEnded = false;
    state_.warningStarted = false;
    showClock(0);
    state_.score = {0, 0};
    state_.period = 0;
    for (int i = 0; i < 4; ++i) endPenalty(i);
  });
}

void Match::correct(int stepSeconds) {
  apply([&] {
    int elapsed = 0;
    if (clock_.correct(stepSeconds, rules_.periodLength, &elapsed)) showClock(elapsed);
  });
}

void Match::setRules(const MatchRules& rules) {
  apply([&] {
    const bool shownDifferently =
        rules.countDown != rules_.countDown || rules.periodLength != rules_.periodLength;
    rules_ = rules;
    if (!shownDifferently || state_.clock == MatchClock::Running) return;
    // A clock paused past the end of a now shorter period shows the period's end, as a running
    // one does at its next tick.
    showClock(state_.clock == MatchClock::Paused ? qMin(clock_.pausedSeconds(), rules_.periodLength)
                                                 : 0);
  });
}

void Match::showStartValue() {
  apply([&] { showClock(0); });
}

void Match::setClockShown(bool shown) {
  apply([&] { state_.clockShown = shown; });
}

void Match::setPeriod(int period) {
  apply([&] { state_.period = qBound(0, period, 4); });
}

void Match::periodUp() { setPeriod(state_.period + 1); }

void Match::periodDown() { setPeriod(state_.period - 1); }

void Match::periodCycle() { setPeriod((state_.period + 1) % 5); }

void Match::changeScore(int team, int delta) {
  apply([&] {
    int& score = state_.score[team - 1];
    // Below zero or beyond three digits is refused whole, like any other bad input.
    const qint64 next = qint64(score) + delta;
    if (delta == 0 || next < 0 || next > kMaxScore) return;
    score = int(next);
    if (delta <= 0 || !rules_.goalReleasesPenalty) return;
    if (const auto slot = penalties_.slotToRelease(team == 1 ? 2 : 1)) endPenalty(*slot);
  });
}

void Match::penaltyClick(int slot, quint32 now) {
  apply([&] {
    if (penalties_.slot(slot).active) {
      endPenalty(slot);
      return;
    }
    penalties_.activate(slot, state_.clock == MatchClock::Running, now);
    syncPenalty(slot);
  });
}

void Match::deactivatePenalties() {
  apply([&] { stopPenalties(); });
}

void Match::stopPenalties() {
  for (int i = 0; i < 4; ++i) {
    penalties_.deactivate(i);
    syncPenalty(i);
  }
}

void Match::takeConfiguration(const MatchRules& rules) {
  apply([&] {
    rules_ = rules;
    showClock(0);
    stopPenalties();
  });
}

void Match::setLogoScreen(bool shown) {
  apply([&] { state_.logoScreen = shown; });
}

void Match::toggleBlackScreen() {
  apply([&] {
    state_.blackScreen = !state_.blackScreen;
    state_.logoScreen = false;
  });
}

void Match::startRunText(int mode, const std::optional<QString>& text) {
  apply([&] {
    RunTextState& run = state_.runText;
    run.mode = mode;
    run.shown = text.has_value();
    if (!text) return;
    run.text = *text;
    run.lit = true;
    ++run.starts;
  });
}

void Match::continueRunText(const QString& text) {
  apply([&] { state_.runText.text = text; });
}

void Match::stopRunText() {
  apply([&] {
    state_.runText.shown = false;
    state_.runText.lit = false;
  });
}

MatchSnapshot Match::snapshot(quint32 now) const {
  MatchSnapshot s;
  s.state = state_;
  s.elapsedMs = clock_.elapsedMs(now);
  // Started penalties stand still during a pause like the clock.
  const quint32 reference = clock_.state() == MatchClock::Paused ? clock_.pauseMark() : now;
  for (int i = 0; i < 4; ++i) {
    const qint32 mark = penalties_.slot(i).startMark;
    if (mark != PenaltyTable::kNone && mark != PenaltyTable::kArmed)
      s.penaltyElapsedMs[i] = tickSpan(reference, static_cast<quint32>(mark));
  }
  return s;
}

void Match::restore(const MatchSnapshot& snapshot, quint32 now) {
  apply([&] {
    state_ = snapshot.state;
    clock_.restore(state_.clock, snapshot.elapsedMs, now);
    for (int i = 0; i < 4; ++i) {
      PenaltyTable::Slot slot;
      slot.active = state_.penalties[i].active;
      const qint64 elapsed = snapshot.penaltyElapsedMs[i];
      if (state_.penalties[i].armed)
        slot.startMark = PenaltyTable::kArmed;
      else if (elapsed != MatchSnapshot::kNoStart)
        slot.startMark = static_cast<qint32>(now - static_cast<quint32>(elapsed));
      penalties_.restore(i, slot);
    }
  });
}
