#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "app/journalsession.h"
#include "app/reportcommand.h"
#include "core/match.h"
#include "journal/matchjournal.h"
#include "support/fakes.h"

namespace {

TEST(JournalSession, OffersAnUnfinishedMatchAndFilesItWhenDeclinedOrDamaged) {
  struct Row {
    const char* name;
    bool damaged;
    bool answer;
    int questions;
    int home;  // after start-up
  } rows[] = {
      {"Ja", false, true, 1, 3},
      {"Nein", false, false, 1, 0},
      {"damaged", true, true, 0, 0},
  };
  for (const Row& row : rows) {
    QTemporaryDir folder;
    FakeTick tick;
    {  // A run that dies after three home goals, without finishing its journal.
      Match match;
      JournalSession crashed(folder.path(), match, tick);
      crashed.open([](const QString&) { return false; });
      for (int goal = 0; goal < 3; ++goal) match.changeScore(1, +1);
    }
    JournalStore store(folder.path());
    if (row.damaged) {
      QFile file(store.currentPath());
      ASSERT_TRUE(file.open(QIODevice::ReadWrite));
      file.seek(40);
      file.write("####");
    }

    Match match;
    JournalSession session(folder.path(), match, tick);
    int questions = 0;
    const auto resumed = session.open([&](const QString& question) {
      ++questions;
      EXPECT_EQ(question, "Das letzte Spiel wurde nicht beendet. Spiel fortsetzen?");
      return row.answer;
    });
    EXPECT_EQ(questions, row.questions) << row.name;
    EXPECT_EQ(match.state().score[0], row.home) << row.name;
    EXPECT_EQ(resumed.has_value(), row.home > 0) << row.name;
    // A declined or damaged match is kept among the finished ones, and recording goes on.
    const int filed = row.home > 0 ? 0 : 1;
    EXPECT_EQ(store.finishedPaths().size(), filed) << row.name;
    EXPECT_TRUE(store.hasCurrent()) << row.name;
    session.finish();
    EXPECT_FALSE(store.hasCurrent()) << row.name;
    EXPECT_EQ(store.finishedPaths().size(), filed + 1) << row.name;
  }
}

}  // namespace

TEST(SaveReport, WritesCsvAndJsonUnderThePickedNameOrTellsWhyNot) {
  QTemporaryDir folder;
  const QString journalPath = folder.filePath("match.journal");
  FakeTick tick;
  Match match;
  MatchJournal journal(match, tick, journalPath);
  match.playPause(tick.now());
  match.changeScore(1, +1);
  match.changeScore(2, +1);

  FakeDialogs dialogs;
  dialogs.fileToSave = folder.filePath("Bericht");
  saveReport(dialogs, nullptr, journalPath);
  EXPECT_TRUE(dialogs.errors.isEmpty());
  QFile csv(folder.filePath("Bericht.csv"));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll().count('\n'), 4);  // header, period start, two goals
  QFile json(folder.filePath("Bericht.json"));
  ASSERT_TRUE(json.open(QIODevice::ReadOnly));
  EXPECT_EQ(QJsonDocument::fromJson(json.readAll())["events"].toArray().size(), 3);

  dialogs.fileToSave = folder.filePath("no such folder/Bericht.csv");
  saveReport(dialogs, nullptr, journalPath);
  saveReport(dialogs, nullptr, folder.filePath("no such journal"));
  ASSERT_EQ(dialogs.errors.size(), 2);
  EXPECT_TRUE(dialogs.errors[0].startsWith("Cannot create file")) << qPrintable(dialogs.errors[0]);
  EXPECT_TRUE(dialogs.errors[1].startsWith("Kein Spielbericht")) << qPrintable(dialogs.errors[1]);
}
