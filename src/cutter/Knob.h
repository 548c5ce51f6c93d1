#pragma once

#include <cstdint>

#include "cutter/CellTypes.h"
#include "graphics/Bitmap.h"

namespace orvel {

// A knob profile: a chain of cubic Bezier points in a design box 128 units
// wide, from x = 0 to x = 127 on the baseline; y grows downwards. Points 0,
// 3, 6, ... are anchors, the two between consecutive anchors are controls.
struct KnobProfile {
    static constexpr int kMaxPoints = 40;
    double x[kMaxPoints] = {};
    double y[kMaxPoints] = {};
    int32_t count = 0;
    int32_t baseY = 0;
    int32_t profileWidth = 0;
    int32_t upHeight = 0;
    int32_t downHeight = 0;  // cell-cutter table only
};

constexpr int kCellProfileCount = 16;
constexpr int kGridProfileCount = 7;

struct KnobTable {
    KnobProfile p[kCellProfileCount];
    int32_t count = 0;
};

// The cell cutter's 16 profiles and the grid cutter's 7, with their derived values.
void BuildKnobProfiles(KnobTable& table);
void BuildGridProfiles(KnobTable& table);

// What knob drawing needs to know about the cut in progress.
struct KnobContext {
    TMyBitmap* mask = nullptr;  // the work mask, (ImageW + 5) x (ImageH + 5)
    int32_t ImageW = 0, ImageH = 0;
    JigsArea area;
    int32_t TileS = 0;
    int32_t KnobDepth = 0;
    const KnobTable* profiles = nullptr;
};

struct KnobPoint {
    int32_t x = 0, y = 0;
};

// Covered rectangle of a knob: left/top start at 10000, right/bottom at -10000.
struct KnobRect {
    int32_t left = 10000, top = 10000, right = -10000, bottom = -10000;
    void Include(int x, int y) {
        if (x < left) left = x;
        if (x > right) right = x;
        if (y < top) top = y;
        if (y > bottom) bottom = y;
    }
};

// Draws a point chain as sampled cubic segments; the last point of the chain
// (the first anchor of the first segment's sampling order) is not set.
void DrawBezierChain(TMyBitmap& mask, const double* px, const double* py, int count, TColor color);

// Samples of one cubic segment, in drawing order (from P3 to P0); returns the count.
int SampleBezierSegment(const double* px, const double* py, int32_t* outX, int32_t* outY);

// How a cut shapes its knobs; combined with |.
enum class KnobFlag : uint8_t {
    None = 0,
    ScaleWithEdge = 1,    // the knob grows with the edge's length (else KnobDepth high)
    FollowDirection = 2,  // side and mirror follow the edge's direction, not chance; no retries
    PlainShortEdges = 4,  // edges shorter than TileS / 3 get no knob
};
constexpr KnobFlag operator|(KnobFlag a, KnobFlag b) {
    return static_cast<KnobFlag>(static_cast<uint8_t>(a) | static_cast<uint8_t>(b));
}
constexpr bool HasFlag(KnobFlag set, KnobFlag flag) {
    return (static_cast<uint8_t>(set) & static_cast<uint8_t>(flag)) != 0;
}

enum class KnobResult {
    Refused,  // the clearance test failed; nothing drawn
    Drawn,    // drawn (or an edge of length 0: nothing to draw)
    NoRoom,   // a seed lies on the edge's own line (room 0): nothing drawn,
              // the caller draws the straight segment instead
};

// Draws one knob of the cell cutter's table along the edge start..end.
// clearance -1: no clearance test; rooms -1: unknown.
KnobResult DrawKnob(const KnobContext& ctx, KnobFlag knobFlags, int side, int profile,
                    KnobPoint neighbourSeed, KnobPoint ownSeed, int clearance, double roomA,
                    double roomB, TColor color, KnobPoint endPt, KnobPoint startPt, int mirror,
                    KnobRect& covered);

// The shared geometry of a knob along F -> T (from-point F, to-point T ordered
// as knobs order an edge's ends): knob drawing and the grid cutter use it.
struct KnobFrame {
    KnobPoint F, T, M;
    double D = 0, eX = 0, eY = 0;
};
// Orders the ends (a steep edge from its upper end, a flat one from its left
// end; coinciding ends from endPt) and computes midpoint, length and direction.
KnobFrame MakeKnobFrame(KnobPoint endPt, KnobPoint startPt);
// The apex at height H on the given side, kept inside the picture; sets
// clipped and H when it had to be moved.
KnobPoint KnobApex(const KnobFrame& f, int side, double& H, int imageW, int imageH, bool& clipped);
// Lays the profile's work points (mirrored when asked) along the frame at
// height H into outX/outY; returns the point count.
int LayKnobPoints(const KnobProfile& prof, const KnobFrame& f, int side, int mirror, double H,
                  double* outX, double* outY);

}  // namespace orvel
