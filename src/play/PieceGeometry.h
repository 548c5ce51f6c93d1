#pragma once

// Small geometry shared by the piece drawing, the mouse handling and the
// sides: where the frame piece is, and the two coordinate systems of a play
// window (field coordinates and the content coordinates pieces live in).

#include "game/GameModel.h"
#include "play/PlayWindow.h"

namespace orvel {

// Width of the border frame in picture pixels.
constexpr int kFrameWidth = 20;

// The border frame piece (the last record with BorderStyle 1), -1 without one.
inline int FramePieceIndex(const TGame& game) {
    const int n = PiecesInPlay(game);
    return game.Header.BorderStyle == 1 && n > 0 ? n - 1 : -1;
}

// Content coordinates of a field point in a window, and back.
inline int ContentX(const TMyWin& win, int x) {
    return x - win.Client.Left + win.ScrollX;
}
inline int ContentY(const TMyWin& win, int y) {
    return y - win.Client.Top + win.ScrollY;
}
inline int FieldX(const TMyWin& win, int contentX) {
    return win.Client.Left + contentX - win.ScrollX;
}
inline int FieldY(const TMyWin& win, int contentY) {
    return win.Client.Top + contentY - win.ScrollY;
}

inline bool IsSideOrPocket(const TMyWin& win) {
    return win.Kind == TWinKind::Side || win.Kind == TWinKind::Pocket;
}

}  // namespace orvel
