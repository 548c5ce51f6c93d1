#pragma once

// The piece handler's hooks as the application core answers them.

#include "app/OrvelApp.h"
#include "play/PieceHandling.h"

namespace orvel {

class TAppPlayHooks : public TPlayHooks {
public:
    explicit TAppPlayHooks(TOrvelApp& app) : m_app(app) {}

    void FrameStart(TMyWin& win, THitCode code, int button, int x, int y) override {
        m_app.FrameStart(win, code, button, x, y);
    }
    void FrameMove(int x, int y, bool buttonHeld) override { m_app.FrameMove(x, y, buttonHeld); }
    void FrameEnd(int x, int y) override { m_app.FrameEnd(x, y); }
    void PocketChanged(int window) override { m_app.PocketChanged(window); }
    void SelectionChanged(bool hasSelection) override { m_app.SelectionChanged(hasSelection); }

private:
    TOrvelApp& m_app;
};

}  // namespace orvel
