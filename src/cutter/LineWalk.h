#pragma once

#include <cstdlib>
#include <utility>

namespace orvel {

// Visits the pixels of a one-pixel line from (x1, y1) to (x2, y2) in the
// order the buffer's DrawLine sets them (horizontal and vertical lines run
// left to right or top to bottom; others use Bresenham with doubled deltas
// from the first point). The visitor returns false to stop early.
// Used where the cutter must leave out a line's last point (polylines) or
// test the pixels under a line without drawing it.
template <typename Visit>
bool WalkLine(int x1, int y1, int x2, int y2, Visit&& visit) {
    if (x1 == x2 && y1 == y2) return visit(x1, y1);
    if (y1 == y2) {
        if (x1 > x2) std::swap(x1, x2);
        for (int x = x1; x <= x2; ++x)
            if (!visit(x, y1)) return false;
        return true;
    }
    if (x1 == x2) {
        if (y1 > y2) std::swap(y1, y2);
        for (int y = y1; y <= y2; ++y)
            if (!visit(x1, y)) return false;
        return true;
    }
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
    int x = x1, y = y1;
    if (dy < dx) {
        int err = 2 * dy - dx;
        for (int i = 0; i <= dx; ++i) {
            if (!visit(x, y)) return false;
            if (err >= 0) {
                y += sy;
                err -= 2 * dx;
            }
            err += 2 * dy;
            x += sx;
        }
    } else {
        int err = 2 * dx - dy;
        for (int i = 0; i <= dy; ++i) {
            if (!visit(x, y)) return false;
            if (err >= 0) {
                x += sx;
                err -= 2 * dy;
            }
            err += 2 * dx;
            y += sy;
        }
    }
    return true;
}

}  // namespace orvel
