// The cost on the UI thread of one command with the match journal recording it: the snapshot,
// the report event and state lines, and their writes to the operating system. The sync to the
// disk runs on the journal's own thread, so it shows here only when it holds up a write.
// Besides Google Benchmark's mean, the median and the worst single command are printed; the
// journal lives in the working folder, on a real disk rather than a memory file system.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "core/match.h"
#include "journal/matchjournal.h"
#include "support/fakes.h"

namespace {

void GoalCommand(benchmark::State& state) {
  QTemporaryDir folder(QDir::currentPath() + "/bench-journal-XXXXXX");
  FakeTick tick;
  Match match;
  std::unique_ptr<MatchJournal> journal;
  if (state.range(0) == 1)
    journal = std::make_unique<MatchJournal>(match, tick, folder.filePath("j"));
  if (state.range(0) == 2) journal = std::make_unique<MatchJournal>(match, tick, "/dev/null");
  match.playPause(tick.now());
  match.penaltyClick(0, tick.now());

  std::vector<double> micros;
  for (auto _ : state) {
    tick.advance(700);
    const auto start = std::chrono::steady_clock::now();
    match.changeScore(2, +1);
    micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  state.counters["worst_us"] = micros.back();
}
// 0: the command alone; 1: with the journal recording it; 2: the same work written to
// /dev/null, which tells the disk's share of the tail from the scheduler's on a busy machine.
BENCHMARK(GoalCommand)->Arg(0)->Arg(1)->Arg(2)->Iterations(5000)->Unit(benchmark::kMicrosecond);

}  // namespace
