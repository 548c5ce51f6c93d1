#include "play/Arrange.h"

#include <cmath>
#include <utility>
#include <vector>

#include "base/IntMath.h"
#include "game/GameModel.h"
#include "play/PieceGeometry.h"

namespace orvel {

namespace {

// Rounds to the nearest integer, halves to the even neighbour.
int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// The selected pieces alone in their group, in ascending group order, and
// the top-left corner of all selected pieces.
std::vector<int> LooseSelected(TGame& game, int window, int& left, int& top) {
    const int n = PiecesInPlay(game);
    const int frame = FramePieceIndex(game);
    SortOrder(game, false);
    std::vector<int> loose;
    left = top = 0;
    bool any = false;
    for (int k = 0; k < n; ++k) {
        const int i = game.DrawOrder[k].piece;
        const TPiece& p = game.Pieces[i];
        if (p.selected == 0 || p.window != window) continue;
        left = any ? Min(left, p.posX) : p.posX;
        top = any ? Min(top, p.posY) : p.posY;
        any = true;
        const int32_t g = game.DrawOrder[k].group;
        const bool alone = (k == 0 || game.DrawOrder[k - 1].group != g) &&
                           (k + 1 == n || game.DrawOrder[k + 1].group != g);
        if (alone && i != frame) loose.push_back(i);
    }
    return loose;
}

}  // namespace

TArrangeGrid ArrangeGrid(int n, int width, int height) {
    TArrangeGrid g;
    if (n <= 0 || width <= 0 || height <= 0) return g;
    g.Cols = Max(1, RoundEven(std::sqrt(static_cast<double>(width) * n / height)));
    g.Rows = Max(1, RoundEven(std::sqrt(static_cast<double>(height) * n / width)));
    if (int64_t{g.Cols} * g.Rows < n) {
        if (int64_t{g.Cols} * (g.Rows + 1) < int64_t{g.Rows} * (g.Cols + 1))
            ++g.Rows;
        else
            ++g.Cols;
    }
    // Long thin bounds can leave the grid short even after the extra line.
    while (int64_t{g.Cols} * g.Rows < n) ++g.Rows;
    return g;
}

int ArrangeSelected(TGame& game, int window, int width, int height) {
    int left = 0, top = 0;
    std::vector<int> loose = LooseSelected(game, window, left, top);
    const int n = static_cast<int>(loose.size());
    if (n == 0) return 0;
    for (int j = 0; j < n; ++j) std::swap(loose[j], loose[game.RandInt(n)]);
    const TArrangeGrid grid = ArrangeGrid(n, Max(width, 1), Max(height, 1));
    const int cell = game.Header.MaskS + game.Header.KnobDepth;
    const int stepX = width < grid.Cols * cell ? width / grid.Cols : cell;
    const int stepY = height < grid.Rows * cell ? height / grid.Rows : cell;
    for (int k = 0; k < n; ++k) {
        TPiece& p = game.Pieces[loose[k]];
        p.posX = left + stepX * (k % grid.Cols);
        p.posY = top + stepY * (k / grid.Cols);
    }
    return n;
}

int LargestGroup(TGame& game, int& size) {
    const int n = PiecesInPlay(game);
    size = 0;
    if (n == 0) return -1;
    SortOrder(game, false);
    int best = -1;
    for (int first = 0, last = 0; first < n; first = last) {
        const int32_t g = game.DrawOrder[first].group;
        for (last = first + 1; last < n && game.DrawOrder[last].group == g;) ++last;
        if (last - first > size) {
            size = last - first;
            best = game.DrawOrder[first].piece;
        }
    }
    return best;
}

bool GatherToFirstSide(TGame& game) {
    const int n = PiecesInPlay(game);
    for (int i = 0; i < n; ++i) game.Pieces[i].window = MW_SIDE0;
    if (game.WeightPiece >= 0 && game.WeightPiece < n) return false;
    int size = 0;
    const int largest = LargestGroup(game, size);
    if (largest < 0 || size < game.Header.TotalTileNum / 2) return false;
    // Sunk the way the weighted group sinks, without a weight kept.
    game.WeightPiece = largest;
    SinkWeightedGroup(game);
    game.WeightPiece = -1;
    return true;
}

}  // namespace orvel
