#pragma once

// Collecting the edge pieces: every loose piece that lies on the picture's
// outer edge goes into one pocket, laid out in a grid there.

#include <vector>

#include "game/GameState.h"

namespace orvel {

// By piece index: 1 for the pieces on the picture's outer edge. With a
// border these are the frame piece's neighbours (the pieces whose neighbour
// list names it); without one, the pieces whose area on the mask reaches a
// side of the picture. The frame piece itself is never an edge piece.
std::vector<uint8_t> EdgePieceFlags(const TGame& game);

// The edge pieces that are alone in their group, in piece order, without
// the frame piece and the piece carrying the weight.
std::vector<int> LooseEdgePieces(TGame& game);

struct TEdgeSortResult {
    int Moved = 0;            // pieces laid into the pocket
    uint8_t FromWindows = 0;  // bit w: window w lost pieces to the pocket
};

// Moves the loose edge pieces not yet in the pocket window (MW_POCKET0 ..
// MW_POCKET3) into it and lays them out there by the arrange rule within
// width x height, below the pocket's other pieces. Rotations stay as they are. The
// selection flags of all pieces are cleared (callers drop a selection first).
// Runs no change step.
TEdgeSortResult SortEdgesIntoPocket(TGame& game, int pocket, int width, int height);

}  // namespace orvel
