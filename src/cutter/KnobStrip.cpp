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

}  // namespace

const TColor* KnobStripPalette() { return kPalette; }

bool DrawKnobStrip(TMyBitmap& strip) {
    Create24(strip, kStripWidth, kStripHeight);
    if (strip.Width == 0) return false;
    FillBox(strip, 0, 0, kStripWidth, kStripHeight, kBackground);
    KnobTable table;
    BuildGridProfiles(table);
    for (int i = 0; i < kStripCells; ++i) {
        const int len = kStripMinLength + i, cx = StripCellX(i);
        std::vector<Pt> outlines[6];
        // One start row for all six bands of a length: the strip offset is
        // measured once, in the first band.
        int startRow = 0;
        for (int band = 0; band < 6; ++band) {
            outlines[band] = KnobOutline(table.p[band], len);
            for (const Pt& p : outlines[band]) startRow = Max(startRow, -p.y);
        }
        if (i == 0) {
            // The first outline's lowest row of the first cell is row 6, so
            // that the key colours fall into column 4, rows 5 ... 8.
            int maxY = 0;
            for (const Pt& p : outlines[0]) maxY = Max(maxY, p.y);
            startRow = Max(startRow, 6 - maxY);
        }
        for (int band = 0; band < 6; ++band) {
            const std::vector<Pt>& o = outlines[band];
            int maxY = 0;
            for (const Pt& p : o) maxY = Max(maxY, p.y);
            const int top = band * kStripBand + startRow;
            // The second outline is the curve one row lower, exactly. The
            // first is the curve itself where the second leaves it room and,
            // where the two meet, the pixels just above the second, so that
            // each stamp still closes the side: the first outline's stamp
            // keeps the piece above the curve apart from the region below
            // it, the second's the region above from the piece below.
            const int bandTop = band * kStripBand;
            const int base = Min(top + maxY + 3, bandTop + kStripBand - 1);
            const int rows = base - bandTop;
            // 0 free, 1 curve, 2 second outline, 4 below the second outline.
            std::vector<uint8_t> cell(static_cast<size_t>(len) * rows, 0);
            auto at = [&](int x, int y) -> uint8_t& { return cell[static_cast<size_t>(y - bandTop) * len + x]; };
            for (const Pt& p : o) at(p.x, p.y + top) |= 1;
            for (const Pt& p : o) at(p.x, p.y + top + 1) |= 2;
            // The region below the second outline: 4-connected from the row
            // above the baseline.
            std::vector<Pt> stack;
            for (int x = 0; x < len; ++x)
                if (!(at(x, base - 1) & 6)) {
                    at(x, base - 1) |= 4;
                    stack.push_back({x, base - 1});
                }
            while (!stack.empty()) {
                const Pt c = stack.back();
                stack.pop_back();
                const Pt next[4] = {{c.x - 1, c.y}, {c.x + 1, c.y}, {c.x, c.y - 1}, {c.x, c.y + 1}};
                for (const Pt& n : next) {
                    if (n.x < 0 || n.x >= len || n.y < bandTop || n.y >= base || (at(n.x, n.y) & 6)) continue;
                    at(n.x, n.y) |= 4;
                    stack.push_back(n);
                }
            }
            auto lower = [&](int x, int y) {
                return x >= 0 && x < len && y >= bandTop && y < base && (at(x, y) & 6);
            };
            for (int y = bandTop; y < base; ++y)
                for (int x = 0; x < len; ++x) {
                    const uint8_t v = at(x, y);
                    if (v & 2) {
                        SetPixel(strip, cx + x, y, kOutline2);
                    } else if (!(v & 4)) {
                        const bool touches = lower(x - 1, y) || lower(x + 1, y) || lower(x, y - 1) || lower(x, y + 1);
                        if ((v & 1) || touches) SetPixel(strip, cx + x, y, kOutline1);
                    }
                }
            DrawLine(strip, cx, base, cx + len - 1, base, kBaseline);
        }
    }
    // The key colours of the first cell.
    SetPixel(strip, 4, 5, kBackground);
    SetPixel(strip, 4, 6, kOutline1);
    SetPixel(strip, 4, 7, kOutline2);
    SetPixel(strip, 4, 8, kBaseline);
    return true;
}

bool LoadKnobStrip(TMyBitmap& strip, const std::string& resourcesDir, std::string* error) {
    TMyBitmap loaded;
    if (!LoadBmpFile(loaded, resourcesDir + "/" + kKnobStripFile, error)) return false;
    if (loaded.Width != kStripWidth || loaded.Height != kStripHeight) {
        if (error) *error = "knob strip has the wrong size";
        return false;
    }
    if (loaded.BytesPerPixel == 3) {
        strip = std::move(loaded);
    } else {
        CopyFromBitmap(strip, loaded);
    }
    return strip.Width == kStripWidth;
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
