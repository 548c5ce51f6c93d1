#include "play/Sides.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "base/IntMath.h"
#include "game/GameModel.h"
#include "play/PieceGeometry.h"

namespace orvel {

namespace {

// Farther out than this a group is taken to be lost and is brought to the origin first.
constexpr int kLostDistance = 100000;
// How much of the frame's box stays inside.
constexpr int kFrameKeep = 40;

// The correction of one axis: what brings a non-positive low value to 0, or
// a high value beyond the bound back onto it.
// Worked in 64 bits: positions read from a damaged saved game may be anything.
int32_t AxisCorrection(int64_t low, int64_t high, int bound) {
    if (low <= 0) return static_cast<int32_t>(-low);
    if (high > bound) return static_cast<int32_t>(bound - high);
    return 0;
}

struct TShift {
    int X = 0;
    int Y = 0;
    bool IsZero() const { return X == 0 && Y == 0; }
    int64_t Length2() const { return int64_t{X} * X + int64_t{Y} * Y; }
};

TShift FrameCorrection(const TPiece& p, int width, int height, bool strict) {
    const int64_t posX = p.posX, posY = p.posY;
    TShift s;
    if (strict) {
        s.X = AxisCorrection(posX + kFrameKeep, posX + p.rotW - kFrameKeep, width);
        s.Y = AxisCorrection(posY + kFrameKeep, posY + p.rotH - kFrameKeep, height);
    } else {
        s.X = AxisCorrection(posX + p.rotW - kFrameKeep, posX + kFrameKeep, width);
        s.Y = AxisCorrection(posY + p.rotH - kFrameKeep, posY + kFrameKeep, height);
    }
    return s;
}

TShift PieceCorrection(const TPiece& p, int width, int height, bool strict, int keep) {
    const int64_t posX = p.posX, posY = p.posY;
    TShift s;
    if (strict) {
        s.X = AxisCorrection(posX + p.rotW / 4, posX + p.rotW - p.rotW / 4, width);
        s.Y = AxisCorrection(posY + p.rotH / 4, posY + p.rotH - p.rotH / 4, height);
    } else {
        const int vx = Min(keep, p.rotW * 3 / 4), vy = Min(keep, p.rotH * 3 / 4);
        s.X = AxisCorrection(posX + p.rotW - vx, posX + vx, width);
        s.Y = AxisCorrection(posY + p.rotH - vy, posY + vy, height);
    }
    return s;
}

// The shift of an ordinary group: strict moves by the smallest correction
// any piece needs; loose leaves the group alone while one piece needs none.
TShift GroupCorrection(const TGame& game, int first, int last, int width, int height, bool strict) {
    const int keep = Min(kFrameKeep, game.Header.TileS);
    TShift best;
    bool found = false;
    for (int k = first; k < last; ++k) {
        const TShift s =
            PieceCorrection(game.Pieces[game.DrawOrder[k].piece], width, height, strict, keep);
        if (s.IsZero()) {
            if (!strict) return TShift{};
            continue;
        }
        if (!found || s.Length2() < best.Length2()) best = s;
        found = true;
    }
    return best;
}

// Positions read from a damaged saved game may be anything; the arithmetic
// on them wraps instead of overflowing.
int32_t AddWrap(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t NegateWrap(int32_t v) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(v));
}

bool IsLost(int32_t v) {
    return std::abs(static_cast<int64_t>(v)) > kLostDistance;
}

void ShiftRun(TGame& game, int first, int last, int32_t dx, int32_t dy) {
    for (int k = first; k < last; ++k) {
        TPiece& p = game.Pieces[game.DrawOrder[k].piece];
        p.posX = AddWrap(p.posX, dx);
        p.posY = AddWrap(p.posY, dy);
    }
}

}  // namespace

TMyWin& CurrentWindow(TPlayWindows& pw) {
    for (int id = MW_SIDE0; id <= MW_POCKET3; ++id)
        if (pw.Wins[id].Active && IsSideOrPocket(pw.Wins[id])) return pw.Wins[id];
    return pw.Wins[MW_SIDE0].Visible ? pw.Wins[MW_SIDE0] : pw.Wins[MW_SIDE1];
}

void KeepInsideBounds(const TPlayWindows& pw, const TPlayArea& area, int window, int& width,
                      int& height) {
    if (window >= MW_POCKET0 && window <= MW_POCKET3) {
        width = area.PlayW;
        height = area.PlayH;
        return;
    }
    const TMyWin& side = pw.Wins[MW_SIDE0];
    width = side.ContentW > 0 ? side.ContentW : side.Client.Width;
    height = side.ContentH > 0 ? side.ContentH : side.Client.Height;
}

bool RescaleGroups(TGame& game, int window, int newW, int newH, int oldW, int oldH) {
    const int n = PiecesInPlay(game);
    SortOrder(game, false);
    // The shift of a centre c on one axis, halves rounded to even.
    const auto shift = [](double c, int to, int from) {
        return from == 0 ? 0 : static_cast<int32_t>(std::nearbyint(to * c / from - c));
    };
    bool moved = false;
    for (int first = 0, last = 0; first < n; first = last) {
        const int32_t group = game.DrawOrder[first].group;
        for (last = first + 1; last < n && game.DrawOrder[last].group == group;) ++last;
        if (game.Pieces[game.DrawOrder[first].piece].window != window) continue;
        int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
        for (int k = first; k < last; ++k) {
            const TPiece& p = game.Pieces[game.DrawOrder[k].piece];
            left = std::min<int64_t>(left, p.posX);
            top = std::min<int64_t>(top, p.posY);
            right = std::max<int64_t>(right, int64_t{p.posX} + p.rotW);
            bottom = std::max<int64_t>(bottom, int64_t{p.posY} + p.rotH);
        }
        const int32_t dx = shift((left + right) / 2.0, newW, oldW);
        const int32_t dy = shift((top + bottom) / 2.0, newH, oldH);
        if (dx == 0 && dy == 0) continue;
        ShiftRun(game, first, last, dx, dy);
        moved = true;
    }
    return moved;
}

bool KeepGroupsInside(TGame& game, int window, int width, int height, bool strict) {
    const int n = PiecesInPlay(game);
    if (n == 0) return false;
    const int frame = FramePieceIndex(game);
    const int32_t frameGroup = frame >= 0 ? game.Pieces[frame].group : 0;
    SortOrder(game, false);
    bool moved = false;
    for (int first = 0, last = 0; first < n; first = last) {
        const int32_t group = game.DrawOrder[first].group;
        for (last = first + 1; last < n && game.DrawOrder[last].group == group;) ++last;
        const TPiece& lead = game.Pieces[game.DrawOrder[first].piece];
        if (lead.window != window) continue;
        if (IsLost(lead.posX) || IsLost(lead.posY)) {
            ShiftRun(game, first, last, IsLost(lead.posX) ? NegateWrap(lead.posX) : 0,
                     IsLost(lead.posY) ? NegateWrap(lead.posY) : 0);
            moved = true;
        }
        const TShift s = frame >= 0 && group == frameGroup
                             ? FrameCorrection(game.Pieces[frame], width, height, strict)
                             : GroupCorrection(game, first, last, width, height, strict);
        if (s.IsZero()) continue;
        ShiftRun(game, first, last, s.X, s.Y);
        moved = true;
    }
    return moved;
}

}  // namespace orvel
