#include "library/SaveItem.h"

namespace orvel {

// No reader of saved games is part of the program yet: every saved game is
// listed, and shown as one that cannot be read.
ResultOf<TSaveItem> ReadSaveItem(const std::string& path) {
    return FixedText(kUnreadableSave, {}, path);
}

}  // namespace orvel
