// The journal's file, the program's folders, the sound player and the help engine on Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "platform/helpviewer.h"
#include "platform/module.h"
#include "platform/os/journalfile.h"
#include "platform/programfolder.h"
#include "platform/sound.h"

namespace {

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(JournalFileWin, AppendsAtTheEndOfWhatIsThereAndOthersMayReadMeanwhile) {
  QTemporaryDir folder;
  const QString path = folder.filePath("current.journal");
  {
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("line 1\n");
  }
  JournalFile file(path);
  ASSERT_TRUE(file.isOpen()) << qPrintable(file.errorString());
  const QByteArray big(300000, 'x');
  EXPECT_TRUE(file.append("line 2\n"));
  EXPECT_TRUE(file.append(big + "\n"));
  // In the system's hands at once: a reader sees it while the journal is open.
  EXPECT_EQ(contents(path), "line 1\nline 2\n" + big + "\n");
  // But no one else may write into it.
  QFile intruder(path);
  EXPECT_FALSE(intruder.open(QIODevice::Append));
  file.close();
  EXPECT_FALSE(file.isOpen());
  EXPECT_FALSE(file.append("after close\n"));
  JournalFile again(path);
  EXPECT_TRUE(again.append("line 4\n"));
  again.close();
  EXPECT_EQ(contents(path), "line 1\nline 2\n" + big + "\nline 4\n");
}

TEST(JournalFileWin, AFolderThatDoesNotExistIsToldInTheSystemsWords) {
  QTemporaryDir folder;
  JournalFile file(folder.filePath("missing/current.journal"));
  EXPECT_FALSE(file.isOpen());
  EXPECT_FALSE(file.errorString().isEmpty());
  EXPECT_FALSE(file.append("x\n"));
}

TEST(JournalFileWin, AJournalMovedWhileOpenKeepsItsWritesAndTheFolderStaysUsable) {
  QTemporaryDir folder;
  const QString path = folder.filePath("current.journal");
  JournalFile file(path);
  ASSERT_TRUE(file.append("before\n"));
  // The store moves a finished journal away; the file was opened to allow that.
  ASSERT_TRUE(QDir().mkpath(folder.filePath("matches")));
  EXPECT_TRUE(QFile::rename(path, folder.filePath("matches/1.journal")));
  EXPECT_TRUE(file.append("after\n"));
  file.close();
  syncFolder(folder.filePath("matches"));
  EXPECT_EQ(contents(folder.filePath("matches/1.journal")), "before\nafter\n");
}

TEST(WindowsFolders, JournalUnderLocalAppDataUserFilesUnderAppData) {
  const QString local = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
  const QString roaming = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
  ASSERT_FALSE(local.isEmpty());
  ASSERT_FALSE(roaming.isEmpty());
  EXPECT_EQ(defaultJournalFolder(), local + "/Merrowtide/Scorvex");
  EXPECT_EQ(userDataFolder(), roaming + "/Merrowtide/Scorvex");
  // The system's folders read as writable whatever their rights; the probe does not.
  EXPECT_TRUE(folderIsWritable(QDir::tempPath()));
  EXPECT_FALSE(folderIsWritable(QDir::tempPath() + "/no such folder"));
}

// A WAVE file of `ms` milliseconds of a quiet tone.
QString writeWave(const QString& path, int ms) {
  const int rate = 8000, samples = rate * ms / 1000;
  QByteArray data;
  for (int i = 0; i < samples; ++i) data.append(char(128 + ((i / 8) % 2 ? 20 : -20)));
  QByteArray wave = "RIFF";
  auto u32 = [&](quint32 v) { wave.append(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](quint16 v) { wave.append(reinterpret_cast<const char*>(&v), 2); };
  u32(36 + data.size());
  wave += "WAVEfmt ";
  u32(16), u16(1), u16(1), u32(rate), u32(rate), u16(1), u16(8);
  wave += "data";
  u32(data.size());
  wave += data;
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(wave);
  return path;
}

TEST(SoundWin, TheModuleLoadsPlaysAndReportsAFileItCannotPlay) {
  QTemporaryDir folder;
  const QString tone = writeWave(folder.filePath("tone.wav"), 3000);
  // The module built beside the program (build-win/app).
  const QString module =
      QDir(QCoreApplication::applicationDirPath()).filePath("../app/scorvex-sound.dll");
  ASSERT_TRUE(QFile::exists(module));
  QLibrary library;
  QString reason;
  const auto create =
      reinterpret_cast<SoundFactory>(loadModule(library, {module}, kSoundFactoryName, reason));
  ASSERT_TRUE(create) << qPrintable(reason);
  const std::unique_ptr<SoundPlayer> sound(create());
  QStringList failed;
  sound->setFailure([&](const QString& file, const QString&) { failed << file; });
  sound->play(tone, false);
  sound->play(tone, true);
  sound->playWave(hornWave(kHornShortMs));
  sound->play(folder.filePath("missing.wav"), false);
  sound->stopAll();
  EXPECT_EQ(failed, QStringList{folder.filePath("missing.wav")});
  EXPECT_TRUE(
      QFileInfo(systemNotificationSound()).fileName().compare("tada.wav", Qt::CaseInsensitive) ==
      0);
}

// The HTML Help library is there (else the viewer would have asked the user at start) and a
// help file that is missing opens nothing (a wait for it would end in the run's time limit).
TEST(HelpWin, TheHelpEngineLoadsAndAMissingFileReturnsAtOnce) {
  QTemporaryDir folder;
  EXPECT_EQ(GetModuleHandleA("hhctrl.ocx"), nullptr);
  {
    SystemHelpViewer help;
    EXPECT_NE(GetModuleHandleA("hhctrl.ocx"), nullptr);
    help.showContents(nullptr, folder.filePath("missing.chm"));
  }
  // The library goes with the viewer.
  EXPECT_EQ(GetModuleHandleA("hhctrl.ocx"), nullptr);
}

}  // namespace
