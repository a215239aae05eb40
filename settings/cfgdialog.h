#pragma once

#include <QDialog>

// The configuration dialog, created once at start-up and shown modally by the console.
class TCfgDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TCfgDialog(QWidget* parent = nullptr);
};
