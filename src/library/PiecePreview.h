#pragma once

// The level page's pictures of one piece: the sample piece of a shape style
// cut from the shape-mask strip, bevelled over the background.

#include "graphics/Bitmap.h"

namespace orvel {

// The strip: seven cells of 164 x 168 pixels, cell i from x = i * 165 + 1;
// piece pixels 255, others 0.
constexpr int kShapeCellW = 164;
constexpr int kShapeCellH = 168;
constexpr int kShapeCellStep = 165;
constexpr int kShapeStripW = 7 * kShapeCellStep + 1;
constexpr int kShapeStripH = kShapeCellH;
// The tile size the strip's pieces are drawn at, and the one of the shape pictures.
constexpr int kShapeStripTile = 128;
constexpr int kShapePictureTile = 48;
constexpr int kBevel = 30;
// The rims are two pixels wide, so the piece reads at the small sizes the
// page shows it at.
constexpr int kBevelWidth = 2;

// The size the piece of a tileS piece takes: scaled from 164 x 168 at tile
// size 128, but never larger than the cell.
void PreviewPieceSize(int tileS, int& w, int& h);

// background with the sample piece of shape centred on it: piece pixels keep
// the background's colour, lighter by kBevel on their left and top rims and
// darker on their right and bottom rims (kBevelWidth wide).
TMyBitmap PiecePreview(const TMyBitmap& strip, int shape, int tileS, const TMyBitmap& background);

// The background the pieces are shown on: a soft wooden tone.
TMyBitmap ShapeBackground(int w, int h);

}  // namespace orvel
