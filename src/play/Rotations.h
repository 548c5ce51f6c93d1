#pragma once

#include "cutter/PieceEffects.h"
#include "game/GameState.h"
#include "platform/Progress.h"

namespace orvel {

// The mask's shadow strip at its right and bottom, kept there when turned.
constexpr int kShadowMargin = 5;

// Work of the four rotations may be shared by two threads that end before
// the call returns; the buffers come out byte for byte as with one. Progress
// steps are made on the calling thread once the work is done, so no pending
// window event runs while a second thread touches the game.

// Picture buffers 1 .. 3 and mask buffers 5 .. 7 become quarter turns
// clockwise of the buffer before them; six progress steps. False when
// memory ran out for one of them.
[[nodiscard]] bool MakeTurnedCopies(TGame& game, Progress* progress, int threads);
// Releases picture buffers 1 .. 3 and mask buffers 5 .. 7.
void ReleaseTurnedCopies(TGame& game);

// ApplyPieceEffects with the rotations shared out: the same wood buffers,
// masks, piece records and progress steps.
void ApplyPieceEffectsShared(TGame& game, const EffectSettings& settings, Progress* progress,
                             int threads);

}  // namespace orvel
