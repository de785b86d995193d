#include "accounting/evaluation.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <tuple>

#include "accounting/exp_table_file.h"
#include "support/qstring_printer.h"

namespace {

class EvaluationTest : public ::testing::Test {
 protected:
  EvaluationStep Read(std::int32_t level, double exp, std::int64_t ms, bool csv = false) {
    return evaluator.Evaluate(level, exp, QDateTime(QDate(2026, 10, 2), QTime(18, 4, 30)), ms, csv);
  }
  ReadingEvaluator evaluator;
};

// One measurement, reading after reading. "new" marks a reading that begins
// a log file; a gain shows its 獲得Exp, 経過(分) and 時給(k/h) columns; any
// other reading shows its screen text. The clock passes the 32-bit
// millisecond wrap between the idle reading and the one after it.
TEST_F(EvaluationTest, ReadingsOfOneMeasurement) {
  const std::tuple<std::int32_t, double, std::int64_t, QString> rows[] = {
      {50, 1'000, 100'000, "new"},
      {50, 2'000, 159'000, "1,000 0.9 61"},  // minutes are cut, not rounded
      {50, 2'001, 3'759'000, "1 60.0 0"},
      {50, 2'000, 3'819'000, QStringLiteral("認識疑義  Lv50 Exp2,000")},  // a loss is never a gain line
      {50, 2'001, 4'419'000, ""},
      {50, 2'061, 4'479'000, "60 1.0 3"},  // the idle ten minutes are left out
      {50, 2'561, 4'479'900, "500 0.0 -"},  // within one second: no rate
      {0, 0, 4'490'000, QStringLiteral("認識失敗  両方NG")},
      {0, 500, 4'500'000, QStringLiteral("認識失敗  LvNG")},
      {7, 0, 4'510'000, QStringLiteral("認識失敗  ExpNG")},
      {50, 2'621, 4'539'000, "60 1.0 3"},  // failed readings changed nothing
      // Up to three levels at once is a level-up; anything else a new measurement.
      {53, 500, 5'139'000, "2,245,834 10.0 13,475"},
      {50, 1'000, 5'200'000, "new"},
      {54, 900, 5'300'000, "new"},
      {50, 1'000, 5'400'000, "new"},
      {49, 900, 5'500'000, "new"},
      {199, 1'000, 5'600'000, "new"},
      {200, 5, 5'900'000, "2,011,068,799 5.0 24,132,825"},  // level 199's size is compiled in
      {2'500, 5, 6'000'000, QStringLiteral("測定不可  Lv範囲外")},  // beyond the cap: a misread
      {200, 60'005, 6'500'000, "60,000 10.0 360"},
  };
  const std::int64_t start = (std::int64_t{1} << 32) - 4'450'296;
  for (const auto& [level, exp, ms, expected] : rows) {
    SCOPED_TRACE(ms);
    const EvaluationStep step = Read(level, exp, start + ms);
    // After the date, level and total: the three gain columns, or the screen's text.
    QString shown = step.fileLine ? step.screenLine.mid(33).simplified() : step.screenLine.mid(11).trimmed();
    EXPECT_EQ(step.beginLogFile ? "new" : shown, expected);
    EXPECT_FALSE(step.fileLine.value_or("").contains(QRegularExpression("inf|nan")));
  }
  const EvaluationStep rebase = evaluator.Rebase(200, 1'234'567, QDateTime(), start + 7'000'000, /*saveCsv=*/true);
  EXPECT_TRUE(rebase.rebase && rebase.fileLine->contains(QStringLiteral("  基準再設定  Lv200 Exp1234567  "))) << "no grouping in CSV";
}

// Gain lines byte for byte, with the delivered table: the worked example,
// then today's game from level 200 to the cap (the columns widen for numbers
// longer than they were made for, and never glue together). The screen has
// one blank less after the date and keeps its grouping.
TEST_F(EvaluationTest, GainLinesFromAnOrdinaryLevelToTheCap) {
  EXPECT_EQ(Read(125, 5'602'800, 1'000'000).screenLine, "10/02 18:04  125       5,602,800 ") << "a first reading";
  evaluator.SetExpTable(LoadExpTable(QStringLiteral(TALLYMETER_SOURCE_DIR)).table);
  const struct {
    std::int32_t fromLevel;
    double fromExp;
    std::int32_t level;
    double exp;
    std::int64_t seconds;
    const char* txt;
    const char* csv;
  } cases[] = {
      {125, 5'602'800, 125, 6'024'300, 600,
       "10/02 18:04   125       6,024,300      421,500     10.0        2,529 ",
       "10/02 18:04 ,  125 ,        6024300 ,      421500 ,    10.0  ,       2529 "},
      {250, 100'000'000'000, 250, 1'100'000'000'000, 600,  // 13 digits, a gain of 10^12, billions of k/h
       "10/02 18:04   250  1,100,000,000,000  1,000,000,000,000     10.0   6,000,000,000 ",
       "10/02 18:04 ,  250 ,  1100000000000 , 1000000000000 ,    10.0  , 6000000000 "},
      {280, 12'345'678'901'234, 280, 13'345'678'901'234, 600,  // 14 digits
       "10/02 18:04   280  13,345,678,901,234  1,000,000,000,000     10.0   6,000,000,000 ",
       "10/02 18:04 ,  280 , 13345678901234 , 1000000000000 ,    10.0  , 6000000000 "},
      {249, 294'971'656'000, 250, 1'000'000, 600,  // 640 to finish level 249
       "10/02 18:04   250       1,000,000    1,000,640     10.0        6,003 ",
       "10/02 18:04 ,  250 ,        1000000 ,     1000640 ,    10.0  ,       6003 "},
      {299, 1'737'759'854'037'000, 300, 5'000, 60,
       "10/02 18:04   300           5,000        5,637      1.0          338 ",
       "10/02 18:04 ,  300 ,           5000 ,        5637 ,     1.0  ,        338 "},
      {299, 737'759'854'037'636, 299, 1'737'759'854'037'636, 3'600,  // the largest counter of all
       "10/02 18:04   299  1,737,759,854,037,636  1,000,000,000,000,000     60.0   1,000,000,000,000 ",
       "10/02 18:04 ,  299 , 1737759854037636 , 1000000000000000 ,    60.0  , 1000000000000 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.txt);
    for (const bool csv : {false, true}) {
      evaluator.StartNewMeasurement();
      ASSERT_TRUE(Read(c.fromLevel, c.fromExp, 1'000'000, csv).beginLogFile);
      const EvaluationStep step = Read(c.level, c.exp, 1'000'000 + c.seconds * 1000, csv);
      EXPECT_EQ(step.fileLine, QString::fromUtf8(csv ? c.csv : c.txt));
      EXPECT_EQ(step.screenLine, QString::fromUtf8(c.txt).remove(11, 1));
    }
  }
}

TEST_F(EvaluationTest, ALevelUpTheTableCannotMeasureIsSaidSoAndTheFileGoesOn) {
  // The compiled table alone: nothing is known of level 249.
  EXPECT_TRUE(Read(249, 100, 1'000'000).beginLogFile);
  const EvaluationStep unknown = Read(250, 200, 1'060'000);
  EXPECT_EQ(unknown.screenLine,
            QStringLiteral("10/02 18:04  250             200  獲得Exp不明(経験値表にLv249の経験値がありません)"));
  EXPECT_EQ(std::tuple(unknown.fileLine, unknown.beginLogFile, unknown.rate, unknown.traceMessage),
            std::tuple(std::nullopt, false, std::nullopt, QStringLiteral(" Level-up beyond the table, gain unknown")));
  // Measured afresh from that reading, into the same file.
  const EvaluationStep next = Read(250, 1'200, 1'120'000);
  EXPECT_FALSE(next.beginLogFile);
  EXPECT_EQ(next.fileLine, "10/02 18:04   250           1,200        1,000      1.0           60 ");
}

}  // namespace
