#pragma once

#include <cstdint>

#include "base/IntMath.h"

namespace orvel {

// Marker of an unset rectangle edge.
constexpr int kUnsetEdge = -10000;

// A plain four-edge rectangle, the form platform calls take.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

// A rectangle with inclusive edges that also carries its size:
// Right = Left + Width - 1, Bottom = Top + Height - 1.
// Empty: all edges kUnsetEdge and Width = Height = 0.
struct TMyRect {
    int32_t Left = kUnsetEdge;
    int32_t Top = kUnsetEdge;
    int32_t Right = kUnsetEdge;
    int32_t Bottom = kUnsetEdge;
    int32_t Width = 0;
    int32_t Height = 0;
    TRect Rect{kUnsetEdge, kUnsetEdge, kUnsetEdge, kUnsetEdge};
};

void ClearRect(TMyRect& r);
void SetBounds(TMyRect& r, int left, int top, int right, int bottom);
void SetPosSize(TMyRect& r, int left, int top, int width, int height);
// Grows r to include the box; an edge still unset takes the new value.
void IncludeBox(TMyRect& r, int left, int top, int right, int bottom);
bool IsEmpty(const TMyRect& r);
bool ContainsPoint(const TMyRect& r, int x, int y);
// out (when given) is cleared first, then set to the common part.
bool IntersectRect(const TMyRect& a, const TMyRect& b, TMyRect* out = nullptr);
// Moves without refreshing the Rect copy.
void MoveTo(TMyRect& r, int left, int top);
// Keeps Left/Top, moves Right/Bottom; does not refresh the Rect copy.
void SetBottomRight(TMyRect& r, int right, int bottom);
void GrowBy(TMyRect& r, int dLeft, int dTop, int dWidth, int dHeight);
void ShiftEdges(TMyRect& r, int dLeft, int dTop, int dRight, int dBottom);

}  // namespace orvel
