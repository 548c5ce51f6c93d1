#pragma once

// The play windows as the player uses them: the play area, the window the
// window commands refer to, and keeping pieces reachable inside a window.

#include "game/GameState.h"
#include "play/PlayWindow.h"

namespace orvel {

// The room the sides have, and the size a background picture must cover.
struct TPlayArea {
    int PlayW = 0;
    int PlayH = 0;
    int PlayFullW = 0;
    int PlayFullH = 0;
    bool operator==(const TPlayArea&) const = default;
};

// The first of windows 0 .. 5 that is active and is a side or pocket; else
// side 0 when it is shown, else side 1.
TMyWin& CurrentWindow(TPlayWindows& pw);

// The bounds pieces are kept in: the play area for a pocket, the sides'
// content size for a side (their client size while no content size is set).
void KeepInsideBounds(const TPlayWindows& pw, const TPlayArea& area, int window, int& width,
                      int& height);

// Moves the groups of a window that have slipped (nearly) out of width x
// height back in. Strict: every piece must show its middle half; loose: one
// piece of each group must show min(40, TileS) pixels (three quarters of a
// narrower piece). The frame group keeps 40 pixels of its box inside in the
// same two ways. A group lying further than 100 000 pixels out is first
// brought to the origin. Returns whether any group moved; runs no change step.
bool KeepGroupsInside(TGame& game, int window, int width, int height, bool strict);

// Moves each group of a window so its centre keeps its relative place when
// the area it lies in changes from oldW x oldH to newW x newH (an old size
// of 0 leaves that axis alone). Returns whether any group moved.
bool RescaleGroups(TGame& game, int window, int newW, int newH, int oldW, int oldH);

}  // namespace orvel
