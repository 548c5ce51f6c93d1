#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/BitmapTestUtil.h"
#include "graphics/ImageCodecs.h"

namespace orvel::test {

// A folder of its own for the running test, emptied first.
inline std::string TestFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) /
        (std::string("orvel-") + info->test_suite_name() + "-" + info->name());
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir);
    return dir.string();
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline TMyBitmap PatternPicture(int w, int h) {
    TMyBitmap pic;
    EXPECT_TRUE(Create24(pic, w, h));
    FillPattern(pic);
    return pic;
}

inline std::vector<uint8_t> JpegOf(const TMyBitmap& pic) {
    std::vector<uint8_t> out;
    EXPECT_TRUE(SaveJpeg(pic, out, 90));
    return out;
}

inline std::vector<uint8_t> BitmapOf(const TMyBitmap& pic) {
    std::vector<uint8_t> out;
    EXPECT_TRUE(SaveBmp24(pic, out));
    return out;
}

inline bool SamePixels(const TMyBitmap& a, const TMyBitmap& b) {
    if (a.Width != b.Width || a.Height != b.Height || a.BytesPerPixel != 3 || b.BytesPerPixel != 3)
        return false;
    for (int y = 0; y < a.Height; ++y)
        if (std::memcmp(RowPtr(a, y), RowPtr(b, y), static_cast<size_t>(a.Width) * 3) != 0)
            return false;
    return true;
}

// Exactly what the decoder makes of these bytes.
inline TMyBitmap Decoded(const std::vector<uint8_t>& bytes) {
    TMyBitmap pic;
    EXPECT_TRUE(LoadImageStream(pic, bytes.data(), bytes.size()));
    return pic;
}

}  // namespace orvel::test
