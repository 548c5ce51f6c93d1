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

// What a piece draws, pixel by pixel with no shortcuts: the face where the
// mask holds the piece's code, else the edge shade its wood word gives it.
void ReferencePixel(TMyBitmap& t, int x, int y, const TGame& game, const TPiece& p, int lx, int ly,
                    const TPieceLook& look) {
    const int rot = p.rotation & 3;
    const TMyBitmap& pic = game.Buffers[rot];
    const TMyBitmap& mask = game.Buffers[4 + rot];
    const int mx = p.srcX + lx, my = p.srcY + ly;
    if (mx < 0 || my < 0 || mx >= mask.Width || my >= mask.Height) return;
    const TColor m = static_cast<TColor>(GetPixel(mask, mx, my));
    if (lx < p.rotW && ly < p.rotH && mx < pic.Width && my < pic.Height &&
        ColorB(m) == p.MaskCode) {
        const int e = look.EmbossStyle != 0 ? ColorR(m) - 128 : 0;
        TColor c = Shifted(static_cast<TColor>(GetPixel(pic, mx, my)), e);
        SetPixel(t, x, y, p.selected ? Inverted(c) : c);
        return;
    }
    const int edge = EdgeWidth(game, look);
    const TGame::WoodBuffer& wood = game.Wood[rot];
    if (edge == 0 || wood.Width != mask.Width || wood.Height != mask.Height ||
        wood.Data.size() != static_cast<size_t>(mask.Width) * mask.Height * 6)
        return;
    const uint8_t* w = wood.Data.data() + (static_cast<size_t>(my) * wood.Width + mx) * 6;
    uint16_t set;
    uint32_t dist;
    std::memcpy(&set, w, 2);
    std::memcpy(&dist, w + 2, 4);
    const int d = static_cast<int>((dist >> (3 * p.reliefSlot)) & 7);
    if ((set & p.reliefCode) == 0 || d == 0) return;
    const TColor under = static_cast<TColor>(GetPixel(t, x, y));
    if (look.WoodStyle == 1) {
        SetPixel(t, x, y, Shifted(look.WoodColor, -10 * d));
    } else if (edge > 1) {
        const int keep = 256 - Max(0, 128 - d * (112 / (edge - 1)));
        SetPixel(t, x, y,
                 RgbToColor(ColorR(under) * keep / 256, ColorG(under) * keep / 256,
                            ColorB(under) * keep / 256));
    }
}

// Every pixel of the enlarged box inside the client, the clip and the
// target; the frame leaves out the hole inside its four strips.
void ReferencePiece(TMyBitmap& t, const TMyRect& clip, const TMyWin& win, const TGame& game, int i,
                    const TPieceLook& look) {
    const TPiece& p = game.Pieces[i];
    const int edge = EdgeWidth(game, look), f = kFrameWidth;
    const bool frame = i == FramePieceIndex(game);
    for (int ly = 0; ly < p.rotH + edge; ++ly) {
        for (int lx = 0; lx < p.rotW + edge; ++lx) {
            if (frame && lx >= f + edge && lx < p.rotW - f && ly >= f + edge && ly < p.rotH - f)
                continue;
            const int x = FieldX(win, p.posX) + lx, y = FieldY(win, p.posY) + ly;
            if (!ContainsPoint(clip, x, y) || !ContainsPoint(win.Client, x, y) || x >= t.Width ||
                y >= t.Height || x < 0 || y < 0)
                continue;
            ReferencePixel(t, x, y, game, p, lx, ly, look);
        }
    }
}

// Pieces in all four turns, some selected, crowded so that faces, edges and
// boxes overlap, some cut off by the window or the clip, the frame among them.
TEST_F(PieceDrawing, PiecesDrawExactlyAsThePlainPerPixelRuleSays) {
    Fresh(4, 3, true, true);
    JoinByHand(game, {5, 6});
    const int n = game.Header.TotalTileNum;
    for (int i = 0; i < n; ++i) {
        TPiece& p = game.Pieces[i];
        p.rotation = static_cast<uint8_t>((i * 3) % 4);
        p.selected = static_cast<uint8_t>(i % 3 == 1);
        UpdateRotatedBox(game, i);
        p.posX = -40 + (i % 5) * 118 + (i / 5) * 13;
        p.posY = -30 + (i / 5) * 170 + (i % 3) * 9;
    }
    game.Pieces[n - 1].posX = 150;  // the frame
    game.Pieces[n - 1].posY = 60;
    TMyRect whole, part;
    SetPosSize(whole, 0, 0, kFieldW, kFieldH);
    SetPosSize(part, 37, 91, 251, 163);
    const TMyWin& side = wins.Wins[MW_SIDE0];
    TMyBitmap drawn, expected;
    ASSERT_TRUE(Create24(drawn, kFieldW, kFieldH));
    ASSERT_TRUE(Create24(expected, kFieldW, kFieldH));
    for (const auto& [emboss, wood] :
         std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {1, 2}, {0, 2}}) {
        Effects(emboss, wood);
        const TPieceLook look{emboss, wood, RgbToColor(0x7A, 0x68, 0x0F)};
        for (const TMyRect& clip : {whole, part}) {
            for (int y = 0; y < kFieldH; ++y)
                for (int x = 0; x < kFieldW; ++x) SetPixel(drawn, x, y, PictureAt(3 * x, y + 11));
            ASSERT_TRUE(CopyFromBitmap(expected, drawn));
            for (int i = 0; i < n; ++i) {
                DrawPiece(drawn, clip, side, game, i, look);
                ReferencePiece(expected, clip, side, game, i, look);
            }
            ASSERT_EQ(std::memcmp(drawn.Bits, expected.Bits, static_cast<size_t>(drawn.Size)), 0)
                << "emboss " << emboss << " wood " << wood << " clip " << clip.Width;
        }
    }
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
