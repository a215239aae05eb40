// The least a running text can cost on this machine with Qt's window buffer, for comparison
// with the program: a full-screen window with a strip as large as the display's running text
// that, every 10 ms, repaints the column a step brings in and, if asked, a share of the strip
// copied from a picture in six bands, as a step of the real text repaints where its ink lies.
// What it shows is not a running text; it measures the paint, the hand-over to the X server
// and the wake-up that every step costs. `bench/process-cpu --floor` measures it.
//
// Usage: paint_floor [STEP [SHARE]]     defaults: 3 pixels, 0 % of the strip
// The strip is a thirteenth of the screen's height and three quarters of its width, as the
// display's running text (2880x166 pixels at 3840x2160).
#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

class FloorWindow : public QWidget {
 public:
  FloorWindow(int step, int share) : step_(step), share_(share) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QStringLiteral("Paint floor"));
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, &FloorWindow::step);
    timer_.start();
  }

 protected:
  void resizeEvent(QResizeEvent*) override {
    strip_ = QRect(0, height() - height() / 13, width() * 3 / 4, height() / 13);
    picture_ = QImage(strip_.size(), QImage::Format_RGB32);
    picture_.fill(Qt::yellow);
  }

  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    for (const QRect& r : event->region()) {
      painter.setClipRect(r);
      painter.drawImage(r, picture_, r.translated(-strip_.topLeft()));
    }
  }

 private:
  void step() {
    if (strip_.isEmpty()) return;
    x_ = x_ >= step_ ? x_ - step_ : strip_.width() - step_;
    QRegion region(strip_.x() + x_, strip_.y(), step_, strip_.height());
    const int bandHeight = strip_.height() / 6;
    for (int band = 0; band < 6 && share_ > 0; ++band)
      region += QRect(strip_.x(), strip_.y() + band * bandHeight, strip_.width() * share_ / 100,
                      bandHeight);
    repaint(region);
  }

  QTimer timer_;
  int step_;
  int share_;
  QRect strip_;
  QImage picture_;
  int x_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  const int step = args.size() > 1 ? qMax(1, args[1].toInt()) : 3;
  const int share = args.size() > 2 ? qBound(0, args[2].toInt(), 100) : 0;
  // Placed over the whole screen as the display is: without a window manager, a full-screen
  // request alone would leave the window at its default size.
  FloorWindow window(step, share);
  window.setWindowFlag(Qt::FramelessWindowHint);
  window.setGeometry(QGuiApplication::primaryScreen()->geometry());
  window.show();
  return app.exec();
}
