#pragma once

#include <QDialog>

class Dialogs;
class QLabel;
class QToolButton;
class QWidget;

// The information window: name, version and icon of the program, and two ways to the maker's
// contact page (the banner and the address below the button). Shown modally by the console;
// it keeps no state between showings. The page is opened through the platform's shell call,
// whose failure the window ignores.
class TFormInfo : public QDialog {
  Q_OBJECT

 public:
  explicit TFormInfo(Dialogs& dialogs, QWidget* parent = nullptr);

  QLabel* Image1;
  QWidget* Panel1;
  QLabel* ImageICON;
  QLabel* Label1;
  QLabel* LabelVer;
  QLabel* LabelParts;
  QToolButton* sOK;
  QLabel* Lab;
  QLabel* Label2;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void Image1Click();

  Dialogs& dialogs_;
};

// Pictures of the window, drawn in code: the maker's banner (238 × 65) and the button's glyph,
// two 16 × 16 states side by side (normal, disabled).
QImage infoBanner();
QImage agreeGlyphStrip();
