#pragma once

namespace orvel {

struct CellCutState;

// Why the silhouettes could not be joined to the cells around them; any
// failure ends the drawing attempt.
enum class JoinFailure {
    None,
    NoPicture,  // no common silhouette, or no free edge slot
    NoPixel,    // the line towards the silhouette never meets it
};

// The silhouette pieces of shape style 3. The cell cutter calls these at the
// points of its run where style 3 does extra work; without an implementation
// (nullptr) style 3 cuts ordinary cells with its own profile lists.
class PicturePieces {
public:
    virtual ~PicturePieces() = default;

    // Set-up of style 3 (loads the shape data). false: no silhouettes this cut,
    // and none of the other calls are made. What the player should be told
    // about the shape data goes to cut.messages.
    virtual bool Load(CellCutState& cut) = 0;
    // The initial isPicture marks, made with the grid cells at each drawing attempt.
    virtual void MarkInitial(CellCutState& cut) = 0;
    // Picture pieces, edge re-routing and the edge checks, after the neighbour
    // lists and twins are known.
    virtual JoinFailure Place(CellCutState& cut) = 0;
    // Frees the shape data at the end of the cut.
    virtual void Release(CellCutState& cut) = 0;
};

}  // namespace orvel
