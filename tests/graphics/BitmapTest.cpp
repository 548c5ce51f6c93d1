#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <type_traits>
#include <utility>

#include "graphics/Bitmap.h"
#include "graphics/BitmapTestUtil.h"

namespace orvel {
namespace {

using test::CountColor;
using test::FillAll;
using test::FillPattern;
using test::Pattern;

TEST(BitmapLayout, RowsAreBottomUpAndFourByteAligned) {
    TMyBitmap buf;
    ASSERT_TRUE(Create24(buf, 5, 3));
    EXPECT_EQ(buf.Stride, 16);
    EXPECT_EQ(buf.Size, 48);
    EXPECT_EQ(RowPtr(buf, buf.Height - 1), buf.Bits);
    EXPECT_EQ(RowPtr(buf, 0), buf.Bits + 2 * buf.Stride);
    SetPixel(buf, 1, 0, RgbToColor(10, 20, 30));
    const uint8_t* p = buf.Bits + 2 * buf.Stride + 3;
    EXPECT_EQ(p[0], 30);  // blue first
    EXPECT_EQ(p[1], 20);
    EXPECT_EQ(p[2], 10);
    EXPECT_EQ(GetPixel(buf, 1, 0), 10 + 20 * 256 + 30 * 65536);
    EXPECT_EQ(GetPixel(buf, 5, 0), -1);
    EXPECT_EQ(GetPixel(buf, 0, -1), -1);
    EXPECT_EQ(GetAlpha(buf, 0, 0), 255);
    EXPECT_EQ(GetAlpha(buf, -1, 0), 0);

    TMyBitmap alpha;
    EXPECT_TRUE(Create32(alpha, 2, 2));
    PixelPtr(alpha, 1, 1)[3] = 77;
    EXPECT_EQ(GetAlpha(alpha, 1, 1), 77);
}

void ExpectZeroSized(const TMyBitmap& buf) {
    EXPECT_EQ(buf.Bitmap, nullptr);
    EXPECT_EQ(buf.Bits, nullptr);
    EXPECT_EQ(buf.Width, 0);
    EXPECT_EQ(buf.Height, 0);
    EXPECT_EQ(buf.Stride, 0);
    EXPECT_EQ(buf.Size, 0);
    EXPECT_EQ(buf.BytesPerPixel, 0);
    EXPECT_FALSE(buf.HasAlpha);
}

TEST(BitmapLayout, ReleaseAndFailedCreationLeaveAZeroSizedBuffer) {
    TMyBitmap buf;
    ReleaseBitmap(buf);  // nothing to free
    ExpectZeroSized(buf);
    ASSERT_TRUE(Create32(buf, 4, 4));
    EXPECT_FALSE(Create24(buf, 0, 4));
    ExpectZeroSized(buf);
    ASSERT_TRUE(Create32(buf, 4, 4));
    ReleaseBitmap(buf);
    ExpectZeroSized(buf);
    ReleaseBitmap(buf);
    ExpectZeroSized(buf);
    EXPECT_FALSE(Create24(buf, kMaxBitmapSide + 1, 1));
    ExpectZeroSized(buf);
    EXPECT_FALSE(Create32(buf, 5, -1));
    ExpectZeroSized(buf);
    // A view is forgotten, not freed, and leaves the same zero-sized record.
    uint8_t pixels[4 * 4 * 2] = {};
    ASSERT_TRUE(AttachPixels(buf, pixels, 4, 2, 4, 16));
    ReleaseBitmap(buf);
    ExpectZeroSized(buf);
    EXPECT_FALSE(AttachPixels(buf, pixels, 4, 2, 2, 8));
    ExpectZeroSized(buf);
    // A moved-from buffer is released too.
    ASSERT_TRUE(Create24(buf, 3, 3));
    TMyBitmap taken = std::move(buf);
    ExpectZeroSized(buf);  // NOLINT: the moved-from state is what is checked
    EXPECT_EQ(taken.Width, 3);
}

TEST(BitmapLayout, BuffersThatCannotBeMadeReportIt) {
    TMyBitmap empty, out;
    ASSERT_TRUE(Create24(out, 2, 2));
    EXPECT_FALSE(CopyFromBitmap(out, empty));
    ExpectZeroSized(out);
    ASSERT_TRUE(Create24(out, 2, 2));
    EXPECT_FALSE(RotateRight(out, empty));
    ExpectZeroSized(out);
    EXPECT_FALSE(RotateRightWithMargin(out, empty, 5));
    ExpectZeroSized(out);
    // In place: the source is read before it is replaced.
    ASSERT_TRUE(Create24(out, 2, 1));
    SetPixel(out, 0, 0, 0x112233);
    ASSERT_TRUE(RotateRight(out, out));
    EXPECT_EQ(out.Width, 1);
    EXPECT_EQ(GetPixel(out, 0, 0), 0x112233);
}

// Rows reached through a const buffer cannot be written.
static_assert(
    std::is_same_v<decltype(RowPtr(std::declval<const TMyBitmap&>(), 0)), const uint8_t*>);
static_assert(
    std::is_same_v<decltype(PixelPtr(std::declval<const TMyBitmap&>(), 0, 0)), const uint8_t*>);
static_assert(std::is_same_v<decltype(RowPtr(std::declval<TMyBitmap&>(), 0)), uint8_t*>);

TEST(BitmapScale, OnePixelSourceFillsTheDestination) {
    TMyBitmap src, dst;
    ASSERT_TRUE(Create24(src, 1, 1));
    SetPixel(src, 0, 0, 0x123456);
    ASSERT_TRUE(Create24(dst, 7, 5));
    ScaleInto(dst, src);
    EXPECT_EQ(CountColor(dst, 0x123456), 35);
}

TEST(BitmapScale, FixedPointWeightsGiveTheseValues) {
    TMyBitmap src, dst;
    ASSERT_TRUE(Create24(src, 2, 2));
    // Blue channel carries the values, red a constant that must survive.
    SetPixel(src, 0, 0, RgbToColor(7, 0, 0));
    SetPixel(src, 1, 0, RgbToColor(7, 0, 90));
    SetPixel(src, 0, 1, RgbToColor(7, 0, 180));
    SetPixel(src, 1, 1, RgbToColor(7, 0, 255));
    ASSERT_TRUE(Create24(dst, 3, 3));
    ScaleInto(dst, src);
    const int expected[3][3] = {{0, 29, 59}, {59, 88, 116}, {119, 146, 173}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(ColorB(GetPixel(dst, x, y)), expected[y][x]) << x << "," << y;
            EXPECT_EQ(ColorR(GetPixel(dst, x, y)), 7);
        }

    // One source row: only the columns are weighted.
    TMyBitmap row, out;
    ASSERT_TRUE(Create24(row, 5, 1));
    for (int x = 0; x < 5; ++x) SetPixel(row, x, 0, RgbToColor(0, 0, 10 * (x + 1)));
    ASSERT_TRUE(Create24(out, 3, 1));
    ScaleInto(out, row);
    EXPECT_EQ(ColorB(GetPixel(out, 0, 0)), 10);
    EXPECT_EQ(ColorB(GetPixel(out, 1, 0)), 23);
    EXPECT_EQ(ColorB(GetPixel(out, 2, 0)), 36);
}

TEST(BitmapScale, RegionLeavesTheRestAloneAndEmptyBuffersDoNothing) {
    TMyBitmap src, dst, empty;
    ASSERT_TRUE(Create24(src, 8, 8));
    FillPattern(src);
    ASSERT_TRUE(Create24(dst, 10, 10));
    FillAll(dst, 0xABCDEF);
    ScaleRegion(dst, 4, 3, src, 2, 2);
    EXPECT_EQ(GetPixel(dst, 0, 0), static_cast<int32_t>(Pattern(0, 0)));
    EXPECT_EQ(CountColor(dst, 0xABCDEF), 100 - 12);
    ScaleInto(dst, empty);
    ScaleInto(empty, src);
    EXPECT_EQ(CountColor(dst, 0xABCDEF), 88);
}

TEST(BitmapRotate, QuarterTurnClockwise) {
    TMyBitmap src, dst;
    ASSERT_TRUE(Create24(src, 70, 67));  // more than one 64-pixel tile each way
    FillPattern(src);
    ASSERT_TRUE(RotateRight(dst, src));
    ASSERT_EQ(dst.Width, 67);
    ASSERT_EQ(dst.Height, 70);
    EXPECT_EQ(dst.BytesPerPixel, 3);
    for (int y = 0; y < src.Height; ++y)
        for (int x = 0; x < src.Width; ++x)
            ASSERT_EQ(GetPixel(dst, src.Height - 1 - y, x), static_cast<int32_t>(Pattern(x, y)));
    // Turning a buffer into itself works too.
    ASSERT_TRUE(RotateRight(dst, dst));
    EXPECT_EQ(dst.Width, 70);
    EXPECT_EQ(GetPixel(dst, 69, 66), static_cast<int32_t>(Pattern(0, 0)));
}

TEST(BitmapRotate, MarginIsDroppedAndPaintedFreshAtRightAndBottom) {
    const int m = 2;
    TMyBitmap src, dst;
    ASSERT_TRUE(Create24(src, 7, 4));  // W' = 4, H' = 7
    FillPattern(src);
    ASSERT_TRUE(RotateRightWithMargin(dst, src, m));
    ASSERT_EQ(dst.Width, 4);
    ASSERT_EQ(dst.Height, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 4; ++x) {
            const int32_t got = GetPixel(dst, x, y);
            if (x >= 4 - m || y >= 7 - m) {
                EXPECT_EQ(got, 0) << x << "," << y;
            } else {
                // dst (W' - m - 1 - sy, sx) = src (sx, sy)
                EXPECT_EQ(got, static_cast<int32_t>(Pattern(y, 4 - m - 1 - x))) << x << "," << y;
            }
        }
}

TEST(BitmapDraw, ClippedHorizontalLineSetsExactlyTheVisibleColumns) {
    TMyBitmap buf;
    ASSERT_TRUE(Create24(buf, 100, 10));
    FillAll(buf, 0);
    DrawLine(buf, -10, 5, 500, 5, 0xFFFFFF);
    EXPECT_EQ(CountColor(buf, 0xFFFFFF), 100);
    for (int x = 0; x < 100; ++x) EXPECT_EQ(GetPixel(buf, x, 5), 0xFFFFFF);
    DrawLine(buf, 3, -4, 3, -1, 0x00FF00);  // wholly outside
    DrawLine(buf, 200, 200, 200, 200, 0x00FF00);
    EXPECT_EQ(CountColor(buf, 0x00FF00), 0);
}

TEST(BitmapDraw, SlopedLinesFollowBresenhamBothWays) {
    TMyBitmap buf;
    ASSERT_TRUE(Create24(buf, 8, 8));
    const int pts[6][2] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
    for (int reversed = 0; reversed < 2; ++reversed) {
        FillAll(buf, 0);
        if (reversed)
            DrawLine(buf, 5, 2, 0, 0, 0xFF);
        else
            DrawLine(buf, 0, 0, 5, 2, 0xFF);
        EXPECT_EQ(CountColor(buf, 0xFF), 6);
        for (const auto& p : pts) EXPECT_EQ(GetPixel(buf, p[0], p[1]), 0xFF) << p[0] << "," << p[1];
    }
    // A diagonal partly off the buffer keeps its visible pixels.
    FillAll(buf, 0);
    DrawLine(buf, -3, -3, 3, 3, 0xFF);
    EXPECT_EQ(CountColor(buf, 0xFF), 4);
    EXPECT_EQ(GetPixel(buf, 3, 3), 0xFF);
}

// Plain Bresenham over every step, skipping pixels outside.
void ReferenceLine(TMyBitmap& buf, int x1, int y1, int x2, int y2, TColor c) {
    auto plot = [&](long long x, long long y) {
        if (x >= 0 && y >= 0 && x < buf.Width && y < buf.Height)
            SetPixel(buf, static_cast<int>(x), static_cast<int>(y), c);
    };
    long long dx = x2 - x1, dy = y2 - y1, adx = std::llabs(dx), ady = std::llabs(dy);
    int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    long long x = x1, y = y1;
    plot(x, y);
    const bool xMajor = ady < adx;
    const long long major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    long long err = 2 * minor - major;
    for (long long i = 0; i < major; ++i) {
        (xMajor ? x : y) += xMajor ? sx : sy;
        if (err >= 0) {
            (xMajor ? y : x) += xMajor ? sy : sx;
            err -= 2 * major;
        }
        err += 2 * minor;
        plot(x, y);
    }
}

TEST(BitmapDraw, LinesReachingFarOutsideMatchTheStepByStepWalk) {
    std::mt19937 rng(4);
    TMyBitmap got, want;
    ASSERT_TRUE(Create24(got, 50, 40));
    ASSERT_TRUE(Create24(want, 50, 40));
    for (int round = 0; round < 3000; ++round) {
        const int range = round % 3 == 0 ? 100000 : 150;
        auto coord = [&] { return static_cast<int>(rng() % (2 * range + 1)) - range + 20; };
        const int x1 = coord(), y1 = coord(), x2 = coord(), y2 = coord();
        FillAll(got, 0);
        FillAll(want, 0);
        DrawLine(got, x1, y1, x2, y2, 0xFFFFFF);
        ReferenceLine(want, x1, y1, x2, y2, 0xFFFFFF);
        for (int y = 0; y < 40; ++y)
            ASSERT_EQ(std::memcmp(RowPtr(got, y), RowPtr(want, y), 50 * 3), 0)
                << x1 << "," << y1 << " -> " << x2 << "," << y2 << " row " << y;
    }
    // Ends at the extremes of int: only the pixels inside are walked.
    FillAll(got, 0);
    DrawLine(got, -2000000000, -2000000000, 2000000000, 2000000000, 0xFF);
    EXPECT_EQ(CountColor(got, 0xFF), 40);
}

TEST(BitmapDraw, FrameFillAndTint) {
    TMyBitmap buf;
    ASSERT_TRUE(Create24(buf, 6, 5));
    FillAll(buf, 0);
    FrameBox(buf, 1, 1, 4, 3, 0x0000FF);
    EXPECT_EQ(CountColor(buf, 0x0000FF), 10);
    EXPECT_EQ(GetPixel(buf, 2, 2), 0);
    EXPECT_EQ(GetPixel(buf, 4, 3), 0x0000FF);

    FillBox(buf, -2, 3, 4, 10, 0x00FF00);  // clipped to columns 0-1, rows 3-4
    EXPECT_EQ(CountColor(buf, 0x00FF00), 4);

    FillAll(buf, RgbToColor(200, 101, 0));
    SetPixel(buf, 0, 0, 0xFF00FF);
    HalfTint(buf, 0, 0, 6, 5, RgbToColor(100, 51, 255), 0xFF00FF);
    EXPECT_EQ(GetPixel(buf, 0, 0), 0xFF00FF);  // key colour untouched
    EXPECT_EQ(GetPixel(buf, 5, 4), static_cast<int32_t>(RgbToColor(150, 75, 127)));

    TMyBitmap alpha;
    ASSERT_TRUE(Create32(alpha, 2, 1));
    PixelPtr(alpha, 0, 0)[3] = 9;
    FillBox(alpha, 0, 0, 2, 1, 0x112233);
    EXPECT_EQ(GetPixel(alpha, 0, 0), 0x112233);
    EXPECT_EQ(GetAlpha(alpha, 0, 0), 9);
}

TEST(BitmapCopy, CopyFromBitmapAndCopyRect) {
    TMyBitmap src32, copy;
    ASSERT_TRUE(Create32(src32, 5, 4));
    FillPattern(src32);
    ASSERT_TRUE(CopyFromBitmap(copy, src32));
    ASSERT_EQ(copy.BytesPerPixel, 3);
    ASSERT_EQ(copy.Width, 5);
    EXPECT_EQ(GetPixel(copy, 4, 3), static_cast<int32_t>(Pattern(4, 3)));

    TMyBitmap dst;
    ASSERT_TRUE(Create24(dst, 4, 4));
    FillAll(dst, 0);
    CopyRect(dst, -1, 2, 3, 5, copy, 1, 0);  // clipped to 2 x 2 at (0, 2) from (2, 0)
    EXPECT_EQ(GetPixel(dst, 0, 2), static_cast<int32_t>(Pattern(2, 0)));
    EXPECT_EQ(GetPixel(dst, 1, 3), static_cast<int32_t>(Pattern(3, 1)));
    EXPECT_EQ(CountColor(dst, 0), 12);
}

}  // namespace
}  // namespace orvel
