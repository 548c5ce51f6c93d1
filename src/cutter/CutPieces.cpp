// The cell cutter: one random site per grid cell, Voronoi cells as pieces,
// knob profiles along the shared sides.
#include <cmath>
#include <cstdlib>

#include "cutter/Cells.h"
#include "cutter/CellCutter.h"
#include "cutter/CutCommon.h"
#include "cutter/MaskAccess.h"
#include "graphics/Rect.h"

namespace orvel {

namespace {

using namespace cutcommon;

constexpr int kAttempts = 3;
// Redraws of one site before it is taken as it falls (cells too small to
// keep sites apart would otherwise never settle).
constexpr int kMaxSiteRestarts = 1000;

void SetUpStyle(CellCutState& c) {
    c.PrimaryShapes.Set({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    switch (c.H().ShapeStyle) {
        case 1:
            c.KnobFlags = 1 | 2 | 4;
            c.FallbackShapes.Set({10});
            c.PrimaryShapes.Set({3});
            break;
        case 2:
            c.KnobFlags = 1 | 4;
            c.FallbackShapes.Set({7, 6, 8, 9, 4, 5, 10, 11, 12});
            break;
        case 3:
            c.KnobFlags = 1 | 4;
            c.FallbackShapes.Set({10, 11, 12});
            break;
        default:
            c.KnobFlags = 1 | 4;
            c.FallbackShapes.Set({0, 1, 10, 11});
            break;
    }
}

// Draws x (or y) in the cell until it lies strictly inside the area; when
// no value of the cell can, the first draw is kept.
int DrawCoordinate(TGame& g, int cellPos, int cellSize, int lo, int hi) {
    const bool possible = Max(cellPos, lo + 1) <= Min(cellPos + cellSize - 1, hi - 1);
    int v = cellPos + g.RandInt(cellSize);
    if (!possible) return v;
    while (!(lo < v && v < hi)) v = cellPos + g.RandInt(cellSize);
    return v;
}

void PlaceSites(CellCutState& c) {
    GameHeader& h = c.H();
    const JigsArea& a = c.area;
    for (int k = 0; k < h.TileNum; ++k) {
        const TPiece& p = c.game.Pieces[k];
        const int row = k / h.TilePX, col = k % h.TilePX;
        int x = 0, y = 0;
        for (int restart = 0;; ++restart) {
            x = DrawCoordinate(c.game, p.cellX, p.cellW, a.L, a.R);
            y = DrawCoordinate(c.game, p.cellY, p.cellH, a.T, a.B);
            bool close = false;
            auto check = [&](int r, int col2) {
                if (r < 0 || col2 < 0 || col2 >= h.TilePX) return;
                const CutSite& o = c.sites[r * h.TilePX + col2];
                if (std::abs(o.x - x) <= 2 && std::abs(o.y - y) <= 2) close = true;
            };
            for (int dr = -2; dr <= -1; ++dr)
                for (int dc = -2; dc <= 2; ++dc) check(row + dr, col + dc);
            check(row, col - 2);
            check(row, col - 1);
            if (!close || restart >= kMaxSiteRestarts) break;
        }
        c.sites[k].x = x;
        c.sites[k].y = y;
        c.sites[k].cell = k;
    }
}

double Dist(double x1, double y1, double x2, double y2) {
    return std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

// The distance of the seed from the edge line (Heron's formula); a seed on
// the line (or rounding below zero) gives 0.
double Room(const CellEdge& e, double px, double py) {
    const double a = Dist(e.x2, e.y2, px, py), b = Dist(e.x1, e.y1, px, py), cc = e.length;
    const double s = (a + b + cc) / 2;
    const double q = s * (s - a) * (s - b) * (s - cc);
    if (!(q > 0)) return 0;
    return 2 * std::sqrt(q) / cc;
}

// Step 7: the cells of the saved copy, rounded, sorted, boxes and seeds.
void RestoreCells(CellCutState& c) {
    GameHeader& h = c.H();
    for (int k = 0; k < h.TileNum; ++k) {
        CutSite& s = c.sites[k];
        const CutSite& sv = c.saved[k];
        s.centreX = sv.centreX;
        s.centreY = sv.centreY;
        s.edgeCount = sv.edgeCount;
        for (int j = 0; j < kMaxCellEdges; ++j) {
            CellEdge& e = s.edges[j];
            e = sv.edges[j];
            if (j >= s.edgeCount) {
                e.active = 0;
                continue;
            }
            e.x1 = Round(e.x1);
            e.y1 = Round(e.y1);
            e.x2 = Round(e.x2);
            e.y2 = Round(e.y2);
            e.active = 1;
            e.changed = 0;
            e.twin = -1;
            e.corner1 = e.corner2 = -1;
            if (c.usePictures) {
                e.rx1 = std::fmin(std::fmax(e.rx1, c.area.L), c.area.R);
                e.rx2 = std::fmin(std::fmax(e.rx2, c.area.L), c.area.R);
                e.ry1 = std::fmin(std::fmax(e.ry1, c.area.T), c.area.B);
                e.ry2 = std::fmin(std::fmax(e.ry2, c.area.T), c.area.B);
            }
            e.length = Dist(e.x1, e.y1, e.x2, e.y2);
        }
        // Longest first, by pairwise exchange.
        for (int i = 0; i + 1 < s.edgeCount; ++i)
            for (int j = i + 1; j < s.edgeCount; ++j)
                if (s.edges[j].length > s.edges[i].length) std::swap(s.edges[i], s.edges[j]);
        TPiece& p = c.game.Pieces[k];
        bool any = false;
        int l = 0, t = 0, r = 0, b = 0;
        for (int j = 0; j < s.edgeCount; ++j) {
            const CellEdge& e = s.edges[j];
            if (e.length <= 1) break;
            const int xs[2] = {static_cast<int>(e.x1), static_cast<int>(e.x2)};
            const int ys[2] = {static_cast<int>(e.y1), static_cast<int>(e.y2)};
            for (int q = 0; q < 2; ++q) {
                if (!any) {
                    l = r = xs[q];
                    t = b = ys[q];
                    any = true;
                }
                l = Min(l, xs[q]);
                r = Max(r, xs[q]);
                t = Min(t, ys[q]);
                b = Max(b, ys[q]);
            }
        }
        if (any) {
            p.boxX = l;
            p.boxY = t;
            p.boxW = r - l + 1;
            p.boxH = b - t + 1;
        }
        p.seedX = Round(s.centreX);
        p.seedY = Round(s.centreY);
    }
}

// Step 8: neighbour lists and twins.
void LinkNeighbours(CellCutState& c) {
    GameHeader& h = c.H();
    for (int k = 0; k < h.TileNum; ++k) {
        const CutSite& s = c.sites[k];
        TPiece& p = c.game.Pieces[k];
        int slot = 0;
        for (int j = 0; j < s.edgeCount && slot < 9; ++j) {
            const CellEdge& e = s.edges[j];
            if (e.length <= 1) break;
            int n = e.neighbour;
            if (n < 0 && h.BorderStyle == 1) n = h.TileNum;
            p.neighbours[slot++] = static_cast<int16_t>(n);
        }
    }
    for (int k = 0; k < h.TileNum; ++k) {
        CutSite& s = c.sites[k];
        for (int j = 0; j < s.edgeCount; ++j) {
            CellEdge& e = s.edges[j];
            if (e.neighbour < 0 || e.twin >= 0) continue;
            CutSite& o = c.sites[e.neighbour];
            for (int q = 0; q < o.edgeCount; ++q) {
                if (o.edges[q].neighbour == k) {
                    e.twin = q;
                    o.edges[q].twin = j;
                    break;
                }
            }
        }
    }
}

void ChooseKnobSides(CellCutState& c) {
    for (int k = 0; k < c.H().TileNum; ++k) {
        CutSite& s = c.sites[k];
        for (int j = 0; j < s.edgeCount; ++j) {
            CellEdge& e = s.edges[j];
            if (!e.active || e.length <= 3 || e.neighbour < 0 || e.neighbour <= k) continue;
            if (c.KnobFlags & 2)
                e.side = std::fabs(e.y1 - e.y2) > std::fabs(e.x1 - e.x2) ? 1 : 0;
            else
                e.side = static_cast<uint8_t>(c.game.RandInt(2));
            if (e.twin >= 0) c.sites[e.neighbour].edges[e.twin].side = e.side ? 0 : 1;
        }
    }
}

bool OnLeftOrTop(const CellEdge& e, const JigsArea& a) {
    return e.x1 == a.L || e.x2 == a.L || e.y1 == a.T || e.y2 == a.T;
}
bool OnRightOrBottom(const CellEdge& e, const JigsArea& a) {
    return e.x1 == a.R || e.x2 == a.R || e.y1 == a.B || e.y2 == a.B;
}

int ChooseMirror(CellCutState& c, const CellEdge& e, int profile) {
    int mirror;
    if (c.KnobFlags & 2)
        mirror = !(std::fabs(e.x1 - e.x2) < std::fabs(e.y1 - e.y2)) ? 1 : 0;
    else
        mirror = c.game.RandInt(2);
    if (profile == 8) {
        if (OnLeftOrTop(e, c.area))
            mirror = 0;
        else if (OnRightOrBottom(e, c.area))
            mirror = 1;
    }
    return mirror;
}

void ChoosePrimary(CellCutState& c, const CellEdge& e) {
    const GameHeader& h = c.H();
    const JigsArea& a = c.area;
    const double tileS = h.TileS;
    switch (h.ShapeStyle) {
        case 0:
            if (e.length > 6 * tileS / 5)
                c.PrimaryShapes.Set({1});
            else if (e.length < tileS / 2)
                c.PrimaryShapes.Set({11});
            else
                c.PrimaryShapes.Set({0});
            break;
        case 1:
            if (e.x1 == a.L || e.x2 == a.L || e.y2 == a.B)
                c.PrimaryShapes.Set({4});
            else if (e.x1 == a.R || e.x2 == a.R || e.y1 == a.T)
                c.PrimaryShapes.Set({5});
            else
                c.PrimaryShapes.Set({3});
            break;
        case 2: {
            auto inside = [&](double x, double y) { return x > a.L && x < a.R && y > a.T && y < a.B; };
            if (e.length <= tileS && inside(e.x1, e.y1) && inside(e.x2, e.y2))
                c.PrimaryShapes.Set({6, 7, 8, 9});
            else
                c.PrimaryShapes.Set({6, 8, 9});
            break;
        }
        default:
            if (e.length <= tileS)
                c.PrimaryShapes.Set({0, 13, 14, 15, 10, 11, 12});
            else
                c.PrimaryShapes.Set({0, 1, 6, 13, 14, 15});
            break;
    }
}

void StraightSegment(CellCutState& c, const CellEdge& e, TColor color) {
    DrawLine(c.work, static_cast<int>(e.x1), static_cast<int>(e.y1), static_cast<int>(e.x2),
             static_cast<int>(e.y2), color);
}

// Step 11 for one edge of piece k.
void DrawEdge(CellCutState& c, int k, CellEdge& e, TColor color) {
    const GameHeader& h = c.H();
    if (e.length <= 3 || ((c.KnobFlags & 4) && e.length < h.TileS / 3.0)) {
        StraightSegment(c, e, color);
        return;
    }
    TPiece& own = c.game.Pieces[k];
    TPiece& nb = c.game.Pieces[e.neighbour];
    double ownRoom = Room(e, own.seedX, own.seedY);
    double nbRoom = Room(e, nb.seedX, nb.seedY);
    {
        const double sx = e.x1, sy = e.y1, ex = e.x2, ey = e.y2, px = own.seedX, py = own.seedY;
        bool exchange;
        if (ex == sx && px < sx)
            exchange = true;
        else if (ey == sy && sy < py)
            exchange = true;
        else if (std::fabs(sx - ex) < std::fabs(sy - ey) && sx >= ex)
            // A vertical edge with the own seed on its right keeps the rooms
            // as they are (the slope test would divide by zero there and
            // give the seed's room to the wrong side of the knob).
            exchange = ex != sx && !((py - sy) / (ey - sy) >= (px - sx) / (ex - sx));
        else
            exchange = (py - sy) / (ey - sy) > (px - sx) / (ex - sx);
        if (exchange) std::swap(ownRoom, nbRoom);
    }
    ChoosePrimary(c, e);
    const KnobPoint ownSeed{own.seedX, own.seedY}, nbSeed{nb.seedX, nb.seedY};
    const KnobPoint endPt{static_cast<int>(e.x2), static_cast<int>(e.y2)};
    const KnobPoint startPt{static_cast<int>(e.x1), static_cast<int>(e.y1)};
    const int clearance = h.TileS / 10;
    KnobRect covered;
    auto attempt = [&](int profile, int side, int mirror) {
        return DrawKnob(c.knobs, c.KnobFlags, side, profile, nbSeed, ownSeed, clearance, nbRoom, ownRoom,
                        color, endPt, startPt, mirror, covered);
    };
    // One profile with its retries; Refused when all of them were refused.
    auto tryProfile = [&](int profile, int mirror) {
        const int side = e.side;
        KnobResult r = attempt(profile, side, mirror);
        if (r != KnobResult::Refused || (c.KnobFlags & 2)) return r;
        r = attempt(profile, side, 1 - mirror);
        if (r != KnobResult::Refused) return r;
        r = attempt(profile, 1 - side, mirror);
        if (r != KnobResult::Refused) return r;
        return attempt(profile, 1 - side, 1 - mirror);
    };
    const int profile = c.PrimaryShapes.items[c.game.RandInt(c.PrimaryShapes.count)];
    KnobResult r = tryProfile(profile, ChooseMirror(c, e, profile));
    for (int f = 0; r == KnobResult::Refused && f < c.FallbackShapes.count; ++f) {
        const int fb = c.FallbackShapes.items[f];
        r = tryProfile(fb, ChooseMirror(c, e, fb));
    }
    if (r == KnobResult::Drawn) {
        if (covered.right >= covered.left && covered.bottom >= covered.top) {
            IncludeInBox(own, covered.left, covered.top, covered.right, covered.bottom);
            IncludeInBox(nb, covered.left, covered.top, covered.right, covered.bottom);
        }
        return;
    }
    StraightSegment(c, e, color);
}

void DrawEdges(CellCutState& c) {
    auto& pieces = c.game.Pieces;
    for (int k = 0; k < c.H().TileNum; ++k) {
        if (c.usePictures && pieces[k].isPicture) continue;
        const TColor color = PieceColor(pieces[k].MaskCode);
        CutSite& s = c.sites[k];
        for (int j = 0; j < s.edgeCount; ++j) {
            CellEdge& e = s.edges[j];
            if (!e.active || e.neighbour < 0 || e.neighbour <= k) continue;
            if (c.usePictures && pieces[e.neighbour].isPicture) continue;
            DrawEdge(c, k, e, color);
        }
    }
}

void DrawFrameLines(CellCutState& c) {
    const JigsArea& a = c.area;
    DrawLine(c.work, a.L - 1, a.T - 1, a.R + 1, a.T - 1, kFrameColor);
    DrawLine(c.work, a.L - 1, a.B + 1, a.R + 1, a.B + 1, kFrameColor);
    DrawLine(c.work, a.L - 1, a.T - 1, a.L - 1, a.B + 1, kFrameColor);
    DrawLine(c.work, a.R + 1, a.T - 1, a.R + 1, a.B + 1, kFrameColor);
}

bool IsWhiteAt(CellCutState& c, int x, int y) {
    return x >= 0 && y >= 0 && x < c.H().ImageW && y < c.H().ImageH && MaskIsWhite(c.work, x, y);
}

// Step 13. Returns false when a piece could not be filled; failIndex and
// the seed name the last such piece.
bool FillPieces(CellCutState& c, int& failIndex, int& failX, int& failY) {
    bool ok = true;
    auto& pieces = c.game.Pieces;
    for (int k = 0; k < c.H().TileNum; ++k) {
        TPiece& p = pieces[k];
        if (c.usePictures && p.isPicture) continue;
        if (!IsWhiteAt(c, p.seedX, p.seedY)) {
            const CutSite& s = c.sites[k];
            double sx = 0, sy = 0;
            int n = 0;
            for (int j = 0; j < s.edgeCount; ++j) {
                const CellEdge& e = s.edges[j];
                if (!e.active) continue;
                if (c.usePictures && e.neighbour >= 0 && pieces[e.neighbour].isPicture) continue;
                sx += e.x1 + e.x2;
                sy += e.y1 + e.y2;
                n += 2;
            }
            if (n > 0) {
                const int x2 = Round(sx / n), y2 = Round(sy / n);
                if (IsWhiteAt(c, x2, y2)) {
                    p.seedX = x2;
                    p.seedY = y2;
                }
            }
        }
        if (IsWhiteAt(c, p.seedX, p.seedY)) {
            TMyRect bounds;
            FloodFill(c.work, p.seedX, p.seedY, bounds, true, PieceColor(p.MaskCode));
            IncludeInBox(p, bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
        } else {
            ok = false;
            failIndex = k;
            failX = p.seedX;
            failY = p.seedY;
        }
    }
    return ok;
}

void FillAllHoles(CellCutState& c) {
    const GameHeader& h = c.H();
    for (int k = 0; k < h.TileNum; ++k) {
        TPiece& p = c.game.Pieces[k];
        bool found;
        int l, t, r, b;
        FillHoles(c.work, h.ImageW, h.ImageH, p.boxX, p.boxY, p.boxX + p.boxW + 1, p.boxY + p.boxH + 1,
                  PieceColor(p.MaskCode), found, l, t, r, b);
        if (p.isPicture && found) {
            p.boxX = l;
            p.boxY = t;
            p.boxW = r - l + 1;
            p.boxH = b - t + 1;
        }
    }
}

}  // namespace

// Step 16: the one-pixel lines are absorbed by the pieces, the sides of the
// area first, then the interior.
void CleanUpLines(TMyBitmap& work, const JigsArea& a) {
    auto get = [&](int x, int y) { return MaskGet(work, x, y); };
    // Along one side: pos runs between the corners, (x, y) of a position and
    // the inward step (ix, iy).
    auto side = [&](auto at, int from, int to, int ix, int iy) {
        for (int dir = 0; dir < 2; ++dir) {
            const int step = dir == 0 ? 1 : -1;
            const int first = dir == 0 ? from : to, last = dir == 0 ? to : from;
            for (int pos = first; pos != last + step; pos += step) {
                int px, py, bx, by, fx, fy;
                at(pos, px, py);
                at(pos - step, bx, by);
                at(pos + step, fx, fy);
                const TColor own = get(px, py), back = get(bx, by);
                if (get(fx, fy) == own && back == get(px + ix, py + iy) && back == get(fx + ix, fy + iy))
                    MaskSet(work, px, py, back);
            }
        }
    };
    if (a.R - a.L >= 2 && a.B - a.T >= 2) {
        side([&](int p, int& x, int& y) { x = p; y = a.T; }, a.L + 1, a.R - 1, 0, 1);
        side([&](int p, int& x, int& y) { x = p; y = a.B; }, a.L + 1, a.R - 1, 0, -1);
        side([&](int p, int& x, int& y) { x = a.L; y = p; }, a.T + 1, a.B - 1, 1, 0);
        side([&](int p, int& x, int& y) { x = a.R; y = p; }, a.T + 1, a.B - 1, -1, 0);
    }
    for (int y = a.T + 1; y < a.B; ++y) {
        for (int x = a.L + 1; x < a.R; ++x) {
            const TColor own = get(x, y);
            // Fast path: two equal horizontal neighbours keep the pixel.
            const TColor l = get(x - 1, y), r = get(x + 1, y);
            if (l == own && r == own) continue;
            const TColor ring[8] = {get(x - 1, y - 1), get(x, y - 1), get(x + 1, y - 1), r,
                                    get(x + 1, y + 1), get(x, y + 1), get(x - 1, y + 1), l};
            int same = 0;
            for (TColor q : ring) same += q == own;
            if (same > 1) continue;
            int pick = -1;
            for (int i = 0; i < 8 && pick < 0; ++i)
                if (ring[i] == ring[(i + 1) & 7] && ring[i] == ring[(i + 2) & 7]) pick = i;
            for (int i = 0; i < 8 && pick < 0; ++i)
                if (ring[i] == ring[(i + 1) & 7]) pick = i;
            if (pick >= 0) MaskSet(work, x, y, ring[pick]);
        }
    }
}

bool CutPieces(TGame& game, const CutEnvironment& env) {
    GameHeader& h = game.Header;
    if (!HeaderUsable(h)) {
        Show(env, "Finding first edge failed!");
        return false;
    }
    if (static_cast<int>(game.Pieces.size()) < h.TileNum + 1) game.Pieces.resize(h.TileNum + 1);
    h.TotalTileNum = h.TileNum;

    CellCutState c(game, env);
    SetUpStyle(c);
    if (h.ShapeStyle == 3 && env.pictures) c.usePictures = env.pictures->Load(c);

    // 1. Work mask, profiles, jigsaw area and grid cells.
    if (!CreateWorkMask(c.work, h.ImageW, h.ImageH)) {
        Show(env, "Finding first edge failed!");
        return false;
    }
    BuildKnobProfiles(c.profiles);
    LayGridCells(game);
    c.area = {h.JigsL, h.JigsT, h.JigsR, h.JigsB};
    c.knobs = KnobContext{&c.work, h.ImageW, h.ImageH, c.area, h.TileS, h.KnobDepth, &c.profiles};

    // 2. Cell records, triangulation list, saved copy.
    c.sites.assign(h.TileNum, CutSite{});
    c.hull.reserve(static_cast<size_t>(3) * h.TileNum + 3);

    // 3. Sites.
    PlaceSites(c);
    c.Step();

    // 4, 5. Cells, then two relaxation rounds. After a failed construction
    // the cut goes on without cells (the message is shown once).
    bool cellsOk = BuildCells(c.sites.data(), h.TileNum, c.area, c.hull, env.platform);
    if (!cellsOk)
        for (auto& s : c.sites) s.centreX = s.x, s.centreY = s.y, s.edgeCount = 0;
    c.Step();
    for (int round = 0; round < 2; ++round) {
        if (cellsOk) {
            for (auto& s : c.sites) {
                s.x = Round(s.centreX);
                s.y = Round(s.centreY);
            }
            cellsOk = BuildCells(c.sites.data(), h.TileNum, c.area, c.hull, env.platform);
            if (!cellsOk)
                for (auto& s : c.sites) s.centreX = s.x, s.centreY = s.y, s.edgeCount = 0;
        }
        c.Step();
    }
    c.saved = c.sites;

    // 6 .. 13. Drawing attempts.
    bool filled = false;
    int joinFailure = 0;
    int failIndex = 0, failX = 0, failY = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        c.Step();
        ClearWorkMask(c.work, h.ImageW, h.ImageH);
        LayGridCells(game);
        if (c.usePictures) env.pictures->MarkInitial(c);
        RestoreCells(c);
        LinkNeighbours(c);
        c.Step();
        joinFailure = 0;
        if (c.usePictures) {
            joinFailure = env.pictures->Place(c);
            c.Step();
            if (joinFailure != 0) continue;
        }
        ChooseKnobSides(c);
        DrawEdges(c);
        c.Step();
        if (h.BorderStyle == 1) DrawFrameLines(c);
        filled = FillPieces(c, failIndex, failX, failY);
        if (filled) break;
    }

    // 14. The frame fill; the cell records go.
    if (h.BorderStyle == 1) {
        TMyRect bounds;
        FloodFill(c.work, 0, 0, bounds, false, kFrameColor);
    }
    std::vector<CutSite>().swap(c.saved);
    std::vector<HullEdge>().swap(c.hull);
    c.Step();

    // 15, 16. Holes and line clean-up (sites still hold the edges for
    // picture pieces; they go after).
    FillAllHoles(c);
    std::vector<CutSite>().swap(c.sites);
    CleanUpLines(c.work, c.area);

    // 17. The frame piece.
    if (h.BorderStyle == 1) AppendFramePiece(game);

    // 18. Hand the mask over.
    c.Step();
    game.Buffers[4] = std::move(c.work);
    c.Step();
    if (c.usePictures) env.pictures->Release(c);

    // 19. Failures.
    if (joinFailure != 0) {
        Show(env, Text(env, "Main Form", "MS_PaintError"));
        return false;
    }
    if (!filled) {
        Show(env, PaintErrorLine(failIndex, failX, failY));
        Show(env, Text(env, "Main Form", "MS_PaintError"));
        return false;
    }
    return cellsOk;
}

}  // namespace orvel
