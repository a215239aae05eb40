#pragma once

#include <QWidget>

class QToolButton;

// Two stacked arrow buttons: the upper half signals upClick, the lower half downClick.
class SpinButton : public QWidget {
  Q_OBJECT

 public:
  explicit SpinButton(QWidget* parent = nullptr);

 signals:
  void upClick();
  void downClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
};
