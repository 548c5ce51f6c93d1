#pragma once

// A game in play as a saved game holds it, and back: the state block
// gathered from the game, the windows and the settings; a saved game
// resumed into them.

#include <array>
#include <cstdint>
#include <string>

#include "base/Result.h"
#include "game/GameState.h"
#include "game/SavedGameFile.h"
#include "play/NewGame.h"
#include "play/PlayWindow.h"
#include "settings/Settings.h"

namespace orvel {

class Platform;
class Progress;

// The two background words a saved game carries without a role.
using TBkgCarried = std::array<int32_t, 2>;

// The state block of the game in play: backgrounds, play options, the
// piece records, the pockets and the weight.
TSaveState GatherSaveState(const TGame& game, const TPlayWindows& pw, const TSettings& settings,
                           const TBkgCarried& carried);

// Everything a full save writes: the state block and the parts that never
// change while the game is played. thumb is the browser's thumbnail of the
// game; without one a small picture of the game's picture is stored.
ResultOf<TSavedGameContent> GatherSaveContent(const TGame& game, const TPlayWindows& pw,
                                              const TSettings& settings,
                                              const TBkgCarried& carried, const TMyBitmap& thumb,
                                              const std::string& description);

// Takes a resumed game's play options and backgrounds into the settings,
// the windows and the carried words.
void ApplySavedSettings(const TSaveState& state, TSettings& settings, TPlayWindows& pw,
                        TBkgCarried& carried);

// Resumes a saved game read with SaveReadMode::Resume: the old game is
// dropped, the picture and mask (relief reset, then built afresh), turned
// copies, pieces, pockets and weight are taken from data. GameLoaded is on
// afterwards and sSolve is path; the caller sorts the draw order and shows
// side 0, as after a new game.
Result ResumeSavedGame(TGame& game, TPlayWindows& pw, TSavedGameData&& data,
                       const std::string& path, const TNewGameSetup& setup, TNewGameView& view,
                       Progress& progress, Platform& platform);

}  // namespace orvel
