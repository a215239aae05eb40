#include "app/journalstatusline.h"

#include <QEvent>

JournalStatusLine::JournalStatusLine(QWidget* console, QWidget* above)
    : QLabel(console), above_(above) {
  setObjectName("JournalStatusLine");
  setStyleSheet("QLabel { background: #c00000; color: white; font-weight: bold; padding: 2px; }");
  setWordWrap(true);
  hide();
  console->installEventFilter(this);
  if (above_) above_->installEventFilter(this);
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
  if ((watched == parent() || watched == above_) &&
      (event->type() == QEvent::Resize || event->type() == QEvent::Move) && isVisible())
    place();
  return QLabel::eventFilter(watched, event);
}

void JournalStatusLine::place() {
  const QWidget* console = parentWidget();
  const int height = heightForWidth(console->width());
  const int bottom = above_ ? above_->geometry().top() : console->height();
  setGeometry(0, bottom - height, console->width(), height);
}
