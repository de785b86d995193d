// The fast scan must read exactly what the plain reference scan reads: the
// same digit strings, values, captions, hook calls and report, on randomised
// and noisy captures, with scores right at the threshold and channel
// differences of exactly 20 and 21.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cstdio>

#include "capture/byte_ranges.h"
#include "capture/recognition.h"
#include "capture/reference_scan.h"
#include "recognition_fixtures.h"

namespace {

using namespace recognition_fixtures;

class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}

  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  std::uint32_t Color() { return static_cast<std::uint32_t>(Int(0, 0xFFFFFF)); }

  // A colour near `rgb`: each channel moved by at most `spread`, kept in range.
  std::uint32_t Near(std::uint32_t rgb, int spread) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int v = std::clamp(static_cast<int>((rgb >> shift) & 0xFF) + Int(-spread, spread), 0, 255);
      out |= static_cast<std::uint32_t>(v) << shift;
    }
    return out;
  }

  Pattern RandomPattern(std::uint32_t background, std::uint32_t ink) {
    int width = Int(1, 8);
    int height = Int(1, 7);
    // Sizes whose scores can be exactly 9750 (4 x 10) and 9751 (7 x 23).
    if (Chance(0.04)) {
      const bool nineThousand750 = Chance(0.5);
      width = nineThousand750 ? 4 : 7;
      height = nineThousand750 ? 10 : 23;
    }
    if (Chance(0.03)) width = std::array{0, -1, 42, 30}[static_cast<std::size_t>(Int(0, 3))];
    if (Chance(0.03)) height = std::array{0, 42, 12}[static_cast<std::size_t>(Int(0, 2))];
    Pattern p = Solid(width, height, background);
    const int jitter = Chance(0.3) ? Int(0, 25) : 0;
    for (int x = 0; x < std::clamp(width, 0, kPatternCapacity); ++x) {
      for (int y = 0; y < std::clamp(height, 0, kPatternCapacity); ++y) {
        p.pixels[x][y] = ColorOf(Near(Chance(0.4) ? ink : background, jitter));
      }
    }
    return p;
  }

  PatternSet RandomSet(const std::array<std::uint32_t, 2>& backgrounds) {
    PatternSet set;
    for (int a = 0; a < 2; ++a) {
      const std::uint32_t ink = Color();
      for (int d = 0; d < 10; ++d) set.digitPatterns[a * 10 + d] = RandomPattern(backgrounds[a], ink);
      set.delimiterPatterns[a] = RandomPattern(backgrounds[a], ink);
      // Ties and near twins: a later digit drawn like an earlier one.
      if (Chance(0.2)) set.digitPatterns[a * 10 + Int(5, 9)] = set.digitPatterns[a * 10 + Int(0, 4)];
    }
    UpdateCells(set);
    for (int a = 0; a < 2; ++a) {
      if (Chance(0.1)) set.cellWidth[a] = Int(-1, 12);
    }
    return set;
  }

  // The area drawn as the game would, then disturbed.
  PixelGrid RandomCapture(const PatternSet& set, int a, std::uint32_t background) {
    PixelGrid grid = Canvas(Int(0, 40), Chance(0.1) ? Int(0, 3) : set.cellHeight[a] + Int(0, 2), background);
    int x = Int(0, 3);
    while (x < grid.width && grid.height > 0) {
      const int token = Int(0, 11);
      const Pattern& p = token == 10 ? set.delimiterPatterns[a] : set.digitPatterns[a * 10 + std::min(token, 9)];
      if (p.width < 1 || p.width > kPatternCapacity || p.height < 1 || p.height > kPatternCapacity) break;
      Draw(grid, p, x);
      if (Chance(0.2)) Strain(grid, p, x);
      x += std::max(1, set.cellWidth[a] - 1) + (Chance(0.3) ? Int(-1, 2) : 0);
    }
    const double noise = Chance(0.5) ? 0.0 : 0.05;
    for (std::uint32_t& pixel : grid.pixels) {
      if (Chance(noise)) pixel = Near(pixel, 30);
      if (Chance(noise)) pixel = Edge(pixel);
    }
    return grid;
  }

 private:
  // One channel moved by exactly 20 or 21, where that stays in range.
  std::uint32_t Edge(std::uint32_t rgb) {
    const int shift = 8 * Int(0, 2);
    const int step = (Chance(0.5) ? 20 : 21) * (Chance(0.5) ? 1 : -1);
    const int v = static_cast<int>((rgb >> shift) & 0xFF) + step;
    if (v < 0 || v > 255) return rgb;
    return (rgb & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(v) << shift);
  }

  // Moves exactly as many channel bytes of the drawn pattern out of
  // tolerance as a match can afford, or one more: scores just either side
  // of the threshold (9750 and 9751 where the pattern size allows them).
  void Strain(PixelGrid& grid, const Pattern& p, int x0) {
    const int total = 3 * p.width * p.height;
    int needed = total;
    while (needed > 0 && (needed - 1) * 10000 / p.width / p.height / 3 > 9750) --needed;
    int misses = total - needed + Int(0, 1);
    for (int x = 0; x < p.width && misses > 0; ++x) {
      for (int y = 0; y < p.height && y < grid.height && misses > 0; ++y) {
        if (x0 + x >= grid.width) continue;
        for (int shift = 0; shift < 24 && misses > 0; shift += 8) {
          std::uint32_t& pixel = grid.pixels[static_cast<std::size_t>(y) * grid.width + x0 + x];
          const int v = static_cast<int>((pixel >> shift) & 0xFF);
          const int moved = v >= 128 ? v - Int(21, 60) : v + Int(21, 60);
          pixel = (pixel & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(moved) << shift);
          --misses;
        }
      }
    }
  }

  std::mt19937 random_;
};

struct Outcome {
  RecognitionResult result;
  QStringList events;
};

template <typename Scan>
Outcome RunScan(Scan scan) {
  HookLog log;
  Outcome o{scan(log.Hooks()), {}};
  o.events = log.events;
  return o;
}

TEST(RecognitionEquivalence, FastScanReadsExactlyWhatTheReferenceReads) {
  Generator g(20261206);
  int digitsRead = 0, nearThreshold = 0, delimiters = 0, exactly9750 = 0, exactly9751 = 0;
  static const QRegularExpression nearScore(QStringLiteral(":97[5-9]\\d |:98\\d\\d "));
  for (int i = 0; i < 2000; ++i) {
    const std::array<std::uint32_t, 2> backgrounds{g.Color(), g.Color()};
    const PatternSet set = g.RandomSet(backgrounds);
    const std::array<PixelGrid, 2> captures{g.RandomCapture(set, 0, backgrounds[0]),
                                            g.RandomCapture(set, 1, backgrounds[1])};
    std::array<int, 2> widths{captures[0].width + g.Int(-3, 3), captures[1].width + g.Int(-3, 3)};
    if (g.Chance(0.05)) widths[0] = g.Int(-2, 4);
    const int lag = g.Int(-1, 1);
    SCOPED_TRACE("case " + std::to_string(i));

    for (const bool debug : {false, true}) {
      const Outcome fast = RunScan([&](const RecognitionHooks& h) {
        return RecognizeDigits(captures, widths, set, lag, debug, h);
      });
      const Outcome reference = RunScan([&](const RecognitionHooks& h) {
        return RecognizeDigitsReference(captures, widths, set, lag, debug, h);
      });
      ASSERT_EQ(fast.result.level, reference.result.level) << "debug " << debug;
      ASSERT_EQ(fast.result.exp, reference.result.exp) << "debug " << debug;
      ASSERT_EQ(fast.result.captions, reference.result.captions) << "debug " << debug;
      ASSERT_EQ(fast.events, reference.events) << "debug " << debug;
      if (debug) {
        ASSERT_EQ(fast.result.trace, reference.result.trace);
        digitsRead += reference.result.trace.count(QStringLiteral("認識結果:")) -
                      reference.result.trace.count(QStringLiteral("認識結果:なし")) -
                      reference.result.trace.count(QStringLiteral("認識結果:デリミタ"));
        delimiters += reference.result.trace.count(QStringLiteral("認識結果:デリミタ"));
        nearThreshold += static_cast<int>(reference.result.trace.count(nearScore));
        exactly9750 += static_cast<int>(reference.result.trace.count(QStringLiteral(":9750 ")));
        exactly9751 += static_cast<int>(reference.result.trace.count(QStringLiteral(":9751 ")));
      } else {
        ASSERT_TRUE(fast.result.trace.isEmpty());
      }
    }
  }
  std::printf("digits read %d, delimiters %d, scores near the threshold %d, exactly 9750 %d, exactly 9751 %d\n",
              digitsRead, delimiters, nearThreshold, exactly9750, exactly9751);
  // The cases must reach what they are meant to reach.
  EXPECT_GT(digitsRead, 3000);
  EXPECT_GT(delimiters, 300);
  EXPECT_GT(nearThreshold, 300);
  EXPECT_GT(exactly9750, 2);
  EXPECT_GT(exactly9751, 2);
}

}  // namespace

namespace {

// The vector byte-range count must agree with the plain one byte for byte,
// including bytes right at either end of their ranges.
TEST(ByteRanges, VectorCountEqualsPlainCount) {
  std::mt19937 random(99);
  const auto byte = [&] { return static_cast<std::uint8_t>(random() % 256); };
  for (int i = 0; i < 2000; ++i) {
    std::array<ByteRanges, 12> ranges{};
    std::array<std::uint32_t, 4 * 12 + 4 * 11 * 3> pixels{};
    for (ByteRanges& r : ranges) {
      for (int b = 0; b < 16; ++b) {
        const std::uint8_t a = byte(), c = byte();
        r.low[b] = std::min(a, c);
        r.high[b] = std::max(a, c);
      }
    }
    for (std::size_t p = 0; p < pixels.size(); ++p) {
      std::uint32_t v = static_cast<std::uint32_t>(random());
      // Often exactly on a range end.
      if (random() % 2) {
        const ByteRanges& r = ranges[(p / 4) % ranges.size()];
        const int b = static_cast<int>(p % 4) * 4 + static_cast<int>(random() % 4);
        const std::uint8_t edge = random() % 2 ? r.low[b] : r.high[b];
        v = (v & ~(0xFFu << (8 * (b % 4)))) | (std::uint32_t{edge} << (8 * (b % 4)));
      }
      pixels[p] = v;
    }
    const int groups = 1 + static_cast<int>(random() % 3);
    const int rows = 1 + static_cast<int>(random() % 4);
    ASSERT_EQ(AgreeingBytes(pixels.data(), 4 * 4, ranges.data(), groups, rows),
              AgreeingBytesPlain(pixels.data(), 4 * 4, ranges.data(), groups, rows));
    const std::uint32_t four[4] = {pixels[0], pixels[1], pixels[2], pixels[3]};
    ASSERT_EQ(AgreeingBytesOf(four, ranges[0]), AgreeingBytesOfPlain(four, ranges[0]));
  }
}

}  // namespace
