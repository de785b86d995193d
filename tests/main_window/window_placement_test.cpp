// Where our windows go: off the game's capture areas and buttons, on a
// screen, and the main window where it was left or beside the game.
#include <gtest/gtest.h>

#include "main_window/window_placement.h"

namespace {

// A 1024 x 768 game at (100, 50), its areas near its bottom.
const QRect kGame(100, 50, 1024, 768);
const std::array<CaptureRegion, 2> kRegions{CaptureRegion{40, 740, 60, 14}, CaptureRegion{560, 740, 150, 14}};
const QList<QRect> kOne{QRect(0, 0, 1920, 1040)};
const QList<QRect> kTwo{QRect(0, 0, 1920, 1040), QRect(1920, 200, 1280, 984)};

bool Clear(const QRect& r, const std::vector<QRect>& avoid) {
  return std::none_of(avoid.begin(), avoid.end(), [&](const QRect& a) { return a.intersects(r); });
}
bool OnAScreen(const QRect& r, const QList<QRect>& screens) {
  return std::any_of(screens.begin(), screens.end(), [&](const QRect& s) { return s.contains(r); });
}

TEST(WindowPlacement, AWindowMovesOffTheAreasAndButtonsOntoAScreen) {
  const std::vector<QRect> spots = GameSpotsToKeepClear(kGame, kRegions);
  const QSize size(200, 100);
  const struct {
    const char* what;
    QPoint wanted;
    QList<QRect> screens;
  } cases[] = {
      {"already clear", {400, 300}, kOne},
      {"over the experience area", {700, 760}, kOne},
      {"over the level area at the screen's bottom", {120, 760}, kOne},
      {"over the close button", {1000, 40}, kOne},
      {"within the area's margin", {660, 701}, kOne},
      {"off every screen", {5000, 5000}, kTwo},
      {"in the gap beside the shorter screen", {2000, 50}, kTwo},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QRect placed(PlaceAvoiding(QRect(c.wanted, size), spots, c.screens), size);
    EXPECT_TRUE(Clear(placed, spots) && OnAScreen(placed, c.screens)) << placed.x() << "," << placed.y();
  }
  EXPECT_EQ(PlaceAvoiding(QRect({700, 760}, size), spots, kOne), QPoint(700, 824)) << "the nearest: just below";
  // Nowhere clear: on the screen at least.
  const QRect tiny(0, 0, 300, 120);
  EXPECT_TRUE(tiny.contains(QRect(PlaceAvoiding(QRect(250, 100, 200, 100), {tiny}, {tiny}), size)));
}

TEST(WindowPlacement, TheMainWindowComesBackWhereItWasLeftOnAScreenOrFirstBesideTheGame) {
  const struct {
    const char* what;
    QRect remembered;
    std::optional<QRect> game;
    QList<QRect> screens;
    QRect expected;  // empty: only off the areas
  } cases[] = {
      {"where it was left", {300, 200, 600, 500}, kGame, kOne, {300, 200, 600, 500}},
      {"half off the right edge", {1700, 100, 600, 500}, {}, kOne, {1320, 100, 600, 500}},
      {"larger than the screen", {-50, -50, 4000, 3000}, {}, kOne, {0, 0, 1920, 1040}},
      {"on a screen since unplugged", {2200, 300, 600, 500}, {}, kOne, {1320, 300, 600, 500}},
      {"on the second screen", {2200, 300, 600, 500}, {}, kTwo, {2200, 300, 600, 500}},
      {"first start, no game", {}, {}, kOne, {690, 260, 540, 520}},
      {"first start, beside the game", {}, kGame, kOne, {1132, 50, 540, 520}},
      {"first start, a game as large as the screen", {}, QRect(0, 0, 1920, 1040), kOne, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QRect placed = MainWindowPlace(c.remembered, {540, 520}, c.game, kRegions, c.screens);
    EXPECT_TRUE(OnAScreen(placed, c.screens));
    EXPECT_TRUE(c.expected.isEmpty() || placed == c.expected);
    EXPECT_TRUE(!c.game || !c.remembered.isEmpty() || Clear(placed, GameSpotsToKeepClear(*c.game, kRegions)));
  }
}

}  // namespace
