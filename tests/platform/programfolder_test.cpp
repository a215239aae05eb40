#include "platform/programfolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

TEST(ProgramFolder, BesideTheExecutableWhenWritableElseTheUsersFolderWhichIsCreated) {
  QTemporaryDir temp;
  const QString executable = temp.filePath("bin"), user = temp.filePath("share/Scorvex");
  ASSERT_TRUE(QDir().mkpath(executable));
  EXPECT_EQ(chooseProgramFolder(executable, user), executable);
  EXPECT_FALSE(QDir(user).exists());

  // A folder the user cannot write to: one that does not exist, since root may write anywhere.
  const QString locked = temp.filePath("usr/bin");
  EXPECT_EQ(chooseProgramFolder(locked, user), user);
  EXPECT_TRUE(QDir(user).exists());
}

}  // namespace
