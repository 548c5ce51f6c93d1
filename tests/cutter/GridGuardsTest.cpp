// Headers that do not hold together end the grid cut and the effects
// cleanly instead of reading or writing past the piece table.
#include <gtest/gtest.h>

#include "CutTestUtil.h"
#include "ResultTestUtil.h"
#include "cutter/CellCutter.h"
#include "cutter/KnobStrip.h"
#include "cutter/MaskAccess.h"
#include "cutter/PieceEffects.h"

namespace orvel {
namespace {

TEST(GridGuards, PieceCountThatIsNotTheGridIsRefused) {
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    for (int delta : {-5, 3}) {
        TGame game;
        test::SetUpGame(game, 300, 200, 6, 4, delta > 0 ? 1 : 0, 5);
        // TileNum no longer TilePX x TilePY; the piece table holds TileNum + 1.
        game.Header.TileNum += delta;
        game.Header.TotalTileNum = game.Header.TileNum;
        game.Pieces.assign(game.Header.TileNum + 1, TPiece{});
        const Result cut = CutGrid(game, CutEnvironment{}, strip);
        ASSERT_FALSE(cut.Ok());
        EXPECT_TRUE(cut.Notes().empty());
        EXPECT_EQ(cut.Error().Key, "Jigsaw has not been cut properly! Please reopen the puzzle.");
        EXPECT_EQ(game.Pieces.size(), static_cast<size_t>(game.Header.TileNum + 1));
    }
}

TEST(GridGuards, CellCutterRefusesAPieceCountThatIsNotTheGrid) {
    for (int delta : {-5, 3}) {
        TGame game;
        test::SetUpGame(game, 300, 200, 6, 4, 0, 0);
        game.Header.TileNum += delta;
        game.Header.TotalTileNum = game.Header.TileNum;
        game.Pieces.assign(game.Header.TileNum + 1, TPiece{});
        const Result cut = CutPieces(game, CutEnvironment{});
        ASSERT_FALSE(cut.Ok());
        EXPECT_TRUE(cut.Notes().empty());
        EXPECT_EQ(cut.Error().Key, "Finding first edge failed!");
    }
}

TEST(GridGuards, EffectsWithoutGridColumnsDoNotDivideByZero) {
    TGame game;
    test::SetUpGame(game, 200, 150, 9, 4, 0, 3);
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    ASSERT_TRUE(test::Succeeded(CutGrid(game, CutEnvironment{}, strip)));
    game.Pieces.resize(game.Header.TotalTileNum);
    for (size_t i = 0; i < game.Pieces.size(); ++i) game.Pieces[i].group = static_cast<int>(i);
    game.Header.TilePX = 0;  // as a damaged saved game might hold it
    ApplyPieceEffects(game, {1, 2}, nullptr);
    EXPECT_TRUE(game.Wood[0].Data.empty());
}


// The piece drawing shows a piece's pixels only inside its box (the cell
// plus KnobDepth towards each neighbour), so every pixel of a piece's colour
// must lie in the box of a piece of that colour; a stamped knob deeper than
// the game's KnobDepth leaves pixels that no piece draws (holes in the
// picture).
TEST(GridGuards, StampedKnobsStayInsideThePieceBoxes) {
    for (int len = kStripMinLength; len <= kStripMaxLength; ++len)
        for (int tileS = len - kStripTileSpan; tileS <= len; ++tileS)
            EXPECT_LE(StripKnobDepth(len), ComputeLevelRecord(tileS, 0, 0, 0, 0).KnobDepth) << len << "/" << tileS;
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    uint32_t seed = 40;
    struct Size {
        int w, h;
    };
    int stamped = 0;
    for (Size s : {Size{560, 560}, Size{640, 480}, Size{800, 600}, Size{1024, 600}, Size{977, 613}})
        for (int level = 0; level < 14; ++level)
            for (int border : {0, 1}) {
                TGame game;
                test::SetUpGame(game, s.w, s.h, level, level % 2 ? 6 : 4, border, seed++);
                if (game.Header.TileS > kStripMaxLength) continue;
                ++stamped;
                ASSERT_TRUE(test::Succeeded(CutGrid(game, CutEnvironment{}, strip)));
                const GameHeader& h = game.Header;
                std::vector<uint8_t> shown(static_cast<size_t>(h.ImageW) * h.ImageH, 0);
                for (int i = 0; i < h.TotalTileNum; ++i) {
                    const TPiece& p = game.Pieces[i];
                    for (int y = Max(p.boxY, 0); y < Min(p.boxY + p.boxH, h.ImageH); ++y)
                        for (int x = Max(p.boxX, 0); x < Min(p.boxX + p.boxW, h.ImageW); ++x)
                            if (MaskPx(game.Buffers[4], x, y)[0] == p.MaskCode) shown[static_cast<size_t>(y) * h.ImageW + x] = 1;
                }
                int lost = 0;
                for (uint8_t v : shown) lost += v == 0;
                EXPECT_EQ(lost, 0) << s.w << "x" << s.h << " level " << level << " border " << border << " TileS "
                                   << h.TileS;
            }
    EXPECT_GT(stamped, 10);
}

}  // namespace
}  // namespace orvel
