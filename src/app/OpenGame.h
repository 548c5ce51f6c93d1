#pragma once

// What opening a jigsaw needs around the new game itself: the play area the
// sides fill, the cut chosen for a jigsaw from the player's default choices,
// and the thumbnail window's picture.

#include <string>

#include "base/Result.h"
#include "game/GameTypes.h"
#include "graphics/Bitmap.h"
#include "platform/Platform.h"
#include "play/PlayWindow.h"
#include "play/Sides.h"
#include "settings/Settings.h"

namespace orvel {

// In full screen the window's client less the toolbar; otherwise the work
// area less the window's frame, caption and toolbar.
TPlayArea ComputePlayArea(const ScreenMetrics& sm, bool fullScreen, int windowW, int windowH);

// A jigsaw as the player would open it: the file's header with the cut
// chosen, and its thumbnail.
struct TJigsawChoice {
    GameHeader Header;
    TMyBitmap Thumb;
    // The browser's seed field: offered, and what was typed into it.
    bool SeedShown = false;
    std::string SeedText;
};

// Reads a jigsaw's header and thumbnail and chooses its cut from the
// choices: the picture fitted into fitW x fitH when fitting, the level
// table's values for that size. Refuses a file that is no valid jigsaw
// ("Invalid Jigsaw") and a picture too small for the level or cut into too
// many pieces, before any game is touched.
// The player's default cut as the settings keep it.
TCutChoices DefaultCut(const TSettings& s);

ResultOf<TJigsawChoice> ChooseDefaultCut(const std::string& path, const TCutChoices& choices,
                                         int fitW, int fitH);

// Scales picture into the top-left client-sized part of the thumbnail
// window's buffer (never beyond the buffer).
void PaintThumbnail(TMyBitmap& buffer, const TMyWin& thumbWin, const TMyBitmap& picture);

}  // namespace orvel
