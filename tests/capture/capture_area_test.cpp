// Capturing regions of windows: where the region lies on screen, what reads
// black, and what yields no picture at all.
#include "capture/capture_area.h"

#include <gtest/gtest.h>

#include <QColor>

#include "support/fakes.h"

namespace {

// A window system whose window closes while its pixels are read.
class ClosingWindowSystem : public FakeWindowSystem {
 public:
  QImage GrabScreen(const QRect& rect) override {
    windows.clear();
    return FakeWindowSystem::GrabScreen(rect);
  }
};

class CaptureArea : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every screen pixel encodes its own coordinates.
    for (int i = 0; i < 1280 * 1024; ++i) ws.screen.setPixel(i % 1280, i / 1280, Encode(i % 1280, i / 1280));
  }
  static QRgb Encode(int x, int y) { return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8)); }

  FakeWindowSystem ws;
  const QRgb black = qRgb(0, 0, 0);
};

TEST_F(CaptureArea, ReadsRelativeToTheOuterRectangleAndOffScreenPartsReadBlack) {
  const WindowId game = ws.Add("MapleStory", QRect(200, 100, 808, 629));
  QImage picture = CaptureGameArea(ws, game, CaptureRegion{463, 570, 90, 9});
  ASSERT_EQ(picture.size(), QSize(90, 9));
  EXPECT_EQ(std::tuple(picture.pixel(0, 0), picture.pixel(89, 8)), std::tuple(Encode(663, 670), Encode(752, 678)));
  // Hanging over the top-right corner: only the part on screen is grabbed.
  const WindowId edge = ws.Add("MapleStory", QRect(1250, -5, 808, 629));
  picture = CaptureWindowArea(ws, edge, 0, 0, 50, 20);
  ASSERT_EQ(picture.size(), QSize(50, 20));
  EXPECT_EQ(std::tuple(picture.pixel(0, 5), picture.pixel(29, 19)), std::tuple(Encode(1250, 0), Encode(1279, 14)));
  // Right of the screen, above it.
  EXPECT_EQ(std::tuple(picture.pixel(30, 5), picture.pixel(10, 4)), std::tuple(black, black));
  EXPECT_EQ(ws.grabs, (std::vector<QRect>{QRect(663, 670, 90, 9), QRect(1250, 0, 30, 15)}));
  // A huge region is cut to the largest side rather than allocated.
  picture =
      CaptureGameArea(ws, ws.Add("MapleStory", QRect(0, 0, 800, 600)), CaptureRegion{0, 0, 500000, 500000});
  EXPECT_EQ(picture.size(), QSize(kMaxCaptureSide, kMaxCaptureSide));
  EXPECT_EQ(std::tuple(picture.pixel(1279, 1023), picture.pixel(1280, 0)), std::tuple(Encode(1279, 1023), black));
}

TEST_F(CaptureArea, NothingIsGrabbedWhollyOffTheScreenForNoSizeOrForAVanishedWindow) {
  // Extreme offsets must not wrap around onto the screen.
  for (const auto& [outer, at] : {std::pair{QRect(0, 0, 800, 600), QPoint(-100, -100)},
                                  std::pair{QRect(100, 100, 800, 600), QPoint(INT32_MAX, INT32_MAX)},
                                  std::pair{QRect(-100, -100, 800, 600), QPoint(INT32_MIN, INT32_MIN)}}) {
    SCOPED_TRACE(testing::Message() << at.x());
    const QImage picture = CaptureWindowArea(ws, ws.Add("MapleStory", outer), at.x(), at.y(), 20, 20);
    ASSERT_EQ(picture.size(), QSize(20, 20));
    EXPECT_EQ(picture.pixel(19, 19), black);
  }
  // No size, or a vanished window: no picture at all.
  const WindowId game = ws.Add("MapleStory", QRect(0, 0, 800, 600));
  for (const QSize size : {QSize(0, 5), QSize(10, 0), QSize(-44, -13), QSize(10, -1)}) {
    EXPECT_TRUE(CaptureWindowArea(ws, game, 10, 10, size.width(), size.height()).isNull()) << size.width();
  }
  ws.Remove(game);
  EXPECT_TRUE(CaptureGameArea(ws, game, CaptureRegion{35, 576, 44, 13}).isNull());
  EXPECT_TRUE(CaptureGameArea(ws, 0, CaptureRegion{35, 576, 44, 13}).isNull());
  EXPECT_TRUE(ws.grabs.empty());
}

TEST_F(CaptureArea, BothAreasOfOneLookReadAsEachAloneAndNothingWhenTheWindowGoes) {
  const WindowId game = ws.Add("MapleStory", QRect(1200, 100, 808, 629));
  const std::array<QImage, 2> nothing;
  // Not in front: a look that found no game grabs nothing.
  EXPECT_EQ(CaptureGameAreas(ws, ws.LookAt("MapleStory"), {CaptureRegion{35, 576, 44, 13}, {0, 0, 9, 9}}), nothing);
  ws.foreground = game;
  const WindowLook look = ws.LookAt("MapleStory");
  EXPECT_EQ(CaptureGameAreas(ws, {game, true, std::nullopt, look.desktop, std::nullopt}, {CaptureRegion{}, {0, 0, 9, 9}}),
            nothing);
  EXPECT_TRUE(ws.grabs.empty());
  // Wholly on the screen, hanging over its right edge (black there), of no size.
  for (const CaptureRegion& second : {CaptureRegion{60, 20, 90, 9}, CaptureRegion{0, 0, 0, 5}}) {
    const std::array<CaptureRegion, 2> regions{CaptureRegion{35, 576, 44, 13}, second};
    EXPECT_EQ(CaptureGameAreas(ws, look, regions),
              (std::array{CaptureGameArea(ws, game, regions[0]), CaptureGameArea(ws, game, regions[1])}));
  }
  EXPECT_EQ(CaptureGameAreas(ws, look, {CaptureRegion{35, 576, 44, 13}, CaptureRegion{60, 20, 90, 9}})[1].pixel(89, 0),
            black);
  // Both areas and one alone take the same way: a window that closes while read gives nothing.
  ClosingWindowSystem closing;
  closing.foreground = closing.Add("MapleStory", {0, 0, 800, 600});
  EXPECT_EQ(CaptureGameAreas(closing, closing.LookAt("MapleStory"), {CaptureRegion{35, 576, 44, 13}, {0, 0, 9, 9}}),
            nothing);
}

}  // namespace
