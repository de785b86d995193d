#include <gtest/gtest.h>

#include <limits>

#include "dialogs/number_text.h"

TEST(ParseNumber, ReadsWhatANumberIsTypedWith) {
  EXPECT_DOUBLE_EQ(ParseNumber("4.5"), 4.5);
  EXPECT_DOUBLE_EQ(ParseNumber("1e2"), 100);
  EXPECT_DOUBLE_EQ(ParseNumber("1E-2"), 0.01);
  EXPECT_DOUBLE_EQ(ParseNumber("-.5e1"), -5);
  EXPECT_DOUBLE_EQ(ParseNumber("+7"), 7);
  EXPECT_DOUBLE_EQ(ParseNumber("599"), 599);
}

TEST(ParseNumber, SkipsBlanksWhereverTheyStand) {
  EXPECT_DOUBLE_EQ(ParseNumber(" 1 0 "), 10);
  EXPECT_DOUBLE_EQ(ParseNumber("\t1\n2"), 12);
  EXPECT_DOUBLE_EQ(ParseNumber("- 3 . 5"), -3.5);
}

TEST(ParseNumber, StopsAtTheFirstCharacterThatDoesNotFit) {
  EXPECT_DOUBLE_EQ(ParseNumber("12-3"), 12);
  EXPECT_DOUBLE_EQ(ParseNumber("1.2.3"), 1.2);
  EXPECT_DOUBLE_EQ(ParseNumber("1e"), 1);    // an exponent without digits is no exponent
  EXPECT_DOUBLE_EQ(ParseNumber("1e+"), 1);
  EXPECT_DOUBLE_EQ(ParseNumber("12a"), 12);
  EXPECT_DOUBLE_EQ(ParseNumber("3\r4"), 3);  // only blanks, tabs and line feeds are skipped
}

TEST(ParseNumber, NoDigitGivesZero) {
  EXPECT_EQ(ParseNumber(""), 0);
  EXPECT_EQ(ParseNumber("-"), 0);
  EXPECT_EQ(ParseNumber("."), 0);
  EXPECT_EQ(ParseNumber("e5"), 0);
  EXPECT_EQ(ParseNumber("abc"), 0);
  // Full-width digits are not digits of a number.
  EXPECT_EQ(ParseNumber(QStringLiteral("１２")), 0);
}

TEST(ParseNumber, HugeExponentsStayFinite) {
  EXPECT_EQ(ParseNumber("1e999"), std::numeric_limits<double>::max());
  EXPECT_EQ(ParseNumber("-1e999"), -std::numeric_limits<double>::max());
  EXPECT_EQ(ParseNumber("1e-999"), 0);
}

TEST(NumberText, ShortestFormWithoutTrailingZeros) {
  EXPECT_EQ(NumberText(599), "599");
  EXPECT_EQ(NumberText(5.5), "5.5");
  EXPECT_EQ(NumberText(-40), "-40");
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");  // 15 significant digits hide the binary tail
  EXPECT_EQ(NumberText(1200), "1200");      // no digit grouping
}

TEST(NumberText, FifteenDigitsArePlainAndMoreTakeAnExponentThatReadsBack) {
  EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
  EXPECT_EQ(NumberText(1e14), "100000000000000");
  const QString big = NumberText(1e15);
  const QString bigger = NumberText(1e16);
  EXPECT_EQ(big, "1e+15");
  EXPECT_EQ(bigger, "1e+16");
  EXPECT_EQ(ParseNumber(big), 1e15);
  EXPECT_EQ(ParseNumber(bigger), 1e16);
}

TEST(RoundToInt32, HalvesGoToEven) {
  EXPECT_EQ(RoundToInt32(4.5), 4);
  EXPECT_EQ(RoundToInt32(5.5), 6);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(4.6), 5);
}

TEST(RoundToInt32, SaturatesOutsideThe32BitRange) {
  EXPECT_EQ(RoundToInt32(1e15), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundToInt32(-1e15), std::numeric_limits<int>::min());
  EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
}
