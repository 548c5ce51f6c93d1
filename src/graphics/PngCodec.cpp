// PNG reading and writing through libpng.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "graphics/ImageCodecs.h"

namespace orvel {

namespace {

// Shared by the callbacks; plain data only, as errors leave through longjmp.
struct PngIo {
    const uint8_t* data;
    size_t size;
    size_t pos;
    std::vector<uint8_t>* out;
    bool outOfMemory;
    char message[160];
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* io = static_cast<PngIo*>(png_get_error_ptr(png));
    std::snprintf(io->message, sizeof io->message, "PNG: %s", message ? message : "error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* io = static_cast<PngIo*>(png_get_io_ptr(png));
    if (count > io->size - io->pos) png_error(png, "file is truncated");
    std::memcpy(out, io->data + io->pos, count);
    io->pos += count;
}

void WriteToVector(png_structp png, png_bytep data, png_size_t count) {
    auto* io = static_cast<PngIo*>(png_get_io_ptr(png));
    try {
        io->out->insert(io->out->end(), data, data + count);
    } catch (const std::bad_alloc&) {
        io->outOfMemory = true;
    }
    if (io->outOfMemory) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

// Reads the header and sets up the transforms that turn every kind of PNG
// into 8-bit blue-green-red rows, with alpha for the colour types that carry
// it (grey+alpha and RGBA). Errors leave through png_error. Returns whether
// the rows have alpha and the number of interlace passes.
bool SetUpBgrRows(png_structp png, png_infop info, png_uint_32& width, png_uint_32& height,
                  int& passes) {
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, kMaxBitmapSide, kMaxBitmapSide);
    png_read_info(png, info);
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    if (static_cast<int64_t>(width) * height > kMaxDecodePixels) png_error(png, "image too large");
    const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    if (bitDepth == 16) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    // Expanding a palette also turns a tRNS chunk into an alpha channel; only
    // grey+alpha and RGBA pictures keep theirs.
    if (!alpha) png_set_strip_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != (alpha ? 4 : 3) || png_get_bit_depth(png, info) != 8)
        png_error(png, "unsupported pixel format");
    return alpha;
}

// Decodes straight into the buffer's bottom-up rows; an interlaced picture
// passes over every row once per pass.
void ReadRows(png_structp png, png_infop info, TMyBitmap& buf, int passes) {
    if (png_get_rowbytes(png, info) > static_cast<size_t>(buf.Stride))
        png_error(png, "unexpected row size");
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < buf.Height; ++y) png_read_row(png, RowPtr(buf, y), nullptr);
    png_read_end(png, nullptr);
}

}  // namespace

Result LoadPngStream(TMyBitmap& buf, const uint8_t* data, size_t size) {
    ReleaseBitmap(buf);
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return InvalidPicture("PNG: not a PNG file");
    PngIo io{data, size, 8, nullptr, false, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, OnPngError, OnPngWarning);
    if (!png) return InvalidPicture("PNG: out of memory");
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        ReleaseBitmap(buf);
        return InvalidPicture(io.message);
    }
    if (!info) png_error(png, "out of memory");
    png_set_read_fn(png, &io, ReadFromMemory);
    png_uint_32 width = 0, height = 0;
    int passes = 1;
    const bool alpha = SetUpBgrRows(png, info, width, height, passes);
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    if (!(alpha ? Create32(buf, w, h) : Create24(buf, w, h))) png_error(png, "out of memory");
    ReadRows(png, info, buf, passes);
    png_destroy_read_struct(&png, &info, nullptr);
    return Result::Success();
}

Result SavePng(const TMyBitmap& buf, std::vector<uint8_t>& out) {
    out.clear();
    if (buf.Width <= 0) return CannotSavePicture("PNG: empty picture");
    PngIo io{nullptr, 0, 0, &out, false, {}};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &io, OnPngError, OnPngWarning);
    if (!png) return CannotSavePicture("PNG: out of memory");
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        out.clear();
        return CannotSavePicture(io.message);
    }
    if (!info) png_error(png, "out of memory");
    png_set_write_fn(png, &io, WriteToVector, FlushNothing);
    const bool alpha = buf.BytesPerPixel == 4;
    png_set_IHDR(png, info, static_cast<png_uint_32>(buf.Width),
                 static_cast<png_uint_32>(buf.Height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < buf.Height; ++y) png_write_row(png, RowPtr(buf, y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return Result::Success();
}

}  // namespace orvel
