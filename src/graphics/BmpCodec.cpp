// Windows BMP reading (1, 4, 8, 24, 32 bits per pixel, uncompressed) and
// 24-bit writing.
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

Result Fail(const char* text) {
    return InvalidPicture(std::string("BMP: ") + text);
}

// Pixel layout of a 32-bit file with colour masks: each channel's shift, or
// -1 when its mask is not a whole byte (those files are refused).
int ByteShift(uint32_t mask) {
    for (int shift = 0; shift <= 24; shift += 8)
        if (mask == (0xFFu << shift)) return shift;
    return -1;
}

// What the headers say, checked against the file's size.
struct BmpLayout {
    uint32_t pixelOffset = 0;
    uint32_t headerSize = 0;
    int64_t width = 0, height = 0;
    bool topDown = false;
    uint32_t bitCount = 0;
    uint32_t compression = kBiRgb;
    uint32_t colorsUsed = 0;
    uint32_t paletteEntrySize = 4;
    uint64_t rowBytes = 0;
    // Channel positions inside a 32-bit pixel.
    int shiftB = 0, shiftG = 8, shiftR = 16;
    // Palette of the 1-, 4- and 8-bit forms (blue, green, red).
    uint8_t palette[256][3] = {};
    uint32_t paletteCount = 0;
};

// The file header and the core (12-byte) or info (40 bytes and up) header.
const char* ReadHeaders(const uint8_t* data, uint64_t fileSize, BmpLayout& l) {
    const uint32_t declaredSize = Le32(data + 2);
    l.pixelOffset = Le32(data + 10);
    l.headerSize = Le32(data + 14);
    // Some writers leave the declared size 0; a larger one means a cut file.
    if (declaredSize > fileSize) return "file is truncated";
    if (l.headerSize != kCoreHeaderSize && l.headerSize < kInfoHeaderSize) return "unknown header";
    if (uint64_t{kFileHeaderSize} + l.headerSize > fileSize) return "header is truncated";
    const uint8_t* h = data + kFileHeaderSize;
    uint32_t planes;
    if (l.headerSize == kCoreHeaderSize) {
        l.width = Le16(h + 4);
        l.height = Le16(h + 6);
        planes = Le16(h + 8);
        l.bitCount = Le16(h + 10);
        l.paletteEntrySize = 3;
    } else {
        l.width = static_cast<int32_t>(Le32(h + 4));
        l.height = static_cast<int32_t>(Le32(h + 8));
        planes = Le16(h + 12);
        l.bitCount = Le16(h + 14);
        l.compression = Le32(h + 16);
        l.colorsUsed = Le32(h + 32);
    }
    if (planes != 1) return "bad plane count";
    const uint32_t bits = l.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return "unsupported bit depth";
    l.topDown = l.height < 0;
    if (l.topDown) l.height = -l.height;
    if (l.width <= 0 || l.height <= 0 || l.width > kMaxBitmapSide || l.height > kMaxBitmapSide ||
        l.width * l.height > kMaxDecodePixels)
        return "bad picture size";
    return nullptr;
}

// The colour masks of a 32-bit file, which follow a 40-byte header or sit
// inside a larger one; other files keep blue, green, red from the low byte up.
const char* ReadMasks(const uint8_t* data, uint64_t fileSize, BmpLayout& l) {
    if (l.compression == kBiRgb) return nullptr;
    if (l.compression != kBiBitfields && l.compression != kBiAlphaBitfields)
        return "compressed files are not supported";
    if (l.bitCount != 32) return "unsupported compression";
    const uint64_t maskEnd = uint64_t{kFileHeaderSize} + kInfoHeaderSize + 12;
    if (maskEnd > fileSize) return "header is truncated";
    const uint8_t* masks = data + kFileHeaderSize + kInfoHeaderSize;
    l.shiftR = ByteShift(Le32(masks));
    l.shiftG = ByteShift(Le32(masks + 4));
    l.shiftB = ByteShift(Le32(masks + 8));
    if (l.shiftR < 0 || l.shiftG < 0 || l.shiftB < 0) return "unsupported colour masks";
    return nullptr;
}

// The palette, right after the header, for depths up to 8 bits.
const char* ReadPalette(const uint8_t* data, uint64_t fileSize, BmpLayout& l) {
    if (l.bitCount > 8) return nullptr;
    const uint32_t maxColors = 1u << l.bitCount;
    l.paletteCount = l.colorsUsed == 0 ? maxColors : l.colorsUsed;
    if (l.paletteCount > maxColors) return "bad palette size";
    const uint64_t paletteStart = uint64_t{kFileHeaderSize} + l.headerSize;
    const uint64_t paletteEnd = paletteStart + uint64_t{l.paletteCount} * l.paletteEntrySize;
    if (paletteEnd > fileSize || paletteEnd > l.pixelOffset) return "palette is truncated";
    for (uint32_t i = 0; i < l.paletteCount; ++i) {
        const uint8_t* e = data + paletteStart + uint64_t{i} * l.paletteEntrySize;
        std::memcpy(l.palette[i], e, 3);
    }
    return nullptr;
}

const char* CheckPixelData(uint64_t fileSize, BmpLayout& l) {
    l.rowBytes = ((static_cast<uint64_t>(l.width) * l.bitCount + 31) / 32) * 4;
    if (l.pixelOffset < kFileHeaderSize + l.headerSize) return "bad pixel offset";
    if (uint64_t{l.pixelOffset} + l.rowBytes * static_cast<uint64_t>(l.height) > fileSize)
        return "pixel data is truncated";
    return nullptr;
}

// One file row into blue, green, red; palette indices past the palette's end read as black.
void ConvertRow(const BmpLayout& l, const uint8_t* s, uint8_t* d, int w) {
    if (l.bitCount == 24) {
        std::memcpy(d, s, static_cast<size_t>(w) * 3);
        return;
    }
    if (l.bitCount == 32) {
        for (int x = 0; x < w; ++x, s += 4, d += 3) {
            const uint32_t v = Le32(s);
            d[0] = static_cast<uint8_t>(v >> l.shiftB);
            d[1] = static_cast<uint8_t>(v >> l.shiftG);
            d[2] = static_cast<uint8_t>(v >> l.shiftR);
        }
        return;
    }
    const int perByte = 8 / static_cast<int>(l.bitCount);
    const unsigned mask = (1u << l.bitCount) - 1;
    for (int x = 0; x < w; ++x, d += 3) {
        const unsigned shift = 8 - l.bitCount * (1 + x % perByte);
        const unsigned index = (s[x / perByte] >> shift) & mask;
        if (index < l.paletteCount)
            std::memcpy(d, l.palette[index], 3);
        else
            d[0] = d[1] = d[2] = 0;
    }
}

}  // namespace

// Every header field is checked against the file's size before anything is
// allocated or read.
Result LoadBmpStream(TMyBitmap& buf, const uint8_t* data, size_t size) {
    ReleaseBitmap(buf);
    if (!data || size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
        return Fail("not a BMP file");
    if (size > static_cast<size_t>(kMaxImageFileSize)) return Fail("file too large");
    BmpLayout l;
    for (auto step : {ReadHeaders, ReadMasks, ReadPalette})
        if (const char* problem = step(data, size, l)) return Fail(problem);
    if (const char* problem = CheckPixelData(size, l)) return Fail(problem);
    if (!Create24(buf, static_cast<int>(l.width), static_cast<int>(l.height)))
        return Fail("out of memory");
    for (int fileRow = 0; fileRow < buf.Height; ++fileRow) {
        const uint8_t* s = data + l.pixelOffset + l.rowBytes * static_cast<uint64_t>(fileRow);
        const int y = l.topDown ? fileRow : buf.Height - 1 - fileRow;
        ConvertRow(l, s, RowPtr(buf, y), buf.Width);
    }
    return Result::Success();
}

Result SaveBmp24(const TMyBitmap& buf, std::vector<uint8_t>& out) {
    out.clear();
    if (buf.Width <= 0) return CannotSavePicture("BMP: empty picture");
    const uint32_t rowBytes = ((static_cast<uint32_t>(buf.Width) * 24 + 31) / 32) * 4;
    const uint64_t imageSize = uint64_t{rowBytes} * static_cast<uint32_t>(buf.Height);
    const uint64_t total = kFileHeaderSize + kInfoHeaderSize + imageSize;
    if (total > UINT32_MAX) return CannotSavePicture("BMP: picture too large");
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
    return Result::Success();
}

}  // namespace orvel
