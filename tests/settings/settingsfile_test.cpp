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
#include "support/failingsaves.h"

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
  // It holds the overlay's token: only its user may read it, whatever it was before.
  const QFile::Permissions permissions = QFile(filePath()).permissions();
  EXPECT_FALSE(permissions.testAnyFlags(QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther));
  EXPECT_TRUE(permissions.testFlags(QFile::ReadOwner | QFile::WriteOwner));
}

TEST_F(SettingsFile, ReadingAndWritingBothGroupsLeavesEveryValueAsItWas) {
  TSettings stored;
  stored.CountDown = false;
  stored.Time = 1200;
  stored.Monitor = -1;
  stored.Comanda1 = "Füchse \"Nord\"";
  stored.Comanda2 = "C:\\Gäste";
  stored.TitelType = 2;
  stored.TitelType1 = "Pokal";
  stored.TitelType2 = "D:\\bild.jpg";
  stored.Speed = 5;
  stored.SLoop = true;
  stored.SoundTime = 30;
  stored.SoundFile = "/tmp/ton.wav";
  stored.StrReset = true;
  stored.RemoteOn = true;
  stored.RemotePort = 9000;
  stored.RemoteOverlayToken = "Stream 1";
  stored.Muted = true;
  stored.CNames = "A\\B - \"C\"";
  stored.Title = "";
  stored.C = {colors::btnFace, colors::teal, colors::red, colors::lime, colors::grey};
  stored.VidTablo = 3;
  stored.FullScr = false;
  stored.Fonts[2] = {colors::green, "Liberation Mono", 6};
  QtSettingsKey key(kKeyPath);
  writeDisplayGroup(key, stored, QSize(1024, 768), QPoint(-1024, 0));
  writeConsoleGroup(key, stored, QRect(-5, 10, 436, 549));
  const QByteArray written = fileBytes();

  TSettings settings;
  const ConsoleGroup console = readConsoleGroup(key);
  applyConsoleGroup(console, settings);
  const DisplayGroup read = readDisplayGroup(key);
  applyDisplayGroup(read, settings);
  for (const char* place : {"L", "T", "W", "H"}) ASSERT_TRUE(console.integer(place)) << place;
  for (const char* place : {"Wt", "Ht", "Xt", "Yt"}) ASSERT_TRUE(read.integer(place)) << place;
  ASSERT_TRUE(read.colorsComplete() && read.has("FullScr"));
  EXPECT_TRUE(settings == stored);

  writeDisplayGroup(key, settings, QSize(*read.integer("Wt"), *read.integer("Ht")),
                    QPoint(*read.integer("Xt"), *read.integer("Yt")));
  writeConsoleGroup(key, settings,
                    QRect(*console.integer("L"), *console.integer("T"), *console.integer("W"),
                          *console.integer("H")));
  EXPECT_EQ(fileBytes(), written);
}

// Each damaged file holds "Time" = 100 after its damage.
TEST_F(SettingsFile, DamagedFilesGiveWhatCanBeReadAndAreRewrittenClean) {
  const QByteArray time = "\"Time\"=dword:00000064\n";
  QByteArray junk = kKeyHeader + QByteArray(300 << 10, 'x') + '\n';         // one endless line
  while (junk.size() < 900 << 10) junk += "\"Junk=\"=dword:zz\"\"\\,\\\n";  // continued
  junk += '\n';
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
      {"900 KB of junk", junk + time, Status::Missing},
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

TEST_F(SettingsFile, DebrisOfAKilledSaveIsRemovedAtTheNextStart) {
  TSettings settings;
  settings.Time = 1234;
  {
    QtSettingsKey key(kKeyPath);
    writeConsoleGroup(key, settings, QRect(0, 0, 436, 549));
  }
  const QByteArray good = fileBytes();
  // A kill while saving leaves a temporary file beside the real one; older versions also left
  // their save lock. A file of the operator's own with another name stays.
  putFile(filePath() + ".aB3xYz", good.left(good.size() / 2));
  putFile(filePath() + ".lock", "");
  putFile(filePath() + ".bak", good);
  QtSettingsKey key(kKeyPath);
  EXPECT_EQ(QDir(home_.path() + "/Merrowtide").entryList(QDir::Files),
            QStringList({"Scorvex.reg", "Scorvex.reg.bak"}));
  TSettings reread;
  applyConsoleGroup(readConsoleGroup(key), reread);
  EXPECT_EQ(reread.Time, 1234);

  // The next save replaces the file as a whole instead of rewriting it in place.
  const ino_t before = inodeOf(filePath());
  settings.Time = 99;
  writeConsoleGroup(key, settings, QRect(0, 0, 436, 549));
  EXPECT_NE(inodeOf(filePath()), before);
  applyConsoleGroup(readConsoleGroup(key), reread);
  EXPECT_EQ(reread.Time, 99);
}

TEST_F(SettingsFile, HeldGroupsAreSavedTogetherInOneReplace) {
  QtSettingsKey key(kKeyPath);
  writeConsoleGroup(key, TSettings(), QRect(0, 0, 436, 549));
  const QByteArray before = fileBytes();
  TSettings settings;
  settings.Comanda1 = "Neu";
  TSettings display;
  display.Title = "Neu";

  key.holdWrites();
  writeDisplayGroup(key, display, defaultPlaces().displaySize, defaultPlaces().displayPosition);
  EXPECT_EQ(fileBytes(), before);
  writeConsoleGroup(key, settings, QRect(0, 0, 436, 549));
  EXPECT_EQ(fileBytes(), before);
  QString reason;
  EXPECT_TRUE(key.commit(&reason));
  const QByteArray after = fileBytes();
  EXPECT_TRUE(after.contains("\"Comanda1\"=\"Neu\"") && after.contains("\"Title\"=\"Neu\""));
  EXPECT_EQ(QDir(home_.path() + "/Merrowtide").entryList(QDir::Files), QStringList("Scorvex.reg"));
}

TEST_F(SettingsFile, AGiantFileIsReadOnlyUpToItsCap) {
  QByteArray bytes = kKeyHeader + "\"Time\"=dword:00000064\n";
  const QByteArray filler = "\"Junk\"=\"" + QByteArray(1000, 'j') + "\"\n";
  while (bytes.size() < QtSettingsKey::maxFileBytes - 10) bytes += filler;
  // A value cut by the cap is not read as a shorter one; values beyond it are not read at all.
  bytes += "\"Speed\"=dword:00000005\n";
  while (bytes.size() < 50 << 20) bytes += filler;
  bytes += "\"Monitor\"=dword:00000001\n";
  putFile(bytes);
  QtSettingsKey key(kKeyPath);
  ASSERT_TRUE(key.openExisting());
  EXPECT_EQ(key.readInteger("Time").value, 100);
  EXPECT_EQ(key.readInteger("Speed").status, Status::Missing);
  EXPECT_EQ(key.readInteger("Monitor").status, Status::Missing);
  key.close();
}

TEST_F(SettingsFile, FailuresToSaveGiveTheReasonAndLeaveTheOldFile) {
  // The configuration folder cannot be made: a file stands where it would go.
  putFile(home_.path() + "/blocked", "x");
  qputenv("XDG_CONFIG_HOME", (home_.path() + "/blocked/config").toUtf8());
  QtSettingsKey blocked(kKeyPath);
  EXPECT_EQ(blocked.storeName(), home_.path() + "/blocked/config/Merrowtide/Scorvex.reg");
  EXPECT_FALSE(blocked.openOrCreate());
  blocked.holdWrites();
  writeConsoleGroup(blocked, TSettings(), QRect(0, 0, 436, 549));
  QString reason;
  EXPECT_FALSE(blocked.commit(&reason));
  EXPECT_EQ(reason, "Not a directory");
  EXPECT_FALSE(blocked.openExisting());

  // Something that is not a file stands where the settings file would go.
  qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
  ASSERT_TRUE(QDir().mkpath(filePath()));
  QtSettingsKey key(kKeyPath);
  EXPECT_FALSE(key.openExisting());
  EXPECT_FALSE(key.openOrCreate());
  writeConsoleGroup(key, TSettings(), QRect(0, 0, 436, 549));
  EXPECT_TRUE(QFileInfo(filePath()).isDir());

  // The folder takes no more data (full disk, read-only folder): the old file stays.
  ASSERT_TRUE(QDir().rmdir(filePath()));
  putFile(kKeyHeader + "\"Time\"=dword:00000064\n");
  QtSettingsKey full(kKeyPath);
  {
    FailingSaves failing(home_.path() + "/Merrowtide");
    full.holdWrites();
    writeConsoleGroup(full, TSettings(), QRect(0, 0, 436, 549));
    reason.clear();
    EXPECT_FALSE(full.commit(&reason));
  }
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_EQ(fileBytes(), kKeyHeader + "\"Time\"=dword:00000064\n");
  EXPECT_EQ(QDir(home_.path() + "/Merrowtide").entryList(QDir::Files), QStringList("Scorvex.reg"));
}

}  // namespace
