#pragma once

#include <functional>
#include <string>

#include "game/GameState.h"
#include "play/PlayWindow.h"

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

}  // namespace orvel
