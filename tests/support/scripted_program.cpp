// The real program with an operator's script typed into its console, for the test that kills it
// in the middle of a match. "play" gives a few commands, starts the clock and reports the clock
// once two seconds have passed; "resume" answers the start-up question with "Ja", reports
// what the console shows, and what it shows after three undos. Reports are lines "name: value" on
// stdout.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/commandline.h"
#include "app/formctrl.h"
#include "app/program.h"
#include "ticker/runtextcontrols.h"
#include "widgets/dlgyesno.h"
#include "widgets/label3d.h"
#include "widgets/ovalbutton.h"

namespace {

void report(const char* name, const QString& value) {
  std::printf("%s: %s\n", name, qPrintable(value));
  std::fflush(stdout);
}

TFormCtrl* console() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* c = qobject_cast<TFormCtrl*>(w); c && c->isVisible()) return c;
  return nullptr;
}

// Runs `step` every 50 ms until it returns true.
void every50ms(const std::function<bool()>& step) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [timer, step] {
    if (step()) timer->deleteLater();
  });
  timer->start(50);
}

void play() {
  every50ms([] {
    TFormCtrl* c = console();
    if (!c || QApplication::activeModalWidget()) return false;
    // The console's keys are shortcuts of its window: they need it to be the active one.
    c->activateWindow();
    if (!QTest::qWaitForWindowActive(c)) return false;
    for (Qt::Key key : {Qt::Key_F11, Qt::Key_F11, Qt::Key_F11, Qt::Key_F12, Qt::Key_F12})
      QTest::keyClick(c, key);
    QTest::keyClick(c, Qt::Key_1, Qt::AltModifier);      // period 1
    QTest::keyClick(c, Qt::Key_F4);                      // count up
    QTest::keyClick(c, Qt::Key_Z, Qt::ControlModifier);  // clock hidden on the display
    QTest::keyClick(c, Qt::Key_B, Qt::ControlModifier);  // black screen
    QTest::mouseClick(c->LabStrafe1_1, Qt::LeftButton);  // home penalty, armed
    c->RunText->Edit1()->setText("Neue Zeile");
    QTest::keyClick(c->RunText->Edit1(), Qt::Key_Return);  // an unsaved edit
    QTest::keyClick(c, Qt::Key_F5);                        // Play
    every50ms([c] {
      if (c->LabelTime->caption() < "0:02") return false;
      report("clock", c->LabelTime->caption());
      return true;
    });
    return true;
  });
}

void resume() {
  every50ms([] {
    auto* question = qobject_cast<TFDlgYesNo*>(QApplication::activeModalWidget());
    if (!question) return false;
    report("question", question->Label1->text());
    QTest::keyClick(question, Qt::Key_Return);
    every50ms([] {
      TFormCtrl* c = console();
      if (!c || QApplication::activeModalWidget()) return false;
      report("score", c->LabelC1->caption() + ":" + c->LabelC2->caption());
      report("period", c->LabelTaym->caption());
      report("penalty", c->LabStrafe1_1->caption());
      report("clock", c->LabelTime->caption());
      report("play", c->bPlay->caption());
      report("countdown", c->cbCountdown->isChecked() ? "on" : "off");
      report("clock shown", c->Time1->isChecked() ? "on" : "off");
      QStringList texts;
      for (int i = 0; i < c->RunText->ListStr()->count(); ++i)
        texts << c->RunText->ListStr()->item(i)->text();
      report("texts", texts.join('|'));
      // The match's last three commands are taken back as in the killed program: the penalty,
      // the period and the guest's second goal.
      // Through the console's action, which needs no active window on a busy machine.
      for (int n = 0; n < 3; ++n) c->findChild<QAction*>("mUndo")->trigger();
      report("three undone", c->LabelC1->caption() + ":" + c->LabelC2->caption() + " period " +
                                 c->LabelTaym->caption() + " penalty " +
                                 c->LabStrafe1_1->caption());
      std::_Exit(0);
    });
    return true;
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc > 1 && QByteArray(argv[1]) == "play") play();
  if (argc > 1 && QByteArray(argv[1]) == "resume") resume();
  return runProgram(app, StartOptions{});
}
