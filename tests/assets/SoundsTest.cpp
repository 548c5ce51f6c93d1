#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace orvel {
namespace {

std::string ReadSound(const std::string& name) {
    std::ifstream in(std::string(ORVEL_BUILD_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U16(const std::string& b, size_t at) {
    return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8;
}
uint32_t U32(const std::string& b, size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}
int Sample(const std::string& b, size_t i) {
    return int16_t(U16(b, 44 + 2 * i));
}

// A plain 44-byte-header PCM WAV, 16-bit mono at 44.1 kHz, whose length lies
// in [minSeconds, maxSeconds], peaks near -3 dBFS without clipping and ends
// in silence (no click when it stops).
void ExpectSound(const std::string& name, double minSeconds, double maxSeconds) {
    SCOPED_TRACE(name);
    const std::string b = ReadSound(name);
    ASSERT_GT(b.size(), 44u);
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(U32(b, 4), b.size() - 8);
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(U32(b, 16), 16u);     // format chunk size
    EXPECT_EQ(U16(b, 20), 1u);      // PCM
    EXPECT_EQ(U16(b, 22), 1u);      // mono
    EXPECT_EQ(U32(b, 24), 44100u);  // sample rate
    EXPECT_EQ(U32(b, 28), 88200u);  // bytes per second
    EXPECT_EQ(U16(b, 32), 2u);      // bytes per frame
    EXPECT_EQ(U16(b, 34), 16u);     // bits per sample
    EXPECT_EQ(b.substr(36, 4), "data");
    ASSERT_EQ(U32(b, 40), b.size() - 44);

    const size_t count = (b.size() - 44) / 2;
    const double seconds = double(count) / 44100;
    EXPECT_GE(seconds, minSeconds);
    EXPECT_LE(seconds, maxSeconds);
    int peak = 0;
    for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(Sample(b, i)));
    const double peakDb = 20 * std::log10(peak / 32768.0);
    EXPECT_GT(peakDb, -4.0);
    EXPECT_LT(peakDb, -2.0);
    EXPECT_LT(std::abs(Sample(b, 0)), 300);
    EXPECT_LT(std::abs(Sample(b, count - 1)), 300);
}

TEST(Sounds, JoinAndSolvedSoundsArePlainPcmOfTheirLengthAndLevel) {
    ExpectSound("set.wav", 0.08, 0.15);
    ExpectSound("win.wav", 1.0, 1.5);
}

}  // namespace
}  // namespace orvel
