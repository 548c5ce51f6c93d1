#include "graphics/Rect.h"

#include <cmath>

namespace orvel {

namespace {

void RefreshCopy(TMyRect& r) { r.Rect = {r.Left, r.Top, r.Right, r.Bottom}; }

// Edge and size arithmetic wraps around like the 32-bit fields it fills
// instead of overflowing; no real rectangle comes near the limits.
int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }
int32_t SizeOf(int32_t first, int32_t last) { return Wrap(int64_t{last} - first + 1); }
int32_t LastOf(int32_t first, int32_t size) { return Wrap(int64_t{first} + size - 1); }
int32_t Plus(int32_t a, int32_t b) { return Wrap(int64_t{a} + b); }

}  // namespace

void ClearRect(TMyRect& r) { r = TMyRect{}; }

void SetBounds(TMyRect& r, int left, int top, int right, int bottom) {
    r.Left = left;
    r.Top = top;
    r.Right = right;
    r.Bottom = bottom;
    r.Width = SizeOf(left, right);
    r.Height = SizeOf(top, bottom);
    RefreshCopy(r);
}

void SetPosSize(TMyRect& r, int left, int top, int width, int height) {
    r.Left = left;
    r.Top = top;
    r.Width = width;
    r.Height = height;
    r.Right = LastOf(left, width);
    r.Bottom = LastOf(top, height);
    RefreshCopy(r);
}

void IncludeBox(TMyRect& r, int left, int top, int right, int bottom) {
    if (r.Left == kUnsetEdge || left < r.Left) r.Left = left;
    if (r.Top == kUnsetEdge || top < r.Top) r.Top = top;
    if (r.Right == kUnsetEdge || right > r.Right) r.Right = right;
    if (r.Bottom == kUnsetEdge || bottom > r.Bottom) r.Bottom = bottom;
    r.Width = SizeOf(r.Left, r.Right);
    r.Height = SizeOf(r.Top, r.Bottom);
    RefreshCopy(r);
}

bool IsEmpty(const TMyRect& r) { return r.Width == 0 || r.Height == 0; }

bool ContainsPoint(const TMyRect& r, int x, int y) {
    return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom;
}

bool IntersectRect(const TMyRect& a, const TMyRect& b, TMyRect* out) {
    if (out) ClearRect(*out);
    if (a.Right < b.Left || b.Right < a.Left || a.Bottom < b.Top || b.Bottom < a.Top) return false;
    if (out) SetBounds(*out, Max(a.Left, b.Left), Max(a.Top, b.Top), Min(a.Right, b.Right), Min(a.Bottom, b.Bottom));
    return true;
}

void MoveTo(TMyRect& r, int left, int top) {
    r.Left = left;
    r.Top = top;
    r.Right = LastOf(left, r.Width);
    r.Bottom = LastOf(top, r.Height);
}

void SetBottomRight(TMyRect& r, int right, int bottom) {
    r.Right = right;
    r.Bottom = bottom;
    r.Width = SizeOf(r.Left, right);
    r.Height = SizeOf(r.Top, bottom);
}

void GrowBy(TMyRect& r, int dLeft, int dTop, int dWidth, int dHeight) {
    r.Left = Plus(r.Left, dLeft);
    r.Top = Plus(r.Top, dTop);
    r.Width = Plus(r.Width, dWidth);
    r.Height = Plus(r.Height, dHeight);
    r.Right = LastOf(r.Left, r.Width);
    r.Bottom = LastOf(r.Top, r.Height);
    RefreshCopy(r);
}

void ShiftEdges(TMyRect& r, int dLeft, int dTop, int dRight, int dBottom) {
    r.Left = Plus(r.Left, dLeft);
    r.Top = Plus(r.Top, dTop);
    r.Right = Plus(r.Right, dRight);
    r.Bottom = Plus(r.Bottom, dBottom);
    r.Width = SizeOf(r.Left, r.Right);
    r.Height = SizeOf(r.Top, r.Bottom);
    RefreshCopy(r);
}

}  // namespace orvel
