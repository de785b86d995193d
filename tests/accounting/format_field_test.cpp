#include "accounting/format_field.h"

#include <gtest/gtest.h>

#include "qstring_printer.h"

namespace {

QString Field(FieldValue value, int width, int margin, int decimals, bool plain = false) {
  return FormatField(value, width, margin, decimals, plain);
}

TEST(FormatFieldTest, WholeNumbersAreGroupedAndRightAligned) {
  EXPECT_EQ(Field(std::int64_t{125}, 6, 1, 0), "  125 ");
  EXPECT_EQ(Field(std::int64_t{6024300}, 16, 1, 0), "      6,024,300 ");
  EXPECT_EQ(Field(6024300.0, 16, 1, 0), "      6,024,300 ");
  EXPECT_EQ(Field(6024300.0, 16, 1, 0, true), "        6024300 ");
  EXPECT_EQ(Field(999.0, 8, 1, 0), "    999 ");
  EXPECT_EQ(Field(1000.0, 8, 1, 0), "  1,000 ");
  EXPECT_EQ(Field(36692302490.0, 16, 1, 0), " 36,692,302,490 ");
  EXPECT_EQ(Field(1e20, 30, 1, 0), "  100,000,000,000,000,000,000 ");
}

TEST(FormatFieldTest, ZeroIsShownAsZero) {
  EXPECT_EQ(Field(0.0, 12, 1, 0), "          0 ");
  EXPECT_EQ(Field(std::int64_t{0}, 12, 1, 0), "          0 ");
  EXPECT_EQ(Field(-0.0, 6, 1, 0), "    0 ");
}

TEST(FormatFieldTest, DecimalsAreFixedPoint) {
  EXPECT_EQ(Field(10.0, 10, 2, 1), "    10.0  ");
  EXPECT_EQ(Field(0.9, 10, 2, 1), "     0.9  ");
  EXPECT_EQ(Field(0.0, 10, 2, 1), "     0.0  ");
  EXPECT_EQ(Field(1234.5, 10, 2, 1), " 1,234.5  ");
  EXPECT_EQ(Field(1234.5, 10, 2, 1, true), "  1234.5  ");
  EXPECT_EQ(Field(std::int64_t{3}, 8, 1, 2), "   3.00 ");
  // 0.25 and 0.125 are exact ties: away from zero, as the classic format does.
  EXPECT_EQ(Field(0.25, 8, 1, 1), "    0.3 ");
  EXPECT_EQ(Field(-0.125, 8, 1, 2), "  -0.13 ");
  EXPECT_EQ(Field(0.15, 8, 1, 1), "    0.1 ");  // 0.15 is stored a little below 0.15
  EXPECT_EQ(Field(-0.04, 8, 1, 1), "    0.0 ");
}

TEST(FormatFieldTest, WholeFormOfFractionRoundsHalfAwayFromZero) {
  EXPECT_EQ(Field(2.5, 6, 1, 0), "    3 ");
  EXPECT_EQ(Field(-2.5, 6, 1, 0), "   -3 ");
  EXPECT_EQ(Field(2.4, 6, 1, 0), "    2 ");
  EXPECT_EQ(Field(0.3, 6, 1, 0), "    0 ");
}

TEST(FormatFieldTest, NegativesCarryMinus) {
  EXPECT_EQ(Field(-1.0, 12, 1, 0), "         -1 ");
  EXPECT_EQ(Field(-421500.0, 13, 1, 0), "    -421,500 ");
  EXPECT_EQ(Field(-421500.0, 13, 1, 0, true), "     -421500 ");
  EXPECT_EQ(Field(std::int64_t{-123}, 6, 1, 0), " -123 ");
  EXPECT_EQ(Field(-1234.5, 12, 1, 1), "   -1,234.5 ");
}

TEST(FormatFieldTest, BooleansByName) {
  EXPECT_EQ(Field(true, 8, 1, 0, true), "   True ");
  EXPECT_EQ(Field(false, 8, 1, 0, true), "  False ");
}

TEST(FormatFieldTest, TextUnchangedAndWideCharactersCountTwice) {
  EXPECT_EQ(Field(QString("abc"), 6, 1, 0), "  abc ");
  EXPECT_EQ(Field(QString("1,2"), 6, 1, 0, true), "  1,2 ");
  // 給与明細 takes 8 bytes: one blank and the text fill a room of 9.
  EXPECT_EQ(Field(QString("給与明細"), 10, 1, 0), " 給与明細 ");
  EXPECT_EQ(Field(QString("給与"), 10, 1, 0), "     給与 ");
  // Halfwidth katakana take one byte each.
  EXPECT_EQ(Field(QString("･･･"), 6, 1, 0), "  ･･･ ");
  EXPECT_EQ(Field(QString(), 4, 1, 0), "    ");
}

TEST(FormatFieldTest, WideValueIsNeverCutAndKeepsOneBlank) {
  EXPECT_EQ(Field(std::int64_t{123456}, 6, 1, 0, true), " 123456 ");
  // Two bytes too long for a margin of 3: one trailing blank left.
  EXPECT_EQ(Field(std::int64_t{123456}, 8, 3, 0, true), " 123456 ");
  // One byte too long: the margin of 3 shrinks to 2.
  EXPECT_EQ(Field(std::int64_t{12345}, 8, 3, 0, true), " 12345  ");
  EXPECT_EQ(Field(QString("給与明細"), 8, 2, 0), " 給与明細 ");
  EXPECT_EQ(Field(std::int64_t{5}, 1, 1, 0), " 5 ");
}

}  // namespace
