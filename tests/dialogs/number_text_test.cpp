#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include "dialogs/number_text.h"

TEST(ParseNumber, ReadsSignDigitsPointAndExponentSkippingBlanks) {
  EXPECT_DOUBLE_EQ(ParseNumber("4.5"), 4.5);
  EXPECT_DOUBLE_EQ(ParseNumber("1e2"), 100);
  EXPECT_DOUBLE_EQ(ParseNumber("-.5E1"), -5);
  EXPECT_DOUBLE_EQ(ParseNumber("+7"), 7);
  EXPECT_DOUBLE_EQ(ParseNumber(" 1 0 "), 10);
  EXPECT_DOUBLE_EQ(ParseNumber("\t1\n2"), 12);
}

TEST(ParseNumber, StopsAtTheFirstCharacterThatDoesNotFit) {
  EXPECT_DOUBLE_EQ(ParseNumber("12-3"), 12);
  EXPECT_DOUBLE_EQ(ParseNumber("1.2.3"), 1.2);
  EXPECT_DOUBLE_EQ(ParseNumber("1e"), 1);  // an exponent without digits is no exponent
  EXPECT_DOUBLE_EQ(ParseNumber("12a"), 12);
  EXPECT_DOUBLE_EQ(ParseNumber("3\r4"), 3);  // only blanks, tabs and line feeds are skipped
}

TEST(ParseNumber, NoDigitGivesZeroAndHugeExponentsStayFinite) {
  for (const char* text : {"", "-", ".", "e5", "abc"}) EXPECT_EQ(ParseNumber(text), 0) << text;
  EXPECT_EQ(ParseNumber(QStringLiteral("１２")), 0);  // full-width digits are no digits
  EXPECT_EQ(ParseNumber("1e999"), std::numeric_limits<double>::max());
  EXPECT_EQ(ParseNumber("-1e999"), -std::numeric_limits<double>::max());
}

TEST(NumberText, ShortestFormAndFifteenSignificantDigits) {
  EXPECT_EQ(NumberText(599), "599");
  EXPECT_EQ(NumberText(5.5), "5.5");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
  EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
  // Beyond fifteen digits an exponent is written, and it reads back.
  EXPECT_EQ(NumberText(1e15), "1e+15");
  EXPECT_EQ(ParseNumber(NumberText(1e16)), 1e16);
}

TEST(RoundToInt32, HalvesGoToEvenAndTheRangeSaturates) {
  EXPECT_EQ(RoundToInt32(4.5), 4);
  EXPECT_EQ(RoundToInt32(5.5), 6);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(1e15), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundToInt32(-1e15), std::numeric_limits<int>::min());
  EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(NumberText, ThePointIsAPointWhateverTheUsersLocale) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  const double parsed = ParseNumber("4.5");
  const QString written = NumberText(5.5);
  std::setlocale(LC_NUMERIC, before.c_str());
  EXPECT_EQ(parsed, 4.5);
  EXPECT_EQ(written, "5.5");
}
