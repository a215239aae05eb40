#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/instancelock.h"

namespace {

// Not being able to make a lock is no sign of another program: the start goes on, and the
// reason is there to be told.
TEST(InstanceLockUnix, ALockThatCannotBeMadeIsToldNotTakenForAnotherProgram) {
  QTemporaryDir folder;
  QFile blocking(folder.filePath("run"));
  ASSERT_TRUE(blocking.open(QIODevice::WriteOnly));
  blocking.close();
  InstanceLock lock({folder.filePath("state")}, folder.filePath("run"));
  EXPECT_TRUE(lock.acquire());
  ASSERT_EQ(lock.problems().size(), 1);
  EXPECT_TRUE(lock.problems()[0].contains(folder.filePath("state")))
      << qPrintable(lock.problems()[0]);
}

}  // namespace
