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

// The profiles by shape style; styles above 6 act as 6 (the grid table has 7 profiles).
void ChooseGridProfiles(GridCut& g) {
    switch (g.game.Header.ShapeStyle) {
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
}

// The corners of every cell and the four grid neighbours; the cell's edges
// are also kept in the piece record (reliefSlot, reliefCode: left and top;
// cornerR, cornerB: right and bottom).
void LayCorners(GridCut& g) {
    TGame& game = g.game;
    const GameHeader& h = game.Header;
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
}

// A knob side per inner cell side, drawn for the right and bottom sides and
// taken over by the neighbour for its left and top.
void ChooseKnobSides(GridCut& g) {
    const GameHeader& h = g.game.Header;
    const int px = h.TilePX, py = h.TilePY;
    for (int k = 0; k < h.TileNum; ++k) {
        const int row = k / px, col = k % px;
        CellCorners& c = g.corners[k];
        if (col > 0) c.left = g.corners[k - 1].right;
        if (col < px - 1) c.right = static_cast<uint8_t>(g.game.RandInt(2));
        if (row > 0) c.top = g.corners[k - px].bottom;
        if (row < py - 1) c.bottom = static_cast<uint8_t>(g.game.RandInt(2));
    }
}

TColor ColorOf(const GridCut& g, int k) {
    return PieceColor(g.game.Pieces[k].MaskCode);
}

// Vertical sides column by column, then horizontal sides row by row.
void DrawInnerSides(GridCut& g) {
    const GameHeader& h = g.game.Header;
    const int px = h.TilePX, py = h.TilePY;
    for (int col = 0; col < px - 1; ++col)
        for (int row = 0; row < py; ++row) {
            const CellCorners& c = g.corners[row * px + col];
            g.DrawGridKnob(c.right, c.tr, ColorOf(g, row * px + col), c.br);
        }
    g.Step();
    for (int row = 0; row < py - 1; ++row)
        for (int col = 0; col < px; ++col) {
            const CellCorners& c = g.corners[row * px + col];
            g.DrawGridKnob(c.bottom, c.bl, ColorOf(g, row * px + col), c.br);
        }
    g.Step();
}

// With a border, the outer sides of the border cells in their own colours.
void DrawOuterSides(GridCut& g) {
    const GameHeader& h = g.game.Header;
    const int px = h.TilePX, py = h.TilePY;
    for (int row = 0; row < py; ++row) {
        const int first = row * px, last = row * px + px - 1;
        const CellCorners& a = g.corners[first];
        const CellCorners& b = g.corners[last];
        DrawLine(g.work, a.tl.x, a.tl.y, a.bl.x, a.bl.y, ColorOf(g, first));
        DrawLine(g.work, b.tr.x, b.tr.y, b.br.x, b.br.y, ColorOf(g, last));
    }
    for (int col = 0; col < px; ++col) {
        const int first = col, last = (py - 1) * px + col;
        const CellCorners& a = g.corners[first];
        const CellCorners& b = g.corners[last];
        DrawLine(g.work, a.tl.x, a.tl.y, a.tr.x, a.tr.y, ColorOf(g, first));
        DrawLine(g.work, b.bl.x, b.bl.y, b.br.x, b.br.y, ColorOf(g, last));
    }
}

// Fills every cell from the crossing of its diagonals. False when a seed was
// not white; the last such piece and its seed are named.
bool FillCells(GridCut& g, int& failIndex, int& failX, int& failY) {
    bool ok = true;
    for (int k = 0; k < g.game.Header.TileNum; ++k) {
        TPiece& p = g.game.Pieces[k];
        const CellCorners& c = g.corners[k];
        p.seedX = Round((c.tl.x + c.br.x) / 2.0);
        p.seedY = Round((c.tl.y + c.br.y) / 2.0);
        if (InMask(g.work, p.seedX, p.seedY) && MaskIsWhite(g.work, p.seedX, p.seedY)) {
            TMyRect bounds;
            FloodFill(g.work, p.seedX, p.seedY, bounds, false, PieceColor(p.MaskCode));
        } else {
            ok = false;
            failIndex = k;
            failX = p.seedX;
            failY = p.seedY;
        }
    }
    return ok;
}

// Holes, over each box and twice the knob depth around it.
void FillGridHoles(GridCut& g) {
    const GameHeader& h = g.game.Header;
    const int d = 2 * h.KnobDepth;
    for (int k = 0; k < h.TileNum; ++k) {
        const TPiece& p = g.game.Pieces[k];
        bool found;
        int l, t, r, b;
        FillHoles(g.work, h.ImageW, h.ImageH, p.boxX - d, p.boxY - d, p.boxX + p.boxW + d,
                  p.boxY + p.boxH + d, PieceColor(p.MaskCode), found, l, t, r, b);
    }
}

// The frame piece, named by the border pieces on their outer sides.
void AddFramePiece(TGame& game) {
    const GameHeader& h = game.Header;
    const int px = h.TilePX, py = h.TilePY;
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

// Profiles, strip keys, corners and knob sides.
void PrepareGrid(GridCut& g) {
    g.Step();
    BuildGridProfiles(g.profiles);
    g.keys = ReadStripKeys(g.strip);
    MeasureStripTop(g.strip, g.keys, g.StripTop);
    g.Step();
    GameHeader& h = g.game.Header;
    LayGridCells(g.game);
    g.knobs = KnobContext{&g.work, h.ImageW,    h.ImageH,   {h.JigsL, h.JigsT, h.JigsR, h.JigsB},
                          h.TileS, h.KnobDepth, &g.profiles};
    LayCorners(g);
    ChooseKnobSides(g);
    g.Step();
}

// The fills, the frame's margin and the holes.
bool FillGrid(GridCut& g, int& failIndex, int& failX, int& failY) {
    const bool filled = FillCells(g, failIndex, failX, failY);
    g.Step();
    if (g.game.Header.BorderStyle == 1) {
        TMyRect bounds;
        FloodFill(g.work, 0, 0, bounds, false, kFrameColor);
    }
    g.Step();
    FillGridHoles(g);
    return filled;
}

}  // namespace

Result CutGrid(TGame& game, const CutEnvironment& env, const TMyBitmap& knobStrip) {
    GameHeader& h = game.Header;
    if (!HeaderUsable(h) || knobStrip.Width < kStripWidth || knobStrip.Height < kStripHeight)
        return FixedText(kNotCutProperly);
    if (static_cast<int>(game.Pieces.size()) < h.TileNum + 1) game.Pieces.resize(h.TileNum + 1);
    h.TotalTileNum = h.TileNum;

    GridCut g{game, env, knobStrip, {}, {}, {}, {}, {}, {}, {}};
    ChooseGridProfiles(g);
    if (!CreateWorkMask(g.work, h.ImageW, h.ImageH)) return FixedText(kNotCutProperly);
    PrepareGrid(g);
    DrawInnerSides(g);
    if (h.BorderStyle == 1) DrawOuterSides(g);
    g.Step();
    int failIndex = 0, failX = 0, failY = 0;
    const bool filled = FillGrid(g, failIndex, failX, failY);
    g.Step();
    if (h.BorderStyle == 1) AddFramePiece(game);
    g.Step();
    game.Buffers[4] = std::move(g.work);
    g.Step();
    if (filled) return Result::Success();
    return CutOutcome({PaintErrorLine(failIndex, failX, failY), FixedText(kNotCutProperly)}, true);
}

}  // namespace orvel
