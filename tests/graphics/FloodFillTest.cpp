#include <gtest/gtest.h>

#include <queue>
#include <random>
#include <utility>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/BitmapTestUtil.h"

namespace orvel {
namespace {

using test::CountColor;
using test::FillAll;

TEST(FloodFill, SeedOfTheNewColourOrOutsideChangesNothing) {
    TMyBitmap buf;
    ASSERT_TRUE(Create24(buf, 5, 5));
    FillAll(buf, 0x00FF00);
    TMyRect bounds;
    FloodFill(buf, 2, 2, bounds, true, 0x00FF00);
    EXPECT_EQ(CountColor(buf, 0x00FF00), 25);
    EXPECT_EQ(bounds.Left, 2);
    EXPECT_EQ(bounds.Width, 1);
    FloodFill(buf, 5, 0, bounds, true, 0xFF);
    FloodFill(buf, -1, -1, bounds, false, 0xFF);
    EXPECT_EQ(CountColor(buf, 0x00FF00), 25);
    TMyBitmap empty;
    FloodFill(empty, 0, 0, bounds, true, 0xFF);
}

// Breadth-first reference fill.
int ReferenceFill(std::vector<int>& cells, int w, int h, int sx, int sy, int from, int to,
                  TMyRect& box) {
    std::queue<std::pair<int, int>> q;
    q.push({sx, sy});
    cells[sy * w + sx] = to;
    ClearRect(box);
    int n = 0;
    while (!q.empty()) {
        auto [x, y] = q.front();
        q.pop();
        ++n;
        IncludeBox(box, x, y, x, y);
        const int nx[4] = {x - 1, x + 1, x, x};
        const int ny[4] = {y, y, y - 1, y + 1};
        for (int k = 0; k < 4; ++k) {
            if (nx[k] < 0 || ny[k] < 0 || nx[k] >= w || ny[k] >= h) continue;
            int& c = cells[ny[k] * w + nx[k]];
            if (c != from) continue;
            c = to;
            q.push({nx[k], ny[k]});
        }
    }
    return n;
}

TEST(FloodFill, MatchesABreadthFirstFillOnRandomMazes) {
    std::mt19937 rng(12345);
    const TColor colours[3] = {0x000000, 0xFFFFFF, 0x808080};
    for (int round = 0; round < 60; ++round) {
        const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 30);
        const int walls = static_cast<int>(rng() % 60);  // percent
        std::vector<int> cells(w * h);
        TMyBitmap buf;
        ASSERT_TRUE(Create24(buf, w, h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int c =
                    static_cast<int>(rng() % 100) < walls ? 1 + static_cast<int>(rng() % 2) : 0;
                cells[y * w + x] = c;
                SetPixel(buf, x, y, colours[c]);
            }
        const int sx = static_cast<int>(rng() % w), sy = static_cast<int>(rng() % h);
        const int from = cells[sy * w + sx];
        TMyRect expectedBox;
        ReferenceFill(cells, w, h, sx, sy, from, 3, expectedBox);
        TMyRect bounds;
        FloodFill(buf, sx, sy, bounds, true, 0x0000FF);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const TColor want = cells[y * w + x] == 3 ? 0x0000FF : colours[cells[y * w + x]];
                ASSERT_EQ(GetPixel(buf, x, y), static_cast<int32_t>(want))
                    << "round " << round << " at " << x << "," << y;
            }
        EXPECT_EQ(bounds.Left, expectedBox.Left);
        EXPECT_EQ(bounds.Top, expectedBox.Top);
        EXPECT_EQ(bounds.Right, expectedBox.Right);
        EXPECT_EQ(bounds.Bottom, expectedBox.Bottom);
    }
}

TEST(FloodFill, SpiralNeedsLeaksBackIntoTheParentRow) {
    // A comb: the fill enters at the top left and must come back up into
    // every tooth from the row below.
    TMyBitmap buf;
    ASSERT_TRUE(Create24(buf, 21, 6));
    FillAll(buf, 0);
    for (int x = 1; x < 21; x += 2) FillBox(buf, x, 0, 1, 5, 0xFFFFFF);
    TMyRect bounds;
    FloodFill(buf, 0, 0, bounds, true, 0xFF0000);
    EXPECT_EQ(CountColor(buf, 0), 0);
    EXPECT_EQ(bounds.Right, 20);
    EXPECT_EQ(bounds.Bottom, 5);
}

TEST(FloodFill, PicturesWiderThan32767Work) {
    const int w = 40000;
    TMyBitmap line;
    ASSERT_TRUE(Create24(line, w, 1));
    FillAll(line, 0);
    SetPixel(line, 39000, 0, 0xFFFFFF);
    TMyRect bounds;
    FloodFill(line, 38000, 0, bounds, true, 0xFF);
    EXPECT_EQ(CountColor(line, 0xFF), 39000);
    EXPECT_EQ(bounds.Left, 0);
    EXPECT_EQ(bounds.Right, 38999);
    FloodFill(line, 39999, 0, bounds, true, 0xFF);
    EXPECT_EQ(CountColor(line, 0xFF), 39999);
    EXPECT_EQ(bounds.Left, 39001);

    // Three rows with a wall in the middle that opens only far to the right:
    // the way down runs through x = 39995.
    TMyBitmap tall;
    ASSERT_TRUE(Create24(tall, w, 3));
    FillAll(tall, 0);
    FillBox(tall, 0, 1, w, 1, 0xFFFFFF);
    SetPixel(tall, 39995, 1, 0);
    FloodFill(tall, 0, 0, bounds, true, 0xFF);
    EXPECT_EQ(CountColor(tall, 0xFF), 2 * w + 1);
    EXPECT_EQ(bounds.Bottom, 2);
}

}  // namespace
}  // namespace orvel
