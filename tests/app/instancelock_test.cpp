#include "app/instancelock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

TEST(InstanceLock, ASecondProgramIsRefusedAndAsksTheFirstToComeForward) {
  QTemporaryDir folder;
  const QStringList places{folder.filePath("state"), folder.filePath("Scorvex.reg")};
  InstanceLock running(places, folder.filePath("run"));
  ASSERT_TRUE(running.acquire());
  EXPECT_TRUE(running.problems().isEmpty()) << qPrintable(running.problems().join('\n'));
  InstanceLock second(places, folder.filePath("run"));
  EXPECT_FALSE(second.acquire());
  QSignalSpy raised(&running, &InstanceLock::raiseRequested);
  second.askToRaise();
  EXPECT_TRUE(raised.wait(3000));
  // Only the settings are shared: still refused; nothing shared: a program of its own.
  InstanceLock sameSettings({folder.filePath("other"), places[1]}, folder.filePath("run"));
  EXPECT_FALSE(sameSettings.acquire());
  InstanceLock own({folder.filePath("other"), folder.filePath("other.reg")},
                   folder.filePath("run"));
  EXPECT_TRUE(own.acquire());
}

// A journal or settings folder that cannot be written (full, read-only, a file in its place)
// holds no lock: it never keeps the program from starting.
TEST(InstanceLock, PlacesThatCannotBeWrittenDoNotStopTheStart) {
  QTemporaryDir folder;
  QFile blocking(folder.filePath("blocked"));
  ASSERT_TRUE(blocking.open(QIODevice::WriteOnly));
  blocking.close();
  const QStringList places{folder.filePath("blocked/state"), folder.filePath("blocked/x.reg")};
  InstanceLock lock(places, folder.filePath("run"));
  EXPECT_TRUE(lock.acquire());
  EXPECT_TRUE(lock.problems().isEmpty());
  EXPECT_FALSE(QFile::exists(folder.filePath("blocked/state")));
}

// The lock of a killed program, whatever is left of it, never stops the next start; while the
// program lives, it holds.
TEST(InstanceLock, AKilledProgramsLockNeverStopsTheNextStart) {
  QTemporaryDir folder;
  const QString run = folder.filePath("run");
  const QStringList places{folder.filePath("state"), folder.filePath("Scorvex.reg")};
  const QString holder = QStandardPaths::findExecutable("scorvex_lockholder",
                                                        {QCoreApplication::applicationDirPath()});
  ASSERT_FALSE(holder.isEmpty());
  for (int start = 1; start <= 3; ++start) {
    QProcess program;
    program.start(holder, QStringList{run} + places);
    ASSERT_TRUE(program.waitForReadyRead(30'000)) << "start " << start;
    ASSERT_EQ(program.readAllStandardOutput().trimmed(), "held") << "start " << start;
    InstanceLock whileItRuns(places, run);
    EXPECT_FALSE(whileItRuns.acquire()) << "start " << start;
    program.kill();
    ASSERT_TRUE(program.waitForFinished(30'000));
    EXPECT_EQ(program.exitStatus(), QProcess::CrashExit) << "start " << start;
    InstanceLock next(places, run);
    EXPECT_TRUE(next.acquire()) << "start " << start;
  }
}

}  // namespace
