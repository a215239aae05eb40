#pragma once

#include <QLabel>

// The console's red line for a journal that cannot be written: shown across the foot of its
// window from the first failed write until writing works again, hidden otherwise. It places
// itself and follows the window's size, above the controls there, so that it is never missed.
class JournalStatusLine : public QLabel {
  Q_OBJECT

 public:
  explicit JournalStatusLine(QWidget* console);

  // Empty hides the line.
  void setProblem(const QString& problem);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void place();
};
