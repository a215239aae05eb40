#include "settings/settingsgroups.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/match.h"
#include "printers.h"
#include "settings/settingssave.h"
#include "support/fakes.h"

namespace {

const QStringList kConsoleReadOrder = {"CountDown",   "Time",
                                       "Monitor",     "Comanda1",
                                       "Comanda2",    "TitelType",
                                       "TitelType1",  "TitelType2",
                                       "L",           "T",
                                       "W",           "H",
                                       "Speed",       "SLoop",
                                       "SoundTime",   "SoundFile",
                                       "StrReset",    "RemoteOn",
                                       "RemotePort",  "RemoteOverlayToken",
                                       "Muted",       "RemoteColor1",
                                       "RemoteColor2"};

QStringList displayReadOrder() {
  QStringList names = {"CNames", "Title", "C0", "C1", "C2", "C3", "C4"};
  for (int n = 1; n <= 5; ++n)
    names << QString("FC%1").arg(n) << QString("FN%1").arg(n) << QString("FS%1").arg(n);
  names.append({"VidTablo", "Wt", "Ht", "Xt", "Yt", "FullScr"});
  return names;
}

// The names of the values a read took, in reading order; the sport and the break have tests
// of their own.
QStringList readNames(const ConsoleGroup& g) {
  QStringList names = g.names();
  names.removeIf([](const QString& name) { return !kConsoleReadOrder.contains(name); });
  return names;
}

QStringList readNames(const DisplayGroup& g) { return g.names(); }

void writeDisplayDefaults(SettingsKey& key) {
  writeDisplayGroup(key, TSettings(), defaultPlaces().displaySize, defaultPlaces().displayPosition);
}

// A key holding both complete groups.
void storeBothGroups(FakeSettingsKey& key) {
  TSettings settings;
  settings.SoundFile = "Ton-ende.wav";
  writeConsoleGroup(key, settings, QRect(10, 20, 436, 549));
  writeDisplayDefaults(key);
  key.writeOrder.clear();
}

void removeValue(FakeSettingsKey& key, const QString& name) {
  key.texts.remove(name);
  key.integers.remove(name);
}

void flipKind(FakeSettingsKey& key, const QString& name) {
  if (key.integers.contains(name))
    key.writeText(name, "7");
  else
    key.writeInteger(name, 7);
}

// Refuses to write one named value; everything else goes to the fake.
class RefusingKey final : public SettingsKey {
 public:
  RefusingKey(FakeSettingsKey& inner, QString refused) : inner_(inner), refused_(refused) {}
  bool openExisting() override { return inner_.openExisting(); }
  bool openOrCreate() override { return inner_.openOrCreate(); }
  Text readText(const QString& name) override { return inner_.readText(name); }
  Integer readInteger(const QString& name) override { return inner_.readInteger(name); }
  bool writeText(const QString& name, const QString& value) override {
    return name != refused_ && inner_.writeText(name, value);
  }
  bool writeInteger(const QString& name, qint32 value) override {
    return name != refused_ && inner_.writeInteger(name, value);
  }
  bool close() override { return inner_.close(); }
  void holdWrites() override { inner_.holdWrites(); }
  bool commit(QString* reason) override { return inner_.commit(reason); }
  QString storeName() const override { return inner_.storeName(); }

 private:
  FakeSettingsKey& inner_;
  QString refused_;
};

}  // namespace

TEST(SettingsGroups, FirstStartReadsNothingAndKeepsEveryDefault) {
  FakeSettingsKey key;  // no key yet
  TSettings settings;
  applyConsoleGroup(readConsoleGroup(key), settings);
  const DisplayGroup display = readDisplayGroup(key);
  applyDisplayGroup(display, settings);

  EXPECT_TRUE(readNames(readConsoleGroup(key)).isEmpty());
  EXPECT_TRUE(readNames(display).isEmpty());
  EXPECT_FALSE(key.exists);
  EXPECT_TRUE(settings == TSettings());
  // The display's title and the dialog's title text differ until the first configuration.
  EXPECT_EQ(settings.Title, "TITEL");
  EXPECT_EQ(settings.TitelType1, "SPIELTITEL");
}

// Any integer-like value missing or mistyped, or any text mistyped, ends its group there.
TEST(SettingsGroups, FirstUnreadableValueEndsTheConsoleGroup) {
  for (int i = 0; i < kConsoleReadOrder.size(); ++i) {
    const QString& name = kConsoleReadOrder[i];
    SCOPED_TRACE(name.toStdString());
    FakeSettingsKey key;
    storeBothGroups(key);
    const bool isText = key.texts.contains(name);
    flipKind(key, name);
    EXPECT_EQ(readNames(readConsoleGroup(key)), kConsoleReadOrder.mid(0, i));

    removeValue(key, name);
    QStringList expected = kConsoleReadOrder.mid(0, i);
    if (isText) {  // a missing text reads as empty and the group goes on
      expected = kConsoleReadOrder;
      if (name == "SoundFile") expected.removeOne(name);
    }
    EXPECT_EQ(readNames(readConsoleGroup(key)), expected);
    // The display group is read independently.
    EXPECT_EQ(readNames(readDisplayGroup(key)), displayReadOrder());
  }
}

TEST(SettingsGroups, FirstUnreadableValueEndsTheDisplayGroup) {
  const QStringList order = displayReadOrder();
  for (int i = 0; i < order.size(); ++i) {
    const QString& name = order[i];
    SCOPED_TRACE(name.toStdString());
    FakeSettingsKey key;
    storeBothGroups(key);
    const bool isText = key.texts.contains(name);
    flipKind(key, name);
    EXPECT_EQ(readNames(readDisplayGroup(key)), order.mid(0, i));

    removeValue(key, name);
    QStringList expected = order.mid(0, i);
    if (isText) {  // missing names or title read as empty; a missing face changes nothing
      expected = order;
      if (name.startsWith("FN")) expected.removeOne(name);
    }
    EXPECT_EQ(readNames(readDisplayGroup(key)), expected);
  }
}

TEST(SettingsGroups, TextsReadAsStoredAndEmptyOnesAppliedOrNotByName) {
  FakeSettingsKey key;
  storeBothGroups(key);
  removeValue(key, "CNames");
  key.writeText("Title", "Pokal");
  key.writeText("FN3", "");
  key.writeText("FN2", "Liberation Sans Narrow Condensed Extra");
  key.writeText("SoundFile", "");
  key.writeText("Comanda1", "");
  key.writeText("Comanda2", QString(1 << 20, u'x'));  // a damaged store's megabyte of name
  key.writeText("TitelType1", QString(255, u'a') + QString::fromUcs4(U"\U0001F600"));
  key.writeText("TitelType2", QString(5000, u'p'));

  const DisplayGroup display = readDisplayGroup(key);
  EXPECT_EQ(display.text("CNames"), QString());
  EXPECT_EQ(display.text("Title"), "Pokal");
  EXPECT_FALSE(display.has("FN3"));
  EXPECT_EQ(display.text("FN2"), "Liberation Sans Narrow Condense");  // 31 characters
  EXPECT_EQ(display.text("FN2")->size(), kMaxFaceLength);

  TSettings settings;
  settings.SoundFile = "Ton-ende.wav";  // the start-up choice
  applyConsoleGroup(readConsoleGroup(key), settings);
  EXPECT_EQ(settings.SoundFile, "Ton-ende.wav");
  EXPECT_EQ(settings.Comanda1, "");
  EXPECT_EQ(settings.Comanda2, QString(kMaxTextLength, u'x'));
  EXPECT_EQ(settings.TitelType1, QString(255, u'a'));
  EXPECT_EQ(settings.TitelType2.size(), kMaxPathLength);
}

TEST(SettingsGroups, ColoursReachTheDisplayOnlyWhenAllFiveAreRead) {
  FakeSettingsKey key;
  storeBothGroups(key);
  key.writeInteger("C0", qint32(colors::btnFace));  // a system colour is a negative integer
  key.writeInteger("C1", qint32(colors::teal));
  removeValue(key, "C2");

  const DisplayGroup display = readDisplayGroup(key);
  TSettings settings;
  applyDisplayGroup(display, settings);
  EXPECT_FALSE(display.colorsComplete());
  EXPECT_EQ(settings.C[0], colors::btnFace);
  EXPECT_EQ(settings.C[1], colors::teal);
  EXPECT_EQ(settings.C[2], colors::navy);
  EXPECT_EQ(readNames(display), QStringList({"CNames", "Title", "C0", "C1"}));
}

TEST(SettingsGroups, StyleBitsSwitchFontStyles) {
  struct Row {
    int bits;
    bool bold, italic, underline, strikeOut;
    int back;
  };
  const Row rows[] = {{6, false, true, true, false, 6},       {1, true, false, false, false, 1},
                      {15, true, true, true, true, 15},       {0, false, false, false, false, 0},
                      {16 | 8, false, false, false, true, 8}, {-1, true, true, true, true, 15}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.bits);
    QFont font("Arial");
    StyleFromBits(font, 15);  // every style on before: StyleFromBits clears first
    StyleFromBits(font, row.bits);
    EXPECT_EQ(font.bold(), row.bold);
    EXPECT_EQ(font.italic(), row.italic);
    EXPECT_EQ(font.underline(), row.underline);
    EXPECT_EQ(font.strikeOut(), row.strikeOut);
    EXPECT_EQ(StyleToBits(font), row.back);
  }
}

TEST(SettingsGroups, GroupsAreWrittenInOrderAndEachAsItsKind) {
  FakeSettingsKey key;
  TSettings settings;
  settings.StrReset = true;
  writeConsoleGroup(key, settings, QRect(-5, 30, 436, 549));
  EXPECT_EQ(key.writeOrder, QStringList({"L",
                                         "T",
                                         "W",
                                         "H",
                                         "CountDown",
                                         "Time",
                                         "Comanda1",
                                         "Comanda2",
                                         "TitelType",
                                         "TitelType1",
                                         "TitelType2",
                                         "Monitor",
                                         "Speed",
                                         "SLoop",
                                         "SoundTime",
                                         "SoundFile",
                                         "StrReset",
                                         "RemoteOn",
                                         "RemotePort",
                                         "RemoteOverlayToken",
                                         "Muted",
                                         "RemoteColor1",
                                         "RemoteColor2",
                                         "Sport",
                                         "BreakTime",
                                         "WarningOff"}));
  EXPECT_EQ(key.integers.value("L"), -5);
  EXPECT_EQ(key.integers.value("H"), 549);
  EXPECT_EQ(key.integers.value("StrReset"), 1);
  EXPECT_EQ(key.texts.value("TitelType2"), "C:\\....");

  key.writeOrder.clear();
  writeDisplayDefaults(key);
  QStringList displayOrder = displayReadOrder();
  for (const char* bounds : {"Yt", "Xt", "Ht", "Wt"})
    displayOrder.prepend(displayOrder.takeAt(displayOrder.indexOf(bounds)));
  EXPECT_EQ(key.writeOrder, displayOrder);
  EXPECT_EQ(key.integers.value("C2"), qint32(colors::navy));
  EXPECT_EQ(key.texts.value("FN5"), "Arial");
  EXPECT_EQ(key.integers.value("FullScr"), 1);
}

TEST(SettingsGroups, WritingStopsAtTheFirstFailureAndNeedsTheKey) {
  FakeSettingsKey fake;
  RefusingKey key(fake, "Comanda2");
  writeConsoleGroup(key, TSettings(), QRect(0, 0, 436, 549));
  EXPECT_EQ(fake.writeOrder, QStringList({"L", "T", "W", "H", "CountDown", "Time", "Comanda1"}));

  FakeSettingsKey locked;
  locked.writable = false;
  writeConsoleGroup(locked, TSettings(), QRect());
  writeDisplayDefaults(locked);
  EXPECT_TRUE(locked.writeOrder.isEmpty());
}

TEST(SettingsGroups, MonitorIndexOutsideTheMonitorsBecomesZero) {
  const struct {
    int stored, count, expected;
  } rows[] = {{0, 1, 0}, {1, 2, 1}, {2, 2, 0}, {-1, 2, 0}, {INT_MIN, 3, 0}, {5, 0, 0}};
  for (const auto& row : rows) EXPECT_EQ(validMonitorIndex(row.stored, row.count), row.expected);
}

TEST(SettingsGroups, SavingAtExitStoresBothGroupsAtOnceOrSaysWhyNot) {
  for (const QString& failure : {QString(), QString("No space left on device")}) {
    FakePlatform fake;
    fake.settings.commitFailure = failure;
    bool heldWhileWriting = false;
    const bool saved = saveSettingsAtExit(fake.settings, fake.dialogs, "Scorvex", [&] {
      writeDisplayDefaults(fake.settings);
      writeConsoleGroup(fake.settings, TSettings(), QRect(0, 0, 436, 549));
      heldWhileWriting = fake.settings.holding;
    });
    EXPECT_TRUE(heldWhileWriting);
    EXPECT_EQ(fake.settings.commits, 1);
    EXPECT_EQ(saved, failure.isEmpty());
    EXPECT_EQ(fake.dialogs.errors, failure.isEmpty()
                                       ? QStringList()
                                       : QStringList("Die Einstellungen konnten nicht in "
                                                     "\"/fake/Scorvex.reg\" gespeichert werden: "
                                                     "No space left on device."));
  }
}

TEST(SettingsGroups, AStoredSportNamesAPresetOrFallsBackToStandard) {
  const struct {
    const char* name;
    std::function<void(FakeSettingsKey&)> store;
    const char* sport;
    bool refused;  // told on stderr and written back as "standard"
  } rows[] = {
      {"written before sports", [](FakeSettingsKey& k) { removeValue(k, "Sport"); }, "standard",
       false},
      {"handball", [](FakeSettingsKey& k) { k.writeText("Sport", "handball"); }, "handball", false},
      {"unknown", [](FakeSettingsKey& k) { k.writeText("Sport", "rugby"); }, "standard", true},
      {"empty", [](FakeSettingsKey& k) { k.writeText("Sport", ""); }, "standard", true},
      {"case matters", [](FakeSettingsKey& k) { k.writeText("Sport", "Futsal"); }, "standard",
       true},
      {"a number", [](FakeSettingsKey& k) { flipKind(k, "Sport"); }, "standard", true},
  };
  for (const auto& row : rows) {
    FakeSettingsKey key;
    storeBothGroups(key);
    row.store(key);
    const ConsoleGroup group = readConsoleGroup(key);
    TSettings settings;
    settings.Sport = "icehockey";  // whatever was there is replaced when a value was stored
    applyConsoleGroup(group, settings);
    EXPECT_EQ(settings.Sport, group.has("Sport") ? row.sport : "icehockey") << row.name;
    EXPECT_EQ(group.sportRefused(), row.refused) << row.name;
    // The group read on past nothing: the remote's values before it are all there.
    EXPECT_TRUE(group.has("RemoteOverlayToken")) << row.name;
  }
}

// "kein Warnton" as stored, or where nothing is stored the sport's default: off in the presets.
TEST(SettingsGroups, TheWarningIsOffInAPresetUnlessStoredOn) {
  const struct {
    const char* sport;
    std::optional<int> stored;
    bool warningOff;
  } rows[] = {{"handball", std::nullopt, true},
              {"standard", std::nullopt, false},
              {"handball", 0, false},
              {"standard", 1, true}};
  for (const auto& row : rows) {
    FakeSettingsKey key;
    storeBothGroups(key);
    key.writeText("Sport", row.sport);
    key.writeInteger("BreakTime", 600);
    if (row.stored)
      key.writeInteger("WarningOff", *row.stored);
    else
      removeValue(key, "WarningOff");
    TSettings settings;
    applyConsoleGroup(readConsoleGroup(key), settings);
    EXPECT_EQ(settings.WarningOff, row.warningOff) << row.sport << " " << row.stored.value_or(-1);
  }
}

TEST(SettingsGroups, AStoredBreakFitsTheDialogOrIsTheSportsOwn) {
  const struct {
    const char* name;
    std::function<void(FakeSettingsKey&)> store;
    int breakTime;
  } rows[] = {
      {"stored", [](FakeSettingsKey& k) { k.writeInteger("BreakTime", 420); }, 420},
      {"none at all", [](FakeSettingsKey& k) { k.writeInteger("BreakTime", 0); }, 0},
      {"written before it", [](FakeSettingsKey& k) { removeValue(k, "BreakTime"); }, 600},
      {"negative", [](FakeSettingsKey& k) { k.writeInteger("BreakTime", -1); }, 600},
      {"an hour", [](FakeSettingsKey& k) { k.writeInteger("BreakTime", 3600); }, 600},
      {"a text", [](FakeSettingsKey& k) { flipKind(k, "BreakTime"); }, 600},
  };
  for (const auto& row : rows) {
    FakeSettingsKey key;
    storeBothGroups(key);
    key.writeText("Sport", "handball");
    row.store(key);
    TSettings settings;
    applyConsoleGroup(readConsoleGroup(key), settings);
    EXPECT_EQ(settings.BreakTime, row.breakTime) << row.name;
  }
}

// Each row of the table, given a value of its own, stores it under its name and brings it back
// to where it lives: a row that reads or writes another row's field fails here.
TEST(SettingsGroups, EachValueGoesOutUnderItsNameAndComesBackWhereItLives) {
  TSettings settings;
  WindowPlaces places;
  std::vector<SettingValue> values;
  for (const Setting& s : settingsTable()) {
    const qint32 n = qint32(values.size());
    switch (s.kind) {
      case SettingKind::Text:
        values.push_back(s.name == "Sport" ? QString("handball") : s.name + "!");
        break;
      case SettingKind::Boolean:
        values.push_back(n % 2);
        break;
      case SettingKind::Style:
        values.push_back(n % 16);
        break;
      default:
        values.push_back(100 + n);
    }
    s.set(settings, places, values.back());
  }
  FakeSettingsKey key;
  writeConsoleGroup(key, settings, places.console);
  writeDisplayGroup(key, settings, places.displaySize, places.displayPosition);
  const ConsoleGroup console = readConsoleGroup(key);
  const DisplayGroup display = readDisplayGroup(key);
  TSettings read;
  applyConsoleGroup(console, read);
  applyDisplayGroup(display, read);
  EXPECT_TRUE(read == settings);

  const auto& table = settingsTable();
  for (size_t i = 0; i < table.size(); ++i) {
    const Setting& s = table[i];
    SCOPED_TRACE(s.name.toStdString());
    EXPECT_EQ(s.get(settings, places), values[i]);
    const StoredGroup& group = s.group == SettingGroup::Console ? static_cast<StoredGroup>(console)
                                                                : static_cast<StoredGroup>(display);
    if (s.kind == SettingKind::Text) {
      EXPECT_EQ(key.texts.value(s.name), std::get<QString>(values[i]));
      EXPECT_EQ(group.text(s.name), std::get<QString>(values[i]));
    } else {
      EXPECT_EQ(key.integers.value(s.name), std::get<qint32>(values[i]));
      EXPECT_EQ(group.integer(s.name), std::get<qint32>(values[i]));
    }
  }
}

// The period length is read in the range the match journal reads it in, so a stored one never
// makes the journal of a crashed match unreadable.
TEST(SettingsGroups, AStoredPeriodFitsTheJournal) {
  const struct {
    int stored;
    int read;
  } rows[] = {{1200, 1200},
              {0, 0},
              {Match::kMaxPeriodLength, Match::kMaxPeriodLength},
              {Match::kMaxPeriodLength + 1, 2700},
              {-5, 2700}};
  for (const auto& row : rows) {
    FakeSettingsKey key;
    storeBothGroups(key);
    key.writeInteger("Time", row.stored);
    TSettings settings;
    applyConsoleGroup(readConsoleGroup(key), settings);
    EXPECT_EQ(settings.Time, row.read) << row.stored;
  }
}
