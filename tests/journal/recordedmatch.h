#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "core/match.h"
#include "journal/journalreader.h"
#include "journal/matchjournal.h"
#include "support/faketick.h"

// A match recorded into a journal in a temporary folder, its clock driven by hand.
struct Recorded {
  explicit Recorded(quint32 start = 1000,
                    const MatchRules& rules = {.periodLength = 2700, .goalReleasesPenalty = true}) {
    tick.set(start);
    match.setRules(rules);
    journal = std::make_unique<MatchJournal>(match, tick, path());
  }
  QString path() const { return folder.filePath("current.journal"); }
  void run(int ms) {
    for (int t = 0; t < ms; t += 200) {
      tick.advance(200);
      match.tick(tick.now());
    }
  }
  JournalContents read() const {
    const JournalReading reading = readJournalFile(path());
    EXPECT_TRUE(reading.contents) << qPrintable(reading.problem);
    return reading.contents.value_or(JournalContents{});
  }

  QTemporaryDir folder;
  FakeTick tick;
  Match match;
  std::unique_ptr<MatchJournal> journal;
};
