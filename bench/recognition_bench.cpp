// Time per RecognizeDigits call on both default areas, no lag, no debug
// mode: the fast scan (preparing the patterns on every call, and with them
// prepared once) next to the reference scan, for a typical capture pair and
// for blank captures (no digit, no delimiter: every column tried). The
// ratios are printed at the end, from the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "bench_captures.h"
#include "capture/pattern_matcher.h"
#include "capture/recognition.h"
#include "capture/reference_scan.h"

namespace {

struct Fixture {
  PatternSet set;
  std::array<PixelGrid, 2> typical;
  std::array<PixelGrid, 2> blank;
};

const Fixture& Data() {
  static const Fixture data = [] {
    Fixture f;
    if (!LoadDefaultPatterns(QStringLiteral(TALLYMETER_SYSTEM_FOLDER), f.set)) {
      std::fprintf(stderr, "default patterns missing in %s\n", TALLYMETER_SYSTEM_FOLDER);
      std::exit(1);
    }
    f.typical = {DrawArea(f.set, 0, QStringLiteral("152D")), DrawArea(f.set, 1, QStringLiteral("1234567890D"))};
    f.blank = {DrawArea(f.set, 0, QString()), DrawArea(f.set, 1, QString())};
    return f;
  }();
  return data;
}

const std::array<PixelGrid, 2>& Captures(bool blank) { return blank ? Data().blank : Data().typical; }

void Check(const RecognitionResult& r, bool blank, benchmark::State& state) {
  const bool right = blank ? (r.level == 0 && r.exp == 0) : (r.level == 152 && r.exp == 1234567890.0);
  if (!right) state.SkipWithError("wrong reading");
}

void Fast(benchmark::State& state) {
  const bool blank = state.range(0) != 0;
  const auto& captures = Captures(blank);
  RecognitionResult r;
  for (auto _ : state) {
    r = RecognizeDigits(captures, kDefaultRegionWidths, Data().set, 0, false);
    benchmark::DoNotOptimize(r);
  }
  Check(r, blank, state);
}

void FastPrepared(benchmark::State& state) {
  const bool blank = state.range(0) != 0;
  const auto& captures = Captures(blank);
  const PatternMatcher matcher(Data().set);
  RecognitionResult r;
  for (auto _ : state) {
    r = RecognizeDigits(captures, kDefaultRegionWidths, matcher, 0, false);
    benchmark::DoNotOptimize(r);
  }
  Check(r, blank, state);
}

void Reference(benchmark::State& state) {
  const bool blank = state.range(0) != 0;
  const auto& captures = Captures(blank);
  RecognitionResult r;
  for (auto _ : state) {
    r = RecognizeDigitsReference(captures, kDefaultRegionWidths, Data().set, 0, false);
    benchmark::DoNotOptimize(r);
  }
  Check(r, blank, state);
}

// The reference without its report: the scoring alone.
void ReferenceScoresOnly(benchmark::State& state) {
  const bool blank = state.range(0) != 0;
  const auto& captures = Captures(blank);
  RecognitionResult r;
  for (auto _ : state) {
    r = RecognizeDigitsReference(captures, kDefaultRegionWidths, Data().set, 0, false, {},
                                 ReferenceReport::DebugModeOnly);
    benchmark::DoNotOptimize(r);
  }
  Check(r, blank, state);
}

BENCHMARK(Reference)->ArgName("blank")->Arg(0)->Arg(1);
BENCHMARK(ReferenceScoresOnly)->ArgName("blank")->Arg(0)->Arg(1);
BENCHMARK(Fast)->ArgName("blank")->Arg(0)->Arg(1);
BENCHMARK(FastPrepared)->ArgName("blank")->Arg(0)->Arg(1);

// Keeps each benchmark's CPU time per iteration (the median when runs are
// repeated), to print the ratios afterwards. CPU time, because other work on
// the machine stretches wall time unevenly between benchmarks.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      std::string name = run.benchmark_name();
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name != "median") continue;
        name.resize(name.size() - std::string("_median").size());
      }
      times_[name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() const {
    for (const char* capture : {"blank:0", "blank:1"}) {
      const auto find = [&](const std::string& name) {
        const auto it = times_.find(name + "/" + capture);
        return it == times_.end() ? 0.0 : it->second;
      };
      const double reference = find("Reference");
      const double scoresOnly = find("ReferenceScoresOnly");
      const double fast = find("Fast");
      const double prepared = find("FastPrepared");
      if (reference <= 0 || scoresOnly <= 0 || fast <= 0 || prepared <= 0) continue;
      std::printf("%s (CPU time per call):\n", std::string(capture) == "blank:0" ? "typical capture pair" : "blank captures");
      std::printf("  reference / fast, patterns prepared once:   %6.1fx  (reference without its report: %5.1fx)\n",
                  reference / prepared, scoresOnly / prepared);
      std::printf("  reference / fast, patterns prepared per call: %4.1fx  (reference without its report: %5.1fx)\n",
                  reference / fast, scoresOnly / fast);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
