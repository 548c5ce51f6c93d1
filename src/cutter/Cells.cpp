#include "cutter/Cells.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>

#include "graphics/Rect.h"

namespace orvel {

int Orientation(int ax, int ay, int bx, int by, int px, int py) {
    const int64_t v = static_cast<int64_t>(ax - px) * (ay - by) - static_cast<int64_t>(ax - bx) * (ay - py);
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

bool SegmentIntersection(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                         double y4, bool strict, double& ix, double& iy) {
    const double d = (x2 - x1) * (y4 - y3) - (y2 - y1) * (x4 - x3);
    if (d == 0) return false;
    const double ua = ((x4 - x3) * (y1 - y3) - (y4 - y3) * (x1 - x3)) / d;
    const double ub = ((x2 - x1) * (y1 - y3) - (y2 - y1) * (x1 - x3)) / d;
    if (strict) {
        if (!(ua > 0.00001 && ua < 0.99999 && ub > 0.00001 && ub < 0.99999)) return false;
    } else {
        if (!(ua >= 0 && ua <= 1 && ub >= 0 && ub <= 1)) return false;
    }
    ix = x1 + ua * (x2 - x1);
    iy = y1 + ua * (y2 - y1);
    return true;
}

namespace {

void OrderEnds(double& x1, double& y1, double& x2, double& y2) {
    if (y2 < y1 || (y2 == y1 && x2 < x1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
}

// Moves the end (ex, ey) of the edge to where the edge meets the violated
// sides, in the order top, bottom, left, right. The side's own coordinate is
// set exactly so that the border closing can recognise the end.
void ClipEnd(double& ex, double& ey, double ox, double oy, const JigsArea& a) {
    double ix, iy;
    if (ey < a.T && SegmentIntersection(ex, ey, ox, oy, a.L, a.T, a.R, a.T, false, ix, iy)) {
        ex = ix;
        ey = a.T;
    }
    if (ey > a.B && SegmentIntersection(ex, ey, ox, oy, a.L, a.B, a.R, a.B, false, ix, iy)) {
        ex = ix;
        ey = a.B;
    }
    if (ex < a.L && SegmentIntersection(ex, ey, ox, oy, a.L, a.T, a.L, a.B, false, ix, iy)) {
        ex = a.L;
        ey = iy;
    }
    if (ex > a.R && SegmentIntersection(ex, ey, ox, oy, a.R, a.T, a.R, a.B, false, ix, iy)) {
        ex = a.R;
        ey = iy;
    }
}

}  // namespace

bool AppendCellEdge(CutSite& site, double x1, double y1, double x2, double y2, int neighbour,
                    const JigsArea& a) {
    if ((x1 < a.L && x2 < a.L) || (x1 > a.R && x2 > a.R) || (y1 < a.T && y2 < a.T) ||
        (y1 > a.B && y2 > a.B))
        return false;
    if (site.edgeCount >= kMaxCellEdges) return false;
    OrderEnds(x1, y1, x2, y2);
    ClipEnd(x1, y1, x2, y2, a);
    ClipEnd(x2, y2, x1, y1, a);
    OrderEnds(x1, y1, x2, y2);
    CellEdge& e = site.edges[site.edgeCount++];
    e = CellEdge{};
    e.x1 = x1;
    e.y1 = y1;
    e.x2 = x2;
    e.y2 = y2;
    e.rx1 = x1;
    e.ry1 = y1;
    e.rx2 = x2;
    e.ry2 = y2;
    e.neighbour = static_cast<int16_t>(neighbour);
    return true;
}

namespace {

// Site grid for the accelerated growth search.
struct SiteBuckets {
    int minX = 0, minY = 0, cols = 1, rows = 1;
    double size = 1;
    std::vector<int32_t> start;  // cols * rows + 1 offsets into items
    std::vector<int32_t> items;  // site indices, ascending within a bucket

    void Build(const CutSite* s, int n) {
        int maxX = s[0].x, maxY = s[0].y;
        minX = s[0].x;
        minY = s[0].y;
        for (int i = 1; i < n; ++i) {
            minX = std::min(minX, s[i].x);
            maxX = std::max(maxX, s[i].x);
            minY = std::min(minY, s[i].y);
            maxY = std::max(maxY, s[i].y);
        }
        const double w = maxX - minX + 1.0, h = maxY - minY + 1.0;
        size = std::max(1.0, std::sqrt(w * h / n));
        cols = std::max(1, static_cast<int>(w / size) + 1);
        rows = std::max(1, static_cast<int>(h / size) + 1);
        start.assign(static_cast<size_t>(cols) * rows + 1, 0);
        items.assign(n, 0);
        for (int i = 0; i < n; ++i) ++start[Index(s[i].x, s[i].y) + 1];
        for (size_t k = 1; k < start.size(); ++k) start[k] += start[k - 1];
        std::vector<int32_t> fill(start.begin(), start.end() - 1);
        for (int i = 0; i < n; ++i) items[fill[Index(s[i].x, s[i].y)]++] = i;
    }
    int Col(double x) const { return Clamp(static_cast<int>(std::floor((x - minX) / size)), 0, cols - 1); }
    int Row(double y) const { return Clamp(static_cast<int>(std::floor((y - minY) / size)), 0, rows - 1); }
    int Index(int x, int y) const { return Row(y) * cols + Col(x); }
};

struct Builder {
    CutSite* s;
    int n;
    const JigsArea& area;
    std::vector<HullEdge>& hull;
    GrowthSearch search;
    SiteBuckets buckets;
    std::unordered_set<uint64_t> edgeKeys;

    static uint64_t Key(int a, int b) { return (static_cast<uint64_t>(a) << 32) | static_cast<uint32_t>(b); }

    int Orient(int a, int b, int p) const { return Orientation(s[a].x, s[a].y, s[b].x, s[b].y, s[p].x, s[p].y); }

    double Angle(int u, int v, int p) const {
        return AngleAt(s[u].x, s[u].y, s[p].x, s[p].y, s[v].x, s[v].y);
    }

    // Whether p, on the line through a and b, lies strictly between them.
    bool Between(int a, int b, int p) const {
        const int64_t dx = s[b].x - s[a].x, dy = s[b].y - s[a].y;
        const int64_t t = (s[p].x - s[a].x) * dx + (s[p].y - s[a].y) * dy;
        return t > 0 && t < dx * dx + dy * dy;
    }

    bool FirstEdge() {
        // A pair is a hull edge when every other site lies on one side of it;
        // sites on its line beyond its ends do not decide the side, but at
        // least one site must. A site on the line between the two ends
        // refuses the pair: growing from it would leave that site without
        // triangles (and its piece without a cell).
        for (int i = 0; i + 1 < n; ++i) {
            for (int o = i + 1; o < n; ++o) {
                int side = 0;
                bool ok = true;
                for (int k = 0; k < n && ok; ++k) {
                    if (k == i || k == o) continue;
                    const int r = Orient(i, o, k);
                    if (r == 0) {
                        if (Between(i, o, k)) ok = false;
                        continue;
                    }
                    if (side == 0)
                        side = r;
                    else if (r != side)
                        ok = false;
                }
                if (ok && side != 0) {
                    AddHullEdge(i, o, side);
                    return true;
                }
            }
        }
        return false;
    }

    bool AddHullEdge(int a, int b, int open) {
        if (!edgeKeys.insert(Key(a, b)).second) return false;
        if (hull.size() >= static_cast<size_t>(3) * n + 3) return false;
        HullEdge e;
        e.x1 = s[a].x;
        e.y1 = s[a].y;
        e.x2 = s[b].x;
        e.y2 = s[b].y;
        e.a = a;
        e.b = b;
        e.open = open;
        hull.push_back(e);
        return true;
    }

    int BestPlain(int u, int v, int sigma) const {
        double best = -1000;
        int found = -1;
        for (int k = 0; k < n; ++k) {
            if (k == u || k == v) continue;
            if (Orient(u, v, k) != sigma) continue;
            const double ang = Angle(u, v, k);
            if (ang > best) {
                best = ang;
                found = k;
            }
        }
        return found;
    }

    // Farthest distance from the edge's midpoint at which a site can still
    // see the edge (half length h) under an angle of at least theta.
    static double Reach(double h, double theta) {
        if (theta >= M_PI / 2) return h;
        const double sn = std::sin(theta);
        if (sn <= 1e-12) return 1e300;
        const double rho = h / sn;
        return rho + std::sqrt(std::max(0.0, rho * rho - h * h));
    }

    int BestBuckets(int u, int v, int sigma) const {
        const double mx = (s[u].x + s[v].x) / 2.0, my = (s[u].y + s[v].y) / 2.0;
        const double dx = s[v].x - s[u].x, dy = s[v].y - s[u].y;
        const double h = std::sqrt(dx * dx + dy * dy) / 2;
        const int bc = buckets.Col(mx), br = buckets.Row(my);
        double best = -1000;
        int found = -1;
        double reach = 1e300;
        const int maxRing = std::max(std::max(bc, buckets.cols - 1 - bc), std::max(br, buckets.rows - 1 - br));
        for (int ring = 0; ring <= maxRing; ++ring) {
            // Every site not yet looked at is more than (ring - 1) bucket sizes
            // from the midpoint; a site that far cannot beat the best angle.
            if (found >= 0 && (ring - 1) * buckets.size > reach + 2) break;
            for (int r = br - ring; r <= br + ring; ++r) {
                if (r < 0 || r >= buckets.rows) continue;
                const bool edgeRow = r == br - ring || r == br + ring;
                for (int c = bc - ring; c <= bc + ring; c += (edgeRow ? 1 : 2 * ring)) {
                    if (c >= 0 && c < buckets.cols) {
                        const int b = r * buckets.cols + c;
                        for (int j = buckets.start[b]; j < buckets.start[b + 1]; ++j) {
                            const int k = buckets.items[j];
                            if (k == u || k == v) continue;
                            if (Orient(u, v, k) != sigma) continue;
                            const double ang = Angle(u, v, k);
                            if (ang > best || (ang == best && k < found)) {
                                best = ang;
                                found = k;
                            }
                        }
                    }
                    if (ring == 0) break;
                }
            }
            if (found >= 0) reach = Reach(h, best);
        }
        return found;
    }

    static bool SameTriangle(const SiteTriangle& t, const int v[3]) {
        return t.v[0] == v[0] && t.v[1] == v[1] && t.v[2] == v[2];
    }

    // The new triangle (sorted corners nv) is refused when a corner already
    // has it, or has a triangle over two of its corners whose third corner
    // lies on the same side of that shared edge as the new third corner.
    bool Overlaps(const int nv[3]) const {
        for (int c = 0; c < 3; ++c) {
            const CutSite& site = s[nv[c]];
            for (int t = 0; t < site.triCount; ++t) {
                int sorted[3] = {site.tris[t].v[0], site.tris[t].v[1], site.tris[t].v[2]};
                std::sort(sorted, sorted + 3);
                if (SameTriangle(SiteTriangle{{sorted[0], sorted[1], sorted[2]}, {}, {}, 0, 0, {-1, -1}}, nv))
                    return true;
                int shared[3], sc = 0, other = -1, newThird = -1;
                for (int k = 0; k < 3; ++k) {
                    const int x = sorted[k];
                    if (x == nv[0] || x == nv[1] || x == nv[2])
                        shared[sc++] = x;
                    else
                        other = x;
                }
                if (sc != 2) continue;
                for (int k = 0; k < 3; ++k)
                    if (nv[k] != shared[0] && nv[k] != shared[1]) newThird = nv[k];
                if (Orient(shared[0], shared[1], other) == Orient(shared[0], shared[1], newThird)) return true;
            }
        }
        return false;
    }

    void Circumcentre(const int v[3], double& cx, double& cy) const {
        const double ax = s[v[0]].x, ay = s[v[0]].y, bx = s[v[1]].x, by = s[v[1]].y, qx = s[v[2]].x,
                     qy = s[v[2]].y;
        const double d = 2 * (ax * (by - qy) + bx * (qy - ay) + qx * (ay - by));
        const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = qx * qx + qy * qy;
        cx = (a2 * (by - qy) + b2 * (qy - ay) + c2 * (ay - by)) / d;
        cy = (a2 * (qx - bx) + b2 * (ax - qx) + c2 * (bx - ax)) / d;
    }

    bool AddTriangle(int u, int v, int a) {
        int nv[3] = {u, v, a};
        std::sort(nv, nv + 3);
        if (Overlaps(nv)) return false;
        // A corner whose triangle list is full refuses further triangles.
        for (int k = 0; k < 3; ++k)
            if (s[nv[k]].triCount >= kMaxSiteTriangles) return false;
        SiteTriangle t;
        for (int k = 0; k < 3; ++k) {
            t.v[k] = nv[k];
            t.x[k] = s[nv[k]].x;
            t.y[k] = s[nv[k]].y;
        }
        Circumcentre(nv, t.cx, t.cy);
        for (int k = 0; k < 3; ++k) s[nv[k]].tris[s[nv[k]].triCount++] = t;
        return true;
    }

    void Grow() {
        if (search == GrowthSearch::Buckets) buckets.Build(s, n);
        for (size_t i = 0; i < hull.size(); ++i) {
            const HullEdge e = hull[i];
            const int u = e.a, v = e.b;
            const int a = search == GrowthSearch::Buckets ? BestBuckets(u, v, e.open) : BestPlain(u, v, e.open);
            if (a < 0) continue;
            if (!AddTriangle(u, v, a)) continue;
            const int p1 = std::min(u, a), q1 = std::max(u, a);
            AddHullEdge(p1, q1, -Orient(p1, q1, v));
            const int p2 = std::min(v, a), q2 = std::max(v, a);
            AddHullEdge(p2, q2, -Orient(p2, q2, u));
        }
    }

    void BuildCell(int si) {
        CutSite& site = s[si];
        PutSiteLast(site, si);
        PairTriangles(site);
        OpenTrianglesToTheBorder(site, si);
        CloseAlongBorder(site);
        SetCentre(site);
    }

    // Corners rotated so that the two other corners come first.
    static void PutSiteLast(CutSite& site, int si) {
        for (int t = 0; t < site.triCount; ++t) {
            SiteTriangle& tr = site.tris[t];
            while (tr.v[2] != si) {
                const int v0 = tr.v[0];
                const double x0 = tr.x[0], y0 = tr.y[0];
                tr.v[0] = tr.v[1];
                tr.x[0] = tr.x[1];
                tr.y[0] = tr.y[1];
                tr.v[1] = tr.v[2];
                tr.x[1] = tr.x[2];
                tr.y[1] = tr.y[2];
                tr.v[2] = v0;
                tr.x[2] = x0;
                tr.y[2] = y0;
            }
            tr.link[0] = tr.link[1] = -1;
        }
    }

    // Two triangles sharing an other corner d give the edge between their
    // circumcentres, with neighbour d.
    void PairTriangles(CutSite& site) {
        for (int i = 0; i < site.triCount; ++i) {
            SiteTriangle& ti = site.tris[i];
            for (int j = i + 1; j < site.triCount; ++j) {
                if (ti.link[0] >= 0 && ti.link[1] >= 0) break;
                SiteTriangle& tj = site.tris[j];
                for (int ki = 0; ki < 2; ++ki) {
                    if (ti.link[ki] >= 0) continue;
                    for (int kj = 0; kj < 2; ++kj) {
                        if (tj.link[kj] >= 0 || tj.v[kj] != ti.v[ki]) continue;
                        ti.link[ki] = j;
                        tj.link[kj] = i;
                        AppendCellEdge(site, ti.cx, ti.cy, tj.cx, tj.cy, ti.v[ki], area);
                        break;
                    }
                }
            }
        }
    }

    // Open triangles: an other corner left unshared (the first two kept)
    // gives an edge from the circumcentre along the bisector to the border.
    void OpenTrianglesToTheBorder(CutSite& site, int si) {
        int openTri[2], openCorner[2], openCount = 0;
        for (int t = 0; t < site.triCount && openCount < 2; ++t)
            for (int k = 0; k < 2 && openCount < 2; ++k)
                if (site.tris[t].link[k] < 0) {
                    openTri[openCount] = t;
                    openCorner[openCount++] = k;
                }
        for (int o = 0; o < openCount; ++o) {
            const SiteTriangle& tr = site.tris[openTri[o]];
            if (!(tr.cx >= area.L && tr.cx <= area.R && tr.cy >= area.T && tr.cy <= area.B)) continue;
            const int p = tr.v[openCorner[o]];
            const int q = tr.v[1 - openCorner[o]];
            // The bisector of s and p runs along s -> p turned by a right
            // angle; it leaves the circumcentre away from the third corner.
            int dx = -(s[p].y - site.y), dy = s[p].x - site.x;
            if (Orientation(site.x, site.y, s[p].x, s[p].y, site.x + dx, site.y + dy) ==
                Orient(si, p, q)) {
                dx = -dx;
                dy = -dy;
            }
            double ex, ey;
            if (RayToBorder(tr.cx, tr.cy, dx, dy, ex, ey))
                AppendCellEdge(site, tr.cx, tr.cy, ex, ey, p, area);
        }
    }

    // Where the ray from (cx, cy) along (dx, dy) leaves the area, landing
    // exactly on the side it reaches; false for a ray without direction.
    bool RayToBorder(double cx, double cy, int dx, int dy, double& ex, double& ey) const {
        double t = 1e300;
        if (dx > 0) t = std::min(t, (area.R - cx) / dx);
        if (dx < 0) t = std::min(t, (area.L - cx) / dx);
        if (dy > 0) t = std::min(t, (area.B - cy) / dy);
        if (dy < 0) t = std::min(t, (area.T - cy) / dy);
        if (t == 1e300) return false;
        ex = cx + t * dx;
        ey = cy + t * dy;
        if (dx > 0 && t == (area.R - cx) / dx) ex = area.R;
        if (dx < 0 && t == (area.L - cx) / dx) ex = area.L;
        if (dy > 0 && t == (area.B - cy) / dy) ey = area.B;
        if (dy < 0 && t == (area.T - cy) / dy) ey = area.T;
        return true;
    }

    // The mean of the edge ends; a cell without edges keeps its site as centre.
    static void SetCentre(CutSite& site) {
        if (site.edgeCount == 0) {
            site.centreX = site.x;
            site.centreY = site.y;
            return;
        }
        double sx = 0, sy = 0;
        for (int k = 0; k < site.edgeCount; ++k) {
            sx += site.edges[k].x1 + site.edges[k].x2;
            sy += site.edges[k].y1 + site.edges[k].y2;
        }
        site.centreX = sx / site.edgeCount / 2;
        site.centreY = sy / site.edgeCount / 2;
    }

    void CloseAlongBorder(CutSite& site) {
        struct Touch {
            int count = 0;
            double x[2], y[2];
            void Add(double px, double py) {
                if (count < 2) {
                    x[count] = px;
                    y[count] = py;
                }
                ++count;
            }
        } top, bottom, left, right;
        const int n0 = site.edgeCount;
        for (int k = 0; k < n0; ++k) {
            const CellEdge& e = site.edges[k];
            if (e.x1 == e.x2 && e.y1 == e.y2) continue;
            if (e.y1 == area.T) top.Add(e.x1, e.y1);
            if (e.y2 == area.B) bottom.Add(e.x2, e.y2);
            if (e.x1 == area.L)
                left.Add(e.x1, e.y1);
            else if (e.x2 == area.L)
                left.Add(e.x2, e.y2);
            if (e.x1 == area.R)
                right.Add(e.x1, e.y1);
            else if (e.x2 == area.R)
                right.Add(e.x2, e.y2);
        }
        auto seg = [&](double x1, double y1, double x2, double y2) {
            AppendCellEdge(site, x1, y1, x2, y2, -1, area);
        };
        if (left.count >= 2) {
            seg(area.L, left.y[0], area.L, left.y[1]);
        } else if (top.count >= 2) {
            seg(top.x[0], area.T, top.x[1], area.T);
        } else if (right.count >= 2) {
            seg(area.R, right.y[0], area.R, right.y[1]);
        } else if (bottom.count >= 2) {
            seg(bottom.x[0], area.B, bottom.x[1], area.B);
        } else if (left.count == 1 && top.count == 1) {
            seg(area.L, left.y[0], area.L, area.T);
            seg(area.L, area.T, top.x[0], area.T);
        } else if (top.count == 1 && right.count == 1) {
            seg(top.x[0], area.T, area.R, area.T);
            seg(area.R, area.T, area.R, right.y[0]);
        } else if (left.count == 1 && bottom.count == 1) {
            seg(area.L, left.y[0], area.L, area.B);
            seg(area.L, area.B, bottom.x[0], area.B);
        } else if (right.count == 1 && bottom.count == 1) {
            seg(area.R, right.y[0], area.R, area.B);
            seg(area.R, area.B, bottom.x[0], area.B);
        }
    }
};

}  // namespace

Result BuildCells(CutSite* sites, int count, const JigsArea& area, std::vector<HullEdge>& hull,
                  GrowthSearch search) {
    hull.clear();
    for (int i = 0; i < count; ++i) {
        sites[i].edgeCount = 0;
        sites[i].triCount = 0;
    }
    Builder b{sites, count, area, hull, search, {}, {}};
    b.edgeKeys.reserve(static_cast<size_t>(count) * 4);
    hull.reserve(static_cast<size_t>(count) * 3 + 3);
    if (count < 2 || !b.FirstEdge()) return FixedText(kFirstEdgeFailed);
    b.Grow();
    for (int i = 0; i < count; ++i) b.BuildCell(i);
    return Result::Success();
}

}  // namespace orvel
