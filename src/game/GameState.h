#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/GameTypes.h"
#include "graphics/Bitmap.h"

namespace orvel {

// What a held mouse button is doing on the field.
enum class TDragMode : uint8_t {
    Idle,
    Dragging,    // a group or the selection follows the mouse
    RubberBand,  // a selection rectangle is being drawn
};

// One (group, piece) pair of the draw order.
struct TOrderPair {
    int32_t group = 0;
    int32_t piece = 0;
};

// What SortOrder keeps between calls: the group of every piece in play when
// the cache was filled and the sorted orders computed from exactly those groups.
struct TOrderCache {
    std::vector<int32_t> Groups;
    std::vector<TOrderPair> Ascending;
    std::vector<TOrderPair> Descending;
    bool AscendingValid = false;
    bool DescendingValid = false;
};

// The whole state of the jigsaw in play. Owned by the main window's context
// and passed by reference; replaced as a whole when a game is opened.
struct TGame {
    GameHeader Header;
    std::vector<TPiece> Pieces;         // TotalTileNum records (+1 spare for the frame piece)
    std::vector<TOrderPair> DrawOrder;  // TotalTileNum pairs

    // Buffers 0..3: the picture turned 0..3 quarter turns clockwise.
    // Buffers 4..7: the mask with its relief, turned likewise, 5 pixels wider
    // and higher (the shadow margin at right and bottom).
    TMyBitmap Buffers[8];
    TMyBitmap& Picture(int rotation) { return Buffers[rotation]; }
    TMyBitmap& Mask(int rotation) { return Buffers[4 + rotation]; }

    TRandom Random;

    // Wood buffers 8 ... 11 of the buffer set, one per rotation kept: 6 bytes
    // per pixel (a 16-bit set of wood classes, then 3 bits of distance per
    // class in a 32-bit word), rows of 6 x Width bytes; filled by the piece
    // effects, empty when there is no wood edge.
    struct WoodBuffer {
        int32_t Width = 0;
        int32_t Height = 0;
        std::vector<uint8_t> Data;
    };
    WoodBuffer Wood[4];
    int WoodWidth = 0;  // 0, 3 or 5 by WoodStyle

    // Game strings.
    std::string sJig;      // full path of the jigsaw file (or the stored name after resuming)
    std::string sSolve;    // saved game this game came from or was last saved to
    std::string sJigName;  // file name without folder and extension

    // Interaction state, reset when a game is opened.
    bool GameLoaded = false;
    int PickedPiece = -1;
    TDragMode DragMode = TDragMode::Idle;
    bool HasSelection = false;
    int WeightPiece = -1;
    bool Solved = false;
    bool Modified = false;
    bool ModifiedSinceAutosave = false;
    bool Busy = false;
    int CurSide = 0;

    // Draw-order cache: SortOrder skips the sort when no group number and no
    // piece count has changed since the last one. It compares the groups
    // itself, so a writer that forgets InvalidateOrder costs a comparison,
    // never a wrong order; InvalidateOrder forces a fresh sort.
    bool OrderValid = false;
    bool OrderDescending = false;  // the order DrawOrder holds after the last SortOrder
    TOrderCache OrderCache;
    void InvalidateOrder() { OrderValid = false; }

    // Set anew by every build of the relief and the wood edges to a number
    // no earlier build in this process had (0: never built), so that what
    // is derived from the masks and wood buffers knows when to start again.
    // A join keeps it and notes the part of the wood buffer it changed.
    uint64_t EffectsStamp = 0;
    struct WoodChange {
        int Rotation = 0;
        int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;  // inclusive
    };
    std::vector<WoodChange> WoodChanges;  // since the stamp was set, oldest first

    int RandInt(int n) { return Random.RandInt(n); }
};

// Marks the game Busy for as long as it lives: a command, mouse handler or
// save holds one, so the autosave tick never runs in the middle of it. The
// flag goes back to what it was, so an operation may run inside another.
class [[nodiscard]] TBusyScope {
public:
    explicit TBusyScope(TGame& game) : m_game(game), m_was(game.Busy) { game.Busy = true; }
    ~TBusyScope() { m_game.Busy = m_was; }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TGame& m_game;
    bool m_was;
};

}  // namespace orvel
