// Reading digits out of captures: the column scan, held to the same
// behaviour in the fast routine and in the plain reference scan, and the two
// compared on random noisy captures.
#include "capture/recognition.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <random>

#include "capture/reference_scan.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
const QString kNg = QStringLiteral("認識NG");

PixelColor ColorOf(std::uint32_t rgb) {
  return {std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16)};
}

Pattern Solid(int width, int height, std::uint32_t rgb) {
  Pattern p;
  p.width = width;
  p.height = height;
  for (int x = 0; x < std::clamp(width, 0, kPatternCapacity); ++x) {
    for (int y = 0; y < std::clamp(height, 0, kPatternCapacity); ++y) p.pixels[x][y] = ColorOf(rgb);
  }
  return p;
}

// Ten digits and a delimiter per area, white strokes on about half of a
// black cell, different for every glyph: two glyphs (or one glyph shifted)
// agree on about half their pixels, far below a match.
PatternSet GlyphSet() {
  PatternSet set{.cellWidth = {7, 7}, .cellHeight = {5, 5}};
  std::mt19937 random(100);
  for (int i = 0; i < 22; ++i) {
    Pattern& p = i < 20 ? set.digitPatterns[i] : set.delimiterPatterns[i - 20];
    p = Solid(7, 5, kBlack);
    for (int x = 0; x < 7; ++x) {
      for (int y = 0; y < 5; ++y) p.pixels[x][y] = ColorOf(random() % 2 ? kWhite : kBlack);
    }
  }
  return set;
}

PixelGrid Canvas(int width, int height, std::uint32_t rgb = kBlack) {
  return {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, rgb)};
}

// Draws the pattern with its left edge at column x0, clipped to the grid.
void Draw(PixelGrid& grid, const Pattern& p, int x0) {
  for (int x = std::max(0, -x0); x < p.width && x0 + x < grid.width; ++x) {
    for (int y = 0; y < p.height && y < grid.height; ++y) {
      const PixelColor& c = p.pixels[x][y];
      grid.pixels[y * grid.width + x0 + x] = c.blue | (c.green << 8) | (c.red << 16);
    }
  }
}

// Everything the scan tells its hooks, in order, as short texts.
struct HookLog {
  QStringList events;
  RecognitionHooks Hooks() {
    RecognitionHooks h;
    h.lagWait = [this] { events << "wait"; };
    h.caption = [this](int a, const QString& text) { events << QString("caption %1 %2").arg(a).arg(text); };
    h.preview = [this](int a, int d, int x) { events << QString("preview %1 %2 %3").arg(a).arg(d).arg(x); };
    return h;
  }
};

// Columns examined, in order, as the report lines name them.
QList<int> Columns(const QString& trace) {
  static const QRegularExpression heading("^X:(\\d+) Y:", QRegularExpression::MultilineOption);
  QList<int> columns;
  for (auto it = heading.globalMatch(trace); it.hasNext();) columns << it.next().captured(1).toInt();
  return columns;
}

using Glyphs = std::vector<std::pair<char, int>>;  // digit or 'D' (the delimiter), and its column

class Scan : public ::testing::TestWithParam<bool> {  // the fast scan, or the reference
 protected:
  // Area 1 is left out unless given: a region 3 columns wide examines nothing.
  RecognitionResult Run(const PixelGrid& level, int levelWidth, bool debug = true, int lag = 0,
                        const PixelGrid& exp = Canvas(3, 5), int expWidth = 3) {
    const std::array<PixelGrid, 2> captures{level, exp};
    const std::array<int, 2> widths{levelWidth, expWidth};
    return GetParam() ? RecognizeDigits(captures, widths, set, lag, debug, log.Hooks())
                      : RecognizeDigitsReference(captures, widths, set, lag, debug, log.Hooks());
  }
  PixelGrid Drawn(int width, const Glyphs& glyphs, int area = 0) const {
    PixelGrid grid = Canvas(width, set.cellHeight[area]);
    for (const auto& [c, x] : glyphs) {
      Draw(grid, c == 'D' ? set.delimiterPatterns[area] : set.digitPatterns[area * 10 + c - '0'], x);
    }
    return grid;
  }

  PatternSet set = GlyphSet();
  HookLog log;
};

TEST_P(Scan, WorkedScanJumpsAfterDigitsAndStopsAtTheDelimiter) {
  const Glyphs glyphs{{'1', 2}, {'2', 10}, {'D', 18}};
  const QList<int> columns{0, 1, 2, 8, 9, 10, 16, 17, 18};
  RecognitionResult r = Run(Drawn(30, glyphs), 30, true, 0, Drawn(30, glyphs, 1), 30);
  EXPECT_EQ(Columns(r.trace), columns + columns);
  EXPECT_EQ(r.captions, (std::array<QString, 2>{"12", "12"}));
  EXPECT_EQ(r.level, 12);
  EXPECT_EQ(r.exp, 12.0);
  // Without the delimiter the scan runs on to column 30 − 4.
  r = Run(Drawn(30, {{'1', 2}, {'2', 10}}), 30);
  EXPECT_EQ(Columns(r.trace), (columns + QList<int>{19, 20, 21, 22, 23, 24, 25, 26}));
  EXPECT_EQ(r.level, 12);
  EXPECT_EQ(r.captions[1], kNg);
  EXPECT_EQ(r.exp, 0.0);
  // Outside debug mode the lag is waited once per column, and nothing is previewed.
  log.events.clear();
  Run(Drawn(30, glyphs), 30, false, 50);
  EXPECT_EQ(log.events.count(QStringLiteral("wait")), 9);
  EXPECT_EQ(log.events.filter(QStringLiteral("preview")).size(), 0);
  EXPECT_EQ(log.events.filter(QStringLiteral("caption 0")),
            (QStringList{"caption 0 認識中…", "caption 0 12"}));
}

TEST_P(Scan, WhereTheScanLooksAndWhatItReads) {
  struct Case {
    const char* what;
    Glyphs glyphs;
    int regionWidth;
    QList<int> columns;
    QString caption;
  };
  const Case cases[] = {
      {"width 4", {{'7', 0}}, 4, {0}, "7"},
      {"width 3", {{'7', 0}}, 3, {}, kNg},
      {"no width", {{'7', 0}}, std::numeric_limits<int>::min(), {}, kNg},
      // Zeros are read as digits, but a value of 0 is no reading.
      {"a zero", {{'0', 0}, {'D', 7}}, 30, {0, 6, 7}, kNg},
      {"zeros", {{'0', 0}, {'0', 7}, {'D', 14}}, 30, {0, 6, 7, 13, 14}, kNg},
      {"delimiter first", {{'D', 0}, {'4', 7}}, 30, {0}, kNg},
      {"digits behind the delimiter", {{'5', 0}, {'D', 7}, {'6', 14}, {'7', 21}}, 40, {0, 6, 7}, "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RecognitionResult r = Run(Drawn(40, c.glyphs), c.regionWidth);
    EXPECT_EQ(Columns(r.trace), c.columns);
    EXPECT_EQ(r.captions[0], c.caption);
    EXPECT_EQ(r.level, c.caption.toInt());
  }
  // A grid claiming more pixels than it holds reads as empty.
  PixelGrid broken = Drawn(30, {{'4', 0}});
  broken.width = 300;
  EXPECT_EQ(Run(broken, 300).captions[0], kNg);
}

TEST_P(Scan, TiesGoToTheSmallerDigitAndOversizedPatternsNeverMatch) {
  set.digitPatterns[5] = set.digitPatterns[3];
  EXPECT_EQ(Run(Drawn(10, {{'5', 0}}), 10).captions[0], "3");
  // All black against a black capture would match everywhere if compared.
  set.digitPatterns[1] = Solid(12, 5, kBlack);  // wider than the capture
  set.digitPatterns[2] = Solid(7, 9, kBlack);   // taller than the capture
  set.digitPatterns[3] = Solid(0, 5, kBlack);   // no width
  set.digitPatterns[4] = Solid(42, 5, kBlack);  // beyond the 41 × 41 cells
  set.digitPatterns[5] = Solid(5, -3, kBlack);
  set.digitPatterns[6] = Solid(4, 4, 0x0000FF);  // an ordinary pattern, to end on
  set.cellWidth[0] = 4;
  PixelGrid level = Canvas(10, 5);
  Draw(level, set.digitPatterns[6], 3);
  const RecognitionResult r = Run(level, 10);
  EXPECT_EQ(r.captions[0], "6");
  EXPECT_TRUE(r.trace.startsWith(QStringLiteral("X:00 Y: 0:")));
  EXPECT_TRUE(r.trace.contains(QStringLiteral(" 1:   0  2:   0  3:   0  4:   0  5:   0 ")));
}

TEST_P(Scan, ScoresAboveTheThresholdMatchAndChannelsWithin20Agree) {
  struct Case {
    int width, height;
    std::vector<std::uint32_t> column;  // the capture's first pixels in column 0, unlike the pattern
    int score;
  };
  const Case cases[] = {
      {4, 10, {0x6A6A6A}, 9750},  // 117 of 120 channel bytes agree
      {6, 38, {0x909090, 0x909090, 0x909090, 0x909090, 0x909090, 0x409090}, 9751},  // 667 of 684
      {4, 5, {0x545454, 0x2C2C2C}, 10000},                                          // 20 either way agrees
      {4, 5, {0x555555, 0x2B2B2B}, 9000},                                           // 21 does not
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.score);
    // Only this pattern fits the capture: the others are wider and score 0.
    set.digitPatterns[1] = Solid(c.width, c.height, 0x404040);
    PixelGrid capture = Canvas(c.width, c.height, 0x404040);
    for (std::size_t y = 0; y < c.column.size(); ++y) capture.pixels[y * capture.width] = c.column[y];
    const bool match = c.score > kMatchThreshold;
    const int last = match ? 1 : 9;  // a match ends the line
    QString line = QStringLiteral("X:00 Y: ");
    for (int d = 0; d <= last; ++d) line += QStringLiteral("%1:%2  ").arg(d).arg(d == 1 ? c.score : 0, 4);
    line += match ? QStringLiteral("認識結果:1\r\n") : QStringLiteral("D0:   0  認識結果:なし\r\n");
    const RecognitionResult r = Run(capture, 4);
    EXPECT_EQ(r.trace.toStdString(), line.toStdString());
    EXPECT_EQ(r.captions[0], match ? "1" : kNg);
  }
}

TEST_P(Scan, TenLevelDigitsFailAndACellNarrowerThanTwoStillMovesOn) {
  Glyphs ten;
  for (int i = 0; i < 10; ++i) ten.push_back({static_cast<char>('1' + i % 9), i * 7});
  RecognitionResult r =
      Run(Drawn(80, Glyphs(ten.begin(), ten.end() - 1)), 80, false, 0, Drawn(80, ten, 1), 80);
  EXPECT_EQ(r.level, 123456789);
  EXPECT_EQ(r.exp, 1234567891.0);
  r = Run(Drawn(80, ten), 80, false, 0, Drawn(80, ten, 1), 80);
  EXPECT_EQ(r.captions, (std::array<QString, 2>{kNg, "1234567891"}));
  EXPECT_EQ(r.level, 0);

  set.digitPatterns[1] = Solid(1, 5, kWhite);
  set.cellWidth[0] = 1;
  EXPECT_EQ(Run(Canvas(6, 5, kWhite), 6).captions[0], "111");
  set.cellWidth[0] = -5;  // a damaged set moves one column too
  EXPECT_EQ(Run(Canvas(6, 5, kWhite), 6).captions[0], "111");
  set.cellWidth[0] = std::numeric_limits<int>::max();  // and a huge one ends the scan without overflow
  EXPECT_EQ(Run(Canvas(6, 5, kWhite), 6).captions[0], "1");
}

INSTANTIATE_TEST_SUITE_P(FastAndReference, Scan, ::testing::Bool());

// Random pattern sets, and captures drawn from them as the game would, then disturbed.
class Generator {
 public:
  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  std::uint32_t Color() { return static_cast<std::uint32_t>(Int(0, 0xFFFFFF)); }

  PatternSet RandomSet(const std::array<std::uint32_t, 2>& backgrounds) {
    // Sizes whose scores can be exactly 9750 (4 × 10) and 9751 (7 × 23), and sizes that never match.
    static const std::pair<int, int> kOddSizes[] = {{4, 10}, {7, 23}, {7, 23}, {0, 5},
                                                    {-1, 3}, {42, 5}, {3, 42}};
    PatternSet set;
    const std::array<std::uint32_t, 2> inks{Color(), Color()};
    for (int i = 0; i < 22; ++i) {
      const int a = i < 20 ? i / 10 : i - 20;
      const auto [width, height] = Chance(0.15) ? kOddSizes[Int(0, 6)] : std::pair{Int(1, 8), Int(1, 7)};
      Pattern& p = i < 20 ? set.digitPatterns[i] : set.delimiterPatterns[a];
      p = Solid(width, height, backgrounds[a]);
      set.cellWidth[a] = std::max(set.cellWidth[a], width);
      set.cellHeight[a] = std::max(set.cellHeight[a], height);
      const int jitter = Chance(0.3) ? Int(0, 25) : 0;
      for (int x = 0; x < std::clamp(width, 0, kPatternCapacity); ++x) {
        for (int y = 0; y < std::clamp(height, 0, kPatternCapacity); ++y) {
          std::uint32_t rgb = Chance(0.4) ? inks[a] : backgrounds[a];
          Move(rgb, 8 * Int(0, 2), Int(-jitter, jitter));
          p.pixels[x][y] = ColorOf(rgb);
        }
      }
      // Ties: a later digit drawn like an earlier one.
      if (i % 10 == 9 && Chance(0.2)) set.digitPatterns[i - Int(0, 4)] = set.digitPatterns[i - Int(5, 9)];
    }
    for (int& cellWidth : set.cellWidth) cellWidth = Chance(0.1) ? Int(-1, 12) : cellWidth;
    return set;
  }

  PixelGrid RandomCapture(const PatternSet& set, int a, std::uint32_t background) {
    PixelGrid grid = Canvas(Int(0, 40), Chance(0.1) ? Int(0, 3) : set.cellHeight[a] + Int(0, 2), background);
    for (int x = Int(0, 3); x < grid.width && grid.height > 0;) {
      const int token = Int(0, 11);
      const Pattern& p =
          token == 10 ? set.delimiterPatterns[a] : set.digitPatterns[a * 10 + std::min(token, 9)];
      if (p.width < 1 || p.width > kPatternCapacity || p.height < 1 || p.height > kPatternCapacity) break;
      Draw(grid, p, x);
      if (Chance(0.2)) Strain(grid, p, x);
      x += std::max(1, set.cellWidth[a] - 1) + (Chance(0.3) ? Int(-1, 2) : 0);
    }
    const double noise = Chance(0.5) ? 0.0 : 0.05;
    for (std::uint32_t& pixel : grid.pixels) {
      if (Chance(noise)) Move(pixel, 8 * Int(0, 2), Int(-30, 30));
      if (Chance(noise)) Move(pixel, 8 * Int(0, 2), (Chance(0.5) ? 20 : 21) * (Chance(0.5) ? 1 : -1));
    }
    return grid;
  }

 private:
  // One channel moved by `step`, where that stays in range.
  static void Move(std::uint32_t& pixel, int shift, int step) {
    const int v = static_cast<int>((pixel >> shift) & 0xFF) + step;
    if (v >= 0 && v <= 255) pixel = (pixel & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(v) << shift);
  }

  // Moves exactly as many channel bytes of the drawn pattern out of
  // tolerance as a match can afford, or one more: scores just either side
  // of the threshold (9750 and 9751 where the pattern size allows them).
  void Strain(PixelGrid& grid, const Pattern& p, int x0) {
    const int total = 3 * p.width * p.height;
    int needed = total;
    while (needed > 0 && (needed - 1) * 10000 / total > kMatchThreshold) --needed;
    int misses = total - needed + Int(0, 1);
    for (int i = 0; i < total && misses > 0; ++i) {
      const int x = x0 + i / 3 / p.height, y = i / 3 % p.height, shift = 8 * (i % 3);
      if (x >= grid.width || y >= grid.height) continue;
      std::uint32_t& pixel = grid.pixels[static_cast<std::size_t>(y) * grid.width + x];
      Move(pixel, shift, ((pixel >> shift) & 0xFF) >= 128 ? -Int(21, 60) : Int(21, 60));
      --misses;
    }
  }

  std::mt19937 random_{20261206};
};

TEST(RecognitionEquivalence, FastScanReadsExactlyWhatTheReferenceReads) {
  Generator g;
  int digitsRead = 0, delimiters = 0, exactly9750 = 0, exactly9751 = 0;
  static const QRegularExpression digit(QStringLiteral("認識結果:\\d"));
  for (int i = 0; i < 2000; ++i) {
    const std::array<std::uint32_t, 2> backgrounds{g.Color(), g.Color()};
    const PatternSet set = g.RandomSet(backgrounds);
    const std::array<PixelGrid, 2> captures{g.RandomCapture(set, 0, backgrounds[0]),
                                            g.RandomCapture(set, 1, backgrounds[1])};
    std::array<int, 2> widths{captures[0].width + g.Int(-3, 3), captures[1].width + g.Int(-3, 3)};
    if (g.Chance(0.05)) widths[0] = g.Int(-2, 4);
    const int lag = g.Int(-1, 1);
    for (const bool debug : {false, true}) {
      SCOPED_TRACE(testing::Message() << "case " << i << " debug " << debug);
      HookLog fastLog, referenceLog;
      const RecognitionResult fast = RecognizeDigits(captures, widths, set, lag, debug, fastLog.Hooks());
      const RecognitionResult reference =
          RecognizeDigitsReference(captures, widths, set, lag, debug, referenceLog.Hooks());
      ASSERT_EQ(fast.level, reference.level);
      ASSERT_EQ(fast.exp, reference.exp);
      ASSERT_EQ(fast.captions, reference.captions);
      ASSERT_EQ(fastLog.events, referenceLog.events);
      ASSERT_EQ(fast.trace, debug ? reference.trace : QString());
      digitsRead += static_cast<int>(fast.trace.count(digit));
      delimiters += static_cast<int>(fast.trace.count(QStringLiteral("認識結果:デリミタ")));
      exactly9750 += static_cast<int>(fast.trace.count(QStringLiteral(":9750 ")));
      exactly9751 += static_cast<int>(fast.trace.count(QStringLiteral(":9751 ")));
    }
  }
  // The cases must reach what they are meant to reach.
  EXPECT_GT(digitsRead, 3000);
  EXPECT_GT(delimiters, 200);
  EXPECT_GT(exactly9750, 5);
  EXPECT_GT(exactly9751, 5);
}

}  // namespace
