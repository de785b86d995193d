#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "base/number_text.h"

namespace {

constexpr double kHuge = std::numeric_limits<double>::max();

TEST(NumberText, ParsesLeadingNumberSkippingBlanksAndWritesTheShortestForm) {
  const std::pair<QString, double> parsed[] = {
      // Blanks, tabs and line feeds are skipped, a carriage return is not.
      {"4.5", 4.5}, {"1e2", 100}, {" 1 0 ", 10}, {"\t1\n2", 12}, {"-.5E1", -5}, {"3\r4", 3},
      // Reading stops at the first character that cannot continue the number;
      // no digit at all reads as 0, and full-width digits are no digits.
      {"12-3", 12}, {"1.2.3", 1.2}, {"1e", 1}, {"", 0}, {"-", 0}, {QStringLiteral("１２"), 0},
      // An overflowing exponent must not turn into inf, which no limit check catches.
      {"1e999", kHuge}, {"-1e999", -kHuge}};
  for (const auto& [text, expected] : parsed) {
    SCOPED_TRACE(text.toStdString());
    EXPECT_DOUBLE_EQ(ParseNumber(text), expected);
  }
  const std::pair<double, QString> written[] = {
      {599, "599"}, {5.5, "5.5"}, {-0.0, "0"}, {0.1 + 0.2, "0.3"}, {1e15, "1e+15"}};
  for (const auto& [value, expected] : written) EXPECT_EQ(NumberText(value), expected);
}

}  // namespace
