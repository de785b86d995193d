#include "accounting/exp_table.h"

#include <gtest/gtest.h>

namespace {

TEST(ExpTableTest, TableMatchesThePublishedValues) {
  const auto& table = BuildExpTable();
  EXPECT_FALSE(table[200].has_value());
  std::int64_t sum = 0;
  std::int64_t weighted = 0;  // catches swapped slots too
  for (int slot = 0; slot < 200; ++slot) {
    ASSERT_TRUE(table[slot].has_value()) << slot;
    if (slot > 0) {
      EXPECT_GT(*table[slot], *table[slot - 1]) << slot;
    }
    sum += *table[slot];
    weighted += (slot + 1) * *table[slot];
  }
  EXPECT_EQ(sum, 743'986'601'344);
  EXPECT_EQ(weighted, 135'301'233'658'567);
  EXPECT_EQ(table[145], 2'164'800'674);
}

TEST(ExpTableTest, TotalExpOnlyForLevels1To199) {
  EXPECT_EQ(TotalExp(1, 0), 0.0);
  EXPECT_EQ(TotalExp(1, 14), 14.0);
  EXPECT_EQ(TotalExp(2, 0), 15.0);
  EXPECT_EQ(TotalExp(10, 1'700), 5'047.0);
  EXPECT_EQ(TotalExp(11, 100), 5'163.0);
  EXPECT_EQ(TotalExp(199, 0), 36'692'302'490.0);
  EXPECT_FALSE(TotalExp(0, 500));
  EXPECT_FALSE(TotalExp(200, 0));
  EXPECT_FALSE(TotalExp(INT32_MIN, 1));
}

}  // namespace
