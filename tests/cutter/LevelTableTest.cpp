#include <gtest/gtest.h>

#include <cmath>

#include "cutter/LevelTable.h"

namespace orvel {
namespace {

TEST(LevelTable, FourHundredByThreeHundred) {
    LevelTable t;
    BuildLevelTable(t, 400, 300, 0, 0);
    EXPECT_EQ(t.level[0].TileS, 20);
    EXPECT_EQ(t.level[0].TotalTileNum, 300);
    // Level 13 starts at 75 (20 pieces); 1 % more gives 76 with 15 pieces,
    // 16 or fewer, so 75 stays.
    EXPECT_EQ(t.level[13].TileS, 75);
    EXPECT_EQ(t.level[13].TotalTileNum, 20);
    // The levels between lie on a geometric scale of the tile size.
    const double ratio = std::pow(75.0 / 20.0, 1.0 / 13);
    double m = 20;
    for (int level = 1; level <= 12; ++level) {
        m *= ratio;
        EXPECT_EQ(t.level[level].TileS, static_cast<int>(std::nearbyint(m))) << level;
        EXPECT_LE(t.level[level].TileS, t.level[level + 1].TileS);
    }
    const LevelRecord& r = t.level[0];
    EXPECT_EQ(r.MaskS, 28);
    EXPECT_EQ(r.KnobDepth, 4);
}

TEST(LevelTable, LargePictureStaysBelow4000AtLevelZero) {
    LevelTable t;
    BuildLevelTable(t, 1920, 1080, 0, 0);
    EXPECT_LE(t.level[0].TotalTileNum, 3999);
    const LevelRecord smaller = ComputeLevelRecord(t.level[0].TileS - 1, 1920, 1080, 0, 0);
    EXPECT_GT(smaller.TotalTileNum, 3999);
    EXPECT_NEAR(t.level[13].TotalTileNum, 16, 8);
}

TEST(LevelTable, BorderAndShapeStyleThree) {
    const LevelRecord r = ComputeLevelRecord(30, 400, 300, 3, 1);
    EXPECT_EQ(r.TilePX, 12);  // (400 - 40) / 30
    EXPECT_EQ(r.TilePY, 8);   // (300 - 40) / 30
    EXPECT_EQ(r.PicPX, 6);
    EXPECT_EQ(r.PicPY, 4);
    EXPECT_EQ(r.TotalTileNum, 96 + 24);
    // A 60 x 60 picture with a border quickly has no cells at large tile sizes;
    // the search for 16 pieces then shrinks the tile size.
    LevelTable t;
    BuildLevelTable(t, 60, 60, 0, 1);
    EXPECT_GE(t.level[13].TotalTileNum, 16);
    EXPECT_GE(t.level[13].TileS, 1);
}

TEST(LevelTable, TinyPicturesTerminate) {
    for (int side : {1, 2, 3, 10, 39}) {
        for (int border : {0, 1}) {
            LevelTable t;
            BuildLevelTable(t, side, side, 0, border);
            for (const LevelRecord& r : t.level) {
                EXPECT_GE(r.TileS, 1);
                EXPECT_GE(r.TilePX, 0);
                EXPECT_GE(r.TilePY, 0);
            }
        }
    }
}

// A picture size read from a file may be absurd: 2000000 x 2000000 has
// 10^10 cells at TileS 20, more than a 32-bit count holds; the count must
// not wrap round to a small or negative number that passes for level 0.
TEST(LevelTable, HugePictureCountsDoNotWrap) {
    for (int shape : {0, 3}) {
        LevelTable t;
        BuildLevelTable(t, 2000000, 2000000, shape, 0);
        EXPECT_GE(t.level[0].TotalTileNum, 0);
        EXPECT_LE(t.level[0].TotalTileNum, 3999);
        const LevelRecord smaller = ComputeLevelRecord(t.level[0].TileS - 1, 2000000, 2000000, shape, 0);
        EXPECT_GT(smaller.TotalTileNum, 3999) << "level 0 is the first tile size with at most 3999 pieces";
        EXPECT_GT(ComputeLevelRecord(20, 2000000, 2000000, shape, 0).TotalTileNum, 4000);
    }
}

TEST(LevelTable, HeaderAndOkState) {
    LevelTable t;
    BuildLevelTable(t, 400, 300, 0, 1);
    GameHeader h;
    EXPECT_TRUE(FillHeaderFromLevel(h, t, 0, 400, 300, 1));
    EXPECT_EQ(h.TileS, 20);
    EXPECT_EQ(h.TilePX, 18);
    EXPECT_EQ(h.TilePY, 13);
    EXPECT_EQ(h.TotalTileNum, h.TileNum);
    EXPECT_EQ(h.SnapBase, 4);  // max(KnobDepth div 2, 4)
    // 4000 pieces keep OK enabled, 4001 do not.
    LevelTable custom = t;
    custom.level[0] = ComputeLevelRecord(10, 800, 500, 0, 0);  // 80 x 50
    EXPECT_TRUE(FillHeaderFromLevel(h, custom, 0, 800, 500, 0));
    EXPECT_EQ(h.TotalTileNum, 4000);
    custom.level[0] = ComputeLevelRecord(10, 800, 510, 0, 0);  // 80 x 51
    EXPECT_FALSE(FillHeaderFromLevel(h, custom, 0, 800, 510, 0));
}

}  // namespace
}  // namespace orvel
