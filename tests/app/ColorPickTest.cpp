// The colour picker's pictures and choices: the hue square and circle at
// their edges, finding a colour in them, the palette's cells and the rule
// that a choice is applied to its target once, and only when it changes.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/ColorPick.h"

namespace orvel {
namespace {

struct Rgb {
    int R, G, B;
    bool operator==(const Rgb&) const = default;
};
Rgb Split(TColor c) {
    return {ColorR(c), ColorG(c), ColorB(c)};
}
Rgb Circle(int x, int y) {
    TColor c = 0;
    EXPECT_TRUE(GammaCircleColor(x, y, c)) << x << "," << y;
    return Split(c);
}

TEST(GammaPictures, SquareRunsFromWhiteOverThePureHuesToBlack) {
    EXPECT_EQ(Split(GammaSquareColor(0, 150)), (Rgb{255, 0, 0}));
    // The last column lies in sector 5, green almost gone again: close to red.
    EXPECT_EQ(Split(GammaSquareColor(299, 150)), (Rgb{255, 6, 0}));
    // Sector starts on the middle row.
    EXPECT_EQ(Split(GammaSquareColor(50, 150)), (Rgb{255, 0, 255}));
    EXPECT_EQ(Split(GammaSquareColor(150, 150)), (Rgb{0, 255, 255}));
    for (int x = 0; x < kGammaSize; ++x) {
        EXPECT_EQ(GammaSquareColor(x, 0), 0xFFFFFFu) << x;
        const Rgb bottom = Split(GammaSquareColor(x, kGammaSize - 1));
        EXPECT_LE(bottom.R + bottom.G + bottom.B, 6) << x;
    }
}

TEST(GammaPictures, CircleHasRedAtTheTopHuesClockwiseAndWhiteAtTheCentre) {
    EXPECT_EQ(Circle(150, 150), (Rgb{255, 255, 255}));
    // Half way out the hues are pure: top, right, bottom, left.
    EXPECT_EQ(Circle(150, 75), (Rgb{255, 0, 0}));
    EXPECT_EQ(Circle(225, 150), (Rgb{128, 0, 255}));
    EXPECT_EQ(Circle(150, 225), (Rgb{0, 255, 255}));
    EXPECT_EQ(Circle(75, 150), (Rgb{127, 255, 0}));
    // Towards the rim everything darkens.
    const Rgb rim = Circle(150, 1);
    EXPECT_EQ(rim.G + rim.B, 0);
    EXPECT_LT(rim.R, 10);
    TColor unused = 0;
    EXPECT_FALSE(GammaCircleColor(150, 0, unused));  // distance 150: outside
    EXPECT_FALSE(GammaCircleColor(0, 0, unused));
    EXPECT_FALSE(GammaCircleColor(299, 299, unused));
    EXPECT_TRUE(GammaCircleColor(299, 150, unused));
}

TEST(GammaPictures, ColoursAreFoundAndMarkedOnlyWhereTheyOccur) {
    TMyBitmap square, circle;
    ASSERT_TRUE(DrawGamma(square, GammaStyle::Square, 0x123456));
    ASSERT_TRUE(DrawGamma(circle, GammaStyle::Circle, 0x123456));
    EXPECT_EQ(static_cast<TColor>(GetPixel(circle, 0, 0)), 0x123456u);
    int x = -1, y = -1;
    ASSERT_TRUE(FindInGamma(square, GammaStyle::Square, 0x0000FF, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 150);
    // A dark grey has no hue: the circle never shows it, so it gets no marker.
    EXPECT_FALSE(FindInGamma(circle, GammaStyle::Circle, 0x404040, x, y));
    // Nor is the background outside the circle taken for a colour.
    EXPECT_FALSE(FindInGamma(circle, GammaStyle::Circle, 0x123456, x, y));

    TColorPicker picker;
    picker.Style = GammaStyle::Square;
    picker.Color = 0x0000FF;
    TMyBitmap marked;
    ASSERT_TRUE(picker.DrawMarkedGamma(marked, 0));
    EXPECT_EQ(static_cast<TColor>(GetPixel(marked, 2, 150)), ~GammaSquareColor(2, 150) & 0xFFFFFF);
    EXPECT_EQ(static_cast<TColor>(GetPixel(marked, 0, 150)), 0x0000FFu);  // the centre stays
}

TEST(Palette, FortyEightDistinctCellsInsideThePictureEachFoundAtItsCentre) {
    ASSERT_EQ(PaletteColors().size(), 48u);
    EXPECT_EQ(std::set<TColor>(PaletteColors().begin(), PaletteColors().end()).size(), 48u);
    for (int i = 0; i < kPaletteCount; ++i) {
        const TMyRect r = PaletteCell(i);
        EXPECT_GE(r.Left, 2) << i;
        EXPECT_GE(r.Top, 2) << i;
        EXPECT_LE(r.Right, kPaletteW - 3) << i;
        EXPECT_LE(r.Bottom, kPaletteH - 3) << i;
        EXPECT_EQ(PaletteIndexAt((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), i);
    }
    EXPECT_EQ(PaletteIndexAt(0, 0), -1);
    for (int i = 0; i < kPictureCount; ++i) {
        const TMyRect r = PictureCell(i);
        EXPECT_EQ(PictureIndexAt(r.Left, r.Top), i);
        EXPECT_LE(r.Right, kPictureRowW - 1);
    }
}

TEST(Picker, AChoiceIsAppliedOnceAndOnlyWhenItChanges) {
    TColorPicker picker;
    std::vector<int32_t> applied;
    picker.Apply = [&](int32_t v) { applied.push_back(v); };
    picker.Color = static_cast<int32_t>(PaletteColors()[5]);
    EXPECT_EQ(picker.PaletteIndex(), 5);
    EXPECT_FALSE(picker.Choose(picker.Color));
    EXPECT_TRUE(applied.empty());

    EXPECT_TRUE(picker.Choose(12));
    EXPECT_TRUE(picker.IsPicture());
    EXPECT_EQ(picker.PictureIndex(), 2);
    EXPECT_EQ(picker.PaletteIndex(), -1);
    EXPECT_EQ(applied, (std::vector<int32_t>{12}));

    EXPECT_EQ(picker.SuggestedCount(), 0);
    picker.Suggested[0] = 0x112233;
    picker.Suggested[1] = 0x445566;
    EXPECT_EQ(picker.SuggestedCount(), 2);
    picker.Choose(0x445566);
    EXPECT_EQ(picker.SuggestedIndex(), 1);
    // A picture code is never taken for a suggested colour of the same number.
    picker.Suggested[2] = 12;
    picker.Choose(12);
    EXPECT_EQ(picker.SuggestedIndex(), -1);
}

TEST(Picker, TheSelectedCellIsFramedDarkGreysInYellow) {
    TColorPicker picker;
    TMyBitmap pic;
    picker.Color = static_cast<int32_t>(PaletteColors()[41]);  // 0x404040
    ASSERT_TRUE(picker.DrawPalette(pic, 0x222222));
    const TMyRect dark = PaletteCell(41);
    EXPECT_EQ(static_cast<TColor>(GetPixel(pic, dark.Left, dark.Top)), kDarkMarkColor);
    EXPECT_EQ(static_cast<TColor>(GetPixel(pic, dark.Left - 2, dark.Top)), kMarkColor);
    picker.Color = static_cast<int32_t>(PaletteColors()[0]);
    ASSERT_TRUE(picker.DrawPalette(pic, 0x222222));
    const TMyRect first = PaletteCell(0);
    EXPECT_EQ(static_cast<TColor>(GetPixel(pic, first.Left, first.Top)), 0u);
    EXPECT_EQ(static_cast<TColor>(GetPixel(pic, dark.Left, dark.Top)), 0x404040u);
}

}  // namespace
}  // namespace orvel
