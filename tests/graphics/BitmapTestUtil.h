#pragma once

#include "graphics/Bitmap.h"

namespace orvel::test {

// A colour that differs for every pixel of a small picture.
inline TColor Pattern(int x, int y) {
    return RgbToColor((x * 7 + 1) & 0xFF, (y * 11 + 2) & 0xFF, (x * 5 + y * 3 + 5) & 0xFF);
}

inline void FillPattern(TMyBitmap& buf) {
    for (int y = 0; y < buf.Height; ++y)
        for (int x = 0; x < buf.Width; ++x) SetPixel(buf, x, y, Pattern(x, y));
}

inline void FillAll(TMyBitmap& buf, TColor c) {
    FillBox(buf, 0, 0, buf.Width, buf.Height, c);
}

inline int CountColor(const TMyBitmap& buf, TColor c) {
    int n = 0;
    for (int y = 0; y < buf.Height; ++y)
        for (int x = 0; x < buf.Width; ++x) n += GetPixel(buf, x, y) == static_cast<int32_t>(c);
    return n;
}

}  // namespace orvel::test
