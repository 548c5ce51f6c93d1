#pragma once

#include <functional>
#include <string>

#include "game/GameState.h"
#include "play/PlayWindow.h"
#include "play/Sides.h"

namespace orvel {

class Platform;

// A pocket's caption in the player's language for pocket number 1 .. 4 and
// its group count.
using PocketCaptionFn = std::function<std::string(int pocket, int groups)>;

// The pocket's content size: the right and bottom edges of its pieces,
// held to its largest client size (when it has one); then laid out.
void PocketContent(const TGame& game, TMyWin& pocket);

// Empties the four pockets' bookkeeping: group count 0, hidden, caption
// refreshed (when caption is given) and content size recomputed.
void ResetPockets(TPlayWindows& pw, const TGame& game, const PocketCaptionFn& caption,
                  Platform& platform);

// The outer rectangle a pocket shown while empty gets: a quarter of the play
// area, at the right edge, or 40 pixels left of and below the visible pocket
// furthest left that lies lower than the ones before it.
TMyRect NewPocketPlace(const TPlayWindows& pw, const TPlayArea& area, int pocket);

// Lays the visible pockets out along the right edge of the play area: tiled
// one above the other, or cascaded 30 pixels left and 34 down from each
// other. Each comes to the front in id order. Returns how many there are.
int TilePockets(TPlayWindows& pw, const TPlayArea& area);
int CascadePockets(TPlayWindows& pw, const TPlayArea& area);

}  // namespace orvel
