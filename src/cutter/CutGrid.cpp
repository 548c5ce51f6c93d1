// The grid cutter: every piece is its grid cell, every inner cell side gets
// one knob of fixed height; short sides are stamped from the knob strip.
#include <cstdlib>

#include "cutter/CellCutter.h"
#include "cutter/CutCommon.h"
#include "cutter/Knob.h"
#include "cutter/KnobStrip.h"
#include "cutter/MaskAccess.h"
#include "graphics/Rect.h"

namespace orvel {

namespace {

using namespace cutcommon;

struct CellCorners {
    KnobPoint tl, tr, bl, br;
    uint8_t left = 0, top = 0, right = 0, bottom = 0;  // knob side per cell side
};

struct GridCut {
    TGame& game;
    const CutEnvironment& env;
    const TMyBitmap& strip;
    TMyBitmap work;
    KnobTable profiles;
    KnobContext knobs;
    ShapeList PrimaryShapes;
    StripKeys keys;
    int32_t StripTop[kStripCells] = {};
    std::vector<CellCorners> corners;

    void Step() {
        if (env.progress) env.progress->StepProgress();
    }

    // Stamps a knob from the strip; rows run from the side line outwards.
    void Stamp(const KnobFrame& f, bool horizontal, int len, int profile, int side, int mirror, TColor color) {
        const int i = len - kStripMinLength;
        const int srcX = StripCellX(i);
        const int srcRow0 = kStripBand * profile + (side == 1 ? 1 : 0);
        const TColor key = side == 1 ? keys.outline2 : keys.outline1;
        const int rows = len / 2 + StripTop[i];
        int dest = horizontal ? (side == 1 ? f.F.y + StripTop[i] : f.F.y - StripTop[i])
                              : (side == 1 ? f.F.x + StripTop[i] : f.F.x - StripTop[i]);
        const int destStep = side == 1 ? -1 : 1;
        for (int j = 0; j < rows; ++j, dest += destStep) {
            const int srcRow = srcRow0 + j;
            if (srcRow >= strip.Height) break;
            const int firstX = mirror ? srcX + len - 1 : srcX;
            if (static_cast<TColor>(GetPixel(strip, firstX, srcRow)) == keys.baseline) break;
            for (int k = 0; k < len; ++k) {
                const int sx = mirror ? srcX + len - 1 - k : srcX + k;
                if (static_cast<TColor>(GetPixel(strip, sx, srcRow)) != key) continue;
                if (horizontal)
                    MaskSetChecked(work, f.F.x + k, dest, color);
                else
                    MaskSetChecked(work, dest, f.F.y + k, color);
            }
        }
    }

    void DrawGridKnob(int side, KnobPoint from, TColor color, KnobPoint to) {
        const GameHeader& h = game.Header;
        const int profile = PrimaryShapes.items[game.RandInt(PrimaryShapes.count)];
        const int mirror = game.RandInt(2);
        const KnobFrame f = MakeKnobFrame(to, from);
        double H = h.KnobDepth;
        bool clipped = false;
        KnobApex(f, side, H, h.ImageW, h.ImageH, clipped);
        if (profile <= 5 && !clipped && (f.F.y == f.T.y || f.F.x == f.T.x)) {
            const bool horizontal = f.F.y == f.T.y;
            const int len = (horizontal ? f.T.x - f.F.x : f.T.y - f.F.y) + 1;
            if (len >= kStripMinLength && len <= kStripMaxLength) {
                Stamp(f, horizontal, len, profile, side, mirror, color);
                return;
            }
        }
        if (f.D == 0) return;
        double px[KnobProfile::kMaxPoints], py[KnobProfile::kMaxPoints];
        const int n = LayKnobPoints(profiles.p[profile], f, side, mirror, H, px, py);
        DrawBezierChain(work, px, py, n, color);
        MaskSetChecked(work, Round(px[0]), Round(py[0]), color);
    }
};

}  // namespace

bool CutGrid(TGame& game, const CutEnvironment& env, const TMyBitmap& knobStrip) {
    GameHeader& h = game.Header;
    if (!HeaderUsable(h) || knobStrip.Width < kStripWidth ||
        knobStrip.Height < kStripHeight) {
        Show(env, "Jigsaw has not been cut properly! Please reopen the puzzle.");
        return false;
    }
    if (static_cast<int>(game.Pieces.size()) < h.TileNum + 1) game.Pieces.resize(h.TileNum + 1);
    h.TotalTileNum = h.TileNum;

    GridCut g{game, env, knobStrip, {}, {}, {}, {}, {}, {}, {}};
    // 1. Profiles by shape style; styles above 6 act as 6 (the grid table has 7 profiles).
    switch (h.ShapeStyle) {
        case 4:
            g.PrimaryShapes.Set({0});
            break;
        case 5:
            g.PrimaryShapes.Set({0, 1, 2, 3});
            break;
        default:
            g.PrimaryShapes.Set({0, 1, 2, 3, 4, 5});
            break;
    }
    if (!CreateWorkMask(g.work, h.ImageW, h.ImageH)) {
        Show(env, "Jigsaw has not been cut properly! Please reopen the puzzle.");
        return false;
    }
    g.Step();
    BuildGridProfiles(g.profiles);
    g.keys = ReadStripKeys(knobStrip);
    MeasureStripTop(knobStrip, g.keys, g.StripTop);
    g.Step();

    // 2. Area, cells, boxes, corners, neighbours.
    LayGridCells(game);
    g.knobs = KnobContext{&g.work, h.ImageW, h.ImageH, {h.JigsL, h.JigsT, h.JigsR, h.JigsB}, h.TileS,
                          h.KnobDepth, &g.profiles};
    const int px = h.TilePX, py = h.TilePY;
    g.corners.assign(h.TileNum, CellCorners{});
    for (int k = 0; k < h.TileNum; ++k) {
        TPiece& p = game.Pieces[k];
        const int row = k / px, col = k % px;
        CellCorners& c = g.corners[k];
        const int r = p.cellX + p.cellW - 1, b = p.cellY + p.cellH - 1;
        c.tl = {p.cellX, p.cellY};
        c.tr = {r, p.cellY};
        c.bl = {p.cellX, b};
        c.br = {r, b};
        p.reliefSlot = p.cellX;
        p.reliefCode = p.cellY;
        p.cornerR = r;
        p.cornerB = b;
        p.neighbours[0] = static_cast<int16_t>(col > 0 ? k - 1 : -1);
        p.neighbours[1] = static_cast<int16_t>(row > 0 ? k - px : -1);
        p.neighbours[2] = static_cast<int16_t>(col < px - 1 ? k + 1 : -1);
        p.neighbours[3] = static_cast<int16_t>(row < py - 1 ? k + px : -1);
    }

    // 3. Knob sides.
    for (int k = 0; k < h.TileNum; ++k) {
        const int row = k / px, col = k % px;
        CellCorners& c = g.corners[k];
        if (col > 0) c.left = g.corners[k - 1].right;
        if (col < px - 1) c.right = static_cast<uint8_t>(game.RandInt(2));
        if (row > 0) c.top = g.corners[k - px].bottom;
        if (row < py - 1) c.bottom = static_cast<uint8_t>(game.RandInt(2));
    }
    g.Step();

    // 4. Vertical sides, column by column.
    for (int col = 0; col < px - 1; ++col)
        for (int row = 0; row < py; ++row) {
            const int k = row * px + col;
            const CellCorners& c = g.corners[k];
            g.DrawGridKnob(c.right, c.tr, PieceColor(game.Pieces[k].MaskCode), c.br);
        }
    g.Step();
    // 5. Horizontal sides, row by row.
    for (int row = 0; row < py - 1; ++row)
        for (int col = 0; col < px; ++col) {
            const int k = row * px + col;
            const CellCorners& c = g.corners[k];
            g.DrawGridKnob(c.bottom, c.bl, PieceColor(game.Pieces[k].MaskCode), c.br);
        }
    g.Step();

    // 6. The outer sides of the border cells.
    if (h.BorderStyle == 1) {
        for (int row = 0; row < py; ++row) {
            const int first = row * px, last = row * px + px - 1;
            const CellCorners& a = g.corners[first];
            const CellCorners& b = g.corners[last];
            DrawLine(g.work, a.tl.x, a.tl.y, a.bl.x, a.bl.y, PieceColor(game.Pieces[first].MaskCode));
            DrawLine(g.work, b.tr.x, b.tr.y, b.br.x, b.br.y, PieceColor(game.Pieces[last].MaskCode));
        }
        for (int col = 0; col < px; ++col) {
            const int first = col, last = (py - 1) * px + col;
            const CellCorners& a = g.corners[first];
            const CellCorners& b = g.corners[last];
            DrawLine(g.work, a.tl.x, a.tl.y, a.tr.x, a.tr.y, PieceColor(game.Pieces[first].MaskCode));
            DrawLine(g.work, b.bl.x, b.bl.y, b.br.x, b.br.y, PieceColor(game.Pieces[last].MaskCode));
        }
    }
    g.Step();

    // 7. Fill from the crossing of the cell's diagonals.
    bool failed = false;
    int failIndex = 0, failX = 0, failY = 0;
    for (int k = 0; k < h.TileNum; ++k) {
        TPiece& p = game.Pieces[k];
        const CellCorners& c = g.corners[k];
        p.seedX = Round((c.tl.x + c.br.x) / 2.0);
        p.seedY = Round((c.tl.y + c.br.y) / 2.0);
        if (InMask(g.work, p.seedX, p.seedY) && MaskIsWhite(g.work, p.seedX, p.seedY)) {
            TMyRect bounds;
            FloodFill(g.work, p.seedX, p.seedY, bounds, false, PieceColor(p.MaskCode));
        } else {
            failed = true;
            failIndex = k;
            failX = p.seedX;
            failY = p.seedY;
        }
    }
    g.Step();

    // 8. The frame.
    if (h.BorderStyle == 1) {
        TMyRect bounds;
        FloodFill(g.work, 0, 0, bounds, false, kFrameColor);
    }
    g.Step();

    // 9. Holes, over the box and twice the knob depth around it.
    for (int k = 0; k < h.TileNum; ++k) {
        const TPiece& p = game.Pieces[k];
        const int d = 2 * h.KnobDepth;
        bool found;
        int l, t, r, b;
        FillHoles(g.work, h.ImageW, h.ImageH, p.boxX - d, p.boxY - d, p.boxX + p.boxW + d, p.boxY + p.boxH + d,
                  PieceColor(p.MaskCode), found, l, t, r, b);
    }

    // 10. The frame piece, named by the border pieces.
    g.Step();
    if (h.BorderStyle == 1) {
        AppendFramePiece(game);
        const auto frame = static_cast<int16_t>(h.TileNum);
        for (int col = 0; col < px; ++col) {
            game.Pieces[col].neighbours[1] = frame;
            game.Pieces[(py - 1) * px + col].neighbours[3] = frame;
        }
        for (int row = 0; row < py; ++row) {
            game.Pieces[row * px].neighbours[0] = frame;
            game.Pieces[row * px + px - 1].neighbours[2] = frame;
        }
    }

    // 11. Hand the mask over.
    g.Step();
    game.Buffers[4] = std::move(g.work);
    g.Step();

    // 12. Failures.
    if (failed) {
        Show(env, PaintErrorLine(failIndex, failX, failY));
        Show(env, "Jigsaw has not been cut properly! Please reopen the puzzle.");
        return false;
    }
    return true;
}

}  // namespace orvel
