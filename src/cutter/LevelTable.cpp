#include "cutter/LevelTable.h"

#include <cmath>
#include <cstdint>

#include "graphics/Rect.h"

namespace orvel {

namespace {

// Grid columns or rows for a picture side. A side narrower than the frame
// gives no cells rather than a negative count.
int CellsAlong(int side, int tileS, int borderStyle) {
    const int free = borderStyle == 1 ? side - 40 : side;
    if (free <= 0 || tileS <= 0) return 0;
    return free / tileS;
}

// A piece count held in 32 bits: an absurd picture size (read from a file)
// saturates instead of wrapping round to a small or negative count.
int32_t SaturatedCount(int64_t n) { return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n); }

}  // namespace

LevelRecord ComputeLevelRecord(int tileS, int w, int h, int shapeStyle, int borderStyle) {
    if (tileS < 1) tileS = 1;
    LevelRecord r;
    r.TileS = tileS;
    r.MaskS = (tileS - 20) / 4 * 6 + 28;
    r.KnobDepth = (r.MaskS - tileS) / 2;
    r.TilePX = CellsAlong(w, tileS, borderStyle);
    r.TilePY = CellsAlong(h, tileS, borderStyle);
    r.TileNum = SaturatedCount(static_cast<int64_t>(r.TilePX) * r.TilePY);
    if (shapeStyle == 3) {
        r.PicPX = r.TilePX / 2;
        r.PicPY = r.TilePY / 2;
        r.PicNum = SaturatedCount(static_cast<int64_t>(r.PicPX) * r.PicPY);
    }
    r.TotalTileNum = SaturatedCount(static_cast<int64_t>(r.TileNum) + r.PicNum);
    return r;
}

void BuildLevelTable(LevelTable& table, int w, int h, int shapeStyle, int borderStyle) {
    // Level 0: the first tile size from 20 up with at most 3999 pieces.
    LevelRecord first;
    for (int tileS = 20;; ++tileS) {
        first = ComputeLevelRecord(tileS, w, h, shapeStyle, borderStyle);
        if (first.TotalTileNum <= 3999) break;
    }
    table.level[0] = first;

    // Level 13: about 16 pieces, searched in steps of 1 % from a quarter of the
    // shorter side. A tile size never drops below 1 (a picture too small for
    // 16 pieces would otherwise shrink it to zero and divide by it).
    double t = Min(w, h) / 4;
    if (t < 1) t = 1;
    LevelRecord last = ComputeLevelRecord(static_cast<int>(t), w, h, shapeStyle, borderStyle);
    if (last.TotalTileNum < 16) {
        while (last.TotalTileNum < 16) {
            t = t * 0.99;
            const int tileS = Round(t);
            if (tileS < 1) break;
            last = ComputeLevelRecord(tileS, w, h, shapeStyle, borderStyle);
            if (tileS == 1) break;
        }
    } else if (last.TotalTileNum > 16) {
        for (;;) {
            t = t * 1.01;
            const LevelRecord candidate = ComputeLevelRecord(Round(t), w, h, shapeStyle, borderStyle);
            if (candidate.TotalTileNum <= 16) break;
            if (candidate.TotalTileNum < last.TotalTileNum) {
                last = candidate;
                break;
            }
        }
    }
    table.level[kLevelCount - 1] = last;

    const double ratio = std::pow(static_cast<double>(last.TileS) / first.TileS, 1.0 / 13);
    double m = first.TileS;
    for (int level = 1; level <= 12; ++level) {
        m = m * ratio;
        table.level[level] = ComputeLevelRecord(Round(m), w, h, shapeStyle, borderStyle);
    }
}

bool FillHeaderFromLevel(GameHeader& header, const LevelTable& table, int level, int w, int h,
                         int borderStyle) {
    level = Clamp(level, 0, kLevelCount - 1);
    const LevelRecord& r = table.level[level];
    header.MaskS = r.MaskS;
    header.TileS = r.TileS;
    header.KnobDepth = r.KnobDepth;
    header.SnapBase = Max(r.KnobDepth / 2, 4);
    header.TilePX = CellsAlong(w, r.TileS, borderStyle);
    header.TilePY = CellsAlong(h, r.TileS, borderStyle);
    header.TileNum = SaturatedCount(static_cast<int64_t>(header.TilePX) * header.TilePY);
    header.PicPX = 0;
    header.PicPY = 0;
    header.PicNum = 0;
    header.TotalTileNum = header.TileNum;
    header.Level = level;
    return header.TotalTileNum <= kMaxPlayablePieces;
}

}  // namespace orvel
