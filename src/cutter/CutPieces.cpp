// The cell cutter: one random site per grid cell, Voronoi cells as pieces,
// knob profiles along the shared sides.
#include <cmath>
#include <cstdlib>
#include <functional>

#include "cutter/Cells.h"
#include "cutter/CellCutter.h"
#include "cutter/CutCommon.h"
#include "cutter/MaskAccess.h"
#include "graphics/Rect.h"

namespace orvel {

namespace {

using namespace cutcommon;

constexpr int kAttempts = 3;
// Layouts of the cells tried before one whose pieces draw pixels of each
// other is kept.
constexpr int kLayouts = 5;
// Redraws of one site before it is taken as it falls (cells too small to
// keep sites apart would otherwise never settle).
constexpr int kMaxSiteRestarts = 1000;

void SetUpStyle(CellCutState& c) {
    c.PrimaryShapes.Set({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    switch (c.H().ShapeStyle) {
        case 1:
            c.KnobFlags =
                KnobFlag::ScaleWithEdge | KnobFlag::FollowDirection | KnobFlag::PlainShortEdges;
            c.FallbackShapes.Set({10});
            c.PrimaryShapes.Set({3});
            break;
        case 2:
            c.KnobFlags = KnobFlag::ScaleWithEdge | KnobFlag::PlainShortEdges;
            c.FallbackShapes.Set({7, 6, 8, 9, 4, 5, 10, 11, 12});
            break;
        case 3:
            c.KnobFlags = KnobFlag::ScaleWithEdge | KnobFlag::PlainShortEdges;
            c.FallbackShapes.Set({10, 11, 12});
            break;
        default:
            c.KnobFlags = KnobFlag::ScaleWithEdge | KnobFlag::PlainShortEdges;
            c.FallbackShapes.Set({0, 1, 10, 11});
            break;
    }
}

// Draws y in the cell until it lies strictly inside the area; when no value
// of the cell can, the first draw is kept.
int DrawCoordinate(TGame& g, int cellPos, int cellSize, int lo, int hi) {
    const bool possible = Max(cellPos, lo + 1) <= Min(cellPos + cellSize - 1, hi - 1);
    int v = cellPos + g.RandInt(cellSize);
    if (!possible) return v;
    while (!(lo < v && v < hi)) v = cellPos + g.RandInt(cellSize);
    return v;
}

}  // namespace

void PlaceSites(CellCutState& c) {
    GameHeader& h = c.H();
    const JigsArea& a = c.area;
    for (int k = 0; k < h.TileNum; ++k) {
        const TPiece& p = c.game.Pieces[k];
        const int row = k / h.TilePX, col = k % h.TilePX;
        int x = 0, y = 0;
        for (int restart = 0;; ++restart) {
            // x gets one second draw when it falls on or outside a side of
            // the area; the second draw is kept wherever it falls.
            x = p.cellX + c.game.RandInt(p.cellW);
            if (!(a.L < x && x < a.R)) x = p.cellX + c.game.RandInt(p.cellW);
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

void PlaceRooms(const CellEdge& e, KnobPoint ownSeed, double& ownRoom, double& nbRoom) {
    const double sx = e.x1, sy = e.y1, ex = e.x2, ey = e.y2, px = ownSeed.x, py = ownSeed.y;
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

namespace {

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

// One cell of the saved copy, its end points rounded; in shape style 3 the
// unrounded copy is clipped to the jigsaw area.
void RestoreEdges(CutSite& s, const CutSite& saved, const JigsArea& area, bool clipUnrounded) {
    s.centreX = saved.centreX;
    s.centreY = saved.centreY;
    s.edgeCount = saved.edgeCount;
    for (int j = 0; j < kMaxCellEdges; ++j) {
        CellEdge& e = s.edges[j];
        e = saved.edges[j];
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
        if (clipUnrounded) {
            e.rx1 = std::fmin(std::fmax(e.rx1, area.L), area.R);
            e.rx2 = std::fmin(std::fmax(e.rx2, area.L), area.R);
            e.ry1 = std::fmin(std::fmax(e.ry1, area.T), area.B);
            e.ry2 = std::fmin(std::fmax(e.ry2, area.T), area.B);
        }
        e.length = Dist(e.x1, e.y1, e.x2, e.y2);
    }
}

// Longest first, by pairwise exchange (the order decides the neighbour lists).
void SortEdgesLongestFirst(CutSite& s) {
    for (int i = 0; i + 1 < s.edgeCount; ++i)
        for (int j = i + 1; j < s.edgeCount; ++j)
            if (s.edges[j].length > s.edges[i].length) std::swap(s.edges[i], s.edges[j]);
}

// The piece's box becomes the bounding box of its edges, longest first up to
// the first edge of length 1 or less; unchanged when there is none.
void BoxFromEdges(TPiece& p, const CutSite& s) {
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
    if (!any) return;
    p.boxX = l;
    p.boxY = t;
    p.boxW = r - l + 1;
    p.boxH = b - t + 1;
}

// Every drawing attempt starts from the saved cells: rounded, sorted, with
// boxes from their edges and the cell centres as seeds.
void RestoreCells(CellCutState& c) {
    for (int k = 0; k < c.H().TileNum; ++k) {
        CutSite& s = c.sites[k];
        RestoreEdges(s, c.saved[k], c.area, c.usePictures);
        SortEdgesLongestFirst(s);
        TPiece& p = c.game.Pieces[k];
        BoxFromEdges(p, s);
        p.seedX = Round(s.centreX);
        p.seedY = Round(s.centreY);
    }
}

// Neighbour lists (longest edge first, at most 9; a border edge names the
// frame piece when there is one) and the twin links between the two cells
// that share an edge.
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
            if (HasFlag(c.KnobFlags, KnobFlag::FollowDirection))
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
    if (HasFlag(c.KnobFlags, KnobFlag::FollowDirection))
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

// What one knob along an edge is drawn with, besides profile, side and mirror.
struct EdgeKnob {
    const CellEdge& e;
    KnobPoint ownSeed, nbSeed;
    double ownRoom = 0, nbRoom = 0;
    TColor color = 0;
    KnobRect covered;
};

// One profile with its retries (the mirror image, the other side, both);
// Refused when every one of them was refused.
KnobResult TryProfile(CellCutState& c, EdgeKnob& k, int profile) {
    const KnobPoint endPt{static_cast<int>(k.e.x2), static_cast<int>(k.e.y2)};
    const KnobPoint startPt{static_cast<int>(k.e.x1), static_cast<int>(k.e.y1)};
    const int clearance = c.H().TileS / 10;
    auto attempt = [&](int side, int mirror) {
        return DrawKnob(c.knobs, c.KnobFlags, side, profile, k.nbSeed, k.ownSeed, clearance,
                        k.nbRoom, k.ownRoom, k.color, endPt, startPt, mirror, k.covered);
    };
    const int side = k.e.side, mirror = ChooseMirror(c, k.e, profile);
    KnobResult r = attempt(side, mirror);
    if (r != KnobResult::Refused || HasFlag(c.KnobFlags, KnobFlag::FollowDirection)) return r;
    r = attempt(side, 1 - mirror);
    if (r != KnobResult::Refused) return r;
    r = attempt(1 - side, mirror);
    if (r != KnobResult::Refused) return r;
    return attempt(1 - side, 1 - mirror);
}

bool IsShortEdge(const CellCutState& c, const CellEdge& e) {
    return e.length <= 3 || (HasFlag(c.KnobFlags, KnobFlag::PlainShortEdges) &&
                             e.length < c.game.Header.TileS / 3.0);
}

// One shared side of piece k and its neighbour: a knob of a primary profile,
// else of the fallback profiles in order, else the straight segment. Both
// pieces' boxes grow over a drawn knob.
void DrawEdge(CellCutState& c, int k, CellEdge& e, TColor color) {
    if (IsShortEdge(c, e)) {
        StraightSegment(c, e, color);
        return;
    }
    TPiece& own = c.game.Pieces[k];
    TPiece& nb = c.game.Pieces[e.neighbour];
    EdgeKnob knob{e,
                  {own.seedX, own.seedY},
                  {nb.seedX, nb.seedY},
                  Room(e, own.seedX, own.seedY),
                  Room(e, nb.seedX, nb.seedY),
                  color,
                  {}};
    PlaceRooms(e, knob.ownSeed, knob.ownRoom, knob.nbRoom);
    ChoosePrimary(c, e);
    KnobResult r =
        TryProfile(c, knob, c.PrimaryShapes.items[c.game.RandInt(c.PrimaryShapes.count)]);
    for (int f = 0; r == KnobResult::Refused && f < c.FallbackShapes.count; ++f)
        r = TryProfile(c, knob, c.FallbackShapes.items[f]);
    if (r != KnobResult::Drawn) {
        StraightSegment(c, e, color);
        return;
    }
    const KnobRect& cov = knob.covered;
    if (cov.right >= cov.left && cov.bottom >= cov.top) {
        IncludeInBox(own, cov.left, cov.top, cov.right, cov.bottom);
        IncludeInBox(nb, cov.left, cov.top, cov.right, cov.bottom);
    }
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

// A piece that could not be filled: the silhouettes next to it are left out
// of the further attempts. Their outlines and the sides bent towards them
// did not close the piece (a side between two silhouettes can fail to reach
// one of them), and the next attempt would draw the same cells around them.
void LeaveOutPicturesNextTo(CellCutState& c, int k) {
    const CutSite& s = c.sites[k];
    for (int j = 0; j < s.edgeCount; ++j) {
        const int n = s.edges[j].neighbour;
        if (n >= 0 && c.game.Pieces[n].isPicture) c.noPicture[n] = 1;
    }
}

// Fills every piece from its seed, or from the mean of its edges' ends when
// the seed lies on a line. Returns false when a piece could not be filled;
// failIndex and the seed name the last such piece, and the silhouettes next
// to each such piece are left out of the further attempts.
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
            LeaveOutPicturesNextTo(c, k);
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
        KnobRect painted;
        FillHoles(c.work, h.ImageW, h.ImageH, p.boxX, p.boxY, p.boxX + p.boxW + 1, p.boxY + p.boxH + 1,
                  PieceColor(p.MaskCode), found, l, t, r, b, &painted);
        if (p.isPicture && found) {
            p.boxX = l;
            p.boxY = t;
            p.boxW = r - l + 1;
            p.boxH = b - t + 1;
        } else if (painted.right >= painted.left) {
            // A hole filled at the edge of the box (or beyond it) would
            // otherwise never be drawn. Pixels of the colour beyond the box
            // may belong to another piece of the same MaskCode.
            IncludeInBox(p, painted.left, painted.top, painted.right, painted.bottom);
        }
    }
}

}  // namespace

// The one-pixel lines drawn between the pieces are absorbed by them, the
// sides of the area first, then the interior. Each pixel that changes takes
// the colour of one of its eight neighbours; recoloured(x, y) is told at once.
void CleanUpLines(TMyBitmap& work, const JigsArea& a,
                  const std::function<void(int, int)>& recoloured) {
    auto get = [&](int x, int y) { return MaskGet(work, x, y); };
    auto set = [&](int x, int y, TColor color) {
        MaskSet(work, x, y, color);
        recoloured(x, y);
    };
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
                if (back != own && get(fx, fy) == own && back == get(px + ix, py + iy) &&
                    back == get(fx + ix, fy + iy))
                    set(px, py, back);
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
            if (pick >= 0 && ring[pick] != own) set(x, y, ring[pick]);
        }
    }
}

namespace {

// The piece whose pixels next to (x, y) have the colour (x, y) now has: the
// piece of that MaskCode whose box holds such a neighbour. -1 when none
// (the frame's colour).
int DonorPiece(const CellCutState& c, int x, int y) {
    const uint8_t code = MaskPx(c.work, x, y)[0];
    for (int k = 0; k < c.game.Header.TileNum; ++k) {
        const TPiece& p = c.game.Pieces[k];
        if (p.MaskCode != code) continue;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if ((dx || dy) && nx >= p.boxX && nx < p.boxX + p.boxW && ny >= p.boxY &&
                    ny < p.boxY + p.boxH && MaskPx(c.work, nx, ny)[0] == code)
                    return k;
            }
    }
    return -1;
}

// The line clean-up hands pixels from one piece to another; the box of the
// piece that receives one grows over it, so that it is drawn.
void CleanUpLinesKeepingBoxes(CellCutState& c) {
    CleanUpLines(c.work, c.area, [&c](int x, int y) {
        const int k = DonorPiece(c, x, y);
        if (k >= 0) IncludeInBox(c.game.Pieces[k], x, y, x, y);
    });
}

// The cell cut set up: work mask, knob profiles, jigsaw area and grid cells,
// cell records and the triangulation list. False when the mask cannot be made.
bool PrepareCut(CellCutState& c) {
    GameHeader& h = c.H();
    if (!CreateWorkMask(c.work, h.ImageW, h.ImageH)) return false;
    BuildKnobProfiles(c.profiles);
    LayGridCells(c.game);
    c.area = {h.JigsL, h.JigsT, h.JigsR, h.JigsB};
    c.knobs = KnobContext{&c.work, h.ImageW, h.ImageH, c.area, h.TileS, h.KnobDepth, &c.profiles};
    c.sites.assign(h.TileNum, CutSite{});
    c.hull.reserve(static_cast<size_t>(3) * h.TileNum + 3);
    return true;
}

// Builds the cells of the sites; a failure is told once, and the cut goes on
// without cells (every site its own centre, no edges).
bool BuildOrDropCells(CellCutState& c) {
    Result built = BuildCells(c.sites.data(), c.H().TileNum, c.area, c.hull);
    if (built) return true;
    c.messages.push_back(built.Error());
    for (auto& s : c.sites) s.centreX = s.x, s.centreY = s.y, s.edgeCount = 0;
    return false;
}

// The cells, then two relaxation rounds that move every site to its cell's
// centre; the relaxed cells are saved for the drawing attempts. The progress
// advances only when asked (a layout drawn again does not advance it twice).
bool BuildRelaxedCells(CellCutState& c, bool step) {
    bool cellsOk = BuildOrDropCells(c);
    if (step) c.Step();
    for (int round = 0; round < 2; ++round) {
        if (cellsOk) {
            for (auto& s : c.sites) {
                s.x = Round(s.centreX);
                s.y = Round(s.centreY);
            }
            cellsOk = BuildOrDropCells(c);
        }
        if (step) c.Step();
    }
    c.saved = c.sites;
    return cellsOk;
}

// The sites and their relaxed cells. The progress advances for the first
// layout only.
bool LayOutCells(CellCutState& c, bool first) {
    PlaceSites(c);
    if (first) c.Step();
    return BuildRelaxedCells(c, first);
}

// How a drawing attempt ended.
struct DrawOutcome {
    JoinFailure join = JoinFailure::None;
    bool filled = false;
    int failIndex = 0, failX = 0, failY = 0;  // the last piece that could not be filled
};

// One drawing attempt on a clear mask from the saved cells: neighbours,
// silhouettes (shape style 3), knobs, frame lines and the fills.
DrawOutcome DrawOnce(CellCutState& c) {
    DrawOutcome out;
    GameHeader& h = c.H();
    c.Step();
    ClearWorkMask(c.work, h.ImageW, h.ImageH);
    LayGridCells(c.game);
    if (c.usePictures) {
        c.env.pictures->MarkInitial(c);
        for (int k = 0; k < h.TileNum; ++k)
            if (c.noPicture[k]) c.game.Pieces[k].isPicture = 0;
    }
    RestoreCells(c);
    LinkNeighbours(c);
    c.Step();
    if (c.usePictures) {
        out.join = c.env.pictures->Place(c);
        c.Step();
        if (out.join != JoinFailure::None) return out;
    }
    ChooseKnobSides(c);
    DrawEdges(c);
    c.Step();
    if (h.BorderStyle == 1) DrawFrameLines(c);
    out.filled = FillPieces(c, out.failIndex, out.failX, out.failY);
    return out;
}

// The mask of a drawing attempt completed: the frame's margin, holes and
// the line clean-up.
void CompleteMask(CellCutState& c) {
    if (c.H().BorderStyle == 1) {
        TMyRect bounds;
        FloodFill(c.work, 0, 0, bounds, false, kFrameColor);
    }
    FillAllHoles(c);
    CleanUpLinesKeepingBoxes(c);
}

// Whether the boxes of two pieces of one MaskCode overlap where that colour
// lies: the pixels there would be drawn by both pieces. Pieces three cells
// apart come that close when the one between them is squeezed (by a
// silhouette, or by cells far from their grid places).
bool SameCodeOverlap(const CellCutState& c) {
    const auto& pieces = c.game.Pieces;
    std::vector<int> byCode[256];
    for (int k = 0; k < c.game.Header.TileNum; ++k) byCode[pieces[k].MaskCode].push_back(k);
    for (const std::vector<int>& group : byCode)
        for (size_t i = 0; i < group.size(); ++i)
            for (size_t j = i + 1; j < group.size(); ++j) {
                const TPiece& a = pieces[group[i]];
                const TPiece& b = pieces[group[j]];
                const int l = Max(a.boxX, b.boxX), r = Min(a.boxX + a.boxW, b.boxX + b.boxW);
                const int t = Max(a.boxY, b.boxY), btm = Min(a.boxY + a.boxH, b.boxY + b.boxH);
                for (int y = Max(t, 0); y < btm && y < c.work.Height; ++y)
                    for (int x = Max(l, 0); x < r && x < c.work.Width; ++x)
                        if (MaskPx(c.work, x, y)[0] == a.MaskCode) return true;
            }
    return false;
}

// Up to three attempts; the first that fills every piece ends them, else
// the last one's outcome stands. The mask is completed either way.
DrawOutcome DrawAttempts(CellCutState& c) {
    DrawOutcome out;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        out = DrawOnce(c);
        if (out.filled) break;
    }
    CompleteMask(c);
    return out;
}

// How the cells were built and drawn.
struct CutRun {
    bool cellsOk = false;
    DrawOutcome drawn;
};

// One layout of the cells and its drawing attempts.
CutRun LayOutAndDrawOnce(CellCutState& c, bool first) {
    CutRun run;
    c.noPicture.assign(c.H().TileNum, 0);
    run.cellsOk = LayOutCells(c, first);
    run.drawn = DrawAttempts(c);
    return run;
}

// The layout of the cells and the drawing attempts. A layout whose pieces
// would draw pixels of each other is laid out anew (going on with the game's
// generator, so the same seed still gives the same cut), a few times at
// most; the last one stands. Should a new layout fail to fill its pieces,
// the first one is drawn again from the same state of the generator and
// kept: a few pixels drawn twice are better than a failed cut.
CutRun LayOutAndDraw(CellCutState& c) {
    const TRandom start = c.game.Random;
    CutRun run;
    for (int layout = 0; layout < kLayouts; ++layout) {
        run = LayOutAndDrawOnce(c, layout == 0);
        if (!run.drawn.filled && layout > 0) {
            c.game.Random = start;
            return LayOutAndDrawOnce(c, false);
        }
        if (!run.drawn.filled || !SameCodeOverlap(c)) break;
    }
    return run;
}

// After the attempts: the cell records go, the frame piece comes.
void FinishMask(CellCutState& c) {
    std::vector<CutSite>().swap(c.saved);
    std::vector<HullEdge>().swap(c.hull);
    std::vector<CutSite>().swap(c.sites);
    c.Step();
    if (c.H().BorderStyle == 1) AppendFramePiece(c.game);
}

void HandOverMask(CellCutState& c) {
    c.Step();
    c.game.Buffers[4] = std::move(c.work);
    c.Step();
    if (c.usePictures) c.env.pictures->Release(c);
}

// What the player is told: a joining failure ends with the translated
// text alone; a fill failure names the piece first.
Result Outcome(CellCutState& c, bool cellsOk, const DrawOutcome& drawn) {
    bool failed = !cellsOk;
    if (drawn.join != JoinFailure::None) {
        c.messages.push_back(PaintError());
        failed = true;
    } else if (!drawn.filled) {
        c.messages.push_back(PaintErrorLine(drawn.failIndex, drawn.failX, drawn.failY));
        c.messages.push_back(PaintError());
        failed = true;
    }
    return CutOutcome(std::move(c.messages), failed);
}

}  // namespace

Result CutPieces(TGame& game, const CutEnvironment& env) {
    GameHeader& h = game.Header;
    if (!HeaderUsable(h)) return FixedText(kFirstEdgeFailed);
    if (static_cast<int>(game.Pieces.size()) < h.TileNum + 1) game.Pieces.resize(h.TileNum + 1);
    h.TotalTileNum = h.TileNum;

    CellCutState c(game, env);
    SetUpStyle(c);
    if (h.ShapeStyle == 3 && env.pictures) c.usePictures = env.pictures->Load(c);
    if (!PrepareCut(c)) {
        if (c.usePictures) env.pictures->Release(c);
        c.messages.push_back(FixedText(kFirstEdgeFailed));
        return CutOutcome(std::move(c.messages), true);
    }
    const CutRun run = LayOutAndDraw(c);
    FinishMask(c);
    HandOverMask(c);
    return Outcome(c, run.cellsOk, run.drawn);
}

}  // namespace orvel
