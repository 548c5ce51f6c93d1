#include <gtest/gtest.h>

#include <array>

#include "CutTestUtil.h"
#include "ResultTestUtil.h"
#include "cutter/MaskAccess.h"
#include "cutter/PieceEffects.h"

namespace orvel {
namespace {

// A hand-made game: pieces are rectangles of the mask.
struct Board {
    TGame game;
    Board(int w, int h, const std::vector<std::array<int, 4>>& rects, int tilePX) {
        GameHeader& hd = game.Header;
        hd.ImageW = w;
        hd.ImageH = h;
        hd.TilePX = tilePX;
        hd.TilePY = static_cast<int>(rects.size()) / tilePX;
        hd.TileNum = static_cast<int>(rects.size());
        hd.TotalTileNum = hd.TileNum;
        TMyBitmap& m = game.Buffers[4];
        if (!Create24(m, w + 5, h + 5)) {
            ADD_FAILURE() << "no mask";
            return;
        }
        FillBox(m, 0, 0, w + 5, h + 5, 0);
        game.Pieces.resize(rects.size());
        for (size_t i = 0; i < rects.size(); ++i) {
            TPiece& p = game.Pieces[i];
            p.MaskCode = MaskCodeFor(static_cast<int>(i) / tilePX, static_cast<int>(i) % tilePX);
            p.boxX = rects[i][0];
            p.boxY = rects[i][1];
            p.boxW = rects[i][2];
            p.boxH = rects[i][3];
            p.group = static_cast<int>(i);
            FillBox(m, p.boxX, p.boxY, p.boxW, p.boxH, PieceColor(p.MaskCode));
        }
    }
    int Red(int x, int y) { return MaskPx(game.Buffers[4], x, y)[2]; }
};

TEST(PieceEffects, NothingWithoutReliefAndWood) {
    Board b(60, 40, {{0, 0, 30, 40}, {30, 0, 30, 40}}, 2);
    const uint64_t before = test::MaskHash(b.game.Buffers[4]);
    ApplyPieceEffects(b.game, {0, 0}, nullptr);
    EXPECT_EQ(test::MaskHash(b.game.Buffers[4]), before);
    EXPECT_TRUE(b.game.Wood[0].Data.empty());
    EXPECT_EQ(b.game.WoodWidth, 0);
}

TEST(PieceEffects, ReliefLitFromTheUpperLeft) {
    for (int style : {1, 2, 3}) {
        Board b(60, 40, {{0, 0, 30, 40}, {30, 0, 30, 40}}, 2);
        ApplyPieceEffects(b.game, {style, 0}, nullptr);
        EXPECT_EQ(b.Red(15, 20), 128) << "middle of a large piece";
        EXPECT_GT(b.Red(30, 20), 128) << "left rim of the right piece";
        EXPECT_LT(b.Red(29, 20), 128) << "right rim of the left piece";
        EXPECT_GT(b.Red(35, 0), 128) << "top rim";
    }
    // Style 1 at a straight left rim: r = 1 to the left, full runs elsewhere;
    // (256 - 128) x 20 / 128 = 20, plus the two diagonals on the left:
    // up-left (256 - 181) x 40 and down-left (256 - 181) x -10.
    Board b(60, 40, {{0, 0, 30, 40}, {30, 0, 30, 40}}, 2);
    ApplyPieceEffects(b.game, {1, 0}, nullptr);
    EXPECT_EQ(b.Red(30, 20), 128 + (128 * 20 + 75 * 40 + 75 * -10) / 128);
}

// A one-pixel spur is lit from both sides at once: the weights of opposite
// directions cancel, so along its length it keeps the neutral level in every
// style, and only its tip, lit from below, darkens.
TEST(PieceEffects, OnePixelSpurIsFlatAlongItsLength) {
    for (int style : {1, 2, 3}) {
        Board b(40, 40, {{0, 0, 40, 20}, {0, 20, 40, 20}}, 1);
        // A spur of the upper piece's colour reaching into the lower piece.
        for (int y = 20; y < 30; ++y)
            MaskSet(b.game.Buffers[4], 20, y, PieceColor(b.game.Pieces[0].MaskCode));
        b.game.Pieces[0].boxH = 30;
        ApplyPieceEffects(b.game, {style, 0}, nullptr);
        for (int y = 21; y <= 25; ++y) EXPECT_EQ(b.Red(20, y), 128) << style << " at " << y;
        EXPECT_LT(b.Red(20, 29), 128) << style;
        // The lower piece's rims beside the spur: lit on its right, shaded on its left.
        EXPECT_GT(b.Red(21, 23), 128) << style;
        EXPECT_LT(b.Red(19, 23), 128) << style;
    }
}

TEST(PieceEffects, WoodDistancesAndClasses) {
    Board b(60, 40, {{0, 0, 30, 40}, {30, 0, 30, 40}}, 2);
    ApplyPieceEffects(b.game, {0, 2}, nullptr);
    EXPECT_EQ(b.game.WoodWidth, 5);
    const TGame::WoodBuffer& w = b.game.Wood[0];
    ASSERT_EQ(w.Width, 65);
    EXPECT_EQ(b.game.Pieces[1].reliefSlot, 1);
    EXPECT_EQ(b.game.Pieces[1].reliefCode, 2);
    auto cell = [&](int x, int y, uint16_t& set, uint32_t& dist) {
        const uint8_t* p = w.Data.data() + (static_cast<size_t>(y) * w.Width + x) * 6;
        set = static_cast<uint16_t>(p[0] | (p[1] << 8));
        dist = p[2] | (p[3] << 8) | (p[4] << 16) | (static_cast<uint32_t>(p[5]) << 24);
    };
    uint16_t set;
    uint32_t dist;
    cell(10, 10, set, dist);  // inside piece 0, also 1 .. 5 steps beyond nothing else
    EXPECT_EQ(set, 1);
    EXPECT_EQ(dist & 7, 0u);
    cell(62, 20, set, dist);  // 3 right of piece 1's last column (59): distance 3
    EXPECT_EQ(set, 2);
    EXPECT_EQ((dist >> 3) & 7, 3u);
    cell(32, 20, set, dist);  // inside piece 1, and 3 beyond piece 0
    EXPECT_EQ(set, 3);
    EXPECT_EQ(dist & 7, 3u);
    EXPECT_EQ((dist >> 3) & 7, 0u);
}

TEST(PieceEffects, JoinedPiecesHideTheirEdgeOnEachOther) {
    Board b(60, 40, {{0, 0, 30, 40}, {30, 0, 30, 40}}, 2);
    b.game.Pieces[0].neighbours[0] = 1;
    b.game.Pieces[1].neighbours[0] = 0;
    b.game.Pieces[1].group = 0;
    ApplyPieceEffects(b.game, {0, 1}, nullptr);
    const TGame::WoodBuffer& w = b.game.Wood[0];
    const uint8_t* p = w.Data.data() + (static_cast<size_t>(20) * w.Width + 32) * 6;
    const uint32_t dist = p[2] | (p[3] << 8) | (p[4] << 16);
    EXPECT_EQ(dist & 7, 0u) << "the face of piece 1 hides piece 0's edge";
}

TEST(PieceEffects, AllRotationsAndResetRelief) {
    TGame game;
    test::SetUpGame(game, 200, 150, 10, 0, 0, 9);
    ASSERT_TRUE(test::Succeeded(CutPieces(game, CutEnvironment{})));
    game.Header.Rotate = 1;
    for (int r = 1; r < 4; ++r)
        ASSERT_TRUE(RotateRightWithMargin(game.Buffers[4 + r], game.Buffers[4 + r - 1], 5));
    game.Pieces.resize(game.Header.TotalTileNum);
    CountingProgress progress;
    ApplyPieceEffects(game, {1, 2}, &progress);
    EXPECT_EQ(progress.Done, 4);
    for (int r = 0; r < 4; ++r) EXPECT_FALSE(game.Wood[r].Data.empty());
    // The relief of a quarter turn equals the quarter turn of the relief
    // nowhere in general (light comes from the upper left in each), but each
    // rotated box holds exactly the piece's pixels of the upright box.
    for (int r = 1; r < 4; ++r) {
        const TMyBitmap& m = game.Mask(r);
        for (int i = 0; i < game.Header.TotalTileNum; i += 7) {
            const TPiece& p = game.Pieces[i];
            int x, y, w, h;
            RotatedBox(p, r, m.Width, m.Height, x, y, w, h);
            int count0 = 0, countR = 0;
            for (int yy = p.boxY; yy < p.boxY + p.boxH; ++yy)
                for (int xx = p.boxX; xx < p.boxX + p.boxW; ++xx) count0 += MaskPx(game.Mask(0), xx, yy)[0] == p.MaskCode;
            for (int yy = y; yy < y + h; ++yy)
                for (int xx = x; xx < x + w; ++xx) countR += MaskPx(m, xx, yy)[0] == p.MaskCode;
            EXPECT_EQ(count0, countR) << "rotation " << r << " piece " << i;
        }
    }
    ResetRelief(game.Mask(0));
    for (int y = 0; y < 150; ++y) ASSERT_EQ(MaskPx(game.Mask(0), 3, y)[2], 128);
}

TEST(PieceEffects, PreviewShadesPieceAndEdge) {
    TMyBitmap mask, pic, out;
    ASSERT_TRUE(Create24(mask, 40, 40));
    ASSERT_TRUE(Create24(pic, 40, 40));
    ASSERT_TRUE(Create24(out, 40, 40));
    FillBox(mask, 0, 0, 40, 40, 0);
    FillBox(mask, 10, 10, 20, 20, 0xFFFFFF);
    FillBox(pic, 0, 0, 40, 40, RgbToColor(100, 100, 100));
    FillBox(out, 0, 0, 40, 40, RgbToColor(200, 200, 200));
    PreviewEffects(mask, pic, out, RgbToColor(120, 100, 80), 1, 1);
    EXPECT_EQ(GetPixel(out, 20, 20), static_cast<int32_t>(RgbToColor(100, 100, 100)));
    EXPECT_GT(ColorR(static_cast<TColor>(GetPixel(out, 10, 20))), 100);
    EXPECT_EQ(GetPixel(out, 31, 31), static_cast<int32_t>(RgbToColor(100, 80, 60)));  // distance 2: minus 20
    EXPECT_EQ(GetPixel(out, 5, 5), static_cast<int32_t>(RgbToColor(200, 200, 200)));
}

}  // namespace
}  // namespace orvel
