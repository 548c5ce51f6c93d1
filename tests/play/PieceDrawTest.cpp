// Drawing pieces, the drag layers and the wood edges of joined pieces.
#include <cstring>

#include "PieceTestUtil.h"
#include "play/PieceDraw.h"

namespace orvel::testing {
namespace {

struct PieceDrawing : PlayFixture {
    void Compose() {
        RequestUpdate(view, FieldUpdate::Whole);
        FlushField(view, wins, layers);
    }
    TColor At(int x, int y) const { return static_cast<TColor>(GetPixel(view.Field, x, y)); }
    // A wood pixel of rotation 0: the set of classes and one class's distance.
    void PutWood(int x, int y, int slot, int distance) {
        TGame::WoodBuffer& w = game.Wood[0];
        if (w.Width == 0) {
            w.Width = game.Mask(0).Width;
            w.Height = game.Mask(0).Height;
            w.Data.assign(static_cast<size_t>(w.Width) * w.Height * 6, 0);
        }
        uint8_t* px = w.Data.data() + (static_cast<size_t>(y) * w.Width + x) * 6;
        uint16_t set;
        uint32_t dist;
        std::memcpy(&set, px, 2);
        std::memcpy(&dist, px + 2, 4);
        set = static_cast<uint16_t>(set | (1 << slot));
        dist = (dist & ~(7u << (3 * slot))) | (static_cast<uint32_t>(distance) << (3 * slot));
        std::memcpy(px, &set, 2);
        std::memcpy(px + 2, &dist, 4);
    }
};

TColor Shifted(TColor c, int e) {
    return RgbToColor(ClampByte(ColorR(c) + e), ClampByte(ColorG(c) + e), ClampByte(ColorB(c) + e));
}
TColor Inverted(TColor c) {
    return RgbToColor(255 - ColorR(c), 255 - ColorG(c), 255 - ColorB(c));
}

TEST_F(PieceDrawing, FacePixelsTakeTheReliefAndSelectionInvertsThem) {
    Fresh(2, 1);
    SetPixel(game.Mask(0), 30, 30, RgbToColor(140, 0, game.Pieces[0].MaskCode));  // relief +12
    SetPixel(game.Mask(0), 31, 30, RgbToColor(0, 0, game.Pieces[0].MaskCode));    // -128: clamps
    const int x = FieldXOf(0, 30), y = FieldYOf(0, 30);
    Compose();
    EXPECT_EQ(At(x, y), PictureAt(30, 30));  // no relief without embossing
    settings.EmbossStyle = 1;
    Compose();
    EXPECT_EQ(At(x, y), Shifted(PictureAt(30, 30), 12));
    EXPECT_EQ(At(x + 1, y), Shifted(PictureAt(31, 30), -128));
    EXPECT_EQ(At(x + 2, y), PictureAt(32, 30));
    game.Pieces[0].selected = 1;
    Compose();
    EXPECT_EQ(At(x, y), Inverted(Shifted(PictureAt(30, 30), 12)));
    const TPiece& other = game.Pieces[1];
    EXPECT_EQ(At(FieldXOf(1), FieldYOf(1)),
              PictureAt(other.boxX + other.rotW / 2, other.boxY + other.rotH / 2));
}

TEST_F(PieceDrawing, TheEdgeIsAWoodShadeOrAShadowByDistance) {
    Fresh(2, 1);
    TPiece& p = game.Pieces[1];  // picture x 46 .. 119: its edge reaches past the picture
    p.reliefSlot = 1;
    p.reliefCode = 2;
    PutWood(121, 30, 1, 2);
    PutWood(123, 30, 1, 1);
    PutWood(124, 30, 1, 5);
    PutWood(122, 31, 3, 2);  // another piece's edge
    const int y = FieldYOf(1, 30);
    const auto atPicture = [&](int px) { return At(FieldXOf(1, px - p.boxX), y); };

    settings.WoodStyle = 1;
    settings.WoodColor = RgbToColor(0x7A, 0x68, 0x0F);
    game.WoodWidth = 3;
    Compose();
    EXPECT_EQ(atPicture(121), RgbToColor(0x7A - 20, 0x68 - 20, 0));
    EXPECT_EQ(atPicture(123), 0x404040u);  // beyond the edge of width 3
    EXPECT_EQ(At(FieldXOf(1, 122 - p.boxX), FieldYOf(1, 31)), 0x404040u);

    settings.WoodStyle = 2;
    game.WoodWidth = 5;  // shade d darkens by 128 - 28 d
    Compose();
    EXPECT_EQ(atPicture(121), RgbToColor(64 * 184 / 256, 64 * 184 / 256, 64 * 184 / 256));
    EXPECT_EQ(atPicture(123), RgbToColor(64 * 156 / 256, 64 * 156 / 256, 64 * 156 / 256));
    EXPECT_EQ(atPicture(124), 0x404040u);  // 128 - 140 is below 0: no shade

    settings.WoodStyle = 0;
    Compose();
    EXPECT_EQ(atPicture(121), 0x404040u);
}

TEST_F(PieceDrawing, TheBandIsTintedHalfWayTowardsTheGrey) {
    TMyBitmap b;
    EXPECT_TRUE(Create24(b, 3, 1));
    SetPixel(b, 0, 0, RgbToColor(251, 0, 240));
    SetPixel(b, 1, 0, RgbToColor(3, 1, 255));
    TMyRect r;
    SetPosSize(r, 0, 0, 2, 1);
    TintBand(b, r);
    EXPECT_EQ(static_cast<TColor>(GetPixel(b, 0, 0)), RgbToColor(246, 120, 240));
    EXPECT_EQ(static_cast<TColor>(GetPixel(b, 1, 0)), RgbToColor(121, 120, 248));
}

// A drag step draws only the rectangles the dragged group left and entered,
// and what it leaves is exactly the field a full composition draws.
TEST_F(PieceDrawing, DragStepsTouchOnlyTheUnionAndMatchAFullComposition) {
    wins.Wins[MW_POCKET0].Visible = false;
    Fresh(5, 3, false, true);
    for (int i = 0; i < game.Header.TotalTileNum; ++i) {
        TPiece& p = game.Pieces[i];
        p.posX = 20 + (i % 5) * 70;  // crowded: boxes and shadows overlap
        p.posY = 20 + (i / 5) * 70;
        p.rotation = static_cast<uint8_t>(i == 12 || i == 13 ? 0 : i % 4);
        UpdateRotatedBox(game, i);
    }
    // Pieces 12 and 13 lie upright on the bottom edge: their shadows reach out of their boxes.
    JoinByHand(game, {12, 13});
    Effects(1, 2);
    Compose();

    TMyBitmap reference;
    EXPECT_TRUE(Create24(reference, kFieldW, kFieldH));
    TMyRect all;
    SetPosSize(all, 0, 0, kFieldW, kFieldH);
    const auto groupRect = [&] {
        TMyRect r;
        for (int i : {12, 13}) {
            const TMyRect p =
                PieceFieldRect(game, wins.Wins[MW_SIDE0], game.Pieces[i], handler->Look());
            IncludeBox(r, p.Left, p.Top, p.Right, p.Bottom);
        }
        return r;
    };

    int x = FieldXOf(12), y = FieldYOf(12);
    handler->MouseDown(kLeftButton, 0, x, y, false);
    ASSERT_EQ(game.PickedPiece, 12);
    ASSERT_TRUE(handler->DragLayersActive());
    FlushField(view, wins, layers);
    TMyBitmap before;
    for (const auto& [dx, dy] :
         std::vector<std::pair<int, int>>{{9, 4}, {-35, 21}, {3, -60}, {120, 90}, {-1, 1}}) {
        EXPECT_TRUE(CopyFromBitmap(before, view.Field));
        const TMyRect left = groupRect();
        x += dx;
        y += dy;
        handler->MouseMove(0, x, y, true);
        ASSERT_EQ(view.Pending, FieldUpdate::Drawn);  // nothing asked for a full composition
        const TMyRect entered = groupRect();
        for (int py = 0; py < kFieldH; ++py) {
            for (int px = 0; px < kFieldW; ++px) {
                if (GetPixel(before, px, py) == GetPixel(view.Field, px, py)) continue;
                ASSERT_TRUE(ContainsPoint(left, px, py) || ContainsPoint(entered, px, py))
                    << px << "," << py;
            }
        }
        FlushField(view, wins, layers);
        ComposeRect(reference, all, wins, layers);
        ASSERT_EQ(std::memcmp(reference.Bits, view.Field.Bits, static_cast<size_t>(reference.Size)),
                  0)
            << dx << "," << dy;
    }
    handler->MouseUp(kLeftButton, 0, x, y);
    EXPECT_FALSE(handler->DragLayersActive());
}

// Joined while playing, pieces lose the wood edge between them just as
// pieces that were already joined when the effects were built.
TEST_F(PieceDrawing, AJoinMergesTheWoodEdgesAsTheEffectsDoForJoinedPieces) {
    for (bool rotate : {false, true}) {
        Fresh(3, 2, false, rotate);
        JoinByHand(game, {0, 3});
        JoinByHand(game, {1, 4});
        Effects(0, 2);
        std::vector<uint8_t> apart[4];
        for (int r = 0; r < 4; ++r) apart[r] = game.Wood[r].Data;
        MoveGroupBeside(game, 1, 0, 3, -2);
        Drag(4, 0, 0);
        ASSERT_TRUE(Joined(0, 4));
        std::vector<uint8_t> played[4];
        for (int r = 0; r < 4; ++r) played[r] = game.Wood[r].Data;

        Fresh(3, 2, false, rotate);
        JoinByHand(game, {0, 1, 3, 4});
        Effects(0, 2);
        for (int r = 0; r < (rotate ? 4 : 1); ++r) {
            EXPECT_NE(played[r], apart[r]) << r;
            EXPECT_EQ(played[r], game.Wood[r].Data) << "rotation " << r;
        }
    }
}

}  // namespace
}  // namespace orvel::testing
