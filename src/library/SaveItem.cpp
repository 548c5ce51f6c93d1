#include "library/SaveItem.h"

#include <utility>

#include "game/SavedGameFile.h"

namespace orvel {

ResultOf<TSaveItem> ReadSaveItem(const std::string& path) {
    ResultOf<TSavedGameData> read = ReadSavedGame(path, SaveReadMode::Browse);
    if (!read) return read.Status();
    TSaveItem item;
    item.Header = read.Value().Header;
    item.JigsawName = std::move(read.Value().Name);
    item.Thumb = std::move(read.Value().Thumb);
    return item;
}

}  // namespace orvel
