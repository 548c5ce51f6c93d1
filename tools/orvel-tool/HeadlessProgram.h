#pragma once

// The program without a screen, for the tool's commands that play: the
// application core on FakePlatform with a window that takes the bounds it
// is given, and its own folders in a scratch directory removed at the end.

#include <memory>
#include <string>

#include "app/OrvelApp.h"
#include "platform/FakePlatform.h"

namespace orvel::tool {

class THeadlessProgram {
public:
    // A screen of screenW x screenH without a task bar; counter is what the
    // high-resolution counter reads at start, which seeds the game's random
    // generator.
    THeadlessProgram(int screenW, int screenH, uint32_t counter);
    ~THeadlessProgram();
    THeadlessProgram(const THeadlessProgram&) = delete;
    THeadlessProgram& operator=(const THeadlessProgram&) = delete;

    // Opens a jigsaw with the open command's opening sequence, cut as the
    // settings' default choices say; false when no game is loaded then (the
    // platform holds the messages the program showed).
    bool Open(const std::string& path);

    TOrvelApp& App() { return *m_app; }
    FakePlatform& Fake() { return m_platform; }

private:
    struct TWindow;

    FakePlatform m_platform;
    std::string m_scratch;
    std::unique_ptr<TWindow> m_window;
    std::unique_ptr<TOrvelApp> m_app;
};

}  // namespace orvel::tool
