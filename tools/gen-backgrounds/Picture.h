#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvel {

// Every background is drawn on a tile of this size. The program stretches the
// picture over the play field, which is usually wider than high; 16:10 keeps
// that stretch mild on common screens.
constexpr int kTileWidth = 1600;
constexpr int kTileHeight = 1000;

// A colour with float channels on the 0..255 scale, so that shading can be
// applied in several steps without rounding in between.
struct Rgb {
    float R = 0, G = 0, B = 0;
};

inline Rgb operator*(Rgb c, float k) {
    return {c.R * k, c.G * k, c.B * k};
}
inline Rgb operator+(Rgb a, Rgb b) {
    return {a.R + b.R, a.G + b.G, a.B + b.B};
}

constexpr Rgb Hex(uint32_t rgb) {
    return {float((rgb >> 16) & 0xFF), float((rgb >> 8) & 0xFF), float(rgb & 0xFF)};
}

inline float Mix(float a, float b, float t) {
    return a + (b - a) * t;
}
inline Rgb Mix(Rgb a, Rgb b, float t) {
    return {Mix(a.R, b.R, t), Mix(a.G, b.G, t), Mix(a.B, b.B, t)};
}

inline float Smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<Rgb> Pixels;

    Picture() = default;
    Picture(int width, int height)
        : Width(width), Height(height), Pixels(size_t(width) * size_t(height)) {}
    Rgb& At(int x, int y) { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
    const Rgb& At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

}  // namespace orvel
