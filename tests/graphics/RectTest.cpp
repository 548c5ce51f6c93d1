#include <gtest/gtest.h>

#include "graphics/Rect.h"

namespace orvel {
namespace {

TEST(RectTest, IncludeBoxOnEmptyYieldsTheBox) {
    TMyRect r;
    IncludeBox(r, 3, 4, 10, 20);
    EXPECT_EQ(r.Left, 3);
    EXPECT_EQ(r.Top, 4);
    EXPECT_EQ(r.Width, 8);
    EXPECT_EQ(r.Height, 17);
    EXPECT_EQ(r.Rect.Bottom, 20);
}

TEST(RectTest, IntersectionOfRectanglesSharingOneColumnIsOnePixelWide) {
    TMyRect a, b, out;
    SetBounds(a, 0, 0, 10, 10);
    SetBounds(b, 10, 5, 20, 30);
    ASSERT_TRUE(IntersectRect(a, b, &out));
    EXPECT_EQ(out.Width, 1);
    EXPECT_EQ(out.Left, 10);
    EXPECT_EQ(out.Height, 6);
    SetBounds(b, 11, 5, 20, 30);
    EXPECT_FALSE(IntersectRect(a, b, &out));
    EXPECT_TRUE(IsEmpty(out));
    EXPECT_EQ(out.Left, kUnsetEdge);
}

TEST(RectTest, MoveToKeepsTheCopyUntilARefreshingCall) {
    TMyRect r;
    SetPosSize(r, 0, 0, 5, 5);
    MoveTo(r, 10, 10);
    EXPECT_EQ(r.Right, 14);
    EXPECT_EQ(r.Rect.Left, 0);
    GrowBy(r, 0, 0, 1, 1);
    EXPECT_EQ(r.Rect.Left, 10);
    EXPECT_EQ(r.Rect.Right, 15);
}

TEST(RectTest, RoundGoesHalvesToEven) {
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(-1.5), -2);
    EXPECT_EQ(Round(2.6), 3);
}

}  // namespace
}  // namespace orvel
