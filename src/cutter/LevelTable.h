#pragma once

#include <cstdint>

#include "base/Levels.h"
#include "game/GameTypes.h"

namespace orvel {

constexpr int kMaxPlayablePieces = 4000;

// The first fields of the game header, computed for one tile size.
struct LevelRecord {
    int32_t MaskS = 0;
    int32_t TileS = 0;
    int32_t KnobDepth = 0;
    int32_t TilePX = 0;
    int32_t TilePY = 0;
    int32_t TileNum = 0;
    int32_t PicPX = 0;
    int32_t PicPY = 0;
    int32_t PicNum = 0;
    int32_t TotalTileNum = 0;
};

struct LevelTable {
    LevelRecord level[kLevelCount];
};

// The record for one tile size (at least 1) on a W x H picture.
LevelRecord ComputeLevelRecord(int tileS, int w, int h, int shapeStyle, int borderStyle);

// The fourteen piece-size levels: level 0 the smallest TileS of at least 20
// with at most 3999 pieces, level 13 about 16 pieces, the ones between on a
// geometric scale of TileS.
void BuildLevelTable(LevelTable& table, int w, int h, int shapeStyle, int borderStyle);

// Fills MaskS ... TotalTileNum of the header from the level's record as the
// browser does (the cutter completes the rest). Returns the OK state: true
// when TotalTileNum is at most 4000.
bool FillHeaderFromLevel(GameHeader& header, const LevelTable& table, int level, int w, int h,
                         int borderStyle);

}  // namespace orvel
