// Headers that do not hold together end the grid cut and the effects
// cleanly instead of reading or writing past the piece table.
#include <gtest/gtest.h>

#include "CutTestUtil.h"
#include "cutter/KnobStrip.h"
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
        FakePlatform platform;
        CutEnvironment env;
        env.platform = &platform;
        EXPECT_FALSE(CutGrid(game, env, strip));
        ASSERT_EQ(platform.Messages.size(), 1u);
        EXPECT_EQ(platform.Messages[0].Text, "Jigsaw has not been cut properly! Please reopen the puzzle.");
        EXPECT_EQ(game.Pieces.size(), static_cast<size_t>(game.Header.TileNum + 1));
    }
}

TEST(GridGuards, EffectsWithoutGridColumnsDoNotDivideByZero) {
    TGame game;
    test::SetUpGame(game, 200, 150, 9, 4, 0, 3);
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    CutEnvironment env;
    ASSERT_TRUE(CutGrid(game, env, strip));
    game.Pieces.resize(game.Header.TotalTileNum);
    for (size_t i = 0; i < game.Pieces.size(); ++i) game.Pieces[i].group = static_cast<int>(i);
    game.Header.TilePX = 0;  // as a damaged saved game might hold it
    ApplyPieceEffects(game, {1, 2}, nullptr);
    EXPECT_TRUE(game.Wood[0].Data.empty());
}

}  // namespace
}  // namespace orvel
