// The settings key in the Windows registry, checked against the registry itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include "platform/settingskey_qt.h"

namespace {

using Status = SettingsKey::Status;

// A key of its own below HKEY_CURRENT_USER per test, removed before and after.
struct TestKey {
  explicit TestKey(const QString& name) : path("Software\\Merrowtide\\ScorvexTest\\" + name) {
    remove();
  }
  ~TestKey() { remove(); }
  void remove() const { RegDeleteTreeW(HKEY_CURRENT_USER, path.toStdWString().c_str()); }
  QString keyPath() const { return "\\" + path; }

  // The value as the registry has it: its type, and its data as text or number.
  struct Raw {
    DWORD type = REG_NONE;
    QString text;
    quint32 number = 0;
  };
  Raw raw(const QString& name) const {
    Raw r;
    wchar_t data[512] = {};
    DWORD size = sizeof data;
    const LSTATUS status =
        RegGetValueW(HKEY_CURRENT_USER, path.toStdWString().c_str(), name.toStdWString().c_str(),
                     RRF_RT_ANY | RRF_NOEXPAND, &r.type, data, &size);
    // Too long for the buffer: the type only. Any other failure may leave anything in the type.
    if (status == ERROR_MORE_DATA) return {r.type};
    if (status != ERROR_SUCCESS) return {};
    if (r.type == REG_DWORD) r.number = *reinterpret_cast<const quint32*>(data);
    if (r.type == REG_SZ || r.type == REG_EXPAND_SZ) r.text = QString::fromWCharArray(data);
    return r;
  }
  void setRaw(const QString& name, DWORD type, const void* data, DWORD size) const {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, path.toStdWString().c_str(),
                              name.toStdWString().c_str(), type, data, size),
              ERROR_SUCCESS);
  }
  // The value names in the registry's own order.
  QStringList names() const {
    HKEY key;
    QStringList list;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.toStdWString().c_str(), 0, KEY_READ, &key))
      return list;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)) break;
      list.append(QString::fromWCharArray(name, int(length)));
    }
    RegCloseKey(key);
    return list;
  }
  QString path;
};

TEST(RegistryKey, TextsAndIntegersComeBackAsWrittenAndAreRegSzAndRegDword) {
  TestKey test("RoundTrip");
  struct Row {
    QString name, text;
  };
  const Row texts[] = {{"Comanda1", "HEIM"},
                       {"Empty", ""},
                       {"At", "@Variant(looks like Qt's own)"},
                       {"Umlaut", QString::fromUtf8("Halle \"Süd\" – C:\\Bilder\\Logo.jpg")},
                       {"Long", QString(2000, u'x')}};
  const struct {
    QString name;
    qint32 value;
  } integers[] = {{"Wt", 1920}, {"Zero", 0}, {"Negative", -1}, {"Min", INT32_MIN}};
  {
    QtSettingsKey key(test.keyPath());
    ASSERT_FALSE(key.openExisting());
    ASSERT_TRUE(key.openOrCreate());
    for (const Row& row : texts) EXPECT_TRUE(key.writeText(row.name, row.text));
    for (const auto& row : integers) EXPECT_TRUE(key.writeInteger(row.name, row.value));
    ASSERT_TRUE(key.close());
  }
  for (const Row& row : texts) {
    EXPECT_EQ(test.raw(row.name).type, DWORD(REG_SZ)) << qPrintable(row.name);
    if (row.text.size() < 500) EXPECT_EQ(test.raw(row.name).text, row.text);
  }
  for (const auto& row : integers) {
    EXPECT_EQ(test.raw(row.name).type, DWORD(REG_DWORD)) << qPrintable(row.name);
    EXPECT_EQ(qint32(test.raw(row.name).number), row.value) << qPrintable(row.name);
  }
  QtSettingsKey key(test.keyPath());
  ASSERT_TRUE(key.openExisting());
  for (const Row& row : texts) {
    const SettingsKey::Text read = key.readText(row.name);
    EXPECT_EQ(read.status, Status::Ok) << qPrintable(row.name);
    EXPECT_EQ(read.value, row.text) << qPrintable(row.name);
  }
  for (const auto& row : integers) {
    const SettingsKey::Integer read = key.readInteger(row.name);
    EXPECT_EQ(read.status, Status::Ok) << qPrintable(row.name);
    EXPECT_EQ(read.value, row.value) << qPrintable(row.name);
  }
  EXPECT_TRUE(key.close());
  EXPECT_EQ(key.storeName(), "HKEY_CURRENT_USER\\" + test.path);
}

TEST(RegistryKey, ValuesOfOtherKindsReadAsWrongKindAndMissingOnesAsMissing) {
  TestKey test("Kinds");
  const DWORD number = 7;
  const wchar_t text[] = L"7";
  const wchar_t expandable[] = L"%WINDIR%\\Media";
  const char binary[] = {1, 2, 3};
  test.setRaw("Number", REG_DWORD, &number, sizeof number);
  test.setRaw("Text", REG_SZ, text, sizeof text);
  test.setRaw("Expandable", REG_EXPAND_SZ, expandable, sizeof expandable);
  test.setRaw("Binary", REG_BINARY, binary, sizeof binary);
  QtSettingsKey key(test.keyPath());
  ASSERT_TRUE(key.openExisting());
  const struct {
    const char* name;
    Status asText, asInteger;
  } rows[] = {{"Number", Status::WrongKind, Status::Ok},
              {"Text", Status::Ok, Status::WrongKind},
              {"Expandable", Status::Ok, Status::WrongKind},
              {"Binary", Status::WrongKind, Status::WrongKind},
              {"Absent", Status::Missing, Status::Missing}};
  for (const auto& row : rows) {
    EXPECT_EQ(key.readText(row.name).status, row.asText) << row.name;
    EXPECT_EQ(key.readInteger(row.name).status, row.asInteger) << row.name;
  }
  // Unexpanded, as stored; names compare without case.
  EXPECT_EQ(key.readText("Expandable").value, "%WINDIR%\\Media");
  EXPECT_EQ(key.readInteger("NUMBER").value, 7);
  key.close();
}

TEST(RegistryKey, HeldWritesReachTheRegistryOnlyAtCommitInTheOrderOfTheirNames) {
  TestKey test("Held");
  QtSettingsKey key(test.keyPath());
  key.holdWrites();
  ASSERT_TRUE(key.openOrCreate());
  key.writeText("Zeit", "first");
  key.writeInteger("Alpha", 1);
  key.writeText("zeit", "second");  // the same value: names compare without case
  ASSERT_TRUE(key.close());
  ASSERT_TRUE(key.openOrCreate());
  key.writeInteger("Mitte", 2);
  // Readable before it is stored, but not yet in the registry.
  EXPECT_EQ(key.readText("ZEIT").value, "second");
  ASSERT_TRUE(key.close());
  EXPECT_EQ(test.raw("Alpha").type, DWORD(REG_NONE));
  QString reason = "untouched";
  ASSERT_TRUE(key.commit(&reason));
  EXPECT_EQ(reason, "untouched");
  EXPECT_EQ(test.names(), QStringList({"Alpha", "Mitte", "Zeit"}));
  EXPECT_EQ(test.raw("Zeit").text, "second");
}

TEST(RegistryKey, ReadingAKeyThatDoesNotExistCreatesNothing) {
  TestKey test("Absent");
  QtSettingsKey key(test.keyPath());
  EXPECT_FALSE(key.openExisting());
  EXPECT_EQ(key.readText("Comanda1").status, Status::Missing);
  EXPECT_TRUE(key.close());
  HKEY handle;
  EXPECT_NE(
      RegOpenKeyExW(HKEY_CURRENT_USER, test.path.toStdWString().c_str(), 0, KEY_READ, &handle),
      ERROR_SUCCESS);
  // Writing without opening for writing stores nothing.
  EXPECT_FALSE(key.writeInteger("Wt", 1));
}

// The writer of the kill test below: stores generation after generation of the same values
// until it is killed. Runs only when the test starts it.
constexpr int kValues = 200;
TEST(RegistryKill, Writer) {
  const QString path = qEnvironmentVariable("SCORVEX_REGISTRY_WRITER");
  if (path.isEmpty()) GTEST_SKIP() << "started by RegistryKill.EveryValueIsOldOrNewNeverTorn";
  for (int generation = 1;; ++generation) {
    QtSettingsKey key(path);
    key.openOrCreate();
    for (int i = 0; i < kValues; ++i)
      key.writeText(QString("V%1").arg(i, 3, 10, QChar('0')),
                    QString("generation %1 ").arg(generation).repeated(20));
    key.writeInteger("Generation", generation);
    key.close();
  }
}

TEST(RegistryKill, EveryValueIsOldOrNewNeverTorn) {
  TestKey test("Kill");
  QProcess writer;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("SCORVEX_REGISTRY_WRITER", test.keyPath());
  writer.setProcessEnvironment(environment);
  writer.start(QCoreApplication::applicationFilePath(),
               {"--gtest_filter=RegistryKill.Writer", "--gtest_also_run_disabled_tests"});
  ASSERT_TRUE(writer.waitForStarted());
  // Killed while it writes: once a few generations are stored.
  for (int i = 0; i < 300 && qint32(test.raw("Generation").number) < 3; ++i) QThread::msleep(20);
  writer.kill();  // TerminateProcess: no clean-up of any kind
  writer.waitForFinished();
  const int stored = qint32(test.raw("Generation").number);
  ASSERT_GE(stored, 3);
  QtSettingsKey key(test.keyPath());
  ASSERT_TRUE(key.openExisting());
  for (int i = 0; i < kValues; ++i) {
    const SettingsKey::Text read = key.readText(QString("V%1").arg(i, 3, 10, QChar('0')));
    ASSERT_EQ(read.status, Status::Ok) << i;
    // "Generation" is stored first (names in order): each value is of that generation or,
    // not reached before the kill, of the one before.
    const bool old = read.value == QString("generation %1 ").arg(stored - 1).repeated(20);
    const bool stored_ = read.value == QString("generation %1 ").arg(stored).repeated(20);
    EXPECT_TRUE(old || stored_) << i << ": " << qPrintable(read.value.left(40));
  }
  key.close();
}

}  // namespace
