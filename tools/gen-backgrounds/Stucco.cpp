// Plaster walls: a height field lit from the top left, so the relief shows as
// soft light and shade, over a base colour with faint clouds.

#include <cmath>
#include <functional>
#include <vector>

#include "Backgrounds.h"
#include "Noise.h"

namespace orvel {

namespace {

struct StuccoStyle {
    Rgb Base;
    Rgb Hollow;      // the colour the plaster takes in its low parts
    float Relief;    // height of the relief: the steepness the light sees
    float Lighting;  // how strongly the light and shade show
    float Clouds;    // strength of the broad colour variation
    uint32_t Seed;
};

// Height at (u, v), both 0..1 across the tile; roughly 0..1, higher is nearer.
using HeightFn = std::function<float(float u, float v)>;

std::vector<float> SampleHeights(const HeightFn& height) {
    std::vector<float> h(size_t(kTileWidth) * kTileHeight);
    for (int y = 0; y < kTileHeight; ++y)
        for (int x = 0; x < kTileWidth; ++x)
            h[size_t(y) * kTileWidth + x] =
                height((x + 0.5f) / kTileWidth, (y + 0.5f) / kTileHeight);
    return h;
}

// Lambert shading relative to a flat wall: 1 where the wall is flat, more
// where it faces the light. Neighbours wrap around, as the tile does.
float LightAt(const std::vector<float>& h, int x, int y, float relief) {
    auto at = [&](int px, int py) {
        px = (px + kTileWidth) % kTileWidth;
        py = (py + kTileHeight) % kTileHeight;
        return h[size_t(py) * kTileWidth + px];
    };
    const float gx = 0.5f * relief * (at(x + 1, y) - at(x - 1, y));
    const float gy = 0.5f * relief * (at(x, y + 1) - at(x, y - 1));
    constexpr float lx = -0.45f, ly = -0.55f, lz = 0.70f;  // towards the light, normalised
    const float diffuse = (-gx * lx - gy * ly + lz) / std::sqrt(gx * gx + gy * gy + 1);
    return diffuse / lz;
}

Picture DrawStucco(const StuccoStyle& s, const HeightFn& height) {
    const std::vector<float> h = SampleHeights(height);
    Picture pic(kTileWidth, kTileHeight);
    for (int y = 0; y < kTileHeight; ++y) {
        for (int x = 0; x < kTileWidth; ++x) {
            const float u = (x + 0.5f) / kTileWidth, v = (y + 0.5f) / kTileHeight;
            const float hh = h[size_t(y) * kTileWidth + x];
            const float cloud = PeriodicFbm(u, v, 3, 2, 3, s.Seed + 7);
            const Rgb c = Mix(s.Hollow, s.Base, std::clamp(hh, 0.0f, 1.0f));
            const float light = 1 + s.Lighting * (LightAt(h, x, y, s.Relief) - 1);
            pic.At(x, y) = c * (light * (1 + s.Clouds * cloud));
        }
    }
    return pic;
}

}  // namespace

// A fine float finish: gentle undulations with a sandy grain.
Picture DrawStucco1() {
    const uint32_t seed = 3001;
    return DrawStucco({Hex(0xBDB5A6), Hex(0xB0A796), 40.0f, 0.45f, 0.03f, seed},
                      [seed](float u, float v) {
                          const float swell = PeriodicFbm(u, v, 8, 5, 5, seed);
                          const float sand = PeriodicFbm(u, v, 320, 200, 2, seed + 1);
                          return 0.5f + 0.45f * swell + 0.03f * sand;
                      });
}

// A trowelled finish: overlapping flat strokes of plaster at three sizes,
// each leaving a soft edge, over a sandy ground.
Picture DrawStucco4() {
    const uint32_t seed = 3004;
    return DrawStucco(
        {Hex(0xA6AA9F), Hex(0x979C90), 22.0f, 0.5f, 0.03f, seed}, [seed](float u, float v) {
            auto stroke = [&](int px, int py, uint32_t s) {
                return Smoothstep(-0.1f, 0.2f, PeriodicFbm(u, v, px, py, 2, s));
            };
            const float layers = 0.45f * stroke(8, 5, seed) + 0.35f * stroke(16, 10, seed + 1) +
                                 0.1f * stroke(48, 30, seed + 2);
            const float sand = PeriodicFbm(u, v, 320, 200, 2, seed + 3);
            return 0.05f + layers + 0.05f * sand;
        });
}

}  // namespace orvel
