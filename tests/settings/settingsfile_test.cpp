#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "platform/settingskey_qt.h"
#include "printers.h"
#include "settings/settingsgroups.h"

namespace {

using Status = SettingsKey::Status;

const QString kKeyPath = "\\Software\\Merrowtide\\Scorvex";
const QByteArray kKeyHeader =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Merrowtide\\Scorvex]\n";

// Every test gets its own configuration folder; the user's own settings are never touched.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    hadConfigHome_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
  }
  void TearDown() override {
    if (hadConfigHome_)
      qputenv("XDG_CONFIG_HOME", savedConfigHome_);
    else
      qunsetenv("XDG_CONFIG_HOME");
  }

  QString filePath() const { return home_.path() + "/Merrowtide/Scorvex.reg"; }
  void putFile(const QByteArray& bytes) const { putFile(filePath(), bytes); }
  static void putFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray fileBytes() const {
    QFile file(filePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir home_;
  bool hadConfigHome_ = false;
  QByteArray savedConfigHome_;
};

TEST_F(SettingsFile, NoFileMeansNoKeyAndReadingCreatesNothing) {
  QtSettingsKey key(kKeyPath);
  EXPECT_EQ(key.location(), filePath());
  EXPECT_FALSE(key.openExisting());
  readConsoleGroup(key);
  readDisplayGroup(key);
  EXPECT_TRUE(QDir(home_.path()).isEmpty());

  // A file with another key only does not hold this one either.
  putFile(
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Other]\n"
      "\"Time\"=dword:00000001\n");
  EXPECT_FALSE(key.openExisting());
}

TEST_F(SettingsFile, ValuesReadByTheirKindFromAHandWrittenFile) {
  putFile(kKeyHeader +
          "\"Title\"=\"Halle \\\"Nord\\\" C:\\\\Bilder\"\r\n"
          "\"Time\"=dword:00000a8c\n"
          "\"C0\"=dword:FF00000F\n"
          "\"Comanda1\"=\"\"\n"
          "\"Expand\"=hex(2):48,00,45,00,49,00,\\\n  4d,00,00,00\n"
          "\"Binary\"=hex:01,02\n"
          "\"Speed\"=\"3\"\n"
          "\"CNames\"=dword:00000001\n"
          "\n[HKEY_CURRENT_USER\\Software\\Merrowtide\\Other]\n"
          "\"Other\"=dword:00000001\n");
  const struct {
    const char* name;
    Status textStatus;
    QString text;
    Status integerStatus;
    qint32 integer;
  } rows[] = {
      {"Title", Status::Ok, "Halle \"Nord\" C:\\Bilder", Status::WrongKind, 0},
      {"Time", Status::WrongKind, "", Status::Ok, 2700},
      {"C0", Status::WrongKind, "", Status::Ok, qint32(colors::btnFace)},
      {"Comanda1", Status::Ok, "", Status::WrongKind, 0},
      {"Expand", Status::Ok, "HEIM", Status::WrongKind, 0},
      {"Binary", Status::WrongKind, "", Status::WrongKind, 0},
      {"Speed", Status::Ok, "3", Status::WrongKind, 0},
      {"CNames", Status::WrongKind, "", Status::Ok, 1},
      {"Other", Status::Missing, "", Status::Missing, 0},
      {"Nothing", Status::Missing, "", Status::Missing, 0},
  };
  QtSettingsKey key(kKeyPath);
  ASSERT_TRUE(key.openExisting());
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const SettingsKey::Text text = key.readText(row.name);
    const SettingsKey::Integer integer = key.readInteger(row.name);
    EXPECT_EQ(text.status, row.textStatus);
    EXPECT_EQ(text.value, row.text);
    EXPECT_EQ(integer.status, row.integerStatus);
    EXPECT_EQ(integer.value, row.integer);
  }
  EXPECT_TRUE(key.close());
}

TEST_F(SettingsFile, WritesTheRegistryExportFormatAndKeepsOtherKeys) {
  putFile(
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Merrowtide\\A]\n"
      "\"Raw\"=hex(7):41,00,00,00\n");
  QtSettingsKey key(kKeyPath);
  ASSERT_TRUE(key.openOrCreate());
  EXPECT_TRUE(key.writeText("Title", "A \"B\" C:\\D\nE"));
  EXPECT_TRUE(key.writeInteger("Time", 10));
  EXPECT_TRUE(key.writeInteger("C0", -1));
  EXPECT_TRUE(key.writeText("Comanda1", "Füchse"));
  EXPECT_TRUE(key.close());
  EXPECT_EQ(QString::fromUtf8(fileBytes()),
            "Windows Registry Editor Version 5.00\n"
            "\n[HKEY_CURRENT_USER\\Software\\Merrowtide\\A]\n"
            "\"Raw\"=hex(7):41,00,00,00\n"
            "\n[HKEY_CURRENT_USER\\Software\\Merrowtide\\Scorvex]\n"
            "\"C0\"=dword:ffffffff\n"
            "\"Comanda1\"=\"Füchse\"\n"
            "\"Time\"=dword:0000000a\n"
            "\"Title\"=\"A \\\"B\\\" C:\\\\D\\nE\"\n");
}

// What the windows hand back after reading, unchanged.
DisplayValues valuesFrom(const DisplayGroup& g, const TSettings& s) {
  DisplayValues v{QSize(*g.Wt, *g.Ht),
                  QPoint(*g.Xt, *g.Yt),
                  *g.CNames,
                  *g.Title,
                  s.C,
                  {},
                  s.VidTablo,
                  s.FullScr};
  for (int n = 0; n < kElementFonts; ++n)
    v.fonts[n] = {*g.fonts[n].color, *g.fonts[n].face, *g.fonts[n].style};
  return v;
}

TEST_F(SettingsFile, ReadingAndWritingBothGroupsLeavesEveryValueAsItWas) {
  TSettings stored{
      .CountDown = false,
      .Time = 1200,
      .Monitor = -1,
      .Comanda1 = "Füchse \"Nord\"",
      .Comanda2 = "C:\\Gäste",
      .TitelType = 2,
      .TitelType1 = "Pokal",
      .TitelType2 = "D:\\bild.jpg",
      .Speed = 5,
      .SLoop = true,
      .SoundTime = 30,
      .SoundFile = "/tmp/ton.wav",
      .StrReset = true,
      .CNames = "A\\B - \"C\"",
      .Title = "",
      .C = {colors::btnFace, colors::teal, colors::red, colors::lime, colors::grey},
      .VidTablo = 3,
      .FullScr = false};
  stored.Fonts[2] = {colors::green, "Liberation Mono", 6};
  const DisplayValues display = displayValues(stored, QSize(1024, 768), QPoint(-1024, 0));
  QtSettingsKey key(kKeyPath);
  writeDisplayGroup(key, display);
  writeConsoleGroup(key, stored, QRect(-5, 10, 436, 549));
  const QByteArray written = fileBytes();

  TSettings settings;
  const ConsoleGroup console = readConsoleGroup(key);
  applyConsoleGroup(console, settings);
  const DisplayGroup read = readDisplayGroup(key);
  applyDisplayGroup(read, settings);
  ASSERT_TRUE(console.L && console.T && console.W && console.H);
  ASSERT_TRUE(read.colorsComplete() && read.FullScr);
  EXPECT_TRUE(settings == stored);

  writeDisplayGroup(key, valuesFrom(read, settings));
  writeConsoleGroup(key, settings, QRect(*console.L, *console.T, *console.W, *console.H));
  EXPECT_EQ(fileBytes(), written);
}

// Each damaged file holds "Time" = 100 after its damage.
TEST_F(SettingsFile, DamagedFilesGiveWhatCanBeReadAndAreRewrittenClean) {
  const QByteArray time = "\"Time\"=dword:00000064\n";
  QByteArray huge = kKeyHeader + QByteArray(1 << 20, 'x') + '\n';          // one endless line
  while (huge.size() < 10 << 20) huge += "\"Junk=\"=dword:zz\"\"\\,\\\n";  // continued
  huge += '\n';
  QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
  const struct {
    const char* label;
    QByteArray bytes;
    Status title;
  } rows[] = {
      {"garbage bytes",
       kKeyHeader + QByteArray("\x00\x01\xff\x80garbage\n\"T\xc3", 15) + '\n' + time +
           "\x80\x81\n\"Title\"=\"ok\"",
       Status::Ok},
      {"truncated line", kKeyHeader + time + "\"Title\"=\"abc", Status::Missing},
      {"unknown kind", kKeyHeader + time + "\"Title\"=qword:5", Status::WrongKind},
      {"wrong kind", kKeyHeader + "\"Title\"=dword:00000001\n" + time, Status::WrongKind},
      {"duplicate names", kKeyHeader + "\"Time\"=dword:00000001\n\"Title\"=\"a\"\n" + time,
       Status::Ok},
      {"bad dword and escapes",
       kKeyHeader + "\"Title\"=\"a\"b\"\n\"Speed\"=dword:123456789\n" + time, Status::Missing},
      {"10 MB", huge + time, Status::Missing},
      {"UTF-16 export", QByteArray(utf16(QString::fromUtf8(kKeyHeader + time))), Status::Missing},
  };
  const QRegularExpression wellFormed(
      R"(^("[^"\\]*"=(dword:[0-9a-f]{8}|"([^"\\]|\\.)*"|[a-z0-9()]+:.*))?$)");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.label);
    putFile(row.bytes);
    QtSettingsKey key(kKeyPath);
    ASSERT_TRUE(key.openExisting());
    EXPECT_EQ(key.readInteger("Time").value, 100);
    EXPECT_EQ(key.readText("Title").status, row.title);
    EXPECT_TRUE(key.close());

    ASSERT_TRUE(key.openOrCreate());
    key.writeInteger("Speed", 5);
    ASSERT_TRUE(key.close());
    const QList<QByteArray> lines = fileBytes().split('\n');
    EXPECT_LT(lines.size(), 10);
    for (const QByteArray& line : lines.mid(3))
      EXPECT_TRUE(wellFormed.match(line).hasMatch()) << line.toStdString();
    ASSERT_TRUE(key.openExisting());
    EXPECT_EQ(key.readInteger("Time").value, 100);
    EXPECT_EQ(key.readInteger("Speed").value, 5);
    key.close();
  }
}

ino_t inodeOf(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

TEST_F(SettingsFile, WriteKilledHalfwayLeavesThePreviousSettingsReadable) {
  QtSettingsKey key(kKeyPath);
  TSettings settings;
  settings.Time = 1234;
  writeConsoleGroup(key, settings, QRect(0, 0, 436, 549));
  const QByteArray good = fileBytes();
  // A process killed while saving leaves its half-written temporary file beside the real one.
  putFile(filePath() + ".aB3xYz", good.left(good.size() / 2));
  // ... and may leave the save lock half made.
  putFile(filePath() + ".lock", "");
  TSettings reread;
  applyConsoleGroup(readConsoleGroup(key), reread);
  EXPECT_EQ(reread.Time, 1234);
  EXPECT_EQ(reread.StrReset, settings.StrReset);

  // The next save replaces the file as a whole instead of rewriting it in place.
  const ino_t before = inodeOf(filePath());
  settings.Time = 99;
  writeConsoleGroup(key, settings, QRect(0, 0, 436, 549));
  EXPECT_NE(inodeOf(filePath()), before);
  EXPECT_FALSE(QFile::exists(filePath() + ".lock"));
  applyConsoleGroup(readConsoleGroup(key), reread);
  EXPECT_EQ(reread.Time, 99);
}

TEST_F(SettingsFile, FolderThatCannotBeWrittenFailsQuietly) {
  // The configuration folder cannot be made: a file stands where it would go.
  putFile(home_.path() + "/blocked", "x");
  qputenv("XDG_CONFIG_HOME", (home_.path() + "/blocked/config").toUtf8());
  QtSettingsKey blocked(kKeyPath);
  EXPECT_FALSE(blocked.openOrCreate());
  writeConsoleGroup(blocked, TSettings(), QRect(0, 0, 436, 549));
  EXPECT_FALSE(blocked.openExisting());

  // Something that is not a file stands where the settings file would go.
  qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
  ASSERT_TRUE(QDir().mkpath(filePath()));
  QtSettingsKey key(kKeyPath);
  EXPECT_FALSE(key.openExisting());
  EXPECT_FALSE(key.openOrCreate());
  writeConsoleGroup(key, TSettings(), QRect(0, 0, 436, 549));
  EXPECT_TRUE(QFileInfo(filePath()).isDir());
}

}  // namespace
