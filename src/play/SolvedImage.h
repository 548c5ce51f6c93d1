#pragma once

// The solved picture as a bitmap to keep: the picture put together from its
// pieces inside a one-pixel black border, over two caption strips that say
// what it shows, how it was assembled and when.

#include <string>

#include "game/GameState.h"
#include "graphics/Bitmap.h"
#include "play/PieceDraw.h"

namespace orvel {

class Platform;

// The strips below the picture: each this high, with a pixel between them.
constexpr int kSolvedStripH = 24;
constexpr int kSolvedExtraH = 2 * kSolvedStripH + 4;  // border, strips and gaps
constexpr int kSolvedTextLeft = 10;

// The sound of a solved picture, played by file name.
inline constexpr const char* kWinSound = "win.wav";

// Moves every piece by the same amount so that the picture, put together,
// lies in the middle of a playW x playH area: its top-left corner (piece 0's
// position less its box offset) goes to ((playW - ImageW) div 2,
// (playH - ImageH) div 2).
void CentreSolvedPicture(TGame& game, int playW, int playH);

// The first strip's text: the description's lines that are not blank, each
// followed by three spaces; "Unknown image" when there are none.
std::string SolvedDescriptionText(const std::string& description);

// Draws the solved picture of (ImageW + 2) x (ImageH + 52) pixels into out
// (made a fresh 24-bit buffer): every piece at its place in the picture, the
// strips with the description, the piece count, the border and rotation
// notes and date (right-aligned), all written through the platform's text
// rendering. False when the buffer cannot be made.
bool BuildSolvedImage(TMyBitmap& out, const TGame& game, const TPieceLook& look,
                      const std::string& description, const std::string& date,
                      Platform& platform);

}  // namespace orvel
