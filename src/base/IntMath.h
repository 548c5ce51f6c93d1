#pragma once

namespace orvel {

// Small integer and geometry helpers used across the game.
inline int Max(int a, int b) { return a > b ? a : b; }
inline int Min(int a, int b) { return a < b ? a : b; }
// hi when v > hi, else lo when v < lo, else v.
inline int Clamp(int v, int lo, int hi) { return v > hi ? hi : (v < lo ? lo : v); }
inline int ClampByte(int v) { return Clamp(v, 0, 255); }
// Angle at p2 between the rays to p1 and p3, in radians.
double AngleAt(double x1, double y1, double x2, double y2, double x3, double y3);

// Nearest integer, halves to even: the rounding used for every real-to-integer conversion.
int Round(double v);

}  // namespace orvel
