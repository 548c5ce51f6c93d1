#pragma once

#include <cstdint>

namespace orvel {

// Room in one cell for its sides and in one site for its triangles. The cell
// construction refuses further entries rather than writing past them.
constexpr int kMaxCellEdges = 20;
constexpr int kMaxSiteTriangles = 20;

// One side of a cell (a Voronoi edge), seen from the cell that owns it.
struct CellEdge {
    // End points, ordered so that the start is the upper end (or the left end
    // of a horizontal edge). Held as integer values while the cutter draws.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    // The same end points before rounding (picture pieces clip and re-route these).
    double rx1 = 0, ry1 = 0, rx2 = 0, ry2 = 0;
    int16_t neighbour = -1;  // site on the other side, -1 on the border of the jigsaw area
    double length = 0;
    int32_t twin = -1;       // index of the same edge in the neighbour's cell, -1 none
    uint8_t side = 0;        // knob side
    uint8_t active = 0;
    uint8_t changed = 0;     // re-routed towards a picture piece
    int16_t corner1 = -1;    // picture piece an end of the edge touches, -1 none
    int16_t corner2 = -1;
};

// A Delaunay triangle that has the site as a corner.
struct SiteTriangle {
    int32_t v[3] = {0, 0, 0};  // site indices, ascending when entered
    double x[3] = {0, 0, 0};
    double y[3] = {0, 0, 0};
    double cx = 0, cy = 0;     // circumcentre
    int32_t link[2] = {-1, -1};  // pairing state while the cell is built
};

// One site per grid cell; the site of cell k belongs to piece k.
struct CutSite {
    int32_t x = 0, y = 0;
    double centreX = 0, centreY = 0;  // the cell centre (mean of the edge end points)
    CellEdge edges[kMaxCellEdges];
    int32_t edgeCount = 0;
    SiteTriangle tris[kMaxSiteTriangles];
    int32_t triCount = 0;
    int32_t cell = 0;
};

// One edge of the growing triangulation.
struct HullEdge {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int32_t a = 0, b = 0;  // site indices, a < b
    int32_t open = 0;      // orientation sign of the side the next triangle is sought on
};

// The jigsaw area with inclusive limits.
struct JigsArea {
    int32_t L = 0, T = 0, R = 0, B = 0;
};

}  // namespace orvel
