// Where our windows go: off the game's capture areas and buttons, on a
// screen, and the main window where it was left or beside the game.
#include <gtest/gtest.h>

#include "main_window/window_placement.h"
#include "support/qstring_printer.h"

namespace {

// A 1024 x 768 game at (100, 50) with the classic areas near its bottom.
const QRect kGame(100, 50, 1024, 768);
const std::array<CaptureRegion, 2> kRegions{CaptureRegion{40, 740, 60, 14}, CaptureRegion{560, 740, 150, 14}};
const QList<QRect> kOneScreen{QRect(0, 0, 1920, 1040)};
const QList<QRect> kTwoScreens{QRect(0, 0, 1920, 1040), QRect(1920, 200, 1280, 984)};

bool Clear(const QRect& r, const std::vector<QRect>& avoid) {
  return std::none_of(avoid.begin(), avoid.end(), [&](const QRect& a) { return a.intersects(r); });
}

bool OnAScreen(const QRect& r, const QList<QRect>& screens) {
  return std::any_of(screens.begin(), screens.end(), [&](const QRect& s) { return s.contains(r); });
}

TEST(WindowPlacement, AWindowMovesOffTheAreasAndButtonsToTheNearestPlaceOnAScreen) {
  const std::vector<QRect> spots = GameSpotsToKeepClear(kGame, kRegions);
  ASSERT_EQ(spots.size(), 3u);
  EXPECT_TRUE(spots[1].contains(QRect(kGame.topLeft() + QPoint(560, 740), QSize(150, 14)))) << "the experience area";
  EXPECT_TRUE(spots[2].contains(QPoint(kGame.right() - 20, kGame.top() + 10))) << "the close button";
  const QSize compact(200, 100);
  struct Case {
    const char* what;
    QPoint wanted;
    QList<QRect> screens;
    std::optional<QPoint> exactly;  // when the place is certain
  };
  const Case cases[] = {
      {"already clear stays", {400, 300}, kOneScreen, QPoint(400, 300)},
      {"over the experience area", {700, 760}, kOneScreen, {}},
      {"over the level area at the screen's bottom edge", {120, 760}, kOneScreen, {}},
      {"over the close button", {1000, 40}, kOneScreen, {}},
      {"touching the area's margin", {660, 701}, kOneScreen, {}},
      {"off every screen", {5000, 5000}, kTwoScreens, {}},
      {"in the gap beside the shorter screen", {2000, 50}, kTwoScreens, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QPoint at = PlaceAvoiding(QRect(c.wanted, compact), spots, c.screens);
    const QRect placed(at, compact);
    EXPECT_TRUE(Clear(placed, spots)) << placed.x() << "," << placed.y();
    EXPECT_TRUE(OnAScreen(placed, c.screens)) << placed.x() << "," << placed.y();
    if (c.exactly) {
      EXPECT_EQ(at, *c.exactly);
    }
    // Never farther than the nearest clear spot along one axis alone.
    const int moved = std::abs(at.x() - c.wanted.x()) + std::abs(at.y() - c.wanted.y());
    if (OnAScreen(QRect(c.wanted, compact), c.screens)) {
      EXPECT_LE(moved, 400);
    }
  }
  // Nowhere clear (a screen no larger than an area): on the screen at least.
  const QRect tiny(0, 0, 300, 120);
  EXPECT_TRUE(tiny.contains(QRect(PlaceAvoiding(QRect(250, 100, 200, 100), {tiny}, {tiny}), compact)));
}

TEST(WindowPlacement, TheMainWindowComesBackWhereItWasLeftOnAScreenOrBesideTheGame) {
  const QSize first(540, 520);
  struct Case {
    const char* what;
    QRect remembered;
    std::optional<QRect> game;
    QList<QRect> screens;
    QRect expected;  // empty: only the rules below
  };
  const Case cases[] = {
      {"where it was left", {300, 200, 600, 500}, kGame, kOneScreen, {300, 200, 600, 500}},
      {"half off the right edge", {1700, 100, 600, 500}, {}, kOneScreen, {1320, 100, 600, 500}},
      {"larger than the screen", {-50, -50, 4000, 3000}, {}, kOneScreen, {0, 0, 1920, 1040}},
      {"on a second screen that has gone", {2200, 300, 600, 500}, {}, kOneScreen, {1320, 300, 600, 500}},
      {"on the second screen", {2200, 300, 600, 500}, {}, kTwoScreens, {2200, 300, 600, 500}},
      {"first start, no game", {}, {}, kOneScreen, {690, 260, 540, 520}},
      {"first start, beside the game", {}, kGame, kOneScreen, {1132, 50, 540, 520}},
      {"first start, a game as wide as the screen", {}, QRect(0, 0, 1920, 1040), kOneScreen, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QRect placed = MainWindowPlace(c.remembered, first, c.game, kRegions, c.screens);
    EXPECT_TRUE(OnAScreen(placed, c.screens));
    if (!c.expected.isEmpty()) {
      EXPECT_EQ(placed, c.expected);
    }
    if (c.game && c.remembered.isEmpty()) {
      EXPECT_TRUE(Clear(placed, GameSpotsToKeepClear(*c.game, kRegions)));
    }
  }
}

}  // namespace
