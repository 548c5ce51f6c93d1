#pragma once

#include <cstdint>
#include <string>

#include "cutter/CellCutter.h"
#include "cutter/LevelTable.h"
#include "game/GameState.h"
#include "platform/FakePlatform.h"

namespace orvel::test {

// A game header for a w x h picture at a level, as the browser fills it.
inline void SetUpGame(TGame& game, int w, int h, int level, int shape, int border, uint32_t seed) {
    game = TGame{};
    GameHeader& hd = game.Header;
    hd.ImageW = w;
    hd.ImageH = h;
    hd.ShapeStyle = static_cast<uint8_t>(shape);
    hd.BorderStyle = static_cast<uint8_t>(border);
    LevelTable table;
    BuildLevelTable(table, w, h, shape, border);
    FillHeaderFromLevel(hd, table, level, w, h, border);
    hd.GameSeed = static_cast<int32_t>(seed);
    game.Random.Seed = seed;
    game.Pieces.assign(hd.TotalTileNum + 1, TPiece{});
}

// FNV-1a over the mask's pixel rows (without row padding).
inline uint64_t MaskHash(const TMyBitmap& m) {
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < m.Height; ++y) {
        const uint8_t* row = RowPtr(m, y);
        for (int i = 0; i < m.Width * m.BytesPerPixel; ++i) {
            hash ^= row[i];
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

}  // namespace orvel::test
