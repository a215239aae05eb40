#pragma once

#include <QObject>
#include <QStringList>

// The operator's list of running texts: its lines, the selected line, which is also the
// playback cursor (the end of each pass moves it on), whether all-texts playback stops after
// the last line, and whether the list has edits not yet saved or was not loaded whole (a list
// cut short on loading must not be saved over its file). The console's list widget is a view
// of it; the display, the journal and the remote read it from here.
class RunTextList : public QObject {
  Q_OBJECT

 public:
  static constexpr int kNone = -1;

  explicit RunTextList(QObject* parent = nullptr) : QObject(parent) {}

  const QStringList& lines() const { return lines_; }
  int count() const { return int(lines_.size()); }
  // The selected line's index, or kNone.
  int selected() const { return selected_; }
  QString selectedLine() const { return selected_ == kNone ? QString() : lines_[selected_]; }
  // Released (false): all-texts playback starts again after the last line; set: it stops there.
  bool stopsAfterLast() const { return stopsAfterLast_; }
  bool unsaved() const { return unsaved_; }
  bool complete() const { return complete_; }

  // A list read from a file, `complete` unless the reader left lines out; the first line is
  // selected.
  void load(const QStringList& lines, bool complete);
  // A list kept from a run of the program that did not end normally, with its selection.
  void restore(const QStringList& lines, int selected);
  // Selects `index`; anything outside the list selects none.
  void select(int index);
  // A new line after the selected one (at the top when none is), which becomes selected.
  void insertAfterSelected(const QString& line);
  // A new line before the selected one, which becomes selected; with none selected the line
  // goes to the end and none stays selected.
  void insertBeforeSelected(const QString& line);
  // Removes the selected line and selects the one that took its place (or the new last one).
  bool removeSelected();
  void markSaved();
  void setStopsAfterLast(bool stops);

 signals:
  // The lines were replaced by a loaded or restored list.
  void linesReset();
  void lineInserted(int index);
  void lineRemoved(int index);
  // After each of the three above: the lines changed (the journal records them then).
  void linesEdited();
  void selectionChanged();
  void stopsAfterLastChanged();

 private:
  enum class Edit { Reset, Insert, Remove };
  int valid(int index) const;
  void linesDone(Edit edit, int at, int select);

  QStringList lines_;
  int selected_ = kNone;
  bool stopsAfterLast_ = false;
  bool unsaved_ = false;
  bool complete_ = true;
};
