#pragma once

#include "game/GameTypes.h"

namespace orvel::tool {

// Fits the header's picture into fitW x fitH (when it is to be fitted) and
// takes the level table's values for level; false when that gives too many
// pieces.
bool ChooseCut(GameHeader& header, int level, int fitW, int fitH);

}  // namespace orvel::tool
