#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace orvel {
namespace {

struct Bmp {
    int W = 0, H = 0, Bits = 0;
    std::string Bytes;
    uint32_t U32(size_t at) const {
        return uint8_t(Bytes[at]) | uint8_t(Bytes[at + 1]) << 8 | uint8_t(Bytes[at + 2]) << 16 |
               uint32_t(uint8_t(Bytes[at + 3])) << 24;
    }
    // 0xRRGGBB at (x, y), y counted from the top.
    uint32_t Pixel(int x, int y) const {
        const size_t row = (size_t(W) * 3 + 3) / 4 * 4;
        const size_t at = U32(10) + size_t(H - 1 - y) * row + size_t(x) * 3;
        return uint8_t(Bytes[at + 2]) << 16 | uint8_t(Bytes[at + 1]) << 8 | uint8_t(Bytes[at]);
    }
};

Bmp ReadFlag(const std::string& name) {
    Bmp bmp;
    std::ifstream in(std::string(ORVEL_BUILD_DIR) + "/language/" + name + ".bmp", std::ios::binary);
    bmp.Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bmp.Bytes.size() < 54 || bmp.Bytes.compare(0, 2, "BM") != 0) return bmp;
    bmp.W = int(bmp.U32(18));
    bmp.H = int(bmp.U32(22));
    bmp.Bits = uint8_t(bmp.Bytes[28]);
    return bmp;
}

TEST(Flags, EveryShippedLanguageHasAFlagWithTransparentCorners) {
    const struct {
        const char* Name;
        int X, Y;
        uint32_t Rgb;
    } probes[] = {
        {"german", 30, 6, 0x000000},  {"german", 30, 20, 0xDD0000},  {"german", 30, 34, 0xFFCE00},
        {"french", 8, 20, 0x0055A4},  {"french", 30, 20, 0xFFFFFF},  {"french", 52, 20, 0xEF4135},
        {"spanish", 30, 4, 0xAA151B}, {"spanish", 30, 20, 0xF1BF00}, {"english", 30, 20, 0xC8102E},
        {"english", 30, 2, 0xC8102E}, {"english", 12, 2, 0x012169},
    };
    for (const char* name : {"english", "german", "french", "spanish"}) {
        const Bmp bmp = ReadFlag(name);
        ASSERT_EQ(bmp.W, 60) << name;
        ASSERT_EQ(bmp.H, 40) << name;
        ASSERT_EQ(bmp.Bits, 24) << name;
        ASSERT_EQ(bmp.Bytes.size(), 54u + 180u * 40u) << name;
        for (auto [x, y] : {std::pair{0, 0}, {59, 0}, {0, 39}, {59, 39}}) {
            EXPECT_EQ(bmp.Pixel(x, y), 0xFF00FFu) << name << " corner " << x << "," << y;
        }
        int magenta = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 60; ++x) magenta += bmp.Pixel(x, y) == 0xFF00FF;
        }
        EXPECT_LE(magenta, 16) << name << ": only the rounded corners are transparent";
    }
    for (const auto& p : probes)
        EXPECT_EQ(ReadFlag(p.Name).Pixel(p.X, p.Y), p.Rgb) << p.Name << " " << p.X << "," << p.Y;
}

}  // namespace
}  // namespace orvel
