// File access and format detection around the decoders.
#include "graphics/ImageCodecs.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace orvel {

namespace {

bool Fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data, std::string* error) {
    data.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return Fail(error, "File not found: " + path);
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return Fail(error, "Cannot read " + path);
    if (size > static_cast<uintmax_t>(kMaxImageFileSize))
        return Fail(error, "File too large: " + path);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return Fail(error, "Cannot open " + path);
    data.resize(static_cast<size_t>(size));
    const size_t got = size ? std::fread(data.data(), 1, data.size(), f) : 0;
    std::fclose(f);
    if (got != data.size()) {
        data.clear();
        return Fail(error, "Cannot read " + path);
    }
    return true;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& data, std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return Fail(error, "Cannot create " + path);
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed) return Fail(error, "Cannot write " + path);
    return true;
}

template <typename Decoder>
bool LoadFile(TMyBitmap& buf, const std::string& path, std::string* error, Decoder decode) {
    ReleaseBitmap(buf);
    std::vector<uint8_t> data;
    if (!ReadWholeFile(path, data, error)) return false;
    return decode(buf, data.data(), data.size(), error);
}

}  // namespace

bool LoadPngFile(TMyBitmap& buf, const std::string& path, std::string* error) {
    return LoadFile(buf, path, error, LoadPngStream);
}

bool LoadPngResource(TMyBitmap& buf, const std::string& resourcesDir, const std::string& name,
                     std::string* error) {
    return LoadPngFile(buf, (std::filesystem::path(resourcesDir) / (name + ".png")).string(),
                       error);
}

bool LoadJpegFile(TMyBitmap& buf, const std::string& path, std::string* error) {
    return LoadFile(buf, path, error, LoadJpegStream);
}

bool LoadBmpFile(TMyBitmap& buf, const std::string& path, std::string* error) {
    return LoadFile(buf, path, error, LoadBmpStream);
}

bool SaveBmp24File(const TMyBitmap& buf, const std::string& path, std::string* error) {
    std::vector<uint8_t> data;
    if (!SaveBmp24(buf, data)) return Fail(error, "BMP: empty picture");
    return WriteWholeFile(path, data, error);
}

bool SavePngFile(const TMyBitmap& buf, const std::string& path, std::string* error) {
    std::vector<uint8_t> data;
    if (!SavePng(buf, data, error)) return false;
    return WriteWholeFile(path, data, error);
}

bool LoadImageStream(TMyBitmap& buf, const uint8_t* data, size_t size, std::string* error) {
    if (data && size >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
        return LoadPngStream(buf, data, size, error);
    if (data && size >= 2 && data[0] == 0xFF && data[1] == 0xD8)
        return LoadJpegStream(buf, data, size, error);
    if (data && size >= 2 && data[0] == 'B' && data[1] == 'M')
        return LoadBmpStream(buf, data, size, error);
    ReleaseBitmap(buf);
    return Fail(error, "Unknown picture format");
}

bool LoadImageFile(TMyBitmap& buf, const std::string& path, std::string* error) {
    return LoadFile(buf, path, error, LoadImageStream);
}

}  // namespace orvel
