#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ResultTestUtil.h"
#include "graphics/Bitmap.h"
#include "graphics/BitmapTestUtil.h"
#include "graphics/ImageCodecs.h"

namespace orvel {
namespace {

using test::FillPattern;
using test::Pattern;

const std::string kImages = std::string(ORVEL_TEST_DATA_DIR) + "/images/";

void ExpectSamePixels(const TMyBitmap& a, const TMyBitmap& b) {
    ASSERT_EQ(a.Width, b.Width);
    ASSERT_EQ(a.Height, b.Height);
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x) {
            ASSERT_EQ(GetPixel(a, x, y), GetPixel(b, x, y)) << x << "," << y;
            ASSERT_EQ(GetAlpha(a, x, y), GetAlpha(b, x, y)) << x << "," << y;
        }
}

TEST(PngCodec, RoundTripsTwentyFourAndThirtyTwoBitPictures) {
    TMyBitmap rgb, rgba, back;
    ASSERT_TRUE(Create24(rgb, 13, 7));
    FillPattern(rgb);
    std::vector<uint8_t> file;
    ASSERT_TRUE(test::Succeeded(SavePng(rgb, file)));
    ASSERT_TRUE(test::Succeeded(LoadPngStream(back, file.data(), file.size())));
    EXPECT_EQ(back.BytesPerPixel, 3);
    ExpectSamePixels(rgb, back);

    ASSERT_TRUE(Create32(rgba, 5, 6));
    FillPattern(rgba);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 5; ++x) PixelPtr(rgba, x, y)[3] = static_cast<uint8_t>(x * 50 + y);
    ASSERT_TRUE(test::Succeeded(SavePng(rgba, file)));
    ASSERT_TRUE(test::Succeeded(LoadPngStream(back, file.data(), file.size())));
    EXPECT_TRUE(back.HasAlpha);
    ExpectSamePixels(rgba, back);
}

TEST(PngCodec, PaletteGreySixteenBitAndGreyAlphaBecomeBlueGreenRed) {
    TMyBitmap buf;
    ASSERT_TRUE(test::Succeeded(LoadPngFile(buf, kImages + "gray1.png")));
    ASSERT_EQ(buf.Width, 8);
    const int bits[8] = {1, 0, 1, 1, 0, 0, 1, 0};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(GetPixel(buf, x, 0), bits[x] ? 0xFFFFFF : 0);

    ASSERT_TRUE(test::Succeeded(LoadPngFile(buf, kImages + "gray8.png")));
    EXPECT_EQ(buf.BytesPerPixel, 3);
    EXPECT_EQ(GetPixel(buf, 1, 0), 0x646464);
    EXPECT_EQ(GetPixel(buf, 2, 1), 0x030303);

    ASSERT_TRUE(test::Succeeded(LoadPngFile(buf, kImages + "palette4.png")));
    EXPECT_EQ(GetPixel(buf, 0, 0), static_cast<int32_t>(RgbToColor(70, 80, 90)));
    EXPECT_EQ(GetPixel(buf, 1, 0), static_cast<int32_t>(RgbToColor(10, 20, 30)));
    EXPECT_EQ(GetPixel(buf, 2, 0), static_cast<int32_t>(RgbToColor(40, 50, 60)));

    ASSERT_TRUE(test::Succeeded(LoadPngFile(buf, kImages + "rgb16.png")));
    EXPECT_EQ(GetPixel(buf, 0, 0), static_cast<int32_t>(RgbToColor(0x12, 0x56, 0x9A)));
    EXPECT_EQ(GetPixel(buf, 1, 0), static_cast<int32_t>(RgbToColor(0xFF, 0x00, 0x80)));

    ASSERT_TRUE(test::Succeeded(LoadPngResource(buf, ORVEL_TEST_DATA_DIR "/images", "graya8")));
    EXPECT_TRUE(buf.HasAlpha);
    EXPECT_EQ(GetPixel(buf, 0, 0), 0x323232);
    EXPECT_EQ(GetAlpha(buf, 0, 0), 200);
    EXPECT_EQ(GetAlpha(buf, 1, 0), 0);
}

// A palette with a transparency chunk is still a picture without an alpha plane.
TEST(PngCodec, PaletteWithTransparencyChunkLoadsAsTwentyFourBit) {
    TMyBitmap buf;
    ASSERT_TRUE(test::Succeeded(LoadPngFile(buf, kImages + "palette_trns.png")));
    EXPECT_EQ(buf.BytesPerPixel, 3);
    EXPECT_EQ(GetPixel(buf, 0, 1), static_cast<int32_t>(RgbToColor(255, 0, 0)));  // the clear entry
    EXPECT_EQ(GetPixel(buf, 2, 0), static_cast<int32_t>(RgbToColor(0, 0, 255)));
}

TEST(PngCodec, InterlacedFileDecodesLikeThePlainOne) {
    TMyBitmap plain, interlaced;
    ASSERT_TRUE(test::Succeeded(LoadPngFile(plain, kImages + "plain_rgba.png")));
    ASSERT_TRUE(test::Succeeded(LoadPngFile(interlaced, kImages + "interlaced_rgba.png")));
    ASSERT_TRUE(interlaced.HasAlpha);
    EXPECT_EQ(GetAlpha(interlaced, 4, 3), 153);  // 60 %
    EXPECT_GT(ColorR(static_cast<TColor>(GetPixel(interlaced, 0, 0))), 200);
    ExpectSamePixels(plain, interlaced);
}

TEST(JpegCodec, EncodesJfifAndDecodesCloseToTheOriginal) {
    TMyBitmap src, back;
    ASSERT_TRUE(Create24(src, 40, 30));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) SetPixel(src, x, y, RgbToColor(x * 6, y * 8, 128));
    std::vector<uint8_t> file;
    ASSERT_TRUE(test::Succeeded(SaveJpeg(src, file, 95)));
    ASSERT_GT(file.size(), 20u);
    EXPECT_EQ(std::memcmp(file.data() + 6, "JFIF", 5), 0);
    ASSERT_TRUE(test::Succeeded(LoadJpegStream(back, file.data(), file.size())));
    ASSERT_EQ(back.Width, 40);
    ASSERT_EQ(back.Height, 30);
    int worst = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const TColor a = static_cast<TColor>(GetPixel(src, x, y));
            const TColor b = static_cast<TColor>(GetPixel(back, x, y));
            worst = std::max({worst, std::abs(ColorR(a) - ColorR(b)),
                              std::abs(ColorG(a) - ColorG(b)), std::abs(ColorB(a) - ColorB(b))});
        }
    EXPECT_LE(worst, 8);
    // The top-left corner is red-free and green-free enough to tell the
    // rows apart: the picture is not upside down.
    EXPECT_LT(ColorG(static_cast<TColor>(GetPixel(back, 0, 0))), 20);
    EXPECT_GT(ColorG(static_cast<TColor>(GetPixel(back, 0, 29))), 200);
}

TEST(JpegCodec, GreyAndProgressiveFiles) {
    TMyBitmap grey, progressive, baseline;
    ASSERT_TRUE(test::Succeeded(LoadJpegFile(grey, kImages + "gray.jpg")));
    for (int y = 0; y < grey.Height; ++y) {
        const uint8_t* p = PixelPtr(grey, 3, y);
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[1], p[2]);
    }
    EXPECT_GT(ColorR(static_cast<TColor>(GetPixel(grey, 3, 0))), 200);  // white at the top
    ASSERT_TRUE(test::Succeeded(LoadImageFile(progressive, kImages + "progressive.jpg")));
    ASSERT_TRUE(test::Succeeded(LoadImageFile(baseline, kImages + "photo.jpg")));
    ASSERT_EQ(progressive.Width, baseline.Width);
    ASSERT_EQ(progressive.Height, baseline.Height);
    EXPECT_GT(ColorR(static_cast<TColor>(GetPixel(progressive, 5, 0))), 200);
    EXPECT_GT(ColorB(static_cast<TColor>(GetPixel(progressive, 5, 23))), 200);
}

// A BMP file of the given form; rows are given top-down, each already padded.
std::vector<uint8_t> MakeBmp(int bits, int width, int height, bool topDown,
                             const std::vector<uint8_t>& palette,
                             const std::vector<std::vector<uint8_t>>& rowsTopDown) {
    std::vector<uint8_t> f(54 + palette.size());
    auto put = [&f](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) f[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put(10, static_cast<uint32_t>(54 + palette.size()), 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(topDown ? -height : height), 4);
    put(26, 1, 2);
    put(28, static_cast<uint32_t>(bits), 2);
    put(46, static_cast<uint32_t>(palette.size() / 4), 4);
    std::copy(palette.begin(), palette.end(), f.begin() + 54);
    for (int i = 0; i < height; ++i) {
        const auto& row = rowsTopDown[topDown ? i : height - 1 - i];
        f.insert(f.end(), row.begin(), row.end());
    }
    put(2, static_cast<uint32_t>(f.size()), 4);
    return f;
}

TEST(BmpCodec, ReadsEveryDepthBothRowOrders) {
    // Palette entries are blue, green, red, unused.
    const std::vector<uint8_t> pal = {0, 0, 255, 0, 0, 255,
                                      0, 0, 255, 0, 0, 0};  // red, green, blue
    TMyBitmap buf;
    for (bool topDown : {false, true}) {
        auto f = MakeBmp(1, 3, 2, topDown, {0, 0, 0, 0, 255, 255, 255, 0},
                         {{0b10100000, 0, 0, 0}, {0b01000000, 0, 0, 0}});
        ASSERT_TRUE(test::Succeeded(LoadBmpStream(buf, f.data(), f.size())));
        EXPECT_EQ(GetPixel(buf, 0, 0), 0xFFFFFF);
        EXPECT_EQ(GetPixel(buf, 1, 0), 0);
        EXPECT_EQ(GetPixel(buf, 1, 1), 0xFFFFFF);

        f = MakeBmp(4, 3, 1, topDown, pal, {{0x21, 0x70, 0, 0}});  // index 7 is past the palette
        ASSERT_TRUE(test::Succeeded(LoadBmpStream(buf, f.data(), f.size())));
        EXPECT_EQ(GetPixel(buf, 0, 0), 0xFF0000);
        EXPECT_EQ(GetPixel(buf, 1, 0), 0x00FF00);
        EXPECT_EQ(GetPixel(buf, 2, 0), 0);

        f = MakeBmp(8, 2, 2, topDown, pal, {{0, 1, 0, 0}, {2, 2, 0, 0}});
        ASSERT_TRUE(test::Succeeded(LoadBmpStream(buf, f.data(), f.size())));
        EXPECT_EQ(GetPixel(buf, 0, 0), 0x0000FF);
        EXPECT_EQ(GetPixel(buf, 1, 0), 0x00FF00);
        EXPECT_EQ(GetPixel(buf, 1, 1), 0xFF0000);

        f = MakeBmp(32, 1, 2, topDown, {}, {{1, 2, 3, 99}, {4, 5, 6, 0}});
        ASSERT_TRUE(test::Succeeded(LoadBmpStream(buf, f.data(), f.size())));
        EXPECT_EQ(buf.BytesPerPixel, 3);
        EXPECT_EQ(GetPixel(buf, 0, 0), 0x010203);
        EXPECT_EQ(GetPixel(buf, 0, 1), 0x040506);
    }
}

TEST(BmpCodec, TwentyFourBitRoundTripWritesBottomUpRows) {
    TMyBitmap src, back;
    ASSERT_TRUE(Create32(src, 7, 3));  // the alpha byte is not written
    FillPattern(src);
    std::vector<uint8_t> file;
    ASSERT_TRUE(test::Succeeded(SaveBmp24(src, file)));
    ASSERT_EQ(file.size(), 54u + 24u * 3u);
    EXPECT_EQ(file[28], 24);
    // The first stored row is the bottom one.
    EXPECT_EQ(file[54], ColorB(Pattern(0, 2)));
    ASSERT_TRUE(test::Succeeded(LoadBmpStream(back, file.data(), file.size())));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(GetPixel(back, x, y), static_cast<int32_t>(Pattern(x, y)));

    const std::string path = std::string(ORVEL_BUILD_DIR) + "/tests/graphics_roundtrip.bmp";
    ASSERT_TRUE(test::Succeeded(SaveBmp24File(src, path)));
    ASSERT_TRUE(test::Succeeded(LoadImageFile(back, path)));
    EXPECT_EQ(GetPixel(back, 6, 2), static_cast<int32_t>(Pattern(6, 2)));
    std::filesystem::remove(path);
}

// Decoding must fail cleanly: an empty buffer and a reason, never a crash.
void ExpectCleanFailure(const std::vector<uint8_t>& data, const std::string& what) {
    TMyBitmap buf;
    ASSERT_TRUE(Create24(buf, 3, 3));  // an earlier picture is dropped
    const Result r = LoadImageStream(buf, data.data(), data.size());
    ASSERT_FALSE(r.Ok()) << what;
    EXPECT_EQ(buf.Width, 0) << what;
    EXPECT_EQ(r.Error().Section, MsgSection::Fixed) << what;
    EXPECT_EQ(r.Error().Key, "Invalid picture") << what;
    EXPECT_FALSE(r.Error().Detail.empty()) << what;  // the decoder's own words
}

TEST(BadImages, EveryFileOfTheCorpusFailsCleanly) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORVEL_TEST_DATA_DIR "/bad")) {
        TMyBitmap buf;
        const Result r = LoadImageFile(buf, entry.path().string());
        ASSERT_FALSE(r.Ok()) << entry.path();
        EXPECT_EQ(buf.Width, 0);
        // The file is named, and why it failed is said: the decoder's words,
        // or what the path is instead of a file (the corpus holds a folder).
        ASSERT_FALSE(r.Error().Args.empty());
        EXPECT_EQ(r.Error().Args[0], entry.path().string());
        EXPECT_TRUE(!r.Error().Detail.empty() || r.Error().Args.size() == 2)
            << test::Describe(r.Error());
        ++files;
    }
    EXPECT_GE(files, 40);
}

TEST(BadImages, EveryTruncationOfAGoodFileFailsCleanly) {
    TMyBitmap pic;
    ASSERT_TRUE(Create24(pic, 9, 5));
    FillPattern(pic);
    std::vector<std::vector<uint8_t>> files(3);
    ASSERT_TRUE(test::Succeeded(SavePng(pic, files[0])));
    ASSERT_TRUE(test::Succeeded(SaveJpeg(pic, files[1], 80)));
    ASSERT_TRUE(test::Succeeded(SaveBmp24(pic, files[2])));
    for (const auto& file : files) {
        for (size_t n = 0; n < file.size(); ++n)
            ExpectCleanFailure(std::vector<uint8_t>(file.begin(), file.begin() + n),
                               "cut at " + std::to_string(n));
        TMyBitmap whole;
        EXPECT_TRUE(LoadImageStream(whole, file.data(), file.size()));
    }
}

TEST(BadImages, MissingFilesAndUnknownFormats) {
    TMyBitmap buf;
    const std::string skin = std::string(ORVEL_TEST_DATA_DIR) + "/no-such-skin.png";
    const Result missing = LoadPngResource(buf, ORVEL_TEST_DATA_DIR, "no-such-skin");
    ASSERT_FALSE(missing.Ok());
    EXPECT_EQ(missing.Error().Key, "File not found: %s");
    EXPECT_EQ(missing.Error().Args, std::vector<std::string>{skin});
    ExpectCleanFailure({'G', 'I', 'F', '8', '9', 'a', 0, 0}, "GIF");
    TMyBitmap empty;
    std::vector<uint8_t> out;
    EXPECT_FALSE(SavePng(empty, out).Ok());
    EXPECT_FALSE(SaveJpeg(empty, out, 90).Ok());
    const Result bmp = SaveBmp24(empty, out);
    ASSERT_FALSE(bmp.Ok());
    EXPECT_EQ(bmp.Error().Key, "Cannot save the picture");
}

// A folder, a named pipe or a device given as a picture is named as what it
// is, not as a missing file; the pipe is never opened (that would wait for
// a writer for ever).
TEST(BadImages, FoldersPipesAndDevicesAreNamed) {
    const std::string pipe = ::testing::TempDir() + "/codec_pipe_" + std::to_string(getpid());
    std::filesystem::remove(pipe);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    struct Case {
        std::string path, what;
    };
    for (const Case& c : {Case{ORVEL_TEST_DATA_DIR, "a folder"}, Case{pipe, "a named pipe"},
                          Case{"/dev/null", "a device"}}) {
        TMyBitmap buf;
        ASSERT_TRUE(Create24(buf, 2, 2));
        const Result r = LoadImageFile(buf, c.path);
        ASSERT_FALSE(r.Ok()) << c.path;
        EXPECT_EQ(buf.Width, 0);
        EXPECT_EQ(r.Error().Section, MsgSection::Fixed);
        EXPECT_EQ(r.Error().Key, "Not a picture file: %s is %s");
        EXPECT_EQ(r.Error().Args, (std::vector<std::string>{c.path, c.what}));
    }
    std::filesystem::remove(pipe);
}

TEST(BadImages, UnwritableFilesAreNamedWithTheSystemsWords) {
    TMyBitmap pic;
    ASSERT_TRUE(Create24(pic, 2, 2));
    const std::string nowhere = ::testing::TempDir() + "/no/such/folder/x.png";
    const Result r = SavePngFile(pic, nowhere);
    ASSERT_FALSE(r.Ok());
    EXPECT_EQ(r.Error().Key, "Cannot create %s");
    EXPECT_EQ(r.Error().Args, std::vector<std::string>{nowhere});
    EXPECT_FALSE(r.Error().Detail.empty());
}

}  // namespace
}  // namespace orvel
