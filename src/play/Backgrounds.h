#pragma once

// The backgrounds of the sides and pockets: a colour, or one of eight
// background pictures ("parquet", "stucco1", ...) by the codes 10 .. 17.
// One picture is loaded at a time, as large as the field it covers.

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "graphics/Bitmap.h"

namespace orvel {

// The six windows with a background: the sides and the four pockets.
constexpr int kBackgroundWindows = 6;
using TBackgroundValues = std::array<int32_t, kBackgroundWindows>;

// The picture's name of a code 10 .. 17; empty for any other value.
std::string BackgroundPictureName(int32_t code);
// The large tile of a picture code, relative to the program's folder.
std::string BackgroundPicturePath(int32_t code);

// The loaded background picture and its code (0: none).
struct TBackgroundPicture {
    TMyBitmap Picture;
    int32_t Code = 0;
};

// Loads the picture of code from programDir and repeats it over width x
// height (its tiles are seamless), unless that picture is already loaded at
// that size. False for a missing or broken file or too little memory: then
// nothing is loaded.
bool LoadBackgroundPicture(TBackgroundPicture& bkg, const std::string& programDir, int32_t code,
                           int width, int height);

// Only one picture can show at a time: the first picture code among the
// values stays, other picture codes become the default grey, and so does
// the first one when load refuses it.
void ResolveBackgrounds(TBackgroundValues& values, const std::function<bool(int32_t)>& load);

}  // namespace orvel
