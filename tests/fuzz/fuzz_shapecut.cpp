// A shape style 3 cut with an arbitrary shape file: the cut must finish
// without crashing, hanging or writing outside its buffers, whatever the
// drawings in the file are.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cutter/CellCutter.h"
#include "cutter/LevelTable.h"
#include "cutter/Silhouettes.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/orvel_fuzz_shapecut_" + std::to_string(getpid()) + ".dat";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    TGame game;
    GameHeader& h = game.Header;
    h.ImageW = 240;
    h.ImageH = 180;
    h.ShapeStyle = 3;
    h.BorderStyle = size % 2;
    LevelTable table;
    BuildLevelTable(table, h.ImageW, h.ImageH, 3, h.BorderStyle);
    FillHeaderFromLevel(h, table, 4 + static_cast<int>(size % 5), h.ImageW, h.ImageH,
                        h.BorderStyle);
    game.Random.Seed = static_cast<uint32_t>(size);
    game.Pieces.assign(h.TotalTileNum + 1, TPiece{});
    Silhouettes silhouettes(path);
    CutEnvironment env;
    env.pictures = &silhouettes;
    (void)CutPieces(game, env);  // any outcome is fine; only a crash or a hang is not
    return 0;
}
