#include "remote/remotecommand.h"

#include <gtest/gtest.h>

namespace {

using Kind = RemoteCommand::Kind;

RemoteCommand command(Kind kind, int team = 0, int slot = 0, int value = 0, bool on = false,
                      RemoteCommand::TextMode mode = RemoteCommand::TextMode::One) {
  return {kind, team, slot, value, on, mode};
}

}  // namespace

TEST(RemoteCommand, ConsoleCommandsParseWithTheirFields) {
  struct Row {
    const char* json;
    RemoteCommand expected;
  } rows[] = {
      {R"({"cmd":"playPause"})", command(Kind::PlayPause)},
      {R"({"cmd":"goal","team":1})", command(Kind::Goal, 1, 0, 1)},
      {R"({"team":2,"delta":-1,"cmd":"goal"})", command(Kind::Goal, 2, 0, -1)},
      {R"({"cmd":"penalty","team":2,"slot":1})", command(Kind::Penalty, 2, 1)},
      {R"({"cmd":"period","value":4})", command(Kind::Period, 0, 0, 4)},
      {R"({"cmd":"correct","seconds":-10})", command(Kind::Correct, 0, 0, -10)},
      {R"({"cmd":"black","on":true})", command(Kind::Black, 0, 0, 0, true)},
      {R"({"cmd":"textStart","mode":"static"})",
       command(Kind::TextStart, 0, 0, 0, false, RemoteCommand::TextMode::Static)},
      {R"({"cmd":"textSelect","line":7})", command(Kind::TextSelect, 0, 0, 7)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.json);
    const auto parsed = parseRemoteCommand(row.json);
    ASSERT_TRUE(std::holds_alternative<RemoteCommand>(parsed));
    EXPECT_EQ(std::get<RemoteCommand>(parsed), row.expected);
  }
}

TEST(RemoteCommand, AnythingElseIsRefusedWithAReason) {
  struct Row {
    QByteArray json;
    const char* message;
  } rows[] = {
      {"", "not a JSON object"},
      {"[1]", "not a JSON object"},
      {R"({"cmd":"goal","team":1)", "not a JSON object"},
      {R"({"cmd":7})", "\"cmd\" must be a string"},
      {R"({"cmd":"saveFile"})", "unknown command"},
      {R"({"cmd":"goal"})", "missing \"team\""},
      {R"({"cmd":"goal","team":"1"})", "bad \"team\""},
      {R"({"cmd":"goal","team":1.5})", "bad \"team\""},
      {R"({"cmd":"goal","team":3})", "bad \"team\""},
      {R"({"cmd":"goal","team":1,"delta":2})", "bad \"delta\""},
      {R"({"cmd":"correct","seconds":30})", "bad \"seconds\""},
      {R"({"cmd":"logo","on":1})", "bad \"on\""},
      {R"({"cmd":"textStart","mode":"loop"})", "bad \"mode\""},
      {R"({"cmd":"textSelect","line":-1})", "bad \"line\""},
      {R"({"cmd":"reset","file":"Lauftext.txt"})", "unexpected field"},
      {R"({"cmd":"reset","pad":")" + QByteArray(kMaxCommandBytes, 'x') + R"("})",
       "message too large"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.json.left(60).toStdString());
    const auto parsed = parseRemoteCommand(row.json);
    ASSERT_TRUE(std::holds_alternative<CommandError>(parsed));
    EXPECT_EQ(std::get<CommandError>(parsed).message, row.message);
  }
}
