#pragma once

#include <QLabel>

// The console's red line for a journal that cannot be written: shown across the console from
// the first failed write until writing works again, hidden otherwise. It places itself right
// above `above` (the running-text edit field, so that it stays usable), or at the foot of the
// window, and follows the window's size.
class JournalStatusLine : public QLabel {
  Q_OBJECT

 public:
  explicit JournalStatusLine(QWidget* console, QWidget* above = nullptr);

  // Empty hides the line.
  void setProblem(const QString& problem);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void place();

  QWidget* above_;
};
