// The aids through the application core, as the player reaches them: the
// weight placed with the mouse, the game-information form, and the finish
// of a game played to the end with the solved picture saved.
#include <algorithm>
#include <filesystem>
#include <string>

#include "AppTestUtil.h"
#include "app/AutoPlay.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "graphics/ImageCodecs.h"
#include "play/PieceGeometry.h"

namespace orvel::test {
namespace {

class AidsTest : public OrvelAppTest {
protected:
    // A w x h picture with a colour of its own at every pixel, cut at a
    // level of few pieces, on plain faces (the field then shows the
    // picture's own pixels wherever a piece lies on top).
    void OpenPattern(bool rotate, int border, int w = 400, int h = 300) {
        fp.Counter = 4242;
        Start();
        TSettings& s = app->Settings;
        s.Level = 12;
        s.Rotate = rotate;
        s.BorderStyle = static_cast<uint8_t>(border);
        s.EmbossStyle = 0;
        s.WoodStyle = 0;
        const std::string path = dir.Path() + "/pattern.orv";
        TJigsawContent c;
        c.ImageW = w;
        c.ImageH = h;
        c.Label = "pattern";
        c.Thumb = JpegOf(PatternPicture(40, 30));
        c.Descriptions = {"A pattern"};
        c.Pictures = {BitmapOf(PatternPicture(w, h))};
        ASSERT_TRUE(WriteJigsaw(path, c).Ok());
        app->OpenFile(path);
        ASSERT_TRUE(app->Game.GameLoaded) << (fp.Messages.empty() ? "" : fp.Messages[0].Text);
    }

    // The field point of a piece's cell centre, when the piece lies on top there.
    bool VisibleCentre(int piece, int& x, int& y) {
        app->RequestFullRedraw();
        app->FlushFieldUpdate();
        const TPiece& p = app->Game.Pieces[piece];
        const TMyWin& side = app->Wins.Wins[p.window];
        const int cx = p.cellX + p.cellW / 2, cy = p.cellY + p.cellH / 2;
        x = FieldX(side, p.posX - p.boxX + cx);
        y = FieldY(side, p.posY - p.boxY + cy);
        if (!ContainsPoint(side.Client, x, y)) return false;
        return GetPixel(app->View.Field, x, y) == GetPixel(app->Game.Picture(0), cx, cy);
    }

    // A field point of side 0 with nothing but background around it.
    bool EmptyPoint(int& x, int& y) {
        const TMyWin& side = app->Wins.Wins[MW_SIDE0];
        for (y = side.Client.Top + 10; y < side.Client.Bottom - 10; y += 7)
            for (x = side.Client.Left + 10; x < side.Client.Right - 10; x += 7) {
                bool empty = true;
                for (int d = -3; d <= 3 && empty; ++d)
                    empty = GetPixel(app->View.Field, x + d, y) == int32_t{kDefaultBackground} &&
                            GetPixel(app->View.Field, x, y + d) == int32_t{kDefaultBackground};
                if (empty) return true;
            }
        return false;
    }

    void Click(int x, int y) {
        app->FieldMouseMove(x, y, false, 0);
        app->FieldMouseDown(x, y, kLeftButton, 0);
        app->FieldMouseUp(x, y, kLeftButton, 0);
    }
    void PlaceWeightAt(int x, int y) {
        app->RunCommand(MI_GameWeight);
        EXPECT_TRUE(app->Weight.Placing);
        Click(x, y);
        EXPECT_FALSE(app->Weight.Placing);
    }
    // Whether the group of piece lies under every other group.
    bool AtTheBottom(int piece) const {
        const TGame& g = app->Game;
        const int32_t group = g.Pieces[piece].group;
        for (int i = 0; i < PiecesInPlay(g); ++i)
            if (g.Pieces[i].group != group && g.Pieces[i].group < group) return false;
        return true;
    }
};

TEST_F(AidsTest, TheWeightDropsOnAGroupStaysUnderItThroughAJoinAndDropsOffOnNothing) {
    OpenPattern(false, 0);
    TGame& g = app->Game;
    EXPECT_EQ(app->Menu().Captions[MI_GameWeight], "Place Weight");
    // Dropped on an empty place: no weight.
    int x = 0, y = 0;
    ASSERT_TRUE(EmptyPoint(x, y));
    app->RunCommand(MI_GameWeight);
    ASSERT_TRUE(app->Weight.Placing);
    EXPECT_EQ(app->Weight.PointX, -100);  // the mouse is not over the field
    Click(x, y);
    EXPECT_FALSE(app->Weight.Placing);
    EXPECT_EQ(g.WeightPiece, -1);
    EXPECT_EQ(app->Menu().Captions[MI_GameWeight], "Place Weight");
    EXPECT_FALSE(app->Menu().Checked[MI_GameWeight]);
    EXPECT_EQ(app->Toolbar().Buttons[BI_Weight].Image, 14);

    // A piece whose centre shows and a neighbour whose centre shows as well.
    int a = -1, b = -1, ax = 0, ay = 0, bx = 0, by = 0;
    for (int i = 0; i < PiecesInPlay(g) && b < 0; ++i) {
        if (!VisibleCentre(i, ax, ay)) continue;
        for (int16_t n : g.Pieces[i].neighbours)
            if (n >= 0 && n != i && VisibleCentre(n, bx, by)) {
                a = i;
                b = n;
                break;
            }
    }
    ASSERT_GE(b, 0) << "no two neighbours show their centres";
    VisibleCentre(a, ax, ay);
    PlaceWeightAt(ax, ay);
    EXPECT_EQ(g.WeightPiece, a);
    EXPECT_EQ(app->Menu().Captions[MI_GameWeight], "Remove Weight");
    EXPECT_TRUE(app->Menu().Checked[MI_GameWeight]);
    EXPECT_EQ(app->Toolbar().Buttons[BI_Weight].Image, 15);
    EXPECT_TRUE(AtTheBottom(a));

    // Dragging the neighbour to its place joins it to the weighted group,
    // which stays under all others.
    VisibleCentre(b, bx, by);
    const TPiece& pa = g.Pieces[a];
    const TPiece& pb = g.Pieces[b];
    const int dx = (pa.posX - pa.boxX + pb.boxX) - pb.posX + 2;
    const int dy = (pa.posY - pa.boxY + pb.boxY) - pb.posY - 1;
    app->FieldMouseDown(bx, by, kLeftButton, 0);
    for (int s = 1; s <= 4; ++s) app->FieldMouseMove(bx + dx * s / 4, by + dy * s / 4, true, 0);
    app->FieldMouseUp(bx + dx, by + dy, kLeftButton, 0);
    ASSERT_EQ(g.Pieces[a].group, g.Pieces[b].group);
    EXPECT_EQ(g.WeightPiece, a);
    EXPECT_TRUE(AtTheBottom(b));

    // The command takes the weight off again.
    app->RunCommand(MI_GameWeight);
    EXPECT_EQ(g.WeightPiece, -1);
    EXPECT_EQ(app->Menu().Captions[MI_GameWeight], "Place Weight");
}

// The lens shows what lies under the glass however small the part of the
// field drawn again: it never magnifies its own picture.
TEST_F(AidsTest, TheGlassShowsTheSameFieldWhateverPartIsDrawnAgain) {
    OpenPattern(false, 0);
    app->RunCommand(MI_GameGlass);
    TMyWin& glass = app->Wins.Glass;
    ASSERT_TRUE(glass.Visible);
    EXPECT_EQ(glass.Outer.Left, 0);
    EXPECT_EQ(glass.Outer.Top, 0);
    EXPECT_TRUE(app->Menu().Checked[MI_GameGlass]);
    EXPECT_TRUE(app->Toolbar().Buttons[BI_Glass].Down);
    // Over a piece (as the player would have moved it).
    int x = 0, y = 0;
    for (int i = 0; i < PiecesInPlay(app->Game) && !VisibleCentre(i, x, y);) ++i;
    SetPosSize(glass.Outer, Max(0, x - 120), Max(0, y - 120), 240, 240);
    Relayout(glass);
    app->RequestFullRedraw();
    const auto fieldRow = [&](int y) {
        const uint8_t* row = RowPtr(app->View.Field, app->View.Field.Height - 1 - y);
        return std::vector<uint8_t>(row, row + 3 * (glass.Outer.Right + 1));
    };
    for (int zoom : {3, 2}) {
        app->SetGlassZoom(zoom);
        app->FlushFieldUpdate();
        std::vector<std::vector<uint8_t>> whole;
        for (int y = glass.Outer.Top; y <= glass.Outer.Bottom; ++y) whole.push_back(fieldRow(y));
        // A small part inside the lens, drawn again and again.
        TMyRect spot;
        SetPosSize(spot, glass.Client.Left + 100, glass.Client.Top + 110, 30, 9);
        for (int k = 0; k < 3; ++k) {
            RequestUpdate(app->View, FieldUpdate::Button, &spot);
            app->FlushFieldUpdate();
        }
        int changed = 0;
        for (int y = glass.Outer.Top; y <= glass.Outer.Bottom; ++y)
            changed += fieldRow(y) != whole[y - glass.Outer.Top];
        EXPECT_EQ(changed, 0) << "rows of the glass that changed at zoom " << zoom;
    }
    app->RunCommand(MI_GameGlass);
    EXPECT_FALSE(glass.Visible);
    EXPECT_FALSE(app->Menu().Checked[MI_GameGlass]);
}

TEST_F(AidsTest, TheInformationFormShowsTheCountsAndTheOptionsOfTheGame) {
    OpenPattern(true, 1);
    app->RunCommand(MI_GameInfo);
    ASSERT_EQ(window.InfoForms.size(), 1u);
    const TInfoForm& turned = window.InfoForms[0];
    EXPECT_EQ(turned.Caption, "Game Information");
    EXPECT_EQ(turned.PieceNum, "Pieces: " + std::to_string(app->Game.Header.TotalTileNum));
    EXPECT_EQ(turned.SolvedPercent, "Solved: 0%");
    EXPECT_EQ(turned.Rotation, "Rotation");
    EXPECT_TRUE(turned.RotationEnabled);
    EXPECT_EQ(turned.Borders, "With a border frame");
    EXPECT_TRUE(turned.BordersEnabled);
    EXPECT_EQ(turned.Jig, "pattern");
    EXPECT_FALSE(turned.Jig1Visible);
    EXPECT_EQ(turned.Description, "A pattern");
    EXPECT_FALSE(app->Game.Busy);

    // A game with a saved-game file names both.
    app->Game.sSolve = dir.Path() + "/evening.sv1";
    app->Game.Header.Rotate = 0;
    app->Game.Header.BorderStyle = 0;
    app->RunCommand(MI_GameInfo);
    ASSERT_EQ(window.InfoForms.size(), 2u);
    const TInfoForm& upright = window.InfoForms[1];
    EXPECT_FALSE(upright.RotationEnabled);
    EXPECT_FALSE(upright.BordersEnabled);
    EXPECT_EQ(upright.Borders, "No border");
    EXPECT_EQ(upright.Jig, "evening.sv1");
    EXPECT_EQ(upright.Jig1, "(pattern)");
    EXPECT_TRUE(upright.Jig1Visible);
}

TEST_F(AidsTest, TheFinishCentresThePictureSoundsOnlyWithSoundOnAndSavesTheBitmap) {
    for (bool sound : {true, false}) {
        app.reset();
        window = TFakeWindow{};
        fp.Sounds.clear();
        fp.FileChoices.clear();
        OpenPattern(false, 0);
        app->Settings.CB_SoundPlay = sound;
        window.SaveAtFinish = sound;
        const std::string out = dir.Path() + "/solved.bmp";
        fp.QueueFileChoice(out);
        EXPECT_FALSE(app->Menu().Enabled[MI_FileSaveImage]);

        TAppHands hands(*app);
        TAutoPlay player(app->Game, app->Wins, app->Settings, hands);
        player.Play(-1);
        ASSERT_TRUE(app->Game.Solved);

        ASSERT_EQ(window.FinishForms.size(), 1u);
        EXPECT_EQ(window.FinishForms[0].Congratulations, "Congratulations!");
        EXPECT_EQ(window.FinishForms[0].SaveText, "Save");
        EXPECT_EQ(std::count(fp.Sounds.begin(), fp.Sounds.end(), "win.wav"), sound ? 1 : 0);
        if (sound) {
            EXPECT_EQ(fp.Sounds.back(), "win.wav");
        }
        EXPECT_TRUE(app->Menu().Enabled[MI_FileSaveImage]);
        const GameHeader& h = app->Game.Header;
        const TPiece& first = app->Game.Pieces[0];
        EXPECT_EQ(first.posX - first.boxX, (app->PlayArea.PlayW - h.ImageW) / 2);
        EXPECT_EQ(first.posY - first.boxY, (app->PlayArea.PlayH - h.ImageH) / 2);

        if (!sound) {
            EXPECT_TRUE(fp.FileChoices.empty());
            continue;
        }
        ASSERT_EQ(fp.FileChoices.size(), 1u);
        EXPECT_EQ(fp.FileChoices[0].Title, "Save Solved Image");
        EXPECT_EQ(std::filesystem::path(fp.FileChoices[0].Start).filename(), "pattern.bmp");
        TMyBitmap saved;
        ASSERT_TRUE(LoadBmpFile(saved, out).Ok());
        EXPECT_EQ(saved.Width, h.ImageW + 2);
        EXPECT_EQ(saved.Height, h.ImageH + 52);
        // The picture as the pieces show it, inside the border.
        EXPECT_EQ(GetPixel(saved, 1 + h.ImageW / 2, 1 + h.ImageH / 3),
                  GetPixel(app->Game.Picture(0), h.ImageW / 2, h.ImageH / 3));
        EXPECT_EQ(GetPixel(saved, 0, 0), 0);
    }
}

}  // namespace
}  // namespace orvel::test
