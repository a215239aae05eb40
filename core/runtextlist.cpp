#include "core/runtextlist.h"

int RunTextList::valid(int index) const { return index >= 0 && index < count() ? index : kNone; }

void RunTextList::load(const QStringList& lines, bool complete) {
  lines_ = lines;
  complete_ = complete;
  unsaved_ = false;
  linesDone(Edit::Reset, 0, 0);
}

void RunTextList::restore(const QStringList& lines, int selected) {
  lines_ = lines;
  complete_ = true;
  unsaved_ = true;  // the kept list may differ from the file; saving it is up to the operator
  linesDone(Edit::Reset, 0, selected);
}

void RunTextList::select(int index) {
  const int wanted = valid(index);
  if (wanted == selected_) return;
  selected_ = wanted;
  emit selectionChanged();
}

void RunTextList::insertAfterSelected(const QString& line) {
  const int at = selected_ + 1;  // kNone + 1 is the top
  lines_.insert(at, line);
  unsaved_ = true;
  linesDone(Edit::Insert, at, at);
}

void RunTextList::insertBeforeSelected(const QString& line) {
  const bool none = selected_ == kNone;
  const int at = none ? count() : selected_;
  lines_.insert(at, line);
  unsaved_ = true;
  linesDone(Edit::Insert, at, none ? kNone : at);
}

bool RunTextList::removeSelected() {
  if (selected_ == kNone) return false;
  const int at = selected_;
  lines_.removeAt(at);
  unsaved_ = true;
  linesDone(Edit::Remove, at, qMin(at, count() - 1));
  return true;
}

void RunTextList::markSaved() { unsaved_ = false; }

void RunTextList::setStopsAfterLast(bool stops) {
  if (stops == stopsAfterLast_) return;
  stopsAfterLast_ = stops;
  emit stopsAfterLastChanged();
}

// The selection is cleared while views catch up with the lines, then set to where it belongs:
// a view never holds an index into lines it has not seen yet.
void RunTextList::linesDone(Edit edit, int at, int select) {
  selected_ = kNone;
  switch (edit) {
    case Edit::Reset:
      emit linesReset();
      break;
    case Edit::Insert:
      emit lineInserted(at);
      break;
    case Edit::Remove:
      emit lineRemoved(at);
      break;
  }
  emit linesEdited();
  selected_ = valid(select);
  emit selectionChanged();
}
