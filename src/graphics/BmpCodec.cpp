// Windows BMP reading (1, 4, 8, 24, 32 bits per pixel, uncompressed) and
// 24-bit writing. Every header field is checked against the file's size
// before anything is allocated or read.
#include <cstring>

#include "graphics/ImageCodecs.h"

namespace orvel {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;  // the old OS/2 form, 16-bit sizes, 3-byte palette
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool Fail(std::string* error, const char* text) {
    if (error) *error = text;
    return false;
}

// Pixel layout of a 32-bit file with colour masks: each channel's shift, or
// -1 when its mask is not a whole byte (those files are refused).
int ByteShift(uint32_t mask) {
    for (int shift = 0; shift <= 24; shift += 8)
        if (mask == (0xFFu << shift)) return shift;
    return -1;
}

}  // namespace

bool LoadBmpStream(TMyBitmap& buf, const uint8_t* data, size_t size, std::string* error) {
    ReleaseBitmap(buf);
    if (!data || size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
        return Fail(error, "BMP: not a BMP file");
    if (size > static_cast<size_t>(kMaxImageFileSize)) return Fail(error, "BMP: file too large");
    const uint64_t fileSize = size;
    const uint32_t declaredSize = Le32(data + 2);
    const uint32_t pixelOffset = Le32(data + 10);
    const uint32_t headerSize = Le32(data + 14);
    // Some writers leave the declared size 0; a larger one means a cut file.
    if (declaredSize > fileSize) return Fail(error, "BMP: file is truncated");
    if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize)
        return Fail(error, "BMP: unknown header");
    if (uint64_t{kFileHeaderSize} + headerSize > fileSize)
        return Fail(error, "BMP: header is truncated");
    const uint8_t* h = data + kFileHeaderSize;

    int64_t width, height;
    uint32_t planes, bitCount, compression = kBiRgb, colorsUsed = 0;
    uint32_t paletteEntrySize = 4;
    if (headerSize == kCoreHeaderSize) {
        width = Le16(h + 4);
        height = Le16(h + 6);
        planes = Le16(h + 8);
        bitCount = Le16(h + 10);
        paletteEntrySize = 3;
    } else {
        width = static_cast<int32_t>(Le32(h + 4));
        height = static_cast<int32_t>(Le32(h + 8));
        planes = Le16(h + 12);
        bitCount = Le16(h + 14);
        compression = Le32(h + 16);
        colorsUsed = Le32(h + 32);
    }
    if (planes != 1) return Fail(error, "BMP: bad plane count");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return Fail(error, "BMP: unsupported bit depth");
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
        width * height > kMaxDecodePixels)
        return Fail(error, "BMP: bad picture size");

    // Channel positions inside a 32-bit pixel: blue, green, red from the low byte up,
    // unless the file gives its own masks.
    int shiftB = 0, shiftG = 8, shiftR = 16;
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        if (bitCount != 32) return Fail(error, "BMP: unsupported compression");
        // The masks follow a 40-byte header, or sit inside a larger one.
        const uint64_t maskEnd = uint64_t{kFileHeaderSize} + kInfoHeaderSize + 12;
        if (maskEnd > fileSize) return Fail(error, "BMP: header is truncated");
        const uint8_t* masks = h + kInfoHeaderSize;
        shiftR = ByteShift(Le32(masks));
        shiftG = ByteShift(Le32(masks + 4));
        shiftB = ByteShift(Le32(masks + 8));
        if (shiftR < 0 || shiftG < 0 || shiftB < 0)
            return Fail(error, "BMP: unsupported colour masks");
    } else if (compression != kBiRgb) {
        return Fail(error, "BMP: compressed files are not supported");
    }

    // Palette of the 1-, 4- and 8-bit forms, right after the header.
    uint8_t palette[256][3] = {};
    uint32_t paletteCount = 0;
    if (bitCount <= 8) {
        const uint32_t maxColors = 1u << bitCount;
        paletteCount = colorsUsed == 0 ? maxColors : colorsUsed;
        if (paletteCount > maxColors) return Fail(error, "BMP: bad palette size");
        const uint64_t paletteStart = uint64_t{kFileHeaderSize} + headerSize;
        const uint64_t paletteEnd = paletteStart + uint64_t{paletteCount} * paletteEntrySize;
        if (paletteEnd > fileSize || paletteEnd > pixelOffset)
            return Fail(error, "BMP: palette is truncated");
        for (uint32_t i = 0; i < paletteCount; ++i) {
            const uint8_t* e = data + paletteStart + uint64_t{i} * paletteEntrySize;
            palette[i][0] = e[0];  // blue
            palette[i][1] = e[1];  // green
            palette[i][2] = e[2];  // red
        }
    }

    const uint64_t rowBytes = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
    if (pixelOffset < kFileHeaderSize + headerSize) return Fail(error, "BMP: bad pixel offset");
    if (uint64_t{pixelOffset} + rowBytes * static_cast<uint64_t>(height) > fileSize)
        return Fail(error, "BMP: pixel data is truncated");

    Create24(buf, static_cast<int>(width), static_cast<int>(height));
    if (buf.Width <= 0) return Fail(error, "BMP: out of memory");
    const int w = buf.Width;
    for (int fileRow = 0; fileRow < buf.Height; ++fileRow) {
        const uint8_t* s = data + pixelOffset + rowBytes * static_cast<uint64_t>(fileRow);
        const int y = topDown ? fileRow : buf.Height - 1 - fileRow;
        uint8_t* d = RowPtr(buf, y);
        switch (bitCount) {
            case 24:
                std::memcpy(d, s, static_cast<size_t>(w) * 3);
                break;
            case 32:
                for (int x = 0; x < w; ++x, s += 4, d += 3) {
                    const uint32_t v = Le32(s);
                    d[0] = static_cast<uint8_t>(v >> shiftB);
                    d[1] = static_cast<uint8_t>(v >> shiftG);
                    d[2] = static_cast<uint8_t>(v >> shiftR);
                }
                break;
            default: {
                // Indices past the palette's end read as black.
                const int perByte = 8 / static_cast<int>(bitCount);
                const unsigned mask = (1u << bitCount) - 1;
                for (int x = 0; x < w; ++x, d += 3) {
                    const unsigned shift = 8 - bitCount * (1 + x % perByte);
                    const unsigned index = (s[x / perByte] >> shift) & mask;
                    if (index < paletteCount) {
                        d[0] = palette[index][0];
                        d[1] = palette[index][1];
                        d[2] = palette[index][2];
                    } else {
                        d[0] = d[1] = d[2] = 0;
                    }
                }
            }
        }
    }
    return true;
}

bool SaveBmp24(const TMyBitmap& buf, std::vector<uint8_t>& out) {
    out.clear();
    if (buf.Width <= 0) return false;
    const uint32_t rowBytes = ((static_cast<uint32_t>(buf.Width) * 24 + 31) / 32) * 4;
    const uint64_t imageSize = uint64_t{rowBytes} * static_cast<uint32_t>(buf.Height);
    const uint64_t total = kFileHeaderSize + kInfoHeaderSize + imageSize;
    if (total > UINT32_MAX) return false;
    out.assign(static_cast<size_t>(total), 0);
    uint8_t* p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<uint32_t>(total));
    Put32(p + 10, kFileHeaderSize + kInfoHeaderSize);
    uint8_t* h = p + kFileHeaderSize;
    Put32(h, kInfoHeaderSize);
    Put32(h + 4, static_cast<uint32_t>(buf.Width));
    Put32(h + 8, static_cast<uint32_t>(buf.Height));  // positive: bottom-up rows
    Put16(h + 12, 1);
    Put16(h + 14, 24);
    Put32(h + 16, kBiRgb);
    Put32(h + 20, static_cast<uint32_t>(imageSize));
    Put32(h + 24, 2835);  // 72 dpi
    Put32(h + 28, 2835);
    // The file's rows are bottom-up like the buffer's.
    uint8_t* d = p + kFileHeaderSize + kInfoHeaderSize;
    for (int fileRow = 0; fileRow < buf.Height; ++fileRow, d += rowBytes) {
        const uint8_t* s = RowPtr(buf, buf.Height - 1 - fileRow);
        if (buf.BytesPerPixel == 3) {
            std::memcpy(d, s, static_cast<size_t>(buf.Width) * 3);
            continue;
        }
        for (int x = 0; x < buf.Width; ++x, s += buf.BytesPerPixel) {
            d[3 * x] = s[0];
            d[3 * x + 1] = s[1];
            d[3 * x + 2] = s[2];
        }
    }
    return true;
}

}  // namespace orvel
