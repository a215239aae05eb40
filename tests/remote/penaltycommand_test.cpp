#include <gtest/gtest.h>

#include "remote/remotecommand.h"

namespace {

using Kind = RemoteCommand::Kind;

// What a penalty command reads into, or the error the sender gets.
std::string read(const char* json) {
  const auto parsed = parseRemoteCommand(json);
  if (const auto* e = std::get_if<CommandError>(&parsed))
    return "error: " + e->message.toStdString();
  const RemoteCommand& c = std::get<RemoteCommand>(parsed);
  const std::string player = c.player ? std::to_string(*c.player) : "none";
  return std::to_string(int(c.kind)) + " team " + std::to_string(c.team) + " kind " +
         c.penaltyKind.toStdString() + " player " + player + " id " + std::to_string(c.id) +
         " value " + std::to_string(c.value) + " slot " + std::to_string(c.slot);
}

std::string expect(Kind kind, int team, const char* penaltyKind, const char* player, int id,
                   int value, int slot = 0) {
  return std::to_string(int(kind)) + " team " + std::to_string(team) + " kind " + penaltyKind +
         " player " + player + " id " + std::to_string(id) + " value " + std::to_string(value) +
         " slot " + std::to_string(slot);
}

TEST(RemoteCommand, PenaltyCommandsAreReadWholeOrRefusedWithAReason) {
  const struct {
    const char* json;
    std::string read;
  } rows[] = {
      {R"({"cmd":"penalty","team":1,"kind":"5","player":12})",
       expect(Kind::PenaltyGive, 1, "5", "12", 0, 0)},
      {R"({"cmd":"penalty","team":2,"kind":"2+2","player":null})",
       expect(Kind::PenaltyGive, 2, "2+2", "none", 0, 0)},
      {R"({"cmd":"penalty","team":2,"kind":"10"})",
       expect(Kind::PenaltyGive, 2, "10", "none", 0, 0)},
      {R"({"cmd":"penalty","team":1,"slot":2})", expect(Kind::Penalty, 1, "", "none", 0, 0, 2)},
      {R"({"cmd":"penalty","team":1,"slot":2,"kind":"5"})", "error: unexpected field"},
      {R"({"cmd":"penalty","team":1,"kind":5})", "error: bad \"kind\""},
      {R"({"cmd":"penalty","team":1,"kind":""})", "error: bad \"kind\""},
      {R"({"cmd":"penalty","team":1,"kind":"2","player":100})", "error: bad \"player\""},
      {R"({"cmd":"penalty","team":1,"kind":"2","player":"7"})", "error: bad \"player\""},
      {R"({"cmd":"penaltyTime","team":1,"id":3,"seconds":75})",
       expect(Kind::PenaltyTime, 1, "", "none", 3, 75)},
      {R"({"cmd":"penaltyTime","team":1,"id":3,"seconds":1200})",
       expect(Kind::PenaltyTime, 1, "", "none", 3, 1200)},
      {R"({"cmd":"penaltyTime","team":1,"id":3,"seconds":1201})",
       "error: \"seconds\" must be a whole number from 1 to 1200 (20:00)"},
      {R"({"cmd":"penaltyTime","team":1,"id":3,"seconds":0})",
       "error: \"seconds\" must be a whole number from 1 to 1200 (20:00)"},
      {R"({"cmd":"penaltyTime","team":1,"id":0,"seconds":5})", "error: bad \"id\""},
      {R"({"cmd":"penaltyCancel","team":2,"id":7})",
       expect(Kind::PenaltyCancel, 2, "", "none", 7, 0)},
      {R"({"cmd":"penaltyCancel","team":2})", "error: missing \"id\""},
      {R"({"cmd":"foul","team":2,"delta":-1})", expect(Kind::Foul, 2, "", "none", 0, -1)},
      {R"({"cmd":"foul","team":2,"delta":2})", "error: bad \"delta\""},
  };
  for (const auto& row : rows) EXPECT_EQ(read(row.json), row.read) << row.json;
}

}  // namespace
