// libFuzzer target for the match journal reader: whatever it accepts must put the match into a
// state the rules can reach (scores 0..999, period 0..4, penalties within the longest time the
// operator can set, the clock inside its period), make a report, and play on from there.
// An input that starts with the byte 0x01 is taken as bare JSON lines that get their checksums
// here, so that the fuzzer reaches the checks behind the checksum instead of stopping at it.
// Bytes after a 0x02 are the play after the restore, one command each (goals above all); after
// every command the match must still be reachable, and what the journal would write of it (the
// state and the report's entries) must read back the same. The steps kept for undo are taken
// back before the play, each into a reachable match.
#include <QBuffer>
#include <cstddef>
#include <cstdint>

#include "core/match.h"
#include "journal/journalline.h"
#include "journal/journalreader.h"
#include "journal/matchjournal.h"
#include "journal/matchreport.h"
#include "journal/snapshotjson.h"

namespace {

bool reachable(const Match& match, quint32 now) {
  const MatchState& s = match.state();
  const MatchSnapshot snapshot = match.snapshot(now);
  bool ok = s.score[0] >= 0 && s.score[1] >= 0 && s.score[0] <= Match::kMaxScore &&
            s.score[1] <= Match::kMaxScore && s.period >= 0 && s.period <= 4 &&
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

// One command of the play after the restore.
void command(Match& match, quint8 byte, quint32& now) {
  switch (byte % 8) {
    case 0:
    case 1:
      match.changeScore(byte % 2 + 1, byte & 0x80 ? 1000 : 1);
      break;
    case 2:
      match.changeScore(byte / 8 % 2 + 1, -1);
      break;
    case 3:
      match.penaltyClick(byte / 8 % 4, now);
      break;
    case 4:
      match.playPause(now);
      break;
    case 5:
      for (int t = 0; t < byte / 8; ++t) match.tick(now += 200);
      break;
    case 6:
      match.setPeriod(byte / 8 % 5);
      break;
    default:
      match.reset();
  }
}

// What the journal writes of a change reads back as it was.
bool recordedFaithfully(const MatchSnapshot& before, const MatchSnapshot& after) {
  const auto state = snapshotFromJson(toJson(after));
  if (!state || state->state != after.state) return false;
  for (const MatchEvent& event : eventsBetween(before, after, QDateTime::currentDateTime()))
    if (eventFromJson(toJson(event)) != event) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const qsizetype playAt = bytes.indexOf('\x02');
  const QByteArray play = playAt < 0 ? QByteArray() : bytes.mid(playAt + 1);
  if (playAt >= 0) bytes.truncate(playAt);
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
  // The commands the journal kept for undo go back, newest first, into a reachable match.
  const QList<UndoStep>& steps = reading.contents->undoSteps;
  for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
    match.undo(step->before, step->after, step->command, now);
    if (!reachable(match, now)) __builtin_trap();
  }
  for (char byte : play) {
    const MatchSnapshot before = match.snapshot(now);
    command(match, quint8(byte), now);
    if (!reachable(match, now) || !recordedFaithfully(before, match.snapshot(now)))
      __builtin_trap();
  }
  return 0;
}
