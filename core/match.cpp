#include "core/match.h"

#include <QCoreApplication>
#include <algorithm>

#include "core/clocktext.h"
#include "platform/os/tickcounter.h"

QString MatchState::clockText() const { return ClockText(clockSeconds, countDown, periodLength); }

QString PenaltySlotState::text() const { return SpanText(secondsLeft); }

QString Penalty::text() const { return SpanText(secondsLeft); }

QString Penalty::stateName(State state) {
  switch (state) {
    case Armed:
      return QStringLiteral("armed");
    case Waiting:
      return QStringLiteral("waiting");
    case Paused:
      return QStringLiteral("paused");
    case Running:
      break;
  }
  return QStringLiteral("running");
}

std::optional<Penalty::State> Penalty::stateNamed(const QString& name) {
  for (State s : {Running, Armed, Waiting, Paused})
    if (stateName(s) == name) return s;
  return std::nullopt;
}

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(UndoStep)
};

}  // namespace

QString UndoStep::caption(const QString& command) {
  static const std::pair<const char*, const char*> kCaptions[] = {
      {"goal", QT_TRANSLATE_NOOP("UndoStep", "Tor")},
      {"penalty", QT_TRANSLATE_NOOP("UndoStep", "Strafe")},
      {"penaltyTime", QT_TRANSLATE_NOOP("UndoStep", "Restzeit gesetzt")},
      {"penaltyCancel", QT_TRANSLATE_NOOP("UndoStep", "Strafe aufgehoben")},
      {"foul", QT_TRANSLATE_NOOP("UndoStep", "Foul")},
      {"period", QT_TRANSLATE_NOOP("UndoStep", "Periode")},
      {"correct", QT_TRANSLATE_NOOP("UndoStep", "Zeitkorrektur")},
      {"setClock", QT_TRANSLATE_NOOP("UndoStep", "Zeit gesetzt")},
      {"reset", QT_TRANSLATE_NOOP("UndoStep", "Reset")},
      {"timeout", QT_TRANSLATE_NOOP("UndoStep", "Auszeit")},
  };
  for (const auto& [name, caption] : kCaptions)
    if (command == QLatin1String(name)) return Words::tr(caption);
  return command;
}

const Penalty* MatchState::penalty(Team team, int id) const {
  for (const Penalty& p : teamPenalties[teamIndex(team)])
    if (p.id == id) return &p;
  return nullptr;
}

const Penalty* MatchState::penalty(int team, int id) const {
  const std::optional<Team> t = teamNumbered(team);
  return t ? penalty(*t, id) : nullptr;
}

namespace {

constexpr int kNoPenalty = 0;

int secondsShown(qint64 leftMs) { return int((leftMs + 999) / 1000); }

PenaltySlotState slotState(const Penalty& p) {
  return {p.active(), p.state == Penalty::Armed || (p.state == Penalty::Paused && !p.started),
          p.secondsLeft, p.id};
}

}  // namespace

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

bool Match::matchOver() const {
  return sport_.numbersPeriods && state_.periodEnded && !state_.breakOn &&
         state_.clock == MatchClock::Ready && state_.period == sport_.periods;
}

bool Match::playPause(quint32 now) {
  lastNow_ = now;
  if (matchOver()) return false;
  apply([&] {
    if (sport_.numbersPeriods && state_.period == 0 && state_.clock == MatchClock::Ready)
      enterPeriod(1);
    const bool nextPeriod = state_.periodEnded;
    // Play ends a time-out or the break; a break after the end of a period leads into the next.
    const bool fromBreak = state_.breakOn && state_.clock != MatchClock::Running;
    state_.timeoutTeam = 0;
    state_.breakOn = false;
    if (fromBreak && nextPeriod) {
      enterPeriod(qMin(qMax(state_.period, 1) + 1, MatchState::kLastPeriod));
      showClock(0);
    }
    clock_.playPause(now);
    state_.clock = clock_.state();
    state_.periodEnded = false;
    if (state_.clock != MatchClock::Running) {
      freezePenalties(now);
      return;
    }
    state_.started = true;
    if (nextPeriod && sport_.clockShownAtNextPeriod) state_.clockShown = true;
    for (auto& list : state_.teamPenalties)
      for (Penalty& p : list) {
        if (p.state == Penalty::Armed) p.state = Penalty::Running;
        if (p.state != Penalty::Waiting) p.started = true;
        if (counts(p)) times_.count(p.id, now);
      }
    syncSlots();
  });
  return true;
}

void Match::tick(quint32 now) {
  if (state_.countingDown()) tickCountdown(now);
  if (state_.clock != MatchClock::Running) return;
  lastNow_ = now;
  apply([&] {
    for (Team team : kTeams) {
      std::vector<int> running;
      for (const Penalty& p : state_.teamPenalties[teamIndex(team)])
        if (p.state == Penalty::Running) running.push_back(p.id);
      for (int id : running) {
        Penalty* p = findPenalty(team, id);
        if (!p) continue;  // ended with one before it
        const qint64 left = times_.leftMs(id, now);
        if (left <= 0)
          endPenalty(team, id, now, -left);
        else
          p->secondsLeft = secondsShown(left);
      }
    }
    syncSlots();
    // A late tick (the program held up, a clock resumed at its end) ends the period at its
    // end rather than showing a time past it.
    const int s = qMin(clock_.runningSeconds(now), rules_.periodLength);
    showClock(s);
    if (!state_.warningStarted && s >= rules_.periodLength - rules_.warningLead) {
      state_.warningStarted = true;
      emit warningDue();
    }
    if (s <= 0 || s >= rules_.periodLength) endPeriod(now);
  });
}

void Match::endPeriod(quint32 now) {
  state_.warningStarted = false;
  clock_.stop();
  state_.clock = clock_.state();
  state_.periodEnded = true;
  emit periodEnded();
  freezePenalties(now);
  // After the last period there is none to carry them into.
  if (!sport_.carryOver || matchOver())
    for (auto& list : state_.teamPenalties) {
      for (const Penalty& p : list) times_.erase(p.id);
      list.clear();
    }
  // Fouls count per half; those of the last half go on into extra time.
  if (state_.period < sport_.periods) state_.fouls = {0, 0};
  syncSlots();
  state_.blinkStepsLeft = kBlinkSteps;
  if (sport_.breakAfterPeriod && qMax(state_.period, 1) < sport_.periods) {
    state_.breakOn = true;
    beginCountdown(sport_.breakLength, now);
  }
}

// ---- Time-outs and the break ---------------------------------------------------------------

void Match::beginCountdown(int seconds, quint32 now) {
  countdownMark_ = now;
  countdownMs_ = qint64(seconds) * 1000;
  if (state_.timeoutRunning())
    state_.timeoutSecondsLeft = seconds;
  else
    state_.breakSecondsLeft = seconds;
}

// Recomputed from the tick counter every tick, never accumulated.
void Match::tickCountdown(quint32 now) {
  lastNow_ = now;
  apply([&] {
    // As on the match clock, a second turns 900 ms before it is complete: the first tick shows
    // 0:59 of a minute, and 0:00 (the end) comes 900 ms early.
    const qint64 left = countdownMs_ - qint64(quint32(now - countdownMark_)) - 900;
    const int seconds = left > 0 ? secondsShown(left) : 0;
    if (state_.timeoutRunning()) {
      state_.timeoutSecondsLeft = seconds;
      const TimeoutRules& t = sport_.timeouts;
      if (!state_.timeoutSignalled && t.signalAt > 0 && t.signalAt < t.seconds && seconds > 0 &&
          seconds <= t.seconds - t.signalAt) {
        state_.timeoutSignalled = true;
        emit timeoutSignalDue();
      }
      if (seconds == 0) {
        state_.timeoutTeam = 0;
        emit countdownEnded();
      }
      return;
    }
    state_.breakSecondsLeft = seconds;
    if (seconds == 0) emit countdownEnded();
  });
}

TimeoutRefusal Match::timeoutRefusal(int team) const {
  const std::optional<Team> t = teamNumbered(team);
  if (!t) return TimeoutRefusal::NoTeam;
  if (!sport_.hasTimeouts()) return TimeoutRefusal::NotInSport;
  if (state_.timeoutRunning()) return TimeoutRefusal::Running;
  if (state_.breakOn) return TimeoutRefusal::InBreak;
  const int i = teamIndex(*t);
  if (state_.timeoutsTaken[i] >= sport_.timeouts.perMatch) return TimeoutRefusal::MatchLimit;
  if (sport_.timeouts.perPeriod > 0 && state_.timeoutsTakenInPeriod[i] >= sport_.timeouts.perPeriod)
    return TimeoutRefusal::PeriodLimit;
  if (state_.late(sport_) && state_.timeoutsTakenLate[i] >= 1) return TimeoutRefusal::LateLimit;
  return TimeoutRefusal::None;
}

// The last period's last seconds of the sport's time-out rule, counted on the clock's last tick.
bool MatchState::late(const SportRules& sport) const {
  const int last = sport.timeouts.lastSeconds;
  return last > 0 && qMax(period, 1) >= sport.periods && clockSeconds >= periodLength - last;
}

void Match::freezePenalties(quint32 now) {
  for (const auto& list : state_.teamPenalties)
    for (const Penalty& p : list) times_.freeze(p.id, now);
}

void Match::pauseRunningClock(quint32 now) {
  if (state_.clock != MatchClock::Running) return;
  clock_.playPause(now);
  state_.clock = clock_.state();
  freezePenalties(now);
  showClock(qMin(clock_.pausedSeconds(), rules_.periodLength));
}

TimeoutRefusal Match::startTimeout(int team, quint32 now) {
  lastNow_ = now;
  if (const TimeoutRefusal refused = timeoutRefusal(team); refused != TimeoutRefusal::None)
    return refused;
  apply([&] {
    pauseRunningClock(now);
    state_.timeoutTeam = team;
    state_.timeoutSignalled = false;
    const int i = teamIndex(*teamNumbered(team));  // a refused team never gets here
    ++state_.timeoutsTaken[i];
    ++state_.timeoutsTakenInPeriod[i];
    if (state_.late(sport_)) ++state_.timeoutsTakenLate[i];
    beginCountdown(sport_.timeouts.seconds, now);
  });
  return TimeoutRefusal::None;
}

bool Match::endTimeout(quint32 now) {
  lastNow_ = now;
  if (!state_.timeoutRunning()) return false;
  apply([&] { state_.timeoutTeam = 0; });
  return true;
}

int Match::timeoutsLeft(int team) const { return state_.timeoutsLeft(sport_, team); }

int MatchState::timeoutsLeft(const SportRules& sport, int team) const {
  const std::optional<Team> numbered = teamNumbered(team);
  if (!numbered || !sport.hasTimeouts()) return 0;
  const int i = teamIndex(*numbered);
  const TimeoutRules& t = sport.timeouts;
  int left = t.perMatch - timeoutsTaken[i];
  if (t.perPeriod > 0) left = qMin(left, t.perPeriod - timeoutsTakenInPeriod[i]);
  if (late(sport)) left = qMin(left, 1 - timeoutsTakenLate[i]);
  return qMax(0, left);
}

void Match::startBreak(quint32 now) {
  lastNow_ = now;
  apply([&] {
    pauseRunningClock(now);
    state_.timeoutTeam = 0;
    state_.breakOn = true;
    beginCountdown(sport_.breakLength, now);
  });
}

// Ended by hand after the end of a period, the break leads into the next period as Play would:
// its number advances, and the next Play starts it.
bool Match::endBreak() {
  if (!state_.breakOn) return false;
  apply([&] {
    state_.breakOn = false;
    if (state_.periodEnded) {
      enterPeriod(qMin(qMax(state_.period, 1) + 1, MatchState::kLastPeriod));
      showClock(0);
    }
  });
  return true;
}

// A new period number: the time-outs of a period count afresh.
void Match::enterPeriod(int period) {
  if (period == state_.period) return;
  state_.period = period;
  state_.timeoutsTakenInPeriod = {0, 0};
}

void Match::blinkStep() {
  if (!state_.blinking()) return;
  apply([&] {
    if (--state_.blinkStepsLeft > 0) return;
    // The blink is over: the clock goes off and shows the period's start value again, unless
    // the sport shows it for a next period that started during the blink (and may stand again
    // already, for a time-out: a paused one keeps its time).
    state_.clockShown = sport_.clockShownAtNextPeriod && state_.clock != MatchClock::Ready;
    if (state_.clock != MatchClock::Paused) showClock(0);
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
    state_.teamPenalties = {};
    state_.nextPenaltyId = 1;
    state_.fouls = {0, 0};
    state_.timeoutTeam = 0;
    state_.timeoutsTaken = {0, 0};
    state_.timeoutsTakenInPeriod = {0, 0};
    state_.timeoutsTakenLate = {0, 0};
    state_.breakOn = false;
    times_.clear();
    syncSlots();
  });
}

void Match::correct(int stepSeconds) {
  apply([&] {
    int elapsed = 0;
    if (clock_.correct(stepSeconds, rules_.periodLength, &elapsed)) showClock(elapsed);
  });
}

bool Match::setClock(int shownSeconds) {
  const int length = rules_.periodLength;
  if (state_.clock == MatchClock::Running || shownSeconds < 0 || shownSeconds > length)
    return false;
  const int elapsed = rules_.countDown ? length - shownSeconds : shownSeconds;
  apply([&] {
    if (!clock_.setElapsed(qint64(elapsed) * 1000)) return;
    showClock(elapsed);
    // A time set after the period's end is the next period's start.
    state_.periodEnded = false;
    state_.blinkStepsLeft = 0;
    state_.warningStarted = elapsed >= length - rules_.warningLead;
  });
  return true;
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

void Match::setSport(const SportRules& sport) {
  apply([&] {
    sport_ = sport;
    state_.sport = sport_.name;
    for (Team team : kTeams) startWaiting(team, lastNow_, 0);
    syncSlots();
  });
}

void Match::showStartValue() {
  apply([&] { showClock(0); });
}

void Match::setClockShown(bool shown) {
  apply([&] { state_.clockShown = shown; });
}

void Match::setPeriod(int period) {
  apply([&] { enterPeriod(qBound(0, period, MatchState::kLastPeriod)); });
}

void Match::periodCycle() { setPeriod((state_.period + 1) % (MatchState::kLastPeriod + 1)); }

void Match::changeScore(int team, int delta) { changeScore(team, delta, lastNow_); }

void Match::changeScore(int team, int delta, quint32 now) {
  lastNow_ = now;
  const std::optional<Team> scoring = teamNumbered(team);
  if (!scoring) return;
  apply([&] {
    int& score = state_.score[teamIndex(*scoring)];
    // Below zero or beyond three digits is refused whole, like any other bad input.
    const qint64 next = qint64(score) + delta;
    if (delta == 0 || next < 0 || next > kMaxScore) return;
    score = int(next);
    if (delta > 0) releaseAfterGoal(opponent(*scoring), now);
    syncSlots();
  });
}

// One penalty of a short-handed team (more active penalties than the scoring team) whose kind
// a goal releases: the one that started first, an armed one counting earliest; of two alike,
// the later one (slot 2). A 2+2 in its first part goes on with its second part.
void Match::releaseAfterGoal(Team team, quint32 now) {
  int active[2] = {0, 0};
  for (int t = 0; t < 2; ++t)
    for (const Penalty& p : state_.teamPenalties[t]) active[t] += p.active() && p.serving();
  const int own = active[teamIndex(team)];
  if (own == 0 || own <= active[teamIndex(opponent(team))]) return;

  std::vector<const Penalty*> candidates;
  for (const Penalty& p : state_.teamPenalties[teamIndex(team)]) {
    const GoalRelease r = p.kind.release;
    const bool released =
        r == GoalRelease::whileShort || (r == GoalRelease::bySwitch && rules_.goalReleasesPenalty);
    if (p.active() && p.serving() && released) candidates.push_back(&p);
  }
  if (sport_.slotsKeptByPenalty)
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Penalty* a, const Penalty* b) { return a->slot < b->slot; });
  const auto startsBefore = [&](const Penalty* a, const Penalty* b) {
    const bool armedA = a->state == Penalty::Armed, armedB = b->state == Penalty::Armed;
    if (armedA || armedB) return armedA && !armedB;
    return times_.endsBefore(a->id, b->id);
  };
  const Penalty* chosen = nullptr;
  for (const Penalty* c : candidates)
    if (!chosen || !startsBefore(chosen, c)) chosen = c;
  if (!chosen) return;

  const int id = chosen->id;
  const qint64 partMs = qint64(chosen->kind.seconds) * 1000;
  const qint64 left = times_.leftMs(id, now);
  const qint64 partsAfter =
      qMin<qint64>((left - 1) / qMax<qint64>(partMs, 1), chosen->kind.parts - 1);
  if (partsAfter <= 0) {
    endPenalty(team, id, now);
    return;
  }
  Penalty* p = findPenalty(team, id);
  const bool counting = times_.counting(id);
  times_.set(id, partsAfter * partMs);
  if (counting) times_.count(id, now);
  p->secondsLeft = secondsShown(partsAfter * partMs);
}

void Match::penaltyClick(int slot, quint32 now) {
  lastNow_ = now;
  const Team team = slot < 2 ? Team::Home : Team::Guest;
  apply([&] {
    const int id = shownIds(team)[slot % 2];
    if (Penalty* p = findPenalty(team, id)) {
      if (p->active())
        endPenalty(team, id, now);
      else if (p->state == Penalty::Paused)
        p->state = p->started ? Penalty::Running : Penalty::Armed;
      syncSlots();
      return;
    }
    const PenaltyKind* shortest = nullptr;
    for (const PenaltyKind& k : sport_.kinds)
      if (!k.personal && (!shortest || k.totalSeconds() < shortest->totalSeconds())) shortest = &k;
    if (shortest) addPenalty(team, *shortest, std::nullopt, slot % 2 + 1, now);
  });
}

void Match::deactivatePenalties() {
  apply([&] { stopPenalties(); });
}

void Match::stopPenalties() {
  for (auto& list : state_.teamPenalties)
    for (Penalty& p : list)
      if (p.active()) p.state = Penalty::Paused;
  syncSlots();
}

void Match::takeConfiguration(const MatchRules& rules) {
  apply([&] {
    rules_ = rules;
    showClock(0);
    if (sport_.configurationPausesPenalties) stopPenalties();
  });
}

int Match::givePenalty(int team, const QString& kind, std::optional<int> player, quint32 now) {
  lastNow_ = now;
  const PenaltyKind* k = sport_.kind(kind);
  const std::optional<Team> t = teamNumbered(team);
  if (!t || !k) return kNoPenalty;
  if (player && (*player < 0 || *player > Penalty::kMaxPlayer)) return kNoPenalty;
  int id = kNoPenalty;
  apply([&] { id = addPenalty(*t, *k, player, 0, now); });
  return id;
}

bool Match::setPenaltyTime(int team, int id, int seconds, quint32 now) {
  lastNow_ = now;
  const std::optional<Team> t = teamNumbered(team);
  if (seconds < 1 || seconds > Penalty::kMaxSeconds || !t || !findPenalty(*t, id)) return false;
  apply([&] {
    Penalty* p = findPenalty(*t, id);
    p->lengthSeconds = seconds;
    p->secondsLeft = seconds;
    times_.set(id, qint64(seconds) * 1000);
    if (counts(*p)) times_.count(id, now);
    syncSlots();
  });
  return true;
}

bool Match::cancelPenalty(int team, int id, quint32 now) {
  lastNow_ = now;
  const std::optional<Team> t = teamNumbered(team);
  if (!t || !findPenalty(*t, id)) return false;
  apply([&] {
    endPenalty(*t, id, now);
    syncSlots();
  });
  return true;
}

bool Match::foul(int team, int delta) {
  const std::optional<Team> t = teamNumbered(team);
  if (!t || !sport_.countsFouls()) return false;
  int& fouls = state_.fouls[teamIndex(*t)];
  apply([&] { fouls = qMax(0, fouls + delta); });
  return true;
}

Penalty* Match::findPenalty(Team team, int id) {
  if (id == kNoPenalty) return nullptr;
  for (Penalty& p : state_.teamPenalties[teamIndex(team)])
    if (p.id == id) return &p;
  return nullptr;
}

// Counting with the clock: running, or paused from outside once its time had begun.
bool Match::counts(const Penalty& p) const {
  return state_.clock == MatchClock::Running &&
         (p.state == Penalty::Running || (p.state == Penalty::Paused && p.started));
}

int Match::servingCount(Team team) const {
  int n = 0;
  for (const Penalty& p : state_.teamPenalties[teamIndex(team)]) n += p.serving();
  return n;
}

int Match::addPenalty(Team team, const PenaltyKind& kind, std::optional<int> player, int slot,
                      quint32 now) {
  Penalty p;
  p.id = state_.nextPenaltyId++;
  p.kind = kind;
  p.player = player;
  p.lengthSeconds = kind.totalSeconds();
  p.secondsLeft = p.lengthSeconds;
  times_.set(p.id, qint64(p.lengthSeconds) * 1000);
  const int limit = sport_.maxRunning;
  if (!kind.personal && limit > 0 && servingCount(team) >= limit) {
    p.state = Penalty::Waiting;
  } else {
    const bool running = state_.clock == MatchClock::Running;
    p.state = running ? Penalty::Running : Penalty::Armed;
    p.started = running;
    if (running) times_.count(p.id, now);
    if (sport_.slotsKeptByPenalty && !kind.personal) p.slot = slot;
  }
  state_.teamPenalties[teamIndex(team)].push_back(p);
  syncSlots();
  return p.id;
}

void Match::endPenalty(Team team, int id, quint32 now, qint64 lateMs) {
  auto& list = state_.teamPenalties[teamIndex(team)];
  std::erase_if(list, [id](const Penalty& p) { return p.id == id; });
  times_.erase(id);
  startWaiting(team, now, lateMs);
}

void Match::startWaiting(Team team, quint32 now, qint64 lateMs) {
  const int limit = sport_.maxRunning;
  for (Penalty& p : state_.teamPenalties[teamIndex(team)]) {
    if (p.state != Penalty::Waiting) continue;
    if (limit > 0 && servingCount(team) >= limit) break;
    const bool running = state_.clock == MatchClock::Running;
    p.state = running ? Penalty::Running : Penalty::Armed;
    p.started = running;
    if (running) times_.count(p.id, now, lateMs);
  }
}

std::array<int, 2> Match::shownIds(Team team) const {
  std::array<int, 2> ids{kNoPenalty, kNoPenalty};
  std::vector<const Penalty*> shown;
  for (const Penalty& p : state_.teamPenalties[teamIndex(team)])
    if (p.serving()) shown.push_back(&p);
  if (sport_.slotsKeptByPenalty) {
    for (const Penalty* p : shown)
      if (p->slot == 1 || p->slot == 2) ids[p->slot - 1] = p->id;
    return ids;
  }
  std::stable_sort(shown.begin(), shown.end(), [](const Penalty* a, const Penalty* b) {
    return a->secondsLeft < b->secondsLeft;
  });
  for (size_t j = 0; j < shown.size() && j < 2; ++j) ids[j] = shown[j]->id;
  return ids;
}

void Match::syncSlots() {
  const bool kept = sport_.slotsKeptByPenalty;
  for (Team team : kTeams) {
    auto& list = state_.teamPenalties[teamIndex(team)];
    bool used[3] = {false, false, false};
    for (Penalty& p : list) {
      if (!kept || !p.serving() || p.slot < 0 || p.slot > 2 || used[p.slot]) p.slot = 0;
      used[p.slot] = p.slot != 0;
    }
    // A penalty without a slot (started after waiting, or under another sport) takes the
    // first free one.
    for (Penalty& p : list) {
      if (!kept || !p.serving() || p.slot != 0) continue;
      if (!used[1])
        p.slot = 1;
      else if (!used[2])
        p.slot = 2;
      used[p.slot] = p.slot != 0;
    }
    const std::array<int, 2> ids = shownIds(team);
    for (int j = 0; j < 2; ++j) {
      const Penalty* p = findPenalty(team, ids[j]);
      state_.penalties[PenaltyTable::index(team, j + 1)] = p ? slotState(*p) : PenaltySlotState{};
    }
  }
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
  if (state_.countingDown())
    s.countdownLeftMs = qMax<qint64>(0, countdownMs_ - qint64(quint32(now - countdownMark_)));
  for (Team team : kTeams) {
    for (const Penalty& p : state_.teamPenalties[teamIndex(team)])
      s.penaltyLeftMs[p.id] = times_.leftMs(p.id, now);
    const std::array<int, 2> ids = shownIds(team);
    for (int j = 0; j < 2; ++j) {
      const Penalty* p = state_.penalty(team, ids[j]);
      if (p && p->started)
        s.penaltyElapsedMs[PenaltyTable::index(team, j + 1)] =
            qint64(p->lengthSeconds) * 1000 - times_.leftMs(p->id, now);
    }
  }
  return s;
}

void Match::restore(const MatchSnapshot& snapshot, quint32 now) {
  lastNow_ = now;
  apply([&] {
    state_ = snapshot.state;
    state_.sport = sport_.name;
    clock_.restore(state_.clock, snapshot.elapsedMs, now);
    countdownMark_ = now;
    countdownMs_ = state_.countingDown() ? snapshot.countdownLeftMs : 0;
    std::map<int, qint64> leftMs = snapshot.penaltyLeftMs;
    if (state_.teamPenalties[0].empty() && state_.teamPenalties[1].empty())
      leftMs = rebuildFromSlots(snapshot);
    times_.clear();
    for (const auto& list : state_.teamPenalties)
      for (const Penalty& p : list) {
        const auto left = leftMs.find(p.id);
        times_.set(p.id, left != leftMs.end() ? left->second : qint64(p.secondsLeft) * 1000);
        if (counts(p)) times_.count(p.id, now);
        state_.nextPenaltyId = qMax(state_.nextPenaltyId, p.id + 1);
      }
    syncSlots();
  });
}

// A snapshot that holds only the four slots of two-minute penalties (written before penalty
// lists existed): each slot in use becomes a penalty of the standard kind that keeps its slot.
std::map<int, qint64> Match::rebuildFromSlots(const MatchSnapshot& snapshot) {
  std::map<int, qint64> leftMs;
  const PenaltyKind kind = SportRules{}.kinds.front();
  for (int i = 0; i < 4; ++i) {
    const PenaltySlotState& slot = snapshot.state.penalties[i];
    const qint64 elapsed = snapshot.penaltyElapsedMs[i];
    if (slot == PenaltySlotState{} && elapsed == MatchSnapshot::kNoStart) continue;
    Penalty p;
    p.id = state_.nextPenaltyId++;
    p.kind = kind;
    p.started = elapsed != MatchSnapshot::kNoStart;
    p.state = !slot.active ? Penalty::Paused : slot.armed ? Penalty::Armed : Penalty::Running;
    p.lengthSeconds = kind.totalSeconds();
    p.secondsLeft = slot.secondsLeft;
    p.slot = i % 2 + 1;
    state_.teamPenalties[PenaltyTable::teamOf(i) - 1].push_back(p);
    const qint64 lengthMs = qint64(p.lengthSeconds) * 1000;
    leftMs[p.id] = p.started ? lengthMs - elapsed : lengthMs;
  }
  return leftMs;
}

namespace {

// The field as `before` the command where the command changed it, else as it is now.
template <typename T>
void takeBack(T& field, const T& before, const T& after, const T& now) {
  field = before != after ? before : now;
}

bool countsOn(const Penalty& p) {
  return p.state == Penalty::Running || p.state == Penalty::Armed ||
         (p.state == Penalty::Paused && p.started);
}

}  // namespace

void Match::undo(const MatchSnapshot& before, const MatchSnapshot& after, const QString& command,
                 quint32 now) {
  const MatchSnapshot current = snapshot(now);
  const MatchState& b = before.state;
  const MatchState& a = after.state;
  const MatchState& c = current.state;
  // Whatever this does not name (the score, the fouls, the period, anything a later command
  // adds to the state) comes back as it was before the command.
  MatchSnapshot back = before;
  MatchState& s = back.state;

  // The clock: as it is now, moved back by what the command moved it.
  const qint64 played = qMax<qint64>(0, current.elapsedMs - after.elapsedMs);
  const bool movedClock = b.clock != a.clock || b.started != a.started ||
                          (a.clock != MatchClock::Running && before.elapsedMs != after.elapsedMs);
  s.clock = c.clock;
  back.elapsedMs = current.elapsedMs;
  if (movedClock) {
    back.elapsedMs = before.elapsedMs + played;
    // A clock the command stopped (a reset) and that has not run since stands where it stood.
    if (c.clock == MatchClock::Ready && b.clock != MatchClock::Ready) s.clock = MatchClock::Paused;
  }
  s.countDown = rules_.countDown;
  s.periodLength = rules_.periodLength;
  back.elapsedMs = qBound<qint64>(0, back.elapsedMs, qint64(s.periodLength) * 1000);
  s.clockSeconds = int((back.elapsedMs + 900) / 1000);
  if (s.clockSeconds > s.periodLength) s.clockSeconds = s.periodLength;
  takeBack(s.started, b.started, a.started, c.started || (movedClock && b.started));
  takeBack(s.periodEnded, b.periodEnded, a.periodEnded, c.periodEnded);
  takeBack(s.warningStarted, b.warningStarted, a.warningStarted, c.warningStarted);
  takeBack(s.clockShown, b.clockShown, a.clockShown, c.clockShown);
  s.blinkStepsLeft = c.blinkStepsLeft;
  s.logoScreen = c.logoScreen;
  s.blackScreen = c.blackScreen;
  s.runText = c.runText;

  // Penalties: one the command left alone stays as it is now; one it gave, changed or ended
  // comes back as before it, with the time played since taken off.
  std::map<int, qint64> leftMs;
  for (Team team : kTeams) {
    std::vector<Penalty> list;
    for (Penalty p : b.teamPenalties[teamIndex(team)]) {
      const Penalty* was = a.penalty(team, p.id);
      const Penalty* is = c.penalty(team, p.id);
      if (was && *was == p) {
        if (!is) continue;  // ended since, by its time or by a goal
        list.push_back(*is);
        leftMs[p.id] = current.penaltyLeftMs.at(p.id);
        continue;
      }
      qint64 left = before.penaltyLeftMs.count(p.id) ? before.penaltyLeftMs.at(p.id)
                                                     : qint64(p.secondsLeft) * 1000;
      if (countsOn(p) && played > 0) {
        left -= played;
        if (p.state == Penalty::Armed) p.state = Penalty::Running;
        p.started = true;
      }
      if (left <= 0) continue;
      if (p.state == Penalty::Armed && c.clock == MatchClock::Running) {
        p.state = Penalty::Running;
        p.started = true;
      }
      p.secondsLeft = int((left + 999) / 1000);
      leftMs[p.id] = left;
      list.push_back(p);
    }
    // Given after the command by no command that is undone: kept.
    for (const Penalty& p : c.teamPenalties[teamIndex(team)])
      if (!b.penalty(team, p.id) && !a.penalty(team, p.id)) {
        list.push_back(p);
        leftMs[p.id] = current.penaltyLeftMs.at(p.id);
      }
    s.teamPenalties[teamIndex(team)] = list;
  }
  s.nextPenaltyId = qMax(b.nextPenaltyId, c.nextPenaltyId);
  back.penaltyLeftMs = leftMs;
  s.penalties = {};
  back.penaltyElapsedMs.fill(MatchSnapshot::kNoStart);

  emit undone(command);
  restore(back, now);
}
