// The window commands on an opened jigsaw: pockets shown, tiled and closed,
// gathering, arranging, switching sides in the middle of a drag, a side's
// scroll bar and the background pictures.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "AppTestUtil.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "play/PieceGeometry.h"

namespace orvel::test {
namespace {

class WindowCommands : public OrvelAppTest {
protected:
    void SetUp() override {
        OrvelAppTest::SetUp();
        fp.Screen.ScreenW = 800;
        fp.Screen.ScreenH = 600;
        fp.Screen.WorkArea = {0, 0, 799, 599};
        Start();
        app->Settings.Level = 12;
        app->Settings.EmbossStyle = 0;
        app->Settings.WoodStyle = 0;
        const std::string path = dir.Path() + "/pattern.orv";
        TJigsawContent c;
        c.ImageW = 320;
        c.ImageH = 240;
        c.Label = "pattern";
        c.Thumb = JpegOf(PatternPicture(40, 30));
        c.Descriptions = {"A pattern"};
        c.Pictures = {BitmapOf(PatternPicture(320, 240))};
        ASSERT_TRUE(WriteJigsaw(path, c).Ok());
        app->OpenFile(path);
        ASSERT_TRUE(app->Game.GameLoaded);
        n = app->Game.Header.TotalTileNum;
        ASSERT_GE(n, 12);
    }
    TMyWin& Win(int id) { return app->Wins.Wins[id]; }
    // A field point where piece i can be picked up on the window it lies in.
    bool PiecePoint(int i, int& x, int& y) {
        TGame& g = app->Game;
        const TPiece& p = g.Pieces[i];
        const TMyBitmap& mask = g.Mask(p.rotation & 3);
        for (int dy = p.rotH / 2; dy < p.rotH; ++dy)
            for (int dx = p.rotW / 2; dx < p.rotW; ++dx)
                if (PixelPtr(mask, p.srcX + dx, p.srcY + dy)[0] == p.MaskCode) {
                    x = FieldX(Win(p.window), p.posX + dx);
                    y = FieldY(Win(p.window), p.posY + dy);
                    return true;
                }
        return false;
    }
    int n = 0;
};

TEST_F(WindowCommands, PocketsAppearStepwiseTileAndHideByTheirCloseButton) {
    const TPlayArea& a = app->PlayArea;
    const int q = a.PlayW / 4;
    app->RunCommand(MI_PocketsPocket1);
    app->RunCommand(MI_PocketsPocket2);
    app->RunCommand(MI_PocketsPocket3);
    EXPECT_EQ(Win(MW_POCKET0).Outer.Left, a.PlayW - q);
    EXPECT_EQ(Win(MW_POCKET2).Outer.Left, Win(MW_POCKET1).Outer.Left - 40);
    EXPECT_EQ(Win(MW_POCKET2).Outer.Top, Win(MW_POCKET1).Outer.Top + 40);
    EXPECT_TRUE(app->Menu().Checked[MI_PocketsPocket3]);
    EXPECT_TRUE(app->Toolbar().Buttons[BI_Pocket3].Down);

    // A piece put in the second pocket, which is then hidden: tiling shows it again.
    app->Game.Pieces[0].window = MW_POCKET1;
    app->PocketChanged(MW_POCKET1);
    EXPECT_EQ(app->Toolbar().Buttons[BI_Pocket2].Image, 10);
    app->RunCommand(MI_PocketsPocket2);
    EXPECT_FALSE(Win(MW_POCKET1).Visible);
    app->RunCommand(MI_PocketsTile);
    for (int k = 0; k < 3; ++k) {
        const TMyWin& w = Win(MW_POCKET0 + k);
        EXPECT_TRUE(w.Visible);
        EXPECT_EQ(w.Outer.Left, a.PlayW - q);
        EXPECT_EQ(w.Outer.Top, k * (a.PlayH / 3));
        EXPECT_EQ(w.Outer.Height, a.PlayH / 3);
    }

    // Moved by its caption: each step draws over the still field what a whole
    // composition would draw.
    TMyWin& p1 = Win(MW_POCKET0);
    const int cx = p1.Outer.Left + 30, cy = p1.Outer.Top + 8;
    app->FieldMouseDown(cx, cy, 0, 0);
    for (int k = 1; k <= 4; ++k) app->FieldMouseMove(cx - 60 * k, cy + 40 * k, true, 0);
    EXPECT_EQ(p1.Outer.Left, a.PlayW - q - 240);
    TMyBitmap stepped;
    ASSERT_TRUE(CopyFromBitmap(stepped, app->View.Field));
    app->RequestFullRedraw();
    app->FlushFieldUpdate();
    int differ = 0;
    for (int y = 0; y < app->View.FieldH; ++y)
        differ += std::memcmp(RowPtr(stepped, y), RowPtr(app->View.Field, y),
                              static_cast<size_t>(app->View.FieldW) * 3) != 0;
    EXPECT_EQ(differ, 0) << "rows that differ from a whole composition";
    app->FieldMouseUp(cx - 240, cy + 160, 0, 0);

    // The close button, pressed and released with the mouse.
    const TMyRect close = Win(MW_POCKET2).Button(TWinButtonId::Close).Bounds;
    app->FieldMouseDown(close.Left + 5, close.Top + 5, 0, 0);
    app->FieldMouseUp(close.Left + 5, close.Top + 5, 0, 0);
    EXPECT_FALSE(Win(MW_POCKET2).Visible);
    EXPECT_FALSE(app->Menu().Checked[MI_PocketsPocket3]);
}

TEST_F(WindowCommands, GatherAsksThenBringsEverythingToTheFirstSide) {
    TGame& g = app->Game;
    g.Pieces[1].window = MW_POCKET0;
    g.Pieces[2].window = MW_SIDE1;
    app->ShowPocket(0, true);
    app->PocketChanged(MW_POCKET0);
    // Half of the pieces in one group, stacked on top of all others.
    for (int i = 0; i < n / 2; ++i) g.Pieces[i].group = n;
    g.InvalidateOrder();
    fp.QueueAnswer(MsgResult::No);
    app->RunCommand(MI_GameGather);
    EXPECT_EQ(g.Pieces[1].window, MW_POCKET0);
    fp.QueueAnswer(MsgResult::Yes);
    app->RunCommand(MI_GameGather);
    for (int i = 0; i < n; ++i) {
        const TPiece& p = g.Pieces[i];
        EXPECT_EQ(p.window, MW_SIDE0);
        EXPECT_EQ(p.group == g.Pieces[0].group, i < n / 2) << i;
        if (i >= n / 2) {
            EXPECT_GT(p.group, g.Pieces[0].group) << i;
        }
        // Kept strictly inside: the middle half of every piece shows.
        EXPECT_GE(p.posX + p.rotW - p.rotW / 4, 0);
        EXPECT_LE(p.posX + p.rotW / 4, Win(MW_SIDE0).ContentW);
    }
    EXPECT_FALSE(Win(MW_POCKET0).Visible);
    EXPECT_EQ(Win(MW_POCKET0).Groups, 0);
    EXPECT_EQ(g.CurSide, 0);
}

TEST_F(WindowCommands, SelectAllThenArrangeOnTheSide) {
    EXPECT_FALSE(app->Menu().Enabled[MI_GameArrange]);
    app->RunCommand(MI_GameSelectAll);
    ASSERT_TRUE(app->Game.HasSelection);
    EXPECT_TRUE(app->Menu().Enabled[MI_GameArrange]);
    EXPECT_EQ(app->Menu().Captions[MI_GameSelectAll].find("1") != std::string::npos, true);
    app->RunCommand(MI_GameArrange);
    // Every piece on its own place of an evenly spaced grid.
    const TGame& g = app->Game;
    std::set<int> xs, ys;
    std::set<std::pair<int, int>> places;
    for (int i = 0; i < n; ++i) {
        xs.insert(g.Pieces[i].posX);
        ys.insert(g.Pieces[i].posY);
        places.insert({g.Pieces[i].posX, g.Pieces[i].posY});
    }
    EXPECT_EQ(static_cast<int>(places.size()), n);
    for (const std::set<int>* axis : {&xs, &ys}) {
        ASSERT_GE(axis->size(), 2u);
        const int step = *std::next(axis->begin()) - *axis->begin();
        EXPECT_GE(step, g.Header.TileS);
        int expect = *axis->begin();
        for (int v : *axis) {
            EXPECT_EQ(v, expect);
            expect += step;
        }
    }
    EXPECT_TRUE(g.Modified);
}

TEST_F(WindowCommands, SwitchingSidesWhileDraggingCarriesTheGroup) {
    BringGroupToTop(app->Game, 3);
    int x = 0, y = 0;
    ASSERT_TRUE(PiecePoint(3, x, y));
    app->FieldMouseDown(x, y, 0, 0);
    ASSERT_EQ(app->Game.DragMode, TDragMode::Dragging);
    app->FieldMouseMove(x + 10, y + 10, true, 0);
    Key(kKeySpace);
    EXPECT_EQ(app->Game.CurSide, 1);
    EXPECT_EQ(app->Game.Pieces[3].window, MW_SIDE1);
    const int before = app->Game.Pieces[3].posX;
    app->FieldMouseMove(x + 30, y + 10, true, 0);
    app->FieldMouseUp(x + 30, y + 10, 0, 0);
    EXPECT_EQ(app->Game.Pieces[3].window, MW_SIDE1);
    EXPECT_EQ(app->Game.Pieces[3].posX, before + 20);
    for (int i = 0; i < n; ++i)
        if (i != 3 && app->Game.Pieces[i].group != app->Game.Pieces[3].group) {
            EXPECT_EQ(app->Game.Pieces[i].window, MW_SIDE0);
        }
}

TEST_F(WindowCommands, ApplyBackgroundsLoadsOnePictureAndGreysAnotherCode) {
    app->Settings.WinBkg = {10, 13, 0x123456, 10, 0x989898, 0x989898};
    app->ApplyBackgrounds();
    EXPECT_EQ(Win(MW_SIDE0).Background, 10);
    EXPECT_EQ(Win(MW_SIDE1).Background, 0x989898);
    EXPECT_EQ(Win(MW_POCKET0).Background, 0x123456);
    EXPECT_EQ(Win(MW_POCKET1).Background, 10);
    EXPECT_EQ(app->Settings.WinBkg[1], 0x989898u);
    ASSERT_EQ(app->Wins.BkgPictureCode, 10);
    const TMyBitmap& pic = *app->Wins.BkgPicture;
    EXPECT_GE(pic.Width, app->PlayArea.PlayFullW);
    EXPECT_GE(pic.Height, app->PlayArea.PlayFullH);
    // The side's client shows the picture where no piece lies.
    for (int i = 0; i < n; ++i) app->Game.Pieces[i].posX = app->Game.Pieces[i].posY = 0;
    app->RequestFullRedraw();
    app->FlushFieldUpdate();
    const TMyWin& side = Win(MW_SIDE0);
    const int cx = side.Client.Left + side.Client.Width - 3;
    const int cy = side.Client.Top + side.Client.Height - 3;
    EXPECT_EQ(GetPixel(app->View.Field, cx, cy),
              GetPixel(pic, cx - side.Client.Left, cy - side.Client.Top));
    // Without the pictures every code falls back to grey.
    app->Paths.AppDir = dir.Path() + "/nowhere/";
    app->Settings.WinBkg = {0x111111, 14, 0x989898, 0x989898, 0x989898, 14};
    app->ApplyBackgrounds();
    EXPECT_EQ(Win(MW_SIDE1).Background, 0x989898);
    EXPECT_EQ(Win(MW_POCKET3).Background, 0x989898);
    EXPECT_EQ(Win(MW_SIDE0).Background, 0x111111);
}

TEST_F(WindowCommands, FullScreenKeepsEveryPieceStrictlyInsideTheNewArea) {
    TGame& g = app->Game;
    const TPlayArea before = app->PlayArea;
    // A piece near the far corner of the old area.
    g.Pieces[0].posX = Win(MW_SIDE0).ContentW - g.Pieces[0].rotW / 2;
    g.Pieces[0].posY = Win(MW_SIDE0).ContentH - g.Pieces[0].rotH / 2;
    app->RunCommand(MI_FullScreen);
    ASSERT_FALSE(app->PlayArea == before);
    const TMyWin& side = Win(MW_SIDE0);
    EXPECT_EQ(side.ContentW, std::max(app->PlayArea.PlayW, g.Header.ImageW));
    for (int i = 0; i < n; ++i) {
        const TPiece& p = g.Pieces[i];
        EXPECT_GT(p.posX + p.rotW / 4, 0) << i;
        EXPECT_LE(p.posX + p.rotW - p.rotW / 4, side.ContentW) << i;
        EXPECT_GT(p.posY + p.rotH / 4, 0) << i;
        EXPECT_LE(p.posY + p.rotH - p.rotH / 4, side.ContentH) << i;
    }
}

}  // namespace
}  // namespace orvel::test
