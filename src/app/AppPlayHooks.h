#pragma once

// The piece handler's hooks as the application core answers them: the
// window-frame operations, the pockets and the selection here; the glass, the
// weight and the finish are passed on to the hooks given as `others` (when
// there are any), so each part of the core keeps its own.

#include "app/OrvelApp.h"
#include "play/PieceHandling.h"

namespace orvel {

class TAppPlayHooks : public TPlayHooks {
public:
    explicit TAppPlayHooks(TOrvelApp& app, TPlayHooks* others = nullptr)
        : m_app(app), m_others(others != nullptr ? *others : m_none) {}

    void FrameStart(TMyWin& win, THitCode code, int button, int x, int y) override {
        m_app.FrameStart(win, code, button, x, y);
    }
    void FrameMove(int x, int y, bool buttonHeld) override { m_app.FrameMove(x, y, buttonHeld); }
    void FrameEnd(int x, int y) override { m_app.FrameEnd(x, y); }
    void PocketChanged(int window) override { m_app.PocketChanged(window); }
    void SelectionChanged(bool hasSelection) override { m_app.SelectionChanged(hasSelection); }

    bool LensHit(int& x, int& y, bool map) override { return m_others.LensHit(x, y, map); }
    bool PlacingWeight() override { return m_others.PlacingWeight(); }
    void MoveWeight(int x, int y) override { m_others.MoveWeight(x, y); }
    void DropWeight() override { m_others.DropWeight(); }
    void Solved() override { m_others.Solved(); }

private:
    TOrvelApp& m_app;
    TPlayHooks m_none;
    TPlayHooks& m_others;
};

}  // namespace orvel
