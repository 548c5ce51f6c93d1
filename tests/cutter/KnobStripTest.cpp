#include <gtest/gtest.h>

#include "ResultTestUtil.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "cutter/KnobStrip.h"
#include "graphics/ImageCodecs.h"

namespace orvel {
namespace {

TEST(KnobStrip, LayoutAndKeyColours) {
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    EXPECT_EQ(strip.Width, 1015);
    EXPECT_EQ(strip.Height, 132);
    EXPECT_EQ(StripCellX(28) + 21 + 28, 1015);
    const StripKeys k = ReadStripKeys(strip);
    const TColor keys[4] = {k.background, k.outline1, k.outline2, k.baseline};
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b) EXPECT_NE(keys[a], keys[b]);
    // 16 colours only.
    const TColor* palette = KnobStripPalette();
    for (int y = 0; y < strip.Height; ++y)
        for (int x = 0; x < strip.Width; ++x) {
            const TColor c = static_cast<TColor>(GetPixel(strip, x, y));
            bool found = false;
            for (int i = 0; i < 16; ++i) found |= palette[i] == c;
            ASSERT_TRUE(found) << x << "," << y;
        }
}

// The strip offset is measured in the first band only, so every band starts
// its outlines in that row; each outline is one 8-connected chain; a
// baseline row ends every cell of every band.
TEST(KnobStrip, EveryCellFollowsTheMeasuredOffset) {
    TMyBitmap strip;
    ASSERT_TRUE(DrawKnobStrip(strip));
    const StripKeys k = ReadStripKeys(strip);
    int32_t top[kStripCells];
    MeasureStripTop(strip, k, top);
    for (int band = 0; band < 6; ++band) {
        for (int i = 0; i < kStripCells; ++i) {
            const int x0 = StripCellX(i), len = kStripMinLength + i, y0 = band * kStripBand;
            EXPECT_EQ(static_cast<TColor>(GetPixel(strip, x0, y0 + top[i])), k.outline1) << band << "/" << i;
            for (int y = y0; y < y0 + top[i]; ++y) EXPECT_EQ(static_cast<TColor>(GetPixel(strip, x0, y)), k.background);
            bool baseline = false;
            for (int y = y0; y < y0 + kStripBand; ++y)
                baseline |= static_cast<TColor>(GetPixel(strip, x0, y)) == k.baseline &&
                            static_cast<TColor>(GetPixel(strip, x0 + len - 1, y)) == k.baseline;
            EXPECT_TRUE(baseline) << band << "/" << i;
            for (TColor key : {k.outline1, k.outline2}) {
                std::vector<std::pair<int, int>> pts;
                for (int y = y0; y < y0 + kStripBand; ++y)
                    for (int x = 0; x < len; ++x)
                        if (static_cast<TColor>(GetPixel(strip, x0 + x, y)) == key) pts.push_back({x, y});
                ASSERT_FALSE(pts.empty());
                std::vector<int> seen(pts.size(), 0);
                std::vector<size_t> stack{0};
                seen[0] = 1;
                size_t reached = 1;
                while (!stack.empty()) {
                    const size_t c = stack.back();
                    stack.pop_back();
                    for (size_t b = 0; b < pts.size(); ++b)
                        if (!seen[b] && std::abs(pts[b].first - pts[c].first) <= 1 &&
                            std::abs(pts[b].second - pts[c].second) <= 1) {
                            seen[b] = 1;
                            ++reached;
                            stack.push_back(b);
                        }
                }
                EXPECT_EQ(reached, pts.size()) << "band " << band << " length " << len;
                // The outline runs from the cell's first column to its last.
                bool first = false, last = false;
                for (auto& p : pts) {
                    first |= p.first == 0;
                    last |= p.first == len - 1;
                }
                EXPECT_TRUE(first && last);
            }
        }
    }
}

TEST(KnobStrip, GeneratedFileLoadsAsDrawn) {
    const std::string dir = std::string(ORVEL_BUILD_DIR) + "/resources";
    if (!std::filesystem::exists(dir + "/" + kKnobStripFile)) GTEST_SKIP() << "knob strip not generated";
    TMyBitmap loaded, drawn;
    ASSERT_TRUE(test::Succeeded(LoadKnobStrip(loaded, dir)));
    ASSERT_TRUE(DrawKnobStrip(drawn));
    for (int y = 0; y < drawn.Height; ++y)
        for (int x = 0; x < drawn.Width; ++x) ASSERT_EQ(GetPixel(loaded, x, y), GetPixel(drawn, x, y));
    const Result missing = LoadKnobStrip(loaded, "/nonexistent");
    ASSERT_FALSE(missing.Ok());
    EXPECT_EQ(missing.Error().Key, "File not found: %s");
}

}  // namespace
}  // namespace orvel
