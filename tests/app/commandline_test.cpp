#include "app/commandline.h"

#include <gtest/gtest.h>

TEST(CommandLine, ParsesOptionsAndRejectsNonIntegers) {
  const DisplayOptions o =
      parseDisplayOptions({"/x100", "/W800", "/H", "-H600", "/Zabc", "x", "/y-20", "/X5"});
  EXPECT_EQ(o.left, 5);  // later arguments win
  EXPECT_EQ(o.maxWidth, 800);
  EXPECT_FALSE(o.maxHeight.has_value());
  EXPECT_EQ(o.top, -20);

  try {
    parseDisplayOptions({"/W80O"});
    FAIL() << "a non-integer value must be refused";
  } catch (const InvalidOptionValue& e) {
    EXPECT_STREQ(e.what(), "'80O' is not a valid integer value");
  }
}

TEST(CommandLine, RemoteOptionTakesAnOptionalPort) {
  struct Row {
    QStringList arguments;
    bool remote;
    std::optional<int> port;
  } rows[] = {
      {{"/W800"}, false, {}},
      {{"--remote"}, true, {}},
      {{"/X5", "--remote=9000"}, true, 9000},
  };
  for (const Row& row : rows) {
    const StartOptions o = parseStartOptions(row.arguments);
    EXPECT_EQ(o.remote, row.remote) << row.arguments.join(' ').toStdString();
    EXPECT_EQ(o.remotePort, row.port) << row.arguments.join(' ').toStdString();
  }
  for (const char* bad : {"--remote=0", "--remote=65536", "--remote=http"})
    EXPECT_THROW(parseStartOptions({bad}), InvalidOptionValue) << bad;
}
