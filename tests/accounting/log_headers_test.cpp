#include "accounting/log_headers.h"

#include <gtest/gtest.h>

#include "qstring_printer.h"

namespace {

TEST(LogHeadersTest, TextsAndLengths) {
  EXPECT_EQ(ScreenHeader(), QString(" 月日 時刻    Lv          Exp         獲得Exp  経過(分)   時給(k/h) "));
  EXPECT_EQ(ScreenHeader().size(), 57);
  EXPECT_EQ(TxtFileHeader(), QString("     月日 時刻     Lv          Exp         獲得Exp  経過(分)   時給(k/h) "));
  EXPECT_EQ(TxtFileHeader().size(), 62);
  EXPECT_EQ(CsvFileHeader(),
            QString("     月日 時刻  ,   Lv ,         Exp    ,     獲得Exp , 経過(分) ,  時給(k/h) "));
  EXPECT_EQ(CsvFileHeader().size(), 67);
  EXPECT_EQ(FileHeader(true), CsvFileHeader());
  EXPECT_EQ(FileHeader(false), TxtFileHeader());
}

}  // namespace
