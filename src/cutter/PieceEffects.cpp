#include "cutter/PieceEffects.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <vector>

#include "cutter/MaskAccess.h"
#include "graphics/Rect.h"

namespace orvel {

namespace {

const int kBevelDepth[5] = {0, 1, 2, 3, 3};
// Light weights: left, up, right, down, up-left, up-right, down-right, down-left.
const int kWeights[3][8] = {
    {20, 20, -20, -20, 40, 10, -40, -10},
    {10, 10, -10, -10, 20, 5, -20, -5},
    {8, 8, -8, -8, 12, 5, -12, -5},
};
const int kDirs[8][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}};

const int* WeightsFor(int embossStyle) {
    return embossStyle == 1 ? kWeights[0] : (embossStyle == 2 ? kWeights[1] : kWeights[2]);
}

int WoodClass(const GameHeader& h, int index, bool framePiece) {
    if (framePiece) return 9;
    const int row = index / h.TilePX, col = index % h.TilePX;
    return (row % 3) * 3 + col % 3;
}

// Clipped box of a piece in a rotation's mask.
bool ClippedBox(const TPiece& p, int rotation, const TMyBitmap& mask, int& x0, int& y0, int& x1, int& y1) {
    int x, y, w, h;
    RotatedBox(p, rotation, mask.Width, mask.Height, x, y, w, h);
    x0 = Max(x, 0);
    y0 = Max(y, 0);
    x1 = Min(x + w - 1, mask.Width - 1);
    y1 = Min(y + h - 1, mask.Height - 1);
    return x0 <= x1 && y0 <= y1;
}

uint8_t* WoodPx(TGame::WoodBuffer& wood, int x, int y) {
    return wood.Data.data() + (static_cast<size_t>(y) * wood.Width + x) * 6;
}
uint16_t WoodSet(const uint8_t* w) { return static_cast<uint16_t>(w[0] | (w[1] << 8)); }
uint32_t WoodDist(const uint8_t* w) {
    return static_cast<uint32_t>(w[2]) | (static_cast<uint32_t>(w[3]) << 8) | (static_cast<uint32_t>(w[4]) << 16) |
           (static_cast<uint32_t>(w[5]) << 24);
}
void PutWood(uint8_t* w, uint16_t set, uint32_t dist) {
    w[0] = set & 0xFF;
    w[1] = set >> 8;
    w[2] = dist & 0xFF;
    w[3] = (dist >> 8) & 0xFF;
    w[4] = (dist >> 16) & 0xFF;
    w[5] = dist >> 24;
}

void EnsureWood(TGame::WoodBuffer& wood, const TMyBitmap& mask) {
    if (wood.Width != mask.Width || wood.Height != mask.Height || wood.Data.empty()) {
        wood.Width = mask.Width;
        wood.Height = mask.Height;
        wood.Data.assign(static_cast<size_t>(mask.Width) * mask.Height * 6, 0);
    }
}

// A map of one piece's box with a one-pixel frame that is never part of
// the piece: 1 where the mask has the piece's code.
struct PieceMap {
    std::vector<uint8_t> in;
    int bw = 0, bh = 0, pw = 0;
    const uint8_t* Row(int y) const { return in.data() + static_cast<size_t>(y + 1) * pw + 1; }
};

bool BuildPieceMap(const TMyBitmap& mask, uint8_t code, int x0, int y0, int x1, int y1, PieceMap& m) {
    m.bw = x1 - x0 + 1;
    m.bh = y1 - y0 + 1;
    m.pw = m.bw + 2;
    m.in.assign(static_cast<size_t>(m.pw) * (m.bh + 2), 0);
    bool any = false;
    for (int y = 0; y < m.bh; ++y) {
        const uint8_t* px = MaskPx(mask, x0, y0 + y);
        uint8_t* in = m.in.data() + static_cast<size_t>(y + 1) * m.pw + 1;
        for (int x = 0; x < m.bw; ++x, px += 3) {
            in[x] = px[0] == code;
            any |= in[x];
        }
    }
    return any;
}

// The wood pass for one piece: each wood pixel the piece covers at a shift
// of A = WoodWidth ... 0 ends with the smallest such A. The shifts are
// gathered in a small map first, then written once per pixel.
void WoodPiece(TGame::WoodBuffer& wood, const TPiece& p, const PieceMap& m, int x0, int y0, int woodWidth,
               std::vector<uint8_t>& local) {
    const int lw = m.bw + woodWidth, lh = m.bh + woodWidth;
    local.assign(static_cast<size_t>(lw) * lh, 0xFF);
    // The smallest shift that brings a piece pixel onto (x, y) runs down the
    // diagonal: 0 on the piece, else one more than at (x - 1, y - 1); 0xFF
    // (or anything beyond WoodWidth) means the piece does not reach it.
    for (int ly = 0; ly < lh; ++ly) {
        uint8_t* row = local.data() + static_cast<size_t>(ly) * lw;
        const uint8_t* above = ly > 0 ? row - lw : nullptr;
        const uint8_t* in = ly < m.bh ? m.Row(ly) : nullptr;
        for (int lx = 0; lx < lw; ++lx) {
            if (in && lx < m.bw && in[lx]) {
                row[lx] = 0;
            } else if (above && lx > 0 && above[lx - 1] < woodWidth) {
                row[lx] = static_cast<uint8_t>(above[lx - 1] + 1);
            }
        }
    }
    const int cls = p.reliefSlot;
    const uint32_t clear = ~(7u << (3 * cls));
    const uint16_t bit = static_cast<uint16_t>(p.reliefCode);
    for (int ly = 0; ly < lh; ++ly) {
        const int wy = y0 + ly;
        if (wy >= wood.Height) break;
        const uint8_t* row = local.data() + static_cast<size_t>(ly) * lw;
        const int lxEnd = Min(lw, wood.Width - x0);
        uint8_t* w = WoodPx(wood, x0, wy);
        for (int lx = 0; lx < lxEnd; ++lx, w += 6) {
            if (row[lx] == 0xFF) continue;
            uint16_t set;
            uint32_t dist;
            std::memcpy(&set, w, 2);
            std::memcpy(&dist, w + 2, 4);
            set = static_cast<uint16_t>(set | bit);
            dist = (dist & clear) | (static_cast<uint32_t>(row[lx]) << (3 * cls));
            std::memcpy(w, &set, 2);
            std::memcpy(w + 2, &dist, 4);
        }
    }
}

// Joined pieces: where two joined pieces overlap only the nearer wood edge
// stays, and a piece's face hides its neighbour's edge.
void WoodJoined(TGame& game, TMyBitmap& mask, TGame::WoodBuffer& wood, int rotation, int woodWidth) {
    const int n = game.Header.TotalTileNum;
    struct Later {
        const TPiece* q;
        int x0, y0, x1, y1;  // extended box
    };
    for (int i = 0; i < n; ++i) {
        const TPiece& p = game.Pieces[i];
        bool joined = false;
        for (int16_t nb : p.neighbours)
            if (nb >= 0 && nb < n && game.Pieces[nb].group == p.group) joined = true;
        if (!joined) continue;
        // Only joined neighbours with an index of at least i take part;
        // without any, nothing changes for this piece.
        Later later[9];
        int count = 0;
        for (int16_t nb : p.neighbours) {
            if (nb < i || nb >= n) continue;
            const TPiece& q = game.Pieces[nb];
            if (q.group != p.group) continue;
            int qx0, qy0, qx1, qy1;
            if (!ClippedBox(q, rotation, mask, qx0, qy0, qx1, qy1)) continue;
            later[count++] = {&q, qx0, qy0, qx1 + woodWidth, qy1 + woodWidth};
        }
        if (count == 0) continue;
        int x0, y0, x1, y1;
        if (!ClippedBox(p, rotation, mask, x0, y0, x1, y1)) continue;
        x1 = Min(x1 + woodWidth, wood.Width - 1);
        y1 = Min(y1 + woodWidth, wood.Height - 1);
        const int ci = p.reliefSlot;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                uint8_t* w = WoodPx(wood, x, y);
                const uint16_t set = WoodSet(w);
                if (!(set & p.reliefCode) || set == p.reliefCode) continue;
                uint32_t dist = WoodDist(w);
                const uint32_t L = (dist >> (3 * ci)) & 7;
                for (int k = 0; k < count; ++k) {
                    const Later& l = later[k];
                    if (!(set & l.q->reliefCode)) continue;
                    if (x < l.x0 || y < l.y0 || x > l.x1 || y > l.y1) continue;
                    const int cn = l.q->reliefSlot;
                    const uint32_t N = (dist >> (3 * cn)) & 7;
                    if (L != 0 && (N == 0 || N < L)) dist &= ~(7u << (3 * ci));
                    if (N > L) dist &= ~(7u << (3 * cn));
                }
                PutWood(w, set, dist);
            }
        }
    }
}

void ReliefPiece(TMyBitmap& mask, const PieceMap& m, int x0, int y0, int embossStyle) {
    const int t = kBevelDepth[Clamp(embossStyle, 0, 4)];
    const int R = (t + 1) * 128;
    const int* weight = WeightsFor(embossStyle);
    const int bw = m.bw, bh = m.bh, pw = m.pw;
    // The contribution of a direction for each run length.
    int contrib[8][8] = {};
    const int cap = t + 1;
    for (int d = 0; d < 8; ++d)
        for (int r = 0; r <= cap; ++r) {
            const int dd = (d < 4 ? 128 : 181) * (1 + r);
            contrib[d][r] = dd <= R ? (R - dd) * weight[d] : 0;
        }
    // Runs along the eight rays, read from the compact map: its frame is
    // never part of the piece, so no ray leaves it.
    int off[8];
    for (int d = 0; d < 8; ++d) off[d] = kDirs[d][1] * pw + kDirs[d][0];
    for (int y = 1; y <= bh; ++y) {
        const uint8_t* in = m.in.data() + static_cast<size_t>(y) * pw;
        uint8_t* px = MaskPx(mask, x0, y0 + y - 1);
        for (int x = 1; x <= bw; ++x, px += 3) {
            if (!in[x]) continue;
            int e = 0;
            for (int d = 0; d < 8; ++d) {
                const uint8_t* q = in + x;
                int run = 0;
                while (run < cap && q[off[d]]) {
                    q += off[d];
                    ++run;
                }
                e += contrib[d][run];
            }
            e /= 128;
            e = Clamp(e, -127, 127);
            if (e != 0) px[2] = static_cast<uint8_t>(128 + e);
        }
    }
}

}  // namespace

void MarkEffectsBuilt(TGame& game) {
    static std::atomic<uint64_t> last{0};
    game.EffectsStamp = ++last;
    game.WoodChanges.clear();
}

int WoodWidthFor(int woodStyle) { return woodStyle == 1 ? 3 : (woodStyle == 2 ? 5 : 0); }

void RotatedBox(const TPiece& p, int rotation, int maskW, int maskH, int& x, int& y, int& w, int& h) {
    switch (rotation & 3) {
        case 1:
            x = maskW - p.boxH - p.boxY - 5;
            y = p.boxX;
            w = p.boxH;
            h = p.boxW;
            break;
        case 2:
            x = maskW - p.boxW - p.boxX - 5;
            y = maskH - p.boxH - p.boxY - 5;
            w = p.boxW;
            h = p.boxH;
            break;
        case 3:
            x = p.boxY;
            y = maskH - p.boxW - p.boxX - 5;
            w = p.boxH;
            h = p.boxW;
            break;
        default:
            x = p.boxX;
            y = p.boxY;
            w = p.boxW;
            h = p.boxH;
            break;
    }
}

void ResetRelief(TMyBitmap& mask) {
    for (int y = 0; y < mask.Height; ++y) {
        uint8_t* p = RowPtr(mask, y);
        for (int x = 0; x < mask.Width; ++x, p += 3) {
            p[1] = 0;
            p[2] = 128;
        }
    }
}

void BuildPieceEffects(TGame& game, const EffectSettings& settings, TMyBitmap& mask,
                       TGame::WoodBuffer& wood, int rotation) {
    MarkEffectsBuilt(game);
    const GameHeader& h = game.Header;
    // The wood classes follow the grid columns; a header without any (a
    // damaged saved game) gets no effects rather than a division by zero.
    if (mask.Width == 0 || mask.BytesPerPixel != 3 || h.TilePX < 1) return;
    const int n = Min(h.TotalTileNum, static_cast<int>(game.Pieces.size()));
    const int woodWidth = WoodWidthFor(settings.WoodStyle);
    const bool relief = settings.EmbossStyle >= 1 && settings.EmbossStyle <= 3;
    if (woodWidth > 0)
        EnsureWood(wood, mask);
    else
        wood = TGame::WoodBuffer{};
    const bool hasFrame = h.BorderStyle == 1 && n == h.TileNum + 1;
    PieceMap map;
    std::vector<uint8_t> local;
    // Both passes read only the piece codes (blue) and write apart (the
    // relief into red, the wood into its buffer), so they share one scan
    // of each piece.
    for (int i = 0; i < n; ++i) {
        TPiece& p = game.Pieces[i];
        if (woodWidth > 0) {
            const int cls = WoodClass(h, i, hasFrame && i == n - 1);
            p.reliefSlot = cls;
            p.reliefCode = 1 << cls;
        }
        int x0, y0, x1, y1;
        if (!ClippedBox(p, rotation, mask, x0, y0, x1, y1)) continue;
        if (!BuildPieceMap(mask, p.MaskCode, x0, y0, x1, y1, map)) continue;
        if (woodWidth > 0) WoodPiece(wood, p, map, x0, y0, woodWidth, local);
        if (relief) ReliefPiece(mask, map, x0, y0, settings.EmbossStyle);
    }
    if (woodWidth > 0) WoodJoined(game, mask, wood, rotation, woodWidth);
}

void ApplyPieceEffects(TGame& game, const EffectSettings& settings, Progress* progress) {
    MarkEffectsBuilt(game);
    for (auto& w : game.Wood) w = TGame::WoodBuffer{};
    game.WoodWidth = WoodWidthFor(settings.WoodStyle);
    if (settings.EmbossStyle == 0 && settings.WoodStyle == 0) return;
    if (static_cast<int>(game.Pieces.size()) < game.Header.TotalTileNum) return;
    const int rotations = game.Header.Rotate ? 4 : 1;
    for (int r = 0; r < rotations; ++r) {
        BuildPieceEffects(game, settings, game.Mask(r), game.Wood[r], r);
        if (progress) progress->StepProgress();
    }
}

void PreviewEffects(const TMyBitmap& sampleMask, const TMyBitmap& samplePicture, TMyBitmap& output,
                    TColor woodColor, int woodStyle, int embossStyle) {
    const int w = Min(Min(sampleMask.Width, samplePicture.Width), output.Width);
    const int h = Min(Min(sampleMask.Height, samplePicture.Height), output.Height);
    if (w <= 0 || h <= 0) return;
    auto inPiece = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && (GetPixel(sampleMask, x, y) & 0xFFFFFF) != 0;
    };
    const int t = kBevelDepth[Clamp(embossStyle, 0, 4)];
    const double R = (t + 1) * 128.0;
    const int* weight = WeightsFor(embossStyle);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!inPiece(x, y)) continue;
            int offset = 0;
            if (embossStyle >= 1 && embossStyle <= 3) {
                double e = 0;
                for (int d = 0; d < 8; ++d) {
                    int run = 0;
                    while (run < t + 1 && inPiece(x + kDirs[d][0] * (run + 1), y + kDirs[d][1] * (run + 1))) ++run;
                    const double dd = (d < 4 ? 128.0 : 128.0 * std::sqrt(2.0)) * (1 + run);
                    if (dd <= R) e += (R - dd) * weight[d];
                }
                offset = Clamp(Round(e / 128), -127, 127);
            }
            const TColor c = static_cast<TColor>(GetPixel(samplePicture, x, y));
            SetPixel(output, x, y,
                     RgbToColor(ClampByte(ColorR(c) + offset), ClampByte(ColorG(c) + offset),
                                ClampByte(ColorB(c) + offset)));
        }
    }
    const int ww = WoodWidthFor(woodStyle);
    if (ww == 0) return;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (inPiece(x, y)) continue;
            int dist = 0;
            for (int a = 1; a <= ww && dist == 0; ++a)
                if (inPiece(x - a, y - a)) dist = a;
            if (dist == 0) continue;
            if (woodStyle == 1) {
                SetPixel(output, x, y,
                         RgbToColor(ClampByte(ColorR(woodColor) - 10 * dist), ClampByte(ColorG(woodColor) - 10 * dist),
                                    ClampByte(ColorB(woodColor) - 10 * dist)));
            } else {
                const int s = 128 - 28 * dist;
                const TColor c = static_cast<TColor>(GetPixel(output, x, y));
                auto shade = [&](int v) { return ClampByte(v * (256 - s) / 256); };
                SetPixel(output, x, y, RgbToColor(shade(ColorR(c)), shade(ColorG(c)), shade(ColorB(c))));
            }
        }
    }
}

}  // namespace orvel
