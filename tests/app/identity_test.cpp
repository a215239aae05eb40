#include "platform/identity.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <memory>

#include "app/formctrl.h"
#include "commands/commands.h"
#include "config/cfgdialog.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "display/tablo.h"
#include "platform/programfolder.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "support/fakes.h"
#include "widgets/appicon.h"
#include "widgets/dlgyesno.h"
#include "widgets/forminfo.h"

namespace {

// The five windows as the program creates them.
struct Windows {
  Windows() { console.attachWindows(&yesNo, &display, &config, &info); }

  FakePlatform fake;
  Settings settings;
  MatchSession session{settings, fake.platform, QString()};
  TFormCtrl console{fake.platform, session};
  TFDlgYesNo yesNo{identity::kTitle, &console};
  TFormTablo display{fake.platform, settings, session.match()};
  TCfgDialog config{fake.platform, QString(), &console};
  TFormInfo info{fake.dialogs, &console};
};

TEST(ProgramIdentity, EveryWindowShowsTheApplicationIcon) {
  Windows w;
  const qint64 icon = applicationIcon().cacheKey();
  for (QWidget* window :
       std::initializer_list<QWidget*>{&w.console, &w.yesNo, &w.display, &w.config, &w.info})
    EXPECT_EQ(window->windowIcon().cacheKey(), icon) << window->objectName().toStdString();
  // Drawn when asked for, at each of its sizes as the installed icon files are.
  EXPECT_EQ(applicationIcon().availableSizes().size(), applicationIconSizes().size());
  for (int size : {16, 48, 256})
    EXPECT_EQ(applicationIcon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32),
              applicationIconImage(size).convertToFormat(QImage::Format_ARGB32))
        << size;
}

TEST(ProgramIdentity, ConsoleLinkAndInformationWindowOpenTheSamePage) {
  Windows w;
  w.console.show();
  QTest::mouseClick(w.console.Image1, Qt::LeftButton);
  EXPECT_EQ(w.fake.dialogs.opened, QStringList{identity::kContactUrl});
  EXPECT_FALSE(w.console.Image1->pixmap().isNull());
  EXPECT_EQ(w.console.windowTitle(), QString("Scorvex ") + identity::kVersion);
}

TEST(ProgramIdentity, HelpShowsTheFileBesideTheProgramOnlyWhenItExists) {
  Windows w;
  const QString helpFile = programFile("chm");
  ASSERT_FALSE(QFile::exists(helpFile));
  w.console.Help1Click();
  EXPECT_TRUE(w.fake.help.shown.isEmpty());

  QFile file(helpFile);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  w.console.Help1Click();
  file.remove();
  EXPECT_EQ(w.fake.help.shown, QStringList{helpFile});
}

}  // namespace
