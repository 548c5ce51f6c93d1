#pragma once

// A small hand-made game on a real play field, and a handler driving it:
// the pieces are the cells of a grid (their boxes reach KnobDepth into the
// neighbouring cells, as cut pieces do), over a picture whose pixels tell
// where they come from.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "cutter/PieceEffects.h"
#include "game/GameModel.h"
#include "platform/FakePlatform.h"
#include "play/Field.h"
#include "play/PieceGeometry.h"
#include "play/PieceHandling.h"

namespace orvel::testing {

inline TColor PictureAt(int x, int y) {
    return RgbToColor((x * 7 + y * 3) & 255, y & 255, x & 255);
}

inline void FillMaskBox(TMyBitmap& mask, int x, int y, int w, int h, uint8_t code) {
    FillBox(mask, x, y, w, h, RgbToColor(128, 0, code));
}

// cols x rows pieces of tileS (TileS 60 gives MaskS 88, KnobDepth 14, SnapBase 7),
// spread apart in side 0 so that none lies near its place. With border the
// frame piece is appended; with rotate the three turned buffer pairs exist.
inline void MakeGridGame(TGame& game, int cols, int rows, int tileS, bool border, bool rotate) {
    static const uint8_t kCodes[3][3] = {{25, 150, 75}, {200, 125, 50}, {175, 100, 225}};
    GameHeader& h = game.Header;
    const int m = border ? kFrameWidth : 0;
    h.TileS = tileS;
    h.MaskS = (tileS - 20) / 4 * 6 + 28;
    h.KnobDepth = (h.MaskS - tileS) / 2;
    h.SnapBase = Max(h.KnobDepth / 2, 4);
    h.TilePX = cols;
    h.TilePY = rows;
    h.TileNum = cols * rows;
    h.TotalTileNum = h.TileNum + (border ? 1 : 0);
    h.ImageW = cols * tileS + 2 * m;
    h.ImageH = rows * tileS + 2 * m;
    h.JigsL = h.JigsT = m;
    h.JigsR = h.ImageW - m - 1;
    h.JigsB = h.ImageH - m - 1;
    h.Rotate = rotate ? 1 : 0;
    h.BorderStyle = border ? 1 : 0;
    ASSERT_TRUE(AllocPieces(game, h.TotalTileNum));

    EXPECT_TRUE(Create24(game.Picture(0), h.ImageW, h.ImageH));
    for (int y = 0; y < h.ImageH; ++y)
        for (int x = 0; x < h.ImageW; ++x) SetPixel(game.Picture(0), x, y, PictureAt(x, y));
    TMyBitmap& mask = game.Mask(0);
    EXPECT_TRUE(Create24(mask, h.ImageW + 5, h.ImageH + 5));
    FillBox(mask, 0, 0, mask.Width, mask.Height, 0);

    const int frame = border ? h.TileNum : -1;
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            TPiece& p = game.Pieces[row * cols + col];
            p.cellX = m + col * tileS;
            p.cellY = m + row * tileS;
            p.cellW = p.cellH = tileS;
            p.boxX = Max(p.cellX - h.KnobDepth, m);
            p.boxY = Max(p.cellY - h.KnobDepth, m);
            p.boxW = Min(p.cellX + tileS + h.KnobDepth, m + cols * tileS) - p.boxX;
            p.boxH = Min(p.cellY + tileS + h.KnobDepth, m + rows * tileS) - p.boxY;
            p.MaskCode = kCodes[row % 3][col % 3];
            p.JoinBit = static_cast<uint8_t>(1 << ((row % 2) * 3 + col % 3));
            p.neighbours[0] = static_cast<int16_t>(col > 0 ? row * cols + col - 1 : frame);
            p.neighbours[1] = static_cast<int16_t>(row > 0 ? (row - 1) * cols + col : frame);
            p.neighbours[2] = static_cast<int16_t>(col + 1 < cols ? row * cols + col + 1 : frame);
            p.neighbours[3] = static_cast<int16_t>(row + 1 < rows ? (row + 1) * cols + col : frame);
            FillMaskBox(mask, p.cellX, p.cellY, tileS, tileS, p.MaskCode);
        }
    }
    if (border) {
        TPiece& f = game.Pieces[frame];
        f.boxW = h.ImageW;
        f.boxH = h.ImageH;
        f.MaskCode = 5;
        f.JoinBit = 128;
        FillMaskBox(mask, 0, 0, h.ImageW, m, 5);
        FillMaskBox(mask, 0, h.ImageH - m, h.ImageW, m, 5);
        FillMaskBox(mask, 0, m, m, h.ImageH - 2 * m, 5);
        FillMaskBox(mask, h.ImageW - m, m, m, h.ImageH - 2 * m, 5);
    }
    if (rotate) {
        for (int r = 1; r < 4; ++r) {
            EXPECT_TRUE(RotateRight(game.Picture(r), game.Picture(r - 1)));
            EXPECT_TRUE(RotateRightWithMargin(game.Mask(r), game.Mask(r - 1), 5));
        }
    }
    for (int i = 0; i < h.TotalTileNum; ++i) {
        TPiece& p = game.Pieces[i];
        p.group = i;
        p.posX = 10 + (i % cols) * (tileS + 60);
        p.posY = 10 + (i / cols) * (tileS + 60);
        UpdateRotatedBox(game, i);
    }
    game.GameLoaded = true;
}

// Puts piece r exactly at its place beside piece p (both upright), then off by (dx, dy).
inline void PlaceBeside(TGame& game, int r, int p, int dx, int dy) {
    TPiece& a = game.Pieces[r];
    const TPiece& b = game.Pieces[p];
    a.posX = b.posX + a.boxX - b.boxX + dx;
    a.posY = b.posY + a.boxY - b.boxY + dy;
}

// Moves the whole group of r so that r lies beside p, off by (dx, dy).
inline void MoveGroupBeside(TGame& game, int r, int p, int dx, int dy) {
    const TPiece before = game.Pieces[r];
    PlaceBeside(game, r, p, dx, dy);
    const int sx = game.Pieces[r].posX - before.posX, sy = game.Pieces[r].posY - before.posY;
    for (int i = 0; i < game.Header.TotalTileNum; ++i) {
        if (i == r || game.Pieces[i].group != before.group) continue;
        game.Pieces[i].posX += sx;
        game.Pieces[i].posY += sy;
    }
}

// Joins pieces into one group by hand, each placed beside the first.
inline void JoinByHand(TGame& game, std::initializer_list<int> pieces) {
    const int first = *pieces.begin();
    for (int i : pieces) {
        PlaceBeside(game, i, first, 0, 0);
        game.Pieces[i].group = game.Pieces[first].group;
    }
    game.InvalidateOrder();
}

class RecordingHooks : public TPlayHooks {
public:
    void FrameStart(TMyWin& win, THitCode code, int, int, int) override {
        Frames.push_back({win.Id, code});
    }
    void PocketChanged(int window) override { Pockets.push_back(window); }
    void SelectionChanged(bool any) override { Selections.push_back(any); }
    void Solved() override { ++SolvedCalls; }

    struct Frame {
        int Window;
        THitCode Code;
    };
    std::vector<Frame> Frames;
    std::vector<int> Pockets;
    std::vector<bool> Selections;
    int SolvedCalls = 0;
};

// A 640 x 480 field whose side 0 fills it without scroll bars, a hidden side
// 1 in step with it, pocket 1 shown at the right, and a handler with the
// default settings (sound and join star off unless a test turns them on).
struct PlayFixture : ::testing::Test {
    static constexpr int kFieldW = 640;
    static constexpr int kFieldH = 480;

    FakePlatform fp;
    TGame game;
    TPlayWindows wins;
    TFieldView view;
    TFieldLayers layers;
    TSettings settings;
    TPlayArea area{kFieldW, kFieldH};
    RecordingHooks hooks;
    std::unique_ptr<TPieceHandler> handler;

    void SetUp() override {
        CreatePlayWindows(wins, fp, {"P1", "P2", "P3", "P4"}, "Thumbnail");
        for (int side : {0, 1}) {
            TMyWin& w = wins.Wins[side];
            SetPosSize(w.Outer, 0, 0, kFieldW, kFieldH);
            SetClientSize(w, true, kFieldW, kFieldH);
            w.Background = 0x404040;
        }
        wins.Wins[MW_SIDE1].Visible = false;
        TMyWin& pocket = wins.Wins[MW_POCKET0];
        SetPosSize(pocket.Outer, 440, 40, 180, 200);
        Relayout(pocket);
        pocket.Visible = true;
        BringToFront(wins, pocket);
        Activate(wins, &wins.Wins[MW_SIDE0]);

        ASSERT_TRUE(SizeField(view, kFieldW, kFieldH, 0));
        SetFieldArea(view, kFieldW, kFieldH);
        settings.CB_SoundPlay = false;
        settings.CB_VisualShowJoin = false;
        settings.EmbossStyle = 0;
        settings.WoodStyle = 0;
        handler =
            std::make_unique<TPieceHandler>(game, wins, view, layers, settings, area, fp, &hooks);
        layers.DrawPieces = [this](TMyBitmap& f, const TMyWin& w, const TMyRect& u) {
            handler->DrawPieces(f, w, u);
        };
    }

    // A fresh game of cols x rows pieces of TileS 60.
    void Fresh(int cols, int rows, bool border = false, bool rotate = false) {
        handler->Reset();
        game = TGame{};
        MakeGridGame(game, cols, rows, 60, border, rotate);
    }

    void Effects(int emboss, int wood) {
        settings.EmbossStyle = static_cast<uint8_t>(emboss);
        settings.WoodStyle = static_cast<uint8_t>(wood);
        ApplyPieceEffects(game, EffectSettings{emboss, wood}, nullptr);
    }

    // Field point of a piece's content point (px, py) from its box's top-left.
    int FieldXOf(int piece, int px = -1) const {
        const TPiece& p = game.Pieces[piece];
        return FieldX(wins.Wins[p.window], p.posX + (px < 0 ? p.rotW / 2 : px));
    }
    int FieldYOf(int piece, int py = -1) const {
        const TPiece& p = game.Pieces[piece];
        return FieldY(wins.Wins[p.window], p.posY + (py < 0 ? p.rotH / 2 : py));
    }

    // Press on a piece's middle, move by (dx, dy) in a few steps, release.
    void Drag(int piece, int dx, int dy, int steps = 3) {
        const int x = FieldXOf(piece), y = FieldYOf(piece);
        handler->MouseDown(kLeftButton, 0, x, y, false);
        for (int s = 1; s <= steps; ++s)
            handler->MouseMove(0, x + dx * s / steps, y + dy * s / steps, true);
        handler->MouseUp(kLeftButton, 0, x + dx, y + dy);
        FlushField(view, wins, layers);
    }
    void Click(int button, uint8_t shift, int x, int y) {
        handler->MouseDown(button, shift, x, y, false);
        handler->MouseUp(button, shift, x, y);
    }
    bool Joined(int a, int b) const { return game.Pieces[a].group == game.Pieces[b].group; }
};

}  // namespace orvel::testing
