// One tick of the match clock with a running penalty: the penalty tick, both clocks written,
// and the repaint of what changed on the console and on the display, rendered offscreen, with
// the display full screen on a 1920x1080 or a 3840x2160 monitor. With one window left hidden,
// the other window's share is measured alone (a hidden window repaints nothing).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/formctrl.h"
#include "commands/commands.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "display/tablo.h"
#include "session/matchsession.h"
#include "settings/settings.h"
#include "support/fakes.h"
#include "widgets/label3d.h"

namespace {

constexpr int kPeriodSeconds = 30 * 60;

// Which windows are shown.
enum Shown { kBoth, kConsoleOnly, kDisplayOnly };

void ClockTick(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const auto step = static_cast<quint32>(state.range(1));
  const auto shown = static_cast<Shown>(state.range(2));
  FakePlatform fake;
  fake.desktop.monitors = {QRect(0, 0, width, width * 9 / 16)};
  Settings settings;
  MatchSession session(settings, fake.platform, QString());
  Match& match = session.match();
  TFormCtrl console(fake.platform, session);
  TFormTablo display(fake.platform, settings, match);
  console.attachWindows(nullptr, &display, nullptr, nullptr);
  settings.change([](TSettings& s) { s.Time = kPeriodSeconds; });
  if (shown != kConsoleOnly) {
    display.show();
    display.ApplyScreenMode();
  }
  if (shown != kDisplayOnly) console.show();
  console.LabStrafe_Click(0);
  console.bPlayClick();
  QApplication::processEvents();
  quint32 penaltyElapsed = 0;
  quint32 clockElapsed = 0;
  for (auto _ : state) {
    // A handball half: before it ends, the match starts again with a new penalty outside the
    // measurement.
    if ((clockElapsed += step) >= (kPeriodSeconds - 60) * 1000) {
      state.PauseTiming();
      console.bPlayClick();  // pause
      match.reset();
      console.LabStrafe_Click(0);
      console.bPlayClick();
      QApplication::processEvents();
      clockElapsed = penaltyElapsed = step;
      state.ResumeTiming();
    }
    // The penalty lasts two minutes; it starts again outside the measurement before it ends.
    if ((penaltyElapsed += step) >= 100'000) {
      state.PauseTiming();
      console.LabStrafe_Click(0);  // cancel
      console.LabStrafe_Click(0);  // start anew
      QApplication::processEvents();
      penaltyElapsed = step;
      state.ResumeTiming();
    }
    fake.tick.advance(step);
    session.commands().clockTick();
    QApplication::processEvents();
  }
  static const char* const kShownNames[] = {"both windows", "console only", "display only"};
  state.SetLabel(
      QString("%1x%2 %3, clock %4 penalty %5")
          .arg(fake.desktop.monitors[0].width())
          .arg(fake.desktop.monitors[0].height())
          .arg(kShownNames[shown], console.LabelTime->caption(), display.LabelStraf1a->caption())
          .toStdString());
}
// Step 200: the timer's own cadence, a new second every fifth tick; 1000: every tick a new
// second.
BENCHMARK(ClockTick)
    ->ArgsProduct({{1920, 3840}, {200, 1000}, {kBoth}})
    ->Args({3840, 1000, kConsoleOnly})
    ->Args({3840, 1000, kDisplayOnly})
    ->ArgNames({"width", "step", "shown"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
