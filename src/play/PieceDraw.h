#pragma once

// Drawing pieces into the field: the picture where the mask holds the
// piece's code, shaded by the relief, inverted when selected, with the wood
// or shadow edge along its lower and right side.

#include <cstdint>
#include <vector>

#include "base/Color.h"
#include "game/GameState.h"
#include "graphics/Bitmap.h"
#include "graphics/Rect.h"
#include "play/PlayWindow.h"

namespace orvel {

class TPieceRunsCache;

// The appearance options the drawing follows.
struct TPieceLook {
    int EmbossStyle = 0;  // 0: the relief stored in the mask is ignored
    int WoodStyle = 0;    // 0 none, 1 edge in shades of WoodColor, 2 shadow
    TColor WoodColor = 0;
};

// The wood edge width the drawing uses: the game's WoodWidth unless the look has no edge.
int EdgeWidth(const TGame& game, const TPieceLook& look);

// The field rectangle a piece covers: its rotated box placed in the window,
// enlarged right and down by the edge width. Not clipped.
TMyRect PieceFieldRect(const TGame& game, const TMyWin& win, const TPiece& piece,
                       const TPieceLook& look);

// Draws one piece of win into a 24-bit target, clipped to the window's
// client area and to clip. The frame piece draws only its four strips.
// Touches pixels through row pointers. With a cache the piece's runs are
// taken from it (built there the first time), with the same result.
void DrawPiece(TMyBitmap& target, const TMyRect& clip, const TMyWin& win, const TGame& game,
               int piece, const TPieceLook& look, TPieceRunsCache* cache = nullptr);

// Draws the pieces of win in ascending draw order, clipped to update. A
// piece whose flag is set in skip is left out (an empty skip leaves out none).
void DrawWindowPieces(TMyBitmap& field, const TMyWin& win, const TMyRect& update, TGame& game,
                      const TPieceLook& look, const std::vector<uint8_t>& skip,
                      TPieceRunsCache* cache = nullptr);

// The rubber band's look: every channel c of rect becomes
// c + (0xF0 - c) * 128 / 256, the division truncating towards zero.
void TintBand(TMyBitmap& field, const TMyRect& rect);

}  // namespace orvel
