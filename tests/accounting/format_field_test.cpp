#include "accounting/format_field.h"

#include <gtest/gtest.h>

#include "qstring_printer.h"

namespace {

QString Field(FieldValue value, int width, int margin, int decimals, bool plain = false) {
  return FormatField(value, width, margin, decimals, plain);
}

TEST(FormatFieldTest, NumbersRightAlignedGroupedUnlessPlain) {
  EXPECT_EQ(Field(std::int64_t{125}, 6, 1, 0), "  125 ");
  EXPECT_EQ(Field(6024300.0, 16, 1, 0), "      6,024,300 ");
  EXPECT_EQ(Field(6024300.0, 16, 1, 0, true), "        6024300 ");
  EXPECT_EQ(Field(36692302490.0, 16, 1, 0), " 36,692,302,490 ");
  EXPECT_EQ(Field(0.0, 12, 1, 0), "          0 ");
  EXPECT_EQ(Field(-421500.0, 13, 1, 0), "    -421,500 ");
  EXPECT_EQ(Field(std::int64_t{-123}, 6, 1, 0), " -123 ");
  // Whole-number form of a fraction: halves away from zero, as the classic format.
  EXPECT_EQ(Field(2.5, 6, 1, 0), "    3 ");
  EXPECT_EQ(Field(-2.5, 6, 1, 0), "   -3 ");
  EXPECT_EQ(Field(0.3, 6, 1, 0), "    0 ");
}

TEST(FormatFieldTest, DecimalsFixedPoint) {
  EXPECT_EQ(Field(10.0, 10, 2, 1), "    10.0  ");
  EXPECT_EQ(Field(0.0, 10, 2, 1), "     0.0  ");
  EXPECT_EQ(Field(1234.5, 10, 2, 1), " 1,234.5  ");
  EXPECT_EQ(Field(-1234.5, 12, 1, 1, true), "    -1234.5 ");
  EXPECT_EQ(Field(std::int64_t{3}, 8, 1, 2), "   3.00 ");
  EXPECT_EQ(Field(-0.125, 8, 1, 2), "  -0.13 ");
  EXPECT_EQ(Field(-0.04, 8, 1, 1), "    0.0 ");  // no "-0.0"
}

TEST(FormatFieldTest, BooleansAndTexts) {
  EXPECT_EQ(Field(true, 8, 1, 0, true), "   True ");
  EXPECT_EQ(Field(false, 8, 1, 0, true), "  False ");
  EXPECT_EQ(Field(QString("1,2"), 6, 1, 0), "  1,2 ");
  // Japanese characters take two bytes, halfwidth katakana one.
  EXPECT_EQ(Field(QString("給与"), 10, 1, 0), "     給与 ");
  EXPECT_EQ(Field(QString("･･･"), 6, 1, 0), "  ･･･ ");
}

TEST(FormatFieldTest, TooWideValueIsNeverCutAndKeepsOneBlank) {
  EXPECT_EQ(Field(std::int64_t{123456}, 6, 1, 0, true), " 123456 ");
  EXPECT_EQ(Field(std::int64_t{12345}, 8, 3, 0, true), " 12345  ");
  EXPECT_EQ(Field(QString("給与明細"), 8, 2, 0), " 給与明細 ");
}

}  // namespace
