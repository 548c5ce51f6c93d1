// Block copies between buffers: clipping, one-pixel stretching, alpha and key colour.
#include <cstring>

#include "graphics/Bitmap.h"

namespace orvel {

namespace {

// Clips one axis of a block to [lo, hi] (inclusive). What is cut at the
// start moves the source position too, except along a stretched axis where
// the one source column (row) is repeated anyway.
bool ClipAxis(int& pos, int& len, int& srcPos, int64_t lo, int64_t hi, bool stretched) {
    int64_t p = pos, n = len, s = srcPos;
    if (p < lo) {
        const int64_t cut = lo - p;
        n -= cut;
        if (!stretched) s += cut;
        p = lo;
    }
    if (p > hi) return false;
    if (p + n - 1 > hi) n = hi - p + 1;
    if (n <= 0) return false;
    pos = static_cast<int>(p);
    len = static_cast<int>(n);
    srcPos = static_cast<int>(s);
    return true;
}

// Holds the source side inside the source buffer, so that a block reaching
// past the source's edge cannot read outside it.
bool ClipSource(int& pos, int& len, int& srcPos, int srcSize, bool stretched) {
    if (stretched) return srcPos >= 0 && srcPos < srcSize;
    int64_t p = pos, n = len, s = srcPos;
    if (s < 0) {
        p -= s;
        n += s;
        s = 0;
    }
    if (s + n > srcSize) n = srcSize - s;
    if (n <= 0) return false;
    pos = static_cast<int>(p);
    len = static_cast<int>(n);
    srcPos = static_cast<int>(s);
    return true;
}

struct Block {
    int x, y, width, height, srcX, srcY;
    bool stretchX, stretchY;
};

// The clipping shared by the blits: the destination buffer, then the clip
// rectangle (when given), then the source buffer.
bool ClipBlock(Block& b, const TMyBitmap& dst, const TMyBitmap& src, const TMyRect* clip) {
    if (dst.Width <= 0 || src.Width <= 0) return false;
    if (!ClipAxis(b.x, b.width, b.srcX, 0, dst.Width - 1, b.stretchX)) return false;
    if (!ClipAxis(b.y, b.height, b.srcY, 0, dst.Height - 1, b.stretchY)) return false;
    if (clip) {
        if (!ClipAxis(b.x, b.width, b.srcX, clip->Left, clip->Right, b.stretchX)) return false;
        if (!ClipAxis(b.y, b.height, b.srcY, clip->Top, clip->Bottom, b.stretchY)) return false;
    }
    if (!ClipSource(b.x, b.width, b.srcX, src.Width, b.stretchX)) return false;
    if (!ClipSource(b.y, b.height, b.srcY, src.Height, b.stretchY)) return false;
    return true;
}

Block MakeBlock(int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                int srcHeight) {
    Block b{x, y, width, height, srcX, srcY, false, false};
    // One source column (row) repeated when only that axis differs.
    b.stretchX = width != srcWidth && height == srcHeight;
    b.stretchY = height != srcHeight && width == srcWidth;
    return b;
}

// Exact x div 255 for 0 <= x <= 255 * 255.
inline unsigned Div255(unsigned x) {
    return (x + 1 + (x >> 8)) >> 8;
}

// Row kernels. DB, SB: bytes per pixel of destination and source; SS: source
// step per destination pixel (SB, or 0 when one column is stretched).
// Alpha 255 and 0 need no branch of their own per pixel: the blend gives
// exactly the source and the destination for them, and a branch on alpha
// mispredicts on every soft edge.
template <int DB>
inline void BlendPixel(uint8_t* __restrict d, const uint8_t* __restrict s) {
    const unsigned a = s[3], na = 255 - a;
    const unsigned sb = s[0], sg = s[1], sr = s[2];
    const unsigned db = d[0], dg = d[1], dr = d[2];
    d[0] = static_cast<uint8_t>(Div255(db * na + sb * a));
    d[1] = static_cast<uint8_t>(Div255(dg * na + sg * a));
    d[2] = static_cast<uint8_t>(Div255(dr * na + sr * a));
}

template <int DB, int SB, int SS>
void AlphaRow(uint8_t* __restrict d, const uint8_t* __restrict s, int n) {
    int i = 0;
    if constexpr (SS == 4) {
        // Skins are mostly wholly opaque or wholly clear: four pixels at a
        // time are copied or skipped when their alphas agree.
        for (; i + 4 <= n; i += 4, d += 4 * DB, s += 16) {
            const unsigned a0 = s[3], a1 = s[7], a2 = s[11], a3 = s[15];
            if ((a0 & a1 & a2 & a3) == 255) {
                for (int k = 0; k < 4; ++k) {
                    d[k * DB] = s[k * 4];
                    d[k * DB + 1] = s[k * 4 + 1];
                    d[k * DB + 2] = s[k * 4 + 2];
                }
            } else if ((a0 | a1 | a2 | a3) != 0) {
                for (int k = 0; k < 4; ++k) BlendPixel<DB>(d + k * DB, s + k * 4);
            }
        }
    }
    for (; i < n; ++i, d += DB, s += SS) BlendPixel<DB>(d, s);
}

template <int DB, int SB, int SS>
void CopyRow(uint8_t* d, const uint8_t* s, int n) {
    if constexpr (DB == SB && SS == SB && DB == 3) {
        std::memcpy(d, s, static_cast<size_t>(n) * 3);
    } else {
        for (int i = 0; i < n; ++i, d += DB, s += SS) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }
}

template <int DB, int SB, int SS>
void KeyedRow(uint8_t* d, const uint8_t* s, int n, uint8_t kb, uint8_t kg, uint8_t kr) {
    for (int i = 0; i < n; ++i, d += DB, s += SS) {
        if (s[0] == kb && s[1] == kg && s[2] == kr) continue;
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
    }
}

enum class Mode { kAlpha, kCopy, kKeyed };

template <Mode M, int DB, int SB, int SS>
void RunRows(TMyBitmap& dst, const TMyBitmap& src, const Block& b, TColor key) {
    uint8_t* d = PixelPtr(dst, b.x, b.y);
    const uint8_t* s = PixelPtr(src, b.srcX, b.srcY);
    const ptrdiff_t srcRowStep = b.stretchY ? 0 : src.Stride;
    const uint8_t kb = ColorB(key), kg = ColorG(key), kr = ColorR(key);
    for (int row = 0; row < b.height; ++row, d -= dst.Stride, s -= srcRowStep) {
        if constexpr (M == Mode::kAlpha)
            AlphaRow<DB, SB, SS>(d, s, b.width);
        else if constexpr (M == Mode::kCopy)
            CopyRow<DB, SB, SS>(d, s, b.width);
        else
            KeyedRow<DB, SB, SS>(d, s, b.width, kb, kg, kr);
    }
}

template <Mode M, int DB, int SB>
void RunStep(TMyBitmap& dst, const TMyBitmap& src, const Block& b, TColor key) {
    if (b.stretchX)
        RunRows<M, DB, SB, 0>(dst, src, b, key);
    else
        RunRows<M, DB, SB, SB>(dst, src, b, key);
}

template <Mode M>
void Run(TMyBitmap& dst, const TMyBitmap& src, const Block& b, TColor key) {
    const bool d4 = dst.BytesPerPixel == 4, s4 = src.BytesPerPixel == 4;
    if (M == Mode::kAlpha && !s4) {
        // A source without alpha is copied.
        if (d4)
            RunStep<Mode::kCopy, 4, 3>(dst, src, b, key);
        else
            RunStep<Mode::kCopy, 3, 3>(dst, src, b, key);
        return;
    }
    if (d4 && s4)
        RunStep<M, 4, 4>(dst, src, b, key);
    else if (d4)
        RunStep<M, 4, 3>(dst, src, b, key);
    else if (s4)
        RunStep<M, 3, 4>(dst, src, b, key);
    else
        RunStep<M, 3, 3>(dst, src, b, key);
}

}  // namespace

bool ClipSpan(const TMyRect& clip, int& x, int& y, int& width, int& height, int& srcX, int& srcY) {
    return ClipAxis(x, width, srcX, clip.Left, clip.Right, false) &&
           ClipAxis(y, height, srcY, clip.Top, clip.Bottom, false);
}

void BlitAlpha(TMyBitmap& dst, int x, int y, int width, int height, const TMyBitmap& src, int srcX,
               int srcY, int srcWidth, int srcHeight, const TMyRect& clip) {
    Block b = MakeBlock(x, y, width, height, srcX, srcY, srcWidth, srcHeight);
    if (!ClipBlock(b, dst, src, &clip)) return;
    Run<Mode::kAlpha>(dst, src, b, 0);
}

void BlitKeyed(TMyBitmap& dst, int x, int y, int width, int height, const TMyBitmap& src, int srcX,
               int srcY, int srcWidth, int srcHeight, const TMyRect& clip, TColor key) {
    Block b = MakeBlock(x, y, width, height, srcX, srcY, srcWidth, srcHeight);
    if (!ClipBlock(b, dst, src, &clip)) return;
    Run<Mode::kKeyed>(dst, src, b, key);
}

void CopyRect(TMyBitmap& dst, int x, int y, int width, int height, const TMyBitmap& src, int srcX,
              int srcY) {
    Block b{x, y, width, height, srcX, srcY, false, false};
    if (!ClipBlock(b, dst, src, nullptr)) return;
    if (&dst == &src || dst.BytesPerPixel == src.BytesPerPixel) {
        // Same layout: whole rows at once. Within one buffer the rows are
        // walked so that an overlapping block is read before it is written.
        const size_t rowBytes = static_cast<size_t>(b.width) * dst.BytesPerPixel;
        const bool upward = &dst == &src && b.y > b.srcY;
        for (int i = 0; i < b.height; ++i) {
            const int row = upward ? b.height - 1 - i : i;
            std::memmove(PixelPtr(dst, b.x, b.y + row), PixelPtr(src, b.srcX, b.srcY + row),
                         rowBytes);
        }
        return;
    }
    Run<Mode::kCopy>(dst, src, b, 0);
}

}  // namespace orvel
