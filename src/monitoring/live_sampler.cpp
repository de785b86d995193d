#include "monitoring/live_sampler.h"

#include <array>

#include "base/pixel_grid.h"
#include "capture/capture_area.h"
#include "recognition/pattern_matcher.h"
#include "recognition/recognition.h"

LiveObservation ObserveGame(WindowSystem& windows, const Settings& settings, const PatternMatcher* matcher) {
  LiveObservation seen;
  const WindowLook look = windows.LookAt(kGameTitle);
  if (look.window == 0) {
    seen.game = GameSeen::Missing;
    return seen;
  }
  if (!look.inFront) {
    seen.game = GameSeen::Behind;
    return seen;
  }
  seen.game = GameSeen::InFront;
  if (!matcher) return seen;

  const std::array<QImage, 2> pictures = CaptureGameAreas(windows, look, settings.captureRegions);
  std::array<PixelGrid, 2> grids;
  for (int area = 0; area < 2; ++area) ReadPixels(pictures[area], grids[area]);
  const std::array<int, 2> widths = {settings.captureRegions[0].ex, settings.captureRegions[1].ex};
  // No lag wait: a reading that catches the counter mid-change reads wrong
  // or not at all, and the next tick reads again.
  const RecognitionResult result = RecognizeDigits(grids, widths, *matcher, 0, false);
  if (result.level != 0 && result.exp != 0) seen.reading = LiveReading{result.level, result.exp};
  return seen;
}
