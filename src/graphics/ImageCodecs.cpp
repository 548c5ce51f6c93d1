// File access and format detection around the decoders.
#include "graphics/ImageCodecs.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/FileRead.h"

namespace orvel {

namespace {

std::string SystemWords(int error) {
    return error ? std::strerror(error) : std::string();
}

// Why a path that should hold a picture does not name a readable regular
// file. Only the file's status is asked for: a named pipe is never opened,
// as reading one would wait for a writer.
Result CheckPictureFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) return Result::Success();
    const std::string what = DescribeNonFile(path);
    if (what == "missing") return FixedText("File not found: %s", {path});
    if (what.empty()) return FixedText("Cannot read %s", {path});  // replaced while we looked
    return FixedText("Not a picture file: %s is %s", {path, what});
}

Result ReadWholeFile(const std::string& path, std::vector<uint8_t>& data) {
    data.clear();
    if (Result usable = CheckPictureFile(path); !usable) return usable;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return FixedText("Cannot read %s", {path}, ec.message());
    if (size > static_cast<uintmax_t>(kMaxImageFileSize))
        return FixedText("File too large: %s", {path});
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return FixedText("Cannot read %s", {path}, SystemWords(errno));
    data.resize(static_cast<size_t>(size));
    const size_t got = size ? std::fread(data.data(), 1, data.size(), f) : 0;
    const int readError = std::ferror(f) ? errno : 0;
    std::fclose(f);
    if (got != data.size()) {
        data.clear();
        return FixedText("Cannot read %s", {path}, SystemWords(readError));
    }
    return Result::Success();
}

Result WriteWholeFile(const std::string& path, const std::vector<uint8_t>& data) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return FixedText("Cannot create %s", {path}, SystemWords(errno));
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    const int writeError = ok ? 0 : errno;
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed)
        return FixedText("Cannot write %s", {path}, SystemWords(ok ? errno : writeError));
    return Result::Success();
}

template <typename Decoder>
Result LoadFile(TMyBitmap& buf, const std::string& path, Decoder decode) {
    ReleaseBitmap(buf);
    std::vector<uint8_t> data;
    if (Result read = ReadWholeFile(path, data); !read) return read;
    Result decoded = decode(buf, data.data(), data.size());
    if (decoded) return decoded;
    return FixedText("Cannot load the picture %s", {path}, decoded.Error().Detail);
}

template <typename Encoder>
Result SaveFile(const TMyBitmap& buf, const std::string& path, Encoder encode) {
    std::vector<uint8_t> data;
    if (Result encoded = encode(buf, data); !encoded) return encoded;
    return WriteWholeFile(path, data);
}

}  // namespace

Result LoadPngFile(TMyBitmap& buf, const std::string& path) {
    return LoadFile(buf, path, LoadPngStream);
}

Result LoadPngResource(TMyBitmap& buf, const std::string& resourcesDir, const std::string& name) {
    return LoadPngFile(buf, (std::filesystem::path(resourcesDir) / (name + ".png")).string());
}

Result LoadJpegFile(TMyBitmap& buf, const std::string& path) {
    return LoadFile(buf, path, LoadJpegStream);
}

Result LoadBmpFile(TMyBitmap& buf, const std::string& path) {
    return LoadFile(buf, path, LoadBmpStream);
}

Result SaveBmp24File(const TMyBitmap& buf, const std::string& path) {
    return SaveFile(buf, path, SaveBmp24);
}

Result SavePngFile(const TMyBitmap& buf, const std::string& path) {
    return SaveFile(buf, path, SavePng);
}

Result LoadImageStream(TMyBitmap& buf, const uint8_t* data, size_t size) {
    if (data && size >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
        return LoadPngStream(buf, data, size);
    if (data && size >= 2 && data[0] == 0xFF && data[1] == 0xD8)
        return LoadJpegStream(buf, data, size);
    if (data && size >= 2 && data[0] == 'B' && data[1] == 'M')
        return LoadBmpStream(buf, data, size);
    ReleaseBitmap(buf);
    return InvalidPicture("Unknown picture format");
}

Result LoadImageFile(TMyBitmap& buf, const std::string& path) {
    return LoadFile(buf, path, LoadImageStream);
}

}  // namespace orvel
