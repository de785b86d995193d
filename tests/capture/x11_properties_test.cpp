// Window titles and frame extents as clients and window managers store them.
#include <gtest/gtest.h>

#include "capture/x11/x11_properties.h"

namespace {

TEST(DecodeTitle, EachEncodingReadsItsOwnBytes) {
  EXPECT_EQ(DecodeTitle("MapleStory", TitleEncoding::Utf8), QString("MapleStory"));
  EXPECT_EQ(DecodeTitle("\xE3\x83\xA1\xE3\x82\xA4\xE3\x83\x97\xE3\x83\xAB", TitleEncoding::Utf8),
            QString::fromUtf8("メイプル"));
  EXPECT_EQ(DecodeTitle("Caf\xE9", TitleEncoding::Latin1), QString::fromUtf8("Café"));
  EXPECT_EQ(DecodeTitle("MapleStory", TitleEncoding::CompoundText), QString("MapleStory"));
  EXPECT_EQ(DecodeTitle("Caf\xE9", TitleEncoding::CompoundText), QString::fromUtf8("Café"));
}

TEST(DecodeTitle, TrailingNulsAreNotPartOfTheTitle) {
  EXPECT_EQ(DecodeTitle(QByteArray("MapleStory\0\0", 12), TitleEncoding::Latin1), QString("MapleStory"));
}

TEST(GrowByFrameExtents, AddsLeftRightTopBottom) {
  const auto outer = GrowByFrameExtents(QRect(105, 130, 800, 600), {5, 6, 30, 7});
  ASSERT_TRUE(outer);
  EXPECT_EQ(*outer, QRect(100, 100, 811, 637));
}

TEST(GrowByFrameExtents, ImplausibleExtentsAreIgnored) {
  EXPECT_FALSE(GrowByFrameExtents(QRect(0, 0, 10, 10), {1, 2, 3}));
  EXPECT_FALSE(GrowByFrameExtents(QRect(0, 0, 10, 10), {0xFFFFFFFFu, 0, 0, 0}));
  EXPECT_EQ(GrowByFrameExtents(QRect(0, 0, 10, 10), {0, 0, 0, 0}), QRect(0, 0, 10, 10));
}

}  // namespace
