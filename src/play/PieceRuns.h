#pragma once

// What drawing a piece reads from the picture, the mask and the wood
// buffer, gathered once for the way the piece lies: row by row, the runs of
// its face with their colours (the relief already added), and the runs of
// its wood edge with their distances. Drawing then copies runs instead of
// testing every pixel of the piece's box against three scattered buffers.
//
// The runs stay true while the buffers are those of one build of the
// effects (TGame::EffectsStamp) and no join has changed the wood under the
// piece's box since they were gathered (TGame::WoodChanges).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/GameState.h"
#include "graphics/Bitmap.h"

namespace orvel {

// A channel of a face pixel with the relief (the mask's red byte, 128 for
// none) added.
inline uint8_t AddRelief(int channel, uint8_t relief) {
    const int v = channel + relief - 128;
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// A part (X, Y, Width, Height) of a piece's enlarged box, in box coordinates.
struct TPieceSpan {
    int X = 0, Y = 0, Width = 0, Height = 0;
};

// The parts of the enlarged box (rotW + edge) x (rotH + edge) a piece
// draws: the whole box, or for the frame its four strips, each carrying
// its share of the edge band. Returns the count written to spans.
int PieceSpans(int rotW, int rotH, int edge, bool frame, TPieceSpan spans[4]);

// Everything the runs of a piece depend on besides the buffers' content.
struct TRunsKey {
    int Rotation = 0;
    int SrcX = 0, SrcY = 0;    // the box's top-left in the rotation's buffers
    int RotW = 0, RotH = 0;    // the box
    int FaceW = 0, FaceH = 0;  // the part of the box inside the picture
    int Edge = 0;              // the edge width the box is enlarged by
    unsigned Code = 0;         // the piece's mask code
    unsigned Bit = 0;          // its wood class bit
    int Shift = 0;             // and the place of its 3-bit distance in the wood word
    bool Frame = false;
    bool Relief = false;  // whether the face colours take the relief
    bool Wood = false;    // whether an edge is drawn from a wood buffer at all
    bool operator==(const TRunsKey&) const = default;
};

// One run of pixels in a row of the box.
struct TPixelRun {
    uint16_t X = 0;
    uint16_t Length = 0;
};

// Where the runs of one row of the box start.
struct TRunsRow {
    uint32_t Face = 0;    // the row's face runs are Runs[Face, Edge)
    uint32_t Edge = 0;    // its edge runs Runs[Edge, next row's Face)
    uint32_t Colour = 0;  // the colour of its first face pixel in Colours
    uint32_t Shade = 0;   // the distance of its first edge pixel in Shades
};

struct TPieceRuns {
    bool Built = false;
    TRunsKey Key;
    size_t WoodChangesSeen = 0;  // the game's wood changes checked against the box
    std::vector<TRunsRow> Rows;  // rotH + edge rows, and one closing entry
    std::vector<TPixelRun> Runs;
    std::vector<uint8_t> Colours;  // blue, green, red of each face pixel, in run order
    std::vector<uint8_t> Shades;   // the wood distance (1 ... 7) of each edge pixel
};

// The buffers of one rotation the runs are gathered from.
struct TRunsSource {
    const TMyBitmap* Picture = nullptr;
    const TMyBitmap* Mask = nullptr;
    const TGame::WoodBuffer* Wood = nullptr;  // read only when the key has Wood
};

// Gathers the runs of a piece within the spans its key gives: face pixels
// lie inside FaceW x FaceH and hold the code in the mask; edge pixels are
// the others whose wood word has the piece's class bit and a distance other
// than 0. Pixels outside the mask are left out. Reuses out's memory.
void BuildPieceRuns(const TRunsSource& source, const TRunsKey& key, TPieceRuns& out);

// The runs of the pieces of one game, one set per piece for the way it lies
// now, gathered when it is first drawn so. Everything is dropped when the
// game's effects are built again or its buffers are replaced.
class TPieceRunsCache {
public:
    // The runs of piece for the key, gathered unless held already; null
    // while the game's effects have never been built (then nothing tells
    // when the buffers change).
    const TPieceRuns* Find(const TGame& game, int piece, const TRunsKey& key);
    void Clear();
    // The bytes the runs take up.
    size_t MemoryBytes() const;

private:
    // What marks the buffers of the game: their memory and sizes.
    struct TBuffersKey {
        const uint8_t* Bits[8] = {};
        const uint8_t* Wood[4] = {};
        size_t WoodSize[4] = {};
        size_t Pieces = 0;
        bool operator==(const TBuffersKey&) const = default;
    };
    static TBuffersKey BuffersOf(const TGame& game);
    static bool Changed(const TGame& game, const TPieceRuns& runs);

    uint64_t m_stamp = 0;
    TBuffersKey m_buffers;
    std::vector<TPieceRuns> m_runs;  // by piece
    TPieceRuns m_work;               // where runs are gathered before they are stored
};

}  // namespace orvel
