#include "platform/programfolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

TEST(ProgramFolder, BesideTheExecutableWhenWritableElseTheUsersFolderWhichIsCreated) {
  QTemporaryDir temp;
  const QString executable = temp.filePath("bin"), user = temp.filePath("share/Scorvex");
  ASSERT_TRUE(QDir().mkpath(executable));
  EXPECT_EQ(chooseProgramFolder(executable, user), executable);
  EXPECT_FALSE(QDir(user).exists());

  // A folder the user cannot write to: one that does not exist, since root may write anywhere.
  EXPECT_EQ(chooseProgramFolder(temp.filePath("opt/bin"), user), user);
  EXPECT_TRUE(QDir(user).exists());

  // An installed program, even where its user may write.
  const QString marker = installedMarker(executable);
  ASSERT_TRUE(QDir().mkpath(QFileInfo(marker).absolutePath()));
  QFile entry(marker);
  ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
  EXPECT_EQ(chooseProgramFolder(executable, user), user);
}

}  // namespace
