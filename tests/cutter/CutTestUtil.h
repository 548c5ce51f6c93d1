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

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace orvel::test {

// The piece table as the tool writes it (one record per line).
inline std::string PiecesJson(const TGame& game) {
    std::string out = "[\n";
    const int n = game.Header.TotalTileNum;
    for (int i = 0; i < n; ++i) {
        const TPiece& p = game.Pieces[i];
        char line[512];
        std::snprintf(line, sizeof line,
                      "  {\"index\": %d, \"cellX\": %d, \"cellY\": %d, \"cellW\": %d, \"cellH\": %d, \"boxX\": %d, "
                      "\"boxY\": %d, \"boxW\": %d, \"boxH\": %d, \"seedX\": %d, \"seedY\": %d, \"neighbours\": [%d, %d, "
                      "%d, %d, %d, %d, %d, %d, %d], \"MaskCode\": %d, \"JoinBit\": %d, \"isPicture\": %d}%s\n",
                      i, p.cellX, p.cellY, p.cellW, p.cellH, p.boxX, p.boxY, p.boxW, p.boxH, p.seedX, p.seedY,
                      p.neighbours[0], p.neighbours[1], p.neighbours[2], p.neighbours[3], p.neighbours[4],
                      p.neighbours[5], p.neighbours[6], p.neighbours[7], p.neighbours[8], p.MaskCode, p.JoinBit,
                      p.isPicture, i + 1 < n ? "," : "");
        out += line;
    }
    return out + "]\n";
}

inline uint64_t TextHash(const std::string& s) {
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : s) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

inline bool ReadText(const std::string& path, std::string& out) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::stringstream ss;
    ss << f.rdbuf();
    out = ss.str();
    return true;
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

inline bool UpdateGoldens() { return std::getenv("ORVEL_UPDATE_GOLDENS") != nullptr; }

// A golden index: one line per case, its name, then the rest of the line.
inline bool ReadGoldenIndex(const std::string& path, std::map<std::string, std::string>& stored) {
    std::string text;
    if (!ReadText(path, text)) return false;
    std::istringstream in(text);
    std::string name, rest;
    while (in >> name && std::getline(in, rest)) stored[name] = rest;
    return true;
}

}  // namespace orvel::test
