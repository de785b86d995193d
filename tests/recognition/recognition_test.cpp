// Reading digits out of captures: the column scan, held to the same
// behaviour in the plain reference scan and in the fast routine with the best
// kernel this machine has and with SSE2 forced, and the delivered default
// patterns read back the way the game draws them.
#include "recognition/recognition.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <random>

#include "realistic_captures.h"
#include "recognition/pattern_matcher.h"
#include "recognition/reference_scan.h"
#include "persistence/pattern_store.h"
#include "support/scan_recording.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
const QString kNg = QStringLiteral("認識NG");

Pattern Solid(int width, int height, std::uint32_t rgb) {
  Pattern p{.width = width, .height = height};
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
    for (int n = 0; n < 7 * 5; ++n) p.pixels[n / 5][n % 5] = ColorOf(random() % 2 ? kWhite : kBlack);
  }
  return set;
}

PixelGrid Canvas(int width, int height, std::uint32_t rgb = kBlack) {
  return {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, rgb)};
}

// Draws the pattern with its left edge at column x0, clipped to the grid and
// to the 41 × 41 pixels a pattern holds (damaged sets claim larger sizes).
void Draw(PixelGrid& grid, const Pattern& p, int x0) {
  for (int x = std::max(0, -x0); x < std::min(p.width, kPatternCapacity) && x0 + x < grid.width; ++x) {
    for (int y = 0; y < std::min(p.height, kPatternCapacity) && y < grid.height; ++y) {
      grid.pixels[y * grid.width + x0 + x] = RgbOf(p.pixels[x][y]);
    }
  }
}

// A digit, or 'D' for the delimiter.
const Pattern& Glyph(const PatternSet& set, int area, QChar c) {
  return c == 'D' ? set.delimiterPatterns[area] : set.digitPatterns[area * 10 + c.digitValue()];
}

// `text` drawn from column `left` on, one glyph every `pitch` columns, later glyphs over earlier ones.
PixelGrid Drawn(const PatternSet& set, int area, const QString& text, int left, int pitch, int width,
                std::uint32_t background = kBlack) {
  PixelGrid grid = Canvas(width, set.cellHeight[area], background);
  for (int i = 0; i < text.size(); ++i) Draw(grid, Glyph(set, area, text[i]), left + i * pitch);
  return grid;
}

// Columns examined, in order, as the report lines name them.
QList<int> Columns(const QString& trace) {
  static const QRegularExpression heading("^X:(\\d+) Y:", QRegularExpression::MultilineOption);
  QList<int> columns;
  for (auto it = heading.globalMatch(trace); it.hasNext();) columns << it.next().captured(1).toInt();
  return columns;
}

enum class Way { Reference, Fast, Sse2 };

class Scan : public ::testing::TestWithParam<Way> {
 protected:
  // Area 1 is left out unless given: a region 3 columns wide examines nothing.
  RecognitionResult Run(const PixelGrid& level, int levelWidth, bool debug = true, int lag = 0,
                        const PixelGrid& exp = Canvas(3, 5), int expWidth = 3) {
    const std::array<PixelGrid, 2> captures{level, exp};
    const std::array<int, 2> widths{levelWidth, expWidth};
    if (GetParam() == Way::Reference) return RecognizeDigitsReference(captures, widths, set, lag, debug, Recording(events));
    const PatternMatcher matcher(set, GetParam() == Way::Sse2 ? ScanKernel::Sse2 : ScanKernel::Best);
    return RecognizeDigits(captures, widths, matcher, lag, debug, Recording(events));
  }

  PatternSet set = GlyphSet();
  QStringList events;
};

TEST_P(Scan, WhereTheScanLooksAndWhatItReads) {
  struct Case {
    QString text;  // a glyph every `pitch` columns from column `left`
    int left, pitch, regionWidth;
    QList<int> columns;
    QString caption;
  };
  // Only where a mark begins, each pattern laid so that its ink begins
  // there (or a column before it, or overlapping the last cell read by one
  // column); the delimiter ends the number, and so does the area's end.
  const QList<int> worked{0, 1, 2, 9, 10, 16, 17, 18};
  const Case cases[] = {
      {"12D", 2, 8, 30, worked, "12"},
      {"12", 2, 8, 30, {0, 1, 2, 9, 10}, "12"},
      {"7", 0, 7, 4, {0}, "7"},
      {"7", 0, 7, 3, {}, kNg},
      {"7", 0, 7, std::numeric_limits<int>::min(), {}, kNg},
      {"00D", 0, 7, 30, {0, 6, 7, 13, 14}, kNg},  // zeros are read as digits, but a value of 0 is no reading
      {"D4", 0, 7, 30, {0}, kNg},
      {"5D67", 0, 7, 40, {0, 6, 7}, "5"},  // digits behind the delimiter are never read
      // A level of ten digits does not fit 32 bits.
      {"1234567891D", 0, 7, 80,
       {0, 6, 7, 13, 14, 20, 21, 27, 28, 34, 35, 41, 42, 48, 49, 55, 56, 62, 63, 69, 70}, kNg},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text.toStdString() << " in " << c.regionWidth);
    const RecognitionResult r = Run(Drawn(set, 0, c.text, c.left, c.pitch, 80), c.regionWidth);
    EXPECT_EQ(Columns(r.trace), c.columns);
    EXPECT_EQ(r.captions[0], c.caption);
    EXPECT_EQ(r.level, c.caption.toInt());
  }
  // Outside debug mode the lag is waited once per column, and nothing is previewed.
  events.clear();
  Run(Drawn(set, 0, "12D", 2, 8, 30), 30, false, 50);
  EXPECT_EQ(events, (QStringList{"caption 0 認識中…"} + QStringList(worked.size(), "wait") +
                         QStringList{"caption 0 12", "caption 1 認識中…", "caption 1 "}));
}

TEST_P(Scan, EveryMarkIsAccountedForOrTheAreaFails) {
  // '?' is a glyph of no pattern of area 0 (one of area 1's), ',' a mark
  // two columns wide in the two bottom rows, '|' a glyph one column wide
  // below the top row;
  // each character at its column.
  const auto draw = [this](std::initializer_list<std::pair<QChar, int>> glyphs) {
    PixelGrid grid = Canvas(60, 5);
    for (const auto& [c, x] : glyphs) {
      if (c == ',' || c == '|') {
        for (int y = c == ',' ? 3 : 1; y < 5; ++y) grid.pixels[y * 60 + x] = grid.pixels[y * 60 + x + (c == ',' ? 1 : 0)] = kWhite;
      } else {
        Draw(grid, c == '?' ? set.digitPatterns[17] : Glyph(set, 0, c), x);
      }
    }
    return grid;
  };
  struct Case {
    PixelGrid capture;
    QString caption;
    QString failure;  // how the reason begins
  };
  const Case cases[] = {
      {draw({{'1', 2}, {'?', 10}, {'2', 18}, {'D', 26}}), kNg, QStringLiteral("最後の数字の後に読めない文字（X:10～16）")},
      {draw({{'1', 2}, {'2', 10}, {'?', 18}, {'D', 26}}), kNg, QStringLiteral("最後の数字の後に")},
      {draw({{'1', 2}, {'|', 10}, {'2', 12}, {'D', 20}}), kNg, QStringLiteral("最後の数字の後に読めない文字（X:10～10）")},
      {draw({{'?', 2}, {'1', 10}, {'2', 18}, {'D', 26}}), kNg, QStringLiteral("最初の数字の前に")},  // "X23" is no 23
      {draw({{'1', 2}, {'2', 10}, {'?', 31}}), "12", {}},  // other text beyond two cells of background
      // There a glyph that reads as a digit is a letter like one or the
      // number going on: neither "12" nor "123".
      {draw({{'1', 2}, {'2', 10}, {'3', 31}}), kNg, QStringLiteral("最後の数字の後に読めない文字（X:31～")},
      {draw({{'1', 2}, {',', 10}, {'2', 13}, {'D', 21}}), "12", {}},
      {draw({{'1', 2}, {',', 10}, {'D', 13}}), kNg, QStringLiteral("数字の間に")},  // a separator needs a digit after it
      {draw({{'1', 2}, {'2', 10}, {'D', 18}, {'?', 26}}), "12", {}},  // behind the delimiter: never looked at
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption.toStdString() + " " + c.failure.toStdString());
    const RecognitionResult r = Run(c.capture, 60);
    EXPECT_EQ(r.captions[0], c.caption);
    EXPECT_TRUE(r.failures[0].startsWith(c.failure)) << r.failures[0].toStdString();
    EXPECT_EQ(r.trace.endsWith(QStringLiteral("認識NG:") + r.failures[0] + "\r\n"), !c.failure.isEmpty());
  }
}

TEST_P(Scan, TiesGoToTheSmallerDigitAndOversizedPatternsNeverMatch) {
  set.digitPatterns[5] = set.digitPatterns[3];
  EXPECT_EQ(Run(Drawn(set, 0, "5", 0, 7, 10), 10).captions[0], "3");
  // All black against a black capture would match everywhere if compared.
  set.digitPatterns[1] = Solid(12, 5, kBlack);  // wider than the capture
  set.digitPatterns[2] = Solid(7, 9, kBlack);   // taller than the capture
  set.digitPatterns[3] = Solid(0, 5, kBlack);   // no width
  set.digitPatterns[4] = Solid(42, 5, kBlack);  // beyond the 41 × 41 cells
  set.digitPatterns[5] = Solid(5, -3, kBlack);
  set.digitPatterns[6] = Solid(4, 4, 0x0000FF);  // an ordinary pattern, to end on
  set.cellWidth[0] = 4;
  const RecognitionResult r = Run(Drawn(set, 0, "6", 3, 4, 10), 10);
  EXPECT_EQ(r.captions[0], "6");
  EXPECT_TRUE(r.trace.contains(QStringLiteral(" 1:   0  2:   0  3:   0  4:   0  5:   0 ")));
}

// A digit's variant reads as the digit wherever its pattern would, a
// smaller digit's variant first; the report gives the digit its best look.
TEST_P(Scan, AVariantReadsAsItsDigit) {
  const PatternSet drawn = GlyphSet();
  std::mt19937 random(7);
  for (const int d : {4, 8}) {
    Pattern look = Solid(7, 5, kBlack);
    for (int n = 0; n < 7 * 5; ++n) look.pixels[n / 5][n % 5] = ColorOf(random() % 2 ? kWhite : kBlack);
    set.digitPatterns[d] = look;  // the capture shows the glyph the pattern does not
    set.variants[d] = {Solid(7, 5, 0x102030), drawn.digitPatterns[d]};
  }
  const RecognitionResult r = Run(Drawn(drawn, 0, "48D", 0, 7, 24), 24);
  EXPECT_EQ(r.captions[0], "48");
  EXPECT_TRUE(r.trace.contains(QStringLiteral(" 4:10000  認識結果:4"))) << r.trace.toStdString();
  set.variants[4].clear();
  EXPECT_EQ(Run(Drawn(drawn, 0, "48D", 0, 7, 24), 24, false).captions[0], kNg) << "the 4 reads by nothing";
}

// A variant may be a column or two wider than its digit's pattern (the
// glyph at another fraction of a pixel, its anti-aliased side showing): where
// it reads, the glyph takes its columns, the widest look that shows. Two
// columns past the pattern are more than a glyph's edge may or may not show.
TEST_P(Scan, AWiderVariantTakesItsOwnColumns) {
  const PatternSet drawn = GlyphSet();
  Pattern wide = Solid(9, 5, kBlack);
  for (int x = 0; x < 9; ++x) wide.pixels[x] = drawn.digitPatterns[4].pixels[x % 7];
  set.variants[4] = {wide};
  PixelGrid capture = Drawn(drawn, 0, "48D", 0, 9, 27);
  Draw(capture, wide, 0);
  EXPECT_EQ(Run(capture, 27).captions[0], "48");
  EXPECT_EQ(Run(capture, 27, false).captions[0], "48");
  set.variants[4].clear();
  EXPECT_EQ(Run(capture, 27, false).captions[0], kNg) << "the 4's last columns are nobody's";
}

// In a large cell a stroke the digit lacks is too few pixels to fail the
// count (a boxed 8 against the 3): the second look refuses it, while a stem
// a pixel wider, a speck, and a neighbour's stroke in the cell's outermost
// column still read; and an 8 taught beside the 3 reads where the 3 was
// counted and refused.
TEST_P(Scan, AStrokeTheDigitLacksFailsItWhateverTheCount) {
  Pattern three = Solid(20, 30, kBlack);
  for (int y = 5; y < 25; ++y) three.pixels[14][y] = three.pixels[15][y] = ColorOf(kWhite);
  for (int x = 6; x < 16; ++x) {
    for (const int y : {5, 6, 14, 15, 23, 24}) three.pixels[x][y] = ColorOf(kWhite);
  }
  set.digitPatterns[3] = three;
  set.cellWidth[0] = 20;
  set.cellHeight[0] = 30;
  const auto drawn = [&](const std::vector<QPoint>& extra) {
    PixelGrid capture = Canvas(24, 30);
    Draw(capture, three, 2);
    for (const QPoint p : extra) capture.pixels[p.y() * 24 + 2 + p.x()] = kWhite;
    return capture;
  };
  const auto read = [&](const std::vector<QPoint>& extra) { return Run(drawn(extra), 24, false).captions[0]; };
  EXPECT_EQ(read({}), "3");
  EXPECT_EQ(read({{6, 9}, {6, 10}, {6, 11}}), kNg) << "an 8's upper left stroke";
  EXPECT_EQ(read({{13, 8}, {13, 9}, {13, 10}, {13, 11}}), "3") << "the stem a pixel wider";
  EXPECT_EQ(read({{9, 19}}), "3") << "a speck";
  EXPECT_EQ(read({{19, 9}, {19, 10}, {19, 11}}), "3") << "a neighbour's stroke";
  // The 3 taken by the count and refused, the larger digit that stands there reads.
  Pattern eight = three;
  for (const int y : {9, 10, 11}) eight.pixels[6][y] = ColorOf(kWhite);
  set.digitPatterns[8] = eight;
  EXPECT_EQ(read({{6, 9}, {6, 10}, {6, 11}}), "8");
  const RecognitionResult debug = Run(drawn({{6, 9}, {6, 10}, {6, 11}}), 24);
  EXPECT_EQ(debug.captions[0], "8");
  EXPECT_TRUE(debug.trace.contains(QStringLiteral(" 3:9950 (形が違う)  4:"))) << debug.trace.toStdString();
  EXPECT_TRUE(debug.trace.contains(QStringLiteral(" 8:10000  認識結果:8"))) << debug.trace.toStdString();
  EXPECT_EQ(read({}), "3");
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
    QString line = QString("X:00 Y: 0:   0  1:%1  ").arg(c.score, 4);
    for (int d = 2; d <= 9 && !match; ++d) line += QString("%1:   0  ").arg(d);  // a match ends the line
    line += match ? "認識結果:1\r\n" : "D0:   0  認識結果:なし\r\n";
    const RecognitionResult r = Run(capture, 4);
    EXPECT_TRUE(r.trace.startsWith(line)) << r.trace.toStdString();  // an unread mark's line may follow
    EXPECT_EQ(r.captions[0], match ? "1" : kNg);
  }
}

TEST_P(Scan, NineLevelAndTenExpDigitsRead) {
  const RecognitionResult r =
      Run(Drawn(set, 0, "123456789", 0, 7, 80), 80, false, 0, Drawn(set, 1, "1234567891", 0, 7, 80), 80);
  EXPECT_EQ(std::tuple(r.level, r.exp), std::tuple(123456789, 1234567891.0));
}

TEST_P(Scan, CapturesWithoutPixelsReadNothingInEveryMode) {
  // Freshly made, so that a grid without pixels has no storage at all.
  const PixelGrid kinds[] = {
      {40, 0, {}},                                   // a row count of 0: the capture took nothing
      {0, 5, {}},                                    // no columns
      {40, 5, {}},                                   // claims pixels it does not have
      {40, 5, std::vector<std::uint32_t>(7, kBlack)},  // fewer than it claims
  };
  set.delimiterPatterns[0] = Solid(1, 1, kBlack);  // would match anything it were compared with
  for (const PixelGrid& capture : kinds) {
    for (const bool debug : {false, true}) {
      SCOPED_TRACE(testing::Message() << capture.width << " x " << capture.height << " debug " << debug);
      const RecognitionResult r = Run(capture, 40, debug, 1, capture, 40);
      EXPECT_EQ(r.captions, (std::array<QString, 2>{kNg, kNg}));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ReferenceFastAndSse2, Scan, ::testing::Values(Way::Reference, Way::Fast, Way::Sse2));

// The delivered defaults, converted as the program converts them.
class DefaultPatterns : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDir system(QStringLiteral(TALLYMETER_SOURCE_DIR "/system"));
    PatternImages images;
    for (int slot = 0; slot < kPatternSlots; ++slot) {
      QImage& image = slot < 20 ? images.digits[slot] : images.delimiters[slot - 20];
      image = QImage(system.filePath(PatternFileName(slot))).convertToFormat(QImage::Format_RGB32);
    }
    ASSERT_TRUE(ConvertPatterns(images, set));
  }

  // Drawn as the game draws counters: cells cellWidth − 1 apart, so that
  // neighbours share their background edge column.
  PixelGrid Counter(int area, const QString& text, int left, int width) const {
    const std::uint32_t background = RgbOf(set.digitPatterns[area * 10].pixels[0][0]);
    return Drawn(set, area, text, left, set.cellWidth[area] - 1, width, background);
  }

  PatternSet set;
};

// Counters drawn with them read as their value in the monitoring cycle's tests.
TEST_F(DefaultPatterns, NoDigitPassesForAnotherInPlaceOrShifted) {
  for (int area = 0; area < 2; ++area) {
    for (int d = 0; d < 10; ++d) {
      // Alone, after a wide and a narrow neighbour, and before the delimiter; in place or shifted.
      for (const QString& text : {QString::number(d), QStringLiteral("8%1").arg(d),
                                  QStringLiteral("1%1").arg(d), QStringLiteral("%1D").arg(d)}) {
        const int at = text.endsWith('D') || text.size() == 1 ? 2 : 1 + set.cellWidth[area];
        const PixelGrid grid = Counter(area, text, 2, 2 + 3 * set.cellWidth[area]);
        for (const int shift : {-2, -1, 0, 1, 2}) {
          SCOPED_TRACE(testing::Message() << area << " \"" << text.toStdString() << "\" shifted " << shift);
          for (int other = 0; other < 10; ++other) {
            const int score = MatchScore(set.digitPatterns[area * 10 + other], grid, at + shift);
            EXPECT_TRUE(shift == 0 && other == d ? score == 10000 : score <= kMatchThreshold)
                << other << " scores " << score;
          }
        }
      }
    }
  }
}

// The fast scan against the reference on captures as a screen grab gives
// them: real fonts with anti-aliased edges, gradient backgrounds, channel
// noise, digits a pixel apart or touching; with the best kernel this
// machine has and with SSE2 forced. The captures must also read as drawn,
// or they would not test what the game shows.
TEST(RealisticCaptures, BothKernelsReadExactlyWhatTheReferenceReadsAndWhatWasDrawn) {
  std::mt19937 random(20261206);
  const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  for (const RealisticSet& r : RealisticSets()) {
    const PatternMatcher best(r.set);
    const PatternMatcher sse2(r.set, ScanKernel::Sse2);
    for (int i = 0; i < 40; ++i) {
      // A level and a counter, or nothing at all, from a small margin on;
      // now and then digits after the delimiter, which are never read.
      const bool blank = i % 8 == 0;
      const QString level = blank ? QString() : QString::number(pick(1, 999));
      QString exp = blank ? QString() : QString::number(pick(1, 9));
      for (int n = pick(0, 8); n > 0 && !blank; --n) exp += QChar(u'0' + pick(0, 9));
      const QString trailing = i % 5 == 1 ? QStringLiteral("D7") : QStringLiteral("D");
      const std::array<PixelGrid, 2> captures{
          RealisticCapture(r, 0, blank ? QString() : level + trailing, pick(0, 3), random()),
          RealisticCapture(r, 1, blank ? QString() : exp + trailing, pick(0, 3), random())};
      const int lag = pick(0, 1);
      for (const bool debug : {false, true}) {
        SCOPED_TRACE(testing::Message() << r.name.toStdString() << " case " << i << " \"" << level.toStdString()
                                        << "\" \"" << exp.toStdString() << "\" debug " << debug);
        QStringList bestEvents, sse2Events, referenceEvents;
        const RecognitionResult reference =
            RecognizeDigitsReference(captures, r.regionWidths, r.set, lag, debug, Recording(referenceEvents));
        const RecognitionResult fast = RecognizeDigits(captures, r.regionWidths, best, lag, debug, Recording(bestEvents));
        const RecognitionResult plain = RecognizeDigits(captures, r.regionWidths, sse2, lag, debug, Recording(sse2Events));
        ASSERT_EQ(std::tie(fast.level, fast.exp, fast.captions, bestEvents),
                  std::tie(reference.level, reference.exp, reference.captions, referenceEvents));
        ASSERT_EQ(std::tie(plain.captions, sse2Events), std::tie(reference.captions, referenceEvents));
        ASSERT_EQ(fast.trace, debug ? reference.trace : QString());
        ASSERT_EQ(plain.trace, fast.trace);
        EXPECT_EQ(reference.captions[0], blank ? QStringLiteral("認識NG") : level) << reference.failures[0].toStdString() << " / " << reference.digits[0].toStdString();
        EXPECT_EQ(reference.captions[1], blank ? QStringLiteral("認識NG") : exp);
      }
    }
  }
}

}  // namespace
