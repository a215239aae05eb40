// libFuzzer target for the match journal reader: whatever it accepts must put the match into a
// state the rules can reach (scores not negative, period 0..4, penalties within the longest
// time the operator can set, the clock inside its period), make a report, and play on from there.
// An input that starts with the byte 0x01 is taken as bare JSON lines that get their checksums
// here, so that the fuzzer reaches the checks behind the checksum instead of stopping at it.
#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "core/match.h"
#include "journal/journalline.h"
#include "journal/journalreader.h"
#include "journal/matchjournal.h"
#include "journal/matchreport.h"

namespace {

bool reachable(const Match& match, quint32 now) {
  const MatchState& s = match.state();
  const MatchSnapshot snapshot = match.snapshot(now);
  bool ok = s.score[0] >= 0 && s.score[1] >= 0 && s.period >= 0 && s.period <= 4 &&
            s.clockSeconds >= 0 && s.clockSeconds <= qMax(s.periodLength, 0) &&
            snapshot.elapsedMs >= 0 && snapshot.elapsedMs <= qint64(s.periodLength) * 1000;
  for (int i = 0; i < 4; ++i) {
    const PenaltySlotState& p = s.penalties[i];
    ok = ok && p.secondsLeft >= 0 && p.secondsLeft <= Penalty::kMaxSeconds;
    if (p.active && !p.armed)
      ok = ok && snapshot.penaltyElapsedMs[i] <= Penalty::kMaxSeconds * 1000;
  }
  return ok;
}

QByteArray sealed(const QByteArray& lines) {
  QByteArray journal;
  for (const QByteArray& line : lines.split('\n')) {
    journal += QByteArray::number(journalline::crc32(line), 16).rightJustified(8, '0');
    journal += ' ' + line + '\n';
  }
  return journal;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  if (size > 0 && data[0] == 0x01) bytes = sealed(bytes.mid(1));
  QBuffer input(&bytes);
  input.open(QIODevice::ReadOnly);
  const JournalReading reading = readJournal(input);
  if (!reading.contents) {
    if (reading.problem.isEmpty()) __builtin_trap();
    return 0;
  }
  reportCsv(*reading.contents);
  reportJson(*reading.contents);
  if (!reading.contents->state) return 0;

  // The program's rules come from the settings the journal was written under: the same
  // period length and direction as the recorded state.
  Match match;
  const MatchState& recorded = reading.contents->state->state;
  match.setRules({.periodLength = recorded.periodLength, .countDown = recorded.countDown});
  quint32 now = 0xFFFFF000u;
  resumeMatch(match, *reading.contents->state, now);
  if (!reachable(match, now) || match.state().clock == MatchClock::Running) __builtin_trap();
  match.playPause(now);
  for (int t = 0; t < 25; ++t) match.tick(now += 200);
  if (!reachable(match, now)) __builtin_trap();
  return 0;
}
