#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Color.h"
#include "graphics/Rect.h"

namespace orvel {

// A directly addressable 24- or 32-bit pixel buffer.
// Rows are stored bottom-up (row y starts at Bits + (Height - 1 - y) * Stride),
// each row 4-byte aligned, pixels in blue, green, red(, alpha) order with
// straight alpha. Width 0 means there is no buffer.
//
// The buffer owns its memory unless it only views pixels owned elsewhere
// (AttachPixels). It is movable, not copyable, and frees owned memory when
// destroyed, so ReleaseBitmap is optional.
struct TMyBitmap {
    void* Bitmap = nullptr;  // owned pixel block, nullptr for a view or no buffer
    int32_t BytesPerPixel = 0;
    int32_t Stride = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t* Bits = nullptr;
    int32_t Size = 0;
    bool HasAlpha = false;

    TMyBitmap() = default;
    ~TMyBitmap();
    TMyBitmap(const TMyBitmap&) = delete;
    TMyBitmap& operator=(const TMyBitmap&) = delete;
    TMyBitmap(TMyBitmap&& other) noexcept;
    TMyBitmap& operator=(TMyBitmap&& other) noexcept;
};

// Largest width or height a buffer may have; larger requests fail.
constexpr int32_t kMaxBitmapSide = 1 << 16;

void ClearBitmap(TMyBitmap& buf);  // forgets the buffer without freeing (for views)
// Release, then allocate a new buffer. False, with the buffer left released,
// when the size is not positive, too large, or memory runs out.
[[nodiscard]] bool Create24(TMyBitmap& buf, int width, int height);
[[nodiscard]] bool Create32(TMyBitmap& buf, int width, int height);
// Views pixel memory owned by someone else (an on-screen image, say); false
// (and a released buffer) for a null block, a non-positive size or a depth
// other than 3 or 4 bytes.
[[nodiscard]] bool AttachPixels(TMyBitmap& buf, uint8_t* bits, int width, int height,
                                int bytesPerPixel, int stride);
// Frees owned memory; afterwards every field is zero (Width, Height, Stride,
// Size, Bits, ...), whatever the buffer held.
void ReleaseBitmap(TMyBitmap& buf);

// Row y and pixel (x, y); no bounds check. A const buffer gives read-only rows.
const uint8_t* RowPtr(const TMyBitmap& buf, int y);
uint8_t* RowPtr(TMyBitmap& buf, int y);
const uint8_t* PixelPtr(const TMyBitmap& buf, int x, int y);
uint8_t* PixelPtr(TMyBitmap& buf, int x, int y);
// -1 outside the buffer.
int32_t GetPixel(const TMyBitmap& buf, int x, int y);
void SetPixel(TMyBitmap& buf, int x, int y, TColor color);
// 0 outside, 255 for 24-bit buffers.
uint8_t GetAlpha(const TMyBitmap& buf, int x, int y);

void ScaleInto(TMyBitmap& dst, const TMyBitmap& src);
void ScaleRegion(TMyBitmap& dst, int dstWidth, int dstHeight, const TMyBitmap& src, int srcWidth,
                 int srcHeight);
// These make dst a new 24-bit buffer; false (and dst released) when it
// cannot be allocated or src is empty.
[[nodiscard]] bool RotateRight(TMyBitmap& dst, const TMyBitmap& src);
[[nodiscard]] bool RotateRightWithMargin(TMyBitmap& dst, const TMyBitmap& src, int margin);
// dst becomes a 24-bit copy of src.
[[nodiscard]] bool CopyFromBitmap(TMyBitmap& dst, const TMyBitmap& src);
void CopyRect(TMyBitmap& dst, int x, int y, int width, int height, const TMyBitmap& src, int srcX,
              int srcY);
void FillBox(TMyBitmap& buf, int x, int y, int width, int height, TColor color);
void FrameBox(TMyBitmap& buf, int x, int y, int width, int height, TColor color);
void DrawLine(TMyBitmap& buf, int x1, int y1, int x2, int y2, TColor color);
void HalfTint(TMyBitmap& buf, int x, int y, int width, int height, TColor tint, TColor key);
bool ClipSpan(const TMyRect& clip, int& x, int& y, int& width, int& height, int& srcX, int& srcY);
void BlitAlpha(TMyBitmap& dst, int x, int y, int width, int height, const TMyBitmap& src, int srcX,
               int srcY, int srcWidth, int srcHeight, const TMyRect& clip);
void BlitKeyed(TMyBitmap& dst, int x, int y, int width, int height, const TMyBitmap& src, int srcX,
               int srcY, int srcWidth, int srcHeight, const TMyRect& clip, TColor key);
// 4-connected seed fill on exact colour equality; bounds (inclusive) when track is set.
void FloodFill(TMyBitmap& buf, int x, int y, TMyRect& bounds, bool track, TColor color);

}  // namespace orvel
