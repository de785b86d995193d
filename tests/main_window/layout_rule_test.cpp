#include <gtest/gtest.h>

#include "main_window/layout_rule.h"

TEST(ResizeLayout, Outer600x500GivesTheLogItsMarginsWithAndWithoutPatternRows) {
  const MainLayout plain = ResizeLayout(600, 500, false);
  EXPECT_EQ(plain.logWidth, 576);
  EXPECT_EQ(plain.logHeight, 364);
  EXPECT_FALSE(plain.patternsVisible);
  EXPECT_FALSE(plain.snapOuterWidth || plain.snapOuterHeight);

  const MainLayout debug = ResizeLayout(600, 500, true);
  EXPECT_EQ(debug.logHeight, 284);
  EXPECT_TRUE(debug.patternsVisible);
  EXPECT_EQ(debug.patternRowTop, (std::array<int, 2>{380, 420}));
}

TEST(ResizeLayout, BelowTheMinimumSnapsOnlyTheSideThatIsTooSmall) {
  const MainLayout small = ResizeLayout(200, 100, true);
  EXPECT_EQ(small.snapOuterWidth, 368);
  EXPECT_EQ(small.snapOuterHeight, 296);
  EXPECT_EQ(small.logWidth, 344);
  EXPECT_EQ(small.logHeight, 256 - 80 - 96);

  const MainLayout exact = ResizeLayout(368, 296, false);
  EXPECT_FALSE(exact.snapOuterWidth || exact.snapOuterHeight);
  const MainLayout narrow = ResizeLayout(367, 500, false);
  EXPECT_EQ(narrow.snapOuterWidth, 368);
  EXPECT_FALSE(narrow.snapOuterHeight);
  // Fractions of a pixel round halves to even: 296.5 − 40 → 256, 297.5 − 40 → 258.
  EXPECT_EQ(ResizeLayout(600, 296.5, false).h, 256);
  EXPECT_EQ(ResizeLayout(600, 297.5, false).h, 258);
}

TEST(DebugSwitchLayout, Outer600HighPutsTheRowsAt480And520AndShortensTheLogBy80) {
  const MainLayout on = DebugSwitchLayout(600, 600, true);
  EXPECT_EQ(on.patternRowTop, (std::array<int, 2>{480, 520}));
  EXPECT_EQ(on.logHeight, 560 - 80 - 96);
  EXPECT_EQ(DebugSwitchLayout(600, 600, false).logHeight - on.logHeight, 80);
  EXPECT_EQ(on.logWidth, 600 - 24);
}

TEST(DebugSwitchLayout, HasNoMinimumButNeverGivesANegativeSize) {
  const MainLayout tiny = DebugSwitchLayout(10, 150, true);
  EXPECT_FALSE(tiny.snapOuterWidth || tiny.snapOuterHeight);
  EXPECT_EQ(tiny.patternRowTop[0], 30);
  EXPECT_EQ(tiny.logHeight, 0);
  EXPECT_EQ(tiny.logWidth, 0);
}
