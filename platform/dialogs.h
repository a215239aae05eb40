#pragma once

#include <QString>

class QWidget;

// The system's standard boxes, pickers and shell calls.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A question box with OK and Cancel, Cancel being the default; true only for OK.
  virtual bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
  virtual void showError(QWidget* parent, const QString& caption, const QString& text) = 0;
  virtual void showWarning(QWidget* parent, const QString& caption, const QString& text) = 0;
  virtual void beep() = 0;
  // An empty result means the operator cancelled.
  virtual QString pickOpenFile(QWidget* parent, const QString& folder, const QString& filter) = 0;
  // Offers `suggested` (folder and name); an empty result means the operator cancelled.
  virtual QString pickSaveFile(QWidget* parent, const QString& suggested, const QString& filter) = 0;
  virtual void openUrl(const QString& url) = 0;
};

class QtDialogs final : public Dialogs {
 public:
  bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) override;
  void showError(QWidget* parent, const QString& caption, const QString& text) override;
  void showWarning(QWidget* parent, const QString& caption, const QString& text) override;
  void beep() override;
  QString pickOpenFile(QWidget* parent, const QString& folder, const QString& filter) override;
  QString pickSaveFile(QWidget* parent, const QString& suggested, const QString& filter) override;
  void openUrl(const QString& url) override;
};
