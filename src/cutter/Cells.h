#pragma once

#include <vector>

#include "base/Result.h"
#include "cutter/CellTypes.h"
#include "cutter/CutMessages.h"

namespace orvel {

// How the growth step finds the site that sees a triangulation edge under
// the largest angle: Plain tests every site; Buckets looks in rings of a
// bucket grid around the edge and stops once no farther site can see the
// edge under a larger angle. Both pick the same site.
enum class GrowthSearch { Plain, Buckets };

// Orientation of p with respect to the directed line a -> b: -1, 0 or +1.
int Orientation(int ax, int ay, int bx, int by, int px, int py);

// Builds every site's Voronoi cell (edges clipped to the area and closed
// along its border, neighbour per edge, centre) from the Delaunay
// triangulation grown from a first convex-hull edge. Fails with the fixed
// text kFirstEdgeFailed when no first hull edge exists (fewer than two
// sites, or all of them collinear).
Result BuildCells(CutSite* sites, int count, const JigsArea& area, std::vector<HullEdge>& hull,
                  GrowthSearch search = GrowthSearch::Buckets);

// Appends an edge to a cell by the edge append rule (dropped when both ends
// lie beyond the same side, else ordered, clipped to the area, ordered
// again); refused when the cell already has its 20 edges. Returns whether
// it was appended.
bool AppendCellEdge(CutSite& site, double x1, double y1, double x2, double y2, int neighbour,
                    const JigsArea& area);

// Intersection of segments P1P2 and P3P4; strict keeps touching ends out.
bool SegmentIntersection(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                         double y4, bool strict, double& ix, double& iy);

}  // namespace orvel
