#pragma once

// Putting pieces in order: arranging the loose selected pieces of a window
// in a grid, and gathering every piece back onto the first side.

#include "game/GameState.h"

namespace orvel {

// The grid n pieces are laid in within bounds width x height: about as many
// columns per row as the bounds are wider than high, and never fewer cells
// than pieces.
struct TArrangeGrid {
    int Cols = 0;
    int Rows = 0;
};
TArrangeGrid ArrangeGrid(int n, int width, int height);

// Lays the selected pieces of window that are alone in their group (the
// frame piece never) in a shuffled grid from the top-left corner of all
// selected pieces, one cell of MaskS + KnobDepth apart, closer when the
// bounds are too small for that. Returns the number of pieces laid out
// (0: nothing changed).
int ArrangeSelected(TGame& game, int window, int width, int height);

// The largest group: the longest run of one group number in ascending
// order, the earlier run on a tie. Returns a piece of it (-1 without
// pieces) and its size in size.
int LargestGroup(TGame& game, int& size);

// Puts every piece into side 0 and, when no group carries the weight, sinks
// the largest group below all others when it holds at least half of the
// pieces. Returns whether a group was sunk.
bool GatherToFirstSide(TGame& game);

}  // namespace orvel
