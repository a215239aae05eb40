// The configuration command: the dialog opened over both windows, answered by a script.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>

#include "app/formctrl.h"
#include "commands/commands.h"
#include "config/cfgdialog.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "display/framemerrowtide.h"
#include "display/tablo.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "support/fakes.h"
#include "ticker/runstring.h"
#include "widgets/dlgyesno.h"
#include "widgets/label3d.h"
#include "widgets/picturebox.h"

namespace {

class Configuration : public ::testing::Test {
 protected:
  Configuration() {
    fake.desktop.monitors = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    console = std::make_unique<TFormCtrl>(fake.platform, session);
    yesNo = std::make_unique<TFDlgYesNo>("Scorvex", console.get());
    display = std::make_unique<TFormTablo>(fake.platform, settings, match);
    dialog = std::make_unique<TCfgDialog>(fake.platform, dir.path(), console.get());
    console->attachWindows(yesNo.get(), display.get(), dialog.get(), nullptr);
    display->show();
  }

  // Opens the dialog with F2's command, lets `edit` change its fields, then presses OK or
  // "Abbrechen".
  void configure(const std::function<void(TCfgDialog&)>& edit, bool ok = true) {
    QTimer::singleShot(0, dialog.get(), [&] {
      edit(*dialog);
      (ok ? dialog->OKBtn : dialog->bCancel)->click();
    });
    console->CFG1Click();
  }
  void runClock(int ms) {
    for (int t = 0; t < ms; t += 200) {
      fake.tick.advance(200);
      commands.clockTick();
    }
  }

  QTemporaryDir dir;
  FakePlatform fake;
  Settings settings;
  MatchSession session{settings, fake.platform, dir.path()};
  Match& match = session.match();
  Commands& commands = session.commands();
  std::unique_ptr<TFormCtrl> console;
  std::unique_ptr<TFDlgYesNo> yesNo;
  std::unique_ptr<TFormTablo> display;
  std::unique_ptr<TCfgDialog> dialog;
};

// What needs a window manager's frames: run on X by tests/x11/with-window-manager.sh, which
// sets SCORVEX_ON_X; skipped on the offscreen platform.
class ConfigurationOnX : public Configuration {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() == "xcb") return;
    if (qEnvironmentVariableIsSet("SCORVEX_ON_X")) FAIL() << "not on X";
    GTEST_SKIP() << "needs X with a window manager";
  }
};

TEST_F(Configuration, PeriodLengthShowsItsStartValueOnBothClocks) {
  struct Row {
    bool countDown, paused;
    const char* shown;
  };
  for (const Row& row :
       {Row{true, false, "20:00"}, Row{false, false, "0:00"}, Row{true, true, "20:00"}}) {
    match.reset();
    settings.change([&](TSettings& s) { s.CountDown = row.countDown; });
    if (row.paused) {
      console->bPlayClick();
      runClock(5000);
      console->bPlayClick();
    }
    configure([](TCfgDialog& d) { d.meTime->setText("20:00"); });
    EXPECT_EQ(settings.record().Time, 1200);
    EXPECT_EQ(console->LabelTime->caption(), row.shown) << row.countDown << row.paused;
    EXPECT_EQ(display->Label2->caption(), row.shown) << row.countDown << row.paused;
  }
  // A paused clock goes on from where it stood, in the new period length.
  console->bPlayClick();
  runClock(1000);
  EXPECT_EQ(console->LabelTime->caption(), "19:54");
}

TEST_F(Configuration, RefusedPeriodLengthKeepsOnlyTheFieldsBeforeIt) {
  console->LabStrafe_Click(0);
  console->bPlayClick();
  runClock(2000);
  const TSettings before = settings.record();
  const QRect clockBounds = display->Label2->geometry();
  configure([](TCfgDialog& d) {
    d.meTime->setText("75:00");
    d.seVid->setCurrentIndex(2);
    d.eTitle->setText("POKAL");
    d.eNames->setText("A - B");
    d.seRunSpeed->setValue(5);
  });
  EXPECT_EQ(fake.dialogs.errors, QStringList{"'00:75:00' is not a valid time."});
  const TSettings& s = settings.record();
  EXPECT_EQ(s.VidTablo, 2);
  EXPECT_EQ(s.TitelType1, "POKAL");
  EXPECT_EQ(s.Time, before.Time);
  EXPECT_EQ(s.Title, before.Title);
  EXPECT_EQ(s.CNames, before.CNames);
  EXPECT_EQ(s.Speed, before.Speed);
  EXPECT_EQ(display->Label2->geometry(), clockBounds);  // the layout waits for a valid length
  EXPECT_TRUE(display->LabelStraf1a->isVisible());
  // Both windows keep the view they showed: the running penalty is seen on both and can be
  // cancelled on the console.
  EXPECT_FALSE(console->LabStrafe1_1->isHidden());
  runClock(1000);
  EXPECT_EQ(console->LabStrafe1_1->caption(), "1:57");
  EXPECT_EQ(display->LabelStraf1a->caption(), "1:57");
  console->LabStrafe_Click(0);
  EXPECT_FALSE(match.state().penalties[0].active);
}

TEST_F(Configuration, ConfirmingStopsARunningPenaltyUntilItIsClicked) {
  console->LabStrafe_Click(0);
  console->bPlayClick();
  runClock(10'000);
  configure([](TCfgDialog&) {});
  EXPECT_FALSE(match.state().penalties[0].active);
  EXPECT_EQ(console->LabStrafe1_1->caption(), "1:50");
  EXPECT_EQ(console->LabStrafe1_1->fontColor(), settings.record().C[4]);
  EXPECT_EQ(display->LabelStraf1a->fontColor(), display->Label4->color());
  runClock(3000);
  EXPECT_EQ(console->LabStrafe1_1->caption(), "1:50");
  // Resumed as if it had never been stopped.
  console->LabStrafe_Click(0);
  runClock(1000);
  EXPECT_EQ(console->LabStrafe1_1->caption(), "1:46");
}

TEST_F(Configuration, ViewHidesOrShowsThePenaltyTimesOnBothWindows) {
  for (const auto& [view, shown] : {std::pair{2, false}, std::pair{1, true}}) {
    configure([view](TCfgDialog& d) { d.seVid->setCurrentIndex(view); });
    EXPECT_EQ(console->LabStrafe2_2->isVisibleTo(console.get()), shown) << view;
    EXPECT_EQ(display->LabelStraf2b->isVisible(), shown) << view;
  }
}

TEST_F(Configuration, TextsColoursAndStepReachTheDisplay) {
  fake.dialogs.colorToPick = colors::red;
  configure([](TCfgDialog& d) {
    d.eTitle->setText("POKAL");
    d.eNames->setText("Nord - Süd");
    d.seRunSpeed->setValue(5);
    d.cbColor4->clicked();
  });
  EXPECT_EQ(display->Label1->caption(), "POKAL");
  EXPECT_EQ(display->Label3->caption(), "Nord - Süd");
  EXPECT_EQ(console->LabelNameCommands->caption(), "Nord - Süd");
  EXPECT_EQ(display->Label4->color(), colors::red);
  EXPECT_EQ(display->RunLabel->OneStep(), 5);
}

TEST_F(Configuration, OnlyAChangedMonitorEntryMovesTheDisplay) {
  settings.change([](TSettings& s) { s.FullScr = false; });
  display->ApplyScreenMode();
  display->setGeometry(100, 100, 640, 480);
  configure([](TCfgDialog&) {});
  EXPECT_EQ(display->geometry(), QRect(100, 100, 640, 480));
  configure([](TCfgDialog& d) { d.cbMonitor->setCurrentIndex(1); });
  EXPECT_EQ(settings.record().Monitor, 1);
  EXPECT_EQ(display->frameGeometry(), QRect(1920, 0, 1280, 1024));
}

TEST_F(ConfigurationOnX, OtherMonitorAndWindowModeInOneOkPutTheFrameOnTheMonitor) {
  // Full screen on the first monitor, once the window shown in window mode is settled.
  ASSERT_TRUE(QTest::qWaitForWindowExposed(display.get(), 10'000));
  display->ApplyScreenMode();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return display->windowHandle()->isExposed() &&
               display->frameGeometry() == QRect(0, 0, 1920, 1080);
      },
      10'000));
  configure([](TCfgDialog& d) {
    d.cbMonitor->setCurrentIndex(1);
    d.cbFullScreen->setChecked(false);
  });
  // The window manager draws the frame a moment after the window is shown with one.
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return display->frameGeometry() != display->geometry(); }, 10'000));
  const QRect monitor(1920, 0, 1280, 1024);
  QTest::qWaitFor([&] { return display->frameGeometry() == monitor; }, 3000);
  const auto bounds = [&] {
    const QRect f = display->frameGeometry(), g = display->geometry();
    return QString("frame %1,%2 %3x%4, client %5,%6 %7x%8")
        .arg(f.x())
        .arg(f.y())
        .arg(f.width())
        .arg(f.height())
        .arg(g.x())
        .arg(g.y())
        .arg(g.width())
        .arg(g.height())
        .toStdString();
  };
  EXPECT_EQ(display->frameGeometry(), monitor) << bounds();
  EXPECT_TRUE(monitor.contains(display->geometry())) << bounds();
}

// In window mode the display is laid out again once the window manager has framed it: the
// maker's mark is a 13th of the outer height, not of the client's.
TEST_F(ConfigurationOnX, TheFrameArrivingLaysTheWindowOutAgain) {
  settings.change([](TSettings& s) { s.FullScr = false; });
  display->ApplyScreenMode();
  display->resize(1024, 768);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(display.get(), 10'000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return display->frameGeometry().height() > display->height(); },
                              10'000));
  QTest::qWait(200);
  EXPECT_EQ(display->FrameMerrowtide1->height(), display->frameGeometry().height() / 13);
}

TEST_F(Configuration, AbbrechenKeepsEverythingButTheFontsChosenLive) {
  const TSettings before = settings.record();
  fake.dialogs.colorToPick = colors::lime;
  configure(
      [](TCfgDialog& d) {
        d.meTime->setText("20:00");
        d.eTitle->setText("POKAL");
        d.cbColorF1->clicked();
      },
      false);
  TSettings expected = before;
  expected.Fonts[0].color = colors::lime;
  EXPECT_EQ(settings.record(), expected);
  EXPECT_EQ(display->Label1->fontColor(), colors::lime);
}

TEST_F(Configuration, AClockPausedPastAShorterPeriodNeverShowsANegativeTime) {
  console->bPlayClick();
  runClock(7000);
  console->bPlayClick();
  configure([](TCfgDialog& d) { d.meTime->setText("00:05"); });
  EXPECT_EQ(display->Label2->caption(), "0:05");
  // F4 twice: up shows the period's end, down shows no time left.
  for (const char* shown : {"0:05", "0:00"}) {
    commands.toggleCountDown();
    EXPECT_EQ(console->LabelTime->caption(), shown);
    EXPECT_EQ(display->Label2->caption(), shown);
  }
}

TEST_F(Configuration, ATitlePictureThatAppearedLaterShowsAtTheNextOk) {
  const QString picture = dir.filePath("titel.bmp");
  fake.dialogs.fileToPick = picture;  // not there yet
  configure([](TCfgDialog& d) { d.RadioButton2->click(); });
  EXPECT_EQ(settings.record().TitelType2, QDir::toNativeSeparators(picture));
  EXPECT_FALSE(display->Image1->isVisible());
  EXPECT_TRUE(display->Label1->isVisible());

  QImage image(40, 10, QImage::Format_RGB32);
  image.fill(Qt::green);
  ASSERT_TRUE(image.save(picture, "BMP"));
  configure([](TCfgDialog&) {});  // OK without a change
  EXPECT_TRUE(display->Image1->isVisible());
  EXPECT_FALSE(display->Label1->isVisible());
  EXPECT_EQ(display->Image1->picture().size(), QSize(40, 10));
}

// An OK refused for its period length still reads the title picture again, as its path came
// before the period length.
TEST_F(Configuration, ARefusedOkReadsTheUnchangedTitlePictureAgain) {
  const QString picture = dir.filePath("titel.bmp");
  fake.dialogs.fileToPick = picture;
  QImage image(40, 10, QImage::Format_RGB32);
  image.fill(Qt::green);
  ASSERT_TRUE(image.save(picture, "BMP"));
  configure([](TCfgDialog& d) { d.RadioButton2->click(); });
  ASSERT_EQ(display->Image1->picture().size(), QSize(40, 10));

  ASSERT_TRUE(image.scaled(60, 20).save(picture, "BMP"));
  configure([](TCfgDialog& d) { d.meTime->setText("75:00"); });
  EXPECT_EQ(fake.dialogs.errors, QStringList{"'00:75:00' is not a valid time."});
  EXPECT_EQ(display->Image1->picture().size(), QSize(60, 20));
}

TEST_F(Configuration, DefaultPutsTheBaseFontOnThePeriodNumberEvenWhenCancelled) {
  ASSERT_FALSE(display->Label5->font().bold());  // the design's thin period number
  configure([](TCfgDialog& d) { d.bDefault2->click(); }, false);
  match.setPeriod(1);  // Alt+1
  for (const QFont& font : {display->Label5->font(), display->font()}) {
    EXPECT_EQ(font.family(), "Arial");
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
  }
  EXPECT_EQ(display->Label5->fontColor(), colors::white);
  EXPECT_TRUE(display->Label5->isVisible());
}

}  // namespace
