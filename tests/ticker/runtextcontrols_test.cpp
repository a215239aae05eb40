#include "ticker/runtextcontrols.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "commands/commands.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "platform/os/runlistfile.h"
#include "settings/settings.h"
#include "support/failingsaves.h"
#include "support/fakes.h"
#include "ticker/runstring.h"
#include "ticker/runtextview.h"
#include "widgets/fontsize.h"
#include "widgets/ovalbutton.h"

namespace {

// The console's three places for the controls and a ticker that shows the match's running
// text as the display does, driven by hand.
class RunTextConsole : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  void create(const QStringList* fileEntries = nullptr) {
    if (fileEntries) {
      ASSERT_TRUE(RunListFile::write(dir.filePath("Lauftext.txt"), *fileEntries));
    }
    auto* layout = new QVBoxLayout(&console);
    strip = new QWidget;
    strip->setFixedSize(428, 34);
    listArea = new QWidget;
    editPanel = new QWidget;
    editPanel->setFixedHeight(32);
    layout->addWidget(strip);
    layout->addWidget(listArea);
    layout->addWidget(editPanel);
    console.resize(428, 468);
    ticker.setParent(&display);
    ticker.setExternalTicks(true);
    ticker.setGeometry(0, 700, 768, 60);
    ticker.hide();
    // Recorded before the controls move on, so it names the text of the pass just ended.
    QObject::connect(&ticker, &TRunString::OnEnd, [this] { shown << ticker.RText(); });
    QObject::connect(&match, &Match::changed, [this] { view.show(match.state().runText, speed); });
    commands = std::make_unique<Commands>(match, settings, texts, fake.platform, dir.path());
    controls =
        std::make_unique<RunTextControls>(strip, listArea, editPanel, *commands, fake.dialogs);
    controls->loadDefaultList();
    QObject::connect(controls.get(), &RunTextControls::said,
                     [this](const QString& line) { said << line; });
    QObject::connect(&ticker, &TRunString::OnEnd, commands.get(), &Commands::textPassEnded);
    list = console.findChild<QListWidget*>("ListStr");
    edit = console.findChild<QLineEdit*>("Edit1");
    ASSERT_TRUE(list && edit);
  }
  void createWith(QStringList entries) { create(&entries); }

  QStringList entries() const {
    QStringList result;
    for (int i = 0; i < list->count(); ++i) result << list->item(i)->text();
    return result;
  }
  int selected() const {
    const int row = list->currentRow();
    return row >= 0 && list->item(row)->isSelected() ? row : -1;
  }
  void select(int row) { list->setCurrentRow(row); }
  QLabel* label(const char* name) const { return console.findChild<QLabel*>(name); }
  TOvalButton* button(const char* name) const { return console.findChild<TOvalButton*>(name); }
  // A left click in the middle of the ellipse, as the mouse makes it.
  void click(const char* name) {
    mouse(name, {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease});
  }
  // As the window system reports a double click: its second press comes as a double click.
  void doubleClick(const char* name) {
    click(name);
    mouse(name, {QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease});
  }
  void mouse(const char* name, std::initializer_list<QEvent::Type> types) {
    TOvalButton* b = button(name);
    const QPoint at = b->rect().center();
    for (QEvent::Type type : types) {
      QMouseEvent e(
          type, at, b->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(b, &e);
    }
  }
  TColor demoColor() const {
    return fromQColor(label("DemoRS")->palette().color(QPalette::WindowText));
  }
  bool indicatorsShown() const {
    return !label("LabelRS1")->isHidden() && !label("LabelRS2")->isHidden();
  }
  // Ticks until the current pass ends; false if the ticker is not moving.
  bool runPass() {
    const qsizetype before = shown.size();
    for (int n = 0; n < 100000 && ticker.timerEnabled(); ++n) {
      ticker.tick();
      if (shown.size() > before) return true;
    }
    return false;
  }
  void key(QWidget* w, int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, k, mods);
    QApplication::sendEvent(w, &press);
  }
  QByteArray fileBytes() const {
    QFile f(dir.filePath("Lauftext.txt"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir dir;
  FakePlatform fake;
  qint32 speed = 3;
  QWidget console;
  QWidget display;
  QWidget* strip = nullptr;
  QWidget* listArea = nullptr;
  QWidget* editPanel = nullptr;
  TRunLabel ticker;
  RunTextView view{ticker};
  Match match;
  Settings settings;
  RunTextList texts;
  std::unique_ptr<Commands> commands;
  std::unique_ptr<RunTextControls> controls;
  QListWidget* list = nullptr;
  QLineEdit* edit = nullptr;
  QStringList shown;
  QStringList said;  // the lines for the console
};

}  // namespace

TEST_F(RunTextConsole, CreatesNamedControlsAndLoadsTheList) {
  createWith({"A", "B", "C"});
  EXPECT_EQ(entries(), QStringList({"A", "B", "C"}));
  EXPECT_EQ(selected(), 0);
  const struct {
    const char* name;
    QString caption;
    QString hint;
    QPoint at;
  } buttons[] = {
      {"OB1", "1", "[F7] One running string", {5, 3}},   {"OBA", "A", "[F8] All strings", {34, 3}},
      {"OBS", "S", "[F6] One static string", {62, 3}},   {"OBX", "X", "[F9] Break", {90, 3}},
      {"obADDstr", "+", "Add string to list", {389, 2}},
  };
  for (const auto& b : buttons) {
    TOvalButton* w = button(b.name);
    ASSERT_TRUE(w) << b.name;
    EXPECT_EQ(w->caption(), b.caption);
    EXPECT_EQ(w->numGlyphs(), 2);
    EXPECT_EQ(w->toolTip(), b.hint);
    EXPECT_EQ(w->geometry(), QRect(b.at, QSize(28, 28)));
  }
  EXPECT_EQ(button("OBC")->parentWidget(), strip);
  EXPECT_EQ(button("OBC")->groupIndex(), 2);
  EXPECT_EQ(button("OBC")->numGlyphs(), 3);
  EXPECT_EQ(button("OBC")->geometry(), QRect(388, 3, 28, 28));
  EXPECT_FALSE(button("OBC")->down());
  EXPECT_EQ(button("obADDstr")->parentWidget(), editPanel);
  EXPECT_EQ(list->visualItemRect(list->item(1)).height(), 13);
  EXPECT_EQ(label("DemoRS")->text(), "LAUFTEXT.TXT");
  EXPECT_EQ(demoColor(), colors::grey);
  EXPECT_TRUE(label("LabelRS1")->isHidden());
  // A hint, not a text: Enter in the untouched editor adds nothing.
  EXPECT_EQ(edit->placeholderText(), "Neue Zeile");
  key(edit, Qt::Key_Return);
  EXPECT_EQ(entries(), QStringList({"A", "B", "C"}));
  EXPECT_EQ(edit->toolTip(), "Zeile zu ändern");
  EXPECT_EQ(edit->geometry().topLeft(), QPoint(6, 5));
  EXPECT_EQ(edit->width(), 379);
  const struct {
    const char* name;
    QString caption;
    QKeySequence key;
  } actions[] = {{"Openfile1", "Offnen file...", QKeySequence("Ctrl+O")},
                 {"Saveasdefault1", "Speichern as default", QKeySequence("Ctrl+S")},
                 {"Stringdelete1", "Zeile entfernen", QKeySequence("Ctrl+Del")}};
  for (const auto& a : actions) {
    auto* action = list->findChild<QAction*>(a.name);
    ASSERT_TRUE(action) << a.name;
    EXPECT_EQ(action->text(), a.caption);
    EXPECT_EQ(action->shortcut(), a.key);
    EXPECT_EQ(action->shortcutContext(), Qt::WidgetShortcut);
    EXPECT_TRUE(list->actions().contains(action));
  }
}

TEST_F(RunTextConsole, AllTextsRepeatWhileCyclicIsReleased) {
  createWith({"A", "B", "C"});
  controls->mStartAllClick();
  EXPECT_EQ(match.state().runText.mode, -1);
  EXPECT_EQ(ticker.OneStep(), 3);
  EXPECT_EQ(label("LabelRS1")->text(), "<<<");
  for (int i = 0; i < 7; ++i) ASSERT_TRUE(runPass());
  EXPECT_EQ(shown, QStringList({"A", "B", "C", "A", "B", "C", "A"}));
  EXPECT_FALSE(ticker.isHidden());
  EXPECT_TRUE(ticker.timerEnabled());
  EXPECT_EQ(selected(), 1);
}

TEST_F(RunTextConsole, AllTextsStopAfterTheLastWhileCyclicIsPressed) {
  createWith({"A", "B", "C"});
  click("OBC");
  EXPECT_TRUE(button("OBC")->down());
  click("OBA");
  while (runPass()) {
  }
  EXPECT_EQ(shown, QStringList({"A", "B", "C"}));
  EXPECT_TRUE(ticker.isHidden());
  EXPECT_FALSE(indicatorsShown());
  EXPECT_EQ(demoColor(), colors::grey);
  EXPECT_EQ(selected(), 0);
  click("OBC");
  EXPECT_FALSE(button("OBC")->down());
}

// The button shows the list's state after a double click and after every click that follows.
TEST_F(RunTextConsole, CyclicSwitchShowsTheListsStateAfterADoubleClick) {
  createWith({"A", "B"});
  doubleClick("OBC");
  for (int clicks = 0; clicks < 3; ++clicks) {
    EXPECT_EQ(button("OBC")->down(), texts.stopsAfterLast()) << clicks << " clicks after";
    click("OBC");
  }
}

// A standing line wider than the strip is drawn smaller, so that it ends inside the strip and
// not under the maker's mark beside it; a scrolling line keeps the strip's font.
TEST_F(RunTextConsole, AStandingLineFitsTheStrip) {
  createWith({QString(60, 'W'), "kurz"});
  ticker.setRFont({fontWithCharHeight(QFont("Arial"), 40), colors::yellow});
  controls->mStatStartClick();
  EXPECT_LE(QFontMetrics(ticker.shownFont()).horizontalAdvance(ticker.RText()), ticker.width());
  controls->mRunStartClick();
  EXPECT_EQ(ticker.shownFont(), ticker.RFont().font);
}

TEST_F(RunTextConsole, OneRunningTextScrollsOnceAndMovesTheCursor) {
  createWith({"A", "B", "C"});
  select(1);
  controls->mRunStartClick();
  EXPECT_EQ(ticker.Position(), 1);  // enters from the right border
  EXPECT_EQ(label("LabelRS1")->text(), "<");
  EXPECT_EQ(label("LabelRS2")->text(), "<");
  EXPECT_EQ(demoColor(), colors::white);
  ASSERT_TRUE(runPass());
  EXPECT_FALSE(runPass());
  EXPECT_EQ(shown, QStringList{"B"});
  EXPECT_TRUE(ticker.isHidden());
  EXPECT_EQ(selected(), 2);
  // From the last entry the cursor goes back to the first.
  controls->mRunStartClick();
  ASSERT_TRUE(runPass());
  EXPECT_EQ(shown, QStringList({"B", "C"}));
  EXPECT_EQ(selected(), 0);
}

TEST_F(RunTextConsole, StaticTextStandsAtTheLeftBorderUntilBreak) {
  createWith({"A", "B", "C"});
  select(1);
  controls->mStatStartClick();
  EXPECT_EQ(ticker.RText(), "B");
  EXPECT_FALSE(ticker.isHidden());
  EXPECT_FALSE(ticker.timerEnabled());
  EXPECT_EQ(ticker.Position(), ticker.width());
  EXPECT_EQ(runTextPosition(ticker.Direction(), runFraction(ticker.Position(), ticker.Steps()),
                            ticker.metrics(), ticker.size())
                .x(),
            0);
  EXPECT_EQ(label("LabelRS1")->text(), "<");
  EXPECT_EQ(label("LabelRS2")->text(), ">");
  EXPECT_TRUE(indicatorsShown());
  EXPECT_EQ(demoColor(), colors::white);
  controls->Clear1Click();
  EXPECT_TRUE(ticker.isHidden());
  EXPECT_FALSE(indicatorsShown());
  EXPECT_EQ(demoColor(), colors::grey);
  EXPECT_EQ(match.state().runText.mode, -2);
  EXPECT_EQ(selected(), 1);
}

TEST_F(RunTextConsole, BreakWhileHiddenChangesNothing) {
  create();
  edit->setText("A");
  controls->Edit1Enter();
  controls->mStatStartClick();
  controls->Stringdelete1Click();
  controls->mStatStartClick();  // nothing left to show: the ticker goes, DemoRS stays white
  ASSERT_TRUE(ticker.isHidden());
  controls->Clear1Click();
  EXPECT_EQ(demoColor(), colors::white);  // only a shown ticker is broken off
}

TEST_F(RunTextConsole, OneEntryRepeatsWithoutRecountingSteps) {
  createWith({"Willkommen"});
  controls->mStartAllClick();
  const int steps = ticker.Steps();
  ticker.resize(500, 60);  // a new width alone does not recount the steps
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(runPass());
  EXPECT_EQ(shown, QStringList({"Willkommen", "Willkommen", "Willkommen"}));
  EXPECT_EQ(ticker.Steps(), steps);
  EXPECT_TRUE(ticker.timerEnabled());
}

TEST_F(RunTextConsole, StartWithoutSelectionOrFileHidesTheTicker) {
  create();
  EXPECT_EQ(list->count(), 0);
  ticker.show();
  controls->mStartAllClick();
  EXPECT_TRUE(ticker.isHidden());
  EXPECT_FALSE(indicatorsShown());
  EXPECT_EQ(match.state().runText.mode, -1);
  EXPECT_EQ(demoColor(), colors::grey);
}

TEST_F(RunTextConsole, StartWithoutSelectionReloadsTheSavedList) {
  createWith({"Gespeichert"});
  list->clearSelection();
  list->setCurrentRow(-1);
  edit->setText("Ungespeichert");
  controls->obADDstrClick();  // appended, nothing selected
  EXPECT_EQ(entries(), QStringList({"Gespeichert", "Ungespeichert"}));
  EXPECT_EQ(selected(), -1);
  controls->mRunStartClick();
  EXPECT_EQ(entries(), QStringList{"Gespeichert"});
  EXPECT_EQ(ticker.RText(), "Gespeichert");
  EXPECT_EQ(selected(), 0);
}

TEST_F(RunTextConsole, ReplayUsesTheLastMode) {
  createWith({"A", "B"});
  console.show();
  // Before any start a replay is one running text.
  list->setFocus();
  key(list, Qt::Key_Return);
  EXPECT_EQ(match.state().runText.mode, 0);
  EXPECT_TRUE(ticker.timerEnabled());
  controls->mStatStartClick();
  select(1);
  const QPoint at = list->visualItemRect(list->item(1)).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &e);
  }
  EXPECT_EQ(ticker.RText(), "B");
  EXPECT_EQ(match.state().runText.mode, -2);
  EXPECT_FALSE(ticker.timerEnabled());
  match.startRunText(5, std::nullopt);  // an unknown mode replays nothing
  controls->ListStrDblClick();
  EXPECT_TRUE(ticker.isHidden());
}

TEST_F(RunTextConsole, PickCopiesOnlyTheOperatorsChoiceIntoTheEditor) {
  createWith({"A", "B", "C"});
  EXPECT_EQ(edit->text(), "");  // the selection made at loading is no pick
  key(list, Qt::Key_Down);
  EXPECT_EQ(selected(), 1);
  EXPECT_EQ(edit->text(), "B");
  edit->setText("bearbeitet");
  controls->mRunStartClick();
  ASSERT_TRUE(runPass());
  EXPECT_EQ(selected(), 2);
  EXPECT_EQ(edit->text(), "bearbeitet");
}

TEST_F(RunTextConsole, InsertAfterBeforeAndDelete) {
  create();
  edit->setText("erste");
  key(edit, Qt::Key_Return);  // Enter on an empty list inserts at the top
  EXPECT_EQ(entries(), QStringList{"erste"});
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(edit->selectedText(), "erste");
  edit->setText("danach");
  key(edit, Qt::Key_Return);
  edit->setText("davor");
  controls->obADDstrClick();
  EXPECT_EQ(entries(), QStringList({"erste", "davor", "danach"}));
  EXPECT_EQ(selected(), 1);
  EXPECT_EQ(edit->text(), "davor");  // the program's own selection is no pick

  select(2);
  controls->Stringdelete1Click();  // the last of three: the new last is selected
  EXPECT_EQ(entries(), QStringList({"erste", "davor"}));
  EXPECT_EQ(selected(), 1);
  select(0);
  list->findChild<QAction*>("Stringdelete1")->trigger();
  EXPECT_EQ(entries(), QStringList{"davor"});
  EXPECT_EQ(selected(), 0);  // the entry that followed
  controls->Stringdelete1Click();
  EXPECT_EQ(list->count(), 0);
  EXPECT_EQ(selected(), -1);
  controls->Stringdelete1Click();  // nothing selected: nothing happens
  EXPECT_EQ(list->count(), 0);
  EXPECT_TRUE(fileBytes().isEmpty());  // editing never writes the file
}

TEST_F(RunTextConsole, OpenFileReplacesTheListOrReportsTheFailure) {
  createWith({"A"});
  const QString other = dir.filePath("anders.txt");
  {
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("X\nY\nZ");
  }
  fake.dialogs.fileToPick = other;
  controls->Openfile1Click();
  EXPECT_EQ(entries(), QStringList({"X", "Y", "Z"}));
  EXPECT_EQ(selected(), 0);
  EXPECT_TRUE(fake.dialogs.errors.isEmpty());
  // A name typed without an extension means the .txt file.
  ASSERT_EQ(fake.dialogs.fileRequests.size(), 1);
  EXPECT_EQ(fake.dialogs.fileRequests[0].filter, "Text files (*.txt)");
  EXPECT_EQ(fake.dialogs.fileRequests[0].defaultSuffix, "txt");

  const QString missing = dir.filePath("fehlt.txt");
  fake.dialogs.fileToPick = missing;
  controls->Openfile1Click();
  ASSERT_EQ(fake.dialogs.errors.size(), 1);
  EXPECT_TRUE(fake.dialogs.errors[0].startsWith("Cannot open file \"" +
                                                QDir::toNativeSeparators(missing) + "\". "));
  EXPECT_TRUE(fake.dialogs.errors[0].endsWith("."));
  EXPECT_EQ(entries(), QStringList({"X", "Y", "Z"}));

  fake.dialogs.fileToPick.clear();  // cancelled
  controls->Openfile1Click();
  EXPECT_EQ(fake.dialogs.errors.size(), 1);
}

TEST_F(RunTextConsole, SaveWritesTheListOrKeepsTheOldFile) {
  createWith({"alt"});
  edit->setText("Grüße");
  key(edit, Qt::Key_Return);
  controls->Saveasdefault1Click();
  EXPECT_EQ(fileBytes(), QByteArray("alt\r\nGr\xC3\xBC\xC3\x9F"
                                    "e\r\n"));
  EXPECT_EQ(said, QStringList{"Lauftexte gespeichert: " +
                              QDir::toNativeSeparators(dir.filePath("Lauftext.txt"))});

  edit->setText("neu");
  key(edit, Qt::Key_Return);
  {
    FailingSaves blocked(dir.path());
    controls->Saveasdefault1Click();
  }
  ASSERT_EQ(said.size(), 2);  // in the console's line, not in a box
  EXPECT_TRUE(fake.dialogs.errors.isEmpty());
  EXPECT_TRUE(said[1].startsWith("Cannot create file \"" +
                                 QDir::toNativeSeparators(dir.filePath("Lauftext.txt")) + "\". "));
  EXPECT_EQ(fileBytes(), QByteArray("alt\r\nGr\xC3\xBC\xC3\x9F"
                                    "e\r\n"));
  EXPECT_EQ(entries(), QStringList({"alt", "Grüße", "neu"}));
}

// Ctrl+S saves the list also while the line is being written in the editor.
TEST_F(RunTextConsole, CtrlSSavesWithTheFocusInTheEditor) {
  createWith({"alt"});
  console.show();
  console.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&console));
  edit->setFocus();
  edit->setText("halb geschrieben");
  QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(fileBytes(), QByteArray("alt\r\n"));
  EXPECT_EQ(said.size(), 1);
  EXPECT_EQ(edit->text(), "halb geschrieben");
}

TEST_F(RunTextConsole, AListNotLoadedWholeIsReportedOnceAndNeverSavedOverItsFile) {
  const QByteArray file = QByteArray(RunListFile::maxEntryLength + 500, 'x') + "\r\nkurz\r\n";
  {
    QFile f(dir.filePath("Lauftext.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file);
  }
  create();
  const QString name = QDir::toNativeSeparators(dir.filePath("Lauftext.txt"));
  EXPECT_EQ(fake.dialogs.warnings, QStringList("\"" + name + "\": 1 Zeilen gekürzt."));
  edit->setText("neu");
  key(edit, Qt::Key_Return);
  controls->Saveasdefault1Click();
  EXPECT_EQ(said,
            QStringList("\"" + name +
                        "\" wird nicht gespeichert: die Liste wurde nicht vollständig geladen."));
  EXPECT_EQ(fileBytes(), file);

  // A list opened whole may be saved again.
  const QString other = dir.filePath("andere.txt");
  ASSERT_TRUE(RunListFile::write(other, {"eins"}));
  fake.dialogs.fileToPick = other;
  controls->Openfile1Click();
  controls->Saveasdefault1Click();
  EXPECT_EQ(fileBytes(), QByteArray("eins\r\n"));
  EXPECT_EQ(fake.dialogs.warnings.size(), 1);
}
