// Shape style 3: silhouette pieces and the re-shaping of the cells around them.
#include "cutter/Silhouettes.h"

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include "cutter/CellCutter.h"
#include "cutter/Cells.h"
#include "cutter/LineWalk.h"
#include "cutter/MaskAccess.h"
#include "cutter/ShapeRaster.h"
#include "graphics/Rect.h"

namespace orvel {

namespace {

constexpr double kFit = 1.2;       // a silhouette is drawn a little larger than its cell
constexpr int kSeedClearance = 4;  // pixels between a re-routed side and the seeds

// The pixels of the one-pixel line from (x1, y1) to (x2, y2), visited from
// the first point on (the buffer's line order runs straight lines from their
// smaller end).
template <typename Visit>
void WalkFrom(int x1, int y1, int x2, int y2, Visit&& visit) {
    if (y1 == y2 && x1 > x2) {
        for (int x = x1; x >= x2; --x)
            if (!visit(x, y1)) return;
        return;
    }
    if (x1 == x2 && y1 > y2) {
        for (int y = y1; y >= y2; --y)
            if (!visit(x1, y)) return;
        return;
    }
    WalkLine(x1, y1, x2, y2, visit);
}

bool Marked(const CellCutState& c, int k) {
    return k >= 0 && k < c.game.Header.TileNum && c.game.Pieces[k].isPicture != 0;
}

// Rows 1 .. TilePY - 2 and columns 1 .. TilePX - 2.
bool Inner(const GameHeader& h, int row, int col) {
    return row >= 1 && row <= h.TilePY - 2 && col >= 1 && col <= h.TilePX - 2;
}

// An edge that shares a side with an ordinary (not silhouette) piece.
bool TowardsUnmarked(const CellCutState& c, const CellEdge& e) {
    return e.active && e.neighbour >= 0 && !Marked(c, e.neighbour);
}

void SetEnds(CellEdge& e, double x1, double y1, double x2, double y2) {
    e.x1 = e.rx1 = x1;
    e.y1 = e.ry1 = y1;
    e.x2 = e.rx2 = x2;
    e.y2 = e.ry2 = y2;
    e.length = std::hypot(x2 - x1, y2 - y1);
}

// Stores the ends upper end first, each with its corner link.
void StoreOrdered(CellEdge& e, int ax, int ay, int cornerA, int bx, int by, int cornerB) {
    if (by < ay || (by == ay && bx < ax)) {
        std::swap(ax, bx);
        std::swap(ay, by);
        std::swap(cornerA, cornerB);
    }
    SetEnds(e, ax, ay, bx, by);
    e.corner1 = static_cast<int16_t>(cornerA);
    e.corner2 = static_cast<int16_t>(cornerB);
}

// The same edge as seen from the neighbour, or nullptr.
CellEdge* Twin(CellCutState& c, const CellEdge& e) {
    if (e.neighbour < 0 || e.twin < 0 || e.twin >= kMaxCellEdges) return nullptr;
    return &c.sites[e.neighbour].edges[e.twin];
}

void CopyToTwin(CellCutState& c, const CellEdge& e) {
    if (CellEdge* t = Twin(c, e)) {
        SetEnds(*t, e.x1, e.y1, e.x2, e.y2);
        t->corner1 = e.corner1;
        t->corner2 = e.corner2;
        t->changed = e.changed;
        t->active = e.active;
    }
}

int Sign(double v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}
// Which side of the line a -> b the point p lies on.
int SideOf(double ax, double ay, double bx, double by, double px, double py) {
    return Sign((bx - ax) * (py - ay) - (by - ay) * (px - ax));
}

double SegmentDistance(double ax, double ay, double bx, double by, double px, double py) {
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::fmin(1, std::fmax(0, t));
    return std::hypot(ax + t * dx - px, ay + t * dy - py);
}

double Angle0To2Pi(double dy, double dx) {
    double a = std::atan2(dy, dx);
    if (a < 0) a += 2 * std::numbers::pi;
    return a;
}

// The outline pixel a new side from X runs to: the first pixel of the
// silhouette on the line towards its seed or, when the seed lies outside the
// outline (a crescent, an umbrella), the outline's pixel nearest to X, which
// the straight line reaches without crossing the outline elsewhere.
bool OutlinePixel(const CellCutState& c, const TPiece& pic, int xx, int xy, int& px, int& py) {
    const TColor color = PieceColor(pic.MaskCode);
    bool found = false;
    WalkFrom(xx, xy, pic.seedX, pic.seedY, [&](int x, int y) {
        if (!InMask(c.work, x, y) || MaskGet(c.work, x, y) != color) return true;
        px = x, py = y, found = true;
        return false;
    });
    if (found) return true;
    long best = -1;
    for (int y = Max(pic.boxY, 0); y < pic.boxY + pic.boxH && y < c.work.Height; ++y)
        for (int x = Max(pic.boxX, 0); x < pic.boxX + pic.boxW && x < c.work.Width; ++x) {
            if (MaskGet(c.work, x, y) != color) continue;
            const long d = long(x - xx) * (x - xx) + long(y - xy) * (y - xy);
            if (best < 0 || d < best) best = d, px = x, py = y, found = true;
        }
    return found;
}

// A new side shared by cells ma and mb, as twins: from X (corner link
// cornerX) to the outline pixel P of silhouette p. False when either cell
// has no free edge slot.
bool AddSharedSide(CellCutState& c, int ma, int mb, int xx, int xy, int cornerX, int px, int py,
                   int p) {
    CutSite& sa = c.sites[ma];
    CutSite& sb = c.sites[mb];
    if (sa.edgeCount >= kMaxCellEdges || sb.edgeCount >= kMaxCellEdges) return false;
    const int slotA = sa.edgeCount++, slotB = sb.edgeCount++;
    for (auto [site, slot, other, otherSlot] :
         {std::tuple{&sa, slotA, mb, slotB}, std::tuple{&sb, slotB, ma, slotA}}) {
        CellEdge& ne = site->edges[slot];
        ne = CellEdge{};
        StoreOrdered(ne, xx, xy, cornerX, px, py, p);
        ne.neighbour = static_cast<int16_t>(other);
        ne.twin = otherSlot;
        ne.active = 1;
    }
    return true;
}

// Re-routes one edge of piece k so that it runs from one of its ends (I) to
// the outline of picture piece p: the walk from I towards the other end (J),
// turned towards the silhouette until it meets the outline, then refined.
class EdgeBender {
public:
    EdgeBender(CellCutState& c, int k, CellEdge& a, int p)
        : m_c(c),
          m_k(k),
          m_a(a),
          m_p(p),
          m_pic(c.game.Pieces[p]),
          m_own(c.game.Pieces[k]),
          m_other(c.game.Pieces[a.neighbour]),
          m_color(PieceColor(m_pic.MaskCode)) {
        const JigsArea& area = c.area;
        m_bl = Max(m_pic.boxX - 1, area.L);
        m_bt = Max(m_pic.boxY - 1, area.T);
        m_br = Min(m_pic.boxX + m_pic.boxW, area.R);
        m_bb = Min(m_pic.boxY + m_pic.boxH, area.B);
    }

    void Run() {
        if (!ChooseMovingEnd()) return;
        const int jxi = Round(m_jx), jyi = Round(m_jy);
        m_ownSide = SideOf(m_ix, m_iy, jxi, jyi, m_own.seedX, m_own.seedY);
        m_otherSide = SideOf(m_ix, m_iy, jxi, jyi, m_other.seedX, m_other.seedY);
        m_tx = m_jx;
        m_ty = m_jy;
        bool hit = Walk(jxi, jyi, m_hx, m_hy);
        if (!hit) hit = TurnTowardsSeed();
        if (!hit) hit = AimAtSeed();
        if (!hit) {
            CloseWithNewSide();
            return;
        }
        Refine();
        StoreOrdered(m_a, m_ix, m_iy, m_cornerI, m_hx, m_hy, m_p);
        m_a.changed = 1;
        CopyToTwin(m_c, m_a);
    }

private:
    // No turn of the side met the outline (the end that stays lies too
    // close to a seed, or the side runs between two silhouettes). The
    // moving end stays where the sides of the cell met; had the other sides
    // there been bent away to the outline, the two pieces would join through
    // the gap. A new side from that end straight to the outline parts them,
    // and the end is linked to the silhouette so that it is not tried again.
    void CloseWithNewSide() {
        const int ex = m_startMoves ? int(m_a.x1) : int(m_a.x2);
        const int ey = m_startMoves ? int(m_a.y1) : int(m_a.y2);
        int px = 0, py = 0;
        if (!OutlinePixel(m_c, m_pic, ex, ey, px, py)) return;
        if (!AddSharedSide(m_c, m_k, m_a.neighbour, ex, ey, m_p, px, py, m_p)) return;
        (m_startMoves ? m_a.corner1 : m_a.corner2) = static_cast<int16_t>(m_p);
        CopyToTwin(m_c, m_a);
    }

    // Which end moves: the one whose half holds the point nearest the
    // silhouette's seed. Each end is moved once. When the end the rule picks
    // already meets a silhouette (a short side between two of them), the
    // other end goes instead, so the side runs from one outline to the
    // other. An end on the border of the jigsaw area stays there as well:
    // moved, it would open a gap along the border between two pieces.
    // False when neither end may move.
    bool ChooseMovingEnd() {
        const CellEdge& a = m_a;
        const JigsArea& area = m_c.area;
        const double psx = m_pic.seedX, psy = m_pic.seedY;
        const double dx = a.rx2 - a.rx1, dy = a.ry2 - a.ry1, len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((psx - a.rx1) * dx + (psy - a.ry1) * dy) / len2 : 0;
        t = std::fmin(1, std::fmax(0, t));
        const double nx = a.rx1 + t * dx, ny = a.ry1 + t * dy;
        const double mx = Round((a.x1 + a.x2) / 2), my = Round((a.y1 + a.y2) / 2);
        bool firstHalf;
        if (std::fabs(a.y2 - a.y1) > std::fabs(a.x2 - a.x1))
            firstHalf = ny < my;
        else
            firstHalf = a.x2 >= a.x1 ? nx < mx : nx > mx;
        auto onBorder = [&](double x, double y) {
            return x == area.L || x == area.R || y == area.T || y == area.B;
        };
        // A side shrunk to a point on the border (the silhouette's cell
        // reaches the border between the two pieces there) still runs to
        // the outline from that point: nothing else would part the pieces.
        const bool point = a.x1 == a.x2 && a.y1 == a.y2;
        const bool startFree = a.corner1 < 0 && !onBorder(a.x1, a.y1);
        const bool endFree = a.corner2 < 0 && (point || !onBorder(a.x2, a.y2));
        if (a.corner1 == m_p || a.corner2 == m_p || (!startFree && !endFree)) return false;
        if (firstHalf && !startFree)
            firstHalf = false;
        else if (!firstHalf && !endFree)
            firstHalf = true;
        m_startMoves = firstHalf;
        if (firstHalf) {
            m_ix = static_cast<int>(a.x2), m_iy = static_cast<int>(a.y2), m_cornerI = a.corner2;
            m_jx = a.rx1, m_jy = a.ry1;
        } else {
            m_ix = static_cast<int>(a.x1), m_iy = static_cast<int>(a.y1), m_cornerI = a.corner1;
            m_jx = a.rx2, m_jy = a.ry2;
        }
        return true;
    }

    // Next to the silhouette: its colour within one pixel, inside its box
    // plus one pixel and inside the jigsaw area.
    bool NearSilhouette(int x, int y) const {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int qx = x + dx, qy = y + dy;
                if (qx < m_bl || qx > m_br || qy < m_bt || qy > m_bb || !InMask(m_c.work, qx, qy))
                    continue;
                if (MaskGet(m_c.work, qx, qy) == m_color) return true;
            }
        return false;
    }

    // Walks from I towards (tx, ty); the first pixel next to the silhouette.
    bool Walk(int tx, int ty, int& hx, int& hy) const {
        bool hit = false;
        WalkFrom(m_ix, m_iy, tx, ty, [&](int x, int y) {
            if (!NearSilhouette(x, y)) return true;
            hx = x, hy = y, hit = true;
            return false;
        });
        return hit;
    }

    // (tx, ty) turned about I, held inside the jigsaw area.
    void Turned(double tx, double ty, double degrees, double& ox, double& oy) const {
        const JigsArea& area = m_c.area;
        const double r = degrees * std::numbers::pi / 180, s = std::sin(r), co = std::cos(r);
        const double dx = tx - m_ix, dy = ty - m_iy;
        ox = std::fmin(area.R, std::fmax(area.L, m_ix + dx * co - dy * s));
        oy = std::fmin(area.B, std::fmax(area.T, m_iy + dx * s + dy * co));
    }

    // The two pieces' seeds stay on the sides of the line I -> H they had of I -> J.
    bool KeepsSides(int hx, int hy) const {
        return SideOf(m_ix, m_iy, hx, hy, m_own.seedX, m_own.seedY) == m_ownSide &&
               SideOf(m_ix, m_iy, hx, hy, m_other.seedX, m_other.seedY) == m_otherSide;
    }

    bool Accept(bool hit, int qx, int qy, double ox, double oy) {
        if (!hit) return false;
        m_hx = qx, m_hy = qy, m_tx = ox, m_ty = oy;
        return true;
    }

    // How far a walk may reach to cross the silhouette's box.
    double Reach() const {
        const double psx = m_pic.seedX, psy = m_pic.seedY;
        return std::hypot(m_jx - m_ix, m_jy - m_iy) +
               std::hypot(m_pic.boxW + 2.0, m_pic.boxH + 2.0) + std::hypot(psx - m_ix, psy - m_iy);
    }

    // Turns towards the silhouette's seed in 10 degree steps. The first round
    // keeps the edge's length; when it meets nothing (the silhouette keeps
    // clear of the cell's corner by more than the edge can reach), a second
    // round runs the same directions on past the edge's end, far enough to
    // cross the silhouette's box, so the side still closes on the outline
    // instead of leaving a gap that joins two pieces.
    bool TurnTowardsSeed() {
        const double psx = m_pic.seedX, psy = m_pic.seedY;
        const double edgeAngle = Angle0To2Pi(m_jy - m_iy, m_jx - m_ix);
        const double seedAngle = Angle0To2Pi(psy - m_iy, psx - m_ix);
        // Towards the seed the short way round: a plain comparison of the two
        // angles would turn away from it when they lie on both sides of angle 0.
        double diff = seedAngle - edgeAngle;
        if (diff > std::numbers::pi) diff -= 2 * std::numbers::pi;
        if (diff < -std::numbers::pi) diff += 2 * std::numbers::pi;
        const double sign = diff > 0 ? 1 : -1;
        const double length = std::hypot(m_jx - m_ix, m_jy - m_iy);
        for (int round = 0; round < 2; ++round) {
            const double stretch = round == 0 || length <= 0 ? 1.0 : Reach() / length;
            const double fx = m_ix + (m_jx - m_ix) * stretch, fy = m_iy + (m_jy - m_iy) * stretch;
            for (int step = round == 0 ? 1 : 0; step <= 9; ++step) {
                double ox, oy;
                Turned(fx, fy, sign * 10 * step, ox, oy);
                int qx = 0, qy = 0;
                const bool hit = Walk(Round(ox), Round(oy), qx, qy) && KeepsSides(qx, qy);
                if (Accept(hit, qx, qy, ox, oy)) return true;
            }
        }
        return false;
    }

    // Last, for edges too short to give a direction of their own: straight
    // at the silhouette's seed and, failing that, turned either way, taking
    // a line that keeps the two pieces' seeds apart.
    bool AimAtSeed() {
        const double psx = m_pic.seedX, psy = m_pic.seedY;
        const double toSeed = std::hypot(psx - m_ix, psy - m_iy);
        const double stretch = toSeed > 0 ? Reach() / toSeed : 1.0;
        const double fx = m_ix + (psx - m_ix) * stretch, fy = m_iy + (psy - m_iy) * stretch;
        for (int step = 0; step <= 18; ++step) {
            const double deg = (step % 2 ? 1 : -1) * 10.0 * ((step + 1) / 2);
            double ox, oy;
            Turned(fx, fy, deg, ox, oy);
            int qx = 0, qy = 0;
            if (!Walk(Round(ox), Round(oy), qx, qy)) continue;
            const int a1 = SideOf(m_ix, m_iy, qx, qy, m_own.seedX, m_own.seedY);
            const int a2 = SideOf(m_ix, m_iy, qx, qy, m_other.seedX, m_other.seedY);
            const bool apart = a1 != 0 && a2 != 0 && a1 != a2;
            if (Accept(apart, qx, qy, ox, oy)) return true;
        }
        return false;
    }

    // Refines in 2 degree steps about the accepted direction: the nearest
    // hit that keeps the seeds on their sides and clear of the new edge.
    void Refine() {
        bool found = false;
        int bestX = 0, bestY = 0;
        long bestD = 0;
        for (int deg = -20; deg <= 20; deg += 2) {
            double ox, oy;
            Turned(m_tx, m_ty, deg, ox, oy);
            int qx, qy;
            if (!Walk(Round(ox), Round(oy), qx, qy) || !KeepsSides(qx, qy)) continue;
            if (SegmentDistance(m_ix, m_iy, qx, qy, m_own.seedX, m_own.seedY) <= kSeedClearance ||
                SegmentDistance(m_ix, m_iy, qx, qy, m_other.seedX, m_other.seedY) <= kSeedClearance)
                continue;
            const long d = long(qx - m_ix) * (qx - m_ix) + long(qy - m_iy) * (qy - m_iy);
            if (!found || d < bestD) found = true, bestD = d, bestX = qx, bestY = qy;
        }
        if (found) m_hx = bestX, m_hy = bestY;
    }

    CellCutState& m_c;
    const int m_k;
    CellEdge& m_a;
    const int m_p;
    const TPiece& m_pic;
    const TPiece& m_own;
    const TPiece& m_other;
    const TColor m_color;
    int m_bl = 0, m_bt = 0, m_br = 0, m_bb = 0;  // the silhouette's box plus one pixel
    int m_ix = 0, m_iy = 0, m_cornerI = -1;      // the end that stays
    bool m_startMoves = false;
    double m_jx = 0, m_jy = 0;                   // the end walked towards
    int m_ownSide = 0, m_otherSide = 0;
    int m_hx = 0, m_hy = 0;     // where the walk met the silhouette
    double m_tx = 0, m_ty = 0;  // the accepted direction's far point
};

void BendEdge(CellCutState& c, int k, CellEdge& a, int p) {
    EdgeBender(c, k, a, p).Run();
}

}  // namespace

namespace silhouette {

void SpacingPass(CellCutState& c, int limit) {
    const GameHeader& h = c.H();
    auto& pieces = c.game.Pieces;
    auto free = [&](int q) {
        const CutSite& s = c.sites[q];
        for (int j = 0; j < s.edgeCount; ++j) {
            const int n = s.edges[j].neighbour;
            if (n < 0 || Marked(c, n)) return false;
        }
        return true;
    };
    for (int row = 1; row <= h.TilePY - 2; ++row) {
        for (int col = 1; col <= h.TilePX - 2; ++col) {
            const int k = row * h.TilePX + col;
            if (!pieces[k].isPicture) continue;
            const CutSite& s = c.sites[k];
            int count = 0;
            bool border = false;
            for (int j = 0; j < s.edgeCount; ++j) {
                const int n = s.edges[j].neighbour;
                if (n < 0)
                    border = true;
                else if (Marked(c, n))
                    ++count;
            }
            if (count <= limit && !border) continue;
            pieces[k].isPicture = 0;
            bool done = false;
            for (int dr = -2; dr <= 2 && !done; ++dr) {
                for (int dc = -2; dc <= 2 && !done; ++dc) {
                    const int r = row + dr, cc = col + dc;
                    if (!Inner(h, r, cc) || (dr == 0 && dc == 0)) continue;
                    const int q = r * h.TilePX + cc;
                    if (pieces[q].isPicture || !free(q)) continue;
                    pieces[q].isPicture = 1;
                    done = true;
                }
            }
        }
    }
}

namespace {

// The drawing's size in a box of bw x bh: shrunk to fit when it is larger,
// keeping its shape, then a little larger (kFit).
void FitSize(int w0, int h0, int bw, int bh, int& w, int& h) {
    w = w0;
    h = h0;
    if (bw < w0 || bh < h0) {
        w = bh * w0 / h0;
        h = bh;
        if (bw < w) {
            h = bw * h0 / w0;
            w = bw;
        }
    }
    w = Round(kFit * w);
    h = Round(kFit * h);
}

// Whether the silhouette of piece k covers the seed of an ordinary piece
// within two cells.
bool CoversNearbySeed(const CellCutState& c, int k, TColor color) {
    const GameHeader& h = c.game.Header;
    const int row = k / h.TilePX, col = k % h.TilePX;
    for (int dr = -2; dr <= 2; ++dr)
        for (int dc = -2; dc <= 2; ++dc) {
            const int r = row + dr, cc = col + dc;
            if (r < 0 || r >= h.TilePY || cc < 0 || cc >= h.TilePX) continue;
            const int q = r * h.TilePX + cc;
            if (q == k || Marked(c, q)) continue;
            const TPiece& o = c.game.Pieces[q];
            if (InMask(c.work, o.seedX, o.seedY) && MaskGet(c.work, o.seedX, o.seedY) == color)
                return true;
        }
    return false;
}

bool SharesAnEnd(const CellEdge& f, const CellEdge& e) {
    auto same = [](double ax, double ay, double bx, double by) { return ax == bx && ay == by; };
    return same(f.x1, f.y1, e.x1, e.y1) || same(f.x1, f.y1, e.x2, e.y2) ||
           same(f.x2, f.y2, e.x1, e.y1) || same(f.x2, f.y2, e.x2, e.y2);
}

// Whether the silhouette of piece k reaches over a side of a neighbouring
// cell that does not touch the side the two cells share.
bool ReachesOverFarSide(const CellCutState& c, int k, uint8_t maskCode) {
    const CutSite& site = c.sites[k];
    for (int j = 0; j < site.edgeCount; ++j) {
        const CellEdge& shared = site.edges[j];
        if (shared.neighbour < 0) continue;
        const CutSite& nb = c.sites[shared.neighbour];
        for (int q = 0; q < nb.edgeCount; ++q) {
            const CellEdge& f = nb.edges[q];
            if (f.neighbour == k || SharesAnEnd(f, shared)) continue;
            bool reached = false;
            WalkLine(int(f.x1), int(f.y1), int(f.x2), int(f.y2), [&](int x, int y) {
                reached = InMask(c.work, x, y) && MaskPx(c.work, x, y)[0] == maskCode;
                return !reached;
            });
            if (reached) return true;
        }
    }
    return false;
}

// Whether the silhouette of MaskCode code drawn over the box (x, y, w, h) is
// one piece: its pixels all 8-connected. A drawing of separate parts (a leaf
// beside an apple) drawn large leaves white channels between them, and the
// fills of the pieces around run into each other through them. The drawing
// may set a pixel or so beyond its box. Runs of the colour, row by row, are
// joined to the runs they touch in the row above.
bool IsOnePiece(const CellCutState& c, uint8_t code, int x, int y, int w, int h) {
    const int x0 = Max(x - 2, 0), y0 = Max(y - 2, 0);
    const int x1 = Min(x + w + 2, c.work.Width), y1 = Min(y + h + 2, c.work.Height);
    struct Run {
        int from, to;
    };
    std::vector<Run> runs;
    std::vector<int> parent;
    auto root = [&](int i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    };
    int parts = 0;
    size_t above = 0;  // the first run of the row above
    for (int py = y0; py < y1; ++py) {
        const size_t rowStart = runs.size();
        const uint8_t* row = MaskPx(c.work, 0, py);
        for (int px = x0; px < x1;) {
            if (row[3 * px] != code) {
                ++px;
                continue;
            }
            const int from = px;
            while (px < x1 && row[3 * px] == code) ++px;
            const int me = static_cast<int>(runs.size());
            runs.push_back({from, px - 1});
            parent.push_back(me);
            ++parts;
            for (size_t j = above; j < rowStart; ++j) {
                if (runs[j].from > px || runs[j].to < from - 1) continue;
                const int a = root(static_cast<int>(j)), b = root(me);
                if (a != b) parent[a] = b, --parts;
            }
        }
        above = rowStart;
    }
    return parts <= 1;
}

}  // namespace

bool PlaceOne(CellCutState& c, ShapeData& data, int k) {
    TPiece& p = c.game.Pieces[k];
    const int e = c.game.RandInt(data.Count);
    if (!SelectShape(data, e)) {  // a blob that is no drawing makes no silhouette
        p.isPicture = 0;
        return false;
    }
    const ShapeDirEntry& entry = data.Entries[e];
    int w = 0, hgt = 0;
    FitSize(entry.width, entry.height, p.boxW, p.boxH, w, hgt);
    const double scale = hgt < w ? double(w) / entry.width : double(hgt) / entry.height;
    const int angle = c.game.RandInt(60) - 30;
    const bool mirrorLR = entry.flipHorizontal ? c.game.RandInt(2) != 0 : false;
    const bool mirrorTB = entry.flipVertical ? c.game.RandInt(2) != 0 : false;
    // Turned, coloured and drawn centred on the cell centre.
    TMetafile mf = data.Current;
    MirrorShape(mf, mirrorLR, mirrorTB);
    const RotatedSize rs = RotateShape(mf, angle);
    const int dw = Round(rs.W2 * scale), dh = Round(rs.H2 * scale);
    const CutSite& site = c.sites[k];
    p.boxX = Round(site.centreX) - dw / 2;
    p.boxY = Round(site.centreY) - dh / 2;
    p.boxW = dw;
    p.boxH = dh;
    const TColor color = PieceColor(p.MaskCode);
    RecolourShape(mf, color);
    DrawMetafile(c.work, mf, p.boxX, p.boxY, dw, dh, &color);
    if (!CoversNearbySeed(c, k, color) && !ReachesOverFarSide(c, k, p.MaskCode) &&
        IsOnePiece(c, p.MaskCode, p.boxX, p.boxY, dw, dh))
        return true;
    // Rejected: erased again by drawing it in white.
    RecolourShape(mf, kWhite);
    DrawMetafile(c.work, mf, p.boxX, p.boxY, dw, dh, &kWhite);
    p.isPicture = 0;
    return false;
}

void RerouteEdges(CellCutState& c) {
    const int n = c.H().TileNum;
    for (int k = 0; k < n; ++k) {
        if (Marked(c, k)) continue;
        CutSite& s = c.sites[k];
        for (int j = 0; j < s.edgeCount; ++j) {
            const CellEdge e = s.edges[j];
            if (!e.active || e.neighbour < 0 || !Marked(c, e.neighbour)) continue;
            for (int i = 0; i < s.edgeCount; ++i) {
                CellEdge& a = s.edges[i];
                if (i == j || !TowardsUnmarked(c, a)) continue;
                auto near = [](double x1, double y1, double x2, double y2) {
                    return std::fabs(x1 - x2) <= 2 && std::fabs(y1 - y2) <= 2;
                };
                const bool meets = near(a.x1, a.y1, e.x1, e.y1) || near(a.x1, a.y1, e.x2, e.y2) ||
                                   near(a.x2, a.y2, e.x1, e.y1) || near(a.x2, a.y2, e.x2, e.y2);
                if (meets) BendEdge(c, k, a, e.neighbour);
            }
        }
    }
}

void ClearEdges(CellCutState& c) {
    const int n = c.H().TileNum;
    auto white = [&](int x, int y) { return !InMask(c.work, x, y) || MaskIsWhite(c.work, x, y); };
    for (int k = 0; k < n; ++k) {
        if (Marked(c, k)) continue;
        CutSite& s = c.sites[k];
        for (int j = 0; j < s.edgeCount; ++j) {
            CellEdge& e = s.edges[j];
            if (!TowardsUnmarked(c, e)) continue;
            int sx = int(e.x1), sy = int(e.y1), ex = int(e.x2), ey = int(e.y2);
            if (white(sx, sy) && white(ex, ey)) continue;
            // From each end towards the other, to the first white pixel.
            std::vector<std::pair<int, int>> px;
            WalkFrom(sx, sy, ex, ey, [&](int x, int y) {
                px.push_back({x, y});
                return true;
            });
            if (px.empty()) continue;
            size_t from = 0, to = px.size() - 1;
            while (from < px.size() && !white(px[from].first, px[from].second)) ++from;
            if (from == px.size()) {
                e.active = 0;
                CopyToTwin(c, e);
                continue;
            }
            while (to > from && !white(px[to].first, px[to].second)) --to;
            sx = px[from].first, sy = px[from].second, ex = px[to].first, ey = px[to].second;
            StoreOrdered(e, sx, sy, e.corner1, ex, ey, e.corner2);
            CopyToTwin(c, e);
        }
    }
}

namespace {

// The silhouette both edges were bent towards (a corner link they share), or -1.
int CommonSilhouette(const CellEdge& a, const CellEdge& b) {
    for (int pa : {a.corner1, a.corner2})
        if (pa >= 0 && (pa == b.corner1 || pa == b.corner2)) return pa;
    return -1;
}

// Two sides of one cell, both bent towards silhouette p, cross at X: both
// now end at X, and the two neighbours beyond them get a new shared side
// from X to the outline.
JoinFailure JoinAt(CellCutState& c, CellEdge& a, CellEdge& b, int p, double cx, double cy) {
    const int xx = Round(cx), xy = Round(cy);
    int px = 0, py = 0;
    if (!OutlinePixel(c, c.game.Pieces[p], xx, xy, px, py)) return JoinFailure::NoPixel;
    const int ma = a.neighbour, mb = b.neighbour;
    if (c.sites[ma].edgeCount >= kMaxCellEdges || c.sites[mb].edgeCount >= kMaxCellEdges)
        return JoinFailure::NoPicture;
    for (CellEdge* e : {&a, &b}) {
        if (e->corner1 == p)
            StoreOrdered(*e, xx, xy, -1, int(e->x2), int(e->y2), e->corner2);
        else
            StoreOrdered(*e, int(e->x1), int(e->y1), e->corner1, xx, xy, -1);
        CopyToTwin(c, *e);
    }
    AddSharedSide(c, ma, mb, xx, xy, -1, px, py, p);
    return JoinFailure::None;
}

// Whether sides a and b (bent, towards ordinary pieces, b longer than two
// pixels) cross, and where.
bool BentSidesCross(const CellCutState& c, const CellEdge& a, const CellEdge& b, double& cx,
                    double& cy) {
    auto candidate = [&](const CellEdge& e) { return e.changed && TowardsUnmarked(c, e); };
    if (!candidate(a) || !candidate(b)) return false;
    if (!(std::fabs(b.x2 - b.x1) > 2 || std::fabs(b.y2 - b.y1) > 2)) return false;
    return SegmentIntersection(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1, b.x2, b.y2, true, cx, cy);
}

// Whether the piece's seed lies beyond the crossing X of its sides a and b,
// in the corner they close with silhouette p (the triangle of X and their
// ends on the outline). Sides that cross just after leaving one corner of
// the cell close almost all of it there: joined, the piece would keep only
// the sliver before X and its seed would fall to a neighbour. Left as they
// are, the piece fills that corner and the sliver goes to a neighbour when
// the holes are filled.
bool SeedBeyondCrossing(const TPiece& piece, const CellEdge& a, const CellEdge& b, int p, double cx,
                        double cy) {
    auto outlineEnd = [p](const CellEdge& e, double& x, double& y) {
        const bool start = e.corner1 == p;
        x = start ? e.x1 : e.x2;
        y = start ? e.y1 : e.y2;
    };
    double ax, ay, bx, by;
    outlineEnd(a, ax, ay);
    outlineEnd(b, bx, by);
    const double sx = piece.seedX, sy = piece.seedY;
    const int s1 = SideOf(cx, cy, ax, ay, sx, sy), s2 = SideOf(ax, ay, bx, by, sx, sy);
    const int s3 = SideOf(bx, by, cx, cy, sx, sy);
    return s1 != 0 && s1 == s2 && s2 == s3;
}

}  // namespace

JoinFailure JoinCrossedEdges(CellCutState& c) {
    const int n = c.H().TileNum;
    for (int k = 0; k < n; ++k) {
        if (Marked(c, k)) continue;
        CutSite& s = c.sites[k];
        for (int ia = 0; ia < s.edgeCount; ++ia) {
            for (int ib = ia + 1; ib < s.edgeCount; ++ib) {
                CellEdge& a = s.edges[ia];
                CellEdge& b = s.edges[ib];
                double cx, cy;
                if (!BentSidesCross(c, a, b, cx, cy)) continue;
                if (a.neighbour == b.neighbour)
                    continue;  // one neighbour on both sides: nothing to join
                // Sides bent towards two different silhouettes (or one whose
                // link an earlier join used up) cross without closing a
                // region between them and one outline: they are left as they
                // are rather than ending the attempt. The small region
                // beyond their crossing goes to a neighbour when the holes
                // are filled.
                const int p = CommonSilhouette(a, b);
                if (p < 0 || SeedBeyondCrossing(c.game.Pieces[k], a, b, p, cx, cy)) continue;
                const JoinFailure failure = JoinAt(c, a, b, p, cx, cy);
                if (failure != JoinFailure::None) return failure;
            }
        }
    }
    return JoinFailure::None;
}

void DropTinyEdges(CellCutState& c) {
    const int n = c.H().TileNum;
    for (int k = 0; k < n; ++k) {
        if (Marked(c, k)) continue;
        CutSite& s = c.sites[k];
        for (int j = 0; j < s.edgeCount; ++j) {
            CellEdge& e = s.edges[j];
            if (!TowardsUnmarked(c, e) || std::fabs(e.x2 - e.x1) >= 2 ||
                std::fabs(e.y2 - e.y1) >= 2)
                continue;
            bool near = false;
            for (int i = 0; i < s.edgeCount && !near; ++i) {
                const CellEdge& f = s.edges[i];
                if (i == j || !TowardsUnmarked(c, f)) continue;
                auto close = [](double ax, double ay, double bx, double by) {
                    return (ax - bx) * (ax - bx) + (ay - by) * (ay - by) <= 8;
                };
                near = close(f.x1, f.y1, e.x1, e.y1) || close(f.x1, f.y1, e.x2, e.y2) ||
                       close(f.x2, f.y2, e.x1, e.y1) || close(f.x2, f.y2, e.x2, e.y2);
            }
            if (near) continue;
            const int l = int(std::fmin(e.x1, e.x2)) - 1, r = int(std::fmax(e.x1, e.x2)) + 1;
            const int t = int(std::fmin(e.y1, e.y2)) - 1, b = int(std::fmax(e.y1, e.y2)) + 1;
            bool allWhite = true;
            for (int y = t; y <= b && allWhite; ++y)
                for (int x = l; x <= r && allWhite; ++x) {
                    if ((x == int(e.x1) && y == int(e.y1)) || (x == int(e.x2) && y == int(e.y2)))
                        continue;
                    allWhite = InMask(c.work, x, y) && MaskIsWhite(c.work, x, y);
                }
            if (allWhite) e.active = 0;
        }
    }
}

void FinalBoxes(CellCutState& c) {
    const int n = c.H().TileNum;
    for (int k = 0; k < n; ++k) {
        CutSite& s = c.sites[k];
        for (int j = 0; j < s.edgeCount; ++j) {
            CellEdge& e = s.edges[j];
            e.length = std::hypot(e.x2 - e.x1, e.y2 - e.y1);
        }
        if (Marked(c, k)) continue;
        bool any = false;
        int l = 0, t = 0, r = 0, b = 0;
        for (int j = 0; j < s.edgeCount; ++j) {
            const CellEdge& e = s.edges[j];
            if (!e.active) continue;
            for (auto [x, y] : {std::pair{int(e.x1), int(e.y1)}, std::pair{int(e.x2), int(e.y2)}}) {
                if (!any) l = r = x, t = b = y, any = true;
                l = Min(l, x), r = Max(r, x), t = Min(t, y), b = Max(b, y);
            }
        }
        if (!any) continue;
        TPiece& p = c.game.Pieces[k];
        p.boxX = l;
        p.boxY = t;
        p.boxW = r - l + 1;
        p.boxH = b - t + 1;
    }
}

}  // namespace silhouette

Silhouettes::Silhouettes(std::string shapeFile) : m_file(std::move(shapeFile)) {}

bool Silhouettes::Load(CellCutState& cut) {
    const ShapeLoadResult r = LoadShapeData(m_data, m_file);
    const bool tell = r == ShapeLoadResult::InvalidMagic ||
                      (r == ShapeLoadResult::Damaged && !std::exchange(m_damageTold, true));
    if (tell) cut.messages.push_back(DescribeShapeLoad(r, m_file).Error());
    // Without entries no piece is marked: the cut makes ordinary cells.
    return r == ShapeLoadResult::Loaded && m_data.Count > 0;
}

void Silhouettes::MarkInitial(CellCutState& c) {
    const GameHeader& h = c.H();
    for (int row = 1; row <= h.TilePY - 2; ++row) {
        if (row % 2 == 0) continue;
        for (int col = 1; col <= h.TilePX - 2; ++col) {
            const bool colOdd = col % 2 == 1;
            if ((row - 1) % 4 == 0 ? colOdd : !colOdd)
                c.game.Pieces[row * h.TilePX + col].isPicture = 1;
        }
    }
}

JoinFailure Silhouettes::Place(CellCutState& c) {
    using namespace silhouette;
    const GameHeader& h = c.H();
    m_placed = m_rejected = 0;
    SpacingPass(c, 1);
    SpacingPass(c, 0);
    for (int row = 1; row <= h.TilePY - 2; ++row)
        for (int col = 1; col <= h.TilePX - 2; ++col) {
            const int k = row * h.TilePX + col;
            if (!c.game.Pieces[k].isPicture) continue;
            if (PlaceOne(c, m_data, k))
                ++m_placed;
            else
                ++m_rejected;
        }
    RerouteEdges(c);
    ClearEdges(c);
    if (const JoinFailure failure = JoinCrossedEdges(c); failure != JoinFailure::None)
        return failure;
    DropTinyEdges(c);
    FinalBoxes(c);
    return JoinFailure::None;
}

void Silhouettes::Release(CellCutState&) {
    FreeShapeData(m_data);
}

}  // namespace orvel
