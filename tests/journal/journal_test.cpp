#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "core/match.h"
#include "journal/journalformat.h"
#include "journal/journalline.h"
#include "journal/journalreader.h"
#include "journal/journalstore.h"
#include "journal/matchjournal.h"
#include "journal/matchreport.h"
#include "journal/snapshotjson.h"
#include "recordedmatch.h"
#include "support/faketick.h"

// Failures name the event kinds.
void PrintTo(MatchEvent::Kind kind, std::ostream* os) { *os << eventName(kind).toStdString(); }

namespace {

using Kind = MatchEvent::Kind;

QList<Kind> kinds(const QList<MatchEvent>& events) {
  QList<Kind> list;
  for (const MatchEvent& e : events) list.append(e.kind);
  return list;
}

TEST(MatchJournal, EveryCommandIsRecordedAndTheLastStateComesBack) {
  Recorded r;
  r.match.playPause(r.tick.now());
  r.match.penaltyClick(2, r.tick.now());  // guest penalty
  r.run(30'000);
  r.match.changeScore(1, +1);  // releases it
  r.match.penaltyClick(0, r.tick.now());
  r.run(121'000);  // the home penalty runs out
  r.match.changeScore(2, +1);
  r.match.changeScore(2, +1);
  r.match.changeScore(2, -1);
  r.match.penaltyClick(1, r.tick.now());
  r.match.penaltyClick(1, r.tick.now());  // cancelled
  r.match.penaltyClick(3, r.tick.now());
  r.run(20'000);
  r.match.playPause(r.tick.now());
  r.match.correct(60);
  r.match.setPeriod(2);
  r.match.setClockShown(false);
  r.match.setLogoScreen(true);
  r.match.toggleBlackScreen();
  r.match.startRunText(runTextAll, QString("Willkommen"));
  r.journal->recordTexts({{"Willkommen", "Neue Zeile"}, 1});

  const JournalContents journal = r.read();
  EXPECT_FALSE(journal.ended);
  EXPECT_EQ(kinds(journal.events),
            (QList<Kind>{Kind::PeriodStart, Kind::PenaltyStart, Kind::Goal, Kind::PenaltyRelease,
                         Kind::PenaltyStart, Kind::PenaltyEnd, Kind::Goal, Kind::Goal,
                         Kind::ScoreCorrection, Kind::PenaltyStart, Kind::PenaltyCancel,
                         Kind::PenaltyStart, Kind::TimeCorrection, Kind::PeriodNumber}));
  EXPECT_EQ(journal.events[12].stepSeconds, 60);
  EXPECT_EQ(journal.texts, (RunningTexts{{"Willkommen", "Neue Zeile"}, 1}));

  Match restored;
  resumeMatch(restored, *journal.state, 77);
  EXPECT_EQ(restored.state(), r.match.state());
  EXPECT_EQ(restored.snapshot(77), r.match.snapshot(r.tick.now()));

  // The report: title, names, start, a blank row, a header and one row per event; the release
  // by the home goal at 0:30.
  const QList<QByteArray> rows = reportCsv(journal, QLocale::c()).trimmed().split('\n');
  ASSERT_EQ(rows.size(), journal.events.size() + 6);
  EXPECT_EQ(rows[9].trimmed().split(',').mid(1),
            (QList<QByteArray>{"0", "0:00:30", "penalty_release", "2", "1", "1", "2", "", "1", "0",
                               "", "", "", ""}));

  r.match.reset();
  r.journal->finish();
  const JournalContents finished = r.read();
  EXPECT_EQ(finished.events.last().kind, Kind::Reset);
  EXPECT_TRUE(finished.ended);
}

TEST(MatchJournal, ARunningClockComesBackPausedAndGoesOnAcrossTheCounterWrap) {
  Recorded r(0xFFFFF000u);  // the counter wraps 4 s into the period
  r.match.playPause(r.tick.now());
  r.match.penaltyClick(0, r.tick.now());
  r.run(10'000);
  r.match.playPause(r.tick.now());
  const JournalContents journal = r.read();

  Match restored;
  restored.setRules(r.match.rules());
  resumeMatch(restored, *journal.state, 5000);
  EXPECT_EQ(restored.state().clock, MatchClock::Paused);
  EXPECT_EQ(restored.state().clockText(), "44:50");
  EXPECT_EQ(restored.state().penalties[0].text(), "1:50");

  // Both go on for 30 s of play and agree.
  EXPECT_EQ(restored.state(), r.match.state());
  r.match.playPause(r.tick.now() + 3000);
  restored.playPause(5000);
  for (int t = 200; t <= 30'000; t += 200) {
    r.match.tick(r.tick.now() + 3000 + t);
    restored.tick(5000 + t);
  }
  EXPECT_EQ(restored.state(), r.match.state());
  EXPECT_EQ(restored.state().penalties[0].text(), "1:20");
}

TEST(JournalReader, SkipsDamagedLinesRefusesForeignFilesAndToleratesATornLastLine) {
  Recorded r;
  r.match.playPause(r.tick.now());
  r.match.changeScore(1, +1);
  r.match.changeScore(2, +1);
  QFile file(r.path());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray good = file.readAll();
  const QList<QByteArray> lines = good.split('\n');

  QJsonObject badScore = toJson(r.match.snapshot(r.tick.now()));
  badScore["home"] = -1;
  QJsonObject badPeriod = toJson(r.match.snapshot(r.tick.now()));
  badPeriod["period"] = 5;
  QByteArray flipped = good;
  flipped[lines[0].size() + lines[1].size() + 20] ^= 0x04;  // inside line 3
  QByteArray flippedHead = good;
  flippedHead[20] ^= 0x04;
  QByteArray crlf = good;
  crlf.replace("\n", "\r\n");
  QJsonObject newer = journalformat::head(QDateTime::currentDateTime());
  newer["format"] = journalformat::kVersion + 1;
  QJsonObject other = journalformat::head(QDateTime::currentDateTime());
  other["program"] = "Andere";
  const QByteArray lastLine = journalline::encode(journalformat::state(badScore, {}));

  QJsonObject thousand = toJson(r.match.snapshot(r.tick.now()));
  thousand["guest"] = 1000;
  const MatchEvent timeSet{
      QDateTime::currentDateTime(), Kind::PenaltyTimeSet, 1, 0, 1, 0, 1, 1, 0, {}, 1, "5", 12, 75};
  QJsonObject player100 = journalformat::event(timeSet), time2001 = player100;
  player100["player"] = 100;
  time2001["seconds"] = 1201;

  // A damaged line in the middle is skipped and counted; the journal is still read, and its
  // last good state used.
  struct Row {
    const char* name;
    QByteArray bytes;
    const char* problem;  // nullptr: accepted
    int damaged;
  } rows[] = {
      {"whole", good, nullptr, 0},
      {"torn last line", good.chopped(7), nullptr, 0},
      {"empty", "", "leer", 0},
      {"not ours", "Spielstand 3:2\n", "kein Spieljournal von Scorvex", 0},
      {"another program", journalline::encode(other) + good.mid(lines[0].size() + 1),
       "kein Spieljournal von Scorvex", 0},
      {"newer format", journalline::encode(newer), "von einer neueren Version von Scorvex", 0},
      {"cut inside the head", good.left(30), "abgeschnitten", 0},
      {"flipped bit", flipped, nullptr, 1},
      {"flipped bit in the head", flippedHead, nullptr, 1},
      {"CRLF line ends", crlf, nullptr, 0},
      {"byte order mark", "\xEF\xBB\xBF" + good, nullptr, 0},
      {"only a damaged head", flippedHead.left(lines[0].size() + 1), "beschädigt in Zeile 1", 0},
      {"negative score", lines[0] + "\n" + lastLine + good.mid(lines[0].size() + 1), nullptr, 1},
      {"period 5 and a whole bad last line",
       good + journalline::encode(journalformat::state(badPeriod, {})) + lastLine, nullptr, 2},
      {"score 1000", good + journalline::encode(journalformat::state(thousand, {})), nullptr, 1},
      {"an entry's player 100", good + journalline::encode(player100), nullptr, 1},
      {"an entry's time set to 20:01", good + journalline::encode(time2001), nullptr, 1},
      {"binary", QByteArray(300, '\xff') + "\n" + good, "kein Spieljournal von Scorvex", 0},
  };
  for (const Row& row : rows) {
    QByteArray bytes = row.bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const JournalReading reading = readJournal(buffer);
    if (!row.problem) {
      ASSERT_TRUE(reading.contents) << row.name << ": " << qPrintable(reading.problem);
      EXPECT_EQ(reading.contents->damagedLines, row.damaged) << row.name;
      EXPECT_EQ(reading.contents->gaps.size(), row.damaged ? 1 : 0) << row.name;
      if (row.damaged)
        EXPECT_EQ(reading.contents->state->state.score, (std::array<int, 2>{1, 1})) << row.name;
    } else {
      EXPECT_FALSE(reading.contents) << row.name;
      EXPECT_TRUE(reading.problem.startsWith(QString::fromUtf8(row.problem)))
          << row.name << ": " << qPrintable(reading.problem);
    }
  }
}

TEST(JournalStore, KeepsTheNewestHundredFinishedMatches) {
  QTemporaryDir folder;
  JournalStore store(folder.path());
  QString error;
  ASSERT_TRUE(store.prepare(&error));
  for (int n = 0; n < JournalStore::kKeptMatches; ++n) {
    QFile old(QString("%1/matches/2000-01-01_00-00-%2.journal")
                  .arg(folder.path())
                  .arg(n, 2, 10, QChar('0')));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  }
  QFile current(store.currentPath());
  ASSERT_TRUE(current.open(QIODevice::WriteOnly));
  current.close();
  EXPECT_EQ(store.lastMatchPath(), store.currentPath());

  const QString finished = store.finishCurrent();
  EXPECT_FALSE(store.hasCurrent());
  const QStringList kept = store.finishedPaths();
  EXPECT_EQ(kept.size(), JournalStore::kKeptMatches);
  EXPECT_TRUE(kept.first().endsWith("2000-01-01_00-00-01.journal"));
  EXPECT_EQ(kept.last(), finished);
  EXPECT_EQ(store.lastMatchPath(), finished);
}

}  // namespace

// An undo is one entry naming what it took back, not the score change it made; a set time
// before the period's start and the horn are recorded too, and the report names them.
TEST(MatchJournal, UndoSetTimeAndHornAreRecordedAndReported) {
  Recorded r;
  const MatchSnapshot before = r.match.snapshot(r.tick.now());
  r.match.changeScore(1, +1);
  r.match.undo(before, r.match.snapshot(r.tick.now()), "goal", r.tick.now());
  ASSERT_EQ(r.match.state().score[0], 0);
  ASSERT_TRUE(r.match.setClock(600));
  r.journal->recordHorn();

  const JournalContents journal = r.read();
  ASSERT_EQ(kinds(journal.events),
            (QList<Kind>{Kind::Goal, Kind::Undo, Kind::TimeCorrection, Kind::Horn}));
  EXPECT_EQ(journal.events[1].undone, "goal");
  EXPECT_EQ(journal.events[1].home, 0);
  EXPECT_EQ(journal.events[2].matchMs, 2'100'000);  // 10:00 left of 45:00
  const QList<QByteArray> rows = reportCsv(journal, QLocale(QLocale::German)).trimmed().split('\n');
  EXPECT_EQ(rows[7].trimmed().split(';').mid(3),
            (QList<QByteArray>{"Rückgängig", "", "", "", "", "", "0", "0", "", "", "", "Tor"}));
}

// A reset ends the journal; undoing it brings the match's record back into the next one.
TEST(MatchJournal, AnUndoneResetTakesTheMatchsRecordBack) {
  Recorded r;
  r.journal->setNextJournal([&] { return r.folder.filePath("next.journal"); });
  r.match.playPause(r.tick.now());
  r.run(1000);
  r.match.changeScore(2, +1);
  const MatchSnapshot before = r.match.snapshot(r.tick.now());
  r.match.reset();
  ASSERT_EQ(r.journal->path(), r.folder.filePath("next.journal"));
  r.match.undo(before, r.match.snapshot(r.tick.now()), "reset", r.tick.now());
  ASSERT_EQ(r.match.state().score[1], 1);

  const JournalReading reading = readJournalFile(r.folder.filePath("next.journal"));
  ASSERT_TRUE(reading.contents);
  EXPECT_EQ(kinds(reading.contents->events),
            (QList<Kind>{Kind::PeriodStart, Kind::Goal, Kind::Reset, Kind::Undo}));
  EXPECT_EQ(reading.contents->state->state.score[1], 1);
}

// A handball match's time-outs and break: in the report with team and match time, and a running
// one comes back with the time it had left.
TEST(MatchJournal, TimeoutsAndTheBreakAreReportedAndComeBackRunning) {
  Recorded r;
  r.match.setSport(*SportRules::preset("handball"));
  r.match.setRules({.periodLength = 1800});
  r.match.playPause(r.tick.now());
  r.run(90'000);
  r.match.startTimeout(2, r.tick.now());  // pauses the clock at 1:30
  r.run(60'000);                          // runs out
  r.match.startTimeout(1, r.tick.now());
  r.run(20'000);

  struct Row {
    const char* when;
    int timeoutTeam;
    int secondsLeft;
    bool breakOn;
  };
  const auto resumed = [&](const Row& row) {
    const JournalContents journal = r.read();
    Match restored;
    restored.setSport(r.match.sport());
    restored.setRules(r.match.rules());
    resumeMatch(restored, *journal.state, 5000);
    EXPECT_EQ(restored.state().timeoutTeam, row.timeoutTeam) << row.when;
    EXPECT_EQ(restored.state().breakOn, row.breakOn) << row.when;
    restored.tick(5200);
    const int left =
        row.breakOn ? restored.state().breakSecondsLeft : restored.state().timeoutSecondsLeft;
    // The journal holds the state of the last change: within the second shown.
    EXPECT_NEAR(left, row.secondsLeft, 1) << row.when;
    return journal;
  };
  resumed({"in the time-out", 1, 40, false});

  r.match.playPause(r.tick.now());  // ends it
  r.run(1711'000);                  // the half ends, the break begins
  r.run(99'000);
  const JournalContents journal = resumed({"in the break", 0, 500, true});
  EXPECT_EQ(kinds(journal.events),
            (QList<Kind>{Kind::PeriodStart, Kind::TimeoutStart, Kind::TimeoutEnd,
                         Kind::TimeoutStart, Kind::TimeoutEnd, Kind::PeriodEnd, Kind::BreakStart}));
  const QList<QByteArray> rows = reportCsv(journal, QLocale::c()).trimmed().split('\n');
  ASSERT_EQ(rows.size(), journal.events.size() + 6);
  EXPECT_EQ(rows[7].trimmed().split(',').mid(1),
            (QList<QByteArray>{"1", "0:01:30", "timeout_start", "2", "", "", "", "", "0", "0", "",
                               "", "", ""}));
  EXPECT_TRUE(reportCsv(journal, QLocale(QLocale::German)).contains("Auszeit beginnt"));
}

// One entry as "event team id:kind#player seconds-or-fouls", the parts it has.
std::string entryText(const MatchEvent& e) {
  QString text = eventName(e.kind);
  if (e.team) text += QString(" %1").arg(e.team);
  if (e.penaltyId) text += QString(" %1:%2").arg(e.penaltyId).arg(e.penaltyKind);
  if (e.player) text += QString("#%1").arg(*e.player);
  if (e.penaltySeconds) text += QString(" %1").arg(e.penaltySeconds);
  if (e.fouls) text += QString(" %1").arg(*e.fouls);
  return text.toStdString();
}

// Penalties by id and fouls in the record, each row a scripted match read back from the journal.
TEST(MatchJournal, PenaltiesAndFoulsAreRecordedByIdKindAndPlayer) {
  const struct {
    const char* sport;
    int periodLength;
    std::function<void(Recorded&)> play;
    const char* entries;
  } rows[] = {
      {"icehockey", 1200,
       [](Recorded& r) {
         const int id = r.match.givePenalty(1, "5", 12, r.tick.now());
         r.run(1000);
         r.match.setPenaltyTime(1, id, 75, r.tick.now());
         r.match.givePenalty(2, "10", 8, r.tick.now());  // personal: in no slot
         r.match.cancelPenalty(1, id, r.tick.now());
       },
       "period_start; penalty_start 1 1:5#12; penalty_time_set 1 1:5#12 75; "
       "penalty_start 2 2:10#8; penalty_cancel 1 1:5#12"},
      {"icehockey", 1200,
       [](Recorded& r) {
         r.match.givePenalty(2, "2+2", 7, r.tick.now());
         r.run(30'000);
         r.match.changeScore(1, +1, r.tick.now());  // ends its first part
         r.run(10'000);
         r.match.changeScore(1, +1, r.tick.now());
       },
       "period_start; penalty_start 2 1:2+2#7; goal 1; penalty_part_release 2 1:2+2#7; goal 1; "
       "penalty_release 2 1:2+2#7"},
      // The third minor waits, begins to count when the first two run out at 2:00 and is carried
      // over by a tick 3 s late, at 3:21: 39 s left.
      {"icehockey", 200,
       [](Recorded& r) {
         for (int player : {3, 4, 5}) r.match.givePenalty(1, "2", player, r.tick.now());
         r.run(198'000);
         r.tick.advance(3000);
         r.match.tick(r.tick.now());
       },
       "period_start; penalty_start 1 1:2#3; penalty_start 1 2:2#4; penalty_start 1 3:2#5; "
       "penalty_end 1 1:2#3; penalty_end 1 2:2#4; penalty_serving 1 3:2#5; period_end; "
       "penalty_carry_over 1 3:2#5 39; "
       "break_start"},
      // Fouls back to 0 at half-time need no entry.
      {"futsal", 60,
       [](Recorded& r) {
         for (auto [team, delta] : {std::pair{1, +1}, {1, +1}, {2, +1}, {1, -1}})
           r.match.foul(team, delta);
         r.run(60'000);
       },
       "period_start; foul 1 1; foul 1 2; foul 2 1; foul_correction 1 1; period_end; break_start"},
  };
  for (const auto& row : rows) {
    Recorded r;
    r.match.setSport(*SportRules::preset(row.sport));
    r.match.setRules({.periodLength = row.periodLength});
    r.match.playPause(r.tick.now());
    row.play(r);
    const JournalContents journal = r.read();
    std::string entries;
    for (const MatchEvent& e : journal.events)
      entries += (entries.empty() ? "" : "; ") + entryText(e);
    EXPECT_EQ(entries, row.entries);
    if (&row != &rows[0]) continue;
    // The report's row of the time set: number, kind, player and the time.
    const QList<QByteArray> csv = reportCsv(journal, QLocale(QLocale::German)).split('\n');
    EXPECT_EQ(csv[8].trimmed().split(';').mid(3),
              (QList<QByteArray>{"Strafzeit gesetzt", "1", "", "1", "5", "12", "0", "0", "",
                                 "0:01:15", "", ""}));
  }
}

namespace {

// A goal as the command layer gives it: the change, then its step for the journal.
void goalWithStep(Recorded& r) {
  const MatchSnapshot before = r.match.snapshot(r.tick.now());
  r.match.changeScore(1, +1);
  r.journal->recordUndoStep({"goal", before, r.match.snapshot(r.tick.now())});
}

void undoNewest(Match& match, const QList<UndoStep>& steps) {
  match.undo(steps.last().before, steps.last().after, steps.last().command, 0);
}

}  // namespace

// The steps to undo are in the journal: an undo drops the newest, only the newest are kept, a
// reopened (compacted) journal holds the same ones, and the newest read back takes the last
// goal back in a match taken up again.
TEST(MatchJournal, KeepsTheStepsToUndoAcrossAReopen) {
  struct Row {
    const char* name;
    int goals;
    bool reopened;  // after the goals, before the undos
    int undos;
    int steps;  // kept afterwards
  } rows[] = {
      {"one taken back", 3, false, 1, 2},
      {"taken back after a reopen", 3, true, 2, 1},
      {"more than are kept", UndoStep::kKept + 10, false, 0, UndoStep::kKept},
      {"more than kept, reopened, taken back", UndoStep::kKept + 10, true, 5, UndoStep::kKept - 5},
  };
  for (const Row& row : rows) {
    Recorded r;
    for (int n = 0; n < row.goals; ++n) goalWithStep(r);
    if (row.reopened) {
      r.journal.reset();
      r.journal = std::make_unique<MatchJournal>(r.match, r.tick, r.path(), r.read());
    }
    for (int n = 0; n < row.undos; ++n) undoNewest(r.match, r.journal->undoSteps());

    const JournalContents journal = r.read();
    ASSERT_EQ(journal.undoSteps.size(), row.steps) << row.name;
    EXPECT_EQ(journal.undoSteps, r.journal->undoSteps()) << row.name;
    EXPECT_EQ(journal.undoSteps.last().after.state.score[0], row.goals - row.undos) << row.name;
    Match resumed;
    resumeMatch(resumed, *journal.state, 500);
    undoNewest(resumed, journal.undoSteps);
    EXPECT_EQ(resumed.state().score[0], row.goals - row.undos - 1) << row.name;
  }
}

// A "steps" line stands for all steps before it; a damaged line drops the steps before it, as
// they might not fit the match any more.
TEST(JournalReader, AWholeListOrADamagedLineReplacesTheStepsBefore) {
  const auto step = [](int homeGoals) {
    MatchSnapshot after;
    after.state.score[0] = homeGoals;
    return UndoStep{"goal", MatchSnapshot{}, after};
  };
  const auto line = [](const QJsonObject& object) { return journalline::encode(object); };
  const QByteArray one = line(journalformat::step(step(1)));
  struct Row {
    const char* name;
    QByteArray lines;
    int newest;  // home goals after the one step left
  } rows[] = {
      {"a whole list", one + line(journalformat::steps({step(3)})), 3},
      {"a damaged line", one + "0badc0de {}\n" + line(journalformat::step(step(2))), 2},
  };
  for (const Row& row : rows) {
    QByteArray bytes = line(journalformat::head(QDateTime::currentDateTime())) + row.lines;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const JournalReading reading = readJournal(buffer);
    ASSERT_TRUE(reading.contents && reading.contents->undoSteps.size() == 1) << row.name;
    EXPECT_EQ(reading.contents->undoSteps[0].after.state.score[0], row.newest) << row.name;
  }
}
