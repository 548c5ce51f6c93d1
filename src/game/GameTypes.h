#pragma once

#include <cstddef>
#include <cstdint>

namespace orvel {

// Window numbers a piece names its window by.
enum : uint8_t {
    MW_SIDE0 = 0,
    MW_SIDE1 = 1,
    MW_POCKET0 = 2,
    MW_POCKET1 = 3,
    MW_POCKET2 = 4,
    MW_POCKET3 = 5,
    MW_THUMB = 6,
};

// The game header. Stored byte for byte in saved games: the layout is a file format.
#pragma pack(push, 1)
struct GameHeader {
    int32_t GameSeed = 0;
    int32_t MaskS = 0;       // (TileS - 20) div 4 * 6 + 28
    int32_t TileS = 0;       // nominal piece size in pixels
    int32_t KnobDepth = 0;   // (MaskS - TileS) div 2
    int32_t SnapBase = 0;    // max(KnobDepth div 2, 4)
    int32_t TilePX = 0;      // grid columns
    int32_t TilePY = 0;      // grid rows
    int32_t TileNum = 0;     // TilePX * TilePY
    int32_t PicPX = 0;       // silhouette grid (shape style 3 only)
    int32_t PicPY = 0;
    int32_t PicNum = 0;
    int32_t TotalTileNum = 0;  // pieces in play (+1 with the frame piece)
    int32_t ImageW = 0;
    int32_t ImageH = 0;
    int32_t FitW = 0;
    int32_t FitH = 0;
    int32_t JigsL = 0;
    int32_t JigsT = 0;
    int32_t JigsR = 0;  // inclusive
    int32_t JigsB = 0;  // inclusive
    int32_t Level = 0;
    uint8_t Rotate = 0;
    uint8_t BorderStyle = 0;
    uint8_t ShapeStyle = 0;
    uint8_t SpreadOut = 0;
    uint8_t FitToScreen = 0;
    uint8_t Reserved89[3] = {0, 0, 0};
    int32_t SideNum = 0;
    int32_t SideCur = 0;
    int32_t NameCode = 0;
    int32_t Reserved104 = 0;
    int32_t EntryOffsets[3] = {0, 0, 0};
};

// One piece. Stored byte for byte in saved games: the layout is a file format.
struct TPiece {
    int32_t posX = 0;
    int32_t posY = 0;
    int32_t group = 0;
    uint8_t window = 0;
    uint8_t rotation = 0;  // quarter turns clockwise
    uint8_t selected = 0;
    uint8_t reserved15 = 0;
    int32_t cellX = 0, cellY = 0, cellW = 0, cellH = 0;
    int32_t boxX = 0, boxY = 0, boxW = 0, boxH = 0;
    int32_t srcX = 0;
    int32_t srcY = 0;
    int32_t rotW = 0;
    int32_t rotH = 0;
    int32_t reliefSlot = 0;
    int32_t reliefCode = 0;
    int32_t cornerR = 0;
    int32_t cornerB = 0;
    int32_t seedX = 0;
    int32_t seedY = 0;
    uint8_t isPicture = 0;
    uint8_t reserved89 = 0;
    int16_t neighbours[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    uint8_t MaskCode = 0;
    uint8_t JoinBit = 0;
    uint8_t reserved110[2] = {0, 0};
};
#pragma pack(pop)

static_assert(sizeof(GameHeader) == 120);
static_assert(offsetof(GameHeader, GameSeed) == 0);
static_assert(offsetof(GameHeader, MaskS) == 4);
static_assert(offsetof(GameHeader, TileS) == 8);
static_assert(offsetof(GameHeader, KnobDepth) == 12);
static_assert(offsetof(GameHeader, SnapBase) == 16);
static_assert(offsetof(GameHeader, TilePX) == 20);
static_assert(offsetof(GameHeader, TilePY) == 24);
static_assert(offsetof(GameHeader, TileNum) == 28);
static_assert(offsetof(GameHeader, PicPX) == 32);
static_assert(offsetof(GameHeader, PicPY) == 36);
static_assert(offsetof(GameHeader, PicNum) == 40);
static_assert(offsetof(GameHeader, TotalTileNum) == 44);
static_assert(offsetof(GameHeader, ImageW) == 48);
static_assert(offsetof(GameHeader, ImageH) == 52);
static_assert(offsetof(GameHeader, FitW) == 56);
static_assert(offsetof(GameHeader, FitH) == 60);
static_assert(offsetof(GameHeader, JigsL) == 64);
static_assert(offsetof(GameHeader, JigsT) == 68);
static_assert(offsetof(GameHeader, JigsR) == 72);
static_assert(offsetof(GameHeader, JigsB) == 76);
static_assert(offsetof(GameHeader, Level) == 80);
static_assert(offsetof(GameHeader, Rotate) == 84);
static_assert(offsetof(GameHeader, BorderStyle) == 85);
static_assert(offsetof(GameHeader, ShapeStyle) == 86);
static_assert(offsetof(GameHeader, SpreadOut) == 87);
static_assert(offsetof(GameHeader, FitToScreen) == 88);
static_assert(offsetof(GameHeader, Reserved89) == 89);
static_assert(offsetof(GameHeader, SideNum) == 92);
static_assert(offsetof(GameHeader, SideCur) == 96);
static_assert(offsetof(GameHeader, NameCode) == 100);
static_assert(offsetof(GameHeader, Reserved104) == 104);
static_assert(offsetof(GameHeader, EntryOffsets) == 108);

static_assert(sizeof(TPiece) == 112);
static_assert(offsetof(TPiece, posX) == 0);
static_assert(offsetof(TPiece, posY) == 4);
static_assert(offsetof(TPiece, group) == 8);
static_assert(offsetof(TPiece, window) == 12);
static_assert(offsetof(TPiece, rotation) == 13);
static_assert(offsetof(TPiece, selected) == 14);
static_assert(offsetof(TPiece, reserved15) == 15);
static_assert(offsetof(TPiece, cellX) == 16);
static_assert(offsetof(TPiece, cellY) == 20);
static_assert(offsetof(TPiece, cellW) == 24);
static_assert(offsetof(TPiece, cellH) == 28);
static_assert(offsetof(TPiece, boxX) == 32);
static_assert(offsetof(TPiece, boxY) == 36);
static_assert(offsetof(TPiece, boxW) == 40);
static_assert(offsetof(TPiece, boxH) == 44);
static_assert(offsetof(TPiece, srcX) == 48);
static_assert(offsetof(TPiece, srcY) == 52);
static_assert(offsetof(TPiece, rotW) == 56);
static_assert(offsetof(TPiece, rotH) == 60);
static_assert(offsetof(TPiece, reliefSlot) == 64);
static_assert(offsetof(TPiece, reliefCode) == 68);
static_assert(offsetof(TPiece, cornerR) == 72);
static_assert(offsetof(TPiece, cornerB) == 76);
static_assert(offsetof(TPiece, seedX) == 80);
static_assert(offsetof(TPiece, seedY) == 84);
static_assert(offsetof(TPiece, isPicture) == 88);
static_assert(offsetof(TPiece, reserved89) == 89);
static_assert(offsetof(TPiece, neighbours) == 90);
static_assert(offsetof(TPiece, MaskCode) == 108);
static_assert(offsetof(TPiece, JoinBit) == 109);
static_assert(offsetof(TPiece, reserved110) == 110);

// How a jigsaw is cut, as the player chooses it (also the player's defaults).
struct TCutChoices {
    int Level = 6;
    bool Rotate = false;
    int BorderStyle = 0;
    int ShapeStyle = 3;
    int SpreadOut = 0;
    bool FitToScreen = true;
};

// Writes the choices other than the level into a header (the level is fitted
// to the picture by the caller).
inline void ApplyCutChoices(GameHeader& h, const TCutChoices& c) {
    h.Rotate = c.Rotate ? 1 : 0;
    h.BorderStyle = static_cast<uint8_t>(c.BorderStyle);
    h.ShapeStyle = static_cast<uint8_t>(c.ShapeStyle);
    h.SpreadOut = static_cast<uint8_t>(c.SpreadOut);
    h.FitToScreen = c.FitToScreen ? 1 : 0;
}

// The game's one random generator: a 32-bit linear congruential generator
// (multiplier 134775813, increment 1). RandInt(n) is the upper half of the
// 64-bit product state * n, so it lies in 0 .. n - 1.
struct TRandom {
    uint32_t Seed = 0;

    int RandInt(int n) {
        Seed = Seed * 134775813u + 1u;
        return static_cast<int>((static_cast<uint64_t>(Seed) * static_cast<uint32_t>(n)) >> 32);
    }
};

}  // namespace orvel
