#include "Noise.h"

#include <cmath>

namespace orvel {

namespace {

int Wrap(int i, int period) {
    const int m = i % period;
    return m < 0 ? m + period : m;
}

float Fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

// Sixteen evenly spread directions: fewer show as straight creases along
// the axes and diagonals.
struct Directions {
    float X[16], Y[16];
    Directions() {
        for (int i = 0; i < 16; ++i) {
            X[i] = float(std::cos(i * 3.14159265358979 / 8));
            Y[i] = float(std::sin(i * 3.14159265358979 / 8));
        }
    }
};

// A lattice point's direction, dotted with the offset from that point.
float Gradient(uint32_t hash, float dx, float dy) {
    static const Directions kDirections;
    const uint32_t i = hash >> 28;
    return kDirections.X[i] * dx + kDirections.Y[i] * dy;
}

}  // namespace

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h = a * 0x8DA6B343u ^ b * 0xD8163841u ^ c * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float HashUnit(uint32_t a, uint32_t b, uint32_t c) {
    return float(Hash(a, b, c) >> 8) * (1.0f / 16777216.0f);
}

float PeriodicNoise(float x, float y, int periodX, int periodY, uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float dx = x - fx;
    const float dy = y - fy;
    const uint32_t x0 = uint32_t(Wrap(int(fx), periodX));
    const uint32_t y0 = uint32_t(Wrap(int(fy), periodY));
    const uint32_t x1 = uint32_t(Wrap(int(fx) + 1, periodX));
    const uint32_t y1 = uint32_t(Wrap(int(fy) + 1, periodY));
    const float n00 = Gradient(Hash(x0, y0, seed), dx, dy);
    const float n10 = Gradient(Hash(x1, y0, seed), dx - 1, dy);
    const float n01 = Gradient(Hash(x0, y1, seed), dx, dy - 1);
    const float n11 = Gradient(Hash(x1, y1, seed), dx - 1, dy - 1);
    const float u = Fade(dx);
    const float v = Fade(dy);
    const float top = n00 + (n10 - n00) * u;
    const float bottom = n01 + (n11 - n01) * u;
    return 1.41421356f * (top + (bottom - top) * v);
}

float PeriodicFbm(float u, float v, int periodX, int periodY, int octaves, uint32_t seed,
                  float gain) {
    float sum = 0;
    float amplitude = 1;
    float norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * PeriodicNoise(u * float(periodX), v * float(periodY), periodX, periodY,
                                         seed + uint32_t(i) * 0x9E3779B9u);
        norm += amplitude;
        amplitude *= gain;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / norm;
}

}  // namespace orvel
