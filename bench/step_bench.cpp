// Wall time of one whole capture step at lag 0, as the monitoring timer
// runs it, on a real X server (run under scripts/with-x): find the window
// titled "MapleStory", check that it is in front, grab both default
// regions, read their pixels, recognise, evaluate. Almost all of it is X11
// round trips, so this is wall time, not CPU time. The game is a window of
// this program showing the delivered patterns' counters.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <cstdio>
#include <optional>

#include "accounting/evaluation.h"
#include "bench_captures.h"
#include "capture/capture_area.h"
#include "recognition/pattern_matcher.h"
#include "recognition/recognition.h"
#include "capture/x11/x11_window_system.h"
#include "persistence/settings.h"

namespace {

struct Game {
  std::unique_ptr<WindowSystem> windows;
  PatternSet set;
  std::unique_ptr<PatternMatcher> matcher;
  Settings settings = Settings::Defaults(QStringLiteral("/tmp"));
};

Game* game = nullptr;

QImage ToImage(const PixelGrid& grid) {
  QImage image(grid.width, grid.height, QImage::Format_RGB32);
  for (int y = 0; y < grid.height; ++y) {
    for (int x = 0; x < grid.width; ++x) image.setPixel(x, y, grid.At(x, y));
  }
  return image;
}

// Steps whose look and grabs are `capture`'s (nothing when the game is not
// in front), each recognised and evaluated.
template <class Capture>
void Steps(benchmark::State& state, Capture capture) {
  ReadingEvaluator evaluator;
  std::int64_t ms = 0;
  int readings = 0;
  const std::array<int, 2> widths{game->settings.captureRegions[0].ex, game->settings.captureRegions[1].ex};
  for (auto _ : state) {
    const std::optional<std::array<QImage, 2>> pictures = capture(*game->windows);
    if (!pictures) {
      state.SkipWithError("the game window is not in front");
      break;
    }
    std::array<PixelGrid, 2> grids;
    for (int a = 0; a < 2; ++a) ReadPixels((*pictures)[a], grids[a]);
    const RecognitionResult r = RecognizeDigits(grids, widths, *game->matcher, 0, false);
    readings += r.level == 152 && r.exp == 1234567890.0 ? 1 : 0;
    const EvaluationStep step = evaluator.Evaluate(r.level, r.exp, QDateTime::currentDateTime(), ms += 60000, false);
    benchmark::DoNotOptimize(step);
  }
  if (readings == 0 && state.iterations() > 0) state.SkipWithError("the counters were not read");
}

// The step as the main window takes it: one look, both grabs together.
void CaptureStep(benchmark::State& state) {
  Steps(state, [](WindowSystem& ws) -> std::optional<std::array<QImage, 2>> {
    const WindowLook look = ws.LookAt(QStringLiteral("MapleStory"));
    if (!look.inFront) return std::nullopt;
    return CaptureGameAreas(ws, look, game->settings.captureRegions);
  });
}
BENCHMARK(CaptureStep)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The same step asking one question at a time, each waiting for its answer.
void CaptureStepOneByOne(benchmark::State& state) {
  Steps(state, [](WindowSystem& ws) -> std::optional<std::array<QImage, 2>> {
    const WindowId window = ws.FindWindowByTitle(QStringLiteral("MapleStory"));
    if (window == 0 || ws.ForegroundWindow() != window) return std::nullopt;
    std::array<QImage, 2> pictures;
    for (int a = 0; a < 2; ++a) pictures[a] = CaptureGameArea(ws, window, game->settings.captureRegions[a]);
    return pictures;
  });
}
BENCHMARK(CaptureStepOneByOne)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Game g;
  g.windows = OpenX11WindowSystem();
  if (!g.windows || !LoadDefaultPatterns(QStringLiteral(TALLYMETER_SYSTEM_FOLDER), g.set)) {
    std::fprintf(stderr, "needs an X display (scripts/with-x) and the default patterns\n");
    return 1;
  }
  g.matcher = std::make_unique<PatternMatcher>(g.set);
  game = &g;

  // The game: a window whose counters stand where the default regions look.
  QLabel window;
  window.setWindowTitle(QStringLiteral("MapleStory"));
  QImage screen(800, 650, QImage::Format_RGB32);
  screen.fill(Qt::black);
  window.setPixmap(QPixmap::fromImage(screen));
  window.resize(screen.size());
  window.show();
  window.activateWindow();
  QElapsedTimer waited;
  waited.start();
  WindowId id = 0;
  while (waited.elapsed() < 5000) {
    app.processEvents();
    id = g.windows->FindWindowByTitle(QStringLiteral("MapleStory"));
    if (id != 0 && g.windows->ForegroundWindow() == id) break;
  }
  // The regions count from the outer rectangle (frame included); the label
  // draws from its client area, so the counters move by the frame, which
  // the window manager may still be putting around it: painted again until
  // they read.
  const auto reads = [&] {
    std::array<PixelGrid, 2> grids;
    for (int a = 0; a < 2; ++a) ReadPixels(CaptureGameArea(*g.windows, id, g.settings.captureRegions[a]), grids[a]);
    const RecognitionResult r = RecognizeDigits(grids, {g.settings.captureRegions[0].ex, g.settings.captureRegions[1].ex},
                                                *g.matcher, 0, false);
    return r.level == 152 && r.exp == 1234567890.0;
  };
  while (waited.elapsed() < 10000 && !reads()) {
    const auto outer = g.windows->OuterRect(id);
    const QPoint frame = outer ? window.mapToGlobal(QPoint(0, 0)) - outer->topLeft() : QPoint();
    QImage painted = screen;
    QPainter painter(&painted);
    const std::array<QString, 2> texts{QStringLiteral("152D"), QStringLiteral("1234567890D")};
    for (int a = 0; a < 2; ++a) {
      const CaptureRegion& r = g.settings.captureRegions[a];
      painter.drawImage(QPoint(r.sx, r.sy) - frame, ToImage(DrawArea(g.set, a, texts[a])));
    }
    painter.end();
    window.setPixmap(QPixmap::fromImage(painted));
    for (int i = 0; i < 20; ++i) app.processEvents();
  }

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
