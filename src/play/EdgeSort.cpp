#include "play/EdgeSort.h"

#include "base/IntMath.h"
#include "game/GameModel.h"
#include "play/Arrange.h"
#include "play/PieceGeometry.h"

namespace orvel {

namespace {

bool NamesFrame(const TPiece& p, int frame) {
    for (int16_t n : p.neighbours)
        if (n == frame) return true;
    return false;
}

// Whether the piece's pixels on the upright mask reach the line of picture
// pixels from (x0, y0) along (dx, dy) for length steps.
bool MaskRun(const TMyBitmap& mask, const TPiece& p, int x0, int y0, int dx, int dy, int length) {
    for (int k = 0; k < length; ++k)
        if (PixelPtr(mask, x0 + k * dx, y0 + k * dy)[0] == p.MaskCode) return true;
    return false;
}

// The part of the picture's four sides inside the piece's box, searched
// for its mask colour.
bool TouchesPictureSide(const TGame& game, const TMyBitmap& mask, const TPiece& p) {
    const int w = game.Header.ImageW, h = game.Header.ImageH;
    const int left = Max(p.boxX, 0), right = Min(p.boxX + p.boxW, w) - 1;
    const int top = Max(p.boxY, 0), bottom = Min(p.boxY + p.boxH, h) - 1;
    if (left > right || top > bottom) return false;
    const int across = right - left + 1, down = bottom - top + 1;
    return (left == 0 && MaskRun(mask, p, 0, top, 0, 1, down)) ||
           (right == w - 1 && MaskRun(mask, p, w - 1, top, 0, 1, down)) ||
           (top == 0 && MaskRun(mask, p, left, 0, 1, 0, across)) ||
           (bottom == h - 1 && MaskRun(mask, p, left, h - 1, 1, 0, across));
}

// Without a mask (a game built by hand) the grid cells decide.
bool CellOnSide(const GameHeader& h, const TPiece& p) {
    return p.cellX <= h.JigsL || p.cellY <= h.JigsT || p.cellX + p.cellW - 1 >= h.JigsR ||
           p.cellY + p.cellH - 1 >= h.JigsB;
}

// The lowest edge of the pocket's pieces that stay where they are.
int BottomOfOthers(const TGame& game, int pocket, const std::vector<uint8_t>& moving) {
    int bottom = 0;
    for (int i = 0; i < PiecesInPlay(game); ++i) {
        const TPiece& p = game.Pieces[i];
        if (p.window == pocket && moving[i] == 0) bottom = Max(bottom, p.posY + p.rotH);
    }
    return bottom;
}

}  // namespace

std::vector<uint8_t> EdgePieceFlags(const TGame& game) {
    const int n = PiecesInPlay(game);
    const int frame = FramePieceIndex(game);
    std::vector<uint8_t> edge(static_cast<size_t>(n), 0);
    const TMyBitmap& mask = game.Buffers[4];
    const bool haveMask =
        mask.Width >= game.Header.ImageW && mask.Height >= game.Header.ImageH && mask.Width > 0;
    for (int i = 0; i < n; ++i) {
        if (i == frame) continue;
        const TPiece& p = game.Pieces[i];
        if (frame >= 0)
            edge[i] = NamesFrame(p, frame);
        else
            edge[i] = haveMask ? TouchesPictureSide(game, mask, p) : CellOnSide(game.Header, p);
    }
    return edge;
}

std::vector<int> LooseEdgePieces(TGame& game) {
    const int n = PiecesInPlay(game);
    const std::vector<uint8_t> edge = EdgePieceFlags(game);
    std::vector<uint8_t> alone(static_cast<size_t>(n), 0);
    SortOrder(game, false);
    for (int k = 0; k < n; ++k) {
        const int32_t g = game.DrawOrder[k].group;
        alone[game.DrawOrder[k].piece] = (k == 0 || game.DrawOrder[k - 1].group != g) &&
                                         (k + 1 == n || game.DrawOrder[k + 1].group != g);
    }
    std::vector<int> loose;
    for (int i = 0; i < n; ++i)
        if (edge[i] && alone[i] && i != game.WeightPiece) loose.push_back(i);
    return loose;
}

TEdgeSortResult SortEdgesIntoPocket(TGame& game, int pocket, int width, int height) {
    TEdgeSortResult result;
    std::vector<int> loose = LooseEdgePieces(game);
    std::erase_if(loose, [&](int i) { return game.Pieces[i].window == pocket; });
    if (loose.empty()) return result;
    const int n = PiecesInPlay(game);
    std::vector<uint8_t> moving(static_cast<size_t>(n), 0);
    for (int i : loose) moving[i] = 1;
    const int top = BottomOfOthers(game, pocket, moving);
    // The arrange rule lays the selected pieces from their top-left corner.
    for (int i = 0; i < n; ++i) game.Pieces[i].selected = 0;
    for (int i : loose) {
        TPiece& p = game.Pieces[i];
        result.FromWindows |= static_cast<uint8_t>(1u << p.window);
        p.window = static_cast<uint8_t>(pocket);
        p.posX = 0;
        p.posY = top;
        p.selected = 1;
    }
    result.Moved = ArrangeSelected(game, pocket, width, height);
    for (int i : loose) game.Pieces[i].selected = 0;
    game.HasSelection = false;
    return result;
}

}  // namespace orvel
