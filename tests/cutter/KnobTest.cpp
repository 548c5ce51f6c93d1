#include <gtest/gtest.h>

#include "cutter/CellCutter.h"
#include "cutter/Knob.h"
#include "cutter/MaskAccess.h"

namespace orvel {
namespace {

TEST(KnobProfiles, DerivedValuesOfBothTables) {
    KnobTable cell;
    BuildKnobProfiles(cell);
    const int cellPoints[16] = {25, 19, 25, 13, 13, 13, 22, 19, 19, 19, 13, 7, 13, 13, 31, 37};
    const int cellBase[16] = {31, 31, 31, 31, 31, 31, 31, 41, 41, 31, 31, 31, 31, 31, 31, 31};
    const int cellUp[16] = {32, 17, 1, 28, 16, 28, 32, 42, 42, 32, 6, 14, 16, 32, 26, 32};
    const int cellDown[16] = {14, 17, 29, 28, 28, 21, 17, 40, 21, 30, 12, 1, 16, 1, 10, 5};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(cell.p[i].count, cellPoints[i]) << i;
        EXPECT_EQ(cell.p[i].baseY, cellBase[i]) << i;
        EXPECT_EQ(cell.p[i].profileWidth, 127) << i;
        EXPECT_EQ(cell.p[i].upHeight, cellUp[i]) << i;
        EXPECT_EQ(cell.p[i].downHeight, cellDown[i]) << i;
    }
    KnobTable grid;
    BuildGridProfiles(grid);
    const int gridPoints[7] = {25, 13, 31, 37, 25, 28, 31};
    const int gridUp[7] = {31, 31, 25, 31, 24, 31, 12};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(grid.p[i].count, gridPoints[i]) << i;
        EXPECT_EQ(grid.p[i].baseY, 31) << i;
        EXPECT_EQ(grid.p[i].upHeight, gridUp[i]) << i;
    }
}

struct KnobCanvas {
    TMyBitmap mask;
    KnobTable table;
    KnobContext ctx;
    KnobCanvas(int w, int h, int tileS = 40, int depth = 9) {
        if (!Create24(mask, w + 5, h + 5)) {
            ADD_FAILURE() << "no mask";
            return;
        }
        FillBox(mask, 0, 0, w + 5, h + 5, 0);
        FillBox(mask, 0, 0, w, h, kWhite);
        BuildKnobProfiles(table);
        ctx = KnobContext{&mask, w, h, {0, 0, w - 1, h - 1}, tileS, depth, &table};
    }
    int Count(TColor c) const {
        int n = 0;
        for (int y = 0; y < mask.Height; ++y)
            for (int x = 0; x < mask.Width; ++x) n += MaskGet(mask, x, y) == c;
        return n;
    }
};

const TColor kRed = 0x0000FF;
// Shape styles 0, 2 and 3: knobs grow with their edge.
constexpr KnobFlag kScaled = KnobFlag::ScaleWithEdge | KnobFlag::PlainShortEdges;

TEST(DrawKnob, ZeroLengthEdgeIsDrawnWithoutPixels) {
    KnobCanvas k(100, 100);
    KnobRect r;
    EXPECT_EQ(DrawKnob(k.ctx, kScaled, 1, 0, {50, 20}, {50, 80}, 4, -1, -1, kRed, {50, 50},
                       {50, 50}, 0, r),
              KnobResult::Drawn);
    EXPECT_EQ(k.Count(kRed), 0);
}

TEST(DrawKnob, DrawsAClosedChainBetweenTheEnds) {
    KnobCanvas k(200, 100);
    KnobRect r;
    ASSERT_EQ(DrawKnob(k.ctx, kScaled, 1, 0, {100, 10}, {100, 90}, 4, 40, 40, kRed, {150, 50},
                       {50, 50}, 0, r),
              KnobResult::Drawn);
    // The first point is set and the knob bulges up (side 1 on a flat edge).
    EXPECT_EQ(MaskGet(k.mask, 50, 50), kRed);
    EXPECT_LT(r.top, 50);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.right, 150);
    // Straight segments close the rest of the row, as the cutter's lines would.
    DrawLine(k.mask, 0, 50, 50, 50, kRed);
    DrawLine(k.mask, 150, 50, 199, 50, kRed);
    // The outline separates the white area above it from the area below:
    // a fill from far above does not reach the row below the edge.
    TMyRect bounds;
    FloodFill(k.mask, 100, 2, bounds, true, 0x00FF00);
    EXPECT_EQ(MaskGet(k.mask, 100, 60), kWhite);
    EXPECT_EQ(MaskGet(k.mask, 100, 40), kWhite);  // inside the knob
}

TEST(DrawKnob, ApexNearTheTopStaysTwoPixelsInside) {
    KnobCanvas k(200, 100);
    KnobRect r;
    // Side 1 bulges up from an edge 5 pixels below the top.
    ASSERT_EQ(DrawKnob(k.ctx, kScaled, 1, 0, {100, 0}, {100, 90}, -1, -1, -1, kRed, {150, 5},
                       {50, 5}, 0, r),
              KnobResult::Drawn);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 200; ++x) EXPECT_NE(MaskGet(k.mask, x, y), kRed) << x << "," << y;
    int top = 100;
    for (int y = 99; y >= 0; --y)
        for (int x = 0; x < 200; ++x)
            if (MaskGet(k.mask, x, y) == kRed) top = y;
    EXPECT_LE(top, 4);
}

TEST(DrawKnob, SeedCloseToTheEdgeShrinksTheKnob) {
    KnobCanvas wide(200, 100), close(200, 100);
    KnobRect r1, r2;
    // Room B limits the part above the baseline (side 1: rooms not exchanged).
    ASSERT_EQ(DrawKnob(wide.ctx, kScaled, 1, 0, {100, 90}, {100, 10}, -1, 40, 40, kRed, {150, 50},
                       {50, 50}, 0, r1),
              KnobResult::Drawn);
    ASSERT_EQ(DrawKnob(close.ctx, kScaled, 1, 0, {100, 90}, {100, 45}, -1, 40, 5, kRed, {150, 50},
                       {50, 50}, 0, r2),
              KnobResult::Drawn);
    int topWide = 100, topClose = 100;
    for (int y = 99; y >= 0; --y)
        for (int x = 0; x < 200; ++x) {
            if (MaskGet(wide.mask, x, y) == kRed) topWide = y;
            if (MaskGet(close.mask, x, y) == kRed) topClose = y;
        }
    EXPECT_LT(topWide, 30);
    EXPECT_GE(topClose, 45);  // never reaches within a pixel of the seed 5 above the edge
}

TEST(DrawKnob, RoomZeroAsksForTheStraightSegment) {
    KnobCanvas k(200, 100);
    KnobRect r;
    EXPECT_EQ(DrawKnob(k.ctx, kScaled, 1, 0, {100, 90}, {100, 50}, 4, 40, 0, kRed, {150, 50},
                       {50, 50}, 0, r),
              KnobResult::NoRoom);
    EXPECT_EQ(k.Count(kRed), 0);
}

TEST(DrawKnob, SecondKnobWithinClearanceIsRefusedAndLeavesNothing) {
    KnobCanvas k(200, 120);
    KnobRect r;
    ASSERT_EQ(DrawKnob(k.ctx, kScaled, 1, 0, {100, 110}, {100, 5}, 4, -1, -1, kRed, {150, 60},
                       {50, 60}, 0, r),
              KnobResult::Drawn);
    const int before = k.Count(0x00FF00);
    // The same edge one pixel lower, in another colour: within the clearance.
    EXPECT_EQ(DrawKnob(k.ctx, kScaled, 1, 0, {100, 110}, {100, 5}, 4, -1, -1, 0x00FF00, {150, 61},
                       {50, 61}, 0, r),
              KnobResult::Refused);
    EXPECT_EQ(k.Count(0x00FF00), before);
}

// The curve between the profile's anchors can run over a seed that the
// room limits kept a pixel clear of the anchors; such a knob is refused (the
// piece would be filled from another point, maybe beyond the side). Every
// pixel of the curve away from the edge's ends, as either seed.
TEST(DrawKnob, KnobRunningOverASeedIsRefused) {
    KnobCanvas drawn(200, 100);
    KnobRect r;
    const KnobPoint far{100, 95};
    ASSERT_EQ(DrawKnob(drawn.ctx, kScaled, 1, 0, far, far, -1, -1, -1, kRed, {150, 50}, {50, 50}, 0,
                       r),
              KnobResult::Drawn);
    KnobCanvas k(200, 100);
    int tried = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            // Near the edge's ends (the corners) the test does not look.
            if (MaskGet(drawn.mask, x, y) != kRed || y > 44) continue;
            const KnobPoint seed{x, y};
            ++tried;
            for (const auto& [nb, own] : {std::pair{far, seed}, std::pair{seed, far}}) {
                EXPECT_EQ(DrawKnob(k.ctx, kScaled, 1, 0, nb, own, 0, -1, -1, kRed, {150, 50},
                                   {50, 50}, 0, r),
                          KnobResult::Refused)
                    << x << "," << y;
            }
        }
    EXPECT_GT(tried, 40);
    EXPECT_EQ(k.Count(kRed), 0);
}

TEST(DrawKnob, KnobLeavingTheAreaIsRefused) {
    KnobCanvas k(200, 100);
    KnobRect r;
    // Side 0 bulges down from an edge near the bottom: the samples leave the area.
    EXPECT_EQ(DrawKnob(k.ctx, kScaled, 0, 0, {100, 10}, {100, 50}, 4, -1, -1, kRed, {150, 95},
                       {50, 95}, 0, r),
              KnobResult::Refused);
}

TEST(DrawBezierChain, LeavesTheLastPointUnset) {
    TMyBitmap m;
    ASSERT_TRUE(Create24(m, 50, 20));
    FillBox(m, 0, 0, 50, 20, kWhite);
    const double x[4] = {0, 10, 20, 30}, y[4] = {10, 10, 10, 10};
    DrawBezierChain(m, x, y, 4, kRed);
    // Samples run from the last anchor to the first; the first anchor ends
    // the polyline and stays unset.
    EXPECT_EQ(MaskGet(m, 30, 10), kRed);
    EXPECT_EQ(MaskGet(m, 1, 10), kRed);
    EXPECT_EQ(MaskGet(m, 0, 10), kWhite);
}

}  // namespace
}  // namespace orvel
