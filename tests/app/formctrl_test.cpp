#include "app/formctrl.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/consolewidgets.h"
#include "app/operatorkeys.h"
#include "commands/commands.h"
#include "config/cfgdialog.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "display/tablo.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "settings/settingsstore.h"
#include "support/fakes.h"
#include "widgets/dlgyesno.h"
#include "widgets/forminfo.h"
#include "widgets/label3d.h"
#include "widgets/ovalbutton.h"
#include "widgets/spinbutton.h"

namespace {

class Console : public ::testing::Test {
 protected:
  Console() {
    SettingsStore(fake.settings, settings)
        .load(defaultWarningSound(fake.sound.systemSoundFile()), 1);
    console = std::make_unique<TFormCtrl>(fake.platform, session);
    yesNo = std::make_unique<TFDlgYesNo>("Scorvex", console.get());
    display = std::make_unique<TFormTablo>(fake.platform, settings, match);
    console->attachWindows(yesNo.get(), display.get(), nullptr, nullptr);
    keys = new OperatorKeys({session, *console, {}, {}}, console.get());
    keys->install(*console);
    keys->install(*display);
  }

  // Advances the fake tick by `ms` in steps of 200 ms, running the session's match tick.
  void run(int ms) {
    for (int t = 0; t < ms; t += 200) {
      fake.tick.advance(200);
      if (session.ticking()) session.commands().clockTick();
    }
  }
  QAction* key(const char* name) const { return keys->action(name); }
  void finishBlink() {
    while (match.state().blinking()) match.blinkStep();
  }
  QString consoleClock() const { return console->LabelTime->caption(); }
  QString displayClock() const { return display->Label2->caption(); }
  Label* consolePenalty(int i) const {
    return std::array<Label*, 4>{console->LabStrafe1_1, console->LabStrafe1_2,
                                 console->LabStrafe2_1, console->LabStrafe2_2}[i];
  }

  FakePlatform fake;
  Settings settings;
  MatchSession session{settings, fake.platform, QString()};
  Match& match = session.match();
  std::unique_ptr<TFormCtrl> console;
  std::unique_ptr<TFDlgYesNo> yesNo;
  std::unique_ptr<TFormTablo> display;
  OperatorKeys* keys;
};

TEST_F(Console, CountdownRunsToTheEndOfThePeriodAndBlinks) {
  console->bPlayClick();
  EXPECT_EQ(console->bPlay->caption(), "Pause");
  run(200);
  EXPECT_EQ(consoleClock(), "44:59");
  EXPECT_EQ(displayClock(), "44:59");
  EXPECT_FALSE(console->sbSek->isEnabled());

  run(2700 * 1000);
  EXPECT_EQ(match.state().clock, MatchClock::Ready);
  EXPECT_FALSE(session.ticking());
  EXPECT_EQ(displayClock(), "0:00");
  ASSERT_GE(fake.sound.calls.size(), 2);
  const FakeSound::Call stop = fake.sound.calls[fake.sound.calls.size() - 2];
  EXPECT_TRUE(stop.file.isEmpty() && stop.hornMs == 0);  // stop first
  // No "Ton-ende.wav" here nor beside the test: the built-in horn sounds.
  EXPECT_EQ(fake.sound.calls.last().hornMs, kHornEndMs);
  EXPECT_TRUE(match.state().blinking());

  // Blinking: visible, hidden, five times; then the clock is switched off.
  EXPECT_FALSE(display->Label2->isHidden());
  match.blinkStep();
  EXPECT_TRUE(display->Label2->isHidden());
  finishBlink();
  EXPECT_TRUE(display->Label2->isHidden());
  EXPECT_FALSE(console->Time1->isChecked());
  EXPECT_EQ(console->LabelTime->fontColor(), colors::grey);
  EXPECT_EQ(consoleClock(), "45:00");
  EXPECT_EQ(console->bPlay->caption(), "Play");
}

TEST_F(Console, CountUpShowsThePeriodLengthThenStartsAtZero) {
  key("mTimerCountdown")->trigger();
  EXPECT_EQ(consoleClock(), "0:00");
  console->bPlayClick();
  run(200);
  EXPECT_EQ(consoleClock(), "0:01");
  run(2699 * 1000);
  EXPECT_EQ(displayClock(), "45:00");
  EXPECT_EQ(match.state().clock, MatchClock::Ready);
  finishBlink();
  EXPECT_EQ(consoleClock(), "0:00");
}

TEST_F(Console, WarningSoundStartsOncePerPeriodAtTheLead) {
  settings.change([](TSettings& s) {
    s.SoundTime = 60;
    s.SLoop = true;
    s.SoundFile = "warn.wav";
  });
  console->bPlayClick();
  run(2639 * 1000);
  EXPECT_EQ(consoleClock(), "1:01");
  EXPECT_EQ(fake.sound.playCount(), 0);
  run(200);
  EXPECT_EQ(consoleClock(), "1:00");
  ASSERT_EQ(fake.sound.playCount(), 1);
  EXPECT_EQ(fake.sound.calls.last().file, "warn.wav");
  EXPECT_TRUE(fake.sound.calls.last().loop);
  console->bPlayClick();  // a pause does not stop or restart it
  console->bPlayClick();
  run(10'000);
  EXPECT_EQ(fake.sound.playCount(), 1);
}

TEST_F(Console, WarningLeadLongerThanThePeriodSoundsAtTheFirstTick) {
  settings.change([](TSettings& s) { s.SoundTime = 5000; });
  console->bPlayClick();
  run(200);
  EXPECT_EQ(fake.sound.playCount(), 1);
}

TEST_F(Console, CorrectionsWhilePausedAddUpAndResumeWithoutAJump) {
  console->bPlayClick();
  run(90'000);
  EXPECT_EQ(consoleClock(), "43:30");
  console->bPlayClick();
  EXPECT_FALSE(display->PanelPause->isHidden());
  fake.tick.advance(30'000);
  key("SekPlus")->trigger();
  EXPECT_EQ(consoleClock(), "44:30");
  key("Sek10Minus")->trigger();
  EXPECT_EQ(consoleClock(), "44:20");
  console->bPlayClick();
  EXPECT_TRUE(display->PanelPause->isHidden());
  run(200);
  EXPECT_EQ(consoleClock(), "44:19");  // the usual 900 ms lead, no jump by the pause
}

TEST_F(Console, CountDirectionSwitchesAtOnceWhilePaused) {
  console->bPlayClick();
  run(600'000);
  console->bPlayClick();
  EXPECT_EQ(consoleClock(), "35:00");
  key("mTimerCountdown")->trigger();
  EXPECT_EQ(consoleClock(), "10:00");
  EXPECT_EQ(displayClock(), "10:00");
}

TEST_F(Console, ResetAsksAndCancelLeavesTheClockRunning) {
  console->bPlayClick();
  console->SchetDownClick(1);
  fake.dialogs.answerOk = false;
  console->Reset1Click();
  EXPECT_EQ(fake.dialogs.asked.value(0), "Scorvex|Reset GAME?");
  EXPECT_TRUE(session.ticking());
  EXPECT_EQ(match.state().score[1 - 1], 1);

  fake.dialogs.answerOk = true;
  key("mTym3")->trigger();
  console->Reset1Click();
  EXPECT_FALSE(session.ticking());
  EXPECT_EQ(match.state().clock, MatchClock::Ready);
  EXPECT_EQ(display->Label4->caption(), "0 - 0");
  EXPECT_EQ(match.state().period, 0);
  EXPECT_TRUE(display->Label5->isHidden());
  EXPECT_EQ(fake.dialogs.beeps, 1);
  EXPECT_FALSE(console->bReset->isEnabled());
}

TEST_F(Console, PeriodCommands) {
  for (const char* expected : {"1", "2", "3", "4"}) {
    console->LabelTaymClick();
    EXPECT_EQ(display->Label5->caption(), expected);
    EXPECT_FALSE(display->Label5->isHidden());
  }
  console->LabelTaymClick();
  EXPECT_TRUE(display->Label5->isHidden());
  EXPECT_EQ(console->LabelTaym->fontColor(), colors::grey);
  console->sbTaymDownClick();
  EXPECT_EQ(match.state().period, 0);
  key("mTym4")->trigger();
  console->sbTaymUpClick();
  EXPECT_EQ(match.state().period, 4);
  EXPECT_EQ(console->LabelTaym->fontColor(), colors::black);
}

// The score keys count goals of both teams in both windows; the rules of the score (never
// below 0, at most 999) are the match's.
TEST_F(Console, ScoreKeysCountGoalsOfBothTeamsInBothWindows) {
  key("N112")->trigger();
  EXPECT_EQ(display->Label4->caption(), "0 - 0");
  for (int i = 0; i < 12; ++i) key("N111")->trigger();
  for (int i = 0; i < 3; ++i) key("N211")->trigger();
  EXPECT_EQ(display->Label4->caption(), "12 - 3");
  EXPECT_EQ(console->LabelC1->caption(), "12");
  key("N21num1")->trigger();
  EXPECT_EQ(console->LabelC2->caption(), "2");
}

TEST_F(Console, PenaltyArmedStartsWithPlayFreezesOverAPauseAndEnds) {
  const TColor idle = display->Label4->color();
  EXPECT_EQ(consolePenalty(0)->fontColor(), idle);
  console->LabStrafe_Click(0);  // clock stands: armed
  EXPECT_EQ(consolePenalty(0)->fontColor(), display->Label5->fontColor());
  EXPECT_EQ(display->LabelStraf1a->fontColor(), display->Label5->fontColor());
  fake.tick.advance(5000);
  console->bPlayClick();
  run(30'000);
  EXPECT_EQ(display->LabelStraf1a->caption(), "1:30");
  console->bPlayClick();
  fake.tick.advance(60'000);
  console->bPlayClick();
  run(200);
  EXPECT_EQ(consolePenalty(0)->caption(), "1:30");
  run(89'000);
  EXPECT_EQ(consolePenalty(0)->caption(), "0:01");
  run(1000);
  EXPECT_EQ(consolePenalty(0)->caption(), "2:00");
  EXPECT_EQ(consolePenalty(0)->fontColor(), idle);
  EXPECT_EQ(display->LabelStraf1a->fontColor(), idle);
  console->LabStrafe_Click(0);  // one click starts it again
  run(1000);
  EXPECT_EQ(consolePenalty(0)->caption(), "1:59");
}

TEST_F(Console, GoalReleasesAPenaltyOnlyWithTheOption) {
  console->bPlayClick();
  console->LabStrafe_Click(2);
  run(10'000);
  console->LabStrafe_Click(3);
  run(1000);
  key("N111")->trigger();  // option off: nothing released
  run(200);
  EXPECT_EQ(consolePenalty(2)->caption(), "1:49");
  console->cbStrReset->setChecked(true);
  key("N211")->trigger();  // the guests scoring never releases their own penalty
  key("N111")->trigger();  // the earlier guest penalty ends
  run(200);
  EXPECT_EQ(consolePenalty(2)->caption(), "2:00");
  EXPECT_EQ(consolePenalty(3)->caption(), "1:59");
}

TEST_F(Console, EndOfPeriodEndsAllPenalties) {
  settings.change([](TSettings& s) { s.Time = 60; });
  console->bPlayClick();
  console->LabStrafe_Click(1);
  run(60'000);
  EXPECT_EQ(display->LabelStraf1b->caption(), "2:00");
  EXPECT_EQ(display->LabelStraf1b->fontColor(), display->Label4->color());
}

TEST_F(Console, ClockShownCommandsStayInStep) {
  key("mTime1")->trigger();
  EXPECT_FALSE(console->Time1->isChecked());
  EXPECT_TRUE(display->Label2->isHidden());
  EXPECT_EQ(console->LabelTime->fontColor(), colors::grey);
  console->Time1->click();
  EXPECT_TRUE(key("mTime1")->isChecked());
  EXPECT_FALSE(display->Label2->isHidden());
}

// A double click arrives as press, release, double click, release: one click, not two.
TEST_F(Console, DoubleClickCountsOnce) {
  const auto doubleClick = [](QWidget* target) {
    const QPoint at = target->rect().center();
    QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    QTest::mouseDClick(target, Qt::LeftButton, {}, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);
  };
  doubleClick(console->bPlay);
  EXPECT_EQ(match.state().clock, MatchClock::Running);
  doubleClick(console->LabelTime);
  EXPECT_EQ(match.state().clock, MatchClock::Paused);
  doubleClick(console->LabelC1);
  EXPECT_EQ(match.state().score[0], 1);
  doubleClick(console->LabStrafe1_1);
  EXPECT_EQ(console->LabStrafe1_1->fontColor(), colors::white);  // running, not ended again
}

TEST_F(Console, KeysReachTheCommandsEvenFromTheLineEditor) {
  console->show();
  console->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(console.get()));
  QTest::keyClick(console.get(), Qt::Key_F5);
  EXPECT_EQ(match.state().clock, MatchClock::Running);
  QTest::keyClick(console.get(), Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(match.state().clock, MatchClock::Paused);
  QTest::keyClick(console.get(), Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
  QTest::keyClick(console.get(), Qt::Key_3, Qt::AltModifier);
  EXPECT_EQ(match.state().period, 3);

  auto* editor = new QLineEdit(console->Panel3);
  editor->show();
  editor->setFocus();
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(console->Time1->isChecked());
  QTest::keyClick(editor, Qt::Key_F11);
  EXPECT_EQ(match.state().score[1 - 1], 1);
  // The editor keeps the keys it edits with: Ctrl+Backspace deletes a word, the goal stays.
  editor->setText("zwei Worte");
  QTest::keyClick(editor, Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(editor->text(), "zwei ");
  EXPECT_EQ(match.state().score[1 - 1], 1);
}

// The full-screen display covers the console: the operator's keys act on it as well.
TEST_F(Console, KeysPressedOnTheDisplayRunTheirCommands) {
  console->show();
  display->show();
  display->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(display.get()));
  QTest::keyClick(display.get(), Qt::Key_F5);
  EXPECT_EQ(match.state().clock, MatchClock::Running);
  QTest::keyClick(display.get(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(QTest::qWaitForWindowActive(console.get()));
  EXPECT_TRUE(display->isVisible());
}

// Each key runs its own command, pressed on the display as on the console; one after the other.
TEST_F(Console, EachKeyOfTheTableRunsItsCommandFromTheDisplay) {
  display->show();
  display->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(display.get()));
  const struct {
    QKeyCombination key;
    std::function<bool(const MatchState&)> done;
  } rows[] = {
      {Qt::Key_F11,
       [](auto& s) {
         return s.score == std::array{1, 0};
       }},
      {Qt::Key_F12,
       [](auto& s) {
         return s.score == std::array{1, 1};
       }},
      {Qt::CTRL | Qt::Key_F12,
       [](auto& s) {
         return s.score == std::array{1, 0};
       }},
      {Qt::CTRL | Qt::Key_F11,
       [](auto& s) {
         return s.score == std::array{0, 0};
       }},
      {Qt::ALT | Qt::Key_3, [](auto& s) { return s.period == 3; }},
      {Qt::CTRL | Qt::Key_D, [](auto& s) { return s.period == 4; }},
      {Qt::CTRL | Qt::Key_Backspace, [](auto& s) { return s.period == 3; }},
      {Qt::Key_F4, [](auto& s) { return !s.countDown; }},
      {Qt::CTRL | Qt::Key_Z, [](auto& s) { return !s.clockShown; }},
      {Qt::CTRL | Qt::Key_B, [](auto& s) { return s.blackScreen; }},
      {Qt::Key_F5, [](auto& s) { return s.clock == MatchClock::Running; }},
      {Qt::CTRL | Qt::Key_Space, [](auto& s) { return s.clock == MatchClock::Paused; }},
      {Qt::CTRL | Qt::Key_PageDown, [](auto& s) { return s.clockText() == "1:00"; }},
  };
  for (const auto& row : rows) {
    QTest::keyClick(display.get(), row.key.key(), row.key.keyboardModifiers());
    EXPECT_TRUE(row.done(match.state())) << QKeySequence(row.key).toString().toStdString();
  }
}

TEST_F(Console, KeypadKeysWithNumLockOffLowerTheScoreFromTheLineEditor) {
  console->show();
  console->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(console.get()));
  auto* editor = new QLineEdit(console->Panel3);
  editor->show();
  editor->setFocus();
  const struct {
    Qt::Key key;  // what keypad 1 and 2 send with Num Lock off
    int team;
  } rows[] = {{Qt::Key_End, 1}, {Qt::Key_Down, 2}};
  for (const auto& row : rows) {
    console->SchetDownClick(row.team == 1 ? 1 : 3);
    QTest::keyClick(editor, row.key, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(match.state().score[row.team - 1], 0) << row.team;
  }
}

// On X11 the shortcut map ignores the keypad flag, so Ctrl + keypad +/- reach the focused
// control as ordinary key presses; the console still runs the correction they carry.
TEST_F(Console, KeypadCorrectionsArrivingAsKeyPressesStillCorrect) {
  console->bPlayClick();
  run(90'000);
  console->bPlayClick();
  const auto press = [](QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers | Qt::KeypadModifier,
                    QString(QLatin1Char(QTest::keyToAscii(key))));
    QApplication::sendEvent(target, &event);
  };
  press(console->Panel1, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(consoleClock(), "44:30");
  auto* editor = new QLineEdit(console->Panel3);
  press(editor, Qt::Key_Minus, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(consoleClock(), "44:20");
  press(editor, Qt::Key_Minus, Qt::NoModifier);  // no command: typed into the editor
  EXPECT_EQ(consoleClock(), "44:20");
  EXPECT_EQ(editor->text(), "-");
}

TEST_F(Console, ClosingAsksAndOnlyJaEnds) {
  console->show();
  // Types a key into the open question; a dialog that ignores it is closed so the test ends.
  auto answerWith = [this](Qt::Key key) {
    QTimer::singleShot(0, yesNo.get(), [this, key] {
      ASSERT_TRUE(QTest::qWaitForWindowActive(yesNo.get()));
      QTest::keyClick(QApplication::focusWidget(), key);
      if (yesNo->isVisible()) yesNo->done(-1);
    });
  };
  answerWith(Qt::Key_Escape);
  EXPECT_FALSE(console->close());
  EXPECT_EQ(yesNo->Label1->text(), "Programm beenden?");
  EXPECT_EQ(yesNo->OKBtn->text(), "Ja");
  EXPECT_EQ(yesNo->result(), QDialog::Rejected);
  answerWith(Qt::Key_Return);
  EXPECT_TRUE(console->close());
  // Closing asked the application to leave its event loop: a new loop ends at once. Running
  // and ending one clears that request, so later dialogs in this program run again.
  EXPECT_EQ(QEventLoop().exec(), -1);
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

TEST(YesNoDialog, WarningTextGetsOkAndAbbrechen) {
  TFDlgYesNo dialog("Scorvex");
  dialog.SetQuestion("Achtung");
  EXPECT_EQ(dialog.OKBtn->text(), "OK");
  EXPECT_EQ(dialog.CancelBtn->text(), "Abbrechen");
  EXPECT_TRUE(dialog.Icon->isHidden());
  EXPECT_FALSE(dialog.Icon2->isHidden());
  QTimer::singleShot(0, &dialog, [&] { dialog.OKBtn->click(); });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  dialog.SetQuestion("Wirklich?");
  EXPECT_EQ(dialog.OKBtn->text(), "Ja");
  EXPECT_FALSE(dialog.Icon->isHidden());
}

}  // namespace

namespace {

// A console made as the program makes it: the settings read from the store before it exists,
// its place reported to the store as it moves.
struct StoredConsole {
  explicit StoredConsole(FakePlatform& fake) : fake(fake) {
    store.load(defaultWarningSound(fake.sound.systemSoundFile()), 1);
    console.takeStoredPlace(store.storedConsole());
    QObject::connect(&console, &TFormCtrl::placeChanged,
                     [this](const QRect& bounds) { store.setConsoleBounds(bounds); });
  }

  FakePlatform& fake;
  Settings settings;
  SettingsStore store{fake.settings, settings};
  MatchSession session{settings, fake.platform, QString()};
  TFormCtrl console{fake.platform, session};
};

TEST(ConsoleSettings, StoredValuesSurviveARestart) {
  FakePlatform fake;
  fake.settings.exists = true;
  fake.settings.integers = {{"CountDown", 0}, {"Time", 1200}, {"Monitor", 0}};
  fake.settings.texts = {{"Comanda1", "Adler"}, {"Comanda2", "Falken"}};
  {
    StoredConsole first(fake);
    // Reading stopped at the missing "TitelType": the rest keeps its defaults.
    EXPECT_FALSE(first.console.cbCountdown->isChecked());
    EXPECT_EQ(first.settings.record().Time, 1200);
    EXPECT_EQ(first.settings.record().Comanda2, "Falken");
    EXPECT_EQ(first.settings.record().SoundFile, "system.wav");  // no Ton-ende file here
    first.console.cbStrReset->click();
    first.console.show();
    first.console.move(123, 45);
    first.store.writeGroups();
  }
  EXPECT_EQ(fake.settings.writeOrder[fake.settings.writeOrder.indexOf("FullScr") + 1], "L");
  EXPECT_EQ(fake.settings.integers.value("L"), 123);
  EXPECT_EQ(fake.settings.integers.value("StrReset"), 1);
  EXPECT_EQ(fake.settings.texts.value("SoundFile"), "system.wav");

  fake.settings.texts["SoundFile"] = "";  // an empty stored sound keeps the start-up choice
  StoredConsole again(fake);
  EXPECT_TRUE(again.console.cbStrReset->isChecked());
  EXPECT_EQ(again.console.pos(), QPoint(123, 45));
  EXPECT_EQ(again.settings.record().SoundFile, "system.wav");
  EXPECT_EQ(again.settings.record().Comanda1, "Adler");
}

// A refused time-out is said in the console's line, with no box that needs OK.
TEST(ConsoleLine, ARefusedTimeoutIsSaidInTheLine) {
  FakePlatform fake;
  StoredConsole c(fake);
  c.session.commands().chooseSport("handball");
  c.console.show();
  c.session.commands().startBreak();
  c.console.timeoutClick(1);
  const auto* line = c.console.findChild<QLabel*>("CommandLine");
  ASSERT_TRUE(line);
  EXPECT_TRUE(line->isVisible());
  EXPECT_EQ(line->text(), "In der Pause gibt es keine Auszeit.");
  EXPECT_TRUE(fake.dialogs.errors.isEmpty());
}

// "W" and "H" are the console's outer size, and a stored height comes back as the outer one.
TEST(ConsoleSettings, WidthAndHeightAreTheOuterSize) {
  FakePlatform fake;
  QSize outer;
  {
    StoredConsole first(fake);
    first.console.show();
    first.console.resize(first.console.width(), 600);
    QApplication::processEvents();
    outer = first.console.frameGeometry().size();
    ASSERT_GT(outer.height(), 600) << "the window system draws no frame";
    first.store.writeGroups();
  }
  EXPECT_EQ(fake.settings.integers.value("W"), outer.width());
  EXPECT_EQ(fake.settings.integers.value("H"), outer.height());
  StoredConsole again(fake);
  again.console.show();
  QApplication::processEvents();
  EXPECT_EQ(again.console.frameGeometry().size(), outer);
}

// A stored height is kept between the console's least and the tallest monitor.
TEST(ConsoleSettings, AStoredHeightStaysWithinTheMonitors) {
  FakePlatform fake;
  {
    StoredConsole first(fake);
    first.store.writeGroups();
  }
  const int tallest = fake.desktop.monitors.first().height();
  for (const auto& [stored, shown] :
       {std::pair{500, 500}, {1'000'000, tallest}, {10, consolewidgets::kMinClientHeight}}) {
    fake.settings.integers["H"] = stored;
    StoredConsole again(fake);
    EXPECT_EQ(again.console.height(), shown) << stored;
  }
}

TEST(ConsoleSettings, OnlyAStoredPositionIsForcedOnTheWindowSystem) {
  FakePlatform fake;
  {
    StoredConsole first(fake);
    first.console.show();
    EXPECT_FALSE(first.console.testAttribute(Qt::WA_Moved));  // placed by the window system
    first.console.move(123, 45);
    first.store.writeGroups();
  }
  StoredConsole later(fake);
  later.console.show();
  EXPECT_EQ(later.console.pos(), QPoint(123, 45));
}

}  // namespace
