#include "play/LostPieces.h"

#include <algorithm>

#include "base/IntMath.h"
#include "game/GameModel.h"
#include "platform/Platform.h"
#include "play/PieceGeometry.h"

namespace orvel {

namespace {

// Coverage is judged on points this far apart: fine enough for the smallest
// pieces (about 28 pixels across), coarse enough for 4000 of them.
constexpr int kSampleStep = 4;

// The outline's colours, outside in, and how long it shows and hides.
constexpr TColor kFlashOuter = 0x002B52FF;
constexpr TColor kFlashInner = 0x00F0FAFF;
constexpr int kFlashTimes = 3;
constexpr int kFlashOnMs = 160;
constexpr int kFlashOffMs = 100;

// The sample points of one window: which are already covered by the
// groups above the one being looked at.
struct TCoverGrid {
    int X0 = 0, Y0 = 0, Cols = 0, Rows = 0;
    std::vector<uint8_t> Covered;
};

// The pieces of one window from the top of the stacking order down.
std::vector<int> PiecesTopDown(TGame& game, int window) {
    const int n = PiecesInPlay(game);
    SortOrder(game, true);
    std::vector<int> pieces;
    for (int k = 0; k < n; ++k)
        if (game.Pieces[game.DrawOrder[k].piece].window == window)
            pieces.push_back(game.DrawOrder[k].piece);
    return pieces;
}

TCoverGrid MakeGrid(const TGame& game, const std::vector<int>& pieces) {
    TCoverGrid g;
    if (pieces.empty()) return g;
    int left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (int i : pieces) {
        const TPiece& p = game.Pieces[i];
        left = Min(left, p.posX);
        top = Min(top, p.posY);
        right = Max(right, p.posX + p.rotW);
        bottom = Max(bottom, p.posY + p.rotH);
    }
    g.X0 = left;
    g.Y0 = top;
    g.Cols = (right - left) / kSampleStep + 1;
    g.Rows = (bottom - top) / kSampleStep + 1;
    g.Covered.assign(static_cast<size_t>(g.Cols) * g.Rows, 0);
    return g;
}

// Whether the piece shows at a content point of its box: its colour on the
// mask of its rotation (the whole box when the game has no mask).
bool PieceAtPoint(const TGame& game, const TPiece& p, int x, int y) {
    const TMyBitmap& mask = game.Buffers[4 + (p.rotation & 3)];
    const int mx = p.srcX + x - p.posX, my = p.srcY + y - p.posY;
    if (mask.Width == 0 || mx < 0 || my < 0 || mx >= mask.Width || my >= mask.Height) return true;
    return PixelPtr(mask, mx, my)[0] == p.MaskCode;
}

// What one group's sample points show.
struct TGroupLook {
    int Points = 0;
    int Covered = 0;
    bool InView = false;
};

// Counts the group's points against the grid and the view, remembering its
// cells in own so they cover the groups below once the group is done.
void LookAtPiece(const TGame& game, const TPiece& p, const TCoverGrid& g, const TMyRect& view,
                 TGroupLook& look, std::vector<int>& own) {
    const int c0 = (p.posX - g.X0) / kSampleStep, c1 = (p.posX + p.rotW - 1 - g.X0) / kSampleStep;
    const int r0 = (p.posY - g.Y0) / kSampleStep, r1 = (p.posY + p.rotH - 1 - g.Y0) / kSampleStep;
    for (int r = r0; r <= r1; ++r) {
        const int y = g.Y0 + r * kSampleStep + kSampleStep / 2;
        if (y < p.posY || y >= p.posY + p.rotH) continue;
        for (int c = c0; c <= c1; ++c) {
            const int x = g.X0 + c * kSampleStep + kSampleStep / 2;
            if (x < p.posX || x >= p.posX + p.rotW || !PieceAtPoint(game, p, x, y)) continue;
            const int cell = r * g.Cols + c;
            ++look.Points;
            look.Covered += g.Covered[cell];
            look.InView = look.InView || ContainsPoint(view, x, y);
            own.push_back(cell);
        }
    }
}

// The window's visible part in content coordinates.
TMyRect ContentView(const TMyWin& win) {
    TMyRect view;
    SetPosSize(view, win.ScrollX, win.ScrollY, win.Client.Width, win.Client.Height);
    return view;
}

bool BoxInView(const TGame& game, int piece, const TMyRect& view) {
    return IntersectRect(GroupContentBox(game, piece), view);
}

// The hidden groups of one window, from the top of the stacking order down.
void LostInWindow(TGame& game, const TMyWin& win, std::vector<TLostGroup>& lost) {
    const std::vector<int> pieces = PiecesTopDown(game, win.Id);
    TCoverGrid grid = MakeGrid(game, pieces);
    const TMyRect view = ContentView(win);
    const int frame = FramePieceIndex(game);
    const int n = PiecesInPlay(game);
    const int32_t frameGroup = frame >= 0 ? game.Pieces[frame].group : -1;
    const int32_t weightGroup =
        game.WeightPiece >= 0 && game.WeightPiece < n ? game.Pieces[game.WeightPiece].group : -1;
    std::vector<int> own;
    for (size_t first = 0, last = 0; first < pieces.size(); first = last) {
        const int32_t group = game.Pieces[pieces[first]].group;
        TGroupLook look;
        own.clear();
        int lowest = pieces[first];
        for (last = first; last < pieces.size() && game.Pieces[pieces[last]].group == group;
             ++last) {
            lowest = Min(lowest, pieces[last]);
            LookAtPiece(game, game.Pieces[pieces[last]], grid, view, look, own);
        }
        for (int cell : own) grid.Covered[cell] = 1;
        if (group == frameGroup || group == weightGroup) continue;
        const bool inView = look.Points > 0 ? look.InView : BoxInView(game, lowest, view);
        if (look.Covered * 2 > look.Points || !inView) lost.push_back({lowest, win.Id});
    }
}

}  // namespace

std::vector<TLostGroup> FindLostGroups(TGame& game, const TPlayWindows& pw,
                                       const std::vector<int>& windows) {
    std::vector<TLostGroup> lost;
    for (int w : windows) {
        if (w < 0 || w >= kPlayWindowCount) continue;
        const size_t start = lost.size();
        LostInWindow(game, pw.Wins[w], lost);
        std::reverse(lost.begin() + static_cast<std::ptrdiff_t>(start), lost.end());
    }
    return lost;
}

TMyRect GroupContentBox(const TGame& game, int piece) {
    TMyRect box;
    const int n = PiecesInPlay(game);
    if (piece < 0 || piece >= n) return box;
    const int32_t group = game.Pieces[piece].group;
    for (int i = 0; i < n; ++i) {
        const TPiece& p = game.Pieces[i];
        if (p.group == group)
            IncludeBox(box, p.posX, p.posY, p.posX + p.rotW - 1, p.posY + p.rotH - 1);
    }
    return box;
}

namespace {

// The scroll position on one axis that shows [low, high] of the content in
// a view of size, centred when it does not already show; held inside the content.
int32_t ScrollFor(int32_t scroll, int low, int high, int size, int content) {
    if (low >= scroll && high < scroll + size) return scroll;
    const int centred = (low + high + 1) / 2 - size / 2;
    return Max(0, Min(centred, content - size));
}

}  // namespace

bool ScrollIntoView(TMyWin& win, const TMyRect& box) {
    if (!win.HasScrollBars || win.ContentW == 0 || IsEmpty(box)) return false;
    const int32_t x =
        win.HScroll ? ScrollFor(win.ScrollX, box.Left, box.Right, win.Client.Width, win.ContentW)
                    : win.ScrollX;
    const int32_t y =
        win.VScroll ? ScrollFor(win.ScrollY, box.Top, box.Bottom, win.Client.Height, win.ContentH)
                    : win.ScrollY;
    if (x == win.ScrollX && y == win.ScrollY) return false;
    win.ScrollX = x;
    win.ScrollY = y;
    Relayout(win);
    return true;
}

int TLostRound::Next(const std::vector<TLostGroup>& lost) {
    if (lost.empty()) return -1;
    const auto visited = [this](const TLostGroup& g) {
        return std::find(m_visited.begin(), m_visited.end(), g.Piece) != m_visited.end();
    };
    auto next = std::find_if_not(lost.begin(), lost.end(), visited);
    if (next == lost.end()) {
        m_visited.clear();
        next = lost.begin();
    }
    m_visited.push_back(next->Piece);
    return static_cast<int>(next - lost.begin());
}

void FlashOutline(TFieldView& view, const TPlayWindows& pw, const TFieldLayers& layers,
                  const TMyRect& rect, const TMyRect& clip, Platform& platform) {
    TMyRect field, inClip, part;
    SetPosSize(field, 0, 0, view.FieldW, view.FieldH);
    if (!IntersectRect(rect, clip, &inClip) || !IntersectRect(inClip, field, &part)) return;
    for (int k = 0; k < kFlashTimes; ++k) {
        FlushField(view, pw, layers);
        FrameBox(view.Field, part.Left, part.Top, part.Width, part.Height, kFlashOuter);
        FrameBox(view.Field, part.Left + 1, part.Top + 1, part.Width - 2, part.Height - 2,
                 kFlashOuter);
        FrameBox(view.Field, part.Left + 2, part.Top + 2, part.Width - 4, part.Height - 4,
                 kFlashInner);
        if (view.Invalidate) view.Invalidate(part);
        platform.SleepMs(kFlashOnMs);
        RequestUpdate(view, FieldUpdate::Button, &part);
        FlushField(view, pw, layers);
        platform.SleepMs(kFlashOffMs);
    }
}

}  // namespace orvel
