#include "cutter/KnobStrip.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "cutter/Knob.h"
#include "cutter/LevelTable.h"
#include "cutter/LineWalk.h"
#include "cutter/MaskAccess.h"
#include "graphics/ImageCodecs.h"
#include "graphics/Rect.h"

namespace orvel {

namespace {

// The 16 colours of the classic window-system palette.
const TColor kPalette[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};
const TColor kBackground = 0xFFFFFF;  // white
const TColor kOutline1 = 0x0000FF;    // red
const TColor kOutline2 = 0xFF0000;    // blue
const TColor kBaseline = 0x000000;    // black

struct Pt {
    int x, y;
};

// The knob depth the game uses for pieces of tile size t.
int DepthForTile(int t) { return ComputeLevelRecord(t, 0, 0, 0, 0).KnobDepth; }

}  // namespace

int StripKnobDepth(int len) {
    // A stamp deeper than the KnobDepth of the game leaves knob pixels
    // outside the piece's box, which the piece drawing never shows. A side
    // of len pixels comes from a game whose TileS is len or a few pixels
    // less, and KnobDepth does not grow steadily with TileS (23 gives 2,
    // 24 gives 5): the smallest of those tile sizes' depths is safe.
    int depth = DepthForTile(len);
    for (int k = 1; k <= kStripTileSpan; ++k) depth = Min(depth, DepthForTile(len - k));
    return depth;
}

namespace {

// The knob of a grid profile along a side of the given length at
// StripKnobDepth(len), as the cutter's curve drawing
// rasterises it, both ends included. Rows are relative to the side's line.
std::vector<Pt> KnobOutline(const KnobProfile& prof, int len) {
    const int depth = StripKnobDepth(len);
    KnobFrame f = MakeKnobFrame({len - 1, 0}, {0, 0});
    double px[KnobProfile::kMaxPoints], py[KnobProfile::kMaxPoints];
    const int n = LayKnobPoints(prof, f, 1, 0, depth, px, py);
    std::vector<Pt> pts;
    auto add = [&](int x, int y) {
        for (const Pt& p : pts)
            if (p.x == x && p.y == y) return;
        pts.push_back({x, y});
    };
    int32_t sx[151], sy[151];
    for (int s = 0; s + 3 < n; s += 3) {
        // Samples run from the segment's last anchor back to its first;
        // walk them the other way so the outline comes in curve order.
        const int cnt = SampleBezierSegment(px + s, py + s, sx, sy);
        for (int i = cnt - 1; i > 0; --i)
            WalkLine(sx[i], sy[i], sx[i - 1], sy[i - 1], [&](int x, int y) {
                add(x, y);
                return true;
            });
    }
    std::vector<Pt> inside;
    for (const Pt& p : pts)
        if (p.x >= 0 && p.x < len) inside.push_back(p);
    return inside;
}

// One band's cell of the strip, a byte per pixel from the band's top down
// to (not including) its baseline: 1 the curve, 2 the second outline (the
// curve one row lower), 4 the region below the second outline.
struct StripCell {
    int len = 0, bandTop = 0, base = 0;
    std::vector<uint8_t> marks;

    uint8_t& At(int x, int y) { return marks[static_cast<size_t>(y - bandTop) * len + x]; }
    uint8_t At(int x, int y) const { return marks[static_cast<size_t>(y - bandTop) * len + x]; }
    bool Inside(int x, int y) const { return x >= 0 && x < len && y >= bandTop && y < base; }
    // On or below the second outline.
    bool Lower(int x, int y) const { return Inside(x, y) && (At(x, y) & 6); }
};

// The region below the second outline: 4-connected from the row above the baseline.
void MarkBelowSecondOutline(StripCell& cell) {
    std::vector<Pt> stack;
    for (int x = 0; x < cell.len; ++x)
        if (!(cell.At(x, cell.base - 1) & 6)) {
            cell.At(x, cell.base - 1) |= 4;
            stack.push_back({x, cell.base - 1});
        }
    while (!stack.empty()) {
        const Pt c = stack.back();
        stack.pop_back();
        const Pt next[4] = {{c.x - 1, c.y}, {c.x + 1, c.y}, {c.x, c.y - 1}, {c.x, c.y + 1}};
        for (const Pt& n : next) {
            if (!cell.Inside(n.x, n.y) || (cell.At(n.x, n.y) & 6)) continue;
            cell.At(n.x, n.y) |= 4;
            stack.push_back(n);
        }
    }
}

// The marks of one outline in band `band`, its curve starting startRow rows
// below the band's top.
StripCell MarkCell(const std::vector<Pt>& outline, int len, int band, int startRow) {
    int maxY = 0;
    for (const Pt& p : outline) maxY = Max(maxY, p.y);
    StripCell cell;
    cell.len = len;
    cell.bandTop = band * kStripBand;
    const int top = cell.bandTop + startRow;
    cell.base = Min(top + maxY + 3, cell.bandTop + kStripBand - 1);
    cell.marks.assign(static_cast<size_t>(len) * (cell.base - cell.bandTop), 0);
    for (const Pt& p : outline) cell.At(p.x, p.y + top) |= 1;
    for (const Pt& p : outline) cell.At(p.x, p.y + top + 1) |= 2;
    MarkBelowSecondOutline(cell);
    return cell;
}

// The second outline is the curve one row lower, exactly. The first is the
// curve itself where the second leaves it room and, where the two meet, the
// pixels just above the second, so that each stamp still closes the side:
// the first outline's stamp keeps the piece above the curve apart from the
// region below it, the second's the region above from the piece below.
void PaintCell(TMyBitmap& strip, const StripCell& cell, int cx) {
    for (int y = cell.bandTop; y < cell.base; ++y)
        for (int x = 0; x < cell.len; ++x) {
            const uint8_t v = cell.At(x, y);
            if (v & 2) {
                SetPixel(strip, cx + x, y, kOutline2);
            } else if (!(v & 4)) {
                const bool touches = cell.Lower(x - 1, y) || cell.Lower(x + 1, y) ||
                                     cell.Lower(x, y - 1) || cell.Lower(x, y + 1);
                if ((v & 1) || touches) SetPixel(strip, cx + x, y, kOutline1);
            }
        }
    DrawLine(strip, cx, cell.base, cx + cell.len - 1, cell.base, kBaseline);
}

// One start row for all six bands of a length: the strip offset is measured
// once. The first cell's first outline ends on row 6, so that the key
// colours fall into column 4, rows 5 ... 8.
int StartRow(const std::vector<Pt> (&outlines)[6], bool firstCell) {
    int startRow = 0;
    for (const std::vector<Pt>& o : outlines)
        for (const Pt& p : o) startRow = Max(startRow, -p.y);
    if (firstCell) {
        int maxY = 0;
        for (const Pt& p : outlines[0]) maxY = Max(maxY, p.y);
        startRow = Max(startRow, 6 - maxY);
    }
    return startRow;
}

}  // namespace

const TColor* KnobStripPalette() { return kPalette; }

bool DrawKnobStrip(TMyBitmap& strip) {
    if (!Create24(strip, kStripWidth, kStripHeight)) return false;
    FillBox(strip, 0, 0, kStripWidth, kStripHeight, kBackground);
    KnobTable table;
    BuildGridProfiles(table);
    for (int i = 0; i < kStripCells; ++i) {
        const int len = kStripMinLength + i;
        std::vector<Pt> outlines[6];
        for (int band = 0; band < 6; ++band) outlines[band] = KnobOutline(table.p[band], len);
        const int startRow = StartRow(outlines, i == 0);
        for (int band = 0; band < 6; ++band)
            PaintCell(strip, MarkCell(outlines[band], len, band, startRow), StripCellX(i));
    }
    // The key colours of the first cell.
    SetPixel(strip, 4, 5, kBackground);
    SetPixel(strip, 4, 6, kOutline1);
    SetPixel(strip, 4, 7, kOutline2);
    SetPixel(strip, 4, 8, kBaseline);
    return true;
}

Result LoadKnobStrip(TMyBitmap& strip, const std::string& resourcesDir) {
    TMyBitmap loaded;
    const std::string path = resourcesDir + "/" + kKnobStripFile;
    if (Result read = LoadBmpFile(loaded, path); !read) return read;
    if (loaded.Width != kStripWidth || loaded.Height != kStripHeight)
        return FixedText("Cannot load the picture %s", {path}, "the knob strip has the wrong size");
    if (loaded.BytesPerPixel == 3) {
        strip = std::move(loaded);
        return Result::Success();
    }
    if (!CopyFromBitmap(strip, loaded))
        return FixedText("Cannot load the picture %s", {path}, "out of memory");
    return Result::Success();
}

StripKeys ReadStripKeys(const TMyBitmap& strip) {
    StripKeys k;
    k.background = static_cast<TColor>(GetPixel(strip, 4, 5));
    k.outline1 = static_cast<TColor>(GetPixel(strip, 4, 6));
    k.outline2 = static_cast<TColor>(GetPixel(strip, 4, 7));
    k.baseline = static_cast<TColor>(GetPixel(strip, 4, 8));
    return k;
}

void MeasureStripTop(const TMyBitmap& strip, const StripKeys& keys, int32_t stripTop[kStripCells]) {
    for (int i = 0; i < kStripCells; ++i) {
        stripTop[i] = 0;
        const int x = StripCellX(i);
        for (int y = 0; y <= i + 19 && y < strip.Height; ++y) {
            if (static_cast<TColor>(GetPixel(strip, x, y)) != keys.background) {
                stripTop[i] = y;
                break;
            }
        }
    }
}

}  // namespace orvel
