#pragma once

// Starting a jigsaw from a jigsaw file: the picture is read and fitted, the
// sides and the thumbnail window are sized, the picture is cut, turned and
// laid out on the first side, the piece effects are built and the pockets
// emptied. One seed and one header give the same game, byte for byte: the
// random draws are the cutter's, then one turn per piece (with Rotate), then
// the layout's.

#include <string>

#include "base/Result.h"
#include "cutter/PieceEffects.h"
#include "game/GameState.h"
#include "graphics/Bitmap.h"
#include "play/PieceGeometry.h"
#include "play/PlayWindow.h"
#include "play/Pockets.h"

namespace orvel {

class Silhouettes;

class Platform;
class Progress;

// What the browser hands over.
struct TNewGameRequest {
    std::string Path;  // the ".orv" file
    // The browser's header copy: MaskS ... TotalTileNum from its level table,
    // Level, Rotate, BorderStyle, ShapeStyle, SpreadOut, FitToScreen, FitW,
    // FitH, SideNum, SideCur, NameCode, EntryOffsets.
    GameHeader Header;
    bool SeedShown = false;  // the seed field is offered
    std::string SeedText;    // what was typed into it
    const TMyBitmap* BrowserThumb = nullptr;  // the thumbnail the browser loaded, may be null
};

// What the program around the game provides.
struct TNewGameSetup {
    int PlayW = 0;  // the play area the sides fill
    int PlayH = 0;
    EffectSettings Effects;                     // relief and wood edge
    std::string ProgressText = "Prog_OpenJig";  // shown on the progress panel
    PocketCaptionFn PocketCaption;              // empty: the captions stay
    std::string ResourcesDir;                   // holds the knob strip of the grid shapes
    std::string ShapeFile;                      // the silhouettes of shape style 3
    // The silhouettes kept for the program's run (a damaged shape file is then
    // reported once); nullptr reads ShapeFile afresh for this cut.
    Silhouettes* Pictures = nullptr;
    // The information window's picture of the thumbnail: its size (0: none
    // drawn) and background (the button face).
    int InfoThumbW = 0;
    int InfoThumbH = 0;
    TColor InfoThumbBackground = 0xF0F0F0;
    // Threads the four rotations' work may use (1 or 2; same result).
    int Threads = 2;
};

// What the new game leaves beside the game state.
struct TNewGameView {
    std::string Description;  // the picture's description for the information window
    TMyBitmap StoreThumb;     // the browser's thumbnail, kept for the next dialogs
    TMyBitmap InfoThumb;      // it drawn fitted for the information window
    TMyBitmap ThumbBuffer;    // the thumbnail window's buffer, ImageW div 2 x ImageH div 2
};

// The smallest piece the cutters make well, and the fewest cells per side.
constexpr int kMinTileS = 20;
constexpr int kMinCellsPerSide = 2;

// Refuses (MS_PictureTooSmall) a header whose ImageW x ImageH picture is too
// small for its grid: pieces under kMinTileS, fewer than two cells along a
// side, or cells and frame wider or higher than the picture.
Result CheckPictureForLevel(const GameHeader& header);

// Starts a new game from a jigsaw file. A missing file or one not named
// ".orv" changes nothing. Otherwise the old game is dropped; on failure
// GameLoaded stays off, the game holds no pieces or buffers and view is left
// alone. On success GameLoaded is on; the caller sorts the draw order,
// paints the thumbnail buffer and shows side 0.
Result StartNewGame(TGame& game, TPlayWindows& pw, const TNewGameRequest& request,
                    const TNewGameSetup& setup, TNewGameView& view, Progress& progress,
                    Platform& platform);

// Where pieces are laid out: the window's content size and the play area.
struct TLayoutArea {
    int ContentW = 0;
    int ContentH = 0;
    int PlayW = 0;
    int PlayH = 0;
};

// The shuffled grid for n pieces on a playW x playH area: columns
// round(sqrt(n * playW div playH)), rows n div columns, and one more column
// or row when they do not hold n (whichever wastes less).
void SpreadGrid(int n, int playW, int playH, int& columns, int& rows);

// Lays out the pieces of window that are alone in their group (the frame
// piece excepted), in index order: spread shuffles them into the grid of
// SpreadGrid over the content, otherwise each gets a random place.
void InitialLayout(TGame& game, int window, bool spread, const TLayoutArea& area);

// The parts of a start that resuming a saved game shares.
// Drops the pieces, buffers and names of the game in play.
void DiscardGame(TGame& game);
// Both sides show the picture's whole area (at least the play area).
void SizeSides(TPlayWindows& pw, const GameHeader& header, int playW, int playH);
// The thumbnail window's limits and size from the picture; buffer becomes
// its picture buffer, half the picture's size.
void SizeThumbWindow(TMyWin& thumb, const GameHeader& header, TMyBitmap& buffer);

}  // namespace orvel
