// The helpers for big puzzles on real cuts: the edge pieces sorted into a
// pocket, and the lost-piece finder walking the hidden groups.
#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "AppTestUtil.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "play/PieceGeometry.h"

namespace orvel::test {
namespace {

class SortAndFind : public OrvelAppTest {
protected:
    void SetUp() override {
        OrvelAppTest::SetUp();
        fp.Screen.ScreenW = 800;
        fp.Screen.ScreenH = 600;
        fp.Screen.WorkArea = {0, 0, 799, 599};
        Start();
        app->Settings.EmbossStyle = 0;
        app->Settings.WoodStyle = 0;
        path = dir.Path() + "/pattern.orv";
        TJigsawContent c;
        c.ImageW = 320;
        c.ImageH = 240;
        c.Label = "pattern";
        c.Thumb = JpegOf(PatternPicture(40, 30));
        c.Descriptions = {"A pattern"};
        c.Pictures = {BitmapOf(PatternPicture(320, 240))};
        ASSERT_TRUE(WriteJigsaw(path, c).Ok());
    }
    void Open(int shape, bool border, bool rotate, int level) {
        app->Settings.ShapeStyle = static_cast<uint8_t>(shape);
        app->Settings.BorderStyle = border ? 1 : 0;
        app->Settings.Rotate = rotate;
        app->Settings.Level = level;
        app->OpenFile(path);
        ASSERT_TRUE(app->Game.GameLoaded);
        n = PiecesInPlay(app->Game);
    }
    // Every piece's place in a grid on the first side, none touching another.
    void SpreadApart() {
        TGame& g = app->Game;
        const int step = g.Header.MaskS + g.Header.KnobDepth;
        const int cols = Max(1, app->Wins.Wins[MW_SIDE0].Client.Width / step);
        for (int i = 0; i < n; ++i) {
            TPiece& p = g.Pieces[i];
            p.window = MW_SIDE0;
            p.posX = (i % cols) * step;
            p.posY = (i / cols) * step;
        }
    }
    std::vector<int> Selected() const {
        std::vector<int> s;
        for (int i = 0; i < n; ++i)
            if (app->Game.Pieces[i].selected) s.push_back(i);
        return s;
    }
    TGame& g() { return app->Game; }
    std::string path;
    int n = 0;
};

// The pieces on the picture's outer edge, from the cut's own records: the
// frame piece's neighbours with a border; without one, every piece whose
// colour lies on a side of the picture on the mask.
std::set<int> EdgeOfCut(const TGame& g) {
    std::set<int> edge;
    const GameHeader& h = g.Header;
    const int n = PiecesInPlay(g);
    if (h.BorderStyle == 1) {
        for (int i = 0; i + 1 < n; ++i)
            for (int16_t nb : g.Pieces[i].neighbours)
                if (nb == n - 1) edge.insert(i);
        return edge;
    }
    const auto mark = [&](int x, int y) {
        const uint8_t code = PixelPtr(g.Buffers[4], x, y)[0];
        for (int i = 0; i < n; ++i) {
            const TPiece& p = g.Pieces[i];
            if (p.MaskCode == code && x >= p.boxX && x < p.boxX + p.boxW && y >= p.boxY &&
                y < p.boxY + p.boxH)
                edge.insert(i);
        }
    };
    for (int x = 0; x < h.ImageW; ++x) {
        mark(x, 0);
        mark(x, h.ImageH - 1);
    }
    for (int y = 0; y < h.ImageH; ++y) {
        mark(0, y);
        mark(h.ImageW - 1, y);
    }
    return edge;
}

TEST_F(SortAndFind, EdgePiecesOfEveryShapeGoToThePocketAndJoinedGroupsStay) {
    for (int shape = 0; shape <= 6; ++shape) {
        for (bool border : {false, true}) {
            SCOPED_TRACE("shape " + std::to_string(shape) + (border ? " with" : " without") +
                         " border");
            Open(shape, border, shape % 2 == 0, 10);
            TGame& g = app->Game;
            const std::set<int> edge = EdgeOfCut(g);
            ASSERT_FALSE(edge.empty());
            // A joined pair that holds an edge piece stays where it is.
            const int joined = *edge.begin();
            int partner = -1;
            for (int16_t nb : g.Pieces[joined].neighbours)
                if (partner < 0 && nb >= 0 && nb != FramePieceIndex(g)) partner = nb;
            ASSERT_GE(partner, 0);
            g.Pieces[partner].group = g.Pieces[joined].group;
            g.InvalidateOrder();
            const std::vector<TPiece> before(g.Pieces.begin(), g.Pieces.begin() + n);
            g.Modified = false;
            app->RunCommand(MI_GameSortEdges);

            std::set<std::pair<int, int>> places;
            for (int i = 0; i < n; ++i) {
                const TPiece& p = g.Pieces[i];
                const bool moves = edge.count(i) > 0 && i != joined && i != partner;
                EXPECT_EQ(p.window == MW_POCKET0, moves) << i;
                EXPECT_EQ(p.rotation, before[i].rotation) << i;
                EXPECT_EQ(p.group, before[i].group) << i;
                EXPECT_EQ(p.selected, 0) << i;
                if (moves) {
                    EXPECT_TRUE(places.insert({p.posX, p.posY}).second) << i;
                } else {
                    EXPECT_EQ(p.posX, before[i].posX) << i;
                    EXPECT_EQ(p.posY, before[i].posY) << i;
                }
            }
            EXPECT_TRUE(app->Wins.Wins[MW_POCKET0].Visible);
            EXPECT_EQ(app->Wins.Wins[MW_POCKET0].Groups, static_cast<int>(places.size()));
            EXPECT_TRUE(g.Modified);
            // Sorting again finds nothing new: the pieces already lie there.
            const std::vector<TPiece> sorted(g.Pieces.begin(), g.Pieces.begin() + n);
            g.Modified = false;
            app->RunCommand(MI_GameSortEdges);
            for (int i = 0; i < n; ++i) {
                EXPECT_EQ(g.Pieces[i].posX, sorted[i].posX) << i;
                EXPECT_EQ(g.Pieces[i].window, sorted[i].window) << i;
            }
            EXPECT_FALSE(g.Modified);
        }
    }
}

TEST_F(SortAndFind, UnborderedCellCutsRecordEveryBorderEdgeTheSorterFinds) {
    // A cell's neighbour list records a side of the picture as -1 before
    // its shorter edges: such a piece is always among the edge pieces.
    for (int shape = 0; shape <= 3; ++shape) {
        Open(shape, false, false, 10);
        const std::set<int> edge = EdgeOfCut(app->Game);
        app->RunCommand(MI_GameSortEdges);
        for (int i = 0; i < n; ++i) {
            const auto& nb = app->Game.Pieces[i].neighbours;
            const bool recorded =
                std::adjacent_find(std::begin(nb), std::end(nb), [](int16_t a, int16_t b) {
                    return a < 0 && b >= 0;
                }) != std::end(nb);
            if (recorded) {
                EXPECT_EQ(app->Game.Pieces[i].window, MW_POCKET0) << shape << " " << i;
            }
            EXPECT_EQ(app->Game.Pieces[i].window == MW_POCKET0, edge.count(i) > 0) << i;
        }
    }
}

TEST_F(SortAndFind, FinderVisitsEachHiddenGroupOncePerRoundAndNoVisibleOne) {
    Open(4, false, false, 10);
    ASSERT_GE(n, 12);
    SpreadApart();
    TGame& g = app->Game;
    // A pile: pieces 3, 5, 7 and the joined pair 8 + 9 under piece 10, all
    // at one place; the pair counts as one group.
    const std::vector<int> pile{3, 5, 7, 8, 9, 10};
    for (int i : pile) {
        g.Pieces[i].posX = g.Pieces[pile.back()].posX;
        g.Pieces[i].posY = g.Pieces[pile.back()].posY;
    }
    for (int i = 0; i < n; ++i) g.Pieces[i].group = i;
    g.Pieces[9].group = 8;
    g.Pieces[10].group = n;  // on top of the pile
    g.InvalidateOrder();
    app->RequestFullRedraw();
    app->FlushFieldUpdate();

    std::vector<int> visited;
    for (int press = 0; press < 12; ++press) {
        app->RunCommand(MI_GameFindLost);
        const std::vector<int> sel = Selected();
        ASSERT_FALSE(sel.empty()) << press;
        for (int i : sel) EXPECT_NE(std::find(pile.begin(), pile.end(), i), pile.end()) << i;
        // The group shown is raised above all others.
        int32_t top = 0;
        for (int i = 0; i < n; ++i) top = Max(top, g.Pieces[i].group);
        EXPECT_EQ(g.Pieces[sel.front()].group, top);
        if (std::find(visited.begin(), visited.end(), sel.front()) != visited.end()) break;
        visited.push_back(sel.front());
    }
    // One round: every group of the pile once (the pair by its first
    // piece), the one on top too once something else covers it.
    std::sort(visited.begin(), visited.end());
    EXPECT_EQ(visited, (std::vector<int>{3, 5, 7, 8, 10}));
    EXPECT_TRUE(fp.Messages.empty());
}

TEST_F(SortAndFind, FinderSaysSoWhenNothingIsLostAndSortKeysAreFree) {
    Open(5, true, false, 11);
    SpreadApart();
    // The frame lies under everything; its ring covers no piece.
    for (int i = 0; i < n; ++i) g().Pieces[i].group = i + 1;
    g().Pieces[n - 1].group = 0;
    g().Pieces[n - 1].posX = g().Pieces[n - 1].posY = 0;
    g().InvalidateOrder();
    Key('F');
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_EQ(fp.Messages[0].Kind, MsgKind::Info);
    EXPECT_FALSE(fp.Messages[0].Text.empty());
    EXPECT_TRUE(Selected().empty());
    // E sorts; no other item has E or F.
    Key('E');
    EXPECT_EQ(app->CommandLog.back(), MI_GameSortEdges);
    for (const TMenuItemDef& d : MenuItems())
        if (d.Cmd != MI_GameSortEdges && d.Cmd != MI_GameFindLost) {
            EXPECT_NE(d.Key, 'E') << d.Name;
            EXPECT_NE(d.Key, 'F') << d.Name;
        }
}

}  // namespace
}  // namespace orvel::test
