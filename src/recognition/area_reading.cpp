#include "recognition/area_reading.h"

#include "recognition/pattern_matcher.h"
#include "recognition/recognition.h"

AreaReading ReadArea(const QImage& capture, int area, const PatternSet& patterns) {
  return ReadArea(capture, area, PatternMatcher(patterns));
}

AreaReading ReadArea(const QImage& capture, int area, const PatternMatcher& patterns) {
  const std::size_t a = area == 1 ? 1 : 0;
  std::array<PixelGrid, 2> grids;
  ReadPixels(capture, grids[a]);
  std::array<int, 2> widths{0, 0};
  widths[a] = capture.width();
  const RecognitionResult result = RecognizeDigits(grids, widths, patterns, 0, false);
  return {result.digits[a], result.captions[a], result.failures[a]};
}
