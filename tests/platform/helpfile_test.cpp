#include "platform/helpfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

namespace {

void touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// Two folders as beside the program and installed; each row names the manuals present.
TEST(HelpFile, TheManualInTheSessionsLanguageFromTheFirstFolderThatHasOne) {
  struct Row {
    const char* name;
    QStringList present;  // relative to the temporary folder
    const char* locale;
    const char* shown;  // relative, empty for none
  } rows[] = {
      {"German session",
       {"beside/handbuch.html", "beside/manual.html"},
       "de_DE",
       "beside/handbuch.html"},
      {"Austrian session",
       {"beside/handbuch.html", "beside/manual.html"},
       "de_AT",
       "beside/handbuch.html"},
      {"English session",
       {"beside/handbuch.html", "beside/manual.html"},
       "en_GB",
       "beside/manual.html"},
      {"French session takes English",
       {"beside/handbuch.html", "beside/manual.html"},
       "fr_FR",
       "beside/manual.html"},
      {"only German there", {"beside/handbuch.html"}, "en_US", "beside/handbuch.html"},
      {"only English there", {"beside/manual.html"}, "de_DE", "beside/manual.html"},
      {"installed only", {"installed/handbuch.html"}, "de_DE", "installed/handbuch.html"},
      {"beside wins",
       {"beside/manual.html", "installed/handbuch.html"},
       "de_DE",
       "beside/manual.html"},
      {"a folder of that name is no manual", {"beside/handbuch.html/x"}, "de_DE", ""},
      {"none", {}, "de_DE", ""},
  };
  for (const Row& row : rows) {
    QTemporaryDir dir;
    for (const QString& file : row.present) touch(dir.filePath(file));
    const QString found =
        findManual({dir.filePath("beside"), dir.filePath("installed")}, QLocale(row.locale));
    const QString expected = *row.shown ? dir.filePath(row.shown) : QString();
    EXPECT_EQ(found.toStdString(), expected.toStdString()) << row.name;
  }
}

TEST(HelpFile, AChmFileBesideTheProgramComesFirst) {
  QTemporaryDir dir;
  const QString chm = dir.filePath("scorvex.chm");
  touch(chm);
  EXPECT_EQ(helpToShow(chm), chm);
}

}  // namespace
