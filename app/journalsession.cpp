#include "app/journalsession.h"

#include <cstdio>

#include "core/match.h"
#include "journal/matchjournal.h"
#include "platform/tickcounter.h"

namespace {

void report(const QString& line) { std::fprintf(stderr, "Scorvex: %s\n", qPrintable(line)); }

}  // namespace

JournalSession::JournalSession(const QString& folder, Match& match, const TickCounter& tick)
    : store_(folder), match_(match), tick_(tick) {}

JournalSession::~JournalSession() = default;

std::optional<JournalContents> JournalSession::unfinished() const {
  if (!store_.hasCurrent()) return std::nullopt;
  const JournalReading reading = readJournalFile(store_.currentPath());
  if (!reading.contents) {
    report(QString("Spieljournal %1 ignoriert: %2").arg(store_.currentPath(), reading.problem));
    return std::nullopt;
  }
  if (reading.contents->ended || !reading.contents->state) return std::nullopt;
  return reading.contents;
}

std::optional<JournalContents> JournalSession::open(
    const std::function<bool(const QString&)>& ask) {
  QString error;
  if (!store_.prepare(&error)) {
    report(QString("Spieljournal aus: %1").arg(error));
    return std::nullopt;
  }
  std::optional<JournalContents> resumed = unfinished();
  if (resumed && ask(kResumeQuestion)) {
    resumeMatch(match_, *resumed->state, tick_.now());
  } else {
    resumed.reset();
    store_.finishCurrent();
  }
  journal_ = std::make_unique<MatchJournal>(match_, tick_, store_.currentPath());
  if (!journal_->isOpen()) journal_.reset();
  return resumed;
}

void JournalSession::finish() {
  if (!journal_) return;
  journal_->finish();
  journal_.reset();
  store_.finishCurrent();
}
