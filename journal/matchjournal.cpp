#include "journal/matchjournal.h"

#include <QDateTime>
#include <QFileInfo>
#include <cstdio>

#include "core/match.h"
#include "journal/journalformat.h"
#include "journal/journalline.h"
#include "journal/snapshotjson.h"
#include "platform/tickcounter.h"

MatchJournal::MatchJournal(Match& match, const TickCounter& tick, const QString& path,
                           QObject* parent)
    : QObject(parent), match_(match), tick_(tick), file_(path) {
  const bool fresh = QFileInfo(path).size() == 0;
  last_ = match_.snapshot(tick_.now());
  const QDateTime wall = journalformat::wallNow();
  QByteArray lines = journalline::encode(journalformat::state(toJson(last_), wall));
  if (fresh) lines.prepend(journalline::encode(journalformat::head(wall)));
  append(lines);
  sinceLastState_.start();
  clockTimer_.setInterval(kClockLineAgeMs / 2);
  connect(&clockTimer_, &QTimer::timeout, this, &MatchJournal::recordClock);
  connect(&match_, &Match::changed, this, &MatchJournal::record);
  if (match_.state().clock == MatchClock::Running) clockTimer_.start();
}

void MatchJournal::record() {
  const QDateTime wall = journalformat::wallNow();
  const MatchSnapshot now = match_.snapshot(tick_.now());
  QByteArray lines;
  for (const MatchEvent& event : eventsBetween(last_, now, wall))
    lines += journalline::encode(journalformat::event(event));
  lines += journalline::encode(journalformat::state(toJson(now), wall));
  append(lines);
  sinceLastState_.restart();
  changed_ = changed_ || now.state != last_.state;
  last_ = now;
  if (now.state.clock == MatchClock::Running) {
    if (!clockTimer_.isActive()) clockTimer_.start();
  } else {
    clockTimer_.stop();
  }
}

void MatchJournal::recordClock() {
  if (sinceLastState_.elapsed() >= kClockLineAgeMs) record();
}

void MatchJournal::recordTexts(const RunningTexts& texts) {
  changed_ = changed_ || (lastTexts_ && texts != *lastTexts_);
  lastTexts_ = texts;
  append(journalline::encode(journalformat::texts(texts)));
}

void MatchJournal::finish() {
  if (!file_.isOpen()) return;
  clockTimer_.stop();
  disconnect(&match_, nullptr, this, nullptr);
  append(journalline::encode(journalformat::end(journalformat::wallNow())));
  file_.close();
}

// A journal that cannot be written must not stop the match: the failure is told once.
void MatchJournal::append(const QByteArray& lines) {
  if (file_.append(lines) || failureReported_) return;
  failureReported_ = true;
  std::fprintf(stderr, "Scorvex: Spieljournal %s kann nicht geschrieben werden: %s\n",
               qPrintable(file_.path()), qPrintable(file_.errorString()));
}

void resumeMatch(Match& match, MatchSnapshot snapshot, quint32 now) {
  if (snapshot.state.clock == MatchClock::Running) snapshot.state.clock = MatchClock::Paused;
  match.restore(snapshot, now);
  while (match.state().blinking()) match.blinkStep();
}
