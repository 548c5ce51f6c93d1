#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/ImageCodecs.h"

namespace orvel {
namespace {

const char* const kNames[] = {"parquet", "stucco1", "stucco4", "wood1",
                              "wood2",   "wood3",   "wood4",   "wood5"};

std::string PicturePath(const std::string& name, const char* suffix) {
    return std::string(ORVEL_BUILD_DIR) + "/bkg-pics/" + name + suffix;
}

// How two lines (columns, or rows when `rows` is set) differ: Structure is
// the mean colour difference of their pixels, Tone the difference of their
// mean colours (each summed over the three channels). Fine grain adds to the
// first but averages out of the second, so together they see both misplaced
// patterns and a change of shade.
struct LineStep {
    double Structure = 0;
    double Tone = 0;
};

LineStep CompareLines(const TMyBitmap& bmp, int a, int b, bool rows) {
    const int length = rows ? bmp.Width : bmp.Height;
    LineStep step;
    for (int c = 0; c < 3; ++c) {
        double absolute = 0, net = 0;
        for (int i = 0; i < length; ++i) {
            const uint8_t* p = rows ? PixelPtr(bmp, i, a) : PixelPtr(bmp, a, i);
            const uint8_t* q = rows ? PixelPtr(bmp, i, b) : PixelPtr(bmp, b, i);
            absolute += std::abs(int(p[c]) - int(q[c]));
            net += int(p[c]) - int(q[c]);
        }
        step.Structure += absolute / length;
        step.Tone += std::abs(net) / length;
    }
    return step;
}

// The step across the tile's wrap (last line to first) must be no larger than
// the largest step between neighbouring lines inside the tile. Only lines at
// 8-pixel block borders are compared, where the JPEG coding is alike: the
// wrap lies on one.
void ExpectSeamless(const TMyBitmap& bmp, bool rows, const std::string& what) {
    const int count = rows ? bmp.Height : bmp.Width;
    LineStep largest;
    for (int i = 7; i + 1 < count; i += 8) {
        const LineStep s = CompareLines(bmp, i, i + 1, rows);
        largest.Structure = std::max(largest.Structure, s.Structure);
        largest.Tone = std::max(largest.Tone, s.Tone);
    }
    const LineStep wrap = CompareLines(bmp, count - 1, 0, rows);
    EXPECT_LE(wrap.Structure, largest.Structure) << what;
    EXPECT_LE(wrap.Tone, largest.Tone) << what;
}

TEST(Backgrounds, EveryTileDecodesAtItsSizeAndRepeatsWithoutSeams) {
    for (const char* name : kNames) {
        TMyBitmap tile;
        const Result loaded = LoadJpegFile(tile, PicturePath(name, "-1600.jpg"));
        ASSERT_TRUE(loaded.Ok()) << name << " " << PlainText(loaded.Error());
        EXPECT_EQ(tile.Width, 1600) << name;
        EXPECT_EQ(tile.Height, 1000) << name;
        ExpectSeamless(tile, false, std::string(name) + ": right edge to left edge");
        ExpectSeamless(tile, true, std::string(name) + ": bottom edge to top edge");
    }
}

struct Brightness {
    double Mean = 0;
    double Spread = 0;  // standard deviation
};

Brightness Measure(const TMyBitmap& bmp) {
    double sum = 0, squares = 0;
    for (int y = 0; y < bmp.Height; ++y) {
        for (int x = 0; x < bmp.Width; ++x) {
            const uint8_t* p = PixelPtr(bmp, x, y);
            const double luma = 0.114 * p[0] + 0.587 * p[1] + 0.299 * p[2];
            sum += luma;
            squares += luma * luma;
        }
    }
    const double n = double(bmp.Width) * bmp.Height;
    return {sum / n, std::sqrt(std::max(0.0, squares / n - (sum / n) * (sum / n)))};
}

// Pieces must stand out on every background: no picture is very dark or very
// light, or busy with strong contrast. A button shows its picture, so its
// overall brightness is the picture's.
TEST(Backgrounds, EveryTileIsCalmAndItsButtonLooksLikeIt) {
    for (const char* name : kNames) {
        TMyBitmap tile, button;
        ASSERT_TRUE(LoadJpegFile(tile, PicturePath(name, "-1600.jpg"))) << name;
        ASSERT_TRUE(LoadJpegFile(button, PicturePath(name, "-but.jpg"))) << name;
        const Brightness t = Measure(tile);
        EXPECT_GT(t.Mean, 60) << name;
        EXPECT_LT(t.Mean, 200) << name;
        EXPECT_LT(t.Spread, 25) << name;
        EXPECT_NEAR(Measure(button).Mean, t.Mean, 10) << name;
    }
}

TEST(Backgrounds, EveryButtonPictureDecodesAtTheButtonSize) {
    for (const char* name : kNames) {
        TMyBitmap button;
        ASSERT_TRUE(LoadJpegFile(button, PicturePath(name, "-but.jpg"))) << name;
        EXPECT_EQ(button.Width, 64) << name;
        EXPECT_EQ(button.Height, 58) << name;
    }
}

}  // namespace
}  // namespace orvel
