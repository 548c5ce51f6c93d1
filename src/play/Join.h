#pragma once

// Joining a dropped group with the neighbours it was dropped next to.

#include <cstdint>

#include "game/GameState.h"

namespace orvel {

// How close a piece must be dropped to its place beside a neighbour:
// SnapBase * stickiness / 10, to the nearest integer (halves to even). The
// offset must differ from the true one by less than this on both axes.
int SnapDistance(const GameHeader& header, int stuckKoef);

struct TJoinResult {
    int Joins = 0;
    int LastPiece = -1;  // the two pieces of the last join: one of the dropped group
    int LastOther = -1;  // and the one it found
};

// Walks the pieces of the picked piece's group (and those joining it on the
// way) in index order; each looks for the first neighbour in its rotation
// and window, outside the group, lying within snap of its true place (the
// frame piece looks for pieces on the edge of the jigsaw area instead). On a
// match the smaller group moves onto the other, the dropped one on equal
// size, the frame's group never; the dropped group's number survives. With
// mergeWood the wood edges along each new seam are removed first.
TJoinResult JoinGroups(TGame& game, int picked, int window, int snap, bool mergeWood);

// Removes the wood edge between piece and its neighbours in group, in every
// rotation the game keeps: where both edges cover a pixel only the nearer
// stays, and a piece's face hides its neighbour's edge.
void MergeWoodEdges(TGame& game, int piece, int32_t group);

// The content point the join star marks for a join of pieces r and p: the
// middle between their box centres, or with the frame, the other piece's
// edge that lies on the frame (its centre along an axis without one).
void JoinStarPoint(const TGame& game, int r, int p, int& x, int& y);

}  // namespace orvel
