#pragma once

#include <string>

#include "cutter/PicturePieces.h"
#include "cutter/ShapeData.h"

namespace orvel {

// Shape style 3: some pieces become silhouettes from the shape data file,
// and the cells around them are re-shaped to run out from the outline.
//
// The file is read at every cut. A file with the wrong magic is reported at
// every cut ("Invalid DAT file!"); a damaged one only at the first cut of
// this object, so one object kept for the program's run says so once. Both
// cut without silhouettes.
class Silhouettes : public PicturePieces {
public:
    // shapeFile: the full path of pic_orvel.dat.
    explicit Silhouettes(std::string shapeFile);

    bool Load(CellCutState& cut) override;
    void MarkInitial(CellCutState& cut) override;
    JoinFailure Place(CellCutState& cut) override;
    void Release(CellCutState& cut) override;

    // What the last Place did, for the tools and tests.
    int Placed() const { return m_placed; }
    int Rejected() const { return m_rejected; }
    const ShapeData& Data() const { return m_data; }

private:
    std::string m_file;
    ShapeData m_data;
    bool m_damageTold = false;
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
JoinFailure JoinCrossedEdges(CellCutState& c);
void DropTinyEdges(CellCutState& c);
void FinalBoxes(CellCutState& c);
}  // namespace silhouette

}  // namespace orvel
