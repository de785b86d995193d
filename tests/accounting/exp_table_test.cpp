#include "accounting/exp_table.h"

#include <gtest/gtest.h>

namespace {

TEST(ExpTableTest, EverySlotAndTheLevelsItCovers) {
  const auto& table = BuildExpTable();
  std::int64_t sum = 0;
  std::int64_t weighted = 0;  // catches swapped slots too
  for (int slot = 0; slot < 200; ++slot) {
    sum += table[slot].value_or(0);
    weighted += (slot + 1) * table[slot].value_or(0);
  }
  EXPECT_EQ(sum, 743'986'601'344);
  EXPECT_EQ(weighted, 135'301'233'658'567);
  // Listed examples; level 199 needs more than 32 bits.
  EXPECT_EQ(TotalExp(10, 1'700), 5'047.0);
  EXPECT_EQ(TotalExp(199, 0), 36'692'302'490.0);
  EXPECT_FALSE(TotalExp(0, 500));
  EXPECT_FALSE(TotalExp(200, 0));
}

}  // namespace
