#include <gtest/gtest.h>

#include "main_window/main_texts.h"

TEST(MainTexts, OnlyTheScreenshotNameCarriesTheYearAndHoursRunTo23) {
  const QDateTime when(QDate(2024, 1, 15), QTime(21, 45, 1));
  EXPECT_EQ(PatternCaptureFileName("/p", 1, when), QStringLiteral("/p/Pattern/Capture1_0115214501.bmp"));
  EXPECT_EQ(ScreenshotFileName("/p", when), QStringLiteral("/p/PrtScr_20240115214501.bmp"));
}

TEST(MainTexts, ElapsedTimeHasThreeDecimalsAndSurvivesTheTickWrap) {
  EXPECT_EQ(ElapsedText(0), QStringLiteral("0.000秒"));
  EXPECT_EQ(ElapsedText(12.5), QStringLiteral("12.500秒"));
  // Read across the wrap of the 32-bit count: 4294967290 → 5 is 11 ms.
  EXPECT_EQ(TickDifferenceMs(4294967290.0, 5), 11);
}
