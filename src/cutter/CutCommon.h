#pragma once

#include <string>

#include "cutter/CellCutter.h"

namespace orvel {

// Pieces shared by the cell cutter and the grid cutter.
namespace cutcommon {

// Checks the header for a cut: a grid of at least one cell that fits the
// picture, and a piece count the neighbour lists can name.
bool HeaderUsable(const GameHeader& h);

// The work mask: the picture area white, the 5-pixel strips right and below black.
bool CreateWorkMask(TMyBitmap& work, int imageW, int imageH);
void ClearWorkMask(TMyBitmap& work, int imageW, int imageH);

// Grows the piece's box to include the inclusive rectangle.
void IncludeInBox(TPiece& p, int left, int top, int right, int bottom);

// The hole scan over the rectangle (x0, y0) .. (x1, y1), inclusive, clipped
// to the picture: white pixels touching the piece colour take it. Returns
// the tight box of the piece colour seen, including all it painted (found =
// false when none), and grows painted, when given, over what it painted
// (a fill from a hole may run beyond the rectangle).
void FillHoles(TMyBitmap& work, int imageW, int imageH, int x0, int y0, int x1, int y1, TColor color,
               bool& found, int& left, int& top, int& right, int& bottom,
               KnobRect* painted = nullptr);

// Appends the border frame piece at index TileNum.
void AppendFramePiece(TGame& game);

// The fixed line naming the last piece that could not be filled.
TError PaintErrorLine(int index, int x, int y);
// The translated text that ends a cell cut whose pieces could not be made.
TError PaintError();
// The cut's messages as its result: a failed cut's last message is the
// error and the ones before it are notes; a successful cut keeps them all
// as notes.
Result CutOutcome(std::vector<TError> messages, bool failed);

}  // namespace cutcommon
}  // namespace orvel
