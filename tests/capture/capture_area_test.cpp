// Capturing regions of windows: where the region lies on screen, what reads
// black, and what yields no picture at all.
#include <QColor>
#include <gtest/gtest.h>

#include "capture/capture_area.h"
#include "support/fakes.h"

namespace {

const QSize kScreen(1280, 1024);

TEST(PlanCapture, ARegionInsideTheScreenIsTakenFromTheOuterCorner) {
  const CapturePlan plan = PlanCapture(QRect(100, 50, 808, 629), 35, 576, 44, 13, kScreen);
  EXPECT_EQ(plan.pictureSize, QSize(44, 13));
  EXPECT_EQ(plan.source, QRect(135, 626, 44, 13));
  EXPECT_EQ(plan.target, QPoint(0, 0));
}

TEST(PlanCapture, PartsOffTheScreenAreLeftOutOfTheSource) {
  // Window hanging over the top-left corner.
  CapturePlan plan = PlanCapture(QRect(-30, -10, 800, 600), 10, 0, 40, 20, kScreen);
  EXPECT_EQ(plan.pictureSize, QSize(40, 20));
  EXPECT_EQ(plan.source, QRect(0, 0, 20, 10));
  EXPECT_EQ(plan.target, QPoint(20, 10));
  // And over the bottom-right corner.
  plan = PlanCapture(QRect(1200, 1000, 800, 600), 70, 20, 40, 20, kScreen);
  EXPECT_EQ(plan.pictureSize, QSize(40, 20));
  EXPECT_EQ(plan.source, QRect(1270, 1020, 10, 4));
  EXPECT_EQ(plan.target, QPoint(0, 0));
}

TEST(PlanCapture, ARegionWhollyOffTheScreenHasAPictureButNoSource) {
  const CapturePlan plan = PlanCapture(QRect(0, 0, 800, 600), 2000, 5, 10, 10, kScreen);
  EXPECT_EQ(plan.pictureSize, QSize(10, 10));
  EXPECT_TRUE(plan.source.isEmpty());
}

TEST(PlanCapture, ARegionOfNoSizeHasNoPicture) {
  for (const QSize size : {QSize(0, 10), QSize(10, 0), QSize(-5, 10), QSize(10, -1), QSize(-3, -3)}) {
    const CapturePlan plan = PlanCapture(QRect(0, 0, 800, 600), 5, 5, size.width(), size.height(), kScreen);
    EXPECT_TRUE(plan.pictureSize.isEmpty()) << size.width() << "x" << size.height();
    EXPECT_TRUE(plan.source.isEmpty());
  }
}

TEST(PlanCapture, AHugeRegionIsCutToTheLargestSide) {
  const CapturePlan plan = PlanCapture(QRect(0, 0, 800, 600), 0, 0, 500000, 500000, kScreen);
  EXPECT_EQ(plan.pictureSize, QSize(kMaxCaptureSide, kMaxCaptureSide));
  EXPECT_EQ(plan.source, QRect(QPoint(0, 0), kScreen));
}

TEST(PlanCapture, ExtremeOffsetsDoNotWrapAroundOntoTheScreen) {
  const int big = std::numeric_limits<std::int32_t>::max();
  EXPECT_TRUE(PlanCapture(QRect(100, 100, 800, 600), big, big, 50, 50, kScreen).source.isEmpty());
  const int small = std::numeric_limits<std::int32_t>::min();
  EXPECT_TRUE(PlanCapture(QRect(-100, -100, 800, 600), small, small, 50, 50, kScreen).source.isEmpty());
}

class CaptureAreaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every screen pixel encodes its own coordinates.
    for (int y = 0; y < ws.screen.height(); ++y) {
      for (int x = 0; x < ws.screen.width(); ++x) ws.screen.setPixel(x, y, Encode(x, y));
    }
  }
  static QRgb Encode(int x, int y) { return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8)); }

  FakeWindowSystem ws;
};

TEST_F(CaptureAreaTest, TheGameRegionIsReadRelativeToTheOuterRectangle) {
  const WindowId game = ws.Add("MapleStory", QRect(200, 100, 808, 629));
  const QImage picture = CaptureGameArea(ws, game, CaptureRegion{463, 570, 90, 9});
  ASSERT_EQ(picture.size(), QSize(90, 9));
  EXPECT_EQ(picture.format(), QImage::Format_RGB32);
  EXPECT_EQ(picture.pixel(0, 0), Encode(663, 670));
  EXPECT_EQ(picture.pixel(89, 8), Encode(752, 678));
  ASSERT_EQ(ws.grabs.size(), 1u);
  EXPECT_EQ(ws.grabs[0], QRect(663, 670, 90, 9));
}

TEST_F(CaptureAreaTest, WhatLiesOffTheScreenReadsBlack) {
  const WindowId game = ws.Add("MapleStory", QRect(1250, -5, 808, 629));
  const QImage picture = CaptureWindowArea(ws, game, 0, 0, 50, 20);
  ASSERT_EQ(picture.size(), QSize(50, 20));
  EXPECT_EQ(picture.pixel(0, 5), Encode(1250, 0));
  EXPECT_EQ(picture.pixel(29, 19), Encode(1279, 14));
  EXPECT_EQ(picture.pixel(30, 5), qRgb(0, 0, 0));   // right of the screen
  EXPECT_EQ(picture.pixel(10, 4), qRgb(0, 0, 0));   // above the screen
  EXPECT_EQ(ws.grabs.at(0), QRect(1250, 0, 30, 15));
}

TEST_F(CaptureAreaTest, ARegionWhollyOffTheScreenIsBlackWithoutGrabbing) {
  const WindowId game = ws.Add("MapleStory", QRect(0, 0, 800, 600));
  const QImage picture = CaptureWindowArea(ws, game, -100, -100, 20, 20);
  ASSERT_EQ(picture.size(), QSize(20, 20));
  EXPECT_EQ(picture.pixel(19, 19), qRgb(0, 0, 0));
  EXPECT_TRUE(ws.grabs.empty());
}

TEST_F(CaptureAreaTest, NoPictureForARegionOfNoSize) {
  const WindowId game = ws.Add("MapleStory", QRect(0, 0, 800, 600));
  EXPECT_TRUE(CaptureWindowArea(ws, game, 10, 10, 0, 5).isNull());
  EXPECT_TRUE(CaptureGameArea(ws, game, CaptureRegion{10, 10, -44, -13}).isNull());
  EXPECT_TRUE(ws.grabs.empty());
}

TEST_F(CaptureAreaTest, AHugeRegionDoesNotAllocateBeyondTheLargestSide) {
  const WindowId game = ws.Add("MapleStory", QRect(0, 0, 800, 600));
  const QImage picture = CaptureGameArea(ws, game, CaptureRegion{0, 0, 500000, 500000});
  EXPECT_EQ(picture.size(), QSize(kMaxCaptureSide, kMaxCaptureSide));
  EXPECT_EQ(picture.pixel(1279, 1023), Encode(1279, 1023));
  EXPECT_EQ(picture.pixel(1280, 0), qRgb(0, 0, 0));
}

TEST_F(CaptureAreaTest, NoPictureFromAVanishedWindow) {
  const WindowId game = ws.Add("MapleStory", QRect(0, 0, 800, 600));
  ws.Remove(game);
  EXPECT_TRUE(CaptureGameArea(ws, game, CaptureRegion{35, 576, 44, 13}).isNull());
  EXPECT_TRUE(CaptureGameArea(ws, 0, CaptureRegion{35, 576, 44, 13}).isNull());
  EXPECT_TRUE(ws.grabs.empty());
}

// A window system whose window closes while its pixels are being read.
class ClosingWindowSystem : public FakeWindowSystem {
 public:
  QImage GrabScreen(const QRect& rect) override {
    windows.clear();
    return FakeWindowSystem::GrabScreen(rect);
  }
};

TEST(CaptureArea, NoPictureWhenTheWindowClosesDuringTheGrab) {
  ClosingWindowSystem ws;
  const WindowId game = ws.Add("MapleStory", QRect(0, 0, 800, 600));
  EXPECT_TRUE(CaptureGameArea(ws, game, CaptureRegion{35, 576, 44, 13}).isNull());
}

class FailingGrab : public FakeWindowSystem {
 public:
  QImage GrabScreen(const QRect&) override { return {}; }
};

TEST(CaptureArea, AFailedGrabIsNoPictureRatherThanABlackOne) {
  FailingGrab ws;
  const WindowId game = ws.Add("MapleStory", QRect(0, 0, 800, 600));
  EXPECT_TRUE(CaptureGameArea(ws, game, CaptureRegion{35, 576, 44, 13}).isNull());
}

TEST_F(CaptureAreaTest, TheForegroundCaptureWaitsThenTakesTheWindowInFrontAtThatMoment) {
  FakeClock clock;
  const WindowId first = ws.Add("Notepad", QRect(0, 0, 400, 300));
  const WindowId second = ws.Add("MapleStory", QRect(500, 400, 400, 300));
  ws.foreground = first;
  clock.onWait = [&] { ws.foreground = second; };  // the user switches during the wait
  const QImage picture = CaptureForegroundArea(ws, clock, CaptureRegion{10, 20, 30, 40}, 5000);
  ASSERT_EQ(clock.waits, std::vector<double>{5000});
  ASSERT_EQ(picture.size(), QSize(30, 40));
  EXPECT_EQ(picture.pixel(0, 0), Encode(510, 420));
}

TEST_F(CaptureAreaTest, TheForegroundCaptureWithNothingInFrontIsNoPicture) {
  FakeClock clock;
  ws.foreground = 0;
  EXPECT_TRUE(CaptureForegroundArea(ws, clock, CaptureRegion{0, 0, 10, 10}, 0).isNull());
  EXPECT_EQ(clock.waits, std::vector<double>{0});
}

}  // namespace
