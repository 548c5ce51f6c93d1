// Arranging, gathering, pocket places, window-frame operations, rescaling
// groups and the choice of one background picture.
#include <set>
#include <utility>

#include "PieceTestUtil.h"
#include "play/Arrange.h"
#include "play/Backgrounds.h"
#include "play/FrameOps.h"
#include "play/Pockets.h"

namespace orvel::testing {
namespace {

using Sides = PlayFixture;

// ------------------------------------------------------------------ arrange

TEST(ArrangeGrid, ColumnsAndRowsFollowTheBoundsAndHoldEveryPiece) {
    // sqrt(9.33) ~ 3 columns, sqrt(5.25) ~ 2 rows; 6 < 7 and 3 * 3 < 2 * 4 is false: a column.
    EXPECT_EQ(ArrangeGrid(7, 400, 300).Cols, 4);
    EXPECT_EQ(ArrangeGrid(7, 400, 300).Rows, 2);
    for (int n : {1, 2, 5, 13, 100, 1000})
        for (auto [w, h] : {std::pair{400, 300}, {300, 400}, {1000, 60}, {60, 1000}}) {
            const TArrangeGrid g = ArrangeGrid(n, w, h);
            EXPECT_GE(g.Cols * g.Rows, n) << n << " in " << w << " x " << h;
            EXPECT_EQ(w > h ? g.Cols >= g.Rows : g.Cols <= g.Rows, true)
                << n << " in " << w << " x " << h;
        }
}

TEST_F(Sides, ArrangeLaysTheLooseSelectedPiecesInAShuffledGrid) {
    Fresh(5, 2);  // TileS 60: cells of MaskS + KnobDepth = 102
    JoinByHand(game, {8, 9});
    for (int i = 0; i < 10; ++i) game.Pieces[i].selected = i != 7;  // 7 loose, one pair
    game.Pieces[7].posX = game.Pieces[7].posY = 0;                  // not selected: ignored
    const int left = 10, top = 10;  // the smallest place of the selected pieces
    const TPiece pair8 = game.Pieces[8];
    EXPECT_EQ(ArrangeSelected(game, MW_SIDE0, 400, 300), 7);
    // 4 x 2 cells: 4 * 102 > 400 gives columns 100 apart; rows keep 102.
    std::set<std::pair<int, int>> cells;
    for (int i = 0; i < 7; ++i) {
        const TPiece& p = game.Pieces[i];
        EXPECT_EQ((p.posX - left) % 100, 0);
        EXPECT_EQ((p.posY - top) % 102, 0);
        cells.insert({(p.posX - left) / 100, (p.posY - top) / 102});
    }
    EXPECT_EQ(cells.size(), 7u);
    for (const auto& [col, row] : cells) EXPECT_TRUE(col < 4 && row < 2);
    EXPECT_EQ(game.Pieces[8].posX, pair8.posX);  // a group is never arranged
    EXPECT_EQ(game.Pieces[7].posX, 0);
    for (int i = 0; i < 10; ++i) game.Pieces[i].selected = i >= 8;
    EXPECT_EQ(ArrangeSelected(game, MW_SIDE0, 400, 300), 0);
}

// ------------------------------------------------------------------ gather

TEST_F(Sides, GatherSinksTheLargestGroupFromHalfThePieces) {
    for (int half : {4, 3}) {
        Fresh(4, 2);
        game.Pieces[6].window = MW_POCKET0;
        game.Pieces[7].window = MW_SIDE1;
        JoinByHand(game, {5, 4, 6, 7});
        if (half == 3) game.Pieces[7].group = 7;  // one piece short of half
        const std::vector<TPiece> before = game.Pieces;
        const bool sunk = GatherToFirstSide(game);
        EXPECT_EQ(sunk, half == 4);
        for (const TPiece& p : game.Pieces) EXPECT_EQ(p.window, MW_SIDE0);
        for (int i = 0; i < 8; ++i) {
            if (half == 3) {
                EXPECT_EQ(game.Pieces[i].group, before[i].group) << i;
            } else if (!Joined(i, 5)) {
                EXPECT_GT(game.Pieces[i].group, game.Pieces[5].group) << i;
            }
        }
        EXPECT_EQ(game.WeightPiece, -1);
    }
    // A weighted group stays where the weight keeps it.
    Fresh(4, 2);
    JoinByHand(game, {5, 4, 6, 7});
    game.WeightPiece = 0;
    EXPECT_FALSE(GatherToFirstSide(game));
}

// ------------------------------------------------------------------ pockets

TEST_F(Sides, NewPocketsStepFortyLeftAndDownTileAndCascade) {
    for (int id = MW_POCKET0; id <= MW_POCKET3; ++id) wins.Wins[id].Visible = false;
    const TPlayArea a{800, 600};
    for (int id = MW_POCKET0; id <= MW_POCKET2; ++id) {
        wins.Wins[id].Outer = NewPocketPlace(wins, a, id);
        wins.Wins[id].Visible = true;
    }
    const TMyRect& p1 = wins.Wins[MW_POCKET0].Outer;
    EXPECT_EQ(p1.Left, 600);
    EXPECT_EQ(p1.Top, 0);
    EXPECT_EQ(p1.Width, 200);
    EXPECT_EQ(p1.Height, 150);
    EXPECT_EQ(wins.Wins[MW_POCKET1].Outer.Left, 560);
    EXPECT_EQ(wins.Wins[MW_POCKET1].Outer.Top, 40);
    EXPECT_EQ(wins.Wins[MW_POCKET2].Outer.Left, 520);
    EXPECT_EQ(wins.Wins[MW_POCKET2].Outer.Top, 80);

    ASSERT_EQ(TilePockets(wins, a), 3);
    for (int k = 0; k < 3; ++k) {
        const TMyRect& o = wins.Wins[MW_POCKET0 + k].Outer;
        EXPECT_EQ(o.Left, 600);
        EXPECT_EQ(o.Top, 200 * k);
        EXPECT_EQ(o.Height, 200);
    }
    EXPECT_EQ(wins.ActiveWin, &wins.Wins[MW_POCKET2]);
    ASSERT_EQ(CascadePockets(wins, a), 3);
    for (int k = 0; k < 3; ++k) {
        const TMyRect& o = wins.Wins[MW_POCKET0 + k].Outer;
        EXPECT_EQ(o.Left, 800 - 200 - 90 + 30 + 30 * k);
        EXPECT_EQ(o.Top, 34 * k);
        EXPECT_EQ(o.Height, 600 - 3 * 34);
    }
}

// ------------------------------------------------------------------ frame operations

TEST_F(Sides, FrameResizeStaysWithinTheClientLimits) {
    TMyWin& pocket = wins.Wins[MW_POCKET0];  // outer 440, 40, 180 x 200
    pocket.MaxClientW = 300;
    pocket.MaxClientH = 250;
    UpdateLimits(pocket);
    TFrameOperation op(wins, area, fp);
    const TMyRect o = pocket.Outer;
    op.Start(pocket, THitCode::BottomRight, kLeftButton, o.Right, o.Bottom, kFieldW, kFieldH);
    op.Move(o.Left + 5, o.Top + 5, true);
    EXPECT_EQ(pocket.Outer.Width, 78 + pocket.FrameW);
    EXPECT_EQ(pocket.Outer.Height, 78 + pocket.FrameH);
    EXPECT_EQ(pocket.Outer.Left, o.Left);
    op.Move(o.Left + 1000, o.Top + 1000, true);
    EXPECT_EQ(pocket.Client.Width, 300);
    EXPECT_EQ(pocket.Client.Height, 250);
    op.End(0, 0);
    // The left edge moves the left side; the right edge stays put.
    const TMyRect now = pocket.Outer;
    op.Start(pocket, THitCode::Left, kLeftButton, now.Left, now.Top + 50, kFieldW, kFieldH);
    op.Move(now.Left + 60, now.Top + 50, true);
    EXPECT_EQ(pocket.Outer.Left, now.Left + 60);
    EXPECT_EQ(pocket.Outer.Right, now.Right);
    op.End(0, 0);
    EXPECT_FALSE(op.Running());
}

TEST_F(Sides, AMovedPocketIsPulledBackByItsCaption) {
    TMyWin& pocket = wins.Wins[MW_POCKET0];
    TFrameOperation op(wins, area, fp);
    const int a = pocket.CaptionH + pocket.BorderW;  // 22
    op.Start(pocket, THitCode::Move, kLeftButton, 450, 45, kFieldW, kFieldH);
    op.Move(2000, -300, true);
    EXPECT_EQ(pocket.Outer.Left, 1990);
    op.End(2000, -300);
    EXPECT_EQ(pocket.Outer.Left, kFieldW - 2 * a);
    EXPECT_EQ(pocket.Outer.Top, 0);
    op.Start(pocket, THitCode::Move, kLeftButton, pocket.Outer.Left + 5, 5, kFieldW, kFieldH);
    op.Move(-1000, 1000, true);
    op.End(-1000, 1000);
    EXPECT_EQ(pocket.Outer.Right, 2 * a - 1);
    EXPECT_EQ(pocket.Outer.Top, kFieldH - a);
    EXPECT_EQ(pocket.Client.Left, pocket.Outer.Left + pocket.BorderW);  // laid out again
}

TEST_F(Sides, ScrollingASideKeepsTheOtherInStepAndPanningShowsTheHand) {
    for (int side : {0, 1}) {
        wins.Wins[side].ContentW = 2000;
        wins.Wins[side].ContentH = 1500;
        Relayout(wins.Wins[side]);
    }
    TMyWin& side0 = wins.Wins[MW_SIDE0];
    ASSERT_TRUE(side0.HScroll && side0.VScroll);
    TFrameOperation op(wins, area, fp);
    op.Start(side0, THitCode::RightArrow, kLeftButton, 0, 0, kFieldW, kFieldH);
    op.End(0, 0);
    EXPECT_EQ(side0.ScrollX, 200);
    EXPECT_EQ(wins.Wins[MW_SIDE1].ScrollX, 200);
    op.Start(side0, THitCode::Pan, kRightButton, 300, 300, kFieldW, kFieldH);
    EXPECT_EQ(fp.Cursor, CursorShape::Hand);
    op.Move(250, 200, true);  // the content follows the hand
    EXPECT_EQ(side0.ScrollX, 250);
    EXPECT_EQ(side0.ScrollY, 100);
    EXPECT_EQ(wins.Wins[MW_SIDE1].ScrollY, 100);
    op.Move(100, 100, true);
    op.Move(3000, 3000, true);  // held within the content
    EXPECT_EQ(side0.ScrollX, 0);
    EXPECT_EQ(side0.ScrollY, 0);
    op.End(0, 0);
    EXPECT_EQ(fp.Cursor, CursorShape::Arrow);
}

TEST_F(Sides, CloseAndZoomButtonsActOnRelease) {
    TFrameOperation op(wins, area, fp);
    std::vector<int> closed, zooms;
    op.Actions.Close = [&](TMyWin& w) { closed.push_back(w.Id); };
    op.Actions.GlassZoom = [&](int zoom) { zooms.push_back(zoom); };
    op.Start(wins.Wins[MW_POCKET0], THitCode::Close, kLeftButton, 0, 0, kFieldW, kFieldH);
    EXPECT_TRUE(closed.empty());
    op.End(0, 0);
    op.Start(wins.Glass, THitCode::Zoom1, kLeftButton, 0, 0, kFieldW, kFieldH);
    op.End(0, 0);
    op.Start(wins.Glass, THitCode::Zoom2, kLeftButton, 0, 0, kFieldW, kFieldH);
    op.End(0, 0);
    EXPECT_EQ(closed, std::vector<int>{MW_POCKET0});
    EXPECT_EQ(zooms, (std::vector<int>{3, 2}));
}

// ------------------------------------------------------------------ rescaling

TEST_F(Sides, RescalingKeepsEachGroupCentreInItsPlace) {
    Fresh(3, 1);
    JoinByHand(game, {1, 2});
    const int w = game.Pieces[0].rotW, h = game.Pieces[0].rotH;
    ASSERT_TRUE(w % 2 == 0 && h % 2 == 0);
    game.Pieces[0].posX = 100 - w / 2;  // centre at (100, 150)
    game.Pieces[0].posY = 150 - h / 2;
    const int y1 = game.Pieces[1].posY;
    ASSERT_TRUE(RescaleGroups(game, MW_SIDE0, 800, 600, 400, 300));
    EXPECT_EQ(game.Pieces[0].posX, 200 - w / 2);
    EXPECT_EQ(game.Pieces[0].posY, 300 - h / 2);
    EXPECT_EQ(game.Pieces[2].posX - game.Pieces[1].posX, 60);  // groups move whole
    EXPECT_NE(game.Pieces[1].posY, y1);
    const int x0 = game.Pieces[0].posX;
    EXPECT_TRUE(RescaleGroups(game, MW_SIDE0, 800, 300, 0, 600));  // no old width: x stays
    EXPECT_EQ(game.Pieces[0].posX, x0);
    EXPECT_FALSE(RescaleGroups(game, MW_SIDE1, 800, 600, 400, 300));
}

// ------------------------------------------------------------------ backgrounds

TEST(Backgrounds, OnlyTheFirstPictureStaysAndOnlyWhenItLoads) {
    TBackgroundValues v{0x123456, 13, 10, 13, 0x989898, 17};
    std::vector<int32_t> asked;
    ResolveBackgrounds(v, [&](int32_t code) {
        asked.push_back(code);
        return true;
    });
    EXPECT_EQ(asked, std::vector<int32_t>{13});
    EXPECT_EQ(v, (TBackgroundValues{0x123456, 13, 0x989898, 13, 0x989898, 0x989898}));
    ResolveBackgrounds(v, [](int32_t) { return false; });
    EXPECT_EQ(v, (TBackgroundValues{0x123456, 0x989898, 0x989898, 0x989898, 0x989898, 0x989898}));
    EXPECT_EQ(BackgroundPicturePath(10), "bkg-pics/parquet-1600.jpg");
    EXPECT_EQ(BackgroundPicturePath(17), "bkg-pics/wood5-1600.jpg");
    EXPECT_EQ(BackgroundPicturePath(18), "");
}

}  // namespace
}  // namespace orvel::testing
