#pragma once

// The colour picker without its window: the 48-colour palette, the hue
// circle and hue square, the suggested colours and the background pictures,
// the current choice and the target every choice is applied to at once.
// Pictures are drawn into plain buffers; the dialog only shows them.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/Color.h"
#include "graphics/Bitmap.h"
#include "graphics/Rect.h"

namespace orvel {

inline constexpr int kPaletteCount = 48;
inline constexpr int kPaletteColumns = 8;
inline constexpr int kPaletteW = 232;
inline constexpr int kPaletteH = 176;
inline constexpr int kGammaSize = 300;
inline constexpr int kSuggestedMax = 8;
inline constexpr int kPictureCount = 8;
inline constexpr int kPictureRowW = 544;
inline constexpr int kPictureRowH = 62;
inline constexpr int kSuggestedRowW = kPictureRowW;
inline constexpr int kSuggestedRowH = 34;
// A choice of 10 + i is background picture i.
inline constexpr int32_t kFirstPictureCode = 10;
// The frame around the selected palette cell, and on the darkest greys.
inline constexpr TColor kMarkColor = 0xFFFFFF;
inline constexpr TColor kDarkMarkColor = 0x00FFFF;

// The palette in display order, 0x00BBGGRR.
const std::array<TColor, kPaletteCount>& PaletteColors();
// The background pictures' names by index ("parquet", ..., "wood5").
const std::array<const char*, kPictureCount>& BackgroundPictureNames();

enum class GammaStyle : uint8_t { Circle = 0, Square = 1 };

// The colour of the hue square at (x, y) of its 300 x 300 picture: the hue
// across, white at the top, the pure hue on the middle row, black below.
TColor GammaSquareColor(int x, int y);
// The colour of the hue circle at (x, y): red at the top, hues clockwise,
// white at the centre, black towards the rim. False outside the circle.
bool GammaCircleColor(int x, int y, TColor& colour);

// Draws the gamma picture (300 x 300, 24-bit); outside the circle takes
// background.
[[nodiscard]] bool DrawGamma(TMyBitmap& out, GammaStyle style, TColor background);
// The pixel whose channels each differ from colour by at most 5, the
// smallest sum of differences, the first from the top-left on ties (inside
// the circle for the circle style). False when there is none.
bool FindInGamma(const TMyBitmap& gamma, GammaStyle style, TColor colour, int& x, int& y);
// Inverts the border of the 5 x 5 square centred on (x, y).
void InvertMarker(TMyBitmap& gamma, int x, int y);

// The cell of palette entry i in the palette picture.
TMyRect PaletteCell(int index);
// The palette entry under a point of the palette picture; -1 none.
int PaletteIndexAt(int x, int y);
// The cell of suggestion i, and of picture button i, in their rows.
TMyRect SuggestedCell(int index);
TMyRect PictureCell(int index);
int SuggestedIndexAt(int x, int y, int count);
int PictureIndexAt(int x, int y);

// The picker's state. Create one per use, set the caller's values, show.
class TColorPicker {
public:
    TColorPicker();

    // The caller's values.
    int32_t Color = 0;
    GammaStyle Style = GammaStyle::Square;
    // Ends at the first -1.
    std::array<int32_t, kSuggestedMax> Suggested{};
    bool ShowPictures = false;
    // -2 the options dialog's wood colour, -1 all play windows, 0.. one window.
    int Target = -1;
    std::string Caption;
    // Applies a choice to the target while the dialog is open.
    std::function<void(int32_t)> Apply;

    // Takes value unless it is the current choice; applies it. Returns
    // whether the choice changed.
    bool Choose(int32_t value);
    bool IsPicture() const { return IsPictureChoice(Color); }
    static bool IsPictureChoice(int32_t value) {
        return value >= kFirstPictureCode && value < kFirstPictureCode + kPictureCount;
    }
    int SuggestedCount() const;
    // The palette entry, suggestion or picture that is the current choice; -1 none.
    int PaletteIndex() const;
    int SuggestedIndex() const;
    int PictureIndex() const;

    // Pictures of the dialog's parts with their markings.
    [[nodiscard]] bool DrawPalette(TMyBitmap& out, TColor background) const;
    [[nodiscard]] bool DrawSuggested(TMyBitmap& out, TColor background) const;
    // buttons: the eight picture buttons (an empty one is drawn as a grey cell).
    [[nodiscard]] bool DrawPictures(TMyBitmap& out, TColor background,
                                    const std::array<TMyBitmap, kPictureCount>& buttons) const;
    // The gamma picture with the current colour marked when it occurs.
    [[nodiscard]] bool DrawMarkedGamma(TMyBitmap& out, TColor background) const;
};

// Decodes the eight "<name>-but.jpg" buttons of folder; a missing or broken
// file leaves its bitmap empty.
void LoadPictureButtons(const std::string& folder, std::array<TMyBitmap, kPictureCount>& buttons);

}  // namespace orvel
