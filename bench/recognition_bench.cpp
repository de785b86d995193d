// Time per RecognizeDigits call on both areas, no lag, no debug mode: the
// fast scan with its patterns prepared once (and, for the delivered set,
// prepared on every call) next to the reference scan, for a typical capture
// pair (level 152, experience 1234567890) and for blank captures (no digit,
// no delimiter: every column tried). Cases: the delivered default patterns
// copied noise-free onto a flat background ("classic"), and realistic grabs
// in several fonts and sizes (captures/realistic_captures.h). The ratios
// are printed at the end, from the same run.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench_captures.h"
#include "recognition/pattern_matcher.h"
#include "recognition/recognition.h"
#include "recognition/reference_scan.h"
#include "realistic_captures.h"

namespace {

struct Case {
  std::string name;
  PatternSet set;
  std::array<int, 2> widths{};
  std::array<PixelGrid, 2> typical;
  std::array<PixelGrid, 2> blank;
  std::unique_ptr<PatternMatcher> matcher;
  std::unique_ptr<PatternMatcher> sse2;  // the same, never AVX2
};

std::vector<std::unique_ptr<Case>> MakeCases() {
  std::vector<std::unique_ptr<Case>> cases;
  auto classic = std::make_unique<Case>();
  classic->name = "classic";
  if (!LoadDefaultPatterns(QStringLiteral(TALLYMETER_SYSTEM_FOLDER), classic->set)) {
    std::fprintf(stderr, "default patterns missing in %s\n", TALLYMETER_SYSTEM_FOLDER);
    std::exit(1);
  }
  classic->widths = kDefaultRegionWidths;
  classic->typical = {DrawArea(classic->set, 0, QStringLiteral("152D")), DrawArea(classic->set, 1, QStringLiteral("1234567890D"))};
  classic->blank = {DrawArea(classic->set, 0, QString()), DrawArea(classic->set, 1, QString())};
  cases.push_back(std::move(classic));
  for (const RealisticSet& r : RealisticSets()) {
    auto c = std::make_unique<Case>();
    c->name = r.name.toStdString();
    c->set = r.set;
    // Digits taught from the game's glyphs are read at half a pixel over as
    // well, as the program builds their set.
    for (std::size_t k = 0; k < 20; ++k) {
      const Pattern shifted = HalfPixelLook(c->set.digitPatterns[k]);
      if (UsablePattern(shifted)) c->set.variants[k].push_back(shifted);
    }
    c->widths = r.regionWidths;
    c->typical = {RealisticCapture(r, 0, QStringLiteral("152D"), 1, r.seed + 1),
                  RealisticCapture(r, 1, QStringLiteral("1234567890D"), 1, r.seed + 2)};
    c->blank = {RealisticCapture(r, 0, QString(), 1, r.seed + 3), RealisticCapture(r, 1, QString(), 1, r.seed + 4)};
    cases.push_back(std::move(c));
  }
  for (auto& c : cases) {
    c->matcher = std::make_unique<PatternMatcher>(c->set);
    c->sse2 = std::make_unique<PatternMatcher>(c->set, ScanKernel::Sse2);
  }
  return cases;
}

void Check(const RecognitionResult& r, bool blank, benchmark::State& state) {
  const bool right = blank ? (r.level == 0 && r.exp == 0) : (r.level == 152 && r.exp == 1234567890.0);
  if (!right) state.SkipWithError("wrong reading");
}

enum class Kind { Reference, ReferenceScoresOnly, Fast, FastPrepared, FastPreparedSse2 };
const char* const kKindNames[] = {"Reference", "ReferenceScoresOnly", "Fast", "FastPrepared", "FastPreparedSse2"};

void Run(benchmark::State& state, const Case* c, Kind kind, bool blank) {
  const auto& captures = blank ? c->blank : c->typical;
  RecognitionResult r;
  for (auto _ : state) {
    switch (kind) {
      case Kind::Reference:
        r = RecognizeDigitsReference(captures, c->widths, c->set, 0, false);
        break;
      case Kind::ReferenceScoresOnly:
        r = RecognizeDigitsReference(captures, c->widths, c->set, 0, false, {}, ReferenceReport::DebugModeOnly);
        break;
      case Kind::Fast:
        r = RecognizeDigits(captures, c->widths, c->set, 0, false);
        break;
      case Kind::FastPrepared:
        r = RecognizeDigits(captures, c->widths, *c->matcher, 0, false);
        break;
      case Kind::FastPreparedSse2:
        r = RecognizeDigits(captures, c->widths, *c->sse2, 0, false);
        break;
    }
    benchmark::DoNotOptimize(r);
  }
  Check(r, blank, state);
}

std::string BenchName(const Case& c, Kind kind, bool blank) {
  return std::string(kKindNames[static_cast<int>(kind)]) + "/" + c.name + (blank ? "/blank" : "/typical");
}

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
  void PrintRatios(const std::vector<std::unique_ptr<Case>>& cases) const {
    std::printf("\nreference / fast with patterns prepared once (CPU time per call; in brackets: against the\n"
                "reference without its report, the scoring alone)\n");
    std::printf("%s, %s\n", Avx2Available() ? "AVX2 in use" : "no AVX2 here: SSE2 in use",
                "sse2: the SSE2 loop forced, against the scoring alone");
    std::printf("%-26s %33s %33s\n", "case", "typical pair", "blank");
    for (const auto& c : cases) {
      std::printf("%-26s", c->name.c_str());
      for (const bool blank : {false, true}) {
        const double reference = Find(BenchName(*c, Kind::Reference, blank));
        const double scoresOnly = Find(BenchName(*c, Kind::ReferenceScoresOnly, blank));
        const double prepared = Find(BenchName(*c, Kind::FastPrepared, blank));
        if (reference <= 0 || scoresOnly <= 0 || prepared <= 0) {
          std::printf(" %33s", "-");
          continue;
        }
        const double sse2 = Find(BenchName(*c, Kind::FastPreparedSse2, blank));
        std::printf("   %7.1fx (%6.1fx) sse2 %5.1fx", reference / prepared, scoresOnly / prepared,
                    sse2 > 0 ? scoresOnly / sse2 : 0.0);
      }
      std::printf("\n");
    }
    const Case& classic = *cases.front();
    for (const bool blank : {false, true}) {
      const double fast = Find(BenchName(classic, Kind::Fast, blank));
      const double reference = Find(BenchName(classic, Kind::Reference, blank));
      if (fast > 0 && reference > 0) {
        std::printf("classic, patterns prepared on every call, %s: %.1fx\n", blank ? "blank" : "typical pair",
                    reference / fast);
      }
    }
  }

 private:
  double Find(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second;
  }
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  // Glyphs are drawn with the system's fonts; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  const std::vector<std::unique_ptr<Case>> cases = MakeCases();
  for (const auto& c : cases) {
    for (const bool blank : {false, true}) {
      for (const Kind kind : {Kind::Reference, Kind::ReferenceScoresOnly, Kind::Fast, Kind::FastPrepared, Kind::FastPreparedSse2}) {
        if (kind == Kind::Fast && c != cases.front()) continue;  // preparation cost: measured once
        benchmark::RegisterBenchmark(BenchName(*c, kind, blank).c_str(), Run, c.get(), kind, blank);
      }
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios(cases);
  benchmark::Shutdown();
  return 0;
}
