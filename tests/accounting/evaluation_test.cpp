#include "accounting/evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "qstring_printer.h"

namespace {

QString Blanks(int n) { return QString(n, u' '); }

// A gain line that fits its widths, cut into date, Lv, Exp, 獲得Exp,
// 経過(分) and 時給(k/h), each without its blanks.
QStringList Columns(const EvaluationStep& step) {
  QStringList columns;
  int at = 0;
  for (int width : {11, 6, 16, 13, 10, 12}) {
    columns << step.screenLine.mid(at, width).trimmed();
    at += width;
  }
  return columns;
}

class EvaluationTest : public ::testing::Test {
 protected:
  EvaluationStep Read(std::int32_t level, double exp, std::int64_t ms, bool csv = false) {
    return evaluator.Evaluate(level, exp, QDateTime(QDate(2026, 10, 2), QTime(18, 4, 30)), ms, csv);
  }
  ReadingEvaluator evaluator;
};

TEST_F(EvaluationTest, WorkedExampleComesOutByteForByte) {
  Read(125, 6'024'300 - 421'500, 1'000'000);
  const EvaluationStep txt = Read(125, 6'024'300, 1'600'000);
  const QString screen = "10/02 18:04" + Blanks(2) + "125" + Blanks(7) + "6,024,300" + Blanks(6) + "421,500" +
                         Blanks(5) + "10.0" + Blanks(8) + "2,529" + Blanks(1);
  EXPECT_EQ(txt.screenLine, screen);
  EXPECT_EQ(txt.fileLine, "10/02 18:04 " + screen.mid(11));
  EXPECT_TRUE(txt.scrollToEnd);
  EXPECT_FALSE(txt.beginLogFile || txt.retrySoon || !txt.traceMessage.isEmpty());

  evaluator.StartNewMeasurement();
  Read(125, 6'024'300 - 421'500, 1'000'000, true);
  const EvaluationStep csv = Read(125, 6'024'300, 1'600'000, true);
  EXPECT_EQ(csv.screenLine, screen);  // the screen keeps its grouping
  EXPECT_EQ(csv.fileLine, "10/02 18:04" + Blanks(1) + "," + Blanks(2) + "125" + Blanks(1) + "," + Blanks(8) +
                              "6024300" + Blanks(1) + "," + Blanks(6) + "421500" + Blanks(1) + "," + Blanks(4) +
                              "10.0" + Blanks(2) + "," + Blanks(7) + "2529" + Blanks(1));
}

TEST_F(EvaluationTest, FirstReadingShowsLevelAndExpAndBeginsLogFile) {
  const EvaluationStep step = Read(125, 6'024'300, 0);  // tick 0 is a reading like any other
  EXPECT_EQ(step.screenLine, "10/02 18:04" + Blanks(2) + "125" + Blanks(7) + "6,024,300" + Blanks(1));
  EXPECT_TRUE(step.beginLogFile);
  EXPECT_FALSE(step.fileLine || step.scrollToEnd || step.retrySoon);
  EXPECT_EQ(step.traceMessage, " Fast ImageRecognition");
  EXPECT_FALSE(Read(125, 6'024'400, 600'000).beginLogFile);
}

TEST_F(EvaluationTest, MinutesCutToTenthsAndRateRoundedDown) {
  Read(50, 1'000, 100'000);
  EXPECT_EQ(Columns(Read(50, 2'000, 159'000))[4], "0.9");  // 59 s
  EXPECT_EQ(Columns(Read(50, 2'001, 3'759'000))[5], "0");   // 1 in an hour
  const QStringList loss = Columns(Read(50, 2'000, 3'819'000));
  EXPECT_EQ(loss[3], "-1");
  EXPECT_EQ(loss[5], "-1");
  // Whole seconds: 1.999 s and 61.0 s are 60 s apart.
  evaluator.StartNewMeasurement();
  Read(50, 1'000, 1'999);
  EXPECT_EQ(Columns(Read(50, 7'000, 61'000))[4], "1.0");
  // Beyond 32-bit milliseconds the elapsed time stays right.
  const std::int64_t wrap = std::int64_t{1} << 32;
  Read(50, 8'000, wrap - 1'000);
  EXPECT_EQ(Columns(Read(50, 9'000, wrap + 599'000))[4], "10.0");
}

TEST_F(EvaluationTest, FailedReadingsAreLabelledAndChangeNothing) {
  const EvaluationStep step = Read(0, 0, 10'000);
  EXPECT_EQ(step.screenLine, "10/02 18:04  認識失敗  両方NG");
  EXPECT_TRUE(step.retrySoon && step.scrollToEnd);
  EXPECT_FALSE(step.beginLogFile || step.fileLine);
  EXPECT_EQ(step.traceMessage, " ImageRecognition misstep");
  EXPECT_EQ(Read(0, 500, 20'000).screenLine, "10/02 18:04  認識失敗  LvNG");
  EXPECT_EQ(Read(7, 0, 30'000).screenLine, "10/02 18:04  認識失敗  ExpNG");
  EXPECT_EQ(Read(7, std::nan(""), 30'000).screenLine, "10/02 18:04  認識失敗  ExpNG");
  EXPECT_FALSE(evaluator.HasPreviousReading());

  Read(50, 1'000, 100'000);
  Read(0, 0, 400'000);
  EXPECT_EQ(Columns(Read(50, 1'600, 700'000))[4], "10.0");
}

TEST_F(EvaluationTest, UnchangedTotalIsSilentAndIdleTimeLeftOut) {
  Read(50, 1'000, 100'000);
  const EvaluationStep idle = Read(50, 1'000, 700'000);
  EXPECT_TRUE(idle.screenLine.isEmpty() && idle.traceMessage.isEmpty());
  EXPECT_FALSE(idle.fileLine || idle.beginLogFile || idle.scrollToEnd || idle.retrySoon);
  const QStringList columns = Columns(Read(50, 1'060, 760'000));
  EXPECT_EQ(columns[4], "1.0");
  EXPECT_EQ(columns[5], "3");
}

TEST_F(EvaluationTest, LevelChangeOfZeroToThreeKeepsTheMeasurement) {
  Read(50, 1'000, 100'000);
  // 9,099,546 + 500 at level 53 against 6,851,591 + 1,000 at level 50.
  EXPECT_EQ(Columns(Read(53, 500, 700'000))[3], "2,247,455");
  for (std::int32_t next : {54, 49}) {
    ReadingEvaluator fresh;
    fresh.Evaluate(50, 1'000, {}, 100'000, false);
    const EvaluationStep step = fresh.Evaluate(next, 900, {}, 700'000, false);
    EXPECT_TRUE(step.beginLogFile) << next;
    EXPECT_FALSE(step.fileLine) << next;
  }
}

TEST_F(EvaluationTest, GainWithinOneSecondHasNoRate) {
  Read(50, 1'000, 100'000);
  const EvaluationStep step = Read(50, 1'500, 100'900);
  EXPECT_EQ(Columns(step).mid(3), QStringList({"500", "0.0", "-"}));
  EXPECT_EQ(step.screenLine.size(), 68);
  EXPECT_FALSE(step.fileLine->contains("inf") || step.fileLine->contains("nan"));
}

TEST_F(EvaluationTest, LevelsPastTheTableCannotBeMeasured) {
  Read(199, 1'000, 100'000);
  const EvaluationStep step = Read(200, 5, 700'000);
  EXPECT_EQ(step.screenLine, "10/02 18:04  測定不可  Lv200以上");
  EXPECT_FALSE(step.fileLine || step.beginLogFile || step.retrySoon);
  // A misread 200 does not break the measurement.
  const EvaluationStep back = Read(199, 1'100, 1'300'000);
  EXPECT_FALSE(back.beginLogFile);
  EXPECT_EQ(Columns(back)[4], "20.0");
}

TEST_F(EvaluationTest, NewMeasurementForgetsThePreviousReading) {
  Read(50, 1'000, 100'000);
  evaluator.StartNewMeasurement();
  EXPECT_TRUE(Read(50, 2'000, 5'000'000).beginLogFile);
}

}  // namespace
