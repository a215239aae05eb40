#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The program's own question box: "Ja"/"Nein" with a question picture for a text that contains
// "?", otherwise "OK"/"Abbrechen" with a warning picture. Both answer Yes (accepted) or Cancel.
class TFDlgYesNo : public QDialog {
  Q_OBJECT

 public:
  explicit TFDlgYesNo(const QString& appTitle, QWidget* parent = nullptr);

  void SetQuestion(const QString& text);

  QLabel* Label1;
  QLabel* Icon;
  QLabel* Icon2;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* event) override;
};

// The two 32 x 32 pictures, drawn in code.
QPixmap questionIcon();
QPixmap warningIcon();
