#include "recognition/area_reading.h"

#include "recognition/recognition.h"

AreaReading ReadArea(const QImage& capture, int area, const PatternSet& patterns) {
  const std::size_t a = area == 1 ? 1 : 0;
  std::array<PixelGrid, 2> grids;
  ReadPixels(capture, grids[a]);
  std::array<int, 2> widths{0, 0};
  widths[a] = capture.width();
  AreaReading reading;
  RecognitionHooks hooks;
  // The last caption set while scanning is the digit string itself, before
  // a zero value turns it into "認識NG".
  hooks.caption = [&reading, a](int which, const QString& text) {
    if (static_cast<std::size_t>(which) == a) reading.digits = text;
  };
  const RecognitionResult result = RecognizeDigits(grids, widths, patterns, 0, false, hooks);
  reading.caption = result.captions[a];
  return reading;
}
