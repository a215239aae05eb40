#pragma once

#include <QDialog>

// The information window: product name and version, shown modally from the console.
class TFormInfo : public QDialog {
  Q_OBJECT

 public:
  explicit TFormInfo(QWidget* parent = nullptr);
};
