// The display's layout pass with real fonts: the plain arithmetic with its font fitting, and the
// whole FormResize that also writes bounds and fonts into the widgets.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "core/match.h"
#include "display/layout.h"
#include "display/tablo.h"
#include "settings/settings.h"
#include "support/fakes.h"
#include "widgets/label.h"

namespace {

const QSize kSizes[] = {{1024, 768}, {1920, 1080}, {3840, 2160}};

QFont arialBold() {
  QFont font("Arial");
  font.setBold(true);
  return font;
}

void LayoutPass(benchmark::State& state) {
  const QSize size = kSizes[state.range(0)];
  LayoutInput in;
  in.width = in.outerWidth = size.width();
  in.height = in.outerHeight = size.height();
  in.view = 0;
  in.title = {"SPIELTITEL", arialBold()};
  in.names = {"HEIM - GAST", arialBold()};
  in.score = {"10 - 9", arialBold()};
  in.date = {"07.12.26", arialBold()};
  for (auto _ : state) benchmark::DoNotOptimize(layoutTablo(in));
  state.SetLabel(QString("%1x%2").arg(size.width()).arg(size.height()).toStdString());
}
BENCHMARK(LayoutPass)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void FormResize(benchmark::State& state) {
  FakePlatform fake;
  fake.desktop.monitors = {QRect(QPoint(0, 0), kSizes[state.range(0)])};
  Settings settings;
  Match match;
  TFormTablo tablo(fake.platform, settings, match);
  tablo.show();
  tablo.ApplyScreenMode();
  tablo.Label4->setCaption("10 - 9");
  for (auto _ : state) tablo.FormResize();
  state.SetLabel(QString("%1x%2").arg(tablo.width()).arg(tablo.height()).toStdString());
}
BENCHMARK(FormResize)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The first pass at a new size also builds the font engines of the sizes it measures.
void FirstPassAtNewSizes(benchmark::State& state) {
  LayoutInput in;
  in.title = {"SPIELTITEL", arialBold()};
  in.names = {"HEIM - GAST", arialBold()};
  in.score = {"0 - 0", arialBold()};
  in.date = {"07.12.26", arialBold()};
  int height = 2160;
  for (auto _ : state) {
    in.width = in.outerWidth = height * 16 / 9;
    in.height = in.outerHeight = height;
    benchmark::DoNotOptimize(layoutTablo(in));
    height = height > 400 ? height - 7 : 2160;
  }
}
BENCHMARK(FirstPassAtNewSizes)->Unit(benchmark::kMicrosecond);

}  // namespace
