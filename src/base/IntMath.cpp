#include "base/IntMath.h"

#include <cmath>

namespace orvel {

double AngleAt(double x1, double y1, double x2, double y2, double x3, double y3) {
    const double ax = x1 - x2, ay = y1 - y2, bx = x3 - x2, by = y3 - y2;
    const double len = std::sqrt(ax * ax + ay * ay) * std::sqrt(bx * bx + by * by);
    if (len == 0) return 0;
    double c = (ax * bx + ay * by) / len;
    if (c > 1) c = 1;
    if (c < -1) c = -1;
    return std::acos(c);
}

// The default floating-point environment rounds to nearest, halves to even.
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace orvel
