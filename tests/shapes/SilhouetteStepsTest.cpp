// The re-routing and joining steps of shape style 3 on small hand-made cells.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "cutter/CellCutter.h"
#include "cutter/CutCommon.h"
#include "cutter/MaskAccess.h"
#include "cutter/Silhouettes.h"

namespace orvel {
namespace {

using Ends = std::array<int, 4>;
Ends EndsOf(const CellEdge& e) {
    return {int(e.x1), int(e.y1), int(e.x2), int(e.y2)};
}

// The end of a side with the given corner link: x, y (-1, -1 when none has it).
std::array<int, 2> EndWithCorner(const CellEdge& e, int corner) {
    if (e.corner1 == corner) return {int(e.x1), int(e.y1)};
    if (e.corner2 == corner) return {int(e.x2), int(e.y2)};
    return {-1, -1};
}

// A 200 x 200 work mask, the whole of it the jigsaw area, and n pieces in one row.
struct Scene {
    TGame game;
    std::unique_ptr<CellCutState> c;

    explicit Scene(int n) {
        GameHeader& h = game.Header;
        h.ImageW = h.ImageH = 200;
        h.TileNum = n;
        h.TilePX = n;
        h.TilePY = 1;
        game.Pieces.assign(size_t(n) + 1, TPiece{});
        for (int k = 0; k < n; ++k) {
            game.Pieces[k].MaskCode = uint8_t(25 + 25 * k);
            for (auto& nb : game.Pieces[k].neighbours) nb = -1;
        }
        c = std::make_unique<CellCutState>(game, CutEnvironment{});
        cutcommon::CreateWorkMask(c->work, 200, 200);
        cutcommon::ClearWorkMask(c->work, 200, 200);
        c->area = {0, 0, 199, 199};
        c->sites.assign(size_t(n), CutSite{});
    }
    // Marks piece p as a silhouette covering the rectangle, with its seed.
    void Silhouette(int p, int l, int t, int r, int b, int seedX, int seedY) {
        TPiece& pic = game.Pieces[p];
        pic.isPicture = 1;
        pic.boxX = l, pic.boxY = t, pic.boxW = r - l + 1, pic.boxH = b - t + 1;
        pic.seedX = seedX, pic.seedY = seedY;
        Paint(p, l, t, r, b);
    }
    void Paint(int p, int l, int t, int r, int b) {
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x)
                MaskSet(c->work, x, y, PieceColor(game.Pieces[p].MaskCode));
    }
    CellEdge& Edge(int k, int x1, int y1, int x2, int y2, int neighbour) {
        CutSite& s = c->sites[size_t(k)];
        CellEdge& e = s.edges[s.edgeCount++];
        e.x1 = e.rx1 = x1, e.y1 = e.ry1 = y1, e.x2 = e.rx2 = x2, e.y2 = e.ry2 = y2;
        e.neighbour = int16_t(neighbour);
        e.active = 1;
        return e;
    }
};

// Piece 0's side towards piece 1 runs from I = (20, 100) a little downwards to
// (70, 104) and meets the silhouette of piece 2 at its lower end. The
// silhouette's seed lies up and to the right of I, so that the angle towards
// the seed (about 342 degrees) and the side's direction (about 5 degrees) lie
// on both sides of angle 0. Pixels of the silhouette's colour lie both above
// and below the side; turning towards the seed must reach the ones above.
TEST(SilhouetteSteps, SidesTurnTheShortWayRoundTowardsTheSeed) {
    Scene s(3);
    s.Silhouette(2, 55, 80, 65, 88, 80, 80);
    s.Paint(2, 55, 112, 65, 120);
    s.game.Pieces[2].boxH = 120 - 80 + 1;
    s.game.Pieces[0].seedX = 40, s.game.Pieces[0].seedY = 140;
    s.game.Pieces[1].seedX = 40, s.game.Pieces[1].seedY = 60;
    CellEdge& side = s.Edge(0, 20, 100, 70, 104, 1);
    s.Edge(0, 70, 104, 90, 130, 2);
    silhouette::RerouteEdges(*s.c);
    ASSERT_TRUE(side.changed);
    // The anchor stays; the other end now lies beside the upper pixels.
    EXPECT_EQ(side.x2, 20);
    EXPECT_EQ(side.y2, 100);
    EXPECT_EQ(side.corner1, 2);
    EXPECT_EQ(side.corner2, -1);
    EXPECT_LE(side.y1, 89);
    EXPECT_GE(side.x1, 54);
}

// The silhouette keeps clear of the side's end by more than the side is
// long, so no turn of the side itself reaches it; the side is carried on past
// its end and still closes on the outline.
TEST(SilhouetteSteps, ASilhouetteBeyondTheSidesReachIsStillMet) {
    Scene s(3);
    s.Silhouette(2, 80, 95, 90, 105, 85, 100);
    s.game.Pieces[0].seedX = 30, s.game.Pieces[0].seedY = 130;
    s.game.Pieces[1].seedX = 30, s.game.Pieces[1].seedY = 70;
    CellEdge& side = s.Edge(0, 20, 100, 50, 100, 1);
    s.Edge(0, 50, 100, 60, 130, 2);
    silhouette::RerouteEdges(*s.c);
    ASSERT_TRUE(side.changed);
    EXPECT_EQ(EndWithCorner(side, -1), (std::array<int, 2>{20, 100}));
    const auto moved = EndWithCorner(side, 2);
    EXPECT_EQ(moved[0], 79);
    EXPECT_GE(moved[1], 94);
    EXPECT_LE(moved[1], 106);
}

// The nearest-point rule picks the upper end of piece 0's side towards piece
// 1 (the silhouette's seed lies below it). When that end cannot move, the
// other end goes to the silhouette instead and the picked end stays put.
struct PickedEndFixed : Scene {
    CellEdge* side;
    PickedEndFixed(int startX, int seedX) : Scene(4) {
        Silhouette(2, startX + 46, 98, startX + 60, 110, seedX, 130);
        game.Pieces[0].seedX = startX + 20, game.Pieces[0].seedY = 140;
        game.Pieces[1].seedX = startX + 20, game.Pieces[1].seedY = 60;
        side = &Edge(0, startX, 100, startX + 50, 104, 1);
        Edge(0, startX + 50, 104, startX + 70, 130, 2);
    }
};

TEST(SilhouetteSteps, AnEndThatMeetsAnotherSilhouetteStaysAndTheOtherEndMoves) {
    PickedEndFixed s(20, 25);
    s.side->corner1 = 3;
    silhouette::RerouteEdges(*s.c);
    ASSERT_TRUE(s.side->changed);
    EXPECT_EQ(EndWithCorner(*s.side, 3), (std::array<int, 2>{20, 100}));
    const auto moved = EndWithCorner(*s.side, 2);
    EXPECT_GE(moved[0], 64);
    EXPECT_LE(moved[0], 66);
}

TEST(SilhouetteSteps, AnEndOnTheBorderOfTheJigsawAreaStays) {
    PickedEndFixed s(0, 5);
    silhouette::RerouteEdges(*s.c);
    ASSERT_TRUE(s.side->changed);
    EXPECT_EQ(EndWithCorner(*s.side, -1), (std::array<int, 2>{0, 100}));
    const auto moved = EndWithCorner(*s.side, 2);
    EXPECT_GE(moved[0], 44);
    EXPECT_LE(moved[0], 46);
}

// The cells of pieces 0 and 1 meet only in a point on the lower border of the
// area, where the cell of silhouette 2 reaches down between them: their side
// has shrunk to that point. It still runs up to the outline from there.
TEST(SilhouetteSteps, ASidePinchedToAPointOnTheBorderRunsToTheOutline) {
    Scene s(3);
    s.Silhouette(2, 90, 110, 110, 130, 100, 120);
    s.game.Pieces[0].seedX = 60, s.game.Pieces[0].seedY = 170;
    s.game.Pieces[1].seedX = 140, s.game.Pieces[1].seedY = 170;
    CellEdge& side = s.Edge(0, 100, 199, 100, 199, 1);
    s.Edge(0, 60, 140, 100, 199, 2);
    silhouette::RerouteEdges(*s.c);
    ASSERT_TRUE(side.changed);
    EXPECT_EQ(EndWithCorner(side, -1), (std::array<int, 2>{100, 199}));
    EXPECT_EQ(EndWithCorner(side, 2), (std::array<int, 2>{100, 131}));
}

// Piece 0's side towards piece 1 keeps its start at silhouette 3; its end,
// where the side towards silhouette 2 begins, cannot turn to 2's outline
// (2 lies behind the start, and no line from the start to it parts the two
// pieces' seeds). A new side between the two pieces runs from that end to
// the outline instead, and the end is linked to 2 so that it is not tried
// again.
TEST(SilhouetteSteps, ASideThatCannotTurnToTheOutlineGetsANewSideToIt) {
    Scene s(3);
    s.Silhouette(2, 40, 40, 50, 50, 45, 45);
    s.game.Pieces[0].seedX = 120, s.game.Pieces[0].seedY = 130;
    s.game.Pieces[1].seedX = 140, s.game.Pieces[1].seedY = 140;
    CellEdge& side = s.Edge(0, 100, 100, 140, 100, 1);
    side.corner1 = 3;
    s.Edge(0, 140, 100, 160, 140, 2);
    silhouette::RerouteEdges(*s.c);
    EXPECT_FALSE(side.changed);
    EXPECT_EQ(EndsOf(side), (Ends{100, 100, 140, 100}));
    EXPECT_EQ(side.corner2, 2);
    ASSERT_EQ(s.c->sites[0].edgeCount, 3);
    ASSERT_EQ(s.c->sites[1].edgeCount, 1);
    const CellEdge& added = s.c->sites[0].edges[2];
    const CellEdge& twin = s.c->sites[1].edges[0];
    EXPECT_TRUE(added.active);
    EXPECT_EQ(added.neighbour, 1);
    EXPECT_EQ(added.twin, 0);
    EXPECT_EQ(twin.neighbour, 0);
    EXPECT_EQ(twin.twin, 2);
    EXPECT_EQ(EndsOf(twin), EndsOf(added));
    // One end where the sides met, the other on the silhouette.
    const Ends e = EndsOf(added);
    EXPECT_EQ((std::array<int, 2>{e[2], e[3]}), (std::array<int, 2>{140, 100}));
    EXPECT_EQ(MaskGet(s.c->work, e[0], e[1]), PieceColor(s.game.Pieces[2].MaskCode));
}

// Piece 0's sides towards pieces 1 and 2 were both bent to the silhouette of
// piece 3 and cross at (25, 30).
struct CrossedSides : Scene {
    CellEdge* a;
    CellEdge* b;
    CrossedSides() : Scene(5) {
        Silhouette(3, 5, 50, 45, 60, 25, 55);
        a = &Edge(0, 10, 10, 40, 50, 1);
        b = &Edge(0, 40, 10, 10, 50, 2);
        for (CellEdge* e : {a, b}) e->changed = 1, e->corner2 = 3;
    }
};

TEST(SilhouetteSteps, CrossedSidesAreCutAndJoinedToTheSilhouette) {
    CrossedSides s;
    ASSERT_EQ(silhouette::JoinCrossedEdges(*s.c), JoinFailure::None);
    EXPECT_EQ(EndsOf(*s.a), (Ends{10, 10, 25, 30}));
    EXPECT_EQ(EndsOf(*s.b), (Ends{40, 10, 25, 30}));
    EXPECT_EQ(s.a->corner2, -1);
    EXPECT_EQ(s.b->corner2, -1);
    // The new side from X straight towards the seed, to the first pixel of the
    // silhouette, is a twin pair between pieces 1 and 2.
    for (int k : {1, 2}) {
        const CutSite& site = s.c->sites[size_t(k)];
        ASSERT_EQ(site.edgeCount, 1) << k;
        const CellEdge& e = site.edges[0];
        EXPECT_TRUE(e.active);
        EXPECT_EQ(e.neighbour, 3 - k);
        EXPECT_EQ(e.twin, 0);
        EXPECT_EQ(EndsOf(e), (Ends{25, 30, 25, 50}));
    }
    // The neighbour lists are those of the cells; joining does not change them.
    for (int k = 0; k < 5; ++k)
        for (int16_t nb : s.game.Pieces[k].neighbours) EXPECT_EQ(nb, -1) << k;
}

// The piece's seed lies between the crossing and the silhouette: joined,
// the piece would keep only the corner above the crossing and its seed would
// fall to a neighbour. The sides are left as they are.
TEST(SilhouetteSteps, CrossedSidesWithTheSeedBeyondTheCrossingAreNotJoined) {
    CrossedSides s;
    s.game.Pieces[0].seedX = 25, s.game.Pieces[0].seedY = 44;
    const CellEdge a = *s.a, b = *s.b;
    EXPECT_EQ(silhouette::JoinCrossedEdges(*s.c), JoinFailure::None);
    EXPECT_EQ(EndsOf(*s.a), EndsOf(a));
    EXPECT_EQ(EndsOf(*s.b), EndsOf(b));
    EXPECT_EQ(s.c->sites[1].edgeCount, 0);
    EXPECT_EQ(s.c->sites[2].edgeCount, 0);
}

TEST(SilhouetteSteps, CrossedSidesTowardsTwoSilhouettesAreLeftAsTheyAre) {
    CrossedSides s;
    s.Silhouette(4, 150, 150, 160, 160, 155, 155);
    s.b->corner2 = 4;
    const CellEdge a = *s.a, b = *s.b;
    EXPECT_EQ(silhouette::JoinCrossedEdges(*s.c), JoinFailure::None);
    EXPECT_EQ(EndsOf(*s.a), EndsOf(a));
    EXPECT_EQ(EndsOf(*s.b), EndsOf(b));
    EXPECT_EQ(s.c->sites[1].edgeCount, 0);
    EXPECT_EQ(s.c->sites[2].edgeCount, 0);
}

TEST(SilhouetteSteps, ASeedOutsideTheOutlineJoinsToTheNearestOutlinePixel) {
    CrossedSides s;
    // The line from X to this seed runs level and never meets the silhouette.
    s.game.Pieces[3].seedX = 150, s.game.Pieces[3].seedY = 30;
    ASSERT_EQ(silhouette::JoinCrossedEdges(*s.c), JoinFailure::None);
    const CellEdge& e = s.c->sites[1].edges[0];
    EXPECT_EQ(EndsOf(e), (Ends{25, 30, 25, 50}));
}

TEST(SilhouetteSteps, NoPixelOfTheSilhouetteAtAllIsANoPixelFailure) {
    CrossedSides s;
    s.game.Pieces[3].seedX = 150, s.game.Pieces[3].seedY = 30;
    cutcommon::ClearWorkMask(s.c->work, 200, 200);
    EXPECT_EQ(silhouette::JoinCrossedEdges(*s.c), JoinFailure::NoPixel);
}

TEST(SilhouetteSteps, NoFreeEdgeSlotIsANoPictureFailure) {
    CrossedSides s;
    s.c->sites[2].edgeCount = kMaxCellEdges;
    EXPECT_EQ(silhouette::JoinCrossedEdges(*s.c), JoinFailure::NoPicture);
}

}  // namespace
}  // namespace orvel
