#include "cutter/PieceEffects.h"

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

struct Run {
    int y, x0, x1;
};

// The piece's pixels inside its box, as row runs.
void PieceRuns(const TMyBitmap& mask, uint8_t code, int x0, int y0, int x1, int y1, std::vector<Run>& runs) {
    runs.clear();
    for (int y = y0; y <= y1; ++y) {
        const uint8_t* p = MaskPx(mask, x0, y);
        int start = -1;
        for (int x = x0; x <= x1; ++x, p += 3) {
            if (p[0] == code) {
                if (start < 0) start = x;
            } else if (start >= 0) {
                runs.push_back({y, start, x - 1});
                start = -1;
            }
        }
        if (start >= 0) runs.push_back({y, start, x1});
    }
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

void WoodPass(TGame& game, TMyBitmap& mask, TGame::WoodBuffer& wood, int rotation, int woodWidth) {
    const GameHeader& h = game.Header;
    const int n = h.TotalTileNum;
    if (wood.Width != mask.Width || wood.Height != mask.Height || wood.Data.empty()) {
        wood.Width = mask.Width;
        wood.Height = mask.Height;
        wood.Data.assign(static_cast<size_t>(mask.Width) * mask.Height * 6, 0);
    }
    const bool hasFrame = h.BorderStyle == 1 && n == h.TileNum + 1;
    std::vector<Run> runs;
    for (int i = 0; i < n; ++i) {
        TPiece& p = game.Pieces[i];
        const int cls = WoodClass(h, i, hasFrame && i == n - 1);
        p.reliefSlot = cls;
        p.reliefCode = 1 << cls;
        int x0, y0, x1, y1;
        if (!ClippedBox(p, rotation, mask, x0, y0, x1, y1)) continue;
        PieceRuns(mask, p.MaskCode, x0, y0, x1, y1, runs);
        const uint32_t clear = ~(7u << (3 * cls));
        for (int a = woodWidth; a >= 0; --a) {
            for (const Run& r : runs) {
                const int wy = r.y + a;
                if (wy >= wood.Height) continue;
                const int xEnd = Min(r.x1 + a, wood.Width - 1);
                uint8_t* w = WoodPx(wood, r.x0 + a, wy);
                for (int wx = r.x0 + a; wx <= xEnd; ++wx, w += 6)
                    PutWood(w, static_cast<uint16_t>(WoodSet(w) | p.reliefCode),
                            (WoodDist(w) & clear) | (static_cast<uint32_t>(a) << (3 * cls)));
            }
        }
    }
    // Joined pieces: where two joined pieces overlap only the nearer wood
    // edge stays, and a piece's face hides its neighbour's edge.
    for (int i = 0; i < n; ++i) {
        const TPiece& p = game.Pieces[i];
        bool joined = false;
        for (int16_t nb : p.neighbours)
            if (nb >= 0 && nb < n && game.Pieces[nb].group == p.group) joined = true;
        if (!joined) continue;
        int x0, y0, x1, y1;
        if (!ClippedBox(p, rotation, mask, x0, y0, x1, y1)) continue;
        x1 = Min(x1 + woodWidth, wood.Width - 1);
        y1 = Min(y1 + woodWidth, wood.Height - 1);
        const int ci = p.reliefSlot;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                uint8_t* w = WoodPx(wood, x, y);
                uint16_t set = WoodSet(w);
                if (!(set & p.reliefCode) || set == p.reliefCode) continue;
                uint32_t dist = WoodDist(w);
                const uint32_t L = (dist >> (3 * ci)) & 7;
                for (int16_t nb : p.neighbours) {
                    if (nb < i || nb >= n) continue;
                    const TPiece& q = game.Pieces[nb];
                    if (q.group != p.group || !(set & q.reliefCode)) continue;
                    int qx0, qy0, qx1, qy1;
                    if (!ClippedBox(q, rotation, mask, qx0, qy0, qx1, qy1)) continue;
                    if (x < qx0 || y < qy0 || x > qx1 + woodWidth || y > qy1 + woodWidth) continue;
                    const int cn = q.reliefSlot;
                    const uint32_t N = (dist >> (3 * cn)) & 7;
                    if (L != 0 && (N == 0 || N < L)) dist &= ~(7u << (3 * ci));
                    if (N > L) dist &= ~(7u << (3 * cn));
                }
                PutWood(w, set, dist);
            }
        }
    }
}

void ReliefPass(TGame& game, TMyBitmap& mask, int rotation, int embossStyle) {
    const int t = kBevelDepth[Clamp(embossStyle, 0, 4)];
    const int R = (t + 1) * 128;
    const int* weight = WeightsFor(embossStyle);
    const int stride = mask.Stride;
    // Pointer steps per direction (rows are stored bottom-up).
    int step[8];
    for (int d = 0; d < 8; ++d) step[d] = kDirs[d][0] * 3 - kDirs[d][1] * stride;
    std::vector<Run> runs;
    for (int i = 0; i < game.Header.TotalTileNum; ++i) {
        const TPiece& p = game.Pieces[i];
        int x0, y0, x1, y1;
        if (!ClippedBox(p, rotation, mask, x0, y0, x1, y1)) continue;
        const uint8_t code = p.MaskCode;
        PieceRuns(mask, code, x0, y0, x1, y1, runs);
        for (const Run& r : runs) {
            const int y = r.y;
            for (int x = r.x0; x <= r.x1; ++x) {
                uint8_t* px = MaskPx(mask, x, y);
                const int room[8] = {x - x0, y - y0, x1 - x, y1 - y, Min(x - x0, y - y0), Min(x1 - x, y - y0),
                                     Min(x1 - x, y1 - y), Min(x - x0, y1 - y)};
                int e = 0;
                for (int d = 0; d < 8; ++d) {
                    const int reach = Min(t + 1, room[d]);
                    int run = 0;
                    const uint8_t* q = px;
                    while (run < reach) {
                        q += step[d];
                        if (q[0] != code) break;
                        ++run;
                    }
                    const int rr = 1 + run;
                    const int dd = (d < 4 ? 128 : 181) * rr;
                    if (dd <= R) e += (R - dd) * weight[d];
                }
                e /= 128;
                e = Clamp(e, -127, 127);
                if (e != 0) px[2] = static_cast<uint8_t>(128 + e);
            }
        }
    }
}

}  // namespace

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
    if (mask.Width == 0 || mask.BytesPerPixel != 3) return;
    if (settings.WoodStyle != 0)
        WoodPass(game, mask, wood, rotation, WoodWidthFor(settings.WoodStyle));
    else
        wood = TGame::WoodBuffer{};
    if (settings.EmbossStyle >= 1 && settings.EmbossStyle <= 3) ReliefPass(game, mask, rotation, settings.EmbossStyle);
}

void ApplyPieceEffects(TGame& game, const EffectSettings& settings, Progress* progress) {
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
