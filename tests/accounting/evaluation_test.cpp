#include "accounting/evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "qstring_printer.h"

namespace {

QString Blanks(int n) { return QString(n, u' '); }

const QDateTime kOctober2(QDate(2026, 10, 2), QTime(18, 4, 30));

// The columns of a gain line that fits its widths: date, Lv, Exp, 獲得Exp,
// 経過(分), 時給(k/h), each without its blanks.
QStringList Columns(const QString& line) {
  QStringList columns;
  int at = 0;
  for (int width : {11, 6, 16, 13, 10, 12}) {
    columns << line.mid(at, width).trimmed();
    at += width;
  }
  return columns;
}

// Drives one evaluator through readings at chosen seconds.
class EvaluationTest : public ::testing::Test {
 protected:
  EvaluationStep Read(std::int32_t level, double exp, std::int64_t seconds, bool csv = false) {
    return evaluator.Evaluate(level, exp, kOctober2, seconds * 1000, csv);
  }
  ReadingEvaluator evaluator;
};

TEST_F(EvaluationTest, WorkedExampleComesOutByteForByte) {
  Read(125, 6'024'300 - 421'500, 1'000);
  const EvaluationStep txt = Read(125, 6'024'300, 1'600);
  const QString screen = "10/02 18:04" + Blanks(2) + "125" + Blanks(7) + "6,024,300" + Blanks(6) + "421,500" +
                         Blanks(5) + "10.0" + Blanks(8) + "2,529" + Blanks(1);
  EXPECT_EQ(txt.screenLine, screen);
  EXPECT_EQ(txt.screenLine.size(), 68);
  ASSERT_TRUE(txt.fileLine);
  EXPECT_EQ(*txt.fileLine, "10/02 18:04 " + screen.mid(11));
  EXPECT_EQ(txt.fileLine->size(), 69);
  EXPECT_TRUE(txt.scrollToEnd);
  EXPECT_FALSE(txt.beginLogFile);
  EXPECT_FALSE(txt.retrySoon);
  EXPECT_TRUE(txt.traceMessage.isEmpty());

  ReadingEvaluator csvEvaluator;
  csvEvaluator.Evaluate(125, 6'024'300 - 421'500, kOctober2, 1'000'000, true);
  const EvaluationStep csv = csvEvaluator.Evaluate(125, 6'024'300, kOctober2, 1'600'000, true);
  EXPECT_EQ(csv.screenLine, screen);
  ASSERT_TRUE(csv.fileLine);
  EXPECT_EQ(*csv.fileLine, "10/02 18:04" + Blanks(1) + "," + Blanks(2) + "125" + Blanks(1) + "," + Blanks(8) +
                               "6024300" + Blanks(1) + "," + Blanks(6) + "421500" + Blanks(1) + "," + Blanks(4) +
                               "10.0" + Blanks(2) + "," + Blanks(7) + "2529" + Blanks(1));
  EXPECT_EQ(csv.fileLine->size(), 74);
}

TEST_F(EvaluationTest, FirstReadingShowsLevelAndExpAndBeginsLogFile) {
  const EvaluationStep step = evaluator.Evaluate(125, 6'024'300, QDateTime(QDate(2026, 1, 9), QTime(7, 5)), 5'000, false);
  EXPECT_EQ(step.screenLine, "01/09 07:05" + Blanks(2) + "125" + Blanks(7) + "6,024,300" + Blanks(1));
  EXPECT_TRUE(step.beginLogFile);
  EXPECT_FALSE(step.fileLine);
  EXPECT_FALSE(step.scrollToEnd);
  EXPECT_FALSE(step.retrySoon);
  EXPECT_EQ(step.traceMessage, " Fast ImageRecognition");
  EXPECT_TRUE(evaluator.HasPreviousReading());
}

TEST_F(EvaluationTest, ElapsedMinutesAreCutToTenths) {
  Read(50, 1'000, 100);
  EXPECT_EQ(Columns(Read(50, 2'000, 159).screenLine)[4], "0.9");
  EXPECT_EQ(Columns(Read(50, 3'000, 159 + 3'599).screenLine)[4], "59.9");
  EXPECT_EQ(Columns(Read(50, 4'000, 159 + 3'599 + 6).screenLine)[4], "0.1");
}

TEST_F(EvaluationTest, RateIsThousandsPerHourRoundedDown) {
  Read(50, 1'000, 100);
  QStringList columns = Columns(Read(50, 1'001, 3'700).screenLine);
  EXPECT_EQ(columns[3], "1");
  EXPECT_EQ(columns[5], "0");

  // A loss while the level stays: negative gain and rate rounded toward minus infinity.
  columns = Columns(Read(50, 1'000, 3'760).screenLine);
  EXPECT_EQ(columns[3], "-1");
  EXPECT_EQ(columns[4], "1.0");
  EXPECT_EQ(columns[5], "-1");
}

TEST_F(EvaluationTest, ElapsedTimeCountsWholeSeconds) {
  evaluator.Evaluate(50, 1'000, kOctober2, 1'999, false);
  // 1.999 s and 61.0 s are seconds 1 and 61: 60 seconds apart.
  const QStringList columns = Columns(evaluator.Evaluate(50, 7'000, kOctober2, 61'000, false).screenLine);
  EXPECT_EQ(columns[4], "1.0");
  EXPECT_EQ(columns[5], "360");
}

TEST_F(EvaluationTest, ElapsedTimeSurvivesBeyond32BitMilliseconds) {
  const std::int64_t wrap = std::int64_t{1} << 32;
  evaluator.Evaluate(125, 5'602'800, kOctober2, wrap - 1'000, false);
  const QStringList columns = Columns(evaluator.Evaluate(125, 6'024'300, kOctober2, wrap + 599'000, false).screenLine);
  EXPECT_EQ(columns[4], "10.0");
  EXPECT_EQ(columns[5], "2,529");
}

TEST_F(EvaluationTest, FailedReadingsAreLabelledAndChangeNothing) {
  EvaluationStep step = Read(0, 0, 10);
  EXPECT_EQ(step.screenLine, "10/02 18:04  認識失敗  両方NG");
  EXPECT_TRUE(step.retrySoon);
  EXPECT_TRUE(step.scrollToEnd);
  EXPECT_FALSE(step.beginLogFile);
  EXPECT_FALSE(step.fileLine);
  EXPECT_EQ(step.traceMessage, " ImageRecognition misstep");
  EXPECT_FALSE(evaluator.HasPreviousReading());

  EXPECT_EQ(Read(0, 500, 20).screenLine, "10/02 18:04  認識失敗  LvNG");
  EXPECT_EQ(Read(7, 0, 30).screenLine, "10/02 18:04  認識失敗  ExpNG");
  EXPECT_EQ(Read(7, std::nan(""), 30).screenLine, "10/02 18:04  認識失敗  ExpNG");

  // Between two good readings a failure leaves the measurement alone.
  Read(50, 1'000, 100);
  Read(0, 0, 400);
  step = Read(50, 1'600, 700);
  EXPECT_FALSE(step.beginLogFile);
  EXPECT_EQ(Columns(step.screenLine)[3], "600");
  EXPECT_EQ(Columns(step.screenLine)[4], "10.0");
}

TEST_F(EvaluationTest, UnchangedTotalIsSilentAndIdleTimeLeftOut) {
  Read(50, 1'000, 100);
  const EvaluationStep idle = Read(50, 1'000, 700);
  EXPECT_TRUE(idle.screenLine.isEmpty());
  EXPECT_FALSE(idle.fileLine);
  EXPECT_FALSE(idle.beginLogFile);
  EXPECT_FALSE(idle.scrollToEnd);
  EXPECT_FALSE(idle.retrySoon);
  EXPECT_TRUE(idle.traceMessage.isEmpty());

  const QStringList columns = Columns(Read(50, 1'060, 760).screenLine);
  EXPECT_EQ(columns[3], "60");
  EXPECT_EQ(columns[4], "1.0");
  EXPECT_EQ(columns[5], "3");
}

TEST_F(EvaluationTest, LevelUpsOfUpToThreeSpanTheMeasurement) {
  Read(50, 1'000, 100);
  const EvaluationStep step = Read(53, 500, 700);
  EXPECT_FALSE(step.beginLogFile);
  // 9,099,546 + 500 at level 53 against 6,851,591 + 1,000 at level 50.
  EXPECT_EQ(Columns(step.screenLine)[3], "2,247,455");
}

TEST_F(EvaluationTest, OtherLevelChangesBeginANewMeasurement) {
  for (std::int32_t next : {54, 49, 1}) {
    ReadingEvaluator fresh;
    fresh.Evaluate(50, 1'000, kOctober2, 100'000, false);
    const EvaluationStep step = fresh.Evaluate(next, 900, kOctober2, 700'000, false);
    EXPECT_TRUE(step.beginLogFile) << next;
    EXPECT_FALSE(step.fileLine) << next;
    EXPECT_EQ(step.traceMessage, " Fast ImageRecognition") << next;
    // The new reading is the base of the next gain.
    EXPECT_EQ(Columns(fresh.Evaluate(next, 1'000, kOctober2, 760'000, false).screenLine)[3], "100") << next;
  }
}

TEST_F(EvaluationTest, CsvFileLineHasNoGroupingWhileScreenKeepsIt) {
  Read(120, 1'000, 100, true);
  const EvaluationStep step = Read(120, 2'345'678, 160, true);
  EXPECT_EQ(Columns(step.screenLine)[2], "2,345,678");
  ASSERT_TRUE(step.fileLine);
  const QStringList fields = step.fileLine->split(u',');
  ASSERT_EQ(fields.size(), 6);
  EXPECT_EQ(fields[2].trimmed(), "2345678");
  EXPECT_EQ(fields[3].trimmed(), "2344678");
  EXPECT_EQ(fields[5].trimmed(), "140680");
}

TEST_F(EvaluationTest, GainWithinOneSecondHasNoRate) {
  evaluator.Evaluate(50, 1'000, kOctober2, 100'000, false);
  const EvaluationStep step = evaluator.Evaluate(50, 1'500, kOctober2, 100'900, false);
  const QStringList columns = Columns(step.screenLine);
  EXPECT_EQ(columns[3], "500");
  EXPECT_EQ(columns[4], "0.0");
  EXPECT_EQ(columns[5], "-");
  EXPECT_EQ(step.screenLine.size(), 68);
  ASSERT_TRUE(step.fileLine);
  EXPECT_FALSE(step.fileLine->contains("inf"));
  EXPECT_FALSE(step.fileLine->contains("nan"));
  // The next gain is measured from this one.
  EXPECT_EQ(Columns(evaluator.Evaluate(50, 1'600, kOctober2, 160'000, false).screenLine)[4], "1.0");
}

TEST_F(EvaluationTest, LevelsPastTheTableCannotBeMeasured) {
  Read(199, 1'000, 100);
  const EvaluationStep step = Read(200, 5, 700);
  EXPECT_EQ(step.screenLine, "10/02 18:04  測定不可  Lv200以上");
  EXPECT_FALSE(step.fileLine);
  EXPECT_FALSE(step.beginLogFile);
  EXPECT_FALSE(step.retrySoon);
  EXPECT_TRUE(evaluator.HasPreviousReading());
  EXPECT_EQ(Read(200, 6, 760).screenLine, "10/02 18:04  測定不可  Lv200以上");

  // A misread 200 does not break a measurement: the next 199 goes on from before it.
  const EvaluationStep back = Read(199, 1'100, 1'300);
  EXPECT_FALSE(back.beginLogFile);
  EXPECT_EQ(Columns(back.screenLine)[3], "100");
  EXPECT_EQ(Columns(back.screenLine)[4], "20.0");

  ReadingEvaluator fresh;
  const EvaluationStep first = fresh.Evaluate(250, 5, kOctober2, 0, false);
  EXPECT_FALSE(first.beginLogFile);
  EXPECT_FALSE(fresh.HasPreviousReading());
}

TEST_F(EvaluationTest, NewMeasurementForgetsThePreviousReading) {
  Read(50, 1'000, 100);
  evaluator.StartNewMeasurement();
  EXPECT_FALSE(evaluator.HasPreviousReading());
  const EvaluationStep step = Read(50, 2'000, 5'000);
  EXPECT_TRUE(step.beginLogFile);
  EXPECT_FALSE(step.fileLine);
}

TEST_F(EvaluationTest, ReadingAtTickZeroIsAPreviousReadingToo) {
  evaluator.Evaluate(50, 1'000, kOctober2, 0, false);
  const EvaluationStep step = evaluator.Evaluate(50, 1'600, kOctober2, 600'000, false);
  EXPECT_FALSE(step.beginLogFile);
  EXPECT_EQ(Columns(step.screenLine)[4], "10.0");
}

}  // namespace
