#pragma once

#include <string>

#include "cutter/PicturePieces.h"
#include "cutter/ShapeData.h"

namespace orvel {

class Platform;

// Joining failures that end a drawing attempt of shape style 3.
constexpr int kJoinNoPicture = 100;  // no common silhouette, or no free edge slot
constexpr int kJoinNoPixel = 101;    // the line towards the silhouette never meets it

// Shape style 3: some pieces become silhouettes from the shape data file,
// and the cells around them are re-shaped to run out from the outline.
class Silhouettes : public PicturePieces {
public:
    // shapeFile: the full path of pic_orvel.dat; platform shows "Invalid DAT
    // file!" (may be nullptr: no message).
    Silhouettes(std::string shapeFile, Platform* platform);

    bool Load(CellCutState& cut) override;
    void MarkInitial(CellCutState& cut) override;
    int Place(CellCutState& cut) override;
    void Release(CellCutState& cut) override;

    // What the last Place did, for the tools and tests.
    int Placed() const { return m_placed; }
    int Rejected() const { return m_rejected; }
    const ShapeData& Data() const { return m_data; }

private:
    std::string m_file;
    Platform* m_platform;
    ShapeData m_data;
    int m_placed = 0;
    int m_rejected = 0;
};

// The steps of Place, one by one (exposed for the tests).
namespace silhouette {
void SpacingPass(CellCutState& c, int limit);
// Draws the silhouette of marked piece k; false when it was rejected (and erased).
bool PlaceOne(CellCutState& c, ShapeData& data, int k);
void RerouteEdges(CellCutState& c);
void ClearEdges(CellCutState& c);
int JoinCrossedEdges(CellCutState& c);
void DropTinyEdges(CellCutState& c);
void FinalBoxes(CellCutState& c);
}  // namespace silhouette

}  // namespace orvel
