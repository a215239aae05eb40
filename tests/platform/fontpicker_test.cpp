#include "platform/fontpicker.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

int styleBits(const QFont& font) {
  return (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
         (font.strikeOut() ? 8 : 0);
}

QFont fontWith(const QString& family, int bits) {
  QFont font(family, 30);
  font.setBold(bits & 1);
  font.setItalic(bits & 2);
  font.setUnderline(bits & 4);
  font.setStrikeOut(bits & 8);
  return font;
}

// Keys go where the operator's would: to the picker's focused field.
QWidget* focused(QDialog& picker) { return picker.focusWidget() ? picker.focusWidget() : &picker; }

// The picker as the configuration opens it, with `act` done to it once it shows.
std::optional<ColoredFont> pick(const ColoredFont& preset,
                                const std::function<void(QDialog&)>& act) {
  QTimer::singleShot(0, [&] {
    auto* picker = qobject_cast<FontPicker*>(QApplication::activeModalWidget());
    if (!picker) {
      ADD_FAILURE() << "no picker";
      return;
    }
    act(*picker);
  });
  return QtDialogs().pickFont(nullptr, preset);
}

TEST(FontPicker, GivesBackWhatWasChosenAndEscapeClosesItAll) {
  const QString face = FontPicker::offeredFamilies().value(0);
  ASSERT_FALSE(face.isEmpty());
  const auto key = [](Qt::Key k) {
    return [k](QDialog& picker) { QTest::keyClick(focused(picker), k); };
  };
  const auto tick = [](const char* box) {
    return [box](QDialog& picker) {
      for (QCheckBox* check : picker.findChildren<QCheckBox*>())
        if (check->text() == box) check->click();
      QTest::keyClick(focused(picker), Qt::Key_Return);
    };
  };
  struct Row {
    const char* name;
    QString family;
    int bits;
    std::function<void(QDialog&)> act;
    bool confirmed;
    int bitsAfter;
  } rows[] = {
      // OK without a change keeps the style: bold stays bold, not bold italic.
      {"bold, OK", face, 1, key(Qt::Key_Return), true, 1},
      {"plain, OK", face, 0, key(Qt::Key_Return), true, 0},
      {"all four, OK", face, 15, key(Qt::Key_Return), true, 15},
      {"bold, Kursiv ticked", face, 1, tick("Kursiv"), true, 3},
      {"bold italic, Fett unticked", face, 3, tick("Fett"), true, 2},
      {"Escape", face, 1, key(Qt::Key_Escape), false, 0},
      // A face the system stands in for comes back under its own name.
      {"a face not installed", "Scorvex Nowhere Sans", 1, key(Qt::Key_Return), true, 1},
  };
  for (const Row& row : rows) {
    const ColoredFont preset{fontWith(row.family, row.bits), 0x123456};
    const std::optional<ColoredFont> chosen = pick(preset, row.act);
    // Escape leaves nothing of the picker open.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << row.name;
    ASSERT_EQ(chosen.has_value(), row.confirmed) << row.name;
    if (!chosen) continue;
    EXPECT_EQ(styleBits(chosen->font), row.bitsAfter) << row.name;
    EXPECT_EQ(chosen->font.family(), row.family) << row.name;
    EXPECT_EQ(chosen->font.pointSize(), 30) << row.name;
    EXPECT_EQ(chosen->color, TColor(0x123456)) << row.name;
  }
}

TEST(FontPicker, AnotherFaceChosenInTheListComesBack) {
  const QStringList faces = FontPicker::offeredFamilies();
  ASSERT_GE(faces.size(), 2);
  const auto chosen = pick({fontWith(faces[0], 1), colors::white}, [&](QDialog& picker) {
    auto* list = picker.findChild<QListWidget*>("families");
    list->setCurrentItem(list->findItems(faces[1], Qt::MatchFixedString).value(0));
    QTest::keyClick(list, Qt::Key_Return);
  });
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->font.family(), faces[1]);
  EXPECT_TRUE(chosen->font.bold());
}

// Picks `color` in the colour picker that opens next, or closes it with Escape.
void answerColorPicker(std::optional<QColor> color) {
  QTimer::singleShot(0, [color] {
    auto* picker = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (!picker) {
      ADD_FAILURE() << "no colour picker";
      return;
    }
    if (!color) return QTest::keyClick(picker, Qt::Key_Escape);
    picker->setCurrentColor(*color);
    picker->accept();
  });
}

TEST(ColorPickers, TheChosenColourComesBackAndEscapeGivesNothing) {
  QtDialogs dialogs;
  answerColorPicker(QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(dialogs.pickColor(nullptr, colors::navy), std::optional<TColor>(0x563412));
  answerColorPicker(std::nullopt);
  EXPECT_EQ(dialogs.pickColor(nullptr, colors::navy), std::nullopt);
  // The font picker's colour button opens the same picker.
  const auto chosen = pick({fontWith(FontPicker::offeredFamilies().value(0), 0), colors::white},
                           [](QDialog& picker) {
                             answerColorPicker(QColor(0xFF, 0, 0));
                             picker.findChild<QPushButton*>("color")->click();
                             picker.accept();
                           });
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->color, colors::red);
}

}  // namespace
