// Wooden surfaces: one continuous sheet of wood, rows of boards with butt
// joints, and a herringbone parquet. They share one model of sawn wood.

#include <algorithm>
#include <cmath>
#include <vector>

#include "Backgrounds.h"
#include "Noise.h"

namespace orvel {

namespace {

struct WoodStyle {
    Rgb Early;       // the light part of a growth ring
    Rgb Late;        // the darker band that closes a ring
    int Rings;       // growth rings across the tile height (whole, for seamless tiling)
    float Waviness;  // how far the rings wander, in ring widths
    float Fibres;    // strength of the fine lengthwise streaks
    float Pores;     // strength of the small dark pore dashes
    float Mottle;    // strength of broad, soft colour clouds
    uint32_t Seed;
};

int Wrap(int value, int period) {
    return ((value % period) + period) % period;
}

// How dark a point is within its growth ring: the wood darkens late in the
// season into a narrow band and turns light again at once with the next ring.
float LatewoodAmount(float ringPhase) {
    const float t = ringPhase - std::floor(ringPhase);
    const float rise = Smoothstep(0.45f, 0.94f, t);
    return rise * rise * (1 - Smoothstep(0.94f, 1.0f, t));
}

// The wood at (x, y) pixels of a tile-sized field with the grain along x. The
// field repeats after one tile in both directions.
Rgb WoodAt(const WoodStyle& s, float x, float y) {
    const float u = x / float(kTileWidth);
    const float v = y / float(kTileHeight);
    // Rings drift slowly along the board and crowd or spread across it.
    const float ring = v * float(s.Rings) + s.Waviness * PeriodicFbm(u, v, 2, 4, 3, s.Seed);
    // Rings differ in how dark they close; the index wraps with the tile.
    const int index = int(std::floor(ring));
    const float strength = 0.55f + 0.45f * HashUnit(uint32_t(Wrap(index, s.Rings)), 0, s.Seed);
    const float late = strength * LatewoodAmount(ring);
    // Fibres and pores follow the rings, so they are sampled along them.
    const float along = ring / float(s.Rings);
    const float fibre = PeriodicFbm(u, along, 12, 700, 2, s.Seed + 23);
    const float pore = PeriodicNoise(u * 160, along * 900, 160, 900, s.Seed + 37);
    const float mottle = PeriodicFbm(u, v, 4, 3, 2, s.Seed + 41);
    Rgb c = Mix(s.Early, s.Late, late);
    c = c * (1 + s.Fibres * fibre + s.Mottle * mottle);
    return c * (1 - s.Pores * Smoothstep(0.3f, 0.7f, pore));
}

// Distances in pixels from a pixel centre to the four edges of its board.
struct EdgeDistances {
    float Left, Top, Right, Bottom;
};

// A narrow dark joint around each board, with the edges slightly rounded
// over and lit from the top left.
float BoardEdgeShade(const EdgeDistances& d) {
    const float nearest = std::min({d.Left, d.Top, d.Right, d.Bottom});
    float shade = Mix(0.68f, 1.0f, Smoothstep(0.0f, 1.6f, nearest));
    shade += 0.05f * (1 - Smoothstep(0.0f, 4.0f, std::min(d.Left, d.Top)));
    shade -= 0.05f * (1 - Smoothstep(0.0f, 4.0f, std::min(d.Right, d.Bottom)));
    return shade;
}

// Each board is cut from its own part of the wood and has its own slight tone.
struct BoardCut {
    float OffsetX, OffsetY;
    float Tone;
};

BoardCut CutFor(uint32_t a, uint32_t b, uint32_t seed, float toneSpread) {
    return {HashUnit(a, b, seed) * kTileWidth, HashUnit(a, b, seed + 1) * kTileHeight,
            1 + toneSpread * (HashUnit(a, b, seed + 2) - 0.5f)};
}

Picture DrawVeneer(const WoodStyle& style) {
    Picture pic(kTileWidth, kTileHeight);
    for (int y = 0; y < kTileHeight; ++y)
        for (int x = 0; x < kTileWidth; ++x) pic.At(x, y) = WoodAt(style, x + 0.5f, y + 0.5f);
    return pic;
}

// Where the board ends of one row fall: `count` positions, roughly evenly
// spread, sorted, each a whole pixel inside the tile width.
std::vector<int> RowJoints(int row, int count, uint32_t seed) {
    const float spacing = float(kTileWidth) / float(count);
    const float start = HashUnit(uint32_t(row), 0, seed) * spacing;
    std::vector<int> joints;
    for (int k = 0; k < count; ++k) {
        const float jitter = 0.5f * (HashUnit(uint32_t(row), uint32_t(k + 1), seed) - 0.5f);
        joints.push_back(int(start + (float(k) + jitter) * spacing + kTileWidth) % kTileWidth);
    }
    std::sort(joints.begin(), joints.end());
    return joints;
}

// Rows of boards running along x, each row with its butt joints staggered
// against its neighbours. The board that crosses the tile's right edge
// continues at the left one.
Picture DrawBoards(const WoodStyle& style, int rows, int jointsPerRow) {
    Picture pic(kTileWidth, kTileHeight);
    const int rowHeight = kTileHeight / rows;
    for (int row = 0; row < rows; ++row) {
        const std::vector<int> joints = RowJoints(row, jointsPerRow, style.Seed);
        for (int x = 0; x < kTileWidth; ++x) {
            // The board under x starts at the last joint at or before x, cyclically.
            const auto next = std::upper_bound(joints.begin(), joints.end(), x);
            const int board = int(next - joints.begin() + jointsPerRow - 1) % jointsPerRow;
            const int left = joints[size_t(board)];
            const int right = joints[size_t((board + 1) % jointsPerRow)];
            const BoardCut cut = CutFor(uint32_t(row), uint32_t(board), style.Seed + 101, 0.1f);
            for (int y = row * rowHeight; y < (row + 1) * rowHeight; ++y) {
                const EdgeDistances d{float(Wrap(x - left, kTileWidth)) + 0.5f,
                                      float(y - row * rowHeight) + 0.5f,
                                      float(Wrap(right - x, kTileWidth)) - 0.5f,
                                      float((row + 1) * rowHeight - y) - 0.5f};
                const Rgb wood = WoodAt(style, x + 0.5f + cut.OffsetX, y + 0.5f + cut.OffsetY);
                pic.At(x, y) = wood * (cut.Tone * BoardEdgeShade(d));
            }
        }
    }
    return pic;
}

// Herringbone of planks kPlankLength × kPlankWidth: horizontal planks step down and to
// the right in a staircase, each with a vertical plank beside its right end.
// Plank pairs sit on the lattice spanned by (kWidth, kWidth) and
// (kPlankLength, -kPlankLength), which repeats after exactly one tile.
constexpr int kPlankLength = 100;
constexpr int kPlankWidth = 25;
static_assert(kTileWidth % (2 * kPlankLength) == 0 && kTileHeight % (2 * kPlankLength) == 0 &&
                  kTileWidth % (2 * kPlankWidth) == 0 && kTileHeight % (2 * kPlankWidth) == 0,
              "the herringbone lattice must repeat after one tile");

struct PlankHit {
    bool Vertical = false;
    int OriginX = 0, OriginY = 0;  // top-left corner of the plank
    float Along = 0, Across = 0;   // position of the pixel centre inside the plank
};

bool FindPlank(float px, float py, PlankHit& hit) {
    const int a = int(std::floor((px + py) / (2 * kPlankWidth)));
    const int b = int(std::floor((px - py) / (2 * kPlankLength)));
    for (int i = a - 3; i <= a + 1; ++i) {
        for (int j = b - 2; j <= b + 1; ++j) {
            const int ox = i * kPlankWidth + j * kPlankLength;
            const int oy = i * kPlankWidth - j * kPlankLength;
            const float hx = px - float(ox), hy = py - float(oy);
            if (hx >= 0 && hx < kPlankLength && hy >= 0 && hy < kPlankWidth) {
                hit = {false, ox, oy, hx, hy};
                return true;
            }
            const int vx = ox + kPlankLength, vy = oy + kPlankWidth - kPlankLength;
            const float dx = px - float(vx), dy = py - float(vy);
            if (dx >= 0 && dx < kPlankWidth && dy >= 0 && dy < kPlankLength) {
                hit = {true, vx, vy, dy, dx};
                return true;
            }
        }
    }
    return false;
}

EdgeDistances PlankEdges(const PlankHit& h) {
    const float alongEnd = kPlankLength - h.Along;
    const float acrossEnd = kPlankWidth - h.Across;
    if (h.Vertical) return {h.Across, h.Along, acrossEnd, alongEnd};
    return {h.Along, h.Across, alongEnd, acrossEnd};
}

Picture DrawHerringbone(const WoodStyle& style) {
    Picture pic(kTileWidth, kTileHeight);
    for (int y = 0; y < kTileHeight; ++y) {
        for (int x = 0; x < kTileWidth; ++x) {
            PlankHit h;
            if (!FindPlank(x + 0.5f, y + 0.5f, h)) continue;
            // Planks one tile apart are the same plank, so they look the same.
            const uint32_t idX = uint32_t(Wrap(h.OriginX, kTileWidth)) * 2 + (h.Vertical ? 1 : 0);
            const uint32_t idY = uint32_t(Wrap(h.OriginY, kTileHeight));
            const BoardCut cut = CutFor(idX, idY, style.Seed + 101, 0.12f);
            // Light catches the two plank directions differently.
            const float sheen = h.Vertical ? 1.03f : 0.98f;
            const Rgb wood = WoodAt(style, h.Along + cut.OffsetX, h.Across + cut.OffsetY);
            pic.At(x, y) = wood * (cut.Tone * sheen * BoardEdgeShade(PlankEdges(h)));
        }
    }
    return pic;
}

}  // namespace

Picture DrawParquet() {
    return DrawHerringbone({Hex(0xAC8A64), Hex(0x8A6A4A), 90, 2.0f, 0.08f, 0.05f, 0.04f, 1001});
}

// Pale ash in one sheet.
Picture DrawWood1() {
    return DrawVeneer({Hex(0xC0AC8E), Hex(0xA08868), 80, 8.0f, 0.08f, 0.03f, 0.03f, 2001});
}

// Oak floor boards.
Picture DrawWood2() {
    return DrawBoards({Hex(0xA8885F), Hex(0x846448), 100, 6.0f, 0.08f, 0.06f, 0.04f, 2002}, 8, 2);
}

// Dark walnut in one sheet.
Picture DrawWood3() {
    return DrawVeneer({Hex(0x74594A), Hex(0x543C30), 60, 9.0f, 0.08f, 0.03f, 0.05f, 2003});
}

// Wide cherry planks.
Picture DrawWood4() {
    return DrawBoards({Hex(0xA47458), Hex(0x825640), 90, 7.0f, 0.08f, 0.02f, 0.04f, 2004}, 5, 2);
}

// Weathered grey boards.
Picture DrawWood5() {
    return DrawBoards({Hex(0xA29C92), Hex(0x827A6E), 80, 6.0f, 0.10f, 0.03f, 0.05f, 2005}, 10, 3);
}

}  // namespace orvel
