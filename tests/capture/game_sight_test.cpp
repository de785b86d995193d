// Whether a game behind another window can be read, how the areas follow a
// resized window, and when grabs show no game.
#include "capture/game_sight.h"

#include <gtest/gtest.h>

#include "capture/area_follow.h"
#include "capture/capture_area.h"
#include "capture/grab_check.h"
#include "support/fakes.h"

namespace {

const std::array<CaptureRegion, 2> kRegions{CaptureRegion{35, 576, 44, 13}, CaptureRegion{463, 570, 90, 9}};

TEST(SeeAreas, OnlyAWindowThatDrawsOverAnAreaOnAMonitorHidesIt) {
  const QRect outer(-900, 100, 808, 629);  // on a monitor left of the primary one
  const std::vector<QRect> monitors{QRect(-1280, 0, 1280, 1024), QRect(0, 0, 1920, 1080)};
  const QRect level(-865, 676, 44, 13), exp(-437, 670, 90, 9);
  struct Case {
    const char* name;
    WindowSight sight;
    AreasSeen seen;
  };
  // The game's sight with `above` over it.
  const auto under = [&outer](std::vector<OtherWindow> above) { return WindowSight{.outer = outer, .above = above}; };
  const Case cases[] = {
      {"nothing above", under({}), AreasSeen::Visible},
      {"beside the game", under({{QRect(-92, 100, 400, 600)}}), AreasSeen::Visible},
      {"over the game away from the areas", under({{QRect(-800, 150, 300, 300)}}), AreasSeen::Visible},
      {"one pixel over the level area", under({{QRect(-1000, 688, 136, 50)}}), AreasSeen::Covered},
      {"touching the experience area's right edge", under({{QRect(-347, 600, 100, 100)}}), AreasSeen::Visible},
      {"over an area but minimised", under({{exp, false, false}}), AreasSeen::Visible},
      {"a click-through overlay over the whole screen", under({{QRect(-1280, 0, 3200, 1080), true, true}}),
       AreasSeen::Visible},
      {"under an overlay, one window covering", under({{level, true, true}, {exp}}), AreasSeen::Covered},
      {"minimised, nothing above", {.outer = outer, .minimised = true, .above = {}}, AreasSeen::Minimised},
      {"another desktop", {.outer = outer, .otherDesktop = true, .above = {}}, AreasSeen::OtherDesktop},
      {"cloaked", {.outer = outer, .cloaked = true, .above = {}}, AreasSeen::Cloaked},
      // Wine lists no other program's window above the game: the one in front still covers.
      {"in front, over the experience area, listed nowhere", {.outer = outer, .above = {}, .foreground = {{exp}}},
       AreasSeen::Covered},
      {"in front, beside the areas", {.outer = outer, .above = {}, .foreground = {{QRect(-800, 150, 300, 300)}}},
       AreasSeen::Visible},
      {"in front but a click-through overlay", {.outer = outer, .above = {}, .foreground = {{level, true, true}}},
       AreasSeen::Visible},
  };
  for (const Case& c : cases) EXPECT_EQ(SeeAreas(c.sight, monitors, {level, exp}), c.seen) << c.name;
  // Between the monitors (the primary one is taller) or off them: not seen.
  EXPECT_EQ(SeeAreas(under({}), monitors, {QRect(-20, 1070, 40, 9), exp}), AreasSeen::OffScreen);
  EXPECT_EQ(SeeAreas(under({}), monitors, {QRect(-20, 1070, 40, 20), exp}), AreasSeen::OffScreen);
  EXPECT_EQ(SeeAreas(under({}), monitors, {QRect(-20, 1000, 40, 20), QRect()}), AreasSeen::Visible) << "straddling";
}

TEST(SeeAreas, TheFakeDesktopReadsAGameBehindOnlyWhileBothAreasAreInSight) {
  FakeWindowSystem ws;
  ws.screen = QImage(3200, 1080, QImage::Format_RGB32);
  ws.screen.fill(Qt::darkBlue);
  ws.screenOrigin = QPoint(-1280, 0);
  ws.monitors = {QRect(-1280, 0, 1280, 1024), QRect(0, 0, 1920, 1080)};
  const WindowId game = ws.Add(kGameTitle, QRect(-900, 100, 808, 629));
  const WindowId browser = ws.Add("Browser", QRect(0, 0, 1920, 1040));
  ws.foreground = browser;
  // Without its sight a game behind is not read, as it never was.
  EXPECT_TRUE(CaptureGameAreas(ws, ws.LookAt(kGameTitle), kRegions)[0].isNull());

  const std::array<QImage, 2> pictures = CaptureGameAreas(ws, ws.LookAtEvenBehind(kGameTitle), kRegions);
  EXPECT_EQ(std::tuple(pictures[0].size(), pictures[1].pixel(0, 0), ws.grabs.front()),
            std::tuple(QSize(44, 13), QColor(Qt::darkBlue).rgb(), QRect(-865, 676, 44, 13)));
  // The game in front reads as it always did, covered or not (a game
  // behind that is covered: the monitoring cycle's sight test).
  ws.Place(browser, QRect(-500, 600, 1000, 400));
  ws.foreground = game;
  EXPECT_FALSE(CaptureGameAreas(ws, ws.LookAtEvenBehind(kGameTitle), kRegions)[1].isNull());
  // Areas far beyond any screen, from a hand-edited file.
  ws.foreground = browser;
  EXPECT_EQ(SeeGameAreas(ws.LookAtEvenBehind(kGameTitle), {CaptureRegion{INT32_MAX, 0, 9, 9}, kRegions[1]}),
            AreasSeen::OffScreen);
}

TEST(FollowWindowSize, EachAreaKeepsItsDistanceFromTheEdgeItWasNearer) {
  const QSize picked(808, 629);
  struct Case {
    CaptureRegion region;
    QSize now;
    CaptureRegion followed;
  };
  const Case cases[] = {
      // The level at the bottom left: it keeps to the bottom.
      {{35, 576, 44, 13}, QSize(1032, 797), {35, 744, 44, 13}},
      // The experience right of the middle: it keeps to the right and the bottom.
      {{463, 570, 90, 9}, QSize(1032, 797), {687, 738, 90, 9}},
      {{463, 570, 90, 9}, QSize(640, 500), {295, 441, 90, 9}},
      // Nearer the top left: stays; a tie keeps to the top left as well.
      {{100, 40, 50, 10}, QSize(1032, 797), {100, 40, 50, 10}},
      {{379, 309, 50, 11}, QSize(1032, 797), {379, 309, 50, 11}},
      {{35, 576, 44, 13}, picked, {35, 576, 44, 13}},
      {{35, 576, 44, 13}, QSize(), {35, 576, 44, 13}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FollowWindowSize(c.region, picked, c.now), c.followed) << c.region.sx << " " << c.now.width();
  }
  EXPECT_EQ(FollowWindowSize(kRegions[0], QSize(), QSize(1032, 797)), kRegions[0]);
}

// Adopting a size, the move told once and the repick asked: the monitoring
// cycle's sight test, on this same follower.
TEST(AreaFollower, TheStoredAreasStayAsPickedAndAProgramStartedAtAnotherSizeMovesThem) {
  Settings settings = Settings::Defaults("/p");
  AreaFollower follower;
  follower.For(settings, QSize(808, 629));
  EXPECT_EQ(follower.For(settings, QSize(700, 500)).regions[0], (CaptureRegion{35, 447, 44, 13}));
  EXPECT_EQ(follower.AfterReading(false), AreaFollower::Outcome::NotReadable);
  EXPECT_EQ(AreasReferenceSize(settings), QSize(808, 629)) << "the stored areas stay as picked";
  // A program started with the game already at another size than the areas' one.
  AreaFollower fresh;
  EXPECT_EQ(fresh.For(settings, QSize(1032, 797)).regions[1], (CaptureRegion{687, 738, 90, 9}));
  EXPECT_EQ(fresh.AfterReading(true), AreaFollower::Outcome::Moved);
}

QImage Filled(QSize size, QColor colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

TEST(GrabWatch, OneColourOrTheSamePictureWhileTheCountersMoveIsToldAfterThreeInARow) {
  const QImage black = Filled(QSize(44, 13), Qt::black);
  const QImage blackExp = Filled(QSize(90, 9), Qt::black);
  QImage digits = Filled(QSize(90, 9), Qt::darkBlue);
  digits.setPixel(3, 4, qRgb(255, 255, 255));
  const QImage navy = Filled(QSize(44, 13), Qt::darkBlue);

  GrabWatch watch;
  for (int i = 1; i < GrabWatch::kInARow; ++i) EXPECT_EQ(watch.Feed({black, blackExp}, false).trouble, GrabTrouble::None);
  GrabWatch::Verdict verdict = watch.Feed({black, blackExp}, false);
  EXPECT_EQ(verdict.trouble, GrabTrouble::Uniform);
  EXPECT_TRUE(verdict.began);
  EXPECT_FALSE(watch.Feed({QImage(), QImage()}, false).began) << "a vanished window changes nothing";
  verdict = watch.Feed({black, blackExp}, false);
  EXPECT_TRUE(verdict.trouble == GrabTrouble::Uniform && !verdict.began) << "told once";
  // Two areas each in one colour, but not the same one: a bar with no digits yet.
  EXPECT_EQ(watch.Feed({navy, blackExp}, false).trouble, GrabTrouble::None);

  // The same picture: frozen only while the counters are known to move.
  for (int i = 0; i < 5; ++i) EXPECT_EQ(watch.Feed({navy, digits}, false).trouble, GrabTrouble::None);
  for (int i = 1; i < GrabWatch::kInARow; ++i) EXPECT_EQ(watch.Feed({navy, digits}, true).trouble, GrabTrouble::None);
  verdict = watch.Feed({navy, digits}, true);
  EXPECT_TRUE(verdict.trouble == GrabTrouble::Frozen && verdict.began);
  QImage moved = digits;
  moved.setPixel(4, 4, qRgb(255, 255, 255));
  EXPECT_EQ(watch.Feed({navy, moved}, true).trouble, GrabTrouble::None);
}

TEST(ChooseGrab, TheWindowsOwnContentsReplaceAnAllBlackScreenGrabOnlyWhenTheyShowSomething) {
  const QImage black = Filled(QSize(44, 13), Qt::black);
  const QImage game = Filled(QSize(44, 13), Qt::darkBlue);
  int asked = 0;
  const auto contents = [&](std::vector<QImage> images) {
    return [&asked, images] {
      ++asked;
      return images;
    };
  };
  EXPECT_EQ(ChooseGrab({game, QImage()}, contents({black, QImage()})).way, GrabWay::Screen);
  EXPECT_EQ(asked, 0) << "a screen grab that shows something is kept without asking";
  ChosenGrab chosen = ChooseGrab({black, QImage()}, contents({game, QImage()}));
  EXPECT_EQ(std::tuple(chosen.way, chosen.images[0]), std::tuple(GrabWay::WindowContents, game));
  // Black too, of another size, or none: the screen's picture stays.
  for (const std::vector<QImage>& own : {std::vector<QImage>{black, QImage()}, std::vector<QImage>{game.copy(0, 0, 9, 9), QImage()},
                                         std::vector<QImage>{}}) {
    chosen = ChooseGrab({black, QImage()}, contents(own));
    EXPECT_EQ(std::tuple(chosen.way, chosen.images[0]), std::tuple(GrabWay::Screen, black));
  }
  EXPECT_EQ(ChooseGrab({QImage(), QImage()}, contents({game, game})).way, GrabWay::Screen) << "nothing grabbed";
}

}  // namespace
