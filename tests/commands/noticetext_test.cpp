#include "commands/noticetext.h"

#include <gtest/gtest.h>

#include "commands/commands.h"

// The words that depend on the notice's values: the team's name, the sport's periods, the full
// stop after a system's reason, what a read of a list left out.
TEST(NoticeText, WordsFollowTheValues) {
  const struct {
    Refusal reason;
    QStringList args;
    const char* text;
  } rows[] = {
      {Refusal::None, {}, ""},
      {Refusal::TimeoutMatchLimit, {"1"}, "Keine Auszeit mehr für HEIM in diesem Spiel."},
      {Refusal::TimeoutPeriodLimit, {"2", "2"}, "Keine Auszeit mehr für GAST in dieser Halbzeit."},
      {Refusal::TimeoutPeriodLimit, {"1", "3"}, "Keine Auszeit mehr für HEIM in dieser Periode."},
      {Refusal::TimeoutLateLimit,
       {"2", "5"},
       "GAST hatte schon eine Auszeit in den letzten 5 Minuten des Spiels."},
      {Refusal::CannotOpenFile,
       {"a.txt", "No such file"},
       "Cannot open file \"a.txt\". No such file."},
      {Refusal::CannotCreateFile, {"a.txt", "Denied."}, "Cannot create file \"a.txt\". Denied."},
      {Refusal::ListShortfall, {"a.txt", "3", "", "0"}, "\"a.txt\": 3 Zeilen nicht geladen."},
      {Refusal::ListShortfall,
       {"a.txt", "0", "more", "0"},
       "\"a.txt\": mehr als 0 Zeilen nicht geladen."},
      {Refusal::ListShortfall,
       {"a.txt", "2", "", "1"},
       "\"a.txt\": 2 Zeilen nicht geladen, 1 Zeilen gekürzt."},
      {Refusal::ListShortfall, {"a.txt", "0", "", "4"}, "\"a.txt\": 4 Zeilen gekürzt."},
      {Refusal::UnknownPenaltyKind, {"%2", "7"}, "Die Sportart \"%2\" kennt keine Strafe \"7\"."},
  };
  for (const auto& row : rows)
    EXPECT_EQ(noticeText(Notice::error(row.reason, row.args)), row.text) << int(row.reason);
}

// Every refusal has words of its own.
TEST(NoticeText, EveryRefusalIsSaid) {
  QStringList seen;
  for (int code = int(Refusal::NoTeam); code <= int(Refusal::ListShortfall); ++code) {
    const QString text = noticeText(Notice::error(Refusal(code), {"1", "2", QString(), "0"}));
    EXPECT_FALSE(text.isEmpty()) << code;
    EXPECT_FALSE(seen.contains(text)) << code << " " << text.toStdString();
    seen << text;
  }
}
