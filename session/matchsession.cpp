#include "session/matchsession.h"

#include "platform/platform.h"
#include "session/journalsession.h"
#include "settings/settings.h"

MatchSession::MatchSession(Settings& settings, Platform& platform, const QString& listFolder,
                           QObject* parent)
    : QObject(parent),
      settings_(settings),
      platform_(platform),
      commands_(match_, settings, texts_, platform, listFolder) {
  tick_.setInterval(kTickMs);
  blink_.setInterval(kBlinkMs);
  connect(&tick_, &QTimer::timeout, &commands_, &Commands::clockTick);
  connect(&blink_, &QTimer::timeout, &commands_, &Commands::blinkStep);
  connect(&match_, &Match::changed, this, &MatchSession::runTimers);
}

MatchSession::~MatchSession() = default;

void MatchSession::runTimers() {
  const MatchState& s = match_.state();
  // A time-out or the break counts down while the clock stands: the ticks go on.
  const bool counting = s.clock == MatchClock::Running || s.countingDown();
  if (counting != tick_.isActive()) counting ? tick_.start() : tick_.stop();
  if (s.blinkStepsLeft > blinkSeen_)
    blink_.start();
  else if (!s.blinking())
    blink_.stop();
  blinkSeen_ = s.blinkStepsLeft;
}

void MatchSession::openJournal(const QString& folder,
                               const std::function<bool(const QString&)>& ask) {
  journal_ = std::make_unique<JournalSession>(folder, match_, platform_.tick);
  connect(journal_.get(), &JournalSession::problemChanged, this,
          &MatchSession::journalProblemChanged);
  if (const std::optional<JournalContents> resumed = journal_->open(ask)) {
    commands_.setCountDown(resumed->state->state.countDown);
    if (resumed->texts) texts_.restore(resumed->texts->lines, resumed->texts->selected);
    commands_.restoreUndoSteps(resumed->undoSteps);
  }
  connect(&commands_, &Commands::undoStepAdded, journal_.get(), &JournalSession::recordUndoStep);
  connect(&commands_, &Commands::hornSounded, journal_.get(), &JournalSession::recordHorn);
  connect(&texts_, &RunTextList::linesEdited, this, &MatchSession::recordTexts);
  connect(&settings_, &Settings::changed, this, &MatchSession::recordNames);
  recordTexts();
  recordNames();
}

void MatchSession::recordTexts() {
  if (journal_) journal_->recordTexts({texts_.lines(), texts_.selected()});
}

void MatchSession::recordNames() {
  const TSettings& s = settings_.record();
  if (journal_) journal_->recordNames({s.Comanda1, s.Comanda2, s.Title});
}

void MatchSession::finishJournal() {
  if (journal_) journal_->finish();
}

QString MatchSession::journalProblem() const { return journal_ ? journal_->problem() : QString(); }

QString MatchSession::lastMatchPath() const {
  return journal_ ? journal_->lastMatchPath() : QString();
}
