#include "capture/area_reading.h"

#include "capture/recognition.h"

QString ReadAreaCaption(const QImage& capture, int area, const PatternSet& patterns) {
  const int a = area == 1 ? 1 : 0;
  std::array<PixelGrid, 2> grids;
  ReadPixels(capture, grids[static_cast<std::size_t>(a)]);
  std::array<int, 2> widths{0, 0};
  widths[static_cast<std::size_t>(a)] = capture.width();
  const RecognitionResult result = RecognizeDigits(grids, widths, patterns, 0, false);
  return result.captions[static_cast<std::size_t>(a)];
}
