// The cut a jigsaw gets from the player's choices, kept apart from the
// settings' headers: both they and the level table name kLevelCount.
#include "HeadlessCut.h"

#include "cutter/LevelTable.h"
#include "game/JigsawFile.h"

namespace orvel::tool {

bool ChooseCut(GameHeader& h, int level, int fitW, int fitH) {
    FitPictureSize(h, fitW, fitH);
    const int w = h.FitToScreen ? h.FitW : h.ImageW, ht = h.FitToScreen ? h.FitH : h.ImageH;
    LevelTable table;
    BuildLevelTable(table, w, ht, h.ShapeStyle, h.BorderStyle);
    return FillHeaderFromLevel(h, table, level, w, ht, h.BorderStyle);
}

}  // namespace orvel::tool
