#pragma once

// Operations on a play window's frame with the mouse: moving it by its
// caption or border, resizing it by an edge, corner or grip within its size
// limits, scrolling by arrows, thumbs or by panning the content with the
// hand, the close and glass zoom buttons; and pulling windows back onto the
// play area after a move.

#include <functional>

#include "play/PlayWindow.h"
#include "play/Sides.h"

namespace orvel {

class Platform;

// What a frame operation asks of the program around it. Each may be left
// empty: that part then does nothing.
struct TFrameActions {
    // The close button was released: hide the window.
    std::function<void(TMyWin&)> Close;
    // A glass zoom button was released: the zoom it selects (3 or 2).
    std::function<void(int zoom)> GlassZoom;
    // A side's grip resizes the main window's client to width x height.
    std::function<void(int width, int height)> ResizeMain;
    // A window changed its size (the thumbnail repaints its picture).
    std::function<void(TMyWin&)> Resized;
};

// Keeps windows with a caption (pockets, thumbnail) and the glass reachable:
// a window moved nearly off the play area comes back until its caption (the
// glass: 38 pixels of it) can be grabbed again.
void PullBackWindows(TPlayWindows& pw, const TPlayArea& area);

class TFrameOperation {
public:
    TFrameOperation(TPlayWindows& pw, const TPlayArea& area, Platform& platform);

    // A press with the hit code of the point (THitCode::Pan for the content).
    // mainW x mainH: the main window's client size, for a side's grip.
    void Start(TMyWin& win, THitCode code, int button, int x, int y, int mainW, int mainH);
    void Move(int x, int y, bool buttonHeld);
    void End(int x, int y);
    bool Running() const { return m_win != nullptr; }
    TMyWin* Window() const { return m_win; }
    THitCode Code() const { return m_code; }

    TFrameActions Actions;

private:
    void Resize(int x, int y);
    void Scrolled();
    void Pan(int x, int y, bool buttonHeld);

    TPlayWindows& m_pw;
    const TPlayArea& m_area;
    Platform& m_platform;
    TMyWin* m_win = nullptr;
    THitCode m_code = THitCode::None;
    int m_grabX = 0;
    int m_grabY = 0;
    // Panning: where the press was and the scroll position then.
    int m_pressX = 0, m_pressY = 0;
    int m_startScrollX = 0, m_startScrollY = 0;
    bool m_mainGrip = false;
};

}  // namespace orvel
