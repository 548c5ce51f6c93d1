#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "graphics/Bitmap.h"

namespace orvel {

// Decoders fill buf with a new buffer, or leave it released and return why
// not. They never throw on bad data. Failures are fixed, untranslated texts
// (MsgSection::Fixed) naming the file where there is one, with the
// decoder's own words ("PNG: file is truncated") or the system's as detail:
//   "File not found: %s"              nothing at the path
//   "Not a picture file: %s is %s"    a folder, named pipe, device or socket
//   "File too large: %s"              over kMaxImageFileSize
//   "Cannot read %s"                  opening or reading failed
//   "Cannot load the picture %s"      the file's bytes do not decode
//   "Invalid picture"                 bytes in memory that do not decode
//   "Cannot save the picture"         nothing to encode, or the encoder failed
//   "Cannot create %s", "Cannot write %s"

// Largest picture a decoder accepts (pixels), and largest image file read.
constexpr int64_t kMaxDecodePixels = int64_t{1} << 26;
constexpr int64_t kMaxImageFileSize = int64_t{256} << 20;

// 24-bit for PNGs without alpha, 32-bit for grey+alpha and RGBA.
Result LoadPngStream(TMyBitmap& buf, const uint8_t* data, size_t size);
Result LoadPngFile(TMyBitmap& buf, const std::string& path);
// A PNG from the program's resources/ folder, by name ("skin", "glass", ...).
Result LoadPngResource(TMyBitmap& buf, const std::string& resourcesDir, const std::string& name);

// 24-bit; a corrupt-data warning of the decoder (a truncated file, say) is a failure.
Result LoadJpegStream(TMyBitmap& buf, const uint8_t* data, size_t size);
Result LoadJpegFile(TMyBitmap& buf, const std::string& path);
// JFIF encoding of a 24- or 32-bit buffer (alpha is dropped); quality 1..100.
Result SaveJpeg(const TMyBitmap& buf, std::vector<uint8_t>& out, int quality);

// 1, 4, 8, 24 and 32-bit BMP files (read into a 24-bit buffer); 24-bit writing.
Result LoadBmpStream(TMyBitmap& buf, const uint8_t* data, size_t size);
Result LoadBmpFile(TMyBitmap& buf, const std::string& path);
Result SaveBmp24(const TMyBitmap& buf, std::vector<uint8_t>& out);
Result SaveBmp24File(const TMyBitmap& buf, const std::string& path);
// PNG writing: 24-bit, or 32-bit with alpha for a 32-bit buffer.
Result SavePng(const TMyBitmap& buf, std::vector<uint8_t>& out);
Result SavePngFile(const TMyBitmap& buf, const std::string& path);

// Picks the decoder from the data's signature.
Result LoadImageStream(TMyBitmap& buf, const uint8_t* data, size_t size);
Result LoadImageFile(TMyBitmap& buf, const std::string& path);

// The failures of the stream decoders and encoders, with the codec's words as detail.
inline Result InvalidPicture(std::string detail) {
    return FixedText("Invalid picture", {}, std::move(detail));
}
inline Result CannotSavePicture(std::string detail) {
    return FixedText("Cannot save the picture", {}, std::move(detail));
}

}  // namespace orvel
