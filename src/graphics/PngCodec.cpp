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

void SetError(std::string* error, const char* text) {
    if (error) *error = text;
}

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

}  // namespace

bool LoadPngStream(TMyBitmap& buf, const uint8_t* data, size_t size, std::string* error) {
    ReleaseBitmap(buf);
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        SetError(error, "PNG: not a PNG file");
        return false;
    }
    PngIo io{data, size, 8, nullptr, false, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, OnPngError, OnPngWarning);
    if (!png) {
        SetError(error, "PNG: out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    // Row pointers outlive a longjmp, so they sit in memory, not in a register.
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::free(rows);
        ReleaseBitmap(buf);
        SetError(error, io.message);
        return false;
    }
    if (!info) png_error(png, "out of memory");
    png_set_read_fn(png, &io, ReadFromMemory);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, kMaxBitmapSide, kMaxBitmapSide);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    if (static_cast<int64_t>(width) * height > kMaxDecodePixels) png_error(png, "image too large");

    // Everything arrives as 8-bit blue-green-red, with alpha for the colour
    // types that carry it (grey+alpha and RGBA).
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
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const int channels = png_get_channels(png, info);
    if (channels != (alpha ? 4 : 3) || png_get_bit_depth(png, info) != 8)
        png_error(png, "unsupported pixel format");
    if (alpha)
        Create32(buf, static_cast<int>(width), static_cast<int>(height));
    else
        Create24(buf, static_cast<int>(width), static_cast<int>(height));
    if (buf.Width <= 0) png_error(png, "out of memory");
    if (png_get_rowbytes(png, info) > static_cast<size_t>(buf.Stride))
        png_error(png, "unexpected row size");
    rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (!rows) png_error(png, "out of memory");
    // The buffer's rows are bottom-up; the decoder writes straight into them.
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = RowPtr(buf, static_cast<int>(y));
    png_read_image(png, rows);
    png_read_end(png, nullptr);

    png_destroy_read_struct(&png, &info, nullptr);
    std::free(rows);
    return true;
}

bool SavePng(const TMyBitmap& buf, std::vector<uint8_t>& out, std::string* error) {
    out.clear();
    if (buf.Width <= 0) {
        SetError(error, "PNG: empty picture");
        return false;
    }
    PngIo io{nullptr, 0, 0, &out, false, {}};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &io, OnPngError, OnPngWarning);
    if (!png) {
        SetError(error, "PNG: out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        out.clear();
        SetError(error, io.message);
        return false;
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
    return true;
}

}  // namespace orvel
