#pragma once

#include <cstdint>
#include <string>

#include "base/Result.h"
#include "graphics/Bitmap.h"

namespace orvel {

// The knob strip: small pre-drawn knobs that the grid cutter stamps on cell
// sides of 20 to 48 pixels. Six bands of 22 rows (grid profiles 0 ... 5),
// each with 29 cells for the lengths 20 ... 48; the cell for length 20 + i is
// 21 + i pixels wide and starts at StripCellX(i). In a cell the knob outline
// is drawn in a first colour and, one row lower, in a second colour, above a
// baseline in a third colour; the four key colours (background, first,
// second, baseline) are at column 4, rows 5 ... 8.
constexpr int kStripWidth = 1015;
constexpr int kStripHeight = 132;
constexpr int kStripBand = 22;
constexpr int kStripCells = 29;
constexpr int kStripMinLength = 20;
constexpr int kStripMaxLength = 48;
inline int StripCellX(int i) { return 21 * i + i * (i - 1) / 2; }

// The file name of the strip in the program's resources/ folder.
constexpr const char* kKnobStripFile = "knobstrip.bmp";

struct StripKeys {
    TColor background = 0, outline1 = 0, outline2 = 0, baseline = 0;
};

// Draws the strip (24-bit, 16 palette colours) from the grid profiles 0 ... 5,
// each at StripKnobDepth of the cell's length.
bool DrawKnobStrip(TMyBitmap& strip);

// The depth of the stamped knobs for sides of len pixels: the smallest
// KnobDepth of the tile sizes len - kStripTileSpan ... len. Grid cells are
// TileS plus the free width shared among the columns (rows), at most 4
// pixels more for pictures of at least 560 x 560, so no stamp reaches past
// the piece's box (cell plus KnobDepth) there.
constexpr int kStripTileSpan = 4;
int StripKnobDepth(int len);
// The palette the strip is drawn with (16 colours).
const TColor* KnobStripPalette();

// Loads resources/knobstrip.bmp (any depth the BMP reader takes) as 24-bit;
// fails as the picture loaders do, or when the strip has the wrong size.
Result LoadKnobStrip(TMyBitmap& strip, const std::string& resourcesDir);

StripKeys ReadStripKeys(const TMyBitmap& strip);
// StripTop[i]: background pixels above the first other pixel in column
// StripCellX(i), rows 0 ... i + 19; 0 when there is none.
void MeasureStripTop(const TMyBitmap& strip, const StripKeys& keys, int32_t stripTop[kStripCells]);

}  // namespace orvel
