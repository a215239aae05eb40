#include "platform/os/runlistfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/failingsaves.h"

namespace {

QByteArray contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

TEST(RunListFile, LineEndsAndNul) {
  const struct {
    QByteArray bytes;
    QStringList entries;
  } rows[] = {
      {"A\r\nB\r\nC\r\n", {"A", "B", "C"}},
      {"A\nB\nC", {"A", "B", "C"}},  // LF only, last line without a line end
      {"A\rB\r", {"A", "B"}},
      {"A\r\n\r\nB", {"A", "", "B"}},  // an empty line is an empty entry
      {"A\r\r\nB", {"A", "", "B"}},
      {"A\n\rB", {"A", "", "B"}},  // LF CR is two line ends
      {"\n", {""}},
      {"", {}},
      {QByteArray("A\nB\0C\nD", 7), {"A", "B"}},  // NUL ends the text
      {QByteArray("\0A", 2), {}},
  };
  for (const auto& r : rows)
    EXPECT_EQ(RunListFile::parse(r.bytes), r.entries) << r.bytes.toHex().constData();
}

TEST(RunListFile, Utf8AndWindows1252) {
  EXPECT_EQ(RunListFile::parse("Gr\xC3\xBC\xC3\x9F"
                               "e \xE2\x82\xAC"
                               "5\r\n"),
            QStringList({u"Grüße €5"_qs}));
  // Byte-order marks at the start are no text, however many an editor put there.
  EXPECT_EQ(RunListFile::parse("\xEF\xBB\xBF\xEF\xBB\xBFTor\r\n"), QStringList({"Tor"}));
  // Not valid UTF-8: the whole file is read as Windows-1252.
  EXPECT_EQ(RunListFile::parse("Gr\xFC\xDF"
                               "e \x80"
                               "5\r\n\x93Tor\x94\r\n"),
            QStringList({u"Grüße €5"_qs, u"\u201CTor\u201D"_qs}));
  EXPECT_EQ(RunListFile::format({u"Grüße"_qs}), QByteArray("Gr\xC3\xBC\xC3\x9F"
                                                           "e\r\n"));
}

TEST(RunListFile, OverlongLinesAndTooManyEntriesAreCapped) {
  QByteArray bytes(100000, 'x');
  bytes += "\nkurz\n";
  RunListFile::Shortfall shortfall;
  const QStringList entries = RunListFile::parse(bytes, &shortfall);
  ASSERT_EQ(entries.size(), 2);
  EXPECT_EQ(entries[0].size(), RunListFile::maxEntryLength);
  EXPECT_EQ(entries[1], "kurz");
  EXPECT_EQ(shortfall.linesCut, 1);
  EXPECT_EQ(shortfall.linesNotLoaded, 0);

  shortfall = {};
  const QStringList many =
      RunListFile::parse(QByteArray(RunListFile::maxEntries + 50, '\n') + "x", &shortfall);
  EXPECT_EQ(many.size(), RunListFile::maxEntries);
  EXPECT_EQ(shortfall.linesNotLoaded, 51);
}

TEST(RunListFile, BinaryAndHugeFilesLoadWithinTheCaps) {
  QTemporaryDir dir;
  const QString path = dir.filePath("big.txt");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const QByteArray line = QByteArray(48, 'a') + "\r\n";  // 50 bytes: one million lines = 50 MB
    QByteArray block;
    for (int i = 0; i < 1000; ++i) block += line;
    for (int i = 0; i < 1000; ++i) f.write(block);
  }
  QStringList entries;
  RunListFile::Shortfall shortfall;
  ASSERT_TRUE(RunListFile::read(path, entries, nullptr, &shortfall));
  EXPECT_EQ(entries.size(), RunListFile::maxEntries);
  EXPECT_EQ(entries.last(), QString(48, 'a'));
  // The line cut by the byte cap, and every line after it, counted once.
  EXPECT_EQ(shortfall.linesNotLoaded, 1000000 - RunListFile::maxEntries);
  EXPECT_FALSE(shortfall.moreNotLoaded);

  // Bytes of every value without NUL: decoded as Windows-1252, nothing lost before a line end.
  QByteArray binary;
  for (int i = 1; i < 256; ++i) binary += char(i);
  put(path, binary);
  ASSERT_TRUE(RunListFile::read(path, entries));
  EXPECT_EQ(entries.size(), 3);  // cut by LF (10), CR (13), and the rest
}

TEST(RunListFile, SaveWritesCrLfAndRoundTrips) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Lauftext.txt");
  put(path, "eins\nzwei\n\ndrei");
  QStringList entries;
  ASSERT_TRUE(RunListFile::read(path, entries));
  ASSERT_TRUE(RunListFile::write(path, entries));
  EXPECT_EQ(contents(path), QByteArray("eins\r\nzwei\r\n\r\ndrei\r\n"));
  QStringList again;
  ASSERT_TRUE(RunListFile::read(path, again));
  EXPECT_EQ(again, entries);
}

TEST(RunListFile, FailuresReportTheSystemTextAndLeaveThingsAlone) {
  QTemporaryDir dir;
  QStringList entries{"bleibt"};
  QString error;
  EXPECT_FALSE(RunListFile::read(dir.filePath("fehlt.txt"), entries, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(entries, QStringList{"bleibt"});
  EXPECT_FALSE(RunListFile::read(dir.path(), entries, &error));  // a folder is no list

  // A folder that takes no files: the save fails and the old file stays.
  const QString path = dir.filePath("Lauftext.txt");
  put(path, "alt\r\n");
  {
    FailingSaves blocked(dir.path());
    error.clear();
    EXPECT_FALSE(RunListFile::write(path, {"neu"}, &error));
  }
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(contents(path), QByteArray("alt\r\n"));
}

#ifdef Q_OS_UNIX
#include <sys/stat.h>

namespace {

TEST(RunListFile, APipeOrFolderUnderTheNameIsRefusedWithoutBlocking) {
  QTemporaryDir dir;
  const QString pipe = dir.filePath("Lauftext.txt");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  QStringList entries{"kept"};
  QString error;
  EXPECT_FALSE(RunListFile::read(pipe, entries, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(entries, QStringList{"kept"});
  EXPECT_FALSE(RunListFile::read(dir.path(), entries));
}

}  // namespace
#endif
