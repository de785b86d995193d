// The column scan, held to the same behaviour in the fast routine and in the
// plain reference scan.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "capture/recognition.h"
#include "capture/reference_scan.h"
#include "recognition_fixtures.h"

namespace {

using namespace recognition_fixtures;

using Scanner = RecognitionResult (*)(const std::array<PixelGrid, 2>&, const std::array<int, 2>&, const PatternSet&,
                                      int, bool, const RecognitionHooks&);

RecognitionResult Fast(const std::array<PixelGrid, 2>& c, const std::array<int, 2>& w, const PatternSet& p, int lag,
                       bool debug, const RecognitionHooks& h) {
  return RecognizeDigits(c, w, p, lag, debug, h);
}

RecognitionResult Reference(const std::array<PixelGrid, 2>& c, const std::array<int, 2>& w, const PatternSet& p,
                            int lag, bool debug, const RecognitionHooks& h) {
  return RecognizeDigitsReference(c, w, p, lag, debug, h);
}

RecognitionResult ReferenceReportingInDebugMode(const std::array<PixelGrid, 2>& c, const std::array<int, 2>& w,
                                                const PatternSet& p, int lag, bool debug, const RecognitionHooks& h) {
  return RecognizeDigitsReference(c, w, p, lag, debug, h, ReferenceReport::DebugModeOnly);
}

const QString kNg = QStringLiteral("認識NG");

class Scan : public ::testing::TestWithParam<Scanner> {
 protected:
  RecognitionResult Run(const std::array<PixelGrid, 2>& captures, const std::array<int, 2>& widths,
                        bool debug = true, int lag = 0) {
    return GetParam()(captures, widths, set, lag, debug, log.Hooks());
  }
  // Columns examined, in order, from the report lines of one area. Area
  // 1's lines follow area 0's: a column no larger than the one before it
  // begins the next area.
  static QList<int> Columns(const QString& trace, int area) {
    QList<int> columns;
    int currentArea = 0;
    int previous = -1;
    static const QRegularExpression heading(QStringLiteral("^X:(\\d+) Y:"));
    for (const QString& line : trace.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
      const int x = heading.match(line).captured(1).toInt();
      if (x <= previous) ++currentArea;
      previous = x;
      if (currentArea == area) columns << x;
    }
    return columns;
  }

  PatternSet set = GlyphSet(7, 5);
  HookLog log;
};

// Area 0 drawn with `text` (digits, 'D' the delimiter) at the given columns.
PixelGrid Drawn(const PatternSet& set, int area, int width, const std::vector<std::pair<QChar, int>>& glyphs) {
  PixelGrid grid = Canvas(width, set.cellHeight[area]);
  for (const auto& [c, x] : glyphs) {
    Draw(grid, c == u'D' ? set.delimiterPatterns[area] : set.digitPatterns[area * 10 + c.digitValue()], x);
  }
  return grid;
}

TEST_P(Scan, WorkedScanJumpsAfterDigitsAndStopsAtTheDelimiter) {
  const PixelGrid level = Drawn(set, 0, 30, {{u'1', 2}, {u'2', 10}, {u'D', 18}});
  const PixelGrid exp = Drawn(set, 1, 30, {{u'1', 2}, {u'2', 10}, {u'D', 18}});
  const RecognitionResult r = Run({level, exp}, {30, 30});
  EXPECT_EQ(Columns(r.trace, 0), (QList<int>{0, 1, 2, 8, 9, 10, 16, 17, 18}));
  EXPECT_EQ(Columns(r.trace, 1), (QList<int>{0, 1, 2, 8, 9, 10, 16, 17, 18}));
  EXPECT_EQ(r.captions[0], "12");
  EXPECT_EQ(r.level, 12);
  EXPECT_EQ(r.captions[1], "12");
  EXPECT_EQ(r.exp, 12.0);

  // Without the delimiter the scan runs on to column 30 − 4.
  const PixelGrid open = Drawn(set, 0, 30, {{u'1', 2}, {u'2', 10}});
  const RecognitionResult r2 = Run({open, Canvas(30, 5)}, {30, 30});
  EXPECT_EQ(Columns(r2.trace, 0), (QList<int>{0, 1, 2, 8, 9, 10, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}));
  EXPECT_EQ(r2.level, 12);
  EXPECT_EQ(r2.captions[1], kNg);
  EXPECT_EQ(r2.exp, 0.0);
}

TEST_P(Scan, OutsideDebugModeTheLagIsWaitedOncePerColumnAndNoReportIsNeeded) {
  const PixelGrid level = Drawn(set, 0, 30, {{u'1', 2}, {u'2', 10}, {u'D', 18}});
  const RecognitionResult r = Run({level, Canvas(3, 5)}, {30, 30}, /*debug=*/false, /*lag=*/50);
  EXPECT_EQ(r.level, 12);
  EXPECT_EQ(log.events.count(QStringLiteral("wait")), 9);
  EXPECT_EQ(log.events.filter(QStringLiteral("preview")).size(), 0);
  EXPECT_EQ(log.events.filter(QStringLiteral("caption 0")),
            (QStringList{QStringLiteral("caption 0 認識中…"), QStringLiteral("caption 0 12")}));

  log.events.clear();
  Run({level, Canvas(3, 5)}, {30, 30}, /*debug=*/false, /*lag=*/0);
  EXPECT_EQ(log.events.count(QStringLiteral("wait")), 0);
}

TEST_P(Scan, DebugModePreviewsAndWaitsPerDigitCandidateAndShowsProgress) {
  const PixelGrid level = Drawn(set, 0, 14, {{u'0', 0}, {u'D', 7}});
  Run({level, Canvas(3, 5)}, {14, 3}, /*debug=*/true, /*lag=*/10);
  QStringList expected{"caption 0 認識中…", "preview 0 0 0", "wait", "caption 0 0認識中…"};
  for (const int x : {6, 7}) {
    // Every digit candidate is shown and waited for; the delimiter is not.
    for (int d = 0; d < 10; ++d) expected << QStringLiteral("preview 0 %1 %2").arg(d).arg(x) << "wait";
    if (x == 6) expected << "caption 0 0認識中…";  // no progress caption after the delimiter
  }
  expected << "caption 0 0" << "caption 1 認識中…" << "caption 1 ";
  EXPECT_EQ(log.events, expected);
}

TEST_P(Scan, RegionWidthFourExaminesOneColumnAndThreeNone) {
  const PixelGrid level = Drawn(set, 0, 10, {{u'7', 0}});
  RecognitionResult r = Run({level, level}, {4, 3});
  EXPECT_EQ(Columns(r.trace, 0), QList<int>{0});
  EXPECT_EQ(r.captions[0], "7");
  EXPECT_FALSE(r.trace.contains(QStringLiteral("D1:")));
  EXPECT_EQ(r.captions[1], kNg);

  r = Run({level, level}, {3, -2147483647 - 1});
  EXPECT_EQ(r.captions[0], kNg);
  EXPECT_EQ(r.level, 0);
  EXPECT_TRUE(r.trace.isEmpty());
}

TEST_P(Scan, ZerosOnlyReadAsAFailure) {
  for (const auto& glyphs : {std::vector<std::pair<QChar, int>>{{u'0', 0}, {u'D', 6}},
                             std::vector<std::pair<QChar, int>>{{u'0', 0}, {u'0', 6}, {u'0', 12}, {u'D', 18}}}) {
    const PixelGrid g = Drawn(set, 0, 30, glyphs);
    const PixelGrid e = Drawn(set, 1, 30, glyphs);
    const RecognitionResult r = Run({g, e}, {30, 30});
    EXPECT_EQ(r.level, 0);
    EXPECT_EQ(r.captions[0], kNg);
    EXPECT_EQ(r.exp, 0.0);
    EXPECT_EQ(r.captions[1], kNg);
  }
}

TEST_P(Scan, DelimiterFirstOrDigitsBehindItReadNothingFurther) {
  const PixelGrid first = Drawn(set, 0, 30, {{u'D', 0}, {u'4', 7}});
  RecognitionResult r = Run({first, first}, {30, 30});
  EXPECT_EQ(Columns(r.trace, 0), QList<int>{0});
  EXPECT_EQ(r.captions[0], kNg);

  const PixelGrid behind = Drawn(set, 0, 40, {{u'5', 0}, {u'D', 7}, {u'6', 14}, {u'7', 21}});
  r = Run({behind, first}, {40, 30});
  EXPECT_EQ(r.captions[0], "5");
  EXPECT_EQ(r.level, 5);
}

TEST_P(Scan, ADigitStartingInsideTheJumpIsNotSeen) {
  // Cells of 9 columns: digit 8 starts at column 7, before 0 + 9 − 1 = 8.
  set.cellWidth[0] = 9;
  const PixelGrid g = Drawn(set, 0, 30, {{u'3', 0}, {u'8', 7}});
  const RecognitionResult r = Run({g, g}, {30, 30});
  EXPECT_EQ(r.captions[0], "3");
}

TEST_P(Scan, TheSmallerOfTwoMatchingDigitsWins) {
  set.digitPatterns[5] = set.digitPatterns[3];
  const PixelGrid g = Drawn(set, 0, 10, {{u'5', 0}});
  const RecognitionResult r = Run({g, g}, {10, 10});
  EXPECT_EQ(r.captions[0], "3");
}

TEST_P(Scan, ScoreOf9750IsAMissAnd9751AMatch) {
  // 4 × 10 pattern: 117 of its 120 channel bytes agreeing score 9750.
  set.digitPatterns[0] = Solid(4, 10, 0x404040);
  PixelGrid level = Canvas(4, 10, 0x404040);
  Set(level, 1, 1, 0x40406A);  // red off by 42: one byte disagrees
  Set(level, 2, 5, 0x6A6A40);  // two more
  // 7 × 23 pattern: 471 of 483 agreeing score 9751.
  set.digitPatterns[10] = Solid(7, 23, 0x404040);
  PixelGrid exp = Canvas(7, 23, 0x404040);
  for (int y = 0; y < 4; ++y) Set(exp, 3, y, 0x909090);  // 4 pixels, 12 bytes
  UpdateCells(set);
  const RecognitionResult r = Run({level, exp}, {4, 7});
  EXPECT_TRUE(r.trace.contains(QStringLiteral(" 0:9750 "))) << r.trace.toStdString();
  EXPECT_EQ(r.captions[0], kNg);
  EXPECT_TRUE(r.trace.contains(QStringLiteral(" 0:9751  認識結果:0\r\n"))) << r.trace.toStdString();
  // One more disagreeing byte (9730) is no match any more.
  Set(exp, 4, 0, 0x404090);
  EXPECT_FALSE(Run({level, exp}, {4, 7}).trace.contains(QStringLiteral("認識結果:0")));
}

TEST_P(Scan, AChannelDifferenceOf20AgreesAnd21DoesNot) {
  set.digitPatterns[1] = Solid(7, 5, 0x646464);  // 100 in every channel
  set.digitPatterns[11] = Solid(7, 5, 0x646464);
  UpdateCells(set);
  const std::uint32_t up20 = 0x787878, down20 = 0x505050, up21 = 0x797979, down21 = 0x4F4F4F;
  PixelGrid agree = Canvas(7, 5, up20);
  for (int x = 0; x < 7; x += 2) Set(agree, x, 2, down20);
  PixelGrid disagree = Canvas(7, 5, 0x646464);
  for (int x = 0; x < 7; ++x) Set(disagree, x, 0, x % 2 ? up21 : down21);
  const RecognitionResult r = Run({agree, disagree}, {7, 7});
  EXPECT_EQ(r.captions[0], "1");
  EXPECT_TRUE(r.trace.contains(QStringLiteral(" 1:10000  認識結果:1"))) << r.trace.toStdString();
  EXPECT_EQ(r.captions[1], kNg);
  EXPECT_TRUE(r.trace.contains(QStringLiteral(" 1:8000 "))) << r.trace.toStdString();
}

TEST_P(Scan, ReportLinesHaveTheirExactForm) {
  // 10 × 1 patterns: 30 channel bytes, so a count of n scores n * 10000 / 30.
  for (int i = 0; i < 20; ++i) set.digitPatterns[i] = Solid(10, 1, 0x0000FF);  // blue
  set.digitPatterns[2] = Solid(10, 1, 0x808080);                               // grey
  set.digitPatterns[8] = Solid(10, 1, 0xFF00FF);                               // magenta
  set.digitPatterns[9] = Solid(10, 1, kWhite);
  set.delimiterPatterns = {Solid(10, 1, 0x00FF00), Solid(10, 1, 0x00FF00)};     // green
  UpdateCells(set);
  PixelGrid level = Canvas(115, 1, kBlack);
  for (int x = 1; x <= 10; ++x) Set(level, x, 0, kWhite);
  for (int x = 105; x < 115; ++x) Set(level, x, 0, 0x00FF00);
  const RecognitionResult r = Run({level, Canvas(3, 1)}, {115, 3});
  const QStringList lines = r.trace.split(QStringLiteral("\r\n"));
  // Column 0: one black pixel, then nine white ones.
  EXPECT_EQ(lines[0], QStringLiteral("X:00 Y: 0:3666  1:3666  2:   0  3:3666  4:3666  5:3666  6:3666  7:3666  "
                                     "8:6333  9:9000  D0:3666  認識結果:なし"));
  EXPECT_EQ(lines[1], QStringLiteral("X:01 Y: 0:3333  1:3333  2:   0  3:3333  4:3333  5:3333  6:3333  7:3333  "
                                     "8:6666  9:10000  認識結果:9"));
  // The jump: 1 + 10 − 1.
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("X:10 Y: 0:6333  1:6333  2:   0  3:6333 "))) << lines[2].toStdString();
  EXPECT_TRUE(r.trace.endsWith(QStringLiteral("\r\nX:105 Y: 0:3333  1:3333  2:   0  3:3333  4:3333  5:3333  6:3333  "
                                              "7:3333  8:   0  9:3333  D0:10000  認識結果:デリミタ\r\n")))
      << r.trace.right(200).toStdString();
  EXPECT_EQ(r.level, 9);
}

TEST_P(Scan, TenLevelDigitsDoNotFitAndFail) {
  set = GlyphSet(5, 4);
  std::vector<std::pair<QChar, int>> nine, ten;
  for (int i = 0; i < 10; ++i) {
    const QChar digit = QChar(u'1' + (i % 9));
    if (i < 9) nine.push_back({digit, i * 5});
    ten.push_back({digit, i * 5});
  }
  const PixelGrid nineLevel = Drawn(set, 0, 60, nine);
  const PixelGrid tenLevel = Drawn(set, 0, 60, ten);
  const PixelGrid tenExp = Drawn(set, 1, 60, ten);
  RecognitionResult r = Run({nineLevel, tenExp}, {60, 60}, false);
  EXPECT_EQ(r.level, 123456789);
  EXPECT_EQ(r.exp, 1234567891.0);
  r = Run({tenLevel, tenExp}, {60, 60}, false);
  EXPECT_EQ(r.level, 0);
  EXPECT_EQ(r.captions[0], kNg);
  EXPECT_EQ(r.captions[1], "1234567891");
}

TEST_P(Scan, CellWidthOneStillMovesRight) {
  set.digitPatterns[1] = Solid(1, 5, 0xFFFFFF);
  for (int i = 0; i < 20; ++i) {
    if (i != 1) set.digitPatterns[i] = Solid(1, 5, 0x00FF00);
  }
  set.delimiterPatterns = {Solid(1, 5, 0x0000FF), Solid(1, 5, 0x0000FF)};
  UpdateCells(set);
  ASSERT_EQ(set.cellWidth[0], 1);
  const RecognitionResult r = Run({Canvas(6, 5, 0xFFFFFF), Canvas(3, 5)}, {6, 3});
  EXPECT_EQ(Columns(r.trace, 0), (QList<int>{0, 1, 2}));
  EXPECT_EQ(r.captions[0], "111");

  set.cellWidth[0] = -5;  // a damaged set moves one column too
  EXPECT_EQ(Run({Canvas(6, 5, 0xFFFFFF), Canvas(3, 5)}, {6, 3}).captions[0], "111");
  set.cellWidth[0] = 2147483647;  // and a huge one ends the scan without overflow
  EXPECT_EQ(Run({Canvas(6, 5, 0xFFFFFF), Canvas(3, 5)}, {6, 3}).captions[0], "1");
}

TEST_P(Scan, PatternsOutsideTheModelOrLargerThanTheCaptureNeverMatch) {
  // All black against a black capture would match everywhere if compared.
  set.digitPatterns[1] = Solid(12, 5, kBlack);   // wider than the capture
  set.digitPatterns[2] = Solid(7, 9, kBlack);    // taller than the capture
  set.digitPatterns[3] = Solid(0, 5, kBlack);    // no width
  set.digitPatterns[4] = Solid(42, 5, kBlack);   // beyond the 41 × 41 cells
  set.digitPatterns[5] = Solid(5, -3, kBlack);
  set.digitPatterns[6] = Solid(4, 4, 0x0000FF);  // an ordinary pattern, to end on
  set.cellWidth[0] = 4;
  PixelGrid level = Canvas(10, 5);
  Draw(level, set.digitPatterns[6], 3);
  const RecognitionResult r = Run({level, Canvas(3, 5)}, {10, 3});
  EXPECT_EQ(r.captions[0], "6");
  EXPECT_TRUE(r.trace.startsWith(QStringLiteral("X:00 Y: 0:")));
  EXPECT_TRUE(r.trace.contains(QStringLiteral(" 1:   0  2:   0  3:   0  4:   0  5:   0 ")));
}

TEST_P(Scan, ColumnsRightOfThePictureReadBlack) {
  // The pattern's two white columns, then black: at column 6 of a 10-wide
  // capture it reaches two columns past the right edge.
  Pattern edge = Solid(6, 5, kBlack);
  for (int x = 0; x < 2; ++x) {
    for (int y = 0; y < 5; ++y) edge.pixels[x][y] = ColorOf(kWhite);
  }
  set.digitPatterns[4] = edge;
  UpdateCells(set);
  PixelGrid level = Canvas(10, 5);
  for (int y = 0; y < 5; ++y) {
    Set(level, 6, y, kWhite);
    Set(level, 7, y, kWhite);
  }
  const RecognitionResult r = Run({level, Canvas(3, 5)}, {10, 3});
  EXPECT_EQ(r.captions[0], "4");
  // A region wider than the capture does not take the scan past it.
  EXPECT_EQ(Columns(Run({level, Canvas(3, 5)}, {500, 3}).trace, 0).back(), 6);
}

TEST_P(Scan, AGridWhosePixelsDoNotMatchItsSizeReadsAsEmpty) {
  PixelGrid broken = Drawn(set, 0, 30, {{u'4', 0}});
  broken.width = 300;  // claims more pixels than it holds
  PixelGrid negative = Canvas(0, 0);
  negative.width = -8;
  negative.height = -2;
  const RecognitionResult r = Run({broken, negative}, {300, 30});
  EXPECT_EQ(r.captions, (std::array<QString, 2>{kNg, kNg}));
  EXPECT_TRUE(r.trace.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(FastAndReference, Scan, ::testing::Values(&Fast, &Reference, &ReferenceReportingInDebugMode));

}  // namespace
