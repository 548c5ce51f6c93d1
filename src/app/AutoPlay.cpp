#include "app/AutoPlay.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "game/GameModel.h"
#include "play/PieceGeometry.h"
#include "play/PieceHandling.h"

namespace orvel {

namespace {

// A drag moves the mouse in steps of about this many pixels, at least
// kMinDragSteps and at most kMaxDragSteps of them.
constexpr int kDragStepPixels = 20;
constexpr int kMinDragSteps = 4;
constexpr int kMaxDragSteps = 24;
// Attempts at placing the anchor before its place is taken as it is.
constexpr int kAnchorTries = 3;
// At most this many groups are sent away to clear one landing.
constexpr int kMaxClearings = 64;

using TView = TAutoPlay::TView;

TView VisibleContent(const TMyWin& side) {
    return TView{side.ScrollX, side.ScrollY, side.Client.Width, side.Client.Height};
}

// Calls visit(x, y) for each content point the piece's mask covers when it
// lies with its rotated box at (left, top) in the given rotation, inside
// view; stops early when visit returns false.
template <typename Visit>
void ForEachPixel(const TGame& game, const TPiece& p, int rotation, int left, int top,
                  const TView& view, Visit&& visit) {
    const TRotatedBox box = RotatedBox(game.Header, p, rotation);
    const TMyBitmap& mask = game.Buffers[4 + (rotation & 3)];
    if (mask.BytesPerPixel < 3) return;
    const int u0 = Max(0, view.X0 - left), v0 = Max(0, view.Y0 - top);
    const int u1 = Min(box.rotW, view.X0 + view.W - left);
    const int v1 = Min(box.rotH, view.Y0 + view.H - top);
    for (int v = v0; v < v1; ++v) {
        const int my = box.srcY + v;
        if (my < 0 || my >= mask.Height) continue;
        const uint8_t* row = RowPtr(mask, my);
        for (int u = u0; u < u1; ++u) {
            const int mx = box.srcX + u;
            if (mx < 0 || mx >= mask.Width || row[mx * mask.BytesPerPixel] != p.MaskCode) continue;
            if (!visit(left + u, top + v)) return;
        }
    }
}

// The same for the piece where it lies now.
template <typename Visit>
void ForEachPixelNow(const TGame& game, const TPiece& p, const TView& view, Visit&& visit) {
    ForEachPixel(game, p, p.rotation, p.posX, p.posY, view, visit);
}

int Index(const TView& view, int x, int y) {
    return (y - view.Y0) * view.W + (x - view.X0);
}

// The rectangle of a group's rotated boxes where they lie now.
struct TBox {
    int Left = std::numeric_limits<int>::max(), Top = std::numeric_limits<int>::max();
    int Right = std::numeric_limits<int>::min(), Bottom = std::numeric_limits<int>::min();
    void Include(int l, int t, int w, int h) {
        Left = Min(Left, l);
        Top = Min(Top, t);
        Right = Max(Right, l + w);
        Bottom = Max(Bottom, t + h);
    }
};

TBox BoxNow(const TGame& game, const std::vector<int>& group) {
    TBox b;
    for (int i : group) {
        const TPiece& p = game.Pieces[i];
        b.Include(p.posX, p.posY, p.rotW, p.rotH);
    }
    return b;
}

}  // namespace

// ------------------------------------------------------------------ playing

TAutoPlay::TAutoPlay(const TGame& game, const TPlayWindows& wins, const TSettings& settings,
                     TPlayerHands& hands)
    : m_game(game), m_wins(wins), m_settings(settings), m_hands(hands) {}

TAutoPlayStats TAutoPlay::Play(int maxMoves) {
    m_stats = {};
    m_maxMoves = maxMoves;
    const int n = PiecesInPlay(m_game);
    if (!m_game.GameLoaded || n == 0) return m_stats;
    m_anchor = -1;
    m_anchorTries = 0;
    m_placed = false;
    m_failed.assign(n, 0);
    m_view = VisibleContent(m_wins.Wins[MW_SIDE0]);
    ShowSide(0);
    m_idle = 0;
    ReadGroups();
    while (!m_game.Solved && !OutOfMoves()) {
        const size_t groups = m_groups.size();
        const size_t anchorSize = m_anchor >= 0 ? GroupOf(m_anchor).size() : 0;
        if (m_idle > 4 * n + 50 || !Step()) {
            m_stats.Stuck = true;
            break;
        }
        m_stats.Joins += static_cast<int>(groups - Min(groups, m_groups.size()));
        if (m_anchor >= 0 && GroupOf(m_anchor).size() > anchorSize) {
            // The picture grew: every group may be tried again.
            m_idle = 0;
            std::fill(m_failed.begin(), m_failed.end(), 0);
        }
    }
    ShowSide(0);
    return m_stats;
}

bool TAutoPlay::OutOfMoves() const {
    return m_maxMoves >= 0 && m_stats.Moves >= m_maxMoves;
}

bool TAutoPlay::Step() {
    if (!m_placed || OriginMoved()) return PlaceAnchor();
    MarkAnchorFootprint();
    return AttachFromSide0() || UncoverOnSide0() || AttachFromSide1();
}

// ------------------------------------------------------------------ the anchor

// The picture is put together in the middle of the visible content: with a
// border the frame is its anchor, else the topmost piece of the first side.
// A picture larger than the view starts at the view's top-left.
bool TAutoPlay::PlaceAnchor() {
    if (m_anchor < 0) m_anchor = ChooseAnchor();
    if (m_anchor < 0) return false;
    const GameHeader& h = m_game.Header;
    const int wantX = m_view.X0 + Max(0, (m_view.W - h.ImageW) / 2);
    const int wantY = m_view.Y0 + Max(0, (m_view.H - h.ImageH) / 2);
    const TPiece& a = m_game.Pieces[m_anchor];
    const int atX = a.posX - a.boxX, atY = a.posY - a.boxY;
    const bool inView =
        m_view.Contains(atX, atY) && m_view.Contains(atX + h.ImageW - 1, atY + h.ImageH - 1);
    if (a.rotation == 0 && a.window == MW_SIDE0 &&
        ((atX == wantX && atY == wantY) || inView || m_anchorTries >= kAnchorTries)) {
        StartPicture(atX, atY);
        MarkAnchorFootprint();
        m_placed = true;
        return true;
    }
    if (m_anchorTries++ >= kAnchorTries || a.window != MW_SIDE0) return false;
    StartPicture(wantX, wantY);
    return Bring(m_anchor);
}

// The picture's top-left is to lie at (x, y); nothing of it is marked yet.
void TAutoPlay::StartPicture(int x, int y) {
    m_originX = x;
    m_originY = y;
    m_footprint.assign(static_cast<size_t>(m_view.W) * m_view.H, 0);
    m_inAnchor.assign(PiecesInPlay(m_game), 0);
}

int TAutoPlay::ChooseAnchor() {
    const int frame = FramePieceIndex(m_game);
    if (frame >= 0) return frame;
    ShowSide(0);
    BuildPickMap(MW_SIDE0);
    int best = -1;
    for (int i = 0; i < PiecesInPlay(m_game); ++i) {
        const TPiece& p = m_game.Pieces[i];
        int x = 0, y = 0;
        if (p.window != MW_SIDE0 || (best >= 0 && p.group <= m_game.Pieces[best].group)) continue;
        if (VisiblePoint(i, x, y)) best = i;
    }
    return best;
}

// The anchor moved with a join onto a larger group: it is placed again.
bool TAutoPlay::OriginMoved() {
    const TPiece& a = m_game.Pieces[m_anchor];
    if (a.posX - a.boxX == m_originX && a.posY - a.boxY == m_originY && a.rotation == 0)
        return false;
    m_placed = false;
    m_anchorTries = 0;
    return true;
}

// ------------------------------------------------------------------ choosing groups

bool TAutoPlay::AttachFromSide0() {
    ShowSide(0);
    BuildPickMap(MW_SIDE0);
    for (int i : Candidates(MW_SIDE0)) {
        int x = 0, y = 0;
        if (VisiblePoint(i, x, y) && Bring(i)) return true;
    }
    return false;
}

// A group that would fit but lies hidden under loose groups: the one on top
// of it goes to the other side.
bool TAutoPlay::UncoverOnSide0() {
    BuildPickMap(MW_SIDE0);
    for (int i : Candidates(MW_SIDE0)) {
        const int cover = CoveringPiece(i, -1);
        if (cover >= 0) {
            SendToOtherSide(cover);
            ++m_stats.SentAway;
            return true;
        }
    }
    return false;
}

// Fetches a group that fits from the other side, uncovering it there first
// when it lies under others.
bool TAutoPlay::AttachFromSide1() {
    std::vector<int> wanted = Candidates(MW_SIDE1);
    if (wanted.empty()) return false;
    ShowSide(1);
    BuildPickMap(MW_SIDE1);
    for (int i : wanted) {
        int x = 0, y = 0;
        if (!VisiblePoint(i, x, y)) continue;
        SendToOtherSide(i);
        ++m_stats.Fetched;
        ShowSide(0);
        Bring(i);
        return true;
    }
    return UncoverOnSide1(wanted);
}

// Drags the group lying on top of a wanted one to the emptiest place of the
// other side.
bool TAutoPlay::UncoverOnSide1(const std::vector<int>& wanted) {
    for (int i : wanted) {
        const int cover = CoveringPiece(i, -1);
        int dx = 0, dy = 0, x = 0, y = 0;
        if (cover < 0 || !VisiblePoint(cover, x, y) || !FreeSpot(cover, dx, dy)) continue;
        Drag(x, y, dx, dy);
        ++m_stats.Shifted;
        return true;
    }
    return false;
}

// The loose groups of a window that have a neighbour in the anchor and
// whose place lies inside the view, one piece of each.
std::vector<int> TAutoPlay::Candidates(int window) const {
    std::vector<int> found;
    for (const auto& [group, pieces] : m_groups) {
        const int first = pieces.front();
        if (m_game.Pieces[first].window != window || InAnchor(first) || m_failed[first]) continue;
        if (HasAnchorNeighbour(pieces) && LandingInView(pieces)) found.push_back(first);
    }
    std::sort(found.begin(), found.end());
    return found;
}

// ------------------------------------------------------------------ bringing a group

// Brings the group of piece to its place in the picture: clears the landing,
// turns the group upright and drags it there. True when anything was done.
bool TAutoPlay::Bring(int piece) {
    bool acted = false;
    if (!ClearLanding(piece, acted)) {
        m_failed[piece] = 1;
        return acted;
    }
    BuildPickMap(MW_SIDE0);
    int x = 0, y = 0;
    if (!VisiblePoint(piece, x, y)) {
        m_failed[piece] = 1;
        return acted;
    }
    TurnUpright(piece, x, y);
    const TPiece& p = m_game.Pieces[piece];
    if (p.rotation != 0 || !Drag(x, y, m_originX + p.boxX - p.posX, m_originY + p.boxY - p.posY) ||
        !InAnchor(piece))
        m_failed[piece] = 1;
    return true;
}

// Sends away what the group's landing would bury for good: every loose
// group of the first side left with no point outside the picture's finished
// part, or, while such a group lies hidden, the group on top of it. False
// when a group cannot be saved.
bool TAutoPlay::ClearLanding(int piece, bool& acted) {
    for (int round = 0; round < kMaxClearings; ++round) {
        BuildPickMap(MW_SIDE0);
        const int send = NextToClear(piece);
        if (send == -1) return true;
        if (send < 0) return false;
        SendToOtherSide(send);
        ++m_stats.SentAway;
        acted = true;
    }
    return false;
}

// The piece whose group goes first to clear piece's landing; -1 nothing to
// clear, -2 a group that no send can save (it hides under piece's own
// group). Groups already hidden under the finished part are past help.
int TAutoPlay::NextToClear(int piece) {
    const std::vector<int> group = GroupOf(piece);
    std::vector<int> painted;
    for (int i : group) {
        const TPiece& p = m_game.Pieces[i];
        ForEachPixel(m_game, p, 0, m_originX + p.boxX, m_originY + p.boxY, m_view,
                     [&](int x, int y) {
                         const int at = Index(m_view, x, y);
                         if (m_footprint[at] == 0) {
                             m_footprint[at] = 2;
                             painted.push_back(at);
                         }
                         return true;
                     });
    }
    int send = -1;
    for (const auto& [number, pieces] : m_groups) {
        const int first = pieces.front();
        if (m_game.Pieces[first].window != MW_SIDE0 || number == m_game.Pieces[piece].group ||
            InAnchor(first) || Footprint(pieces, 0))
            continue;
        int x = 0, y = 0;
        if (VisiblePoint(first, x, y)) {
            send = first;
            break;
        }
        if (!Footprint(pieces, 2)) continue;
        const int cover = CoveringPiece(first, piece);
        send = cover >= 0 ? cover : -2;
        if (cover >= 0) break;
    }
    for (int at : painted) m_footprint[at] = 0;
    return send;
}

// Whether any point of the group lies on a footprint point of that value
// (0 free, 1 the finished part, 2 the landing).
bool TAutoPlay::Footprint(const std::vector<int>& group, uint8_t value) const {
    bool found = false;
    for (int i : group) {
        ForEachPixelNow(m_game, m_game.Pieces[i], m_view, [&](int x, int y) {
            found = m_footprint[Index(m_view, x, y)] == value;
            return !found;
        });
        if (found) return true;
    }
    return false;
}

// ------------------------------------------------------------------ knowledge

void TAutoPlay::ReadGroups() {
    m_groups.clear();
    for (int i = 0; i < PiecesInPlay(m_game); ++i) m_groups[m_game.Pieces[i].group].push_back(i);
}

const std::vector<int>& TAutoPlay::GroupOf(int piece) const {
    return m_groups.at(m_game.Pieces[piece].group);
}

bool TAutoPlay::InAnchor(int piece) const {
    return m_anchor >= 0 && m_game.Pieces[piece].group == m_game.Pieces[m_anchor].group;
}

bool TAutoPlay::HasAnchorNeighbour(const std::vector<int>& group) const {
    const int n = PiecesInPlay(m_game);
    for (int i : group) {
        for (int16_t nb : m_game.Pieces[i].neighbours)
            if (nb >= 0 && nb < n && InAnchor(nb)) return true;
    }
    return false;
}

bool TAutoPlay::LandingInView(const std::vector<int>& group) const {
    for (int i : group) {
        const TPiece& p = m_game.Pieces[i];
        const int x = m_originX + p.boxX, y = m_originY + p.boxY;
        if (!m_view.Contains(x, y) || !m_view.Contains(x + p.boxW - 1, y + p.boxH - 1))
            return false;
    }
    return true;
}

// Paints the pieces of a window in drawing order (ascending groups; the
// order inside a group does not matter, its pieces never overlap).
void TAutoPlay::BuildPickMap(int window) {
    if (m_pickWindow == window) return;
    m_pick.assign(static_cast<size_t>(m_view.W) * m_view.H, -1);
    std::vector<int> order;
    for (int i = 0; i < PiecesInPlay(m_game); ++i)
        if (m_game.Pieces[i].window == window) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return m_game.Pieces[a].group < m_game.Pieces[b].group;
    });
    for (int i : order) {
        ForEachPixelNow(m_game, m_game.Pieces[i], m_view, [&](int x, int y) {
            m_pick[Index(m_view, x, y)] = i;
            return true;
        });
    }
    m_pickWindow = window;
}

// The point of the group where a press finds it, nearest to the middle of
// the first of its pieces that shows one.
bool TAutoPlay::VisiblePoint(int piece, int& x, int& y) const {
    const int32_t group = m_game.Pieces[piece].group;
    for (int i : GroupOf(piece)) {
        const TPiece& p = m_game.Pieces[i];
        const int cx = p.posX + p.rotW / 2, cy = p.posY + p.rotH / 2;
        long best = std::numeric_limits<long>::max();
        ForEachPixelNow(m_game, p, m_view, [&](int px, int py) {
            const int top = m_pick[Index(m_view, px, py)];
            const long d = long{px - cx} * (px - cx) + long{py - cy} * (py - cy);
            if (top >= 0 && m_game.Pieces[top].group == group && d < best) {
                best = d;
                x = px;
                y = py;
            }
            return true;
        });
        if (best != std::numeric_limits<long>::max()) return true;
    }
    return false;
}

// A piece of the loose group lying on top of piece's group at a point
// outside the anchor (and not of the group `except`); -1 none.
int TAutoPlay::CoveringPiece(int piece, int except) const {
    const int32_t group = m_game.Pieces[piece].group;
    const int32_t skip = except >= 0 ? m_game.Pieces[except].group : group;
    int found = -1;
    for (int i : GroupOf(piece)) {
        ForEachPixelNow(m_game, m_game.Pieces[i], m_view, [&](int x, int y) {
            const int top = m_pick[Index(m_view, x, y)];
            if (top < 0) return true;
            const int32_t g = m_game.Pieces[top].group;
            if (g != group && g != skip && !InAnchor(top)) found = top;
            return found < 0;
        });
        if (found >= 0) return found;
    }
    return -1;
}

// Marks the points of the anchor's pieces that joined since the last call.
void TAutoPlay::MarkAnchorFootprint() {
    for (int i : GroupOf(m_anchor)) {
        if (m_inAnchor[i]) continue;
        m_inAnchor[i] = 1;
        ForEachPixelNow(m_game, m_game.Pieces[i], m_view, [&](int x, int y) {
            m_footprint[Index(m_view, x, y)] = 1;
            return true;
        });
    }
}

// The shift that takes the group of piece to the place of the other side's
// view where its box covers the fewest points of other pieces; false when
// no place is better than where it lies.
bool TAutoPlay::FreeSpot(int piece, int& dx, int& dy) {
    const std::vector<int>& group = GroupOf(piece);
    const int32_t own = m_game.Pieces[piece].group;
    const int w = m_view.W, h = m_view.H;
    // Points covered by other pieces, summed over the rectangle above and left.
    std::vector<int32_t> sum(static_cast<size_t>(w + 1) * (h + 1), 0);
    std::vector<uint8_t> used(static_cast<size_t>(w) * h, 0);
    for (int i = 0; i < PiecesInPlay(m_game); ++i) {
        const TPiece& p = m_game.Pieces[i];
        if (p.window != MW_SIDE1 || p.group == own) continue;
        ForEachPixelNow(m_game, p, m_view, [&](int x, int y) {
            used[Index(m_view, x, y)] = 1;
            return true;
        });
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            sum[(y + 1) * (w + 1) + x + 1] = used[y * w + x] + sum[y * (w + 1) + x + 1] +
                                             sum[(y + 1) * (w + 1) + x] - sum[y * (w + 1) + x];
    const TBox box = BoxNow(m_game, group);
    const int bw = Min(box.Right - box.Left, w), bh = Min(box.Bottom - box.Top, h);
    const auto cost = [&](int x, int y) {  // the box's top-left at view point (x, y)
        return sum[(y + bh) * (w + 1) + x + bw] - sum[y * (w + 1) + x + bw] -
               sum[(y + bh) * (w + 1) + x] + sum[y * (w + 1) + x];
    };
    const int step = Max(4, m_game.Header.TileS / 3);
    const int nowX = Min(Max(box.Left - m_view.X0, 0), w - bw);
    const int nowY = Min(Max(box.Top - m_view.Y0, 0), h - bh);
    int bestX = nowX, bestY = nowY, best = cost(nowX, nowY);
    for (int y = 0; y + bh <= h; y += step)
        for (int x = 0; x + bw <= w; x += step)
            if (const int c = cost(x, y); c < best) {
                best = c;
                bestX = x;
                bestY = y;
            }
    dx = bestX - nowX;
    dy = bestY - nowY;
    return dx != 0 || dy != 0;
}

// ------------------------------------------------------------------ hands

void TAutoPlay::ShowSide(int side) {
    if (m_game.CurSide == side) return;
    m_hands.SwitchSide();
    ++m_stats.SideSwitches;
    ++m_idle;
    m_pickWindow = -1;
}

// Clicks at (x, y) with the rotate bindings until the group stands upright:
// counter-clockwise for a quarter turn back, clockwise otherwise. Every
// turn pivots on the pressed point, so it stays on the same piece.
void TAutoPlay::TurnUpright(int piece, int x, int y) {
    if (!m_game.Header.Rotate) return;
    for (int turn = 0; turn < 4 && m_game.Pieces[piece].rotation != 0; ++turn) {
        if (m_game.Pieces[piece].rotation == 1)
            Click(x, y, m_settings.RotCCW_Button, m_settings.RotCCW_Shift);
        else
            Click(x, y, m_settings.RotCW_Button, m_settings.RotCW_Shift);
    }
}

// A click at a content point of the side shown.
void TAutoPlay::Click(int x, int y, int button, uint8_t shift) {
    const TMyWin& win = m_wins.Wins[m_game.CurSide];
    m_hands.Press(FieldX(win, x), FieldY(win, y), button, shift);
    m_hands.Release(FieldX(win, x), FieldY(win, y), button, shift);
    ++m_stats.Clicks;
    ++m_idle;
    Changed();
}

void TAutoPlay::SendToOtherSide(int piece) {
    int x = 0, y = 0;
    BuildPickMap(m_game.CurSide);
    if (VisiblePoint(piece, x, y)) Click(x, y, m_settings.MoveOW_Button, m_settings.MoveOW_Shift);
}

// Presses at a content point of the side shown, moves the mouse by (dx, dy)
// in steps and releases there. False when the release point lies outside
// the side's client.
bool TAutoPlay::Drag(int x, int y, int dx, int dy) {
    const TMyWin& win = m_wins.Wins[m_game.CurSide];
    const int fx = FieldX(win, x), fy = FieldY(win, y);
    if (!ContainsPoint(win.Client, fx + dx, fy + dy)) return false;
    const int steps =
        Min(Max((std::abs(dx) + std::abs(dy)) / kDragStepPixels, kMinDragSteps), kMaxDragSteps);
    m_hands.Press(fx, fy, kLeftButton, 0);
    for (int s = 1; s <= steps; ++s) m_hands.Move(fx + dx * s / steps, fy + dy * s / steps, true);
    m_hands.Release(fx + dx, fy + dy, kLeftButton, 0);
    ++m_stats.Moves;
    ++m_idle;
    Changed();
    return true;
}

// A press may renumber groups (the pressed one comes to the top) and moves
// pieces: what was read of the field is read again.
void TAutoPlay::Changed() {
    m_pickWindow = -1;
    ReadGroups();
}

}  // namespace orvel
