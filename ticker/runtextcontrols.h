#pragma once

#include <QObject>
#include <QString>

#include "platform/color.h"

class Commands;
class Dialogs;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QWidget;
class TOvalButton;

// The console's running-text controls: a view of the running-text list (core/runtextlist.h)
// and of the match's running text, whose handlers call the command layer.
// Owns: the list `ListStr` with its pop-up menu `PopupMenu1`, the line editor `Edit1` with the
// add button `obADDstr`, and in the strip the mode buttons `OB1`, `OBA`, `OBS`, `OBX`, the
// cyclic switch `OBC` and the indicators `DemoRS`, `LabelRS1`, `LabelRS2`. The list widget
// mirrors the model's lines and selection; the strip shows the match's playback mode.
class RunTextControls : public QObject {
  Q_OBJECT

 public:
  // Creates the controls into the console's strip `Panel2`, the list area and the edit panel
  // `Panel3`, showing the command layer's list.
  RunTextControls(QWidget* strip, QWidget* listArea, QWidget* editPanel, Commands& commands,
                  Dialogs& dialogs, QObject* parent = nullptr);

  QListWidget* ListStr() const { return listStr_; }
  QLineEdit* Edit1() const { return edit1_; }
  // Loads "Lauftext.txt" at start, warning when it was not read whole.
  void loadDefaultList();

 public slots:
  void mStatStartClick();  // F6
  void mRunStartClick();   // F7
  void mStartAllClick();   // F8
  void Clear1Click();      // F9 and OBX
  void OBCClick();
  void ListStrDblClick();  // replay in the last mode; Enter in the list does the same
  void ListStrClick();     // the operator picked an entry: copy it into Edit1
  void Edit1Enter();
  void obADDstrClick();
  void Stringdelete1Click();   // Ctrl+Del in the list
  void Openfile1Click();       // Ctrl+O in the list
  void Saveasdefault1Click();  // Ctrl+S in the list or the line editor

 signals:
  // A line for the console: what a command did or why it did not.
  void said(const QString& line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createStrip(QWidget* strip);
  void createList(QWidget* listArea);
  void createEditPanel(QWidget* editPanel);
  void startPlayback(int mode);
  // The list widget follows the model: its lines, then its selection.
  void showLines();
  void showSelection();
  // The strip follows the match's running text.
  void showPlayback();
  void tell(const struct Notice& notice);

  Commands& commands_;
  Dialogs& dialogs_;
  bool programSelecting_ = false;  // the list widget's selection is being set from the model

  QListWidget* listStr_ = nullptr;
  QMenu* popupMenu1_ = nullptr;
  QAction* save_ = nullptr;  // Ctrl+S, in the list and the line editor
  QLineEdit* edit1_ = nullptr;
  TOvalButton* obc_ = nullptr;
  QLabel* demoRS_ = nullptr;
  QLabel* labelRS1_ = nullptr;
  QLabel* labelRS2_ = nullptr;
};
