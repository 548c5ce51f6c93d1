#pragma once

#include <cstdint>

namespace orvel {

// Colours are 0x00BBGGRR: red in the low byte, blue in bits 16-23.
using TColor = uint32_t;
inline TColor RgbToColor(int r, int g, int b) {
    return static_cast<TColor>(r) + static_cast<TColor>(g) * 256u + static_cast<TColor>(b) * 65536u;
}
inline uint8_t ColorR(TColor c) { return c & 0xFF; }
inline uint8_t ColorG(TColor c) { return (c >> 8) & 0xFF; }
inline uint8_t ColorB(TColor c) { return (c >> 16) & 0xFF; }
inline void ColorToRgb(TColor c, uint8_t& r, uint8_t& g, uint8_t& b) {
    r = ColorR(c);
    g = ColorG(c);
    b = ColorB(c);
}

}  // namespace orvel
