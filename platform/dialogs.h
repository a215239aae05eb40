#pragma once

#include <QFont>
#include <QString>
#include <optional>

#include "platform/color.h"

class QWidget;

// What an open-file picker starts with.
struct OpenFileRequest {
  QString folder;         // the folder it opens in
  QString filter;         // "Name (*.ext);;Other (*.x)"
  QString file;           // preselected file, empty for none
  QString defaultSuffix;  // added to a typed name that has none, empty for none
};

// A font and its colour, as the font picker shows and returns them.
struct ColoredFont {
  QFont font;
  TColor color = colors::black;
};

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
  virtual QString pickOpenFile(QWidget* parent, const OpenFileRequest& request) = 0;
  // Solid colours only; nothing when the operator cancelled.
  virtual std::optional<TColor> pickColor(QWidget* parent, TColor initial) = 0;
  // Scalable faces with effects (underline, strike-out) and a colour; nothing when cancelled.
  virtual std::optional<ColoredFont> pickFont(QWidget* parent, const ColoredFont& initial) = 0;
  // Offers `suggested` (folder and name); an empty result means the operator cancelled.
  virtual QString pickSaveFile(QWidget* parent, const QString& suggested,
                               const QString& filter) = 0;
  virtual void openUrl(const QString& url) = 0;
};

class QtDialogs final : public Dialogs {
 public:
  bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) override;
  void showError(QWidget* parent, const QString& caption, const QString& text) override;
  void showWarning(QWidget* parent, const QString& caption, const QString& text) override;
  void beep() override;
  QString pickOpenFile(QWidget* parent, const OpenFileRequest& request) override;
  std::optional<TColor> pickColor(QWidget* parent, TColor initial) override;
  std::optional<ColoredFont> pickFont(QWidget* parent, const ColoredFont& initial) override;
  QString pickSaveFile(QWidget* parent, const QString& suggested, const QString& filter) override;
  void openUrl(const QString& url) override;
};
