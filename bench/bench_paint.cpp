// Paint cost of the console's most frequent redraws: the clock label on every timer tick and
// the play button on press and release. Each counts the parent's paint events to show that
// only the control's own rectangle is redrawn.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include "widgets/label3d.h"
#include "widgets/ovalbutton.h"

namespace {

// Counts paint events of the watched widget and the largest area one of them covered.
class PaintWatch : public QObject {
 public:
  int paints = 0;
  int largestArea = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      ++paints;
      const QRect r = static_cast<QPaintEvent*>(e)->region().boundingRect();
      largestArea = qMax(largestArea, r.width() * r.height());
    }
    return false;
  }
};

struct Console {
  QWidget panel;
  PaintWatch watch;
  Console() {
    panel.resize(428, 358);
    panel.setAutoFillBackground(true);
    panel.setPalette(QPalette(Qt::black));
  }
  void show() {
    panel.show();
    QCoreApplication::processEvents();
    panel.installEventFilter(&watch);
  }
};

void BM_ClockLabelRepaint(benchmark::State& state) {
  Console console;
  TLabel3D clock(&console.panel);
  clock.setGeometry(133, 29, 163, 54);
  QFont font("Arial");
  font.setPixelSize(60);
  font.setBold(true);
  clock.setFont(font);
  clock.setAlignment(Label::Alignment::Center);
  clock.setTextLayout(Label::TextLayout::Center);
  clock.setHighLightColor(colors::black);
  clock.setColor(0x006000);
  clock.setFontColor(colors::yellow);
  console.show();

  int second = 0;
  for (auto _ : state) {
    clock.setCaption(QStringLiteral("12:%1").arg(second++ % 60, 2, 10, QLatin1Char('0')));
    clock.repaint();
  }
  state.counters["parent_paints"] = console.watch.paints;
  state.counters["parent_area"] = console.watch.largestArea;
}
BENCHMARK(BM_ClockLabelRepaint)->Unit(benchmark::kMicrosecond);

void sendMouse(QWidget& target, QEvent::Type type, QPoint pos) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent event(type, QPointF(pos), target.mapToGlobal(QPointF(pos)),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&target, &event);
}

// One iteration is one press or one release, each redrawing the button's contents.
void BM_PlayButtonPressRepaint(benchmark::State& state) {
  Console console;
  TOvalButton play(&console.panel);
  play.setGeometry(186, 147, 57, 57);
  QFont font = play.font();
  font.setBold(true);
  play.setFont(font);
  play.setFontColor(colors::lime);
  play.setCaption("Play");
  console.show();

  const QPoint centre(28, 28);
  sendMouse(play, QEvent::MouseMove, centre);
  bool pressed = false;
  for (auto _ : state) {
    sendMouse(play, pressed ? QEvent::MouseButtonRelease : QEvent::MouseButtonPress, centre);
    pressed = !pressed;
  }
  if (pressed) sendMouse(play, QEvent::MouseButtonRelease, centre);
  state.counters["parent_paints"] = console.watch.paints;
  state.counters["parent_area"] = console.watch.largestArea;
}
BENCHMARK(BM_PlayButtonPressRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
