#include <gtest/gtest.h>

#include <random>

#include "graphics/Bitmap.h"
#include "graphics/BitmapTestUtil.h"

namespace orvel {
namespace {

using test::CountColor;
using test::FillAll;
using test::FillPattern;
using test::Pattern;

TMyRect Everything() {
    TMyRect r;
    SetBounds(r, -1000, -1000, 1000, 1000);
    return r;
}

class BlitTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(Create24(dst, 30, 10));
        FillAll(dst, 0);
        if (GetParam() == 4) {
            ASSERT_TRUE(Create32(src, 40, 10));
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 40; ++x) PixelPtr(src, x, y)[3] = 255;
        } else {
            ASSERT_TRUE(Create24(src, 40, 10));
        }
        FillPattern(src);
    }
    TMyBitmap dst, src;
};

TEST_P(BlitTest, NegativeXCutsTheBlockAndMovesTheSource) {
    BlitAlpha(dst, -5, 0, 20, 1, src, 3, 0, 20, 1, Everything());
    for (int x = 0; x < 15; ++x)
        EXPECT_EQ(GetPixel(dst, x, 0), static_cast<int32_t>(Pattern(x + 8, 0)));
    EXPECT_EQ(GetPixel(dst, 15, 0), 0);
    EXPECT_EQ(CountColor(dst, 0), 300 - 15);
}

TEST_P(BlitTest, HorizontalStretchRepeatsOneColumnAfterTheCut) {
    BlitAlpha(dst, -5, 2, 20, 2, src, 3, 4, 1, 2, Everything());
    for (int x = 0; x < 15; ++x) {
        EXPECT_EQ(GetPixel(dst, x, 2), static_cast<int32_t>(Pattern(3, 4)));
        EXPECT_EQ(GetPixel(dst, x, 3), static_cast<int32_t>(Pattern(3, 5)));
    }
    EXPECT_EQ(CountColor(dst, 0), 300 - 30);
}

TEST_P(BlitTest, VerticalStretchRepeatsOneRow) {
    BlitKeyed(dst, 2, -3, 4, 8, src, 6, 7, 4, 1, Everything(), 0xFF00FF);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(GetPixel(dst, 2 + x, y), static_cast<int32_t>(Pattern(6 + x, 7)));
    EXPECT_EQ(CountColor(dst, 0), 300 - 20);
}

TEST_P(BlitTest, BothSizesDifferingCopiesOneToOne) {
    BlitAlpha(dst, 0, 0, 3, 2, src, 1, 1, 7, 9, Everything());
    EXPECT_EQ(GetPixel(dst, 2, 1), static_cast<int32_t>(Pattern(3, 2)));
    EXPECT_EQ(CountColor(dst, 0), 300 - 6);
}

TEST_P(BlitTest, ClipRectangleCutsAndMovesTheSource) {
    TMyRect clip;
    SetBounds(clip, 4, 1, 6, 2);
    BlitAlpha(dst, 0, 0, 10, 10, src, 0, 0, 10, 10, clip);
    EXPECT_EQ(CountColor(dst, 0), 300 - 6);
    EXPECT_EQ(GetPixel(dst, 4, 1), static_cast<int32_t>(Pattern(4, 1)));
    EXPECT_EQ(GetPixel(dst, 6, 2), static_cast<int32_t>(Pattern(6, 2)));
    TMyRect empty;
    BlitAlpha(dst, 0, 5, 10, 5, src, 0, 0, 10, 5, empty);
    EXPECT_EQ(CountColor(dst, 0), 300 - 6);
}

TEST_P(BlitTest, BlocksReachingPastTheSourceAreHeldToIt) {
    // Source columns 35..39 exist, 40..44 do not; row -1 does not.
    BlitAlpha(dst, 0, 0, 10, 1, src, 35, 0, 10, 1, Everything());
    EXPECT_EQ(CountColor(dst, 0), 300 - 5);
    EXPECT_EQ(GetPixel(dst, 4, 0), static_cast<int32_t>(Pattern(39, 0)));
    BlitAlpha(dst, 0, 3, 5, 1, src, 45, 0, 1, 1, Everything());  // stretched column outside
    BlitKeyed(dst, 0, 5, 2, 2, src, 0, -2, 2, 2, Everything(), 0);
    EXPECT_EQ(CountColor(dst, 0), 300 - 5);
}

INSTANTIATE_TEST_SUITE_P(SourceDepths, BlitTest, ::testing::Values(3, 4));

TEST(BlitAlpha, BlendsWithStraightAlphaAndKeepsTheDestinationAlpha) {
    TMyBitmap src, dst;
    ASSERT_TRUE(Create32(src, 3, 1));
    FillAll(src, 0);  // black
    PixelPtr(src, 0, 0)[3] = 128;
    PixelPtr(src, 1, 0)[3] = 0;
    PixelPtr(src, 2, 0)[3] = 255;
    for (int bpp : {3, 4}) {
        if (bpp == 3)
            ASSERT_TRUE(Create24(dst, 3, 1));
        else
            ASSERT_TRUE(Create32(dst, 3, 1));
        FillAll(dst, 0xFFFFFF);
        if (bpp == 4)
            for (int x = 0; x < 3; ++x) PixelPtr(dst, x, 0)[3] = 42;
        BlitAlpha(dst, 0, 0, 3, 1, src, 0, 0, 3, 1, Everything());
        EXPECT_EQ(GetPixel(dst, 0, 0), 0x7F7F7F);
        EXPECT_EQ(GetPixel(dst, 1, 0), 0xFFFFFF);
        EXPECT_EQ(GetPixel(dst, 2, 0), 0);
        if (bpp == 4) {
            EXPECT_EQ(GetAlpha(dst, 0, 0), 42);
        }
    }
    // Uneven channels: each is (d * (255 - a) + s * a) div 255.
    ASSERT_TRUE(Create24(dst, 1, 1));
    SetPixel(dst, 0, 0, RgbToColor(10, 200, 255));
    SetPixel(src, 0, 0, RgbToColor(250, 0, 100));
    PixelPtr(src, 0, 0)[3] = 77;
    BlitAlpha(dst, 0, 0, 1, 1, src, 0, 0, 1, 1, Everything());
    EXPECT_EQ(GetPixel(dst, 0, 0),
              static_cast<int32_t>(RgbToColor((10 * 178 + 250 * 77) / 255, (200 * 178) / 255,
                                              (255 * 178 + 100 * 77) / 255)));
}

TEST(BlitAlpha, EveryPixelFollowsTheBlendFormulaWhateverItsNeighbours) {
    // Runs of opaque, clear and mixed alpha of every length, against the
    // formula applied pixel by pixel.
    std::mt19937 rng(99);
    TMyBitmap src, dst, before;
    ASSERT_TRUE(Create32(src, 37, 9));
    ASSERT_TRUE(Create24(dst, 37, 9));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 37; ++x) {
            uint8_t* p = PixelPtr(src, x, y);
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(rng());
            const unsigned kind = (x / (1 + y % 5)) % 3;
            p[3] = kind == 0 ? 255 : kind == 1 ? 0 : static_cast<uint8_t>(rng());
            SetPixel(dst, x, y, static_cast<TColor>(rng() & 0xFFFFFF));
        }
    ASSERT_TRUE(CopyFromBitmap(before, dst));
    BlitAlpha(dst, 0, 0, 37, 9, src, 0, 0, 37, 9, Everything());
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 37; ++x) {
            const uint8_t* s = PixelPtr(src, x, y);
            const uint8_t* b = PixelPtr(before, x, y);
            const uint8_t* d = PixelPtr(dst, x, y);
            const unsigned a = s[3];
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(d[c], (b[c] * (255 - a) + s[c] * a) / 255) << x << "," << y << " c" << c;
        }
}

TEST(BlitKeyed, SkipsTheKeyColourOnly) {
    TMyBitmap src, dst;
    ASSERT_TRUE(Create24(src, 3, 1));
    SetPixel(src, 0, 0, 0xFF00FF);
    SetPixel(src, 1, 0, 0xFF00FE);
    SetPixel(src, 2, 0, 0x000000);
    ASSERT_TRUE(Create24(dst, 3, 1));
    FillAll(dst, 0x111111);
    BlitKeyed(dst, 0, 0, 3, 1, src, 0, 0, 3, 1, Everything(), 0xFF00FF);
    EXPECT_EQ(GetPixel(dst, 0, 0), 0x111111);
    EXPECT_EQ(GetPixel(dst, 1, 0), 0xFF00FE);
    EXPECT_EQ(GetPixel(dst, 2, 0), 0);
}

TEST(ClipSpan, CutsAtEveryEdgeAndMovesTheSource) {
    TMyRect clip;
    SetBounds(clip, 10, 20, 19, 29);
    int x = 5, y = 25, w = 20, h = 20, sx = 100, sy = 200;
    ASSERT_TRUE(ClipSpan(clip, x, y, w, h, sx, sy));
    EXPECT_EQ(x, 10);
    EXPECT_EQ(w, 10);
    EXPECT_EQ(sx, 105);
    EXPECT_EQ(y, 25);
    EXPECT_EQ(h, 5);
    EXPECT_EQ(sy, 200);
    x = 20, y = 20, w = 5, h = 5;
    EXPECT_FALSE(ClipSpan(clip, x, y, w, h, sx, sy));
    x = 0, y = 20, w = 10, h = 5;  // ends one short of the left edge
    EXPECT_FALSE(ClipSpan(clip, x, y, w, h, sx, sy));
}

}  // namespace
}  // namespace orvel
