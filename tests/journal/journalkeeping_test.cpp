// The journal kept small, read whatever its size, and honest when it cannot be written.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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

namespace {

using Kind = MatchEvent::Kind;

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A file-size limit for this process, so that a write fails as on a full disk.
struct FileSizeLimit {
  explicit FileSizeLimit(qint64 bytes) {
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit lower = saved;
    lower.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() { lift(); }
  void lift() { setrlimit(RLIMIT_FSIZE, &saved); }
  rlimit saved{};
};

TEST(JournalReader, ReadsAJournalOverSixtyFourMiBWithBoundedMemory) {
  // What a day of remote commands wrote before journals were compacted: state lines, with a
  // goal among them now and then, made by the program's own encoders.
  QTemporaryDir folder;
  const QString path = folder.filePath("long.journal");
  Match match;
  match.setRules({.periodLength = 2700});
  match.playPause(0);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const QDateTime wall = QDateTime::fromString("2026-12-07T20:00:00.000+01:00", Qt::ISODateWithMs);
  file.write(journalline::encode(journalformat::head(wall)));
  constexpr int kChunks = 66;
  for (int chunk = 0; chunk < kChunks; ++chunk) {
    const MatchSnapshot was = match.snapshot(1000);
    match.changeScore(1, +1);
    const MatchSnapshot snapshot = match.snapshot(1000);
    QByteArray lines = journalline::encode(
        journalformat::event({wall, Kind::Goal, 0, 1000, 1, 0, snapshot.state.score[0], 0, 0}));
    lines += journalline::encode(journalformat::step({"goal", was, snapshot}));
    const QByteArray state = journalline::encode(journalformat::state(toJson(snapshot), wall));
    while (lines.size() < (1 << 20)) lines += state;
    ASSERT_EQ(file.write(lines), lines.size());
  }
  file.close();
  ASSERT_GT(QFileInfo(path).size(), qint64(64) << 20);

  [[maybe_unused]] const long before = peakKilobytes();
  const JournalReading reading = readJournalFile(path);
  ASSERT_TRUE(reading.contents) << qPrintable(reading.problem);
  EXPECT_EQ(reading.contents->events.size(), kChunks);
  EXPECT_EQ(reading.contents->state->state.score[0], kChunks);
  EXPECT_EQ(reading.contents->damagedLines, 0);
  // Only the newest steps to undo.
  ASSERT_EQ(reading.contents->undoSteps.size(), UndoStep::kKept);
  EXPECT_EQ(reading.contents->undoSteps.first().after.state.score[0],
            kChunks - UndoStep::kKept + 1);
  // The report is made of it as well.
  EXPECT_EQ(reportCsv(*reading.contents, QLocale::c()).count('\n'), 6 + kChunks);
#ifndef __SANITIZE_ADDRESS__  // AddressSanitizer keeps freed memory aside: its peak says nothing
  EXPECT_LT(peakKilobytes() - before, 16 * 1024) << "read into memory whole";
#endif
}

TEST(MatchJournal, StaysSmallThroughALongRunAndRecordsListEditsAsChanges) {
  Recorded r(1000, {.periodLength = 5 * 3600});
  RunningTexts texts;
  for (int i = 0; i < 20'000; ++i)
    texts.lines.append(QString("Werbung für Bäckerei Nummer %1").arg(i));
  r.journal->recordTexts(texts);
  const qint64 withList = r.journal->size();
  texts.lines[10'000] = "Heute: Freibier";
  r.journal->recordTexts(texts);
  texts.lines.insert(5, "Neu");
  texts.selected = 5;
  r.journal->recordTexts(texts);
  texts.lines.removeAt(19'000);
  r.journal->recordTexts(texts);
  EXPECT_LT(r.journal->size() - withList, 1024) << "an edit wrote the whole list";

  // Four hours of play with a goal every ten minutes: a state line each second.
  r.match.playPause(r.tick.now());
  qint64 largest = 0;
  for (int minute = 0; minute < 240; ++minute) {
    r.run(60'000);
    if (minute % 10 == 9) r.match.changeScore(1 + minute / 10 % 2, +1);
    largest = std::max(largest, r.journal->size());
  }
  EXPECT_LT(largest, MatchJournal::kCompactBytes + 64 * 1024);

  const JournalContents journal = r.read();
  EXPECT_EQ(journal.texts, texts);
  EXPECT_EQ(journal.damagedLines, 0);
  int goals = 0;
  for (const MatchEvent& e : journal.events) goals += e.kind == Kind::Goal;
  EXPECT_EQ(goals, 24);
  EXPECT_EQ(journal.events.first().kind, Kind::PeriodStart);
  Match restored;
  resumeMatch(restored, *journal.state, 77);
  EXPECT_EQ(restored.state().score, (std::array<int, 2>{12, 12}));
  EXPECT_EQ(journal.state->elapsedMs, r.match.snapshot(r.tick.now()).elapsedMs);
}

TEST(MatchJournal, AFailedWriteIsToldMarkedInTheFileAndMadeGoodWhenWritingWorksAgain) {
  Recorded r;
  r.match.playPause(r.tick.now());
  r.match.changeScore(1, +1);
  QSignalSpy told(r.journal.get(), &MatchJournal::problemChanged);
  {
    FileSizeLimit full(r.journal->size());
    for (int goal = 0; goal < 3; ++goal) {
      const MatchSnapshot before = r.match.snapshot(r.tick.now());
      r.match.changeScore(2, +1);
      r.journal->recordUndoStep({"goal", before, r.match.snapshot(r.tick.now())});
    }
    r.journal->recordTexts({{"Halbzeit"}, 0});
    EXPECT_TRUE(r.journal->problem().startsWith("Spieljournal: "));
    EXPECT_TRUE(r.journal->problem().endsWith(" — das Spiel wird nicht gesichert"));
    ASSERT_EQ(told.size(), 1);

    // Killed now, the journal says from when its record is missing.
    const JournalContents meanwhile = r.read();
    EXPECT_TRUE(meanwhile.missingFrom.isValid());
    EXPECT_EQ(meanwhile.state->state.score, (std::array<int, 2>{1, 0}));
    const QByteArray report = reportCsv(meanwhile, QLocale::c());
    EXPECT_TRUE(report.contains("journal_gap")) << report.constData();
    EXPECT_TRUE(report.contains("not recorded from here on"));
    full.lift();
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.journal->problem().isEmpty(); },
                                MatchJournal::kRetryMs * 3));
  }
  EXPECT_EQ(told.size(), 2);
  EXPECT_TRUE(told.last().first().toString().isEmpty());

  // Nothing is missing: the goals of the full disk, the list, the last state.
  const JournalContents journal = r.read();
  EXPECT_FALSE(journal.missingFrom.isValid());
  EXPECT_TRUE(journal.gaps.isEmpty());
  EXPECT_EQ(journal.state->state.score, (std::array<int, 2>{1, 3}));
  EXPECT_EQ(journal.texts, (RunningTexts{{"Halbzeit"}, 0}));
  // The steps to undo given while the disk was full.
  ASSERT_EQ(journal.undoSteps.size(), 3);
  EXPECT_EQ(journal.undoSteps.last().after.state.score, (std::array<int, 2>{1, 3}));
  int guestGoals = 0;
  for (const MatchEvent& e : journal.events) guestGoals += e.kind == Kind::Goal && e.team == 2;
  EXPECT_EQ(guestGoals, 3);
}

TEST(MatchJournal, AJournalThatCouldNotBeginIsWrittenWholeWhenWritingWorks) {
  QTemporaryDir folder;
  const QString path = folder.filePath("current.journal");
  FakeTick tick;
  Match match;
  FileSizeLimit full(0);
  MatchJournal journal(match, tick, path);
  match.changeScore(1, +1);
  journal.recordNames({"Heim", "Gast", "Finale"});
  EXPECT_FALSE(journal.problem().isEmpty());
  EXPECT_EQ(QFileInfo(path).size(), 0);
  full.lift();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return journal.problem().isEmpty(); }, MatchJournal::kRetryMs * 3));
  const JournalReading reading = readJournalFile(path);
  ASSERT_TRUE(reading.contents) << qPrintable(reading.problem);
  EXPECT_EQ(reading.contents->events.size(), 1);
  EXPECT_EQ(reading.contents->state->state.score[0], 1);
  EXPECT_EQ(reading.contents->names->title, "Finale");
}

TEST(MatchJournal, AResetFilesTheMatchAndStartsANewJournal) {
  QTemporaryDir folder;
  JournalStore store(folder.path());
  QString error;
  ASSERT_TRUE(store.prepare(&error));
  FakeTick tick;
  Match match;
  MatchJournal journal(match, tick, store.currentPath());
  journal.setNextJournal([&] { return store.finishCurrent(), store.currentPath(); });
  journal.recordNames({"TV Adlerhorst", "HSG Falkenberg", "Kreisliga"});
  match.playPause(tick.now());
  match.changeScore(1, +1);
  match.reset();
  match.changeScore(2, +1);

  ASSERT_EQ(store.finishedPaths().size(), 1);
  const JournalReading first = readJournalFile(store.finishedPaths().first());
  ASSERT_TRUE(first.contents);
  EXPECT_TRUE(first.contents->ended);
  EXPECT_EQ(first.contents->events.last().kind, Kind::Reset);
  const JournalReading next = readJournalFile(store.currentPath());
  ASSERT_TRUE(next.contents);
  EXPECT_FALSE(next.contents->ended);
  ASSERT_EQ(next.contents->events.size(), 1);
  EXPECT_EQ(next.contents->events[0].guest, 1);
  EXPECT_EQ(next.contents->names, (TeamNames{"TV Adlerhorst", "HSG Falkenberg", "Kreisliga"}));
}

TEST(MatchReport, SpeaksTheSessionsLanguageAndMarksWhatTheJournalLacks) {
  JournalContents journal;
  journal.started = QDateTime::fromString("2026-12-07T20:00:00.000+01:00", Qt::ISODateWithMs);
  journal.names = TeamNames{"TV Adlerhorst", "HSG Falkenberg; Süd", "Kreisliga Männer"};
  const QDateTime goal = journal.started.addSecs(600);
  journal.events = {{goal, Kind::Goal, 1, 600'000, 2, 0, 0, 1, 0},
                    {goal.addSecs(300), Kind::PenaltyStart, 1, 900'000, 1, 1, 0, 1, 0}};
  journal.gaps = {{1, goal, goal.addSecs(60), 0, true}};

  struct Row {
    const char* name;
    QLocale locale;
    const char* header;
    const char* goalRow;  // after the time
    const char* gapEvent;
  } rows[] = {
      {"German", QLocale(QLocale::German, QLocale::Germany), "Uhrzeit;Periode;Spielzeit;Ereignis",
       ";1;0:10:00;Tor;\"HSG Falkenberg; Süd\";;;;;0;1;;;;", "Lücke im Journal"},
      {"English", QLocale(QLocale::English, QLocale::UnitedKingdom), "wall_time,period",
       ",1,0:10:00,goal,HSG Falkenberg; Süd,,,,,0,1,,,,", "journal_gap"},
  };
  for (const Row& row : rows) {
    const QByteArray csv = reportCsv(journal, row.locale);
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF")) << row.name;
    const QString text = QString::fromUtf8(csv.mid(3));
    EXPECT_TRUE(text.contains("Kreisliga Männer")) << row.name;
    EXPECT_TRUE(text.contains(row.header)) << row.name;
    EXPECT_TRUE(text.contains(QString::fromUtf8(row.goalRow))) << row.name << qPrintable(text);
    // The gap lies between the goal and the penalty.
    const qsizetype gapAt = text.indexOf(QString::fromUtf8(row.gapEvent));
    EXPECT_GT(gapAt, text.indexOf(QString::fromUtf8(row.goalRow))) << row.name;
    EXPECT_LT(gapAt, text.lastIndexOf("1;0:15:00") + text.lastIndexOf("1,0:15:00") + 1) << row.name;
    // Local time with its offset from UTC.
    EXPECT_TRUE(QRegularExpression(R"(\d\d:\d\d:\d\d[+-]\d\d:\d\d)").match(text).hasMatch());
  }
}

}  // namespace
