#pragma once

#include <QDialog>
#include <QStringList>

#include "platform/dialogs.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

// The font picker of the configuration: a face, the four style bits (bold, italic, underline,
// strike-out) and a colour, with a sample. Qt's own font dialog is not used: it matches the
// preset's style by its translated name ("Fett" is none of a face's styles, so a bold font came
// back bold italic), Escape closed only its embedded part, and under Wine it crashed on a
// system face without styles. Here a style is the four check boxes, and faces without styles
// are not offered.
class FontPicker : public QDialog {
  Q_OBJECT

 public:
  explicit FontPicker(const ColoredFont& initial, QWidget* parent = nullptr);

  // The preset font with the face, style bits and colour chosen; the size is the preset's.
  ColoredFont chosen() const;

  // The scalable faces that have at least one style, sorted.
  static QStringList offeredFamilies();

 private:
  void showColor();
  void showSample();

  ColoredFont initial_;
  // The face shown for the preset when the system stands in for it (Arial shown as Liberation
  // Sans): kept, the preset's own name is given back.
  QString shownFamily_;
  TColor color_;
  QListWidget* families_;
  QCheckBox *bold_, *italic_, *underline_, *strikeOut_;
  QPushButton* colorButton_;
  QLabel* sample_;
};
