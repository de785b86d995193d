#include <gtest/gtest.h>

#include "main_window/layout_rule.h"

TEST(ResizeLayout, Outer600x500GivesTheLogItsMarginsWithAndWithoutPatternRows) {
  const MainLayout plain = ResizeLayout(600, 500, false);
  EXPECT_EQ(plain.h, 460);
  EXPECT_EQ(plain.w, 584);
  EXPECT_EQ(plain.logWidth, 576);
  EXPECT_EQ(plain.logHeight, 364);
  EXPECT_FALSE(plain.patternsVisible);
  EXPECT_FALSE(plain.snapOuterWidth);
  EXPECT_FALSE(plain.snapOuterHeight);

  const MainLayout debug = ResizeLayout(600, 500, true);
  EXPECT_EQ(debug.logWidth, 576);
  EXPECT_EQ(debug.logHeight, 284);
  EXPECT_TRUE(debug.patternsVisible);
  EXPECT_EQ(debug.patternRowTop[0], 380);
  EXPECT_EQ(debug.patternRowTop[1], 420);
}

TEST(ResizeLayout, BelowTheMinimumSnapsBackTo368x296) {
  const MainLayout small = ResizeLayout(200, 100, true);
  EXPECT_EQ(small.snapOuterWidth, 368);
  EXPECT_EQ(small.snapOuterHeight, 296);
  EXPECT_EQ(small.h, 256);
  EXPECT_EQ(small.w, 352);
  EXPECT_EQ(small.logWidth, 344);
  EXPECT_EQ(small.logHeight, 256 - 80 - 96);

  // Exactly the minimum stays; one pixel less in one direction snaps only that one.
  const MainLayout exact = ResizeLayout(368, 296, false);
  EXPECT_FALSE(exact.snapOuterWidth);
  EXPECT_FALSE(exact.snapOuterHeight);
  const MainLayout narrow = ResizeLayout(367, 500, false);
  EXPECT_EQ(narrow.snapOuterWidth, 368);
  EXPECT_FALSE(narrow.snapOuterHeight);
  EXPECT_EQ(narrow.h, 460);
}

TEST(ResizeLayout, FractionalPixelsRoundHalvesToEven) {
  // 296.5 − 40 = 256.5 → 256 (even), 297.5 − 40 = 257.5 → 258.
  EXPECT_EQ(ResizeLayout(600, 296.5, false).h, 256);
  EXPECT_EQ(ResizeLayout(600, 297.5, false).h, 258);
  EXPECT_EQ(ResizeLayout(368.5, 500, false).w, 352);
}

TEST(DebugSwitchLayout, Outer600HighPutsTheRowsAt480And520AndShortensTheLogBy80) {
  const MainLayout on = DebugSwitchLayout(600, 600, true);
  const MainLayout off = DebugSwitchLayout(600, 600, false);
  EXPECT_EQ(on.patternRowTop[0], 480);
  EXPECT_EQ(on.patternRowTop[1], 520);
  EXPECT_EQ(on.logHeight, 560 - 80 - 96);
  EXPECT_EQ(off.logHeight - on.logHeight, 80);
  EXPECT_EQ(on.logWidth, 600 - 24);
}

TEST(DebugSwitchLayout, HasNoMinimumButNeverANegativeSize) {
  const MainLayout tiny = DebugSwitchLayout(100, 150, true);
  EXPECT_FALSE(tiny.snapOuterWidth);
  EXPECT_FALSE(tiny.snapOuterHeight);
  EXPECT_EQ(tiny.patternRowTop[0], 30);
  EXPECT_EQ(tiny.logHeight, 0);
  EXPECT_EQ(tiny.logWidth, 76);
  EXPECT_EQ(DebugSwitchLayout(10, 150, false).logWidth, 0);
}
