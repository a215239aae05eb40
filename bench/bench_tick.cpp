// One tick of the match clock with a running penalty: the penalty tick, both clocks written,
// and the repaint of what changed on the console and on the display, rendered offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/formctrl.h"
#include "core/match.h"
#include "display/label3d.h"
#include "display/tablo.h"
#include "settings/settings.h"
#include "support/fakes.h"

namespace {

void ClockTick(benchmark::State& state) {
  FakePlatform fake;
  fake.desktop.monitors = {QRect(0, 0, 1920, 1080)};
  Settings settings;
  Match match;
  TFormCtrl console(fake.platform, settings, match);
  TFormTablo display(fake.platform, settings, match);
  console.attachWindows(nullptr, &display, nullptr, nullptr);
  settings.change([](TSettings& s) { s.Time = 1'000'000; });  // no end of period while measuring
  display.show();
  display.ApplyScreenMode();
  console.show();
  console.LabStrafe_Click(0);
  console.bPlayClick();
  QApplication::processEvents();
  for (auto _ : state) {
    fake.tick.advance(static_cast<quint32>(state.range(0)));
    console.TimerTimer();
    QApplication::processEvents();
  }
  state.SetLabel(console.LabelTime->caption().toStdString());
}
// 200: the timer's own cadence, a new second every fifth tick; 1000: every tick a new second.
BENCHMARK(ClockTick)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
