#pragma once

#include <cstdint>

#include "graphics/Bitmap.h"

namespace orvel {

// Direct access to a 24-bit mask buffer (rows bottom-up), for the cutter's
// inner loops. Callers keep inside the buffer unless a routine says it checks.
inline const uint8_t* MaskPx(const TMyBitmap& m, int x, int y) {
    return m.Bits + static_cast<ptrdiff_t>(m.Height - 1 - y) * m.Stride + 3 * x;
}
inline uint8_t* MaskPx(TMyBitmap& m, int x, int y) {
    return m.Bits + static_cast<ptrdiff_t>(m.Height - 1 - y) * m.Stride + 3 * x;
}
inline bool InMask(const TMyBitmap& m, int x, int y) {
    return x >= 0 && y >= 0 && x < m.Width && y < m.Height;
}
// The pixel as 0x00BBGGRR.
inline TColor MaskGet(const TMyBitmap& m, int x, int y) {
    const uint8_t* p = MaskPx(m, x, y);
    return static_cast<TColor>(p[2]) | (static_cast<TColor>(p[1]) << 8) |
           (static_cast<TColor>(p[0]) << 16);
}
inline void MaskSet(TMyBitmap& m, int x, int y, TColor c) {
    uint8_t* p = MaskPx(m, x, y);
    p[0] = ColorB(c);
    p[1] = ColorG(c);
    p[2] = ColorR(c);
}
inline void MaskSetChecked(TMyBitmap& m, int x, int y, TColor c) {
    if (InMask(m, x, y)) MaskSet(m, x, y, c);
}
inline bool MaskIsWhite(const TMyBitmap& m, int x, int y) {
    const uint8_t* p = MaskPx(m, x, y);
    return p[0] == 0xFF && p[1] == 0xFF && p[2] == 0xFF;
}

}  // namespace orvel
