#include "play/PieceRuns.h"

#include <cstring>

#include "base/IntMath.h"
#include "play/PieceGeometry.h"

namespace orvel {

namespace {

// The piece's wood distance in a wood word, 0 when its class is not there.
inline int EdgeShade(const uint8_t* w, const TRunsKey& key) {
    const unsigned set = w[0] | (w[1] << 8);
    const uint32_t dist = static_cast<uint32_t>(w[2]) | (static_cast<uint32_t>(w[3]) << 8) |
                          (static_cast<uint32_t>(w[4]) << 16) | (static_cast<uint32_t>(w[5]) << 24);
    return (set & key.Bit) != 0 ? static_cast<int>((dist >> key.Shift) & 7) : 0;
}

// One row's pixels x0 <= x < x1 as they lie in the buffers: m and w point
// at pixel x0 of the mask and the wood (null: no edge), pic at pixel x0 of
// the picture (used only below faceEnd).
struct TRowSource {
    const uint8_t* Mask = nullptr;
    const uint8_t* Picture = nullptr;
    const uint8_t* Wood = nullptr;
    int X0 = 0, X1 = 0, FaceEnd = 0;
};

// The face run starting at x: its colours, and where it ends.
int AddFaceRun(const TRowSource& r, const TRunsKey& key, int x, TPieceRuns& out) {
    const int stop = Min(r.FaceEnd, r.X1);
    int end = x;
    while (end < stop && r.Mask[3 * (end - r.X0)] == key.Code) ++end;
    const size_t at = out.Colours.size();
    out.Colours.resize(at + 3 * static_cast<size_t>(end - x));
    uint8_t* c = out.Colours.data() + at;
    const uint8_t* m = r.Mask + 3 * (x - r.X0);
    const uint8_t* p = r.Picture + 3 * (x - r.X0);
    const size_t bytes = 3 * static_cast<size_t>(end - x);
    if (key.Relief) {
        for (size_t i = 0; i < bytes; i += 3)
            for (int k = 0; k < 3; ++k) c[i + k] = AddRelief(p[i + k], m[i + 2]);
    } else {
        std::memcpy(c, p, bytes);
    }
    out.Runs.push_back({static_cast<uint16_t>(x), static_cast<uint16_t>(end - x)});
    return end;
}

bool IsFace(const TRowSource& r, const TRunsKey& key, int x) {
    return x < r.FaceEnd && r.Mask[3 * (x - r.X0)] == key.Code;
}

// The edge run starting at x (with a distance other than 0 there): its
// distances, and where it ends.
int AddEdgeRun(const TRowSource& r, const TRunsKey& key, int x, TPieceRuns& out,
               std::vector<TPixelRun>& edges) {
    int end = x;
    for (; end < r.X1 && !IsFace(r, key, end); ++end) {
        const int shade = EdgeShade(r.Wood + 6 * (end - r.X0), key);
        if (shade == 0) break;
        out.Shades.push_back(static_cast<uint8_t>(shade));
    }
    edges.push_back({static_cast<uint16_t>(x), static_cast<uint16_t>(end - x)});
    return end;
}

// The runs of one row's pixels: face runs straight into the piece's list,
// edge runs aside, to follow the row's face runs.
void ScanRow(const TRowSource& r, const TRunsKey& key, TPieceRuns& out,
             std::vector<TPixelRun>& edges) {
    for (int x = r.X0; x < r.X1;) {
        if (IsFace(r, key, x))
            x = AddFaceRun(r, key, x, out);
        else if (r.Wood != nullptr && EdgeShade(r.Wood + 6 * (x - r.X0), key) != 0)
            x = AddEdgeRun(r, key, x, out, edges);
        else
            ++x;
    }
}

TRowSource RowAt(const TRunsSource& src, const TRunsKey& key, int ly, int x0, int x1) {
    TRowSource r;
    const int mx = key.SrcX + x0, my = key.SrcY + ly;
    r.X0 = x0;
    r.X1 = x1;
    r.FaceEnd = ly < key.FaceH ? key.FaceW : 0;
    r.Mask = PixelPtr(*src.Mask, mx, my);
    if (r.FaceEnd > x0) r.Picture = PixelPtr(*src.Picture, mx, my);
    if (key.Wood)
        r.Wood = src.Wood->Data.data() + (static_cast<size_t>(my) * src.Wood->Width + mx) * 6;
    return r;
}

// Rows of a piece lie far apart in the buffers and start on lines the
// caches do not hold: the lines kAhead rows further down are asked for
// early, so that their loads overlap the work on this row.
constexpr int kAhead = 4;

void Prefetch(const uint8_t* first, size_t bytes) {
    const uint8_t* last = first + bytes - 1;
    for (const uint8_t* at = first; at < last; at += 64) __builtin_prefetch(at);
    __builtin_prefetch(last);
}

void PrefetchRow(const TRowSource& r) {
    const int n = r.X1 - r.X0;
    Prefetch(r.Mask, 3 * static_cast<size_t>(n));
    if (r.Picture != nullptr)
        Prefetch(r.Picture, 3 * static_cast<size_t>(Min(n, r.FaceEnd - r.X0)));
    if (r.Wood != nullptr) Prefetch(r.Wood, 6 * static_cast<size_t>(n));
}

// Copies the runs into out, each list in one block of its own size.
void CopyTight(const TPieceRuns& work, TPieceRuns& out) {
    out.Key = work.Key;
    out.Rows.assign(work.Rows.begin(), work.Rows.end());
    out.Runs.assign(work.Runs.begin(), work.Runs.end());
    out.Colours.assign(work.Colours.begin(), work.Colours.end());
    out.Shades.assign(work.Shades.begin(), work.Shades.end());
}

}  // namespace

int PieceSpans(int rotW, int rotH, int edge, bool frame, TPieceSpan spans[4]) {
    if (!frame) {
        spans[0] = {0, 0, rotW + edge, rotH + edge};
        return 1;
    }
    const int f = kFrameWidth;
    const int sideH = rotH - 2 * f - edge;
    spans[0] = {0, 0, rotW + edge, f + edge};
    spans[1] = {0, rotH - f, rotW + edge, f + edge};
    spans[2] = {0, f + edge, f + edge, sideH};
    spans[3] = {rotW - f, f + edge, f + edge, sideH};
    return 4;
}

void BuildPieceRuns(const TRunsSource& source, const TRunsKey& key, TPieceRuns& out) {
    out.Key = key;
    out.Rows.clear();
    out.Runs.clear();
    out.Colours.clear();
    out.Shades.clear();
    TPieceSpan spans[4];
    const int count = PieceSpans(key.RotW, key.RotH, key.Edge, key.Frame, spans);
    const int height = Max(0, key.RotH + key.Edge);
    // The part of the box that lies on the mask.
    const int xMin = Max(0, -key.SrcX), xEnd = source.Mask->Width - key.SrcX;
    const int yMin = Max(0, -key.SrcY), yEnd = source.Mask->Height - key.SrcY;
    // The row sources of box row ly, one for each span it crosses.
    const auto forRow = [&](int ly, auto&& use) {
        for (int i = 0; i < count && ly >= yMin && ly < yEnd; ++i) {
            const TPieceSpan& s = spans[i];
            const int x0 = Max(s.X, xMin), x1 = Min(s.X + s.Width, xEnd);
            if (ly >= s.Y && ly < s.Y + s.Height && x0 < x1) use(RowAt(source, key, ly, x0, x1));
        }
    };
    std::vector<TPixelRun> edges;
    out.Rows.resize(static_cast<size_t>(height) + 1);
    for (int ly = 0; ly < height; ++ly) {
        TRunsRow& row = out.Rows[ly];
        row.Face = static_cast<uint32_t>(out.Runs.size());
        row.Colour = static_cast<uint32_t>(out.Colours.size());
        row.Shade = static_cast<uint32_t>(out.Shades.size());
        edges.clear();
        if (ly + kAhead < height) forRow(ly + kAhead, PrefetchRow);
        forRow(ly, [&](const TRowSource& r) { ScanRow(r, key, out, edges); });
        row.Edge = static_cast<uint32_t>(out.Runs.size());
        out.Runs.insert(out.Runs.end(), edges.begin(), edges.end());
    }
    const auto end = static_cast<uint32_t>(out.Runs.size());
    out.Rows[height] = TRunsRow{end, end, static_cast<uint32_t>(out.Colours.size()),
                                static_cast<uint32_t>(out.Shades.size())};
}

TPieceRunsCache::TBuffersKey TPieceRunsCache::BuffersOf(const TGame& game) {
    TBuffersKey k;
    for (int i = 0; i < 8; ++i) k.Bits[i] = game.Buffers[i].Bits;
    for (int r = 0; r < 4; ++r) {
        k.Wood[r] = game.Wood[r].Data.data();
        k.WoodSize[r] = game.Wood[r].Data.size();
    }
    k.Pieces = game.Pieces.size();
    return k;
}

// Whether a join changed the wood under the box since the runs were gathered.
bool TPieceRunsCache::Changed(const TGame& game, const TPieceRuns& runs) {
    const std::vector<TGame::WoodChange>& changes = game.WoodChanges;
    if (runs.WoodChangesSeen > changes.size()) return true;
    const TRunsKey& k = runs.Key;
    const int x1 = k.SrcX + k.RotW + k.Edge - 1, y1 = k.SrcY + k.RotH + k.Edge - 1;
    for (size_t i = runs.WoodChangesSeen; i < changes.size(); ++i) {
        const TGame::WoodChange& c = changes[i];
        if (c.Rotation == k.Rotation && c.X0 <= x1 && c.X1 >= k.SrcX && c.Y0 <= y1 &&
            c.Y1 >= k.SrcY)
            return true;
    }
    return false;
}

const TPieceRuns* TPieceRunsCache::Find(const TGame& game, int piece, const TRunsKey& key) {
    if (game.EffectsStamp == 0 || key.Rotation < 0 || key.Rotation > 3 || piece < 0 ||
        static_cast<size_t>(piece) >= game.Pieces.size())
        return nullptr;
    if (game.EffectsStamp != m_stamp) {
        Clear();
        m_stamp = game.EffectsStamp;
    }
    const TBuffersKey buffers = BuffersOf(game);
    if (!(buffers == m_buffers)) {
        m_runs.clear();
        m_buffers = buffers;
    }
    if (m_runs.size() != buffers.Pieces) m_runs.resize(buffers.Pieces);
    TPieceRuns& r = m_runs[piece];
    if (!r.Built || !(r.Key == key) || (key.Wood && Changed(game, r))) {
        const TRunsSource source{&game.Buffers[key.Rotation], &game.Buffers[4 + key.Rotation],
                                 &game.Wood[key.Rotation]};
        BuildPieceRuns(source, key, m_work);
        CopyTight(m_work, r);
        r.Built = true;
    }
    r.WoodChangesSeen = game.WoodChanges.size();
    return &r;
}

void TPieceRunsCache::Clear() {
    m_stamp = 0;
    m_buffers = TBuffersKey{};
    m_runs = std::vector<TPieceRuns>();
}

size_t TPieceRunsCache::MemoryBytes() const {
    size_t bytes = m_runs.capacity() * sizeof(TPieceRuns);
    for (const TPieceRuns& r : m_runs)
        bytes += r.Rows.capacity() * sizeof(TRunsRow) + r.Runs.capacity() * sizeof(TPixelRun) +
                 r.Colours.capacity() + r.Shades.capacity();
    return bytes;
}

}  // namespace orvel
