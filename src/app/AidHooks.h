#pragma once

// The piece handling's way to the glass, the weight and the finish sequence
// of the application core.

#include "app/OrvelApp.h"
#include "play/PieceHandling.h"

namespace orvel {

class TAidHooks : public TPlayHooks {
public:
    explicit TAidHooks(TOrvelApp& app) : m_app(app) {}
    bool LensHit(int& x, int& y, bool map) override { return m_app.LensHit(x, y, map); }
    bool PlacingWeight() override { return m_app.Weight.Placing; }
    void MoveWeight(int x, int y) override { m_app.MoveWeight(x, y); }
    void DropWeight() override { m_app.DropWeight(); }
    void Solved() override { m_app.FinishSequence(); }

private:
    TOrvelApp& m_app;
};

}  // namespace orvel
