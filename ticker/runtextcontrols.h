#pragma once

#include <QObject>
#include <QString>

#include "platform/color.h"
#include "ticker/runlistfile.h"

class Dialogs;
class Match;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QWidget;
class TOvalButton;

// The console's running-text controls and their playback of the list.
// Owns: the list `ListStr` with its pop-up menu `PopupMenu1`, the line editor `Edit1` with the
// add button `obADDstr`, and in the strip the mode buttons `OB1`, `OBA`, `OBS`, `OBX`, the
// cyclic switch `OBC` and the indicators `DemoRS`, `LabelRS1`, `LabelRS2`.
// Playback goes through the match (mode, text, shown); the display puts it on its ticker and
// reports each end of pass to RunLabelEnd. The list selection is the playback cursor: the end
// of each pass moves it on. RunListFile reads and writes "Lauftext.txt" in the program's folder.
class TRunTextControls : public QObject {
  Q_OBJECT

 public:
  // Creates the controls into the console's strip `Panel2`, the list area and the edit panel
  // `Panel3`, and loads "Lauftext.txt" from programFolder.
  TRunTextControls(QWidget* strip, QWidget* listArea, QWidget* editPanel, Match& match,
                   Dialogs& dialogs, const QString& programFolder, QObject* parent = nullptr);

  QListWidget* ListStr() const { return listStr_; }
  QLineEdit* Edit1() const { return edit1_; }
  QString listFilePath() const;
  // The list as it stands, unsaved edits included, and the selected entry (-1: none).
  QStringList entries() const;
  int selectedEntry() const { return itemIndex(); }
  // Puts back a list kept from a run of the program that did not end normally.
  void restoreEntries(const QStringList& entries, int selected);

 signals:
  // After every change of the entries: an insert, a delete, another file, the saved list.
  void entriesEdited();

 public slots:
  void mStatStartClick();  // F6
  void mRunStartClick();   // F7
  void mStartAllClick();   // F8
  void Clear1Click();      // F9 and OBX
  void RunLabelEnd();      // the ticker finished a pass
  void OBCClick();
  void ListStrDblClick();  // replay in the last mode; Enter in the list does the same
  void ListStrClick();     // the operator picked an entry: copy it into Edit1
  void Edit1Enter();
  void obADDstrClick();
  void Stringdelete1Click();   // Ctrl+Del in the list
  void Openfile1Click();       // Ctrl+O in the list
  void Saveasdefault1Click();  // Ctrl+S in the list

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createStrip(QWidget* strip);
  void createList(QWidget* listArea);
  void createEditPanel(QWidget* editPanel);
  void startPlayback(int mode);
  void stopPlayback();
  void showIndicators(bool on);
  void setDemoColor(TColor color);
  int itemIndex() const;
  // Selection changes made by the program; they do not count as a pick.
  void selectEntry(int index);
  void replaceEntries(const QStringList& entries);
  // Replaces the list with a file's entries, warning once when the file was not loaded whole.
  void replaceEntries(const QStringList& entries, const QString& file,
                      const RunListFile::Shortfall& shortfall);
  bool reloadDefaultList();

  Match& match_;
  Dialogs& dialogs_;
  QString programFolder_;
  bool programSelecting_ = false;
  bool listComplete_ = true;  // the list holds its file whole: saving cuts nothing off

  QListWidget* listStr_ = nullptr;
  QMenu* popupMenu1_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  TOvalButton* obc_ = nullptr;
  QLabel* demoRS_ = nullptr;
  QLabel* labelRS1_ = nullptr;
  QLabel* labelRS2_ = nullptr;
};
