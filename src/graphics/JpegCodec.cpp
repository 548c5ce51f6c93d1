// JPEG decoding and JFIF encoding through libjpeg(-turbo).
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

#include "graphics/ImageCodecs.h"

namespace orvel {

namespace {

// A progressive file may hold any number of scans; far more than any real
// encoder writes only burns time.
constexpr long kMaxScans = 500;

struct JpegError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX + 8];
};

[[noreturn]] void Fail(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::snprintf(err->message, sizeof err->message, "JPEG: %s", text);
    std::longjmp(err->jump, 1);
}

void OnErrorExit(j_common_ptr cinfo) {
    Fail(cinfo);
}

// Level -1 is a corrupt-data warning (a truncated file, bad entropy data):
// such a picture is refused rather than shown half grey. Trace messages
// (levels 0 and up) are ignored.
void OnMessage(j_common_ptr cinfo, int level) {
    if (level < 0) Fail(cinfo);
}

void OnProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<JpegError*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "JPEG: too many scans");
        std::longjmp(err->jump, 1);
    }
}

void InitError(JpegError& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnErrorExit;
    err.pub.emit_message = OnMessage;
    err.message[0] = 0;
}

}  // namespace

Result LoadJpegStream(TMyBitmap& buf, const uint8_t* data, size_t size) {
    ReleaseBitmap(buf);
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return InvalidPicture("JPEG: not a JPEG file");
    if (size > static_cast<size_t>(kMaxImageFileSize))
        return InvalidPicture("JPEG: file too large");
    jpeg_decompress_struct cinfo;
    JpegError err;
    jpeg_progress_mgr progress;
    std::memset(&progress, 0, sizeof progress);
    progress.progress_monitor = OnProgress;
    InitError(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        ReleaseBitmap(buf);
        return InvalidPicture(err.message);
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (static_cast<int64_t>(cinfo.image_width) * cinfo.image_height > kMaxDecodePixels ||
        cinfo.image_width > static_cast<JDIMENSION>(kMaxBitmapSide) ||
        cinfo.image_height > static_cast<JDIMENSION>(kMaxBitmapSide)) {
        std::snprintf(err.message, sizeof err.message, "JPEG: image too large");
        std::longjmp(err.jump, 1);
    }
    // Decoded straight into the buffer's blue-green-red layout; grey pictures
    // are spread over the three channels. Other colour spaces (CMYK) fail.
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        std::snprintf(err.message, sizeof err.message, "JPEG: unsupported colour space");
        std::longjmp(err.jump, 1);
    }
    if (!Create24(buf, static_cast<int>(cinfo.output_width),
                  static_cast<int>(cinfo.output_height))) {
        std::snprintf(err.message, sizeof err.message, "JPEG: out of memory");
        std::longjmp(err.jump, 1);
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = RowPtr(buf, static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return Result::Success();
}

Result SaveJpeg(const TMyBitmap& buf, std::vector<uint8_t>& out, int quality) {
    out.clear();
    if (buf.Width <= 0) return CannotSavePicture("JPEG: empty picture");
    struct Dest {
        unsigned char* data;
        unsigned long size;
    } dest{nullptr, 0};
    jpeg_compress_struct cinfo;
    JpegError err;
    InitError(err);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(dest.data);
        return CannotSavePicture(err.message);
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &dest.data, &dest.size);
    cinfo.image_width = static_cast<JDIMENSION>(buf.Width);
    cinfo.image_height = static_cast<JDIMENSION>(buf.Height);
    cinfo.input_components = buf.BytesPerPixel;
    cinfo.in_color_space = buf.BytesPerPixel == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);  // YCbCr with a JFIF APP0 marker
    jpeg_set_quality(&cinfo, Clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // The encoder only reads the rows; its interface is older than const.
        JSAMPROW row = const_cast<JSAMPROW>(RowPtr(buf, static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    bool copied = true;
    try {
        out.assign(dest.data, dest.data + dest.size);
    } catch (const std::bad_alloc&) {
        copied = false;
    }
    std::free(dest.data);
    if (!copied) return CannotSavePicture("JPEG: out of memory");
    return Result::Success();
}

}  // namespace orvel
