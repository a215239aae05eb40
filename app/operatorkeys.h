#pragma once

// The operator's keys: every command a key carries, in one table (app/operatorkeys.cpp) that
// reads as the README's key table. The console and the display install the same actions, so a
// key pressed on either window runs its command directly; no menu ever shows them. A key that
// a command carries wins over the focused control (Ctrl+Z in the line editor switches the
// display clock), except the few a text field edits with (Ctrl+Backspace deletes a word there).

#include <QList>
#include <QObject>
#include <functional>

class MatchSession;
class QAction;
class QKeyEvent;
class QWidget;
class TFormCtrl;

class OperatorKeys : public QObject {
  Q_OBJECT

 public:
  // What the keys run besides the session's commands: the console's handlers that ask the
  // operator first or show what a command refused, and the program's report and remote.
  struct Targets {
    MatchSession& session;
    TFormCtrl& console;
    std::function<void()> saveReport;
    std::function<void()> startRemote;
  };

  // The actions are children of this object, which the program makes a child of the console.
  OperatorKeys(Targets targets, QObject* parent);
  ~OperatorKeys() override;

  // The keys act while `window` is the active window.
  void install(QWidget& window);
  // The action of that objectName ("N111", "mUndo"); null for none.
  QAction* action(const char* name) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The row of the enabled action carrying the key; -1 for none. A keypad key also matches
  // without its keypad flag, as Qt's own lookup does: keypad 1 with Num Lock off is Ctrl+End.
  int rowForKey(const QKeyEvent& key) const;
  // Check marks and enabled states follow the match and the settings.
  void render();

  Targets targets_;
  QList<QAction*> actions_;  // one per row of the table, in its order
  QList<QWidget*> windows_;
  QAction *logo_, *clockShown_, *setClock_, *mute_;
};
