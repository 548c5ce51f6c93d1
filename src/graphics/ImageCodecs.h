#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"

namespace orvel {

// Decoders fill buf with a new buffer and return true, or leave it empty and
// return false with a short reason in *error. They never throw on bad data.

// Largest picture a decoder accepts (pixels), and largest image file read.
constexpr int64_t kMaxDecodePixels = int64_t{1} << 26;
constexpr int64_t kMaxImageFileSize = int64_t{256} << 20;

// 24-bit for PNGs without alpha, 32-bit for grey+alpha and RGBA.
bool LoadPngStream(TMyBitmap& buf, const uint8_t* data, size_t size, std::string* error = nullptr);
bool LoadPngFile(TMyBitmap& buf, const std::string& path, std::string* error = nullptr);
// A PNG from the program's resources/ folder, by name ("skin", "glass", ...).
bool LoadPngResource(TMyBitmap& buf, const std::string& resourcesDir, const std::string& name,
                     std::string* error = nullptr);

// 24-bit; a corrupt-data warning of the decoder (a truncated file, say) is a failure.
bool LoadJpegStream(TMyBitmap& buf, const uint8_t* data, size_t size, std::string* error = nullptr);
bool LoadJpegFile(TMyBitmap& buf, const std::string& path, std::string* error = nullptr);
// JFIF encoding of a 24- or 32-bit buffer (alpha is dropped); quality 1..100.
bool SaveJpeg(const TMyBitmap& buf, std::vector<uint8_t>& out, int quality,
              std::string* error = nullptr);

// 1, 4, 8, 24 and 32-bit BMP files (read into a 24-bit buffer); 24-bit writing.
bool LoadBmpStream(TMyBitmap& buf, const uint8_t* data, size_t size, std::string* error = nullptr);
bool LoadBmpFile(TMyBitmap& buf, const std::string& path, std::string* error = nullptr);
bool SaveBmp24(const TMyBitmap& buf, std::vector<uint8_t>& out);
bool SaveBmp24File(const TMyBitmap& buf, const std::string& path, std::string* error = nullptr);
// PNG writing: 24-bit, or 32-bit with alpha for a 32-bit buffer.
bool SavePng(const TMyBitmap& buf, std::vector<uint8_t>& out, std::string* error = nullptr);
bool SavePngFile(const TMyBitmap& buf, const std::string& path, std::string* error = nullptr);

// Picks the decoder from the data's signature.
bool LoadImageStream(TMyBitmap& buf, const uint8_t* data, size_t size,
                     std::string* error = nullptr);
bool LoadImageFile(TMyBitmap& buf, const std::string& path, std::string* error = nullptr);

}  // namespace orvel
