// The running-text strip's tick (step and paint) at display sizes, next to the floor of what a
// tick can cost: scrolling a picture of the strip's size in place by the same step. The list
// file with 100,000 entries, read and written alone and through the console's list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWindow>
#include <ctime>
#include <memory>

#include "commands/commands.h"
#include "core/match.h"
#include "core/runtextlist.h"
#include "platform/dialogs.h"
#include "platform/os/runlistfile.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "support/fakes.h"
#include "ticker/runstring.h"
#include "ticker/runtextcontrols.h"

namespace {

const QString sixtyChars =
    QStringLiteral("Herzlich willkommen zum Spiel HEIM gegen GAST! Viel Spass!!!");

// The display's window with its strip laid out as the display does for a client of w x h.
struct Display {
  Display(int w, int h, const QString& text) {
    window.resize(w, h);
    const int frameHeight = h / 13;
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(frameHeight * 66 / 100);
    strip.setParent(&window);
    strip.setExternalTicks(true);
    strip.setColorH(colors::black);
    strip.setColorS(colors::black);
    strip.setRFont({font, colors::yellow});
    const int height = QFontMetrics(font, &strip).height() * 100 / 85;
    strip.setGeometry(0, h - frameHeight, w - w / 4, height);
    strip.setRText(text);
    strip.setOneStep(3);
    window.show();
    // Ticks paint only into an exposed window.
    while (!window.windowHandle()->isExposed()) QApplication::processEvents();
    strip.Start(0);
  }
  QWidget window;
  TRunLabel strip;
};

// CPU time of the process in microseconds, including the painter's helper threads.
double cpuMicros() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

// CPU time of one in-place scroll of a picture of the given size by the strip's step; the
// smallest of five rounds of 1000 scrolls.
double floorMicros(QSize size, int step) {
  QPixmap picture(size);
  picture.fill(Qt::black);
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    const double start = cpuMicros();
    for (int i = 0; i < 1000; ++i) picture.scroll(-step, 0, picture.rect());
    best = qMin(best, (cpuMicros() - start) / 1000);
  }
  return best;
}

void BM_Tick(benchmark::State& state, const QString& text) {
  Display display(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), text);
  display.strip.tick();  // builds the cached text picture once
  const double start = cpuMicros();
  for (auto _ : state) display.strip.tick();
  const double tick = (cpuMicros() - start) / static_cast<double>(state.iterations());
  const double floor = floorMicros(display.strip.size(), display.strip.OneStep());
  state.counters["strip_w"] = display.strip.width();
  state.counters["strip_h"] = display.strip.height();
  state.counters["scroll_us"] = floor;
  state.counters["x_scroll"] = tick / floor;
}

void BM_Tick60(benchmark::State& state) { BM_Tick(state, sixtyChars); }
void BM_Tick1000(benchmark::State& state) {
  BM_Tick(state, sixtyChars.repeated(17).left(RunListFile::maxEntryLength));
}
BENCHMARK(BM_Tick60)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Tick1000)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);

QStringList manyEntries() {
  QStringList entries;
  for (int i = 0; i < 100000; ++i)
    entries << QStringLiteral("Eintrag %1: Grüße an alle Zuschauer in der Halle").arg(i);
  return entries;
}

void BM_ListRead(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Lauftext.txt");
  RunListFile::write(path, manyEntries());
  for (auto _ : state) {
    QStringList entries;
    RunListFile::read(path, entries);
    benchmark::DoNotOptimize(entries);
  }
}
BENCHMARK(BM_ListRead)->Unit(benchmark::kMillisecond);

void BM_ListWrite(benchmark::State& state) {
  QTemporaryDir dir;
  const QStringList entries = manyEntries();
  for (auto _ : state) RunListFile::write(dir.filePath("Lauftext.txt"), entries);
}
BENCHMARK(BM_ListWrite)->Unit(benchmark::kMillisecond);

// Picks the same file every time; the benchmark shows no boxes.
class PickingDialogs final : public Dialogs {
 public:
  explicit PickingDialogs(QString file) : file_(std::move(file)) {}
  bool askOkCancel(QWidget*, const QString&, const QString&) override { return false; }
  void showError(QWidget*, const QString&, const QString&) override {}
  void showWarning(QWidget*, const QString&, const QString&) override {}
  void beep() override {}
  QString pickOpenFile(QWidget*, const OpenFileRequest&) override { return file_; }
  std::optional<TColor> pickColor(QWidget*, TColor) override { return std::nullopt; }
  std::optional<ColoredFont> pickFont(QWidget*, const ColoredFont&) override {
    return std::nullopt;
  }
  QString pickSaveFile(QWidget*, const QString&, const QString&) override { return QString(); }
  void openUrl(const QString&) override {}

 private:
  QString file_;
};

struct Console {
  explicit Console(const QString& folder)
      : dialogs(QDir(folder).filePath(QStringLiteral("Lauftext.txt"))),
        platform{fake.tick, fake.sound, fake.desktop, dialogs, fake.help},
        commands(match, settings, texts, platform, folder),
        controls(&strip, &listArea, &editPanel, commands, dialogs) {
    controls.loadDefaultList();
    window.resize(428, 468);
    auto* layout = new QVBoxLayout(&window);
    for (QWidget* w : {&strip, &listArea, &editPanel}) layout->addWidget(w);
    window.show();
  }
  FakePlatform fake;
  PickingDialogs dialogs;
  Platform platform;
  Match match;
  Settings settings;
  RunTextList texts;
  Commands commands;
  QWidget window, strip, listArea, editPanel;
  RunTextControls controls;
};

void BM_ConsoleOpenList(benchmark::State& state) {
  QTemporaryDir dir;
  RunListFile::write(dir.filePath("Lauftext.txt"), manyEntries());
  Console console(dir.path());
  for (auto _ : state) {
    console.controls.Openfile1Click();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ConsoleOpenList)->Unit(benchmark::kMillisecond);

// A foreign 50 MB file of one million lines: only what the reading caps allow reaches the list.
void BM_ConsoleOpenHugeFile(benchmark::State& state) {
  QTemporaryDir dir;
  {
    QFile f(dir.filePath("Lauftext.txt"));
    f.open(QIODevice::WriteOnly);
    const QByteArray line = QByteArray(48, 'x') + "\r\n";
    for (int i = 0; i < 1000000; ++i) f.write(line);
  }
  Console console(dir.path());
  for (auto _ : state) {
    console.controls.Openfile1Click();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ConsoleOpenHugeFile)->Unit(benchmark::kMillisecond);

void BM_ConsoleSaveList(benchmark::State& state) {
  QTemporaryDir dir;
  RunListFile::write(dir.filePath("Lauftext.txt"), manyEntries());
  Console console(dir.path());
  for (auto _ : state) console.controls.Saveasdefault1Click();
}
BENCHMARK(BM_ConsoleSaveList)->Unit(benchmark::kMillisecond);

}  // namespace
