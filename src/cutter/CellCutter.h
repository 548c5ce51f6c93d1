#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cutter/CellTypes.h"
#include "cutter/Knob.h"
#include "cutter/PicturePieces.h"
#include "game/GameState.h"
#include "platform/Platform.h"
#include "platform/Progress.h"

namespace orvel {

// Looks up a translated text by section and key (a missing key yields the key).
using TextLookup = std::function<std::string(const std::string& section, const std::string& key)>;

// A list of profile numbers.
struct ShapeList {
    int32_t items[50] = {};
    int32_t count = 0;
    void Set(std::initializer_list<int> values) {
        count = 0;
        for (int v : values) items[count++] = v;
    }
};

// What a cut needs besides the game state.
struct CutEnvironment {
    Platform* platform = nullptr;   // message boxes; nullptr shows none
    Progress* progress = nullptr;   // may be nullptr
    TextLookup text;                // may be empty: keys stand for themselves
    PicturePieces* pictures = nullptr;  // shape style 3 silhouettes, may be nullptr
};

// The piece colour on the mask: red 128 (neutral relief), green 0, blue MaskCode.
inline TColor PieceColor(uint8_t maskCode) { return RgbToColor(128, 0, maskCode); }
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kFrameColor = 0x050080;  // red 128, green 0, blue 5

// MaskCode and JoinBit by the piece's grid cell.
uint8_t MaskCodeFor(int row, int col);
uint8_t JoinBitFor(int row, int col);

// The working state of one cell cut. Everything in it is freed when the cut returns.
struct CellCutState {
    TGame& game;
    CutEnvironment env;
    TMyBitmap work;  // the work mask
    JigsArea area;
    std::vector<CutSite> sites;  // one per grid cell, row-major
    std::vector<CutSite> saved;  // the relaxed cells every drawing attempt starts from
    std::vector<HullEdge> hull;  // triangulation edge list
    KnobTable profiles;
    KnobContext knobs;
    int32_t KnobFlags = 0;
    ShapeList PrimaryShapes;
    ShapeList FallbackShapes;
    bool usePictures = false;  // style 3 with silhouettes loaded

    CellCutState(TGame& g, const CutEnvironment& e) : game(g), env(e) {}
    GameHeader& H() { return game.Header; }
    void Step() {
        if (env.progress) env.progress->StepProgress();
    }
};

// Sets the jigsaw area in the header and lays out the grid cells, MaskCode,
// JoinBit, boxes (cell plus KnobDepth towards neighbouring cells), neighbours
// -1 and isPicture 0 for pieces 0 .. TileNum - 1.
void LayGridCells(TGame& game);

// The cell cutter for shape styles 0 to 3: fills mask buffer 4 and the piece
// records. Returns false when the cut failed (the messages were shown).
bool CutPieces(TGame& game, const CutEnvironment& env);

// The grid cutter for shape styles 4 and above (values of 7 and above act as 6).
// knobStrip is the 8-bit knob strip picture (or 24-bit; see KnobStrip.h).
bool CutGrid(TGame& game, const CutEnvironment& env, const TMyBitmap& knobStrip);

}  // namespace orvel
