#include "monitoring/live_sampler.h"

#include <array>

#include "base/counter_reading.h"
#include "base/pixel_grid.h"
#include "capture/capture_area.h"
#include "recognition/pattern_matcher.h"
#include "recognition/recognition.h"

LiveObservation ObserveGame(WindowSystem& windows, const GameView& view, const Settings& settings,
                            const PatternMatcher* matcher) {
  LiveObservation seen;
  seen.game = view.game;
  if (view.game != GameSeen::InFront || !matcher) return seen;

  const std::array<QImage, 2> pictures = CaptureGameAreas(windows, view.look, view.regions);
  std::array<PixelGrid, 2> grids;
  for (int area = 0; area < 2; ++area) ReadPixels(pictures[area], grids[area]);
  const std::array<int, 2> widths = {settings.captureRegions[0].ex, settings.captureRegions[1].ex};
  // No lag wait: a reading that catches the counter mid-change reads wrong
  // or not at all, and the next tick reads again.
  const RecognitionResult result = RecognizeDigits(grids, widths, *matcher, 0, false);
  seen.unread = {!LevelRead(result.level), !ExpRead(result.exp)};
  if (IsReading(result.level, result.exp)) seen.reading = LiveReading{result.level, result.exp, result.digits[1]};
  return seen;
}
