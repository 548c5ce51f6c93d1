#include "game/GameModel.h"

#include <algorithm>
#include <deque>

#include "graphics/Rect.h"
#include "platform/Platform.h"

namespace orvel {

namespace {

// SortOrder computes the order the exchange sort
//   for j = 0 .. n-2, for k = j+1 .. n-1: exchange j and k when before(k, j)
// produces, without its O(n^2) exchanges. Why this gives the same order
// (written for ascending; descending is the same with the comparison turned):
//
// What one pass does: pass j carries a champion from position j to the
// right; at every k with a group strictly below the champion's the two change
// places. The positions where that happens are the strict prefix minima of the
// suffix (the records r0 = first < r1 < ...); each record's pair moves to the
// next record's place and the last (the suffix's first minimum) lands at j.
//
// Why larger groups do not matter: take any value v and the subsequence S of
// pairs with group <= v. The records with group <= v are exactly the prefix
// minima of S, and the first element of S is always one. So restricted to S,
// pass j moves pairs just as a pass of the same sort run on S alone: the
// relative order of the pairs of S never depends on the larger groups.
//
// The order inside one group: it is therefore that of the sort run on S,
// where v is the largest group. A v-pair is a record there only when it is the
// first of the suffix; it then moves to the first smaller pair after it,
// jumping over the v-pairs between. Walking S from the left with a queue of
// the v-pairs met so far, each smaller pair rotates the queue by one (front to
// back) and each v-pair joins the back; the final queue is the order of group
// v. The passes inside v's own block move no v-pair.
//
// So per group: count the smaller pairs between consecutive pairs of the group
// (a Fenwick tree over the positions, filled group by group) and rotate. The
// cost is O(n log n) plus, per group of c pairs, at most min(n, c * c) moves.

// Which positions hold a pair of a group already placed (a Fenwick tree).
class TPlacedPositions {
public:
    explicit TPlacedPositions(int n) : m_tree(static_cast<size_t>(n) + 1, 0) {}
    // Placed positions among 0 .. i-1.
    int CountBelow(int i) const {
        int sum = 0;
        for (; i > 0; i -= i & -i) sum += m_tree[i];
        return sum;
    }
    void Place(int i) {
        for (++i; i < static_cast<int>(m_tree.size()); i += i & -i) ++m_tree[i];
    }

private:
    std::vector<int32_t> m_tree;
};

// Moves the front of the queue to the back, steps times, the short way round.
void RotateQueue(std::deque<int32_t>& queue, int steps) {
    const int size = static_cast<int>(queue.size());
    if (size < 2) return;
    steps %= size;
    if (steps <= size / 2) {
        for (; steps > 0; --steps) {
            queue.push_back(queue.front());
            queue.pop_front();
        }
    } else {
        for (steps = size - steps; steps > 0; --steps) {
            queue.push_front(queue.back());
            queue.pop_back();
        }
    }
}

// Piece indices ordered by group, then by position.
template <typename Less>
std::vector<int32_t> PiecesByGroup(const std::vector<int32_t>& groups, Less less) {
    std::vector<int32_t> byGroup(groups.size());
    for (size_t i = 0; i < groups.size(); ++i) byGroup[i] = static_cast<int32_t>(i);
    std::sort(byGroup.begin(), byGroup.end(), [&](int32_t a, int32_t b) {
        if (less(groups[a], groups[b])) return true;
        if (less(groups[b], groups[a])) return false;
        return a < b;
    });
    return byGroup;
}

template <typename Less>
void ExchangeSortOrder(const std::vector<int32_t>& groups, Less less,
                       std::vector<TOrderPair>& out) {
    const int n = static_cast<int>(groups.size());
    const std::vector<int32_t> byGroup = PiecesByGroup(groups, less);
    TPlacedPositions placed(n);
    out.clear();
    out.reserve(static_cast<size_t>(n));
    std::deque<int32_t> queue;
    for (int first = 0; first < n;) {
        int last = first + 1;
        while (last < n && !less(groups[byGroup[first]], groups[byGroup[last]])) ++last;
        // Smaller pairs between the group's pairs rotate the queue, and so do
        // those after its last pair.
        queue.clear();
        for (int a = first; a < last; ++a) {
            const int32_t pos = byGroup[a];
            if (a > first)
                RotateQueue(queue, placed.CountBelow(pos) - placed.CountBelow(byGroup[a - 1] + 1));
            queue.push_back(pos);
        }
        RotateQueue(queue, placed.CountBelow(n) - placed.CountBelow(byGroup[last - 1] + 1));
        for (int32_t piece : queue) out.push_back({groups[piece], piece});
        for (int a = first; a < last; ++a) placed.Place(byGroup[a]);
        first = last;
    }
}

void ComputeOrder(const std::vector<int32_t>& snapshot, bool descending,
                  std::vector<TOrderPair>& out) {
    if (descending)
        ExchangeSortOrder(
            snapshot, [](int32_t a, int32_t b) { return b < a; }, out);
    else
        ExchangeSortOrder(
            snapshot, [](int32_t a, int32_t b) { return a < b; }, out);
}

// Group arithmetic wraps instead of overflowing: group numbers read from a
// damaged saved game may be anything, and wrapping keeps the result defined.
int32_t AddWrap(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

int PiecesInPlay(const TGame& game) {
    const int64_t held = static_cast<int64_t>(game.Pieces.size());
    return static_cast<int>(std::clamp<int64_t>(game.Header.TotalTileNum, 0, held));
}

bool AllocPieces(TGame& game, int n) {
    FreePieces(game);
    if (n < 0 || n > kMaxPieces) return false;
    game.Pieces.assign(static_cast<size_t>(n), TPiece{});
    game.DrawOrder.assign(static_cast<size_t>(n), TOrderPair{});
    return true;
}

void FreePieces(TGame& game) {
    std::vector<TPiece>().swap(game.Pieces);
    std::vector<TOrderPair>().swap(game.DrawOrder);
    game.OrderCache = TOrderCache{};
    game.InvalidateOrder();
}

void SortOrder(TGame& game, bool descending) {
    const int n = PiecesInPlay(game);
    TOrderCache& cache = game.OrderCache;

    bool same = game.OrderValid && cache.Groups.size() == static_cast<size_t>(n);
    for (int i = 0; same && i < n; ++i) same = cache.Groups[i] == game.Pieces[i].group;
    if (!same) {
        cache.Groups.resize(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) cache.Groups[i] = game.Pieces[i].group;
        cache.AscendingValid = false;
        cache.DescendingValid = false;
        game.OrderValid = true;
    }

    std::vector<TOrderPair>& order = descending ? cache.Descending : cache.Ascending;
    bool& valid = descending ? cache.DescendingValid : cache.AscendingValid;
    if (!valid) {
        ComputeOrder(cache.Groups, descending, order);
        valid = true;
    }
    // Always copied: callers walk and may rewrite DrawOrder between sorts.
    game.DrawOrder.assign(order.begin(), order.end());
    game.OrderDescending = descending;
}

void BringGroupToTop(TGame& game, int piece) {
    const int n = PiecesInPlay(game);
    if (piece < 0 || piece >= n) return;
    const int32_t g = game.Pieces[piece].group;
    if (game.WeightPiece >= 0 && game.WeightPiece < n && game.Pieces[game.WeightPiece].group == g)
        return;
    for (int i = 0; i < n; ++i)
        if (game.Pieces[i].group == g) game.Pieces[i].group = -1;
    for (int i = 0; i < n; ++i)
        if (game.Pieces[i].group > g) game.Pieces[i].group -= 1;
    for (int i = 0; i < n; ++i)
        if (game.Pieces[i].group == -1) game.Pieces[i].group = n - 1;
    game.InvalidateOrder();
}

void BringSelectionToTop(TGame& game) {
    const int n = PiecesInPlay(game);
    if (n == 0) return;
    SortOrder(game, false);
    const int32_t lift = AddWrap(game.DrawOrder[n - 1].group, 1000);
    for (int i = 0; i < n; ++i)
        if (game.Pieces[i].selected) game.Pieces[i].group = AddWrap(game.Pieces[i].group, lift);
    SortOrder(game, false);
    int32_t next = 0;
    for (int i = 0; i < n; ++i) {
        const TOrderPair& pair = game.DrawOrder[i];
        if (i > 0 && pair.group != game.DrawOrder[i - 1].group) ++next;
        game.Pieces[pair.piece].group = next;
    }
    // The renumbering keeps the order of the sorted list, so the pairs only
    // need their new numbers; the cache is refreshed by the next sort.
    for (int i = 0; i < n; ++i)
        game.DrawOrder[i].group = game.Pieces[game.DrawOrder[i].piece].group;
    game.InvalidateOrder();
}

void SinkWeightedGroup(TGame& game) {
    const int n = PiecesInPlay(game);
    if (game.WeightPiece < 0 || game.WeightPiece >= n) return;
    const int32_t w = game.Pieces[game.WeightPiece].group;
    const int32_t mark = AddWrap(game.Header.TotalTileNum, 1000);
    for (int i = 0; i < n; ++i)
        if (game.Pieces[i].group == w) game.Pieces[i].group = mark;
    for (int i = 0; i < n; ++i)
        if (game.Pieces[i].group < w) game.Pieces[i].group += 1;
    for (int i = 0; i < n; ++i)
        if (game.Pieces[i].group == mark) game.Pieces[i].group = 0;
    game.InvalidateOrder();
    SortOrder(game, false);
}

int GroupCount(TGame& game, int window, bool sortFirst) {
    if (sortFirst) SortOrder(game, false);
    const int n = static_cast<int>(game.DrawOrder.size());
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const TOrderPair& pair = game.DrawOrder[i];
        if (pair.piece < 0 || pair.piece >= static_cast<int>(game.Pieces.size())) continue;
        if (game.Pieces[pair.piece].window != window) continue;
        if (i == 0 || pair.group != game.DrawOrder[i - 1].group) ++count;
    }
    return count;
}

TSolvedStats SolvedStats(TGame& game) {
    TSolvedStats stats;
    const int total = PiecesInPlay(game);
    // An empty table would divide by zero; it reads like no game at all.
    if (!game.GameLoaded || total == 0) return stats;
    SortOrder(game, false);
    int u = 0;
    for (int i = 1; i < total; ++i)
        if (game.DrawOrder[i].group != game.DrawOrder[i - 1].group) ++u;
    if (u + 1 == total) u = total;
    stats.iUnsolvedNum = u;
    stats.iSolvedPercent = game.Solved ? 100 : Round((total - u) * 100.0 / total);
    return stats;
}

bool CheckSolved(TGame& game, const std::function<void()>& onSolved) {
    if (game.Solved) return false;
    const int n = PiecesInPlay(game);
    if (n == 0) return false;
    const int32_t g = game.Pieces[0].group;
    for (int i = 1; i < n; ++i)
        if (game.Pieces[i].group != g || game.Pieces[i].rotation != 0) return false;
    game.Solved = true;
    if (onSolved) onSolved();
    return true;
}

TRotatedBox RotatedBox(const GameHeader& header, const TPiece& p, int rotation) {
    const bool quarter = (rotation & 1) != 0;
    const int32_t w = (quarter ? header.ImageH : header.ImageW) + 5;
    const int32_t h = (quarter ? header.ImageW : header.ImageH) + 5;
    switch (rotation & 3) {
        case 0:
            return {p.boxX, p.boxY, p.boxW, p.boxH};
        case 1:
            return {w - p.boxH - p.boxY - 5, p.boxX, p.boxH, p.boxW};
        case 2:
            return {w - p.boxW - p.boxX - 5, h - p.boxH - p.boxY - 5, p.boxW, p.boxH};
        default:
            return {p.boxY, h - p.boxW - p.boxX - 5, p.boxH, p.boxW};
    }
}

void UpdateRotatedBox(TGame& game, int piece) {
    if (piece < 0 || piece >= static_cast<int>(game.Pieces.size())) return;
    TPiece& p = game.Pieces[piece];
    const TRotatedBox box = RotatedBox(game.Header, p, p.rotation);
    p.srcX = box.srcX;
    p.srcY = box.srcY;
    p.rotW = box.rotW;
    p.rotH = box.rotH;
}

void MarkChanged(TGame& game) {
    game.Modified = true;
    game.ModifiedSinceAutosave = true;
}

void ResetInteraction(TGame& game) {
    game.GameLoaded = false;
    game.PickedPiece = -1;
    game.DragMode = TDragMode::Idle;
    game.HasSelection = false;
    game.WeightPiece = -1;
    game.Solved = false;
    game.InvalidateOrder();
}

void SeedRandomAtStart(TGame& game, Platform& platform) {
    uint32_t seed = static_cast<uint32_t>(platform.HighResCounter());
    if (seed == 0) seed = static_cast<uint32_t>(platform.TickMs());
    game.Random.Seed = seed;
}

}  // namespace orvel
