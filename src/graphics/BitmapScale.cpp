// Bilinear resampling in fixed point with 15 fractional bits.
#include <cstdint>

#include "graphics/Bitmap.h"

namespace orvel {

namespace {

constexpr int kFracBits = 15;
constexpr uint32_t kOne = 1u << kFracBits;  // 32768
constexpr uint32_t kFracMask = kOne - 1;    // 32767

template <int SB, int DB>
void ScaleRows(TMyBitmap& dst, int dstWidth, int dstHeight, const TMyBitmap& src, int srcWidth,
               int srcHeight) {
    const uint32_t stepX =
        static_cast<uint32_t>((static_cast<int64_t>(srcWidth - 1) * kOne) / dstWidth);
    const uint32_t stepY =
        static_cast<uint32_t>((static_cast<int64_t>(srcHeight - 1) * kOne) / dstHeight);
    // The last source column is never x0 (j * stepX stays below
    // (srcWidth - 1) * 32768), so x0 + 1 is inside; a one-pixel-wide source
    // uses its only column twice.
    const ptrdiff_t nextCol = srcWidth > 1 ? SB : 0;
    uint8_t* dRow = RowPtr(dst, 0);
    uint32_t fy = 0;
    for (int i = 0; i < dstHeight; ++i, fy += stepY, dRow -= dst.Stride) {
        const int row0 = static_cast<int>(fy >> kFracBits);
        const int row1 = srcHeight > 1 ? row0 + 1 : row0;
        const uint32_t wy = fy & kFracMask;
        const uint8_t* r0 = RowPtr(src, row0);
        const uint8_t* r1 = RowPtr(src, row1);
        const uint32_t invWy = kOne - wy;
        uint8_t* d = dRow;
        uint32_t fx = 0;
        for (int j = 0; j < dstWidth; ++j, fx += stepX, d += DB) {
            const uint32_t x0 = fx >> kFracBits;
            const uint32_t wx = fx & kFracMask;
            const uint32_t w10 = (wx * invWy) >> kFracBits;
            const uint32_t w00 = invWy - w10;
            const uint32_t w11 = (wx * wy) >> kFracBits;
            const uint32_t w01 = wy - w11;
            const uint8_t* p00 = r0 + static_cast<ptrdiff_t>(x0) * SB;
            const uint8_t* p01 = r1 + static_cast<ptrdiff_t>(x0) * SB;
            const uint8_t* p10 = p00 + nextCol;
            const uint8_t* p11 = p01 + nextCol;
            // The four weights sum to 32768, so each result fits a byte.
            const uint32_t b =
                (p00[0] * w00 + p10[0] * w10 + p01[0] * w01 + p11[0] * w11) >> kFracBits;
            const uint32_t g =
                (p00[1] * w00 + p10[1] * w10 + p01[1] * w01 + p11[1] * w11) >> kFracBits;
            const uint32_t r =
                (p00[2] * w00 + p10[2] * w10 + p01[2] * w01 + p11[2] * w11) >> kFracBits;
            d[0] = static_cast<uint8_t>(b);
            d[1] = static_cast<uint8_t>(g);
            d[2] = static_cast<uint8_t>(r);
        }
    }
}

}  // namespace

void ScaleRegion(TMyBitmap& dst, int dstWidth, int dstHeight, const TMyBitmap& src, int srcWidth,
                 int srcHeight) {
    if (dst.Width <= 0 || src.Width <= 0) return;
    // Regions are held to their buffers.
    dstWidth = Min(dstWidth, dst.Width);
    dstHeight = Min(dstHeight, dst.Height);
    srcWidth = Min(srcWidth, src.Width);
    srcHeight = Min(srcHeight, src.Height);
    if (dstWidth <= 0 || dstHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
    const bool s4 = src.BytesPerPixel == 4, d4 = dst.BytesPerPixel == 4;
    if (!s4 && !d4)
        ScaleRows<3, 3>(dst, dstWidth, dstHeight, src, srcWidth, srcHeight);
    else if (s4 && d4)
        ScaleRows<4, 4>(dst, dstWidth, dstHeight, src, srcWidth, srcHeight);
    else if (s4)
        ScaleRows<4, 3>(dst, dstWidth, dstHeight, src, srcWidth, srcHeight);
    else
        ScaleRows<3, 4>(dst, dstWidth, dstHeight, src, srcWidth, srcHeight);
}

void ScaleInto(TMyBitmap& dst, const TMyBitmap& src) {
    ScaleRegion(dst, dst.Width, dst.Height, src, src.Width, src.Height);
}

}  // namespace orvel
