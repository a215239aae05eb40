// The display's layout pass with real fonts: the plain arithmetic with its font fitting, and the
// whole FormResize that also writes bounds and fonts into the widgets.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "display/consolelink.h"
#include "display/label.h"
#include "display/layout.h"
#include "display/tablo.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/settingskey.h"
#include "platform/sound.h"
#include "platform/tickcounter.h"
#include "settings/tsettings.h"

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

// Just enough of a platform and a console for a display that lays itself out.
class OneMonitor final : public Desktop {
 public:
  QList<QRect> monitorBounds() const override { return {bounds}; }
  int logicalPpi() const override { return 96; }
  int sizingFrameWidth() const override { return 4; }
  void moveCursor(const QPoint&) override {}
  QRect bounds;
};

class NoSound final : public SoundService {
 public:
  void play(const QString&, bool) override {}
  void stopAll() override {}
  QString systemSoundFile() const override { return {}; }
};

// A first start: nothing stored, nothing written.
class NoSettings final : public SettingsKey {
 public:
  bool openExisting() override { return false; }
  bool openOrCreate() override { return false; }
  Text readText(const QString&) override { return {Status::Missing, {}}; }
  Integer readInteger(const QString&) override { return {Status::Missing, 0}; }
  bool writeText(const QString&, const QString&) override { return false; }
  bool writeInteger(const QString&, qint32) override { return false; }
  bool close() override { return true; }
};

class IdleConsole final : public ConsoleLink {
 public:
  TSettings& settings() override { return record; }
  void setNamesHeader(const QString&) override {}
  void setPenaltyLabelsVisible(bool) override {}
  void endAllPenalties() override {}
  void setConsoleClockText(const QString&) override {}
  QString clockText(int) const override { return "45:00"; }
  void displayActivated() override {}
  void enableLogoCommand() override {}
  TSettings record;
};

void FormResize(benchmark::State& state) {
  QtTickCounter tick;
  NoSound sound;
  OneMonitor desktop;
  desktop.bounds = QRect(QPoint(0, 0), kSizes[state.range(0)]);
  QtDialogs dialogs;
  NoSettings settings;
  Platform platform{tick, sound, desktop, dialogs, settings};
  IdleConsole console;
  TFormTablo tablo(platform, console);
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

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
