#include "play/Join.h"

#include <cstdlib>
#include <cstring>

#include "base/IntMath.h"
#include "game/GameModel.h"
#include "play/PieceGeometry.h"

namespace orvel {

namespace {

// A neighbour found within reach, and the correction (n, k) that puts the
// dropped piece exactly at its place beside it.
struct TMatch {
    int Other = -1;
    int N = 0;
    int K = 0;
};

// Where r lies relative to p when both are in place, both turned b quarter turns.
void ExpectedOffset(const TPiece& r, const TPiece& p, int b, int& v, int& l) {
    switch (b & 3) {
        case 0:
            v = r.boxX - p.boxX;
            l = r.boxY - p.boxY;
            break;
        case 1:
            v = p.boxH + p.boxY - r.boxH - r.boxY;
            l = r.boxX - p.boxX;
            break;
        case 2:
            v = p.boxW + p.boxX - r.boxW - r.boxX;
            l = p.boxH + p.boxY - r.boxH - r.boxY;
            break;
        default:
            v = r.boxY - p.boxY;
            l = p.boxW + p.boxX - r.boxW - r.boxX;
            break;
    }
}

bool WithinSnap(const TPiece& r, const TPiece& p, int b, int snap, TMatch& m) {
    int v = 0, l = 0;
    ExpectedOffset(r, p, b, v, l);
    const int o = r.posX - p.posX, t = r.posY - p.posY;
    if (std::abs(o - v) >= snap || std::abs(t - l) >= snap) return false;
    m.N = v - o;
    m.K = l - t;
    return true;
}

bool OnJigsawEdge(const GameHeader& h, const TPiece& p) {
    return p.boxX == h.JigsL || p.boxY == h.JigsT || p.boxX + p.boxW == h.JigsR + 1 ||
           p.boxY + p.boxH == h.JigsB + 1;
}

bool Candidate(const TPiece& p, int32_t group, int rotation, int window) {
    return p.group != group && p.rotation == rotation && p.window == window;
}

// The frame has no neighbour list: any piece on the edge of the jigsaw area
// lying at its place (both compared upright) will do.
bool FindForFrame(const TGame& game, int frame, int window, int snap, TMatch& m) {
    const TPiece& r = game.Pieces[frame];
    const int n = PiecesInPlay(game);
    for (int p = 0; p < n; ++p) {
        const TPiece& q = game.Pieces[p];
        if (p == frame || !Candidate(q, r.group, r.rotation, window)) continue;
        if (OnJigsawEdge(game.Header, q) && WithinSnap(r, q, 0, snap, m)) {
            m.Other = p;
            return true;
        }
    }
    return false;
}

bool FindNeighbour(const TGame& game, int piece, int window, int snap, TMatch& m) {
    const TPiece& r = game.Pieces[piece];
    const int n = PiecesInPlay(game);
    for (int16_t p : r.neighbours) {
        if (p < 0 || p >= n) continue;
        const TPiece& q = game.Pieces[p];
        if (Candidate(q, r.group, r.rotation, window) && WithinSnap(r, q, r.rotation, snap, m)) {
            m.Other = p;
            return true;
        }
    }
    return false;
}

struct TGroupInfo {
    int Count = 0;
    bool HasFrame = false;
};

TGroupInfo InfoOf(const TGame& game, int32_t group, int frame) {
    TGroupInfo info;
    const int n = PiecesInPlay(game);
    for (int i = 0; i < n; ++i)
        if (game.Pieces[i].group == group) ++info.Count;
    info.HasFrame = frame >= 0 && game.Pieces[frame].group == group;
    return info;
}

// Moves every piece of mover by (dx, dy), merging its wood edges with the
// other group first, then gives the pieces of both groups the number keep.
void MoveOnto(TGame& game, int32_t mover, int32_t other, int dx, int dy, int32_t keep,
              bool mergeWood) {
    const int n = PiecesInPlay(game);
    for (int i = 0; i < n; ++i) {
        TPiece& p = game.Pieces[i];
        if (p.group != mover) continue;
        if (mergeWood) MergeWoodEdges(game, i, other);
        p.posX += dx;
        p.posY += dy;
    }
    for (int i = 0; i < n; ++i) {
        TPiece& p = game.Pieces[i];
        if (p.group == mover || p.group == other) p.group = keep;
    }
    game.InvalidateOrder();
}

void Unite(TGame& game, int32_t a, const TMatch& m, int frame, bool mergeWood) {
    const int32_t other = game.Pieces[m.Other].group;
    const TGroupInfo dropped = InfoOf(game, a, frame), found = InfoOf(game, other, frame);
    if (dropped.HasFrame || (found.Count < dropped.Count && !found.HasFrame))
        MoveOnto(game, other, a, -m.N, -m.K, a, mergeWood);
    else
        MoveOnto(game, a, other, m.N, m.K, a, mergeWood);
}

// Direct access to one pixel of a wood buffer (rows top-down, 6 bytes a pixel).
uint8_t* WoodAt(TGame::WoodBuffer& wood, int x, int y) {
    return wood.Data.data() + (static_cast<size_t>(y) * wood.Width + x) * 6;
}

// A piece's box in one rotation's buffers, enlarged right and down by the edge.
struct TWoodBox {
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;  // inclusive
    uint16_t Bit = 0;
    int Shift = 0;
    bool Contains(int x, int y) const { return x >= X0 && y >= Y0 && x <= X1 && y <= Y1; }
};

TWoodBox WoodBoxOf(const GameHeader& h, const TPiece& p, int rotation, int edge) {
    const TRotatedBox box = RotatedBox(h, p, rotation);
    TWoodBox b;
    b.X0 = box.srcX;
    b.Y0 = box.srcY;
    b.X1 = box.srcX + box.rotW - 1 + edge;
    b.Y1 = box.srcY + box.rotH - 1 + edge;
    b.Bit = static_cast<uint16_t>(p.reliefCode);
    b.Shift = 3 * Clamp(p.reliefSlot, 0, 9);
    return b;
}

void MergeInRotation(const TWoodBox& k, const TWoodBox* others, int count,
                     TGame::WoodBuffer& wood) {
    const int x0 = Max(k.X0, 0), y0 = Max(k.Y0, 0);
    const int x1 = Min(k.X1, wood.Width - 1), y1 = Min(k.Y1, wood.Height - 1);
    for (int y = y0; y <= y1; ++y) {
        uint8_t* w = WoodAt(wood, x0, y);
        for (int x = x0; x <= x1; ++x, w += 6) {
            const unsigned set = w[0] | (w[1] << 8);
            if ((set & k.Bit) == 0 || set == k.Bit) continue;
            uint32_t dist;
            std::memcpy(&dist, w + 2, 4);
            const uint32_t a = (dist >> k.Shift) & 7;
            for (int o = 0; o < count; ++o) {
                if ((set & others[o].Bit) == 0 || !others[o].Contains(x, y)) continue;
                const uint32_t v = (dist >> others[o].Shift) & 7;
                if (a != 0 && (v == 0 || v < a)) dist &= ~(7u << k.Shift);
                if (v > a) dist &= ~(7u << others[o].Shift);
            }
            std::memcpy(w + 2, &dist, 4);
        }
    }
}

}  // namespace

int SnapDistance(const GameHeader& header, int stuckKoef) {
    return Round(header.SnapBase * static_cast<double>(stuckKoef) / 10.0);
}

TJoinResult JoinGroups(TGame& game, int picked, int window, int snap, bool mergeWood) {
    TJoinResult result;
    const int n = PiecesInPlay(game);
    if (picked < 0 || picked >= n) return result;
    const int32_t a = game.Pieces[picked].group;
    const int b = game.Pieces[picked].rotation;
    const int frame = FramePieceIndex(game);
    for (int r = 0; r < n; ++r) {
        const TPiece& piece = game.Pieces[r];
        if (piece.group != a || piece.rotation != b) continue;
        TMatch m;
        const bool found = r == frame ? FindForFrame(game, r, window, snap, m)
                                      : FindNeighbour(game, r, window, snap, m);
        if (!found) continue;
        Unite(game, a, m, frame, mergeWood);
        ++result.Joins;
        result.LastPiece = r;
        result.LastOther = m.Other;
    }
    return result;
}

void MergeWoodEdges(TGame& game, int piece, int32_t group) {
    const int n = PiecesInPlay(game);
    const int edge = game.WoodWidth;
    if (piece < 0 || piece >= n || edge <= 0) return;
    const TPiece& k = game.Pieces[piece];
    const int rotations = game.Header.Rotate ? 4 : 1;
    for (int rot = 0; rot < rotations; ++rot) {
        TGame::WoodBuffer& wood = game.Wood[rot];
        if (wood.Data.size() != static_cast<size_t>(wood.Width) * wood.Height * 6 ||
            wood.Data.empty())
            continue;
        TWoodBox others[9];
        int count = 0;
        for (int16_t o : k.neighbours)
            if (o >= 0 && o < n && o != piece && game.Pieces[o].group == group)
                others[count++] = WoodBoxOf(game.Header, game.Pieces[o], rot, edge);
        if (count == 0) return;
        const TWoodBox box = WoodBoxOf(game.Header, k, rot, edge);
        MergeInRotation(box, others, count, wood);
        game.WoodChanges.push_back({rot, box.X0, box.Y0, box.X1, box.Y1});
    }
}

void JoinStarPoint(const TGame& game, int r, int p, int& x, int& y) {
    const int frame = FramePieceIndex(game);
    const TPiece& a = game.Pieces[r];
    const TPiece& b = game.Pieces[p];
    if (r != frame && p != frame) {
        x = ((a.posX + a.rotW / 2) + (b.posX + b.rotW / 2)) / 2;
        y = ((a.posY + a.rotH / 2) + (b.posY + b.rotH / 2)) / 2;
        return;
    }
    const TPiece& q = r == frame ? b : a;
    const GameHeader& h = game.Header;
    x = q.boxX == h.JigsL
            ? q.posX
            : (q.boxX + q.boxW == h.JigsR + 1 ? q.posX + q.rotW - 1 : q.posX + q.rotW / 2);
    y = q.boxY == h.JigsT
            ? q.posY
            : (q.boxY + q.boxH == h.JigsB + 1 ? q.posY + q.rotH - 1 : q.posY + q.rotH / 2);
}

}  // namespace orvel
