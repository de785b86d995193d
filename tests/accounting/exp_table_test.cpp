#include "accounting/exp_table.h"

#include <gtest/gtest.h>

namespace {

TEST(ExpTableTest, SlotsZeroTo199FilledAndSlot200Empty) {
  const auto& table = BuildExpTable();
  for (int slot = 0; slot < 200; ++slot) EXPECT_TRUE(table[slot].has_value()) << slot;
  EXPECT_FALSE(table[200].has_value());
  EXPECT_EQ(table[0], 0);
  EXPECT_EQ(table[145], 2'164'800'674);
  EXPECT_EQ(table[199], 38'703'372'284);
}

TEST(ExpTableTest, EveryLevelNeedsMoreThanNothing) {
  const auto& table = BuildExpTable();
  for (int slot = 1; slot < 200; ++slot) EXPECT_GT(*table[slot], *table[slot - 1]) << slot;
  EXPECT_EQ(*table[1] - *table[0], 15);
  EXPECT_EQ(*table[2] - *table[1], 34);
  EXPECT_EQ(*table[3] - *table[2], 57);
  EXPECT_EQ(*table[4] - *table[3], 92);
}

// Sums over the published table: a mistyped or swapped value changes them.
TEST(ExpTableTest, ChecksumsMatchThePublishedTable) {
  const auto& table = BuildExpTable();
  std::int64_t sum = 0;
  std::int64_t weighted = 0;
  for (int slot = 0; slot < 200; ++slot) {
    sum += *table[slot];
    weighted += (slot + 1) * *table[slot];
  }
  EXPECT_EQ(sum, 743'986'601'344);
  EXPECT_EQ(weighted, 135'301'233'658'567);
}

TEST(ExpTableTest, TotalExpAddsTheLevelStart) {
  EXPECT_EQ(TotalExp(1, 0), 0.0);
  EXPECT_EQ(TotalExp(1, 14), 14.0);
  EXPECT_EQ(TotalExp(2, 0), 15.0);
  EXPECT_EQ(TotalExp(11, 100), 5'163.0);
  EXPECT_EQ(TotalExp(10, 1'700), 5'047.0);
  EXPECT_EQ(*TotalExp(11, 100) - *TotalExp(10, 1'700), 116.0);
  EXPECT_EQ(TotalExp(199, 0), 36'692'302'490.0);
  EXPECT_EQ(TotalExp(146, 1), 2'164'800'675.0);
}

TEST(ExpTableTest, LevelsOutsideOneTo199HaveNoTotal) {
  EXPECT_FALSE(TotalExp(0, 0).has_value());
  EXPECT_FALSE(TotalExp(0, 500).has_value());
  EXPECT_FALSE(TotalExp(-1, 5).has_value());
  EXPECT_FALSE(TotalExp(200, 0).has_value());
  EXPECT_FALSE(TotalExp(201, 10).has_value());
  EXPECT_FALSE(TotalExp(INT32_MIN, 1).has_value());
  EXPECT_FALSE(TotalExp(INT32_MAX, 1).has_value());
}

}  // namespace
