#include <gtest/gtest.h>

#include "main_window/main_texts.h"

TEST(MainTexts, TitleAndMessagesAreTheProgramsOwn) {
  EXPECT_EQ(MainWindowTitle(), QStringLiteral("Tallymeter  For MapleStory"));
  EXPECT_EQ(GameMissingNotice().text, QStringLiteral("MapleStoryが起動していません"));
  EXPECT_EQ(GameMissingNotice().title, QStringLiteral("エラー"));
  EXPECT_EQ(AlreadyRunningNotice().text, QStringLiteral("既にプログラムは起動しています。"));
}

TEST(MainTexts, OnlyTheScreenshotNameCarriesTheYear) {
  const QDateTime when(QDate(2024, 1, 15), QTime(13, 45, 1));
  EXPECT_EQ(PatternCaptureFileName("/p", 1, when), QStringLiteral("/p/Pattern/Capture1_0115134501.bmp"));
  EXPECT_EQ(ScreenshotFileName("/p", when), QStringLiteral("/p/PrtScr_20240115134501.bmp"));
  // The hour is 00 to 23, never a 12-hour clock.
  const QDateTime morning(QDate(2024, 12, 5), QTime(9, 5, 7));
  const QDateTime evening(QDate(2024, 12, 5), QTime(21, 5, 7));
  EXPECT_EQ(PatternCaptureFileName("/p", 0, morning), QStringLiteral("/p/Pattern/Capture0_1205090507.bmp"));
  EXPECT_EQ(ScreenshotFileName("/p", evening), QStringLiteral("/p/PrtScr_20241205210507.bmp"));
}

TEST(MainTexts, ElapsedTimeHasThreeDecimalsAndSurvivesTheTickWrap) {
  EXPECT_EQ(ElapsedText(0), QStringLiteral("0.000秒"));
  EXPECT_EQ(ElapsedText(2.345), QStringLiteral("2.345秒"));
  EXPECT_EQ(ElapsedText(12.5), QStringLiteral("12.500秒"));
  EXPECT_EQ(TickDifferenceMs(1000, 3345), 2345);
  // Read across the wrap of the 32-bit count: 4294967290 → 5 is 11 ms.
  EXPECT_EQ(TickDifferenceMs(4294967290.0, 5), 11);
}
