#include "config/cfgdialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "config/periodlength.h"
#include "config/teamsfile.h"
#include "settings/printers.h"
#include "support/fakes.h"

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(PeriodLength, FieldTextAndConversion) {
  struct Row {
    const char* name;
    int seconds;
    const char* text;
  };
  for (const Row& r : {Row{"five minutes", 300, "05:00"}, Row{"handball half", 2700, "45:00"},
                       Row{"largest", 3599, "59:59"}, Row{"an hour", 3600, "60:00"},
                       Row{"beyond the field", 7200, "99:00"}, Row{"negative", -5, "00:00"}}) {
    EXPECT_EQ(periodLengthText(r.seconds), r.text) << r.name;
  }
  struct Parse {
    const char* text;
    std::optional<int> seconds;
  };
  for (const Parse& p :
       {Parse{"00:45:00", 2700}, Parse{"00:20:00", 1200}, Parse{"00:59:59", 3599},
        Parse{"00:75:00", std::nullopt}, Parse{"00:20:60", std::nullopt}, Parse{"00:4:00", 240},
        Parse{"00:4 :00", std::nullopt}, Parse{"00:45", std::nullopt}}) {
    EXPECT_EQ(periodSeconds(p.text), p.seconds) << p.text;
  }
}

TEST(TeamsFile, SortedIgnoringCaseWithoutBlankLines) {
  QTemporaryDir dir;
  const QString path = dir.filePath(TeamsFile::fileName);
  EXPECT_FALSE(TeamsFile::read(path).has_value());
  writeFile(path, "Gamma\r\n\r\nalpha\r\n  \r\nBeta\r\n");
  EXPECT_EQ(TeamsFile::read(path), QStringList({"alpha", "Beta", "Gamma"}));
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(QDir(dir.path()).mkdir(TeamsFile::fileName));
  EXPECT_FALSE(TeamsFile::read(path).has_value());
}

class CfgDialog : public ::testing::Test {
 protected:
  CfgDialog() : dialog(fake.platform, dir.path()) {
    fake.desktop.monitors = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    record.Time = 300;
    record.Monitor = 1;
    record.Comanda1 = "beta";
    record.C[2] = colors::navy;
    record.CNames = "Heim - Gast";
    record.Fonts = TSettings().Fonts;
    record.Fonts[1].color = colors::red;
    writeFile(dir.filePath("teams.txt"), "Gamma\nalpha\nBeta\n");
  }
  void open() {
    dialog.fill(record);
    dialog.show();
  }

  QTemporaryDir dir;
  FakePlatform fake;
  TSettings record;
  TCfgDialog dialog;
};

TEST_F(CfgDialog, ShowingFillsTheFieldsFromTheRecord) {
  record.TitelType = 1;
  record.TitelType2 = dir.filePath("teams.txt");  // an existing file: still no picker on filling
  open();
  EXPECT_EQ(dialog.windowTitle(), "Einstellungen");
  EXPECT_EQ(dialog.meTime->text(), "05:00");
  EXPECT_EQ(dialog.eNames->text(), "Heim - Gast");
  EXPECT_EQ(dialog.bComanda1->toolTip(), "beta");
  EXPECT_TRUE(dialog.bComanda1->isEnabled());
  EXPECT_TRUE(dialog.RadioButton1->isChecked());
  EXPECT_FALSE(dialog.eTitleFile->isEnabled());
  EXPECT_TRUE(fake.dialogs.fileRequests.isEmpty());
  ASSERT_EQ(dialog.cbMonitor->count(), 2);
  EXPECT_EQ(dialog.cbMonitor->itemText(0), "1=(1920x1080)");
  EXPECT_EQ(dialog.cbMonitor->itemText(1), "2=(1280x1024)");
  EXPECT_EQ(dialog.selectedMonitor(), 1);
  EXPECT_EQ(dialog.cbColor2->color(), colors::navy);
  EXPECT_EQ(dialog.cbColorF2->color(), colors::red);
  EXPECT_EQ(dialog.cbColorFRS->color(), colors::yellow);

  TSettings taken = record;
  taken.TitelType = 7;
  dialog.takeSettings(taken);
  EXPECT_EQ(taken, record);  // nothing touched, nothing changes
}

TEST_F(CfgDialog, OneMonitorIsNotConnectedAndNoTeamsFileDisablesTheTeamButtons) {
  fake.desktop.monitors = {QRect(0, 0, 1024, 768)};
  QFile::remove(dir.filePath("teams.txt"));
  open();
  EXPECT_FALSE(dialog.cbMonitor->isEnabled());
  EXPECT_EQ(dialog.cbMonitor->currentText(), "nicht angeschlossen");
  EXPECT_FALSE(dialog.bComanda1->isEnabled());
  EXPECT_FALSE(dialog.bComanda2->isEnabled());
}

TEST_F(CfgDialog, TeamListPreselectsIgnoringCaseAndRebuildsTheNames) {
  open();
  dialog.bComandaClick(1);
  ASSERT_TRUE(dialog.ListBox1->isVisible());
  EXPECT_EQ(dialog.ListBox1->currentItem()->text(), "Beta");
  dialog.ListBox1Click();  // left without a click
  EXPECT_FALSE(dialog.ListBox1->isVisible());
  EXPECT_EQ(dialog.eNames->text(), "Beta - GAST");

  dialog.eNames->setText("edited by hand");
  dialog.bComandaClick(2);  // "GAST" is not in the list: no preselection, the first is taken
  EXPECT_TRUE(dialog.ListBox1->selectedItems().isEmpty());
  dialog.ListBox1Click();
  EXPECT_EQ(dialog.eNames->text(), "Beta - alpha");
  EXPECT_EQ(dialog.bComanda2->toolTip(), "alpha");

  TSettings taken = record;
  dialog.takeSettings(taken);
  EXPECT_EQ(taken.Comanda1, "Beta");
  EXPECT_EQ(taken.Comanda2, "alpha");
}

TEST_F(CfgDialog, ColourPanelsPresetThePickerAndFontColoursLeaveAtOnce) {
  open();
  QSignalSpy fontChosen(&dialog, &TCfgDialog::elementFontChosen);
  dialog.cbColor1Click(dialog.cbColor2);  // cancelled
  dialog.cbColor1Click(dialog.cbColor2);
  fake.dialogs.colorToPick = colors::teal;
  dialog.cbColor1Click(dialog.cbColorF1);  // a font panel keeps what the picker showed last
  EXPECT_EQ(fake.dialogs.colorPresets, QList<TColor>({colors::navy, colors::navy, colors::navy}));
  EXPECT_EQ(dialog.cbColor2->color(), colors::navy);
  EXPECT_EQ(dialog.cbColorF1->color(), colors::teal);
  ASSERT_EQ(fontChosen.count(), 1);
  EXPECT_EQ(fontChosen[0][0].toInt(), 0);
  EXPECT_EQ(fontChosen[0][1].value<ElementFont>().color, colors::teal);

  dialog.cbColor1Click(dialog.cbColor4);  // background colours wait for OK
  EXPECT_EQ(fontChosen.count(), 1);
  EXPECT_EQ(dialog.backgroundColors()[4], colors::teal);
}

TEST_F(CfgDialog, FontPickerShowsEighteenPointsAndTakesFaceStyleAndColour) {
  open();
  QSignalSpy fontChosen(&dialog, &TCfgDialog::elementFontChosen);
  QFont chosen("Courier New", 30);
  chosen.setItalic(true);
  fake.dialogs.fontToPick = ColoredFont{chosen, colors::lime};
  dialog.bFontClick(2);
  ASSERT_EQ(fake.dialogs.fontPresets.size(), 1);
  EXPECT_EQ(fake.dialogs.fontPresets[0].font.pointSize(), 18);
  EXPECT_EQ(fake.dialogs.fontPresets[0].font.family(), "Arial");
  EXPECT_TRUE(fake.dialogs.fontPresets[0].font.bold());
  EXPECT_EQ(fake.dialogs.fontPresets[0].color, colors::red);
  ASSERT_EQ(fontChosen.count(), 1);
  const auto font = fontChosen[0][1].value<ElementFont>();
  EXPECT_EQ(font.face, "Courier New");
  EXPECT_EQ(font.style, 2);
  EXPECT_EQ(font.color, colors::lime);
  EXPECT_EQ(dialog.cbColorF2->color(), colors::lime);

  fake.dialogs.fontToPick.reset();
  dialog.bFontClick(5);
  EXPECT_EQ(fontChosen.count(), 1);
}

TEST_F(CfgDialog, PictureTitleOpensThePickerOnlyAfterFilling) {
  const QString picture = dir.filePath("title.jpg");
  writeFile(picture, "x");
  record.TitelType = 2;
  record.TitelType2 = picture;
  open();
  EXPECT_TRUE(fake.dialogs.fileRequests.isEmpty());
  EXPECT_FALSE(dialog.eTitle->isEnabled());

  fake.dialogs.fileToPick = dir.filePath("other.gif");
  dialog.eTitleFile->showPopup();
  ASSERT_EQ(fake.dialogs.fileRequests.size(), 1);
  EXPECT_EQ(fake.dialogs.fileRequests[0].file, picture);
  EXPECT_EQ(fake.dialogs.fileRequests[0].folder, dir.path());
  EXPECT_EQ(dialog.eTitleFile->currentText(), QDir::toNativeSeparators(dir.filePath("other.gif")));

  dialog.RadioButton1->click();
  TSettings taken = record;
  dialog.takeSettings(taken);
  EXPECT_EQ(taken.TitelType, 1);
  EXPECT_TRUE(dialog.eTitle->isEnabled());
}

TEST_F(CfgDialog, SoundPickerStartsInTheSoundsFolder) {
  record.SoundFile = dir.filePath("sounds/horn.wav");
  open();
  fake.dialogs.fileToPick = dir.filePath("end.wav");
  dialog.bSound->click();
  ASSERT_EQ(fake.dialogs.fileRequests.size(), 1);
  EXPECT_EQ(fake.dialogs.fileRequests[0].folder, dir.filePath("sounds"));
  EXPECT_EQ(fake.dialogs.fileRequests[0].defaultSuffix, "wav");
  EXPECT_EQ(dialog.eSound->text(), QDir::toNativeSeparators(dir.filePath("end.wav")));
}

TEST_F(CfgDialog, DefaultResetsTheLookButNotNamesTitleOrMonitor) {
  record.Speed = 4;
  record.VidTablo = 3;
  record.C = {colors::red, colors::red, colors::red, colors::red, colors::red};
  open();
  dialog.eTitle->setText("Finale");
  QSignalSpy reset(&dialog, &TCfgDialog::elementFontsReset);
  dialog.bDefault2->click();
  EXPECT_EQ(dialog.backgroundColors(), TSettings().C);
  EXPECT_EQ(dialog.cbColorF2->color(), colors::white);
  EXPECT_EQ(dialog.cbColorFRS->color(), colors::yellow);
  EXPECT_EQ(dialog.runSpeed(), 1);
  EXPECT_EQ(dialog.meTime->text(), "45:00");
  EXPECT_EQ(dialog.seVid->currentIndex(), 1);
  ASSERT_EQ(reset.count(), 1);
  EXPECT_EQ(dialog.fonts()[1].color, colors::white);
  EXPECT_EQ(dialog.eNames->text(), "Heim - Gast");
  EXPECT_EQ(dialog.titleText(), "Finale");
  EXPECT_EQ(dialog.selectedMonitor(), 1);
}

TEST_F(CfgDialog, SpinFieldsGoToTheNearestBoundOnLeaving) {
  open();
  struct Row {
    SpinEdit* field;
    const char* typed;
    int value;
  };
  for (const Row& r : {Row{dialog.seRunSpeed, "9", 5}, Row{dialog.seRunSpeed, "", 1},
                       Row{dialog.seSoundTime, "400", 300}, Row{dialog.seSoundTime, "-", 0},
                       Row{dialog.seSoundTime, "45", 45}}) {
    r.field->findChild<QLineEdit*>()->setText(r.typed);
    r.field->interpretText();
    EXPECT_EQ(r.field->value(), r.value) << r.typed;
  }
}

TEST_F(CfgDialog, AnUnfilledPeriodLengthCannotBeLeftOrConfirmed) {
  open();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.meTime->setFocus();
  dialog.meTime->setText("4");
  QTest::keyClick(dialog.meTime, Qt::Key_Tab);
  QTRY_COMPARE(fake.dialogs.errors.size(), 1);
  EXPECT_EQ(fake.dialogs.errors[0], "Invalid input value.  Use escape key to abandon changes");
  EXPECT_TRUE(dialog.meTime->hasFocus());

  QSignalSpy accepted(&dialog, &QDialog::accepted);
  dialog.OKBtn->click();
  EXPECT_EQ(fake.dialogs.errors.size(), 2);
  EXPECT_TRUE(dialog.isVisible());
  QTest::keyClick(dialog.meTime, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(accepted.count(), 0);
  EXPECT_EQ(fake.dialogs.errors.size(), 2);
}

TEST_F(CfgDialog, ASportOffersItsLengthsAndTheBreakMustBeATime) {
  record.BreakTime = 420;
  open();
  EXPECT_EQ(dialog.meBreak->text(), "07:00");
  dialog.cbSport->setCurrentIndex(dialog.cbSport->findData("handball"));
  emit dialog.cbSport->activated(dialog.cbSport->currentIndex());
  EXPECT_EQ(dialog.meTime->text(), "30:00");
  EXPECT_EQ(dialog.meBreak->text(), "10:00");

  QSignalSpy accepted(&dialog, &QDialog::accepted);
  for (const char* refused : {"75:00", "12:3"}) {
    dialog.meBreak->setText(refused);
    dialog.OKBtn->click();
    EXPECT_EQ(accepted.count(), 0) << refused;
  }
  EXPECT_EQ(fake.dialogs.errors,
            QStringList({"Die Pause \"75:00\" ist keine Zeit von 00:00 bis 59:59.",
                         "Die Pause \"12:3\" ist keine Zeit von 00:00 bis 59:59."}));
  dialog.meBreak->setText("12:30");
  dialog.OKBtn->click();
  EXPECT_EQ(accepted.count(), 1);
  const ConfirmedConfiguration c = dialog.confirmed(record);
  EXPECT_EQ(c.record.Sport, "handball");
  EXPECT_EQ(c.record.BreakTime, 750);
}

}  // namespace
