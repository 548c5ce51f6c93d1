#include "cutter/Knob.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "cutter/LineWalk.h"
#include "cutter/MaskAccess.h"
#include "graphics/Rect.h"

namespace orvel {

namespace {

#include "cutter/KnobData.inc"

void FillProfile(KnobProfile& p, const std::vector<int>& pts, bool cellTable) {
    p.count = static_cast<int32_t>(pts.size() / 2);
    for (int i = 0; i < p.count; ++i) {
        p.x[i] = pts[2 * i];
        p.y[i] = pts[2 * i + 1];
    }
    p.baseY = Round(p.y[0]);
    p.profileWidth = Round(p.x[p.count - 1]);
    double lo = p.y[0], hi = p.y[0];
    for (int i = 0; i < p.count; i += 3) {
        if (p.y[i] < lo) lo = p.y[i];
        if (p.y[i] > hi) hi = p.y[i];
    }
    if (cellTable) {
        p.upHeight = p.baseY - Round(lo) + 1;
        p.downHeight = Round(hi) - p.baseY + 1;
    } else {
        p.upHeight = p.baseY - Round(lo);
        p.downHeight = 0;
    }
}

}  // namespace

void BuildKnobProfiles(KnobTable& table) {
    table.count = kCellProfileCount;
    for (int i = 0; i < kCellProfileCount; ++i) FillProfile(table.p[i], kCellProfilePoints[i], true);
}

void BuildGridProfiles(KnobTable& table) {
    table = KnobTable{};
    table.count = kGridProfileCount;
    for (int i = 0; i < kGridProfileCount; ++i) FillProfile(table.p[i], kGridProfilePoints[i], false);
}

int SampleBezierSegment(const double* px, const double* py, int32_t* outX, int32_t* outY) {
    const double dx = px[3] - px[0], dy = py[3] - py[0];
    int steps = Round(std::sqrt(dx * dx + dy * dy) / 3);
    if (steps < 1) steps = 1;
    if (steps > 150) steps = 150;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double u = 1 - t;
        // Term k weighs Pk with C(3, k) (1 - t)^k t^(3 - k): i = 0 gives P3.
        const double w0 = t * t * t, w1 = 3 * u * t * t, w2 = 3 * u * u * t, w3 = u * u * u;
        outX[i] = Round(w0 * px[0] + w1 * px[1] + w2 * px[2] + w3 * px[3]);
        outY[i] = Round(w0 * py[0] + w1 * py[1] + w2 * py[2] + w3 * py[3]);
    }
    return steps + 1;
}

void DrawBezierChain(TMyBitmap& mask, const double* px, const double* py, int count, TColor color) {
    int32_t sx[151], sy[151];
    for (int s = 0; s + 3 < count; s += 3) {
        const int n = SampleBezierSegment(px + s, py + s, sx, sy);
        // One polyline through the samples; like the window system's polyline
        // it leaves its last point unset.
        for (int i = 0; i + 1 < n; ++i) {
            const int ex = sx[i + 1], ey = sy[i + 1];
            WalkLine(sx[i], sy[i], ex, ey, [&](int x, int y) {
                if (x != ex || y != ey) MaskSetChecked(mask, x, y, color);
                return true;
            });
        }
    }
}

KnobFrame MakeKnobFrame(KnobPoint endPt, KnobPoint startPt) {
    KnobFrame f;
    const int adx = std::abs(endPt.x - startPt.x), ady = std::abs(endPt.y - startPt.y);
    if (adx == 0 && ady == 0) {
        f.F = endPt;
        f.T = startPt;
    } else if (adx < ady) {  // steep: from the upper end
        f.F = endPt.y < startPt.y ? endPt : startPt;
        f.T = endPt.y < startPt.y ? startPt : endPt;
    } else {  // flat: from the left end
        f.F = endPt.x < startPt.x ? endPt : startPt;
        f.T = endPt.x < startPt.x ? startPt : endPt;
    }
    f.M = {(f.F.x + f.T.x) / 2, (f.F.y + f.T.y) / 2};
    const double dx = f.T.x - f.F.x, dy = f.T.y - f.F.y;
    f.D = std::sqrt(dx * dx + dy * dy);
    if (f.D > 0) {
        f.eY = dy / f.D;
        f.eX = dx / f.D;
    }
    return f;
}

KnobPoint KnobApex(const KnobFrame& f, int side, double& H, int imageW, int imageH, bool& clipped) {
    KnobPoint a;
    if (side == 1)
        a = {f.M.x + Round(H * f.eY), f.M.y - Round(H * f.eX)};
    else
        a = {f.M.x - Round(H * f.eY), f.M.y + Round(H * f.eX)};
    clipped = false;
    const double mx = f.M.x, my = f.M.y;
    auto meetY = [&](double yLine) {
        const double x = mx + (a.x - mx) * (yLine - my) / (a.y - my);
        a = {Round(x), Round(yLine)};
        clipped = true;
    };
    auto meetX = [&](double xLine) {
        const double y = my + (a.y - my) * (xLine - mx) / (a.x - mx);
        a = {Round(xLine), Round(y)};
        clipped = true;
    };
    if (side == 1 && a.y < 0)
        meetY(2);
    else if (side == 0 && a.y >= imageH)
        meetY(imageH - 2);
    else if (side == 0 && a.x < 0)
        meetX(2);
    else if (side == 1 && a.x >= imageW)
        meetX(imageW - 2);
    if (clipped) {
        const double dx = a.x - mx, dy = a.y - my;
        H = std::sqrt(dx * dx + dy * dy);
    }
    return a;
}

int LayKnobPoints(const KnobProfile& prof, const KnobFrame& f, int side, int mirror, double H,
                  double* outX, double* outY) {
    const int n = prof.count;
    const double sv = H / prof.baseY, sh = f.D / prof.profileWidth;
    for (int i = 0; i < n; ++i) {
        double x, y;
        if (mirror) {
            x = prof.profileWidth - prof.x[n - 1 - i];
            y = prof.y[n - 1 - i];
        } else {
            x = prof.x[i];
            y = prof.y[i];
        }
        const double a = sv * (prof.baseY - y);
        const double b = sh * x;
        if (side == 1) {
            outX[i] = f.F.x + f.eY * a + f.eX * b;
            outY[i] = f.F.y - f.eX * a + f.eY * b;
        } else {
            outX[i] = f.F.x - f.eY * a + f.eX * b;
            outY[i] = f.F.y + f.eX * a + f.eY * b;
        }
    }
    return n;
}

namespace {

// The clearance test over the laid chain; grows covered with every sample.
bool ClearanceOk(const KnobContext& ctx, const double* px, const double* py, int count, int c,
                 KnobPoint c1, KnobPoint c2, KnobPoint ownSeed, KnobPoint neighbourSeed,
                 KnobRect& covered) {
    const TMyBitmap& m = *ctx.mask;
    const JigsArea& ar = ctx.area;
    const int q = ctx.TileS / 10;
    auto nearCorner = [&](int x, int y) {
        return (std::abs(x - c1.x) < q && std::abs(y - c1.y) < q) ||
               (std::abs(x - c2.x) < q && std::abs(y - c2.y) < q);
    };
    auto throughPoint = [](int x0, int y0, int x1, int y1, KnobPoint s) {
        return static_cast<int64_t>(x1 - x0) * (s.y - y0) - static_cast<int64_t>(y1 - y0) * (s.x - x0) == 0;
    };
    // The pixels of the line from (x0, y0) to (x1, y1) hold the seed.
    auto overSeed = [](int x0, int y0, int x1, int y1, KnobPoint s) {
        bool over = false;
        WalkLine(x0, y0, x1, y1, [&](int x, int y) {
            over = x == s.x && y == s.y;
            return !over;
        });
        return over;
    };
    const int diag = Round(c / std::sqrt(2.0));
    static const int dirs[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    int32_t sx[151], sy[151];
    for (int s = 0; s + 3 < count; s += 3) {
        const int n = SampleBezierSegment(px + s, py + s, sx, sy);
        for (int i = 0; i < n; ++i) {
            const int x = sx[i], y = sy[i];
            covered.Include(x, y);
            if (x < ar.L || x > ar.R || y < ar.T || y > ar.B) return false;
            if (nearCorner(x, y)) continue;
            if (i > 0) {
                if (throughPoint(sx[i - 1], sy[i - 1], x, y, ownSeed)) return false;
                if (throughPoint(sx[i - 1], sy[i - 1], x, y, neighbourSeed)) return false;
                // The room limits keep the profile's anchors a pixel from the
                // seeds, but the curve between them and the rounding can still
                // run over a seed: the piece would then be filled from another
                // point, perhaps on the wrong side of a side.
                if (overSeed(sx[i - 1], sy[i - 1], x, y, ownSeed)) return false;
                if (overSeed(sx[i - 1], sy[i - 1], x, y, neighbourSeed)) return false;
            }
            for (int d = 0; d < 8; ++d) {
                const int reach = d < 4 ? c : diag;
                int cx = x, cy = y;
                for (int k = 1; k <= reach; ++k) {
                    cx += dirs[d][0];
                    cy += dirs[d][1];
                    if (cx < ar.L || cx > ar.R || cy < ar.T || cy > ar.B) break;
                    if (nearCorner(cx, cy)) continue;
                    if (!MaskIsWhite(m, cx, cy)) return false;
                }
            }
        }
    }
    return true;
}

}  // namespace

KnobResult DrawKnob(const KnobContext& ctx, KnobFlag knobFlags, int side, int profile,
                    KnobPoint neighbourSeed, KnobPoint ownSeed, int clearance, double roomA,
                    double roomB, TColor color, KnobPoint endPt, KnobPoint startPt, int mirror,
                    KnobRect& covered) {
    covered = KnobRect{};
    if (side == 0) std::swap(roomA, roomB);
    const KnobProfile& prof = ctx.profiles->p[profile];
    const KnobFrame f = MakeKnobFrame(endPt, startPt);
    if (f.D == 0) return KnobResult::Drawn;

    double H;
    if (HasFlag(knobFlags, KnobFlag::ScaleWithEdge)) {
        const double H0 = f.D / prof.profileWidth * prof.baseY;
        if (roomA != -1 && roomB != -1) {
            if (roomA == 0 || roomB == 0) return KnobResult::NoRoom;
            const double U = f.D / prof.profileWidth * prof.upHeight;
            const double W = f.D / prof.profileWidth * prof.downHeight;
            if (roomB < U + 1 && roomA < W + 1) {
                if (W / roomA >= U / roomB)
                    H = roomA * H0 / W - 1;
                else
                    H = roomB * H0 / U - 1;
            } else if (roomB < U + 1) {
                H = roomB * H0 / U - 1;
            } else if (roomA < W + 1) {
                H = roomA * H0 / W - 1;
            } else {
                H = H0;
            }
        } else {
            H = H0;
        }
    } else {
        H = ctx.KnobDepth;
    }

    bool clipped = false;
    KnobApex(f, side, H, ctx.ImageW, ctx.ImageH, clipped);

    double px[KnobProfile::kMaxPoints], py[KnobProfile::kMaxPoints];
    const int n = LayKnobPoints(prof, f, side, mirror, H, px, py);

    if (clearance != -1 &&
        !ClearanceOk(ctx, px, py, n, clearance, endPt, startPt, ownSeed, neighbourSeed, covered))
        return KnobResult::Refused;

    DrawBezierChain(*ctx.mask, px, py, n, color);
    MaskSetChecked(*ctx.mask, Round(px[0]), Round(py[0]), color);
    return KnobResult::Drawn;
}

}  // namespace orvel
