// One live reading as the main window takes it between the timed captures
// (find the game, test the foreground, grab both default areas from the X
// server, recognise them), next to its parts: the two grabs alone and the
// recognition alone, all in one run. Needs an X display (run it through
// scripts/with-x); it starts the practice game itself, frozen, and ends it.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <benchmark/benchmark.h>

#include <cstdio>

#include "base/pixel_grid.h"
#include "bench_captures.h"
#include "capture/capture_area.h"
#include "recognition/pattern_matcher.h"
#include "recognition/recognition.h"
#include "capture/x11/x11_window_system.h"
#include "monitoring/game_look.h"
#include "monitoring/live_sampler.h"

namespace {

struct Fixture {
  std::unique_ptr<WindowSystem> x11;
  WindowId game = 0;
  Settings settings = Settings::Defaults(QString());
  PatternSet set;
  std::optional<PatternMatcher> matcher;
  std::array<PixelGrid, 2> grids;
  AreaFollower follower;
};

// A live reading as the main window takes it: a look at the game, then the
// areas where the look found them.
LiveObservation Observe(Fixture& f) {
  const GameView view = LookAtGame(*f.x11, f.settings, f.follower);
  return ObserveGame(*f.x11, view, f.settings, &*f.matcher);
}

Fixture& Data() {
  static Fixture f;
  return f;
}

void LiveReading(benchmark::State& state) {
  Fixture& f = Data();
  LiveObservation seen;
  for (auto _ : state) {
    seen = Observe(f);
    benchmark::DoNotOptimize(seen);
  }
  if (!seen.reading || seen.reading->level != 152 || seen.reading->exp != 12345678) state.SkipWithError("wrong reading");
}

// Both grabs as a reading takes them, from a look taken once beforehand.
void GrabsOnly(benchmark::State& state) {
  Fixture& f = Data();
  const WindowLook look = f.x11->LookAt(kGameTitle);
  for (auto _ : state) {
    std::array<QImage, 2> pictures = CaptureGameAreas(*f.x11, look, f.settings.captureRegions);
    benchmark::DoNotOptimize(pictures);
  }
}

void RecognitionOnly(benchmark::State& state) {
  Fixture& f = Data();
  const std::array<int, 2> widths = {f.settings.captureRegions[0].ex, f.settings.captureRegions[1].ex};
  RecognitionResult r;
  for (auto _ : state) {
    r = RecognizeDigits(f.grids, widths, *f.matcher, 0, false);
    benchmark::DoNotOptimize(r);
  }
  if (r.level != 152) state.SkipWithError("wrong reading");
}

BENCHMARK(LiveReading);
BENCHMARK(GrabsOnly);
BENCHMARK(RecognitionOnly);

class Collector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // The median of the repetitions when there are any, else the one run.
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!median && run.run_type != Run::RT_Iteration) continue;
      if (!median && cpu.count(run.run_name.function_name) && run.repetitions > 1) continue;
      cpu[run.run_name.function_name] = run.GetAdjustedCPUTime();
      real[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> cpu;
  std::map<std::string, double> real;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Fixture& f = Data();
  f.x11 = OpenX11WindowSystem();
  if (!f.x11) {
    std::fputs("live_reading_bench: no X display (run it through scripts/with-x)\n", stderr);
    return 1;
  }
  if (!LoadDefaultPatterns(QStringLiteral(TALLYMETER_SYSTEM_FOLDER), f.set)) return 1;
  f.matcher.emplace(f.set);

  QProcess game;
  game.setStandardOutputFile(QProcess::nullDevice());
  game.start(QStringLiteral(TALLYMETER_BIN_FOLDER "/practice_window"),
             {"--frozen", "--level", "152", "--exp", "12345678"});
  QDeadlineTimer deadline(20000);
  while (!deadline.hasExpired()) {
    f.game = f.x11->FindWindowByTitle(QStringLiteral("MapleStory"));
    if (f.game != 0) {
      QProcess::execute(QStringLiteral("xdotool"), {"windowactivate", "--sync", QString::number(f.game)});
      if (Observe(f).reading) break;
    }
    QThread::msleep(100);
  }
  const LiveObservation ready = Observe(f);
  if (!ready.reading) {
    std::fputs("live_reading_bench: the practice game does not read\n", stderr);
    return 1;
  }
  for (int area = 0; area < 2; ++area) {
    ReadPixels(CaptureGameArea(*f.x11, f.game, f.settings.captureRegions[area]), f.grids[area]);
  }

  Collector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  game.kill();
  game.waitForFinished(10000);

  // Wall time counts the X server's part of a grab too; CPU time is this
  // program's own share.
  for (const char* name : {"LiveReading", "GrabsOnly", "RecognitionOnly"}) {
    std::printf("%-16s %8.1f us wall, %8.1f us CPU per call\n", name, reporter.real[name] / 1000,
                reporter.cpu[name] / 1000);
  }
  if (reporter.real["LiveReading"] > 0) {
    std::printf("a live reading takes %.3f of the 1 ms allowed (wall time)\n", reporter.real["LiveReading"] / 1e6);
  }
  return 0;
}
