#pragma once

// Finding lost pieces: the loose groups a player cannot see, because pieces
// above them cover more than half of them or because they lie outside the
// part of their window that shows, brought into view one after another.

#include <cstdint>
#include <vector>

#include "game/GameState.h"
#include "graphics/Rect.h"
#include "play/Field.h"
#include "play/PlayWindow.h"

namespace orvel {

class Platform;

// A hidden group: its lowest piece index (which stays the same while the
// group is raised or moved) and its window.
struct TLostGroup {
    int Piece = -1;
    int Window = 0;
    bool operator==(const TLostGroup&) const = default;
};

// The hidden groups of the given windows, window by window in the order
// given, each window's from the bottom of the stacking order up. The frame's
// group and the weighted group are never lost, but they cover others.
std::vector<TLostGroup> FindLostGroups(TGame& game, const TPlayWindows& pw,
                                       const std::vector<int>& windows);

// The union of the boxes of the group of piece, in its window's content
// coordinates.
TMyRect GroupContentBox(const TGame& game, int piece);

// Scrolls the window so the content box shows, centred where the content
// allows; true when the scroll position changed.
bool ScrollIntoView(TMyWin& win, const TMyRect& box);

// Which hidden group comes next: each group once per round, a new round
// when every group still hidden was visited.
class TLostRound {
public:
    // The index into lost of the next group to show; -1 when lost is empty.
    int Next(const std::vector<TLostGroup>& lost);
    void Reset() { m_visited.clear(); }

private:
    std::vector<int> m_visited;  // lowest piece indices shown this round
};

// Flashes an outline around a field rectangle, clipped to clip: drawn and
// taken away (by recomposing the rectangle) a few times, shown at once.
void FlashOutline(TFieldView& view, const TPlayWindows& pw, const TFieldLayers& layers,
                  const TMyRect& rect, const TMyRect& clip, Platform& platform);

}  // namespace orvel
