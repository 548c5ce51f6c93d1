// Headless play: small jigsaws of every shape style, opened by the core's
// open command and put together with nothing but the field mouse and the
// side switch, end solved, and the finished field shows the picture.
#include <cstring>
#include <string>

#include "AppTestUtil.h"
#include "app/AutoPlay.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"

namespace orvel::test {
namespace {

struct TPlayCase {
    int Shape = 0;
    bool Rotate = false;
    int Border = 0;
    int Level = 12;
    bool Spread = false;
};

std::string CaseName(const ::testing::TestParamInfo<TPlayCase>& info) {
    const TPlayCase& c = info.param;
    return "Shape" + std::to_string(c.Shape) + (c.Rotate ? "Turned" : "Upright") +
           (c.Border ? "Framed" : "Plain") + "Level" + std::to_string(c.Level) +
           (c.Spread ? "Spread" : "Scattered");
}

// A picture with a colour of its own at every pixel, stored as a bitmap so
// that it reaches the game unchanged.
std::string MakePatternJigsaw(const std::string& folder, int w = 320, int h = 240) {
    const std::string path = folder + "/pattern.orv";
    TJigsawContent c;
    c.ImageW = w;
    c.ImageH = h;
    c.Label = "pattern";
    c.Thumb = JpegOf(PatternPicture(40, 30));
    c.Descriptions = {"A pattern"};
    c.Pictures = {BitmapOf(PatternPicture(w, h))};
    EXPECT_TRUE(WriteJigsaw(path, c).Ok());
    return path;
}

class AutoPlayTest : public OrvelAppTest, public ::testing::WithParamInterface<TPlayCase> {
protected:
    // By default an 800 x 600 screen: the picture fits the field with room
    // around it.
    void StartGame(const TPlayCase& c, int picW = 320, int picH = 240, int screenW = 800,
                   int screenH = 600) {
        fp.Screen.ScreenW = screenW;
        fp.Screen.ScreenH = screenH;
        fp.Screen.WorkArea = {0, 0, screenW - 1, screenH - 1};
        fp.Counter = 1000 + c.Shape;  // seeds the cut
        Start();
        TSettings& s = app->Settings;
        s.Level = c.Level;
        s.ShapeStyle = static_cast<uint8_t>(c.Shape);
        s.BorderStyle = static_cast<uint8_t>(c.Border);
        s.Rotate = c.Rotate;
        s.SpreadOut = c.Spread ? 1 : 0;
        // Plain faces: a finished field then shows the picture's own pixels.
        s.EmbossStyle = 0;
        s.WoodStyle = 0;
        app->OpenFile(MakePatternJigsaw(dir.Path(), picW, picH));
        ASSERT_TRUE(app->Game.GameLoaded) << (fp.Messages.empty() ? "" : fp.Messages[0].Text);
    }

    TAutoPlayStats Solve() {
        TAppHands hands(*app);
        TAutoPlay player(app->Game, app->Wins, app->Settings, hands);
        const TAutoPlayStats stats = player.Play(-1);
        EXPECT_FALSE(stats.Stuck);
        EXPECT_TRUE(app->Game.Solved);
        EXPECT_EQ(SolvedStats(app->Game).iSolvedPercent, 100);
        return stats;
    }

    // Every picture pixel, where the finished picture lies on the first side.
    void ExpectFieldShowsPicture() {
        app->RequestFullRedraw();
        app->FlushFieldUpdate();
        const TGame& g = app->Game;
        const TPiece& p = g.Pieces[0];
        const TMyWin& side = app->Wins.Wins[MW_SIDE0];
        const int left = side.Client.Left + p.posX - p.boxX - side.ScrollX;
        const int top = side.Client.Top + p.posY - p.boxY - side.ScrollY;
        const TMyBitmap& picture = g.Buffers[0];
        ASSERT_GE(left, side.Client.Left);
        ASSERT_GE(top, side.Client.Top);
        ASSERT_LE(left + picture.Width, side.Client.Left + side.Client.Width);
        ASSERT_LE(top + picture.Height, side.Client.Top + side.Client.Height);
        int wrong = 0;
        for (int y = 0; y < picture.Height; ++y)
            wrong += std::memcmp(PixelPtr(app->View.Field, left, top + y), RowPtr(picture, y),
                                 static_cast<size_t>(picture.Width) * 3) != 0;
        EXPECT_EQ(wrong, 0) << "rows of the picture that differ on the field";
    }
};

TEST_P(AutoPlayTest, PutsThePictureTogetherWithTheMouse) {
    const TPlayCase c = GetParam();
    StartGame(c);
    const int pieces = app->Game.Header.TotalTileNum;
    ASSERT_GE(pieces, 12);
    const TAutoPlayStats stats = Solve();
    // Every group but one joined another, each with a drag of its own or
    // dropped beside its place by chance.
    EXPECT_EQ(stats.Joins, pieces - 1);
    for (int i = 0; i < pieces; ++i) EXPECT_EQ(app->Game.Pieces[i].rotation, 0) << i;
    ExpectFieldShowsPicture();
}

// Each style once upright and once turned, one of the two with a frame;
// the coarse levels keep every game small.
INSTANTIATE_TEST_SUITE_P(
    EveryShape, AutoPlayTest,
    ::testing::Values(TPlayCase{0, false, 0, 12, true}, TPlayCase{0, true, 1, 13, false},
                      TPlayCase{1, false, 1, 12, false}, TPlayCase{1, true, 0, 11, true},
                      TPlayCase{2, false, 0, 13, false}, TPlayCase{2, true, 1, 12, true},
                      TPlayCase{3, false, 1, 11, true}, TPlayCase{3, true, 0, 12, false},
                      TPlayCase{4, false, 0, 12, false}, TPlayCase{4, true, 1, 10, false},
                      TPlayCase{5, false, 1, 13, true}, TPlayCase{5, true, 0, 12, false},
                      TPlayCase{6, false, 0, 11, false}, TPlayCase{6, true, 1, 12, true}),
    CaseName);

// A picture that nearly fills the side: most pieces lie where the picture
// grows, so they go to the other side and come back when they fit.
TEST_F(AutoPlayTest, ACrowdedSideSendsGroupsAwayAndFetchesThemBack) {
    for (const TPlayCase c : {TPlayCase{0, true, 0, 10, false}, TPlayCase{5, true, 1, 10, false}}) {
        StartGame(c, 600, 400, 640, 480);
        const TAutoPlayStats stats = Solve();
        EXPECT_GT(stats.SideSwitches, 0);
        ExpectFieldShowsPicture();
    }
}

TEST_F(OrvelAppTest, HeadlessPlayStopsAfterTheMovesAllowed) {
    fp.Screen.ScreenW = 800;
    fp.Screen.ScreenH = 600;
    fp.Screen.WorkArea = {0, 0, 799, 599};
    Start();
    app->Settings.Level = 12;
    app->Settings.Rotate = true;
    app->OpenFile(MakePatternJigsaw(dir.Path()));
    ASSERT_TRUE(app->Game.GameLoaded);
    TAppHands hands(*app);
    TAutoPlay player(app->Game, app->Wins, app->Settings, hands);
    const TAutoPlayStats stats = player.Play(3);
    EXPECT_EQ(stats.Moves, 3);
    EXPECT_FALSE(app->Game.Solved);
    EXPECT_FALSE(stats.Stuck);
}

}  // namespace
}  // namespace orvel::test
