// Thumbnails: fitted, centred, scaled only when large, with icon and copy.
#include <gtest/gtest.h>

#include "graphics/BitmapTestUtil.h"
#include "play/Thumb.h"

namespace orvel {
namespace {

using namespace orvel::test;

constexpr TColor kFace = 0x102030;

TMyBitmap Picture(int w, int h) {
    TMyBitmap pic;
    EXPECT_TRUE(Create24(pic, w, h));
    FillPattern(pic);
    return pic;
}

TEST(DrawThumb, FitSizeKeepsTheShapeAndNeverGrows) {
    int w = 0, h = 0;
    ThumbFitSize(180, 135, 360, 240, w, h);  // wider than the place: width decides
    EXPECT_EQ(w, 180);
    EXPECT_EQ(h, 120);
    ThumbFitSize(180, 135, 200, 400, w, h);  // higher: height decides
    EXPECT_EQ(w, 67);
    EXPECT_EQ(h, 135);
    ThumbFitSize(180, 135, 100, 50, w, h);  // fits: its own size
    EXPECT_EQ(w, 100);
    EXPECT_EQ(h, 50);
}

TEST(DrawThumb, LargePictureIsScaledIntoTheCentredPlace) {
    const TMyBitmap source = Picture(360, 240);
    TMyBitmap target, copy;
    DrawThumb(target, 180, 135, nullptr, &copy, kFace, true, source);
    ASSERT_EQ(target.Width, 180);
    ASSERT_EQ(target.Height, 135);
    // 180 x 120 centred: 7 rows of background above, 8 below.
    for (int y : {0, 6, 127, 134}) EXPECT_EQ(GetPixel(target, 90, y), static_cast<int32_t>(kFace));
    for (int y : {7, 126}) EXPECT_NE(GetPixel(target, 90, y), static_cast<int32_t>(kFace));
    // The scaled picture's corner is the source's corner.
    EXPECT_EQ(GetPixel(target, 0, 7), GetPixel(source, 0, 0));
    EXPECT_EQ(copy.Width, 360);
    EXPECT_EQ(GetPixel(copy, 359, 239), GetPixel(source, 359, 239));
}

TEST(DrawThumb, SmallPictureIsCopiedWithTheIconAtItsCorner) {
    const TMyBitmap source = Picture(100, 50);
    TMyBitmap icon;
    EXPECT_TRUE(Create24(icon, 16, 16));
    FillAll(icon, 0x0000FF);
    TMyBitmap target;
    EXPECT_TRUE(Create24(target, 200, 150));
    FillAll(target, 0xFFFFFF);
    DrawThumb(target, 180, 135, &icon, nullptr, kFace, false, source);
    // Without recreating, the whole existing target is filled first.
    EXPECT_EQ(GetPixel(target, 199, 149), static_cast<int32_t>(kFace));
    // Place (40, 42); the icon one pixel up and left of it.
    EXPECT_EQ(GetPixel(target, 39, 41), 0x0000FF);
    EXPECT_EQ(GetPixel(target, 54, 56), 0x0000FF);
    EXPECT_EQ(GetPixel(target, 55, 57), GetPixel(source, 15, 15));
    EXPECT_EQ(GetPixel(target, 139, 91), GetPixel(source, 99, 49));
    EXPECT_EQ(GetPixel(target, 140, 91), static_cast<int32_t>(kFace));
    EXPECT_EQ(CountColor(target, 0x0000FF), 256);
}

TEST(DrawThumb, IconStaysInsideAtTheTargetsEdge) {
    const TMyBitmap source = Picture(180, 135);
    TMyBitmap icon;
    EXPECT_TRUE(Create24(icon, 16, 16));
    FillAll(icon, 0x00FF00);
    TMyBitmap target;
    DrawThumb(target, 180, 135, &icon, nullptr, kFace, true, source);
    EXPECT_EQ(GetPixel(target, 0, 0), 0x00FF00);
    EXPECT_EQ(GetPixel(target, 16, 16), GetPixel(source, 16, 16));
    EXPECT_EQ(CountColor(target, kFace), 0);
}

}  // namespace
}  // namespace orvel
