#include "graphics/Bitmap.h"

#include <cstdlib>
#include <utility>

namespace orvel {

TMyBitmap::~TMyBitmap() { ReleaseBitmap(*this); }

TMyBitmap::TMyBitmap(TMyBitmap&& other) noexcept { *this = std::move(other); }

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
    ClearBitmap(buf);
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide) return false;
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
    return buf.HasAlpha;
}

}  // namespace

bool Create24(TMyBitmap& buf, int width, int height) { return CreateWithDepth(buf, width, height, 3); }

bool Create32(TMyBitmap& buf, int width, int height) { return CreateWithDepth(buf, width, height, 4); }

bool AttachPixels(TMyBitmap& buf, uint8_t* bits, int width, int height, int bytesPerPixel, int stride) {
    ReleaseBitmap(buf);
    ClearBitmap(buf);
    if (!bits || width <= 0 || height <= 0 || (bytesPerPixel != 3 && bytesPerPixel != 4)) return false;
    buf.Bits = bits;
    buf.BytesPerPixel = bytesPerPixel;
    buf.Stride = stride;
    buf.Width = width;
    buf.Height = height;
    buf.Size = stride * height;
    buf.HasAlpha = bytesPerPixel == 4;
    return buf.HasAlpha;
}

void ReleaseBitmap(TMyBitmap& buf) {
    if (buf.Width <= 0) return;
    std::free(buf.Bitmap);  // nullptr for views
    buf.Bitmap = nullptr;
    buf.Bits = nullptr;
    buf.Width = 0;
    buf.Height = 0;
    buf.Size = 0;
}

uint8_t* RowPtr(const TMyBitmap& buf, int y) {
    return buf.Bits + static_cast<ptrdiff_t>(buf.Height - 1 - y) * buf.Stride;
}

uint8_t* PixelPtr(const TMyBitmap& buf, int x, int y) {
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

}  // namespace orvel
