#include "app/journalsession.h"

#include <QFile>
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

// What the last run left: nothing, a journal to set aside, or a match to offer back. A run
// in which nothing happened leaves no match behind to crowd out real ones.
std::optional<JournalContents> JournalSession::leftOver() const {
  if (!store_.hasCurrent()) return std::nullopt;
  const JournalReading reading = readJournalFile(store_.currentPath());
  if (!reading.contents) {
    report(QString("Spieljournal %1 ignoriert: %2").arg(store_.currentPath(), reading.problem));
  } else if (!reading.contents->changed) {
    QFile::remove(store_.currentPath());
  } else if (!reading.contents->ended && reading.contents->state) {
    return reading.contents;
  }
  store_.finishCurrent();
  return std::nullopt;
}

std::optional<JournalContents> JournalSession::open(
    const std::function<bool(const QString&)>& ask) {
  QString error;
  if (!store_.prepare(&error)) {
    report(QString("Spieljournal aus: %1").arg(error));
    return std::nullopt;
  }
  std::optional<JournalContents> resumed = leftOver();
  if (resumed && ask(kResumeQuestion)) {
    resumeMatch(match_, *resumed->state, tick_.now());
    resumed_ = true;
  } else if (resumed) {
    resumed.reset();
    store_.finishCurrent();
  }
  journal_ = std::make_unique<MatchJournal>(match_, tick_, store_.currentPath());
  if (!journal_->isOpen()) journal_.reset();
  return resumed;
}

void JournalSession::finish() {
  if (!journal_) return;
  const bool changed = resumed_ || journal_->changed();
  journal_->finish();
  journal_.reset();
  if (changed)
    store_.finishCurrent();
  else
    QFile::remove(store_.currentPath());
}
