#include "graphics/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace orvel {

TMyBitmap::~TMyBitmap() {
    ReleaseBitmap(*this);
}

TMyBitmap::TMyBitmap(TMyBitmap&& other) noexcept {
    *this = std::move(other);
}

TMyBitmap& TMyBitmap::operator=(TMyBitmap&& other) noexcept {
    if (this == &other) return *this;
    ReleaseBitmap(*this);
    Bitmap = other.Bitmap;
    BytesPerPixel = other.BytesPerPixel;
    Stride = other.Stride;
    Width = other.Width;
    Height = other.Height;
    Bits = other.Bits;
    Size = other.Size;
    HasAlpha = other.HasAlpha;
    ClearBitmap(other);
    return *this;
}

void ClearBitmap(TMyBitmap& buf) {
    buf.Bitmap = nullptr;
    buf.BytesPerPixel = 0;
    buf.Stride = 0;
    buf.Width = 0;
    buf.Height = 0;
    buf.Bits = nullptr;
    buf.Size = 0;
    buf.HasAlpha = false;
}

namespace {

bool CreateWithDepth(TMyBitmap& buf, int width, int height, int bytesPerPixel) {
    ReleaseBitmap(buf);
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide)
        return false;
    const int64_t stride = (static_cast<int64_t>(width) * bytesPerPixel + 3) & ~int64_t{3};
    const int64_t size = stride * height;
    if (size > INT32_MAX) return false;
    void* block = std::malloc(static_cast<size_t>(size));
    if (!block) return false;
    buf.Bitmap = block;
    buf.Bits = static_cast<uint8_t*>(block);
    buf.BytesPerPixel = bytesPerPixel;
    buf.Stride = static_cast<int32_t>(stride);
    buf.Width = width;
    buf.Height = height;
    buf.Size = static_cast<int32_t>(size);
    buf.HasAlpha = bytesPerPixel == 4;
    return true;
}

}  // namespace

bool Create24(TMyBitmap& buf, int width, int height) {
    return CreateWithDepth(buf, width, height, 3);
}

bool Create32(TMyBitmap& buf, int width, int height) {
    return CreateWithDepth(buf, width, height, 4);
}

bool AttachPixels(TMyBitmap& buf, uint8_t* bits, int width, int height, int bytesPerPixel,
                  int stride) {
    ReleaseBitmap(buf);
    if (!bits || width <= 0 || height <= 0 || (bytesPerPixel != 3 && bytesPerPixel != 4))
        return false;
    buf.Bits = bits;
    buf.BytesPerPixel = bytesPerPixel;
    buf.Stride = stride;
    buf.Width = width;
    buf.Height = height;
    buf.Size = stride * height;
    buf.HasAlpha = bytesPerPixel == 4;
    return true;
}

void ReleaseBitmap(TMyBitmap& buf) {
    std::free(buf.Bitmap);  // nullptr for views and empty buffers
    ClearBitmap(buf);
}

const uint8_t* RowPtr(const TMyBitmap& buf, int y) {
    return buf.Bits + static_cast<ptrdiff_t>(buf.Height - 1 - y) * buf.Stride;
}

uint8_t* RowPtr(TMyBitmap& buf, int y) {
    return buf.Bits + static_cast<ptrdiff_t>(buf.Height - 1 - y) * buf.Stride;
}

const uint8_t* PixelPtr(const TMyBitmap& buf, int x, int y) {
    return RowPtr(buf, y) + static_cast<ptrdiff_t>(x) * buf.BytesPerPixel;
}

uint8_t* PixelPtr(TMyBitmap& buf, int x, int y) {
    return RowPtr(buf, y) + static_cast<ptrdiff_t>(x) * buf.BytesPerPixel;
}

int32_t GetPixel(const TMyBitmap& buf, int x, int y) {
    if (x < 0 || y < 0 || x >= buf.Width || y >= buf.Height) return -1;
    const uint8_t* p = PixelPtr(buf, x, y);
    return static_cast<int32_t>(RgbToColor(p[2], p[1], p[0]));
}

void SetPixel(TMyBitmap& buf, int x, int y, TColor color) {
    uint8_t* p = PixelPtr(buf, x, y);
    p[0] = ColorB(color);
    p[1] = ColorG(color);
    p[2] = ColorR(color);
}

uint8_t GetAlpha(const TMyBitmap& buf, int x, int y) {
    if (x < 0 || y < 0 || x >= buf.Width || y >= buf.Height) return 0;
    if (buf.BytesPerPixel != 4) return 255;
    return PixelPtr(buf, x, y)[3];
}

// ---------------------------------------------------------------------------
// Whole-buffer copies and quarter turns

namespace {

// Copies blue, green, red of src (x, y) to dst (base - y, x) for x < cols, y < rows.
// Walked in tiles so that the column-wise reads stay in cache.
template <int SB>
void TurnBlock(TMyBitmap& dst, const TMyBitmap& src, int cols, int rows, int base) {
    constexpr int kTile = 64;
    for (int ty = 0; ty < rows; ty += kTile) {
        const int yEnd = Min(ty + kTile, rows);
        for (int tx = 0; tx < cols; tx += kTile) {
            const int xEnd = Min(tx + kTile, cols);
            // Destination rows are written left to right while the source
            // column is read upwards.
            const ptrdiff_t srcStride = src.Stride;
            for (int x = tx; x < xEnd; ++x) {
                const uint8_t* s = PixelPtr(src, x, ty);
                uint8_t* d = PixelPtr(dst, base - ty, x);
                for (int y = ty; y < yEnd; ++y) {
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                    s -= srcStride;  // one source row further down
                    d -= 3;          // one destination column to the left
                }
            }
        }
    }
}

void Turn(TMyBitmap& dst, const TMyBitmap& src, int cols, int rows, int base) {
    if (cols <= 0 || rows <= 0) return;
    if (src.BytesPerPixel == 4)
        TurnBlock<4>(dst, src, cols, rows, base);
    else
        TurnBlock<3>(dst, src, cols, rows, base);
}

// Reading from the buffer being replaced needs a separate destination first.
template <typename Op>
bool IntoFresh(TMyBitmap& dst, const TMyBitmap& src, Op op) {
    if (&dst != &src) return op(dst);
    TMyBitmap fresh;
    const bool made = op(fresh);
    dst = std::move(fresh);
    return made;
}

}  // namespace

bool CopyFromBitmap(TMyBitmap& dst, const TMyBitmap& src) {
    return IntoFresh(dst, src, [&src](TMyBitmap& out) {
        if (!Create24(out, src.Width, src.Height)) return false;
        for (int y = 0; y < src.Height; ++y) {
            const uint8_t* s = RowPtr(src, y);
            uint8_t* d = RowPtr(out, y);
            if (src.BytesPerPixel == 3) {
                std::memcpy(d, s, static_cast<size_t>(src.Width) * 3);
                continue;
            }
            for (int x = 0; x < src.Width; ++x, s += 4, d += 3) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        }
        return true;
    });
}

bool RotateRight(TMyBitmap& dst, const TMyBitmap& src) {
    return IntoFresh(dst, src, [&src](TMyBitmap& out) {
        if (!Create24(out, src.Height, src.Width)) return false;
        Turn(out, src, src.Width, src.Height, src.Height - 1);
        return true;
    });
}

bool RotateRightWithMargin(TMyBitmap& dst, const TMyBitmap& src, int margin) {
    return IntoFresh(dst, src, [&src, margin](TMyBitmap& out) {
        const int w = src.Height;  // W'
        const int h = src.Width;   // H'
        if (!Create24(out, w, h)) return false;
        const int m = Clamp(margin, 0, Min(w, h));
        // Fresh black margin at the right and along the bottom.
        FillBox(out, w - m, 0, m, h - m, 0);
        FillBox(out, 0, h - m, w, m, 0);
        // The source's own margin (its right columns and bottom rows) is dropped.
        Turn(out, src, h - m, w - m, w - m - 1);
        return true;
    });
}

// ---------------------------------------------------------------------------
// Boxes, lines and tint

void FillBox(TMyBitmap& buf, int x, int y, int width, int height, TColor color) {
    if (buf.Width <= 0) return;
    const int64_t x0 = Max(x, 0), y0 = Max(y, 0);
    const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(x) + width, buf.Width);
    const int64_t y1 = std::min<int64_t>(static_cast<int64_t>(y) + height, buf.Height);
    if (x0 >= x1 || y0 >= y1) return;
    const uint8_t b = ColorB(color), g = ColorG(color), r = ColorR(color);
    const int bpp = buf.BytesPerPixel;
    const size_t rowBytes = static_cast<size_t>(x1 - x0) * bpp;
    uint8_t* first = PixelPtr(buf, static_cast<int>(x0), static_cast<int>(y0));
    if (bpp == 3) {
        // Build the first row, then copy it into the others.
        uint8_t* p = first;
        for (int64_t i = x0; i < x1; ++i, p += 3) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
        uint8_t* row = first;
        for (int64_t yy = y0 + 1; yy < y1; ++yy) {
            row -= buf.Stride;
            std::memcpy(row, first, rowBytes);
        }
        return;
    }
    // 32-bit: the alpha bytes keep their values.
    uint8_t* row = first;
    for (int64_t yy = y0; yy < y1; ++yy, row -= buf.Stride) {
        uint8_t* p = row;
        for (int64_t i = x0; i < x1; ++i, p += bpp) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
}

namespace {
int64_t Clamp64(int64_t v) { return std::clamp<int64_t>(v, INT32_MIN, INT32_MAX); }
}  // namespace

void FrameBox(TMyBitmap& buf, int x, int y, int width, int height, TColor color) {
    // Edges beyond the range of int lie far outside any buffer; held there.
    const int right = static_cast<int>(Clamp64(int64_t{x} + width - 1));
    const int bottom = static_cast<int>(Clamp64(int64_t{y} + height - 1));
    DrawLine(buf, x, y, right, y, color);
    DrawLine(buf, right, y, right, bottom, color);
    DrawLine(buf, right, bottom, x, bottom, color);
    DrawLine(buf, x, bottom, x, y, color);
}

namespace {

// One sloped line with doubled deltas: the error starts at 2|minor| - |major|;
// each step moves along the major axis, and along the minor axis too when
// the error was >= 0 (error -= 2|major| then); error += 2|minor| every step.
// Only the steps whose major coordinate lies inside the buffer are walked:
// the state at the first of them is worked out directly (after k steps the
// minor axis has moved (2|minor|k + |major|) div 2|major| times), so a line
// reaching far outside costs no more than one across the buffer.
void SlopedLine(TMyBitmap& buf, TColor color, bool xMajor, int64_t major0, int64_t minor0,
                int64_t aMajor, int64_t aMinor, int sMajor, int sMinor) {
    const int64_t majorSize = xMajor ? buf.Width : buf.Height;
    const int64_t minorSize = xMajor ? buf.Height : buf.Width;
    int64_t kFrom = 0, kTo = aMajor;
    if (sMajor > 0) {
        kFrom = std::max<int64_t>(kFrom, -major0);
        kTo = std::min<int64_t>(kTo, majorSize - 1 - major0);
    } else {
        kFrom = std::max<int64_t>(kFrom, major0 - (majorSize - 1));
        kTo = std::min<int64_t>(kTo, major0);
    }
    if (kFrom > kTo) return;
    using Wide = __int128;
    const Wide moves = (Wide{2} * aMinor * kFrom + aMajor) / (Wide{2} * aMajor);
    int64_t err = static_cast<int64_t>(Wide{2} * aMinor - aMajor + Wide{2} * aMinor * kFrom -
                                       Wide{2} * aMajor * moves);
    int64_t major = major0 + sMajor * kFrom;
    int64_t minor = minor0 + sMinor * static_cast<int64_t>(moves);
    for (int64_t k = kFrom;; ++k) {
        if (minor >= 0 && minor < minorSize) {
            if (xMajor)
                SetPixel(buf, static_cast<int>(major), static_cast<int>(minor), color);
            else
                SetPixel(buf, static_cast<int>(minor), static_cast<int>(major), color);
        }
        if (k == kTo) break;
        major += sMajor;
        if (err >= 0) {
            minor += sMinor;
            err -= 2 * aMajor;
        }
        err += 2 * aMinor;
    }
}

}  // namespace

void DrawLine(TMyBitmap& buf, int x1, int y1, int x2, int y2, TColor color) {
    if (buf.Width <= 0) return;
    const int w = buf.Width, h = buf.Height;
    auto inside = [w, h](int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < w && y < h; };
    if (x1 == x2 && y1 == y2) {
        if (inside(x1, y1)) SetPixel(buf, x1, y1, color);
        return;
    }
    if (y1 == y2 || x1 == x2) {
        // Straight segments: only the part inside the buffer is walked.
        const bool horizontal = y1 == y2;
        const int fixed = horizontal ? y1 : x1;
        if (fixed < 0 || fixed >= (horizontal ? h : w)) return;
        int from = horizontal ? Min(x1, x2) : Min(y1, y2);
        int to = horizontal ? Max(x1, x2) : Max(y1, y2);
        from = Max(from, 0);
        to = Min(to, (horizontal ? w : h) - 1);
        for (int i = from; i <= to; ++i) {
            if (horizontal)
                SetPixel(buf, i, fixed, color);
            else
                SetPixel(buf, fixed, i, color);
        }
        return;
    }
    // Bresenham with doubled deltas, the major axis being x when |dy| < |dx|.
    const int64_t dx = static_cast<int64_t>(x2) - x1, dy = static_cast<int64_t>(y2) - y1;
    const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (ady < adx)
        SlopedLine(buf, color, true, x1, y1, adx, ady, dx < 0 ? -1 : 1, dy < 0 ? -1 : 1);
    else
        SlopedLine(buf, color, false, y1, x1, ady, adx, dy < 0 ? -1 : 1, dx < 0 ? -1 : 1);
}

void HalfTint(TMyBitmap& buf, int x, int y, int width, int height, TColor tint, TColor key) {
    if (buf.Width <= 0) return;
    // Callers keep inside; the block is still held to the buffer so a stray
    // call cannot write past it.
    const int x0 = Max(x, 0), y0 = Max(y, 0);
    const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(x) + width, buf.Width);
    const int64_t y1 = std::min<int64_t>(static_cast<int64_t>(y) + height, buf.Height);
    if (x0 >= x1 || y0 >= y1) return;
    const int tb = ColorB(tint) / 2, tg = ColorG(tint) / 2, tr = ColorR(tint) / 2;
    const uint8_t kb = ColorB(key), kg = ColorG(key), kr = ColorR(key);
    const int bpp = buf.BytesPerPixel;
    uint8_t* row = PixelPtr(buf, x0, y0);
    for (int64_t yy = y0; yy < y1; ++yy, row -= buf.Stride) {
        uint8_t* p = row;
        for (int64_t xx = x0; xx < x1; ++xx, p += bpp) {
            if (p[0] == kb && p[1] == kg && p[2] == kr) continue;
            p[0] = static_cast<uint8_t>(ClampByte(p[0] / 2 + tb));
            p[1] = static_cast<uint8_t>(ClampByte(p[1] / 2 + tg));
            p[2] = static_cast<uint8_t>(ClampByte(p[2] / 2 + tr));
        }
    }
}

}  // namespace orvel
