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

// Row kernels. DB, SB: bytes per pixel of destination and source; SS: source
// step per destination pixel (SB, or 0 when one column is stretched).
template <int DB, int SB, int SS>
void AlphaRow(uint8_t* d, const uint8_t* s, int n) {
    for (int i = 0; i < n; ++i, d += DB, s += SS) {
        const unsigned a = s[3];
        if (a == 255) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        } else if (a != 0) {
            const unsigned na = 255 - a;
            d[0] = static_cast<uint8_t>((d[0] * na + s[0] * a) / 255);
            d[1] = static_cast<uint8_t>((d[1] * na + s[1] * a) / 255);
            d[2] = static_cast<uint8_t>((d[2] * na + s[2] * a) / 255);
        }
    }
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
