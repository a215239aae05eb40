#include "widgets/forminfo.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "platform/identity.h"
#include "support/fakes.h"
#include "widgets/appicon.h"

namespace {

class InfoWindow : public ::testing::Test {
 protected:
  InfoWindow() { info.show(); }

  FakeDialogs dialogs;
  TFormInfo info{dialogs};
};

TEST_F(InfoWindow, ControlsSitAtTheirPlacesAndTheTitleBarHasNoButtons) {
  EXPECT_EQ(info.windowTitle(), "Information");
  EXPECT_EQ(info.size(), QSize(256, 356));
  EXPECT_FALSE(info.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(info.windowFlags() & Qt::WindowSystemMenuHint);
  const struct {
    QWidget* control;
    QRect bounds;
  } rows[] = {
      {info.Image1, {10, 4, 238, 65}},  {info.Panel1, {8, 48, 38, 38}},
      {info.ImageICON, {3, 3, 32, 32}}, {info.sOK, {56, 277, 145, 28}},
      {info.Lab, {8, 307, 238, 30}},    {info.Label2, {55, 338, 137, 13}},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.control->geometry(), row.bounds) << row.control->objectName().toStdString();
  EXPECT_EQ(info.Label1->text(), "Scorvex");
  EXPECT_EQ(info.LabelVer->text(), QString("Version %1 (27.12.2010)").arg(identity::kVersion));
  EXPECT_EQ(info.LabelVer->geometry().right(), info.Label1->geometry().right());
  EXPECT_EQ(info.Lab->text(),
            "Lob und Kritik, Verbesserungsvorschläge,\n"
            "Fragen und Bestellungen bitte schriftlich über");
  EXPECT_EQ(info.sOK->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(info.ImageICON->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
            applicationIconImage(32).convertToFormat(QImage::Format_ARGB32));
}

TEST_F(InfoWindow, EscapeAndEinverstandenCloseOtherKeysDoNot) {
  const struct {
    const char* name;
    std::function<void(TFormInfo&)> act;
    bool closes;
  } rows[] = {
      {"Einverstanden", [](TFormInfo& w) { QTest::mouseClick(w.sOK, Qt::LeftButton); }, true},
      {"Escape", [](TFormInfo& w) { QTest::keyClick(&w, Qt::Key_Escape); }, true},
      {"Enter", [](TFormInfo& w) { QTest::keyClick(&w, Qt::Key_Enter); }, false},
      {"Return", [](TFormInfo& w) { QTest::keyClick(&w, Qt::Key_Return); }, false},
      {"Space", [](TFormInfo& w) { QTest::keyClick(&w, Qt::Key_Space); }, false},
  };
  for (const auto& row : rows) {
    info.show();
    row.act(info);
    EXPECT_EQ(info.isHidden(), row.closes) << row.name;
  }
}

TEST_F(InfoWindow, BannerAndAddressOpenTheContactPageAndTheWindowStays) {
  QTest::mouseClick(info.Image1, Qt::LeftButton);
  QTest::mouseClick(info.Label2, Qt::LeftButton);
  EXPECT_EQ(dialogs.opened, QStringList({identity::kContactUrl, identity::kContactUrl}));
  EXPECT_TRUE(info.isVisible());
}

}  // namespace
