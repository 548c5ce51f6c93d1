// Piece handling driven through the mouse handlers, as the main window drives it.
#include <cstring>

#include "PieceTestUtil.h"
#include "play/Join.h"

namespace orvel::testing {
namespace {

using PieceHandling = PlayFixture;

std::vector<TPiece> Snapshot(const TGame& game) {
    return game.Pieces;
}

bool SamePieces(const std::vector<TPiece>& a, const std::vector<TPiece>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(TPiece)) == 0;
}

// ------------------------------------------------------------------ joining

TEST_F(PieceHandling, DropSnapsWithinTheDistanceAndStrictlyNotAtIt) {
    // TileS 60: MaskS 88, KnobDepth 14, SnapBase 7; stickiness 12 gives 8.
    Fresh(2, 1);
    ASSERT_EQ(game.Header.SnapBase, 7);
    EXPECT_EQ(SnapDistance(game.Header, 12), 8);
    struct Case {
        int dx, dy;
        bool joins;
    };
    for (const Case c : {Case{7, 0, true}, Case{8, 0, false}, Case{0, -7, true}, Case{0, 8, false},
                         Case{-7, 7, true}, Case{7, -8, false}}) {
        Fresh(2, 1);
        hooks.SolvedCalls = 0;
        PlaceBeside(game, 1, 0, c.dx, c.dy);
        const TPiece before = game.Pieces[0];
        Drag(1, 0, 0);
        EXPECT_EQ(Joined(0, 1), c.joins) << c.dx << "," << c.dy;
        if (!c.joins) continue;
        // The dropped single piece moved onto its place; the other stayed.
        EXPECT_EQ(game.Pieces[0].posX, before.posX);
        EXPECT_EQ(game.Pieces[1].posX - game.Pieces[0].posX,
                  game.Pieces[1].boxX - game.Pieces[0].boxX);
        EXPECT_EQ(game.Pieces[1].posY - game.Pieces[0].posY,
                  game.Pieces[1].boxY - game.Pieces[0].boxY);
        EXPECT_EQ(hooks.SolvedCalls, 1);  // two pieces, both upright
        EXPECT_TRUE(game.Modified);
        EXPECT_EQ(game.DragMode, TDragMode::Idle);
        EXPECT_EQ(game.PickedPiece, -1);
    }
}

TEST_F(PieceHandling, TheSmallerGroupMovesAndOnEqualSizeTheDroppedOne) {
    Fresh(3, 2);
    JoinByHand(game, {0, 1, 2});
    PlaceBeside(game, 3, 0, -4, 3);  // the single piece lies near the row's first piece
    const std::vector<TPiece> row = Snapshot(game);
    Drag(1, 0, 0);  // drop the row of three where it is
    ASSERT_TRUE(Joined(3, 0));
    for (int i : {0, 1, 2}) EXPECT_EQ(game.Pieces[i].posX, row[i].posX) << i;
    EXPECT_EQ(game.Pieces[3].posX - game.Pieces[0].posX, game.Pieces[3].boxX - game.Pieces[0].boxX);
    EXPECT_EQ(game.Pieces[3].posY - game.Pieces[0].posY, game.Pieces[3].boxY - game.Pieces[0].boxY);
    // The dropped group's number survives: it was brought to the top.
    EXPECT_EQ(game.Pieces[3].group, game.Header.TotalTileNum - 1);

    Fresh(3, 2);
    JoinByHand(game, {0, 1});
    JoinByHand(game, {3, 4});
    MoveGroupBeside(game, 3, 0, 5, -5);
    const TPiece still = game.Pieces[0];
    Drag(4, 0, 0);
    ASSERT_TRUE(Joined(0, 4));
    EXPECT_EQ(game.Pieces[0].posX, still.posX);
    EXPECT_EQ(game.Pieces[0].posY, still.posY);
    EXPECT_EQ(game.Pieces[3].posY - game.Pieces[0].posY, game.Pieces[3].boxY - game.Pieces[0].boxY);
}

TEST_F(PieceHandling, TheFrameGroupNeverMovesNorTurns) {
    Fresh(3, 2, true, true);
    const int frame = FramePieceIndex(game);
    ASSERT_EQ(frame, 6);
    JoinByHand(game, {frame, 0});
    JoinByHand(game, {1, 2, 4, 5});
    MoveGroupBeside(game, 1, 0, 5, -3);
    const TPiece frameBefore = game.Pieces[frame];
    Drag(4, 0, 0);  // four pieces dropped next to the frame's two
    ASSERT_TRUE(Joined(1, frame));
    EXPECT_EQ(game.Pieces[frame].posX, frameBefore.posX);
    EXPECT_EQ(game.Pieces[frame].posY, frameBefore.posY);
    EXPECT_EQ(game.Pieces[1].posX - game.Pieces[frame].posX, game.Pieces[1].boxX);

    // Dragged itself, the frame stays where it is dropped and the piece comes to it.
    Fresh(3, 2, true, true);
    PlaceBeside(game, 3, frame, -2, 6);  // piece 3 lies on the left edge of the jigsaw
    const int fx = FieldXOf(frame, 5), fy = FieldYOf(frame, 5);
    handler->MouseDown(kLeftButton, 0, fx, fy, false);
    ASSERT_EQ(game.PickedPiece, frame);
    handler->MouseUp(kLeftButton, 0, fx, fy);
    ASSERT_TRUE(Joined(3, frame));
    EXPECT_EQ(game.Pieces[3].posX - game.Pieces[frame].posX, game.Pieces[3].boxX);
    EXPECT_EQ(game.Pieces[3].posY - game.Pieces[frame].posY, game.Pieces[3].boxY);

    // No binding turns it.
    settings.RotCW_Button = kRightButton;
    settings.RotCW_Shift = 0;
    settings.MoveOW_Shift = 1;
    const std::vector<TPiece> before = Snapshot(game);
    Click(kRightButton, 0, FieldXOf(3), FieldYOf(3));
    EXPECT_TRUE(SamePieces(Snapshot(game), before));
}

TEST_F(PieceHandling, SelectedPiecesNeverJoin) {
    Fresh(3, 2);
    PlaceBeside(game, 1, 0, 3, 0);
    handler->SelectAll();
    ASSERT_TRUE(game.HasSelection);
    ASSERT_EQ(hooks.Selections, std::vector<bool>{true});
    const std::vector<TPiece> before = Snapshot(game);
    Drag(1, 20, 10);
    for (int i = 0; i < game.Header.TotalTileNum; ++i) {
        EXPECT_EQ(game.Pieces[i].posX, before[i].posX + 20) << i;
        EXPECT_EQ(game.Pieces[i].posY, before[i].posY + 10) << i;
    }
    EXPECT_FALSE(Joined(0, 1));
    EXPECT_TRUE(game.HasSelection);
}

// ------------------------------------------------------------------ selection and windows

TEST_F(PieceHandling, ABandSelectionDraggedIntoAPocketMovesThereWhole) {
    Fresh(3, 2);
    PlaceBeside(game, 1, 0, 2, 0);
    // The band from (5, 5) to (225, 90) holds pieces 0 and 1 but not 2 or 3.
    handler->MouseDown(kLeftButton, 0, 5, 5, false);
    ASSERT_EQ(game.DragMode, TDragMode::RubberBand);
    handler->MouseMove(0, 120, 50, true);
    handler->MouseMove(0, 225, 90, true);
    handler->MouseUp(kLeftButton, 0, 225, 90);
    ASSERT_TRUE(game.HasSelection);
    for (int i = 0; i < game.Header.TotalTileNum; ++i)
        EXPECT_EQ(game.Pieces[i].selected, i < 2) << i;

    const TMyWin& pocket = wins.Wins[MW_POCKET0];
    const int x = FieldXOf(0), y = FieldYOf(0);
    handler->MouseDown(kLeftButton, 0, x, y, false);
    handler->MouseMove(0, x + 100, y + 40, true);
    handler->MouseMove(0, pocket.Client.Left + 60, pocket.Client.Top + 60, true);
    EXPECT_EQ(wins.ActiveWin, &wins.Wins[MW_POCKET0]);
    handler->MouseUp(kLeftButton, 0, pocket.Client.Left + 60, pocket.Client.Top + 60);
    for (int i = 0; i < game.Header.TotalTileNum; ++i)
        EXPECT_EQ(game.Pieces[i].window, i < 2 ? MW_POCKET0 : MW_SIDE0) << i;
    EXPECT_FALSE(Joined(0, 1));
    EXPECT_NE(std::find(hooks.Pockets.begin(), hooks.Pockets.end(), MW_POCKET0),
              hooks.Pockets.end());
    // The picked piece sits under the mouse where it was grabbed.
    EXPECT_EQ(FieldX(pocket, game.Pieces[0].posX + game.Pieces[0].rotW / 2),
              pocket.Client.Left + 60);
}

TEST_F(PieceHandling, RightClickOnAnEmptyPlace) {
    Fresh(3, 2);
    const std::vector<TPiece> before = Snapshot(game);
    Click(kRightButton, 0, 400, 400);
    EXPECT_TRUE(SamePieces(Snapshot(game), before));
    EXPECT_TRUE(hooks.Frames.empty());
    EXPECT_EQ(game.DragMode, TDragMode::Idle);
    EXPECT_FALSE(game.Modified);
    EXPECT_FALSE(game.Busy);

    // With scroll bars the press starts panning (an operation of the window frames).
    TMyWin& side = wins.Wins[MW_SIDE0];
    side.ContentW = 2000;
    side.ContentH = 1500;
    SetClientSize(side, true, kFieldW, kFieldH);
    ASSERT_TRUE(side.HScroll);
    Click(kRightButton, 0, 400, 300);
    ASSERT_EQ(hooks.Frames.size(), 1u);
    EXPECT_EQ(hooks.Frames[0].Window, MW_SIDE0);
    EXPECT_EQ(hooks.Frames[0].Code, THitCode::Pan);
    EXPECT_TRUE(SamePieces(Snapshot(game), before));
}

TEST_F(PieceHandling, ARightReleaseSendsTheGroupToTheOtherSide) {
    Fresh(3, 2);
    JoinByHand(game, {4, 5});
    Click(kRightButton, 0, FieldXOf(4), FieldYOf(4));  // MoveOW: right button, no modifier keys
    for (int i = 0; i < game.Header.TotalTileNum; ++i)
        EXPECT_EQ(game.Pieces[i].window, i >= 4 ? MW_SIDE1 : MW_SIDE0) << i;

    settings.bSingleWin = true;
    Click(kRightButton, 0, FieldXOf(0), FieldYOf(0));
    EXPECT_EQ(game.Pieces[0].window, MW_SIDE0);
}

// ------------------------------------------------------------------ click to drag

TEST_F(PieceHandling, ClickToDragKeepsThePieceOnAWobbleAndDropsOnAMove) {
    settings.bClickToDrag = true;
    Fresh(3, 2);
    const int x = FieldXOf(4), y = FieldYOf(4);
    const TPiece start = game.Pieces[4];
    handler->MouseDown(kLeftButton, 0, x, y, false);
    handler->MouseUp(kLeftButton, 0, x + 1, y + 2);
    ASSERT_EQ(game.DragMode, TDragMode::Dragging);  // still in hand
    EXPECT_EQ(game.PickedPiece, 4);
    handler->MouseMove(0, x + 50, y + 30, false);
    EXPECT_EQ(game.Pieces[4].posX, start.posX + 50);
    EXPECT_EQ(game.Pieces[4].posY, start.posY + 30);
    handler->MouseDown(kLeftButton, 0, x + 50, y + 30, false);
    EXPECT_EQ(game.DragMode, TDragMode::Dragging);
    handler->MouseUp(kLeftButton, 0, x + 50, y + 30);
    EXPECT_EQ(game.DragMode, TDragMode::Idle);
    EXPECT_EQ(game.Pieces[4].posX, start.posX + 50);

    // Two pixels sideways between press and release drop at once.
    handler->MouseDown(kLeftButton, 0, x + 50, y + 30, false);
    handler->MouseUp(kLeftButton, 0, x + 52, y + 30);
    EXPECT_EQ(game.DragMode, TDragMode::Idle);
    EXPECT_EQ(game.Pieces[4].posX, start.posX + 52);
}

// ------------------------------------------------------------------ turning

// Every picture pixel of a turned group keeps its colour at the point the
// turn takes it to: (x, y) -> (f + h - y, h + x - f) about the pivot (f, h).
TEST_F(PieceHandling, ARightClickTurnsTheGroupClockwiseAboutThePoint) {
    settings.RotCW_Button = kRightButton;
    settings.RotCW_Shift = 0;
    settings.MoveOW_Shift = 1;  // the release must not send it away
    Fresh(3, 2, false, true);
    JoinByHand(game, {4, 5});
    for (int i : {4, 5}) {
        game.Pieces[i].posX += 150;
        game.Pieces[i].posY += 30;
    }
    FlushField(view, wins, layers);
    const int f = FieldXOf(4, 30), h = FieldYOf(4, 40);
    struct Sample {
        int x, y;
        int32_t colour;
    };
    std::vector<Sample> samples;
    for (int i : {4, 5}) {
        const TPiece& p = game.Pieces[i];
        for (int k = 0; k < 5; ++k) {
            const int x = FieldXOf(i, p.cellX - p.boxX + 7 + 11 * k),
                      y = FieldYOf(i, p.cellY - p.boxY + 5 + 12 * k);
            samples.push_back({x, y, GetPixel(view.Field, x, y)});
        }
    }
    Click(kRightButton, 0, f, h);
    EXPECT_EQ(game.Pieces[4].rotation, 1);
    EXPECT_EQ(game.Pieces[5].rotation, 1);
    EXPECT_EQ(game.Pieces[4].rotW, game.Pieces[4].boxH);
    FlushField(view, wins, layers);
    for (const Sample& s : samples)
        EXPECT_EQ(GetPixel(view.Field, f + h - s.y, h + s.x - f), s.colour) << s.x << "," << s.y;
    EXPECT_EQ(game.PickedPiece, -1);
    EXPECT_EQ(game.Pieces[0].rotation, 0);
}

TEST_F(PieceHandling, TheWheelTurnsWithWhateverTheTwoTurnsAreBoundTo) {
    settings.RotCW_Button = kLeftButton;
    settings.RotCW_Shift = 1;
    settings.RotCCW_Button = kRightButton;
    settings.RotCCW_Shift = 2;
    Fresh(3, 2, false, true);
    const auto wheel = [&](bool down) {
        handler->MouseDown(down ? settings.RotCW_Button : settings.RotCCW_Button,
                           down ? settings.RotCW_Shift : settings.RotCCW_Shift, FieldXOf(4),
                           FieldYOf(4), true);
    };
    wheel(true);
    EXPECT_EQ(game.Pieces[4].rotation, 1);
    wheel(false);
    wheel(false);
    EXPECT_EQ(game.Pieces[4].rotation, 3);
    EXPECT_EQ(game.DragMode, TDragMode::Idle);

    // Without rotation a wheel press bound to the plain left button picks nothing up.
    settings.RotCW_Shift = 0;
    Fresh(3, 2, false, false);
    wheel(true);
    EXPECT_EQ(game.Pieces[4].rotation, 0);
    EXPECT_EQ(game.DragMode, TDragMode::Idle);
    EXPECT_EQ(game.PickedPiece, -1);
}

// ------------------------------------------------------------------ keeping inside

TEST_F(PieceHandling, ADropLeavingThirtyPixelsInSightIsPulledBackToForty) {
    Fresh(3, 3);
    ASSERT_EQ(game.Pieces[4].rotW, 88);  // the middle piece
    // Grabbed near its right edge and dragged left until 30 pixels show.
    const int x = FieldXOf(4, 70), y = FieldYOf(4), dx = -(game.Pieces[4].posX + 88 - 30);
    handler->MouseDown(kLeftButton, 0, x, y, false);
    handler->MouseMove(0, x + dx, y, true);
    handler->MouseUp(kLeftButton, 0, x + dx, y);
    EXPECT_EQ(game.Pieces[4].posX + game.Pieces[4].rotW, 40);

    // Strict: each piece shows its middle half.
    game.Pieces[4].posX = -30;
    game.Pieces[4].posY = kFieldH - 50;
    handler->KeepInside(MW_SIDE0, true);
    EXPECT_EQ(game.Pieces[4].posX, -22);
    EXPECT_EQ(game.Pieces[4].posY + 88 - 22, kFieldH);
}

TEST_F(PieceHandling, LooseKeepingLeavesAGroupAloneWhileOnePieceIsInSight) {
    Fresh(3, 2);
    JoinByHand(game, {0, 1, 2});
    for (int i : {0, 1, 2}) game.Pieces[i].posX -= 120;  // pieces 0 and 1 too far out, piece 2 in
    const std::vector<TPiece> before = Snapshot(game);
    handler->KeepInside(MW_SIDE0, false);
    EXPECT_TRUE(SamePieces(Snapshot(game), before));
    handler->KeepInside(MW_SIDE0, true);
    EXPECT_GT(game.Pieces[0].posX, before[0].posX);
}

// ------------------------------------------------------------------ sound and star

TEST_F(PieceHandling, AJoinPlaysTheSoundAndTheStarWhenAskedTo) {
    TMyBitmap star;
    ASSERT_TRUE(Create32(star, 119, 23));
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 119; ++x) {
            uint8_t* px = PixelPtr(star, x, y);
            px[0] = px[1] = px[2] = 255;
            px[3] = 255;
        }
    handler->SetStarImage(&star);
    std::vector<TMyRect> shown;
    view.Invalidate = [&](const TMyRect& r) { shown.push_back(r); };

    Fresh(2, 1);
    PlaceBeside(game, 1, 0, 2, 2);
    Drag(1, 0, 0);
    ASSERT_TRUE(Joined(0, 1));
    EXPECT_TRUE(fp.Sounds.empty());
    EXPECT_EQ(fp.Ticks, 0u);

    settings.CB_SoundPlay = true;
    settings.CB_VisualShowJoin = true;
    Fresh(2, 1);
    PlaceBeside(game, 1, 0, 2, 2);
    shown.clear();
    Drag(1, 0, 0);
    ASSERT_TRUE(Joined(0, 1));
    EXPECT_EQ(fp.Sounds, std::vector<std::string>{"set.wav"});
    EXPECT_EQ(fp.Ticks, 6u * 18u);
    // Six 23 x 23 frames around the middle of the two pieces' boxes, the field restored after.
    int stars = 0;
    for (const TMyRect& r : shown) stars += r.Width == 23 && r.Height == 23;
    EXPECT_EQ(stars, 6);
    TMyBitmap fresh;
    EXPECT_TRUE(Create24(fresh, kFieldW, kFieldH));
    TMyRect all;
    SetPosSize(all, 0, 0, kFieldW, kFieldH);
    ComposeRect(fresh, all, wins, layers);
    EXPECT_EQ(std::memcmp(fresh.Bits, view.Field.Bits, static_cast<size_t>(fresh.Size)), 0);
}

}  // namespace
}  // namespace orvel::testing
