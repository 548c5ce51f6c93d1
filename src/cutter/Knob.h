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

// Draws one knob of the cell cutter's table along the edge start..end.
// Returns false (refused, nothing drawn) when the clearance test fails.
// A room of exactly 0 (a seed on the edge's own line) is refused too, so
// that the caller falls back to other choices and finally a straight line.
bool DrawKnob(const KnobContext& ctx, int knobFlags, int side, int profile, KnobPoint neighbourSeed,
              bool hasNeighbourSeed, KnobPoint ownSeed, int clearance, double roomA, double roomB,
              TColor color, KnobPoint endPt, KnobPoint startPt, int mirror, KnobRect& covered);

}  // namespace orvel
