#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/journalsession.h"
#include "core/match.h"
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
