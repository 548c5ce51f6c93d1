#include <gtest/gtest.h>

#include "CutTestUtil.h"
#include "ResultTestUtil.h"
#include "platform/FakePlatform.h"

namespace orvel {
namespace {

// The seed whose next two draws are both 0: the generator steps to 0, then to 1.
uint32_t SeedBeforeTwoZeroDraws() {
    const uint32_t m = 134775813u;
    uint32_t inv = m;  // Newton's iteration for the inverse modulo 2^32
    for (int i = 0; i < 5; ++i) inv *= 2u - m * inv;
    return 0u - inv;  // seed * m + 1 == 0
}

// A first x draw on the left side of the area gets one second draw, and that
// second draw is kept even when it falls on the side again; y is drawn next.
TEST(SitePlacement, XOnASideGetsOneSecondDrawOnly) {
    const uint32_t seed = SeedBeforeTwoZeroDraws();
    for (int border : {0, 1}) {
        TGame game;
        test::SetUpGame(game, 400, 300, 13, 0, border, seed);
        const GameHeader& h = game.Header;
        ASSERT_GE(h.TileNum, 4);
        CellCutState c(game, CutEnvironment{});
        LayGridCells(game);
        c.area = {h.JigsL, h.JigsT, h.JigsR, h.JigsB};
        c.sites.assign(h.TileNum, CutSite{});
        game.Random.Seed = seed;
        PlaceSites(c);
        const TPiece& p = game.Pieces[0];
        EXPECT_EQ(c.sites[0].x, h.JigsL) << border;
        TRandom replay;
        replay.Seed = seed;
        EXPECT_EQ(replay.RandInt(p.cellW), 0);
        EXPECT_EQ(replay.RandInt(p.cellW), 0);
        int y = p.cellY + replay.RandInt(p.cellH);
        while (!(h.JigsT < y && y < h.JigsB)) y = p.cellY + replay.RandInt(p.cellH);
        EXPECT_EQ(c.sites[0].y, y) << border;

        // The whole cut still succeeds with that site on the side.
        TGame full;
        test::SetUpGame(full, 400, 300, 13, 0, border, seed);
        const Result cut = CutPieces(full, CutEnvironment{});
        EXPECT_TRUE(test::Succeeded(cut)) << border;
        EXPECT_TRUE(cut.Notes().empty());
    }
}

}  // namespace
}  // namespace orvel
