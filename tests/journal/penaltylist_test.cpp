#include <gtest/gtest.h>

#include <QJsonArray>
#include <functional>

#include "core/match.h"
#include "journal/snapshotjson.h"

namespace {

// Sets field `name` of the first (or `index`) penalty of the stored list.
void setPenaltyField(QJsonObject& o, const char* name, const QJsonValue& value, int index = 0) {
  QJsonArray list = o["penaltyList"].toArray();
  QJsonObject p = list[index].toObject();
  p[name] = value;
  list[index] = p;
  o["penaltyList"] = list;
}

TEST(SnapshotJson, PenaltyListsComeBackWholeAndDamagedOnesAreRefused) {
  Match match;
  match.setSport(*SportRules::preset("floorball"));
  match.playPause(5000);
  match.givePenalty(2, "2+2", 11, 5000);
  match.givePenalty(2, "5", std::nullopt, 5000);
  match.givePenalty(2, "2", 4, 5000);  // waits: two run at once
  match.givePenalty(1, "10", 8, 5000);
  for (quint32 now = 5200; now <= 35'000; now += 200) match.tick(now);
  const MatchSnapshot snapshot = match.snapshot(35'000);
  const QJsonObject stored = toJson(snapshot);
  ASSERT_EQ(snapshotFromJson(stored), snapshot);

  const struct {
    const char* name;
    std::function<void(QJsonObject&)> change;
    bool accepted;
  } rows[] = {
      {"unknown state", [](QJsonObject& o) { setPenaltyField(o, "state", "gone"); }, false},
      {"id not below the next id", [](QJsonObject& o) { setPenaltyField(o, "id", 99); }, false},
      {"the same id twice", [](QJsonObject& o) { setPenaltyField(o, "id", 4, 1); }, false},
      {"more time left than its length",
       [](QJsonObject& o) { setPenaltyField(o, "leftMs", 240'001, 1); }, false},
      {"player 100", [](QJsonObject& o) { setPenaltyField(o, "player", 100); }, false},
      {"running but never started", [](QJsonObject& o) { setPenaltyField(o, "started", false); },
       false},
      {"a kind without a name", [](QJsonObject& o) { setPenaltyField(o, "kind", ""); }, false},
      {"fouls missing", [](QJsonObject& o) { o.remove("fouls"); }, false},
      // Counters the match adds to are read only far below where adding would overflow.
      {"fouls at INT_MAX",
       [](QJsonObject& o) {
         o["fouls"] = QJsonArray{2147483647, 0};
       },
       false},
      {"next id at INT_MAX", [](QJsonObject& o) { o["nextPenaltyId"] = 2147483647; }, false},
      {"text starts at INT_MAX",
       [](QJsonObject& o) {
         QJsonObject run = o["runText"].toObject();
         run["starts"] = 2147483647;
         o["runText"] = run;
       },
       false},
      {"the longest period", [](QJsonObject& o) { o["periodLength"] = Match::kMaxPeriodLength; },
       true},
      {"a longer one", [](QJsonObject& o) { o["periodLength"] = Match::kMaxPeriodLength + 1; },
       false},
      {"written before penalty lists",
       [](QJsonObject& o) {
         o.remove("penaltyList");
         o.remove("nextPenaltyId");
         o.remove("fouls");
       },
       true},
  };
  for (const auto& row : rows) {
    QJsonObject o = stored;
    row.change(o);
    EXPECT_EQ(snapshotFromJson(o).has_value(), row.accepted) << row.name;
  }

  // A list longer than any match holds is cut to what one can hold, and read quickly.
  QJsonObject o = stored;
  QJsonArray list;
  const QJsonObject misconduct = o["penaltyList"].toArray().first().toObject();
  ASSERT_EQ(misconduct["team"].toInt(), 1);
  for (int id = 1; id <= 100'000; ++id) {
    QJsonObject p = misconduct;
    p["id"] = id;
    list.append(p);
  }
  o["penaltyList"] = list;
  o["nextPenaltyId"] = 100'001;
  const auto read = snapshotFromJson(o);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->state.teamPenalties[0].size(), std::size_t(Match::kPenaltiesPerTeam));
}

}  // namespace
