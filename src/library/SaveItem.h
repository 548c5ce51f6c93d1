#pragma once

// What the browser reads of a saved game: the game's header, its jigsaw's
// name and its thumbnail. The one place the browser reaches saved-game files.

#include <string>

#include "base/Result.h"
#include "game/GameTypes.h"
#include "graphics/Bitmap.h"

namespace orvel {

struct TSaveItem {
    GameHeader Header;
    std::string JigsawName;
    TMyBitmap Thumb;
};

// Reads the header and thumbnail of the saved game at path.
ResultOf<TSaveItem> ReadSaveItem(const std::string& path);

}  // namespace orvel
