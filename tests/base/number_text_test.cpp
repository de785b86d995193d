#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <tuple>
#include <utility>

#include "base/number_text.h"

namespace {

constexpr double kHuge = std::numeric_limits<double>::max();

TEST(NumberText, ParsesTypedAndStoredNumbersAndWritesTheShortestForm) {
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
  // A stored file's field is the number and nothing else; the text log's
  // numbers carry grouping commas. Out of range either way is nothing.
  const NumberSyntax field{.wholeText = true};
  const NumberSyntax grouped{.wholeText = true, .groupingCommas = true};
  const std::tuple<QString, NumberSyntax, std::optional<double>> stored[] = {
      {" -2.5e1 ", field, -25}, {"1 0", field, std::nullopt}, {"12-3", field, std::nullopt}, {"", field, std::nullopt},
      {"1,234", field, std::nullopt}, {"1,234,567", grouped, 1'234'567}, {", 5", grouped, 5},
      {"1e999", field, std::nullopt}, {"1e-999", field, std::nullopt}, {"inf", field, std::nullopt}};
  for (const auto& [text, syntax, expected] : stored) {
    EXPECT_EQ(ReadNumber(text, syntax), expected) << text.toStdString();
  }
  const std::pair<double, QString> written[] = {
      {599, "599"}, {5.5, "5.5"}, {-0.0, "0"}, {0.1 + 0.2, "0.3"}, {1e15, "1e+15"}};
  for (const auto& [value, expected] : written) EXPECT_EQ(NumberText(value), expected);
}

}  // namespace
