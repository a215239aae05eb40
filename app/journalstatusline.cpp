#include "app/journalstatusline.h"

#include <QEvent>

JournalStatusLine::JournalStatusLine(QWidget* console) : QLabel(console) {
  setObjectName("JournalStatusLine");
  setStyleSheet("QLabel { background: #c00000; color: white; font-weight: bold; padding: 2px; }");
  setWordWrap(true);
  hide();
  console->installEventFilter(this);
}

void JournalStatusLine::setProblem(const QString& problem) {
  setText(problem);
  setToolTip(problem);
  setVisible(!problem.isEmpty());
  if (problem.isEmpty()) return;
  place();
  raise();
}

bool JournalStatusLine::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) place();
  return QLabel::eventFilter(watched, event);
}

void JournalStatusLine::place() {
  const QWidget* console = parentWidget();
  const int height = heightForWidth(console->width());
  setGeometry(0, console->height() - height, console->width(), height);
}
