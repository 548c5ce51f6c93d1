#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "cutter/Cells.h"

namespace orvel {
namespace {

std::vector<CutSite> Sites(const std::vector<std::pair<int, int>>& pts) {
    std::vector<CutSite> s(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) {
        s[i].x = pts[i].first;
        s[i].y = pts[i].second;
        s[i].cell = static_cast<int>(i);
    }
    return s;
}

void ExpectSameCells(const std::vector<CutSite>& a, const std::vector<CutSite>& b, const std::string& what) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].triCount, b[i].triCount) << what << " site " << i;
        for (int t = 0; t < a[i].triCount; ++t)
            for (int k = 0; k < 3; ++k) ASSERT_EQ(a[i].tris[t].v[k], b[i].tris[t].v[k]) << what << " site " << i;
        ASSERT_EQ(a[i].edgeCount, b[i].edgeCount) << what << " site " << i;
        for (int e = 0; e < a[i].edgeCount; ++e) {
            const CellEdge &p = a[i].edges[e], &q = b[i].edges[e];
            ASSERT_TRUE(p.x1 == q.x1 && p.y1 == q.y1 && p.x2 == q.x2 && p.y2 == q.y2 && p.neighbour == q.neighbour)
                << what << " site " << i << " edge " << e;
        }
        ASSERT_EQ(a[i].centreX, b[i].centreX);
        ASSERT_EQ(a[i].centreY, b[i].centreY);
    }
}

// Builds the cells with both growth searches and compares everything.
void CompareSearches(const std::vector<std::pair<int, int>>& pts, const JigsArea& area, const std::string& what) {
    std::vector<CutSite> plain = Sites(pts), fast = Sites(pts);
    std::vector<HullEdge> h1, h2;
    const bool ok1 =
        BuildCells(plain.data(), static_cast<int>(plain.size()), area, h1, GrowthSearch::Plain)
            .Ok();
    const bool ok2 =
        BuildCells(fast.data(), static_cast<int>(fast.size()), area, h2, GrowthSearch::Buckets)
            .Ok();
    ASSERT_EQ(ok1, ok2) << what;
    ASSERT_EQ(h1.size(), h2.size()) << what;
    for (size_t i = 0; i < h1.size(); ++i) ASSERT_TRUE(h1[i].a == h2[i].a && h1[i].b == h2[i].b) << what;
    ExpectSameCells(plain, fast, what);
}

TEST(BuildCells, BucketSearchPicksTheSameSitesAsThePlainScan) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 60; ++round) {
        const int n = 3 + static_cast<int>(rng() % 400);
        const int w = 50 + static_cast<int>(rng() % 1500), h = 50 + static_cast<int>(rng() % 900);
        std::vector<std::pair<int, int>> pts;
        for (int i = 0; i < n; ++i) pts.push_back({static_cast<int>(rng() % w), static_cast<int>(rng() % h)});
        CompareSearches(pts, {0, 0, w - 1, h - 1}, "random " + std::to_string(round));
    }
}

TEST(BuildCells, BucketSearchOnPerfectAndJitteredGrids) {
    std::mt19937 rng(7);
    for (int cols : {2, 3, 5, 17}) {
        for (int rows : {2, 4, 11}) {
            for (int jitter : {0, 1, 3}) {
                std::vector<std::pair<int, int>> pts;
                for (int r = 0; r < rows; ++r)
                    for (int c = 0; c < cols; ++c)
                        pts.push_back({20 + 40 * c + (jitter ? static_cast<int>(rng() % (2 * jitter + 1)) - jitter : 0),
                                       20 + 40 * r + (jitter ? static_cast<int>(rng() % (2 * jitter + 1)) - jitter : 0)});
                CompareSearches(pts, {0, 0, 40 * cols - 1, 40 * rows - 1},
                                std::to_string(cols) + "x" + std::to_string(rows) + " j" + std::to_string(jitter));
            }
        }
    }
}

TEST(BuildCells, PerfectGridGivesSquareCellsClosedAtTheBorder) {
    std::vector<std::pair<int, int>> pts;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) pts.push_back({20 + 40 * c, 20 + 40 * r});
    std::vector<CutSite> s = Sites(pts);
    std::vector<HullEdge> hull;
    ASSERT_TRUE(BuildCells(s.data(), 9, {0, 0, 119, 119}, hull).Ok());
    // Each cocircular quadruple yields two triangles; the crossing second
    // pair is refused as overlapping, so the centre site has 8 triangles at most.
    EXPECT_LE(s[4].triCount, 8);
    // The corner cell: its two inner sides and the two border segments through the corner.
    const CutSite& corner = s[0];
    int border = 0;
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (int e = 0; e < corner.edgeCount; ++e) {
        const CellEdge& ed = corner.edges[e];
        if (ed.neighbour < 0) ++border;
        minX = std::min({minX, ed.x1, ed.x2});
        maxX = std::max({maxX, ed.x1, ed.x2});
        minY = std::min({minY, ed.y1, ed.y2});
        maxY = std::max({maxY, ed.y1, ed.y2});
    }
    EXPECT_EQ(border, 2);
    EXPECT_DOUBLE_EQ(minX, 0);
    EXPECT_DOUBLE_EQ(minY, 0);
    EXPECT_DOUBLE_EQ(maxX, 40);
    EXPECT_DOUBLE_EQ(maxY, 40);
    // The centre cell is the square 40..80 (centre = mean of its edge ends).
    EXPECT_NEAR(s[4].centreX, 60, 1e-9);
    EXPECT_NEAR(s[4].centreY, 60, 1e-9);
    for (int e = 0; e < s[4].edgeCount; ++e) EXPECT_GE(s[4].edges[e].neighbour, 0);
    // Every cell is the square of its grid cell (the last row and column end
    // at the area's inclusive limit, 119): its sides, leaving out the points
    // where four cells meet, run along the square's edges, go round it
    // exactly once, and name the grid neighbour beyond them.
    for (int k = 0; k < 9; ++k) {
        const double l = 40.0 * (k % 3), t = 40.0 * (k / 3);
        const double r = std::min(l + 40, 119.0), b = std::min(t + 40, 119.0);
        double perimeter = 0;
        for (int e = 0; e < s[k].edgeCount; ++e) {
            const CellEdge& ed = s[k].edges[e];
            const double len = std::hypot(ed.x2 - ed.x1, ed.y2 - ed.y1);
            if (len == 0) continue;
            perimeter += len;
            const bool vertical = ed.x1 == ed.x2 && (ed.x1 == l || ed.x1 == r);
            const bool horizontal = ed.y1 == ed.y2 && (ed.y1 == t || ed.y1 == b);
            ASSERT_TRUE(vertical || horizontal) << "cell " << k << " side " << e;
            EXPECT_TRUE(ed.x1 >= l && ed.x2 <= r && ed.y1 >= t && ed.y2 <= b) << "cell " << k;
            int beyond = -1;  // the grid cell on the other side, -1 past the border
            const int row = k / 3, col = k % 3;
            if (vertical) beyond = ed.x1 == l ? (col > 0 ? k - 1 : -1) : (col < 2 ? k + 1 : -1);
            if (horizontal) beyond = ed.y1 == t ? (row > 0 ? k - 3 : -1) : (row < 2 ? k + 3 : -1);
            EXPECT_EQ(ed.neighbour, beyond) << "cell " << k << " side " << e;
        }
        EXPECT_NEAR(perimeter, 2 * (r - l) + 2 * (b - t), 1e-9) << "cell " << k;
    }
}

TEST(BuildCells, EdgeEndsAreOrderedAndInsideTheArea) {
    std::mt19937 rng(99);
    std::vector<std::pair<int, int>> pts;
    for (int i = 0; i < 300; ++i) pts.push_back({static_cast<int>(rng() % 600), static_cast<int>(rng() % 400)});
    std::vector<CutSite> s = Sites(pts);
    std::vector<HullEdge> hull;
    const JigsArea a{0, 0, 599, 399};
    ASSERT_TRUE(BuildCells(s.data(), 300, a, hull).Ok());
    for (const CutSite& site : s) {
        EXPECT_GE(site.edgeCount, 3);
        for (int e = 0; e < site.edgeCount; ++e) {
            const CellEdge& ed = site.edges[e];
            EXPECT_TRUE(ed.y1 < ed.y2 || (ed.y1 == ed.y2 && ed.x1 <= ed.x2));
            EXPECT_GE(ed.x1, a.L);
            EXPECT_LE(ed.x2, a.R);
            EXPECT_GE(ed.y1, a.T);
            EXPECT_LE(ed.y2, a.B);
        }
    }
}

TEST(BuildCells, CollinearSitesFailWithTheMessage) {
    std::vector<CutSite> s = Sites({{10, 10}, {20, 20}, {30, 30}, {40, 40}});
    std::vector<HullEdge> hull;
    const Result collinear = BuildCells(s.data(), 4, {0, 0, 99, 99}, hull);
    ASSERT_FALSE(collinear.Ok());
    EXPECT_EQ(collinear.Error().Key, "Finding first edge failed!");
    EXPECT_EQ(collinear.Error().Section, MsgSection::Fixed);
    std::vector<CutSite> one = Sites({{5, 5}});
    const Result single = BuildCells(one.data(), 1, {0, 0, 9, 9}, hull);
    ASSERT_FALSE(single.Ok());
    EXPECT_EQ(single.Error().Key, "Finding first edge failed!");
}

// Site 2 lies on the line from site 0 to site 1, between them: (0, 1) is
// not the first edge, or site 2 would get no triangle and no cell.
TEST(BuildCells, FirstEdgeSkipsAPairWithASiteBetweenItsEnds) {
    for (GrowthSearch search : {GrowthSearch::Plain, GrowthSearch::Buckets}) {
        std::vector<CutSite> s = Sites({{0, 0}, {10, 0}, {5, 0}, {5, 8}});
        std::vector<HullEdge> hull;
        ASSERT_TRUE(BuildCells(s.data(), 4, {0, 0, 10, 8}, hull, search).Ok());
        ASSERT_FALSE(hull.empty());
        EXPECT_EQ(hull[0].a, 0);
        EXPECT_EQ(hull[0].b, 2);
        for (int i = 0; i < 4; ++i) {
            EXPECT_GT(s[i].triCount, 0) << i;
            EXPECT_GT(s[i].edgeCount, 0) << i;
        }
        EXPECT_EQ(s[2].triCount, 2);
    }
    // A site on the line beyond the pair's end does not refuse it.
    std::vector<CutSite> g = Sites({{0, 0}, {5, 0}, {10, 0}, {5, 8}});
    std::vector<HullEdge> hull;
    ASSERT_TRUE(BuildCells(g.data(), 4, {0, 0, 10, 8}, hull).Ok());
    EXPECT_EQ(hull[0].a, 0);
    EXPECT_EQ(hull[0].b, 1);
}

TEST(BuildCells, TwentyEdgeLimitRefusesFurtherEdges) {
    CutSite s;
    const JigsArea a{0, 0, 99, 99};
    for (int i = 0; i < kMaxCellEdges; ++i) EXPECT_TRUE(AppendCellEdge(s, i, 10, i, 20, 1, a));
    EXPECT_FALSE(AppendCellEdge(s, 50, 10, 50, 20, 1, a));
    EXPECT_EQ(s.edgeCount, kMaxCellEdges);
}

TEST(BuildCells, TwentyTriangleLimitRefusesFurtherTriangles) {
    // A site ringed by 32 others has more Delaunay triangles than it has room for.
    std::vector<std::pair<int, int>> pts{{500, 500}};
    for (int k = 0; k < 32; ++k) {
        const double a = 2 * M_PI * k / 32;
        pts.push_back({500 + static_cast<int>(std::lround(300 * std::cos(a))),
                       500 + static_cast<int>(std::lround(300 * std::sin(a)))});
    }
    std::vector<CutSite> s = Sites(pts);
    std::vector<HullEdge> hull;
    ASSERT_TRUE(BuildCells(s.data(), static_cast<int>(s.size()), {0, 0, 999, 999}, hull).Ok());
    EXPECT_EQ(s[0].triCount, kMaxSiteTriangles);
    EXPECT_LE(s[0].edgeCount, kMaxCellEdges);
    CompareSearches(pts, {0, 0, 999, 999}, "ring");
}

TEST(BuildCells, AppendRuleDropsAndClipsEdges) {
    CutSite s;
    const JigsArea a{10, 10, 89, 89};
    EXPECT_FALSE(AppendCellEdge(s, 0, 20, 5, 80, 1, a));  // both left of the area
    ASSERT_TRUE(AppendCellEdge(s, 50, 100, 50, 0, 1, a));  // crosses top and bottom
    const CellEdge& e = s.edges[0];
    EXPECT_DOUBLE_EQ(e.x1, 50);
    EXPECT_DOUBLE_EQ(e.y1, 10);
    EXPECT_DOUBLE_EQ(e.y2, 89);
    ASSERT_TRUE(AppendCellEdge(s, 0, 50, 50, 50, 2, a));  // horizontal, clipped at the left side
    EXPECT_DOUBLE_EQ(s.edges[1].x1, 10);
    EXPECT_DOUBLE_EQ(s.edges[1].x2, 50);
}

TEST(SegmentIntersection, InclusiveAndStrict) {
    double x, y;
    EXPECT_TRUE(SegmentIntersection(0, 0, 10, 0, 5, -5, 5, 5, false, x, y));
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_TRUE(SegmentIntersection(0, 0, 10, 0, 10, -5, 10, 5, false, x, y));   // touching end
    EXPECT_FALSE(SegmentIntersection(0, 0, 10, 0, 10, -5, 10, 5, true, x, y));   // strict
    EXPECT_FALSE(SegmentIntersection(0, 0, 10, 0, 0, 1, 10, 1, false, x, y));    // parallel
}

}  // namespace
}  // namespace orvel
