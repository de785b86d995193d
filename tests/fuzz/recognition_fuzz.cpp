// Recognition on pattern sets and captures of any shape the input
// describes: the fast scan must read exactly what the reference scan reads
// (digits, values, captions, hook calls, and in debug mode the report),
// with the best kernel the processor has and with SSE2 forced.
// Any difference is a finding. Captures are mostly drawn from the set's own
// glyphs, so that matches, near misses and delimiters are common.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <tuple>

#include "recognition/pattern_matcher.h"
#include "recognition/reference_scan.h"
#include "support/scan_recording.h"

namespace {

// A colour near `base`: each channel moved by up to `spread`, clipped.
std::uint32_t Near(FuzzedDataProvider& in, std::uint32_t base, int spread) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int v = std::clamp(static_cast<int>(base >> shift & 0xFF) + in.ConsumeIntegralInRange(-spread, spread), 0, 255);
    out |= static_cast<std::uint32_t>(v) << shift;
  }
  return out;
}

void FillArea(FuzzedDataProvider& in, PatternSet& set, int a, PixelGrid& grid) {
  const std::uint32_t background = in.ConsumeIntegral<std::uint32_t>() & 0xFFFFFF;
  const std::uint32_t ink = in.ConsumeIntegral<std::uint32_t>() & 0xFFFFFF;
  const int maxSize = in.ConsumeBool() ? 41 : 9;
  const auto glyph = [&set, a](int g) -> Pattern& {
    return g < 10 ? set.digitPatterns[static_cast<std::size_t>(a * 10 + g)] : set.delimiterPatterns[std::size_t(a)];
  };
  std::int32_t& cellWidth = set.cellWidth[static_cast<std::size_t>(a)];
  std::int32_t& cellHeight = set.cellHeight[static_cast<std::size_t>(a)];
  for (int g = 0; g < 11; ++g) {
    Pattern& p = glyph(g);
    // Mostly in the data model; now and then a size outside it.
    p.width = in.ConsumeIntegralInRange(-1, maxSize + 1);
    p.height = in.ConsumeIntegralInRange(-1, maxSize + 1);
    const int w = std::clamp(p.width, 0, kPatternCapacity);
    const int h = std::clamp(p.height, 0, kPatternCapacity);
    const int spread = in.ConsumeIntegralInRange(0, 40);
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < h; ++y) p.pixels[x][y] = ColorOf(Near(in, in.ConsumeBool() ? ink : background, spread));
    }
    cellWidth = std::max(cellWidth, p.width);
    cellHeight = std::max(cellHeight, p.height);
  }
  if (in.ConsumeBool()) cellWidth = in.ConsumeIntegralInRange(-2, 50);

  grid.width = in.ConsumeIntegralInRange(0, 120);
  grid.height = in.ConsumeIntegralInRange(0, 45);
  grid.pixels.assign(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height), background);
  if (in.ConsumeIntegralInRange(0, 15) == 0) grid.pixels.resize(in.ConsumeIntegralInRange<std::size_t>(0, grid.pixels.size()));
  if (grid.pixels.empty()) grid.pixels = {};  // no storage, as a fresh empty grid

  // Glyphs drawn left to right at the input's positions, each pixel disturbed.
  const int noise = in.ConsumeIntegralInRange(0, 30);
  int left = in.ConsumeIntegralInRange(-2, 4);
  for (int n = in.ConsumeIntegralInRange(0, 12); n > 0 && grid.pixels.size() == static_cast<std::size_t>(grid.width) * grid.height; --n) {
    const Pattern& p = glyph(in.ConsumeIntegralInRange(0, 10));
    for (int x = 0; x < std::clamp(p.width, 0, kPatternCapacity); ++x) {
      for (int y = 0; y < std::clamp(p.height, 0, kPatternCapacity) && y < grid.height; ++y) {
        if (left + x < 0 || left + x >= grid.width) continue;
        grid.pixels[static_cast<std::size_t>(y) * grid.width + left + x] = Near(in, RgbOf(p.pixels[x][y]), noise);
      }
    }
    left += std::max(1, cellWidth - 1) + in.ConsumeIntegralInRange(-1, 2);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  PatternSet set;
  std::array<PixelGrid, 2> captures;
  FillArea(in, set, 0, captures[0]);
  FillArea(in, set, 1, captures[1]);
  std::array<int, 2> widths{};
  for (int a = 0; a < 2; ++a) {
    widths[static_cast<std::size_t>(a)] = captures[static_cast<std::size_t>(a)].width + in.ConsumeIntegralInRange(-5, 3);
  }
  const int lag = in.ConsumeIntegralInRange(-1, 1);
  const bool debug = in.ConsumeBool();

  QStringList fastEvents;
  QStringList sse2Events;
  QStringList referenceEvents;
  const RecognitionResult fast = RecognizeDigits(captures, widths, set, lag, debug, Recording(fastEvents));
  const RecognitionResult sse2 =
      RecognizeDigits(captures, widths, PatternMatcher(set, ScanKernel::Sse2), lag, debug, Recording(sse2Events));
  const RecognitionResult reference = RecognizeDigitsReference(captures, widths, set, lag, debug, Recording(referenceEvents));
  const bool same = std::tie(fast.level, fast.exp, fast.captions, fastEvents) ==
                        std::tie(reference.level, reference.exp, reference.captions, referenceEvents) &&
                    fast.trace == (debug ? reference.trace : QString()) &&
                    std::tie(sse2.captions, sse2Events, sse2.trace) == std::tie(fast.captions, fastEvents, fast.trace);
  if (!same) {
    std::fprintf(stderr, "finding: fast scan %s / %s, reference %s / %s\n", qPrintable(fast.captions[0]),
                 qPrintable(fast.captions[1]), qPrintable(reference.captions[0]), qPrintable(reference.captions[1]));
    std::abort();
  }
  return 0;
}
