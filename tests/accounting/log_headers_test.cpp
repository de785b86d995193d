#include "accounting/log_headers.h"

#include <gtest/gtest.h>

TEST(LogHeadersTest, TextsAndLengths) {
  EXPECT_EQ(ScreenHeader(), " 月日 時刻    Lv          Exp         獲得Exp  経過(分)   時給(k/h) ");
  EXPECT_EQ(ScreenHeader().size(), 57);
  EXPECT_EQ(FileHeader(false), "     月日 時刻     Lv          Exp         獲得Exp  経過(分)   時給(k/h) ");
  EXPECT_EQ(FileHeader(false).size(), 62);
  EXPECT_EQ(FileHeader(true), "     月日 時刻  ,   Lv ,         Exp    ,     獲得Exp , 経過(分) ,  時給(k/h) ");
  EXPECT_EQ(FileHeader(true).size(), 67);
}
