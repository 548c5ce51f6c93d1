// Drawing pieces from their gathered runs: on a real cut, with every turn,
// relief and edge, selections, joins and rebuilt effects, the field is
// byte for byte the one drawn pixel by pixel from the buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "cutter/LevelTable.h"
#include "cutter/PieceEffects.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "platform/FakePlatform.h"
#include "play/Join.h"
#include "play/NewGame.h"
#include "play/PieceDraw.h"
#include "play/PieceGeometry.h"
#include "play/PieceRuns.h"

namespace orvel {
namespace {

using namespace orvel::test;

constexpr int kFieldW = 560, kFieldH = 420;

// A game cut from a 320 x 240 pattern at level 0 with the frame and
// rotation, its pieces crowded onto one window so that boxes, faces and
// edges overlap, some of them cut off by the window's edges.
struct CutGame {
    FakePlatform Platform;
    CountingProgress Progress;
    TPlayWindows Windows;
    TGame Game;
    TNewGameView View;
    TNewGameSetup Setup;
    TMyWin& Win() { return Windows.Wins[MW_SIDE0]; }

    void Start(int shape) {
        const std::string path = TestFolder() + "/runs.orv";
        TJigsawContent c;
        c.ImageW = 320;
        c.ImageH = 240;
        c.Label = "runs";
        c.Thumb = JpegOf(PatternPicture(40, 30));
        c.Descriptions = {"runs"};
        c.Pictures = {BitmapOf(PatternPicture(320, 240))};
        ASSERT_TRUE(WriteJigsaw(path, c).Ok());
        ResultOf<TJigsawData> read = ReadJigsaw(path, JigsawReadMode::Browse);
        ASSERT_TRUE(read.Ok());
        TNewGameRequest request;
        request.Path = path;
        request.Header = read.Value().Header;
        GameHeader& h = request.Header;
        h.Rotate = 1;
        h.BorderStyle = 1;
        h.ShapeStyle = static_cast<uint8_t>(shape);
        h.SpreadOut = 1;
        LevelTable table;
        BuildLevelTable(table, h.ImageW, h.ImageH, shape, 1);
        FillHeaderFromLevel(h, table, 0, h.ImageW, h.ImageH, 1);
        request.SeedShown = true;
        request.SeedText = "77";
        request.BrowserThumb = &read.Value().Thumb;

        CreatePlayWindows(Windows, Platform, {"1", "2", "3", "4"}, "Thumbnail");
        Setup.PlayW = 800;
        Setup.PlayH = 600;
        Setup.ResourcesDir = ORVEL_BUILD_DIR "/resources";
        Setup.ShapeFile = ORVEL_BUILD_DIR "/pic_orvel.dat";
        Setup.PocketCaption = [](int, int) { return std::string("Pocket"); };
        Setup.InfoThumbW = 90;
        Setup.InfoThumbH = 70;
        ASSERT_TRUE(StartNewGame(Game, Windows, request, Setup, View, Progress, Platform).Ok());

        SetPosSize(Win().Client, 12, 9, kFieldW - 30, kFieldH - 20);
        Win().ScrollX = Win().ScrollY = 0;
        const int n = PiecesInPlay(Game);
        for (int i = 0; i < n; ++i) {
            TPiece& p = Game.Pieces[i];
            p.window = static_cast<uint8_t>(Win().Id);
            p.rotation = static_cast<uint8_t>((i * 7) % 4);
            p.selected = static_cast<uint8_t>(i % 5 == 2);
            UpdateRotatedBox(Game, i);
            p.posX = -20 + (i * 37) % (kFieldW - 20);
            p.posY = -15 + (i * 53) % (kFieldH - 10);
        }
        const int frame = FramePieceIndex(Game);
        ASSERT_GE(frame, 0);
        Game.Pieces[frame].posX = 40;
        Game.Pieces[frame].posY = 30;
    }

    // The field with the pieces drawn over a pattern, through the runs or not.
    TMyBitmap Compose(const TPieceLook& look, TPieceRunsCache* cache, const TMyRect& update) {
        TMyBitmap field;
        EXPECT_TRUE(Create24(field, kFieldW, kFieldH));
        for (int y = 0; y < kFieldH; ++y)
            for (int x = 0; x < kFieldW; ++x)
                SetPixel(field, x, y, RgbToColor((x * 5) & 255, (y * 3) & 255, (x + y) & 255));
        DrawWindowPieces(field, Win(), update, Game, look, {}, cache);
        return field;
    }

    // Compares both ways of drawing on the whole field and on a part of it.
    void ExpectSameField(const TPieceLook& look, TPieceRunsCache& cache, const char* when) {
        TMyRect whole, part;
        SetPosSize(whole, 0, 0, kFieldW, kFieldH);
        SetPosSize(part, 101, 47, 233, 190);
        for (const TMyRect& update : {whole, part}) {
            const TMyBitmap plain = Compose(look, nullptr, update);
            const TMyBitmap fromRuns = Compose(look, &cache, update);
            ASSERT_EQ(std::memcmp(plain.Bits, fromRuns.Bits, static_cast<size_t>(plain.Size)), 0)
                << when << ": emboss " << look.EmbossStyle << " wood " << look.WoodStyle
                << " update " << update.Width;
        }
    }
};

const std::vector<std::pair<int, int>> kLooks = {{0, 0}, {1, 0}, {3, 0}, {0, 1},
                                                 {1, 1}, {0, 2}, {1, 2}, {2, 2}};

TEST(PieceRuns, DrawTheSameFieldForEveryTurnReliefAndEdge) {
    for (int shape : {0, 3}) {
        CutGame cut;
        cut.Start(shape);
        if (::testing::Test::HasFatalFailure()) return;
        TPieceRunsCache cache;  // one cache through every rebuild of the effects
        for (const auto& [emboss, wood] : kLooks) {
            ApplyPieceEffects(cut.Game, EffectSettings{emboss, wood}, nullptr);
            const TPieceLook look{emboss, wood, RgbToColor(0x7A, 0x68, 0x0F)};
            cut.ExpectSameField(look, cache, "after the effects");
            EXPECT_GT(cache.MemoryBytes(), 0u);
        }
        // The look alone changes (the options before the effects follow).
        for (int wood : {2, 1, 0}) {
            const TPieceLook other{0, wood, RgbToColor(0x20, 0x90, 0xC0)};
            cut.ExpectSameField(other, cache, "with another look");
        }
    }
}

// Turns the neighbours of a piece upright, puts one exactly beside the other
// and joins them as a drop does; returns whether the wood changed.
bool JoinUpright(TGame& game, int a, int b) {
    for (int i : {a, b}) {
        game.Pieces[i].rotation = 0;
        UpdateRotatedBox(game, i);
        game.Pieces[i].selected = 0;
    }
    TPiece& pa = game.Pieces[a];
    const TPiece& pb = game.Pieces[b];
    pa.posX = pb.posX + pa.boxX - pb.boxX;
    pa.posY = pb.posY + pa.boxY - pb.boxY;
    const std::vector<uint8_t> before = game.Wood[0].Data;
    const TJoinResult joined = JoinGroups(game, a, pa.window, 2, true);
    return joined.Joins > 0 && before != game.Wood[0].Data;
}

TEST(PieceRuns, FollowTheWoodEdgesJoinsRemoveAndTheTurnsOfPieces) {
    for (int wood : {2, 1}) {
        CutGame cut;
        cut.Start(0);
        if (::testing::Test::HasFatalFailure()) return;
        TGame& game = cut.Game;
        ApplyPieceEffects(game, EffectSettings{wood == 2 ? 1 : 2, wood}, nullptr);
        const TPieceLook look{1, wood, RgbToColor(0x7A, 0x68, 0x0F)};
        TPieceRunsCache cache;
        cut.ExpectSameField(look, cache, "before the joins");
        // Piece 1 joins its left neighbour, then the piece below them joins the pair.
        ASSERT_TRUE(JoinUpright(game, 1, 0));
        cut.ExpectSameField(look, cache, "after one join");
        ASSERT_TRUE(JoinUpright(game, game.Header.TilePX, 0));
        cut.ExpectSameField(look, cache, "after two joins");
        for (int i = 0; i < PiecesInPlay(game); ++i) {
            TPiece& p = game.Pieces[i];
            if (p.group == game.Pieces[0].group || i == FramePieceIndex(game)) continue;
            p.rotation = static_cast<uint8_t>((p.rotation + 1) & 3);
            UpdateRotatedBox(game, i);
        }
        cut.ExpectSameField(look, cache, "after turning");
    }
}

}  // namespace
}  // namespace orvel
