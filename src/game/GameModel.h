#pragma once

#include <cstdint>
#include <functional>

#include "game/GameState.h"

namespace orvel {

class Platform;

// Largest piece table AllocPieces accepts: neighbour indices are 16-bit.
constexpr int kMaxPieces = 32767;

// Number of pieces in play: TotalTileNum, limited to the table actually held.
int PiecesInPlay(const TGame& game);

// (Re)allocates the piece table (n default records, neighbours -1) and the
// draw order (n pairs); the old ones are freed first. Refuses a negative n or
// one above kMaxPieces and then leaves both tables empty.
bool AllocPieces(TGame& game, int n);
void FreePieces(TGame& game);

// Rebuilds DrawOrder with pair i = (group of piece i, i) for every piece in
// play and puts it in the order the plain exchange sort gives:
//   for j = 0 .. n-2, for k = j+1 .. n-1: exchange j and k when
//   group[k] < group[j] (ascending) or group[j] < group[k] (descending).
// That sort is not stable; its order among equal groups is the drawing and
// hit-test order, so it is reproduced exactly. The sorted orders are cached
// per direction and reused while every group equals the one it was sorted
// with, so a drawing pass or hit test over unchanged groups costs O(n).
void SortOrder(TGame& game, bool descending);

// Moves the group of piece to the top of the stacking order, unless that
// group carries the weight: its pieces get TotalTileNum - 1 and every higher
// group number drops by one.
void BringGroupToTop(TGame& game, int piece);
// Moves every selected piece above all groups and renumbers all groups
// densely from 0 in ascending order. Leaves DrawOrder sorted ascending.
void BringSelectionToTop(TGame& game);
// Moves the group of WeightPiece under all others (group 0); the groups below
// it move up by one. Leaves DrawOrder sorted ascending. No-op without weight.
void SinkWeightedGroup(TGame& game);

// Number of groups with a piece in window; sorts ascending first when asked.
int GroupCount(TGame& game, int window, bool sortFirst);

struct TSolvedStats {
    int iUnsolvedNum = -1;
    int iSolvedPercent = -1;
};
// Both -1 when no game is loaded. Sorts the draw order ascending.
TSolvedStats SolvedStats(TGame& game);

// The solved test: when every piece 1 .. TotalTileNum-1 has the group of
// piece 0 and rotation 0, sets Solved and runs onSolved (the finish
// sequence). Does nothing once Solved is set. Returns whether it just solved.
bool CheckSolved(TGame& game, const std::function<void()>& onSolved);

struct TRotatedBox {
    int32_t srcX = 0;
    int32_t srcY = 0;
    int32_t rotW = 0;
    int32_t rotH = 0;
};
// The box of piece p in the picture and mask buffers turned rotation quarter
// turns clockwise (mask buffers being ImageW + 5 by ImageH + 5 upright).
TRotatedBox RotatedBox(const GameHeader& header, const TPiece& p, int rotation);
// Stores RotatedBox for the piece's own rotation into srcX, srcY, rotW, rotH.
void UpdateRotatedBox(TGame& game, int piece);

// The change step every operation on positions, groups, windows or rotation
// ends with: the game needs saving and autosaving.
void MarkChanged(TGame& game);

// Clears the interaction state for a game being opened: GameLoaded off,
// PickedPiece and WeightPiece -1, no drag, no selection, not solved. The
// opener fills the tables, restores a saved weight and sets GameLoaded.
void ResetInteraction(TGame& game);

// Seeds the game's random generator at program start: the low 32 bits of the
// high-resolution counter, or the millisecond tick count when the counter is
// unavailable (reads 0).
void SeedRandomAtStart(TGame& game, Platform& platform);

}  // namespace orvel
