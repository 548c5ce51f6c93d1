#pragma once

#include <cstdint>
#include <vector>

#include "base/Result.h"
#include "cutter/CellTypes.h"
#include "cutter/CutMessages.h"
#include "cutter/Knob.h"
#include "cutter/PicturePieces.h"
#include "game/GameState.h"
#include "platform/Progress.h"

namespace orvel {

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
    Progress* progress = nullptr;       // may be nullptr
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
    // What the player is told, in order; a failed cut ends with its failure.
    std::vector<TError> messages;
    TMyBitmap work;  // the work mask
    JigsArea area;
    std::vector<CutSite> sites;  // one per grid cell, row-major
    std::vector<CutSite> saved;  // the relaxed cells every drawing attempt starts from
    std::vector<HullEdge> hull;  // triangulation edge list
    KnobTable profiles;
    KnobContext knobs;
    KnobFlag KnobFlags = KnobFlag::None;
    ShapeList PrimaryShapes;
    ShapeList FallbackShapes;
    bool usePictures = false;  // style 3 with silhouettes loaded
    // Per piece: no silhouette in the further drawing attempts of this
    // layout (it was next to a piece an attempt could not fill).
    std::vector<uint8_t> noPicture;

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

// The sites of the cell cut: one per grid cell, in row-major order, drawn
// with the game's generator (c.sites, c.area and the grid cells must be set).
void PlaceSites(CellCutState& c);

// The rooms of a shared side's two seeds (their distances from its line),
// each given to the side of the knob it belongs to: ownRoom and nbRoom are
// exchanged when the own seed lies on the side the knob drawing takes as
// the neighbour's. The edge's ends are rounded, the start the upper one.
void PlaceRooms(const CellEdge& e, KnobPoint ownSeed, double& ownRoom, double& nbRoom);

// Both cutters fill mask buffer 4 and the piece records, and show nothing
// themselves: the result carries what the player is to be told, in order
// (the notes, then the error of a failed cut), and the caller shows it. A
// failed cut keeps its pieces as they are:
// - the cell cutter: kFirstEdgeFailed when the cells cannot be built; when
//   a piece cannot be filled, kPaintErrorLine (index and seed of the last
//   such piece) then kPaintErrorKey; a joining failure of the silhouettes,
//   kPaintErrorKey alone;
// - the grid cutter: kNotCutProperly, after kPaintErrorLine when a fill failed.
// A successful cut may carry notes too (a damaged shape data file).

// The cell cutter for shape styles 0 to 3.
Result CutPieces(TGame& game, const CutEnvironment& env);

// The grid cutter for shape styles 4 and above (values of 7 and above act as 6).
// knobStrip is the 8-bit knob strip picture (or 24-bit; see KnobStrip.h).
Result CutGrid(TGame& game, const CutEnvironment& env, const TMyBitmap& knobStrip);

}  // namespace orvel
