// Starting a new game from a jigsaw file: the pieces, turns and layout one
// seed gives, the initial layouts, and pictures that cannot be cut.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <utility>

#include "cutter/LevelTable.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "platform/FakePlatform.h"
#include "play/NewGame.h"

namespace orvel {
namespace {

using namespace orvel::test;

struct Cut {
    int Level = 0;
    int Shape = 0;
    int Border = 0;
    bool Rotate = false;
    bool Spread = true;
};

// A jigsaw of a w x h pattern picture, stored as JPEG or as a bitmap.
std::string MakeJigsaw(const std::string& folder, int w, int h, bool bitmap) {
    const std::string path = folder + "/pattern.orv";
    TJigsawContent c;
    c.ImageW = w;
    c.ImageH = h;
    c.Label = "pattern";
    c.Thumb = JpegOf(PatternPicture(40, 30));
    c.Descriptions = {"A pattern"};
    c.Pictures = {bitmap ? BitmapOf(PatternPicture(w, h)) : JpegOf(PatternPicture(w, h))};
    EXPECT_TRUE(WriteJigsaw(path, c).Ok());
    return path;
}

// The header the browser makes for a cut: the file's header and thumbnail
// (mode 0), the level table's values and the choices.
struct Browsed {
    GameHeader Header;
    TMyBitmap Thumb;
};

Browsed Browse(const std::string& path, const Cut& cut) {
    ResultOf<TJigsawData> read = ReadJigsaw(path, JigsawReadMode::Browse);
    EXPECT_TRUE(read.Ok());
    Browsed b;
    b.Header = read.Value().Header;
    b.Thumb = std::move(read.Value().Thumb);
    GameHeader& h = b.Header;
    h.Rotate = cut.Rotate ? 1 : 0;
    h.BorderStyle = static_cast<uint8_t>(cut.Border);
    h.ShapeStyle = static_cast<uint8_t>(cut.Shape);
    h.SpreadOut = cut.Spread ? 1 : 0;
    LevelTable table;
    BuildLevelTable(table, h.ImageW, h.ImageH, cut.Shape, cut.Border);
    FillHeaderFromLevel(h, table, cut.Level, h.ImageW, h.ImageH, cut.Border);
    return b;
}

struct Session {
    FakePlatform Platform;
    CountingProgress Progress;
    TPlayWindows Windows;
    TGame Game;
    TNewGameView View;
    TNewGameSetup Setup;

    Session() {
        CreatePlayWindows(Windows, Platform, {"1", "2", "3", "4"}, "Thumbnail");
        Game.Random.Seed = 4242;
        Setup.PlayW = 800;
        Setup.PlayH = 600;
        Setup.Effects.EmbossStyle = 1;
        Setup.Effects.WoodStyle = 2;
        Setup.ResourcesDir = ORVEL_BUILD_DIR "/resources";
        Setup.ShapeFile = ORVEL_BUILD_DIR "/pic_orvel.dat";
        Setup.PocketCaption = [](int pocket, int groups) {
            return "Pocket " + std::to_string(pocket) + ": " + std::to_string(groups);
        };
        Setup.InfoThumbW = 90;
        Setup.InfoThumbH = 70;
    }

    Result Start(const std::string& path, const Cut& cut, const std::string& seed = "") {
        Browsed b = Browse(path, cut);
        TNewGameRequest request;
        request.Path = path;
        request.Header = b.Header;
        request.SeedShown = true;
        request.SeedText = seed;
        request.BrowserThumb = &b.Thumb;
        return StartNewGame(Game, Windows, request, Setup, View, Progress, Platform);
    }
};

bool SameBuffer(const TMyBitmap& a, const TMyBitmap& b) {
    if (a.Width == 0 && b.Width == 0) return true;
    return SamePixels(a, b);
}

// Everything a game is made of, compared byte for byte.
bool SameGame(const TGame& a, const TGame& b) {
    if (std::memcmp(&a.Header, &b.Header, sizeof a.Header) != 0) return false;
    if (a.Pieces.size() != b.Pieces.size() ||
        std::memcmp(a.Pieces.data(), b.Pieces.data(), a.Pieces.size() * sizeof(TPiece)) != 0)
        return false;
    for (int i = 0; i < 8; ++i)
        if (!SameBuffer(a.Buffers[i], b.Buffers[i])) return false;
    for (int r = 0; r < 4; ++r)
        if (a.Wood[r].Data != b.Wood[r].Data) return false;
    return a.WoodWidth == b.WoodWidth;
}

TEST(NewGame, SameSeedGivesTheSameGameOnOneOrTwoThreads) {
    const std::string path = MakeJigsaw(TestFolder(), 320, 240, false);
    const Cut cut{0, 0, 1, true, true};
    Session one, two, other;
    one.Setup.Threads = 1;
    two.Setup.Threads = 2;
    two.Game.Random.Seed = 1;  // the typed seed decides, not the generator's state
    ASSERT_TRUE(one.Start(path, cut, "1234").Ok());
    ASSERT_TRUE(two.Start(path, cut, " 1234 ").Ok());
    EXPECT_EQ(one.Game.Header.GameSeed, 1234);
    EXPECT_TRUE(SameGame(one.Game, two.Game));
    EXPECT_EQ(one.Game.WoodWidth, 5);
    EXPECT_FALSE(one.Game.Wood[3].Data.empty());

    ASSERT_TRUE(other.Start(path, cut, "1235").Ok());
    EXPECT_FALSE(SameGame(one.Game, other.Game));
    std::set<int> turns;
    for (const TPiece& p : one.Game.Pieces) turns.insert(p.rotation);
    EXPECT_EQ(turns.size(), 4u);

    // The cutter draws first: the same seed without rotation cuts the same
    // pieces, and only the layout moves on.
    Session upright;
    ASSERT_TRUE(upright.Start(path, Cut{0, 0, 1, false, true}, "1234").Ok());
    EXPECT_TRUE(SamePixels(upright.Game.Buffers[4], one.Game.Buffers[4]));
    int moved = 0;
    for (size_t i = 0; i < one.Game.Pieces.size(); ++i) {
        const TPiece& a = one.Game.Pieces[i];
        const TPiece& b = upright.Game.Pieces[i];
        EXPECT_EQ(std::memcmp(&a.cellX, &b.cellX, 32), 0) << i;  // cell and box
        moved += a.posX != b.posX;
    }
    EXPECT_GT(moved, 0);
}

TEST(NewGame, NoValidSeedTakesTheGeneratorsState) {
    const std::string path = MakeJigsaw(TestFolder(), 320, 240, false);
    Session s;
    ASSERT_TRUE(s.Start(path, Cut{}, "12ab").Ok());
    EXPECT_EQ(s.Game.Header.GameSeed, 4242);
}

TEST(NewGame, BitmapPictureOpensWithWindowsAndPocketsSet) {
    const std::string folder = TestFolder();
    const std::string path = MakeJigsaw(folder, 320, 240, true);
    Session s;
    s.Windows.Wins[MW_POCKET1].Visible = true;
    s.Windows.Wins[MW_POCKET1].Groups = 3;
    ASSERT_TRUE(s.Start(path, Cut{0, 0, 0, false, true}).Ok());
    const TGame& g = s.Game;
    EXPECT_TRUE(g.GameLoaded);
    EXPECT_EQ(g.sJigName, "pattern");
    EXPECT_TRUE(SamePixels(g.Buffers[0], PatternPicture(320, 240)));
    EXPECT_EQ(g.Buffers[1].Width, 0);
    EXPECT_EQ(g.Buffers[4].Width, 325);
    EXPECT_EQ(s.View.Description, "A pattern");
    EXPECT_EQ(s.View.StoreThumb.Width, 40);
    EXPECT_EQ(s.View.InfoThumb.Width, 90);
    EXPECT_EQ(s.View.ThumbBuffer.Width, 160);
    EXPECT_EQ(s.View.ThumbBuffer.Height, 120);

    const TMyWin& side0 = s.Windows.Wins[MW_SIDE0];
    EXPECT_EQ(side0.ContentW, 800);
    EXPECT_EQ(side0.ContentH, 600);
    EXPECT_EQ(s.Windows.Wins[MW_SIDE1].ContentW, 800);
    const TMyWin& thumb = s.Windows.Wins[MW_THUMB];
    EXPECT_EQ(thumb.MaxClientW, 160);
    EXPECT_EQ(thumb.MinClientW, 53);
    EXPECT_EQ(thumb.MinClientH, 40);
    EXPECT_EQ(thumb.Client.Width, 80);
    EXPECT_EQ(thumb.Client.Height, 60);
    EXPECT_FALSE(s.Windows.Wins[MW_POCKET1].Visible);
    EXPECT_EQ(s.Windows.Wins[MW_POCKET1].Groups, 0);

    const int steps = 13 + 1;  // no rotation, relief on
    EXPECT_EQ(s.Progress.Steps, steps);
    EXPECT_FALSE(s.Progress.Visible);
    EXPECT_TRUE(s.Platform.Messages.empty());
}

TEST(NewGame, EveryCutterFamilyStartsAndTheFrameLiesCentred) {
    const std::string path = MakeJigsaw(TestFolder(), 320, 240, false);
    for (int shape : {3, 5}) {
        Session s;
        ASSERT_TRUE(s.Start(path, Cut{0, shape, 1, true, false}).Ok()) << shape;
        const TGame& g = s.Game;
        const TPiece& frame = g.Pieces[g.Header.TotalTileNum - 1];
        EXPECT_EQ(frame.MaskCode, 5);
        EXPECT_EQ(frame.rotation, 0);
        EXPECT_EQ(frame.posX, (800 - 320) / 2);
        EXPECT_EQ(frame.posY, (600 - 240) / 2);
        EXPECT_EQ(g.Buffers[7].Width, 245);
        EXPECT_TRUE(s.Platform.Messages.empty());
        int silhouettes = 0;
        for (const TPiece& p : g.Pieces) silhouettes += p.isPicture;
        EXPECT_EQ(silhouettes > 0, shape == 3);
    }
}

TEST(NewGame, FailedCutIsAResultAndLeavesNoGame) {
    const std::string path = MakeJigsaw(TestFolder(), 320, 240, false);
    Session s;
    s.Setup.ResourcesDir = "/nonexistent";  // no knob strip for the grid shapes
    const Result r = s.Start(path, Cut{0, 4, 0, false, true});
    ASSERT_FALSE(r.Ok());
    EXPECT_EQ(r.Error().Section, MsgSection::Fixed);
    EXPECT_NE(PlainText(r.Error()).find("knobstrip"), std::string::npos) << PlainText(r.Error());
    EXPECT_FALSE(s.Game.GameLoaded);
    EXPECT_TRUE(s.Game.Pieces.empty());
    EXPECT_EQ(s.Game.Buffers[0].Width, 0);
    EXPECT_FALSE(s.Progress.Visible);
    EXPECT_TRUE(s.Platform.Messages.empty());
}

TEST(NewGame, PictureTooSmallForTheLevelIsRefusedBeforeCutting) {
    struct Case {
        int w, h, level, border;
    };
    for (const Case c : {Case{40, 40, 13, 1}, Case{1000, 3, 0, 0}, Case{4000, 20, 0, 0},
                         Case{30, 300, 0, 0}}) {
        const std::string path = MakeJigsaw(TestFolder(), c.w, c.h, true);
        Session s;
        const Result r = s.Start(path, Cut{c.level, 0, c.border, false, true});
        ASSERT_FALSE(r.Ok()) << c.w << " x " << c.h;
        EXPECT_EQ(r.Error().Key, "MS_PictureTooSmall");
        EXPECT_EQ(r.Error().Section, MsgSection::MainForm);
        EXPECT_FALSE(s.Game.GameLoaded);
        EXPECT_TRUE(s.Platform.Messages.empty());
    }
}

TEST(NewGame, MissingFileOrOtherNameChangesNothing) {
    const std::string folder = TestFolder();
    const std::string path = MakeJigsaw(folder, 320, 240, false);
    Session s;
    ASSERT_TRUE(s.Start(path, Cut{}).Ok());
    const size_t pieces = s.Game.Pieces.size();
    TNewGameRequest request;
    request.Header = Browse(path, Cut{}).Header;
    for (const std::string& other : {folder + "/none.orv", folder + "/pattern.sv1"}) {
        std::filesystem::copy_file(path, folder + "/pattern.sv1",
                                   std::filesystem::copy_options::overwrite_existing);
        request.Path = other;
        EXPECT_FALSE(
            StartNewGame(s.Game, s.Windows, request, s.Setup, s.View, s.Progress, s.Platform).Ok());
        EXPECT_TRUE(s.Game.GameLoaded);
        EXPECT_EQ(s.Game.Pieces.size(), pieces);
    }
}

TEST(InitialLayout, SpreadGridForAHundredPiecesOnFourByThree) {
    int columns = 0, rows = 0;
    SpreadGrid(100, 1600, 1200, columns, rows);
    EXPECT_EQ(columns, 13);
    EXPECT_EQ(rows, 8);
    SpreadGrid(2, 1000, 10, columns, rows);  // more columns than pieces
    EXPECT_GE(columns * rows, 2);
}

// 100 loose pieces of 40-pixel tiles, one frame piece and a joined pair.
TGame LayoutGame() {
    TGame g;
    g.Header.TileS = 40;
    g.Header.KnobDepth = 10;
    g.Header.TileNum = 102;
    g.Header.TotalTileNum = 103;
    g.Header.BorderStyle = 1;
    EXPECT_TRUE(AllocPieces(g, 103));
    for (int i = 0; i < 103; ++i) g.Pieces[i].group = i;
    g.Pieces[101].group = 100;
    for (TPiece& p : g.Pieces) p.posX = p.posY = -7;
    g.Random.Seed = 5;
    return g;
}

TEST(InitialLayout, SpreadPutsEveryLoosePieceInItsOwnCell) {
    TGame g = LayoutGame();
    const TLayoutArea area{1600, 1200, 1600, 1200};
    InitialLayout(g, MW_SIDE0, true, area);
    std::set<std::pair<int, int>> cells;
    std::set<std::pair<int, int>> grid;  // 13 x 8 cells inside a margin of KnobDepth
    for (int col = 0; col < 13; ++col)
        for (int row = 0; row < 8; ++row)
            grid.insert({col * (1600 - 20) / 13 + 10, row * (1200 - 20) / 8 + 10});
    for (int i = 0; i < 100; ++i) {
        const std::pair<int, int> place{g.Pieces[i].posX, g.Pieces[i].posY};
        EXPECT_TRUE(grid.count(place)) << i;
        cells.insert(place);
    }
    EXPECT_EQ(cells.size(), 100u);
    for (int i : {100, 101, 102}) EXPECT_EQ(g.Pieces[i].posX, -7) << i;

    TGame again = LayoutGame();
    InitialLayout(again, MW_SIDE0, true, area);
    EXPECT_EQ(std::memcmp(g.Pieces.data(), again.Pieces.data(), 103 * sizeof(TPiece)), 0);
}

TEST(InitialLayout, RandomPlacesStayInsideTheMargins) {
    TGame g = LayoutGame();
    g.Pieces[7].window = MW_POCKET0;
    InitialLayout(g, MW_SIDE0, false, TLayoutArea{900, 700, 800, 600});
    std::set<int> xs;
    for (int i = 0; i < 100; ++i) {
        const TPiece& p = g.Pieces[i];
        if (i == 7) {
            EXPECT_EQ(p.posX, -7);
            continue;
        }
        EXPECT_GE(p.posX, 10);
        EXPECT_LT(p.posX, 900 - 40 - 40 + 10);
        EXPECT_GE(p.posY, 10);
        EXPECT_LT(p.posY, 700 - 40 - 40 + 10);
        xs.insert(p.posX);
    }
    EXPECT_GT(xs.size(), 50u);
}

}  // namespace
}  // namespace orvel
