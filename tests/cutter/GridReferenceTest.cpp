// The grid cutter and the piece effects against plain, step-by-step
// versions written straight from the cutter's rules (no shortcuts): the
// same seed must give the same mask, records, relief and wood data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "CutTestUtil.h"
#include "ResultTestUtil.h"
#include "cutter/CutCommon.h"
#include "cutter/Knob.h"
#include "cutter/KnobStrip.h"
#include "cutter/MaskAccess.h"
#include "cutter/PieceEffects.h"
#include "graphics/Rect.h"

namespace orvel {
namespace {

// ---- The grid cutter, step by step ------------------------------------

struct PlainGrid {
    TGame& game;
    const TMyBitmap& strip;
    TMyBitmap work;
    KnobTable prof;
    std::vector<int> shapes;
    int stripTop[29] = {};
    TColor bg = 0, out1 = 0, out2 = 0, base = 0;

    TColor StripPx(int x, int y) const { return static_cast<TColor>(GetPixel(strip, x, y)); }
    void Put(int x, int y, TColor c) {
        if (x >= 0 && y >= 0 && x < work.Width && y < work.Height) SetPixel(work, x, y, c);
    }

    void Knob(int side, KnobPoint from, TColor color, KnobPoint to) {
        const GameHeader& h = game.Header;
        const int profile = shapes[game.RandInt(static_cast<int>(shapes.size()))];
        const int mirror = game.RandInt(2);
        // From-point: a steep side from its upper end, a flat one from its left end.
        KnobPoint F = from, T = to;
        const bool steep = std::abs(from.x - to.x) < std::abs(from.y - to.y);
        if (steep ? to.y < from.y : to.x < from.x) std::swap(F, T);
        const int Mx = (F.x + T.x) / 2, My = (F.y + T.y) / 2;
        const double D = std::hypot(T.x - F.x, T.y - F.y);
        double H = h.KnobDepth;
        const double eY = D > 0 ? (T.y - F.y) / D : 0, eX = D > 0 ? (T.x - F.x) / D : 0;
        int Ax = side == 1 ? Mx + Round(H * eY) : Mx - Round(H * eY);
        int Ay = side == 1 ? My - Round(H * eX) : My + Round(H * eX);
        bool clipped = false;
        if (side == 1 && Ay < 0) {
            Ax = Round(Mx + (Ax - Mx) * (2.0 - My) / (Ay - My)), Ay = 2, clipped = true;
        } else if (side == 0 && Ay >= h.ImageH) {
            Ax = Round(Mx + (Ax - Mx) * (h.ImageH - 2.0 - My) / (Ay - My)), Ay = h.ImageH - 2, clipped = true;
        } else if (side == 0 && Ax < 0) {
            Ay = Round(My + (Ay - My) * (2.0 - Mx) / (Ax - Mx)), Ax = 2, clipped = true;
        } else if (side == 1 && Ax >= h.ImageW) {
            Ay = Round(My + (Ay - My) * (h.ImageW - 2.0 - Mx) / (Ax - Mx)), Ax = h.ImageW - 2, clipped = true;
        }
        if (clipped) H = std::hypot(Ax - Mx, Ay - My);
        const bool horizontal = F.y == T.y, vertical = F.x == T.x;
        const int len = (horizontal ? T.x - F.x : T.y - F.y) + 1;
        if (profile <= 5 && !clipped && (horizontal || vertical) && len >= 20 && len <= 48) {
            const int i = len - 20;
            const int cellX = 21 * i + i * (i - 1) / 2;
            const int row0 = 22 * profile + (side == 1 ? 1 : 0);
            const TColor key = side == 1 ? out2 : out1;
            const int rows = len / 2 + stripTop[i];
            int dest = (horizontal ? F.y : F.x) + (side == 1 ? stripTop[i] : -stripTop[i]);
            for (int r = 0; r < rows && row0 + r < strip.Height; ++r, dest += side == 1 ? -1 : 1) {
                const int first = mirror ? cellX + len - 1 : cellX;
                if (StripPx(first, row0 + r) == base) break;
                for (int k = 0; k < len; ++k) {
                    const int sx = mirror ? first - k : first + k;
                    if (StripPx(sx, row0 + r) != key) continue;
                    if (horizontal)
                        Put(F.x + k, dest, color);
                    else
                        Put(dest, F.y + k, color);
                }
            }
            return;
        }
        if (D == 0) return;
        const KnobProfile& p = prof.p[profile];
        const int n = p.count;
        std::vector<double> px(n), py(n);
        const double sv = H / p.baseY, sh = D / p.profileWidth;
        for (int j = 0; j < n; ++j) {
            const double x = mirror ? p.profileWidth - p.x[n - 1 - j] : p.x[j];
            const double y = mirror ? p.y[n - 1 - j] : p.y[j];
            const double a = sv * (p.baseY - y), b = sh * x;
            px[j] = side == 1 ? F.x + eY * a + eX * b : F.x - eY * a + eX * b;
            py[j] = side == 1 ? F.y - eX * a + eY * b : F.y + eX * a + eY * b;
        }
        DrawBezierChain(work, px.data(), py.data(), n, color);
        Put(Round(px[0]), Round(py[0]), color);
    }

    bool Cut() {
        GameHeader& h = game.Header;
        if (h.ShapeStyle == 4)
            shapes = {0};
        else if (h.ShapeStyle == 5)
            shapes = {0, 1, 2, 3};
        else
            shapes = {0, 1, 2, 3, 4, 5};
        if (!Create24(work, h.ImageW + 5, h.ImageH + 5)) return false;
        FillBox(work, 0, 0, work.Width, work.Height, 0);
        FillBox(work, 0, 0, h.ImageW, h.ImageH, 0xFFFFFF);
        BuildGridProfiles(prof);
        bg = StripPx(4, 5), out1 = StripPx(4, 6), out2 = StripPx(4, 7), base = StripPx(4, 8);
        for (int i = 0; i < 29; ++i) {
            stripTop[i] = 0;
            for (int y = 0; y <= i + 19; ++y)
                if (StripPx(21 * i + i * (i - 1) / 2, y) != bg) {
                    stripTop[i] = y;
                    break;
                }
        }
        const int m = h.BorderStyle == 1 ? 20 : 0;
        h.JigsL = h.JigsT = m;
        h.JigsR = h.ImageW - m - 1;
        h.JigsB = h.ImageH - m - 1;
        const int PX = h.TilePX, PY = h.TilePY, KD = h.KnobDepth;
        const int freeW = h.ImageW - PX * h.TileS - 2 * m, freeH = h.ImageH - PY * h.TileS - 2 * m;
        static const int codes[3][3] = {{25, 150, 75}, {200, 125, 50}, {175, 100, 225}};
        static const int bits[2][3] = {{1, 2, 4}, {8, 16, 32}};
        std::vector<KnobPoint> tl(h.TileNum), tr(h.TileNum), bl(h.TileNum), br(h.TileNum);
        std::vector<int> sideL(h.TileNum), sideT(h.TileNum), sideR(h.TileNum), sideB(h.TileNum);
        int y = m;
        for (int row = 0; row < PY; ++row) {
            const int ch = h.TileS + freeH / PY + (row < freeH % PY ? 1 : 0);
            int x = m;
            for (int col = 0; col < PX; ++col) {
                const int cw = h.TileS + freeW / PX + (col < freeW % PX ? 1 : 0);
                const int k = row * PX + col;
                TPiece& p = game.Pieces[k];
                p.cellX = x, p.cellY = y, p.cellW = cw, p.cellH = ch;
                p.boxX = x - (col > 0 ? KD : 0);
                p.boxY = y - (row > 0 ? KD : 0);
                p.boxW = cw + (col > 0 ? KD : 0) + (col < PX - 1 ? KD : 0);
                p.boxH = ch + (row > 0 ? KD : 0) + (row < PY - 1 ? KD : 0);
                tl[k] = {x, y}, tr[k] = {x + cw - 1, y}, bl[k] = {x, y + ch - 1}, br[k] = {x + cw - 1, y + ch - 1};
                p.reliefSlot = x, p.reliefCode = y, p.cornerR = x + cw - 1, p.cornerB = y + ch - 1;
                p.MaskCode = static_cast<uint8_t>(codes[row % 3][col % 3]);
                p.JoinBit = static_cast<uint8_t>(bits[row % 2][col % 3]);
                for (auto& nb : p.neighbours) nb = -1;
                p.neighbours[0] = static_cast<int16_t>(col > 0 ? k - 1 : -1);
                p.neighbours[1] = static_cast<int16_t>(row > 0 ? k - PX : -1);
                p.neighbours[2] = static_cast<int16_t>(col < PX - 1 ? k + 1 : -1);
                p.neighbours[3] = static_cast<int16_t>(row < PY - 1 ? k + PX : -1);
                p.isPicture = 0;
                x += cw;
            }
            y += ch;
        }
        for (int k = 0; k < h.TileNum; ++k) {
            const int row = k / PX, col = k % PX;
            if (col > 0) sideL[k] = sideR[k - 1];
            if (col < PX - 1) sideR[k] = game.RandInt(2);
            if (row > 0) sideT[k] = sideB[k - PX];
            if (row < PY - 1) sideB[k] = game.RandInt(2);
        }
        auto color = [&](int k) { return RgbToColor(128, 0, game.Pieces[k].MaskCode); };
        for (int col = 0; col < PX - 1; ++col)
            for (int row = 0; row < PY; ++row) Knob(sideR[row * PX + col], tr[row * PX + col], color(row * PX + col), br[row * PX + col]);
        for (int row = 0; row < PY - 1; ++row)
            for (int col = 0; col < PX; ++col) Knob(sideB[row * PX + col], bl[row * PX + col], color(row * PX + col), br[row * PX + col]);
        if (h.BorderStyle == 1) {
            for (int row = 0; row < PY; ++row) {
                const int a = row * PX, b = row * PX + PX - 1;
                DrawLine(work, tl[a].x, tl[a].y, bl[a].x, bl[a].y, color(a));
                DrawLine(work, tr[b].x, tr[b].y, br[b].x, br[b].y, color(b));
            }
            for (int col = 0; col < PX; ++col) {
                const int a = col, b = (PY - 1) * PX + col;
                DrawLine(work, tl[a].x, tl[a].y, tr[a].x, tr[a].y, color(a));
                DrawLine(work, bl[b].x, bl[b].y, br[b].x, br[b].y, color(b));
            }
        }
        bool failed = false;
        for (int k = 0; k < h.TileNum; ++k) {
            TPiece& p = game.Pieces[k];
            // The crossing of the diagonals tl-br and tr-bl.
            const double x1 = tl[k].x, y1 = tl[k].y, x2 = br[k].x, y2 = br[k].y;
            const double x3 = tr[k].x, y3 = tr[k].y, x4 = bl[k].x, y4 = bl[k].y;
            const double den = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4);
            double sx = (x1 + x2) / 2, sy = (y1 + y2) / 2;
            if (den != 0) {
                const double t = ((x1 - x3) * (y3 - y4) - (y1 - y3) * (x3 - x4)) / den;
                sx = x1 + t * (x2 - x1), sy = y1 + t * (y2 - y1);
            }
            p.seedX = Round(sx), p.seedY = Round(sy);
            if (static_cast<TColor>(GetPixel(work, p.seedX, p.seedY)) == 0xFFFFFF) {
                TMyRect r;
                FloodFill(work, p.seedX, p.seedY, r, false, color(k));
            } else {
                failed = true;
            }
        }
        if (h.BorderStyle == 1) {
            TMyRect r;
            FloodFill(work, 0, 0, r, false, kFrameColor);
        }
        for (int k = 0; k < h.TileNum; ++k) {
            const TPiece& p = game.Pieces[k];
            bool found;
            int l, t, r, b;
            cutcommon::FillHoles(work, h.ImageW, h.ImageH, p.boxX - 2 * KD, p.boxY - 2 * KD, p.boxX + p.boxW + 2 * KD,
                                 p.boxY + p.boxH + 2 * KD, color(k), found, l, t, r, b);
        }
        h.TotalTileNum = h.TileNum;
        if (h.BorderStyle == 1) {
            TPiece& f = game.Pieces[h.TileNum];
            f = TPiece{};
            f.boxW = h.ImageW, f.boxH = h.ImageH, f.MaskCode = 5, f.JoinBit = 128;
            h.TotalTileNum = h.TileNum + 1;
            for (int col = 0; col < PX; ++col) {
                game.Pieces[col].neighbours[1] = static_cast<int16_t>(h.TileNum);
                game.Pieces[(PY - 1) * PX + col].neighbours[3] = static_cast<int16_t>(h.TileNum);
            }
            for (int row = 0; row < PY; ++row) {
                game.Pieces[row * PX].neighbours[0] = static_cast<int16_t>(h.TileNum);
                game.Pieces[row * PX + PX - 1].neighbours[2] = static_cast<int16_t>(h.TileNum);
            }
        }
        game.Buffers[4] = std::move(work);
        return !failed;
    }
};

bool SameRecords(const TGame& a, const TGame& b) {
    if (a.Header.TotalTileNum != b.Header.TotalTileNum) return false;
    for (int i = 0; i < a.Header.TotalTileNum; ++i)
        if (std::memcmp(&a.Pieces[i], &b.Pieces[i], sizeof(TPiece)) != 0) return false;
    return true;
}

TEST(GridReference, CutGridFollowsEveryStep) {
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    uint32_t seed = 11;
    struct Size {
        int w, h;
    };
    for (Size s : {Size{400, 300}, Size{257, 193}, Size{180, 420}, Size{640, 480}})
        for (int level : {0, 3, 7, 10, 13})
            for (int shape : {4, 5, 6, 9})
                for (int border : {0, 1}) {
                    TGame cut, plain;
                    test::SetUpGame(cut, s.w, s.h, level, shape, border, seed);
                    test::SetUpGame(plain, s.w, s.h, level, shape, border, seed);
                    ++seed;
                    CutEnvironment env;
                    const bool ok = CutGrid(cut, env, strip).Ok();
                    PlainGrid ref{plain, strip, {}, {}, {}};
                    const bool refOk = ref.Cut();
                    const std::string name = std::to_string(s.w) + "x" + std::to_string(s.h) + " l" +
                                             std::to_string(level) + " s" + std::to_string(shape) + " b" +
                                             std::to_string(border);
                    EXPECT_EQ(ok, refOk) << name;
                    EXPECT_EQ(cut.Random.Seed, plain.Random.Seed) << name;
                    EXPECT_EQ(test::MaskHash(cut.Buffers[4]), test::MaskHash(plain.Buffers[4])) << name;
                    EXPECT_TRUE(SameRecords(cut, plain)) << name;
                }
}

// ---- The effects, step by step -----------------------------------------

void PlainEffects(TGame& game, int emboss, int woodStyle, TMyBitmap& mask, TGame::WoodBuffer& wood, int rotation) {
    const GameHeader& h = game.Header;
    const int n = h.TotalTileNum;
    const int ww = woodStyle == 1 ? 3 : (woodStyle == 2 ? 5 : 0);
    auto box = [&](const TPiece& p, int& x, int& y, int& w, int& hh) {
        RotatedBox(p, rotation, mask.Width, mask.Height, x, y, w, hh);
    };
    auto blue = [&](int x, int y) { return MaskPx(mask, x, y)[0]; };
    if (ww > 0) {
        wood.Width = mask.Width, wood.Height = mask.Height;
        wood.Data.assign(static_cast<size_t>(wood.Width) * wood.Height * 6, 0);
        auto at = [&](int x, int y) { return &wood.Data[(static_cast<size_t>(y) * wood.Width + x) * 6]; };
        auto set = [&](int x, int y) {
            uint16_t v;
            std::memcpy(&v, at(x, y), 2);
            return v;
        };
        auto dist = [&](int x, int y) {
            uint32_t v;
            std::memcpy(&v, at(x, y) + 2, 4);
            return v;
        };
        auto putSet = [&](int x, int y, uint16_t v) { std::memcpy(at(x, y), &v, 2); };
        auto putDist = [&](int x, int y, uint32_t v) { std::memcpy(at(x, y) + 2, &v, 4); };
        for (int i = 0; i < n; ++i) {
            TPiece& p = game.Pieces[i];
            const bool frame = h.BorderStyle == 1 && i == h.TileNum;
            p.reliefSlot = frame ? 9 : (i / h.TilePX % 3) * 3 + i % h.TilePX % 3;
            p.reliefCode = 1 << p.reliefSlot;
            int bx, by, bw, bh;
            box(p, bx, by, bw, bh);
            for (int A = ww; A >= 0; --A)
                for (int y = by; y < by + bh; ++y)
                    for (int x = bx; x < bx + bw; ++x) {
                        if (blue(x, y) != p.MaskCode) continue;
                        putSet(x + A, y + A, static_cast<uint16_t>(set(x + A, y + A) | p.reliefCode));
                        const uint32_t d = dist(x + A, y + A);
                        putDist(x + A, y + A,
                                (d & ~(7u << (3 * p.reliefSlot))) | (static_cast<uint32_t>(A) << (3 * p.reliefSlot)));
                    }
        }
        for (int i = 0; i < n; ++i) {
            const TPiece& p = game.Pieces[i];
            bool joined = false;
            for (int16_t nb : p.neighbours) joined |= nb >= 0 && nb < n && game.Pieces[nb].group == p.group;
            if (!joined) continue;
            int bx, by, bw, bh;
            box(p, bx, by, bw, bh);
            for (int y = by; y < by + bh + ww && y < mask.Height; ++y)
                for (int x = bx; x < bx + bw + ww && x < mask.Width; ++x) {
                    const uint16_t s = set(x, y);
                    if (!(s & p.reliefCode) || s == p.reliefCode) continue;
                    const uint32_t L = (dist(x, y) >> (3 * p.reliefSlot)) & 7;
                    for (int16_t nb : p.neighbours) {
                        if (nb < i || nb >= n) continue;
                        const TPiece& q = game.Pieces[nb];
                        if (q.group != p.group || !(s & q.reliefCode)) continue;
                        int qx, qy, qw, qh;
                        box(q, qx, qy, qw, qh);
                        if (x < qx || y < qy || x >= qx + qw + ww || y >= qy + qh + ww) continue;
                        const uint32_t N = (dist(x, y) >> (3 * q.reliefSlot)) & 7;
                        if (L != 0 && (N == 0 || N < L)) putDist(x, y, dist(x, y) & ~(7u << (3 * p.reliefSlot)));
                        if (N > L) putDist(x, y, dist(x, y) & ~(7u << (3 * q.reliefSlot)));
                    }
                }
        }
    }
    if (emboss < 1 || emboss > 3) return;
    const int t = emboss, R = (t + 1) * 128;
    static const int weights[3][8] = {{20, 20, -20, -20, 40, 10, -40, -10},
                                      {10, 10, -10, -10, 20, 5, -20, -5},
                                      {8, 8, -8, -8, 12, 5, -12, -5}};
    static const int dirs[8][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < n; ++i) {
        const TPiece& p = game.Pieces[i];
        int bx, by, bw, bh;
        box(p, bx, by, bw, bh);
        for (int y = by; y < by + bh; ++y)
            for (int x = bx; x < bx + bw; ++x) {
                if (blue(x, y) != p.MaskCode) continue;
                int E = 0;
                for (int d = 0; d < 8; ++d) {
                    int r = 1;
                    for (int k = 1; k <= t + 1; ++k) {
                        const int cx = x + dirs[d][0] * k, cy = y + dirs[d][1] * k;
                        if (cx < bx || cy < by || cx >= bx + bw || cy >= by + bh || blue(cx, cy) != p.MaskCode) break;
                        ++r;
                    }
                    const int dd = (d < 4 ? 128 : 181) * r;
                    if (dd <= R) E += (R - dd) * weights[emboss - 1][d];
                }
                E = Clamp(E / 128, -127, 127);
                if (E != 0) MaskPx(mask, x, y)[2] = static_cast<uint8_t>(128 + E);
            }
    }
}

TEST(GridReference, EffectsFollowEveryStep) {
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    uint32_t seed = 900;
    for (int shape : {0, 2, 5})
        for (int border : {0, 1})
            for (int emboss : {1, 2, 3})
                for (int wood : {0, 1, 2}) {
                    TGame game, plain;
                    for (TGame* g : {&game, &plain}) {
                        test::SetUpGame(*g, 230, 170, 8, shape, border, seed);
                        g->Header.Rotate = 1;
                        CutEnvironment env;
                        ASSERT_TRUE(test::Succeeded(shape < 4 ? CutPieces(*g, env)
                                                              : CutGrid(*g, env, strip)));
                        for (int r = 1; r < 4; ++r)
                            ASSERT_TRUE(
                                RotateRightWithMargin(g->Buffers[4 + r], g->Buffers[4 + r - 1], 5));
                        g->Pieces.resize(g->Header.TotalTileNum);
                        // Some groups: a few pieces joined in one group.
                        for (int i = 0; i < g->Header.TotalTileNum; ++i)
                            g->Pieces[i].group = (i * 7 + static_cast<int>(seed)) % 5 < 2 ? 0 : i + 1;
                    }
                    ++seed;
                    ApplyPieceEffects(game, {emboss, wood}, nullptr);
                    for (int r = 0; r < 4; ++r) PlainEffects(plain, emboss, wood, plain.Mask(r), plain.Wood[r], r);
                    const std::string name = "s" + std::to_string(shape) + " b" + std::to_string(border) + " e" +
                                             std::to_string(emboss) + " w" + std::to_string(wood);
                    for (int r = 0; r < 4; ++r) {
                        EXPECT_EQ(test::MaskHash(game.Mask(r)), test::MaskHash(plain.Mask(r))) << name << " r" << r;
                        EXPECT_EQ(game.Wood[r].Data, plain.Wood[r].Data) << name << " r" << r;
                    }
                    EXPECT_TRUE(SameRecords(game, plain)) << name;
                }
}

}  // namespace
}  // namespace orvel
