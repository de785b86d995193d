#include "base/format_field.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/qstring_printer.h"

namespace {

TEST(FormatFieldTest, ValuesRightAlignedInTheirRoom) {
  // Value, width, margin, decimals, plain (no grouping); the field.
  const std::tuple<FieldValue, int, int, int, bool, QString> rows[] = {
      {6024300.0, 16, 1, 0, false, "      6,024,300 "},
      {6024300.0, 16, 1, 0, true, "        6024300 "},
      {0.0, 12, 1, 0, false, "          0 "},
      {-421500.0, 13, 1, 0, false, "    -421,500 "},
      // A fraction's whole-number form rounds halves away from zero, as the classic format.
      {2.5, 6, 1, 0, false, "    3 "},
      {1234.5, 10, 2, 1, false, " 1,234.5  "},
      {-1234.5, 12, 1, 1, true, "    -1234.5 "},
      {std::int64_t{3}, 8, 1, 2, false, "   3.00 "},
      {-0.125, 8, 1, 2, false, "  -0.13 "},
      {-0.04, 8, 1, 1, false, "    0.0 "},  // no "-0.0"
      {true, 8, 1, 0, true, "   True "},
      {false, 8, 1, 0, true, "  False "},
      // Japanese characters take two bytes, halfwidth katakana one.
      {QString("･･･"), 6, 1, 0, false, "  ･･･ "},
      // Too wide a value is never cut; its margin shrinks but keeps one blank.
      {std::int64_t{123456}, 6, 1, 0, true, " 123456 "},
      {std::int64_t{12345}, 8, 3, 0, true, " 12345  "},
      {QString("給与明細"), 8, 2, 0, false, " 給与明細 "},
  };
  for (const auto& [value, width, margin, decimals, plain, expected] : rows) {
    SCOPED_TRACE(expected.toStdString());
    EXPECT_EQ(FormatField(value, width, margin, decimals, plain), expected);
  }
}

}  // namespace
