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
  EXPECT_EQ(picture.pixel(0, 0), Encode(663, 670));
  EXPECT_EQ(picture.pixel(89, 8), Encode(752, 678));
  // Hanging over the top-right corner: only the part on screen is grabbed.
  const WindowId edge = ws.Add("MapleStory", QRect(1250, -5, 808, 629));
  picture = CaptureWindowArea(ws, edge, 0, 0, 50, 20);
  ASSERT_EQ(picture.size(), QSize(50, 20));
  EXPECT_EQ(picture.pixel(0, 5), Encode(1250, 0));
  EXPECT_EQ(picture.pixel(29, 19), Encode(1279, 14));
  EXPECT_EQ(picture.pixel(30, 5), black);  // right of the screen
  EXPECT_EQ(picture.pixel(10, 4), black);  // above the screen
  EXPECT_EQ(ws.grabs, (std::vector<QRect>{QRect(663, 670, 90, 9), QRect(1250, 0, 30, 15)}));
  // A huge region is cut to the largest side rather than allocated.
  picture =
      CaptureGameArea(ws, ws.Add("MapleStory", QRect(0, 0, 800, 600)), CaptureRegion{0, 0, 500000, 500000});
  EXPECT_EQ(picture.size(), QSize(kMaxCaptureSide, kMaxCaptureSide));
  EXPECT_EQ(picture.pixel(1279, 1023), Encode(1279, 1023));
  EXPECT_EQ(picture.pixel(1280, 0), black);
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
  ClosingWindowSystem closing;
  EXPECT_TRUE(
      CaptureGameArea(closing, closing.Add("MapleStory", {0, 0, 800, 600}), {35, 576, 44, 13}).isNull());
}

TEST_F(CaptureArea, BothAreasOfOneLookReadAsEachAloneAndNothingWhenTheWindowGoes) {
  const WindowId game = ws.Add("MapleStory", QRect(1200, 100, 808, 629));
  WindowLook look = ws.LookAt("MapleStory");
  EXPECT_TRUE(look.window == game && !look.inFront && !look.outer);
  ws.foreground = game;
  look = ws.LookAt("MapleStory");
  ASSERT_TRUE(look.inFront && look.outer);
  // Wholly on the screen, hanging over its right edge, of no size.
  for (const CaptureRegion& second : {CaptureRegion{60, 20, 90, 9}, CaptureRegion{0, 0, 0, 5}}) {
    const std::array<CaptureRegion, 2> regions{CaptureRegion{35, 576, 44, 13}, second};
    const std::array<QImage, 2> both = CaptureGameAreas(ws, look, regions);
    for (int a = 0; a < 2; ++a) {
      const CaptureRegion& r = regions[a];
      EXPECT_EQ(both[a], CaptureGameArea(ws, game, r)) << a << " " << r.ex;
    }
  }
  EXPECT_EQ(CaptureGameAreas(ws, look, {CaptureRegion{35, 576, 44, 13}, CaptureRegion{60, 20, 90, 9}})[1].pixel(89, 0),
            black);

  // A look that found no game in front grabs nothing.
  ws.grabs.clear();
  for (WindowLook seen : {WindowLook{}, WindowLook{game, false, look.outer, look.desktop, std::nullopt},
                          WindowLook{game, true, std::nullopt, look.desktop, std::nullopt}}) {
    const std::array<QImage, 2> none = CaptureGameAreas(ws, seen, {CaptureRegion{35, 576, 44, 13}, {0, 0, 9, 9}});
    EXPECT_TRUE(none[0].isNull() && none[1].isNull());
  }
  EXPECT_TRUE(ws.grabs.empty());
  ClosingWindowSystem closing;
  closing.foreground = closing.Add("MapleStory", {0, 0, 800, 600});
  const std::array<QImage, 2> gone =
      CaptureGameAreas(closing, closing.LookAt("MapleStory"), {CaptureRegion{35, 576, 44, 13}, {0, 0, 9, 9}});
  EXPECT_TRUE(gone[0].isNull() && gone[1].isNull());
}

}  // namespace
