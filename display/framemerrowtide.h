#pragma once

#include <QWidget>

class TLabel3D;

// The maker's mark in the display's bottom right corner: three shadowed labels side by side
// on dark grey. On every resize the left part's text is fitted to its width and the other two
// parts take the same size (layoutMark).
class TFrameMerrowtide : public QWidget {
  Q_OBJECT

 public:
  // ppi: the screen's logical pixels per inch, for point sizes.
  explicit TFrameMerrowtide(int ppi, QWidget* parent = nullptr);

  TLabel3D* MarkLeft;
  TLabel3D* MarkMiddle;
  TLabel3D* MarkRight;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  int ppi_;
};
