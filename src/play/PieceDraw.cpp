#include "play/PieceDraw.h"

#include <cstring>

#include "base/IntMath.h"
#include "game/GameModel.h"
#include "play/PieceGeometry.h"
#include "play/PieceRuns.h"

namespace orvel {

namespace {

constexpr int kMaxShade = 8;  // a wood distance has three bits

// The edge colours by wood distance, worked out once per piece.
struct TEdgeShades {
    int Style = 0;                   // 0 none, 1 wood colour, 2 shadow
    uint8_t Colour[kMaxShade][3]{};  // wood: blue, green, red of shade d
    int Keep[kMaxShade]{};           // shadow: 256 - a of shade d
};

TEdgeShades MakeShades(const TPieceLook& look, int edgeWidth) {
    TEdgeShades s;
    if (edgeWidth <= 0) return s;
    if (look.WoodStyle == 1) {
        s.Style = 1;
        for (int d = 0; d < kMaxShade; ++d) {
            s.Colour[d][0] = static_cast<uint8_t>(ClampByte(ColorB(look.WoodColor) - 10 * d));
            s.Colour[d][1] = static_cast<uint8_t>(ClampByte(ColorG(look.WoodColor) - 10 * d));
            s.Colour[d][2] = static_cast<uint8_t>(ClampByte(ColorR(look.WoodColor) - 10 * d));
        }
    } else if (look.WoodStyle == 2 && edgeWidth > 1) {
        s.Style = 2;
        const int step = 112 / (edgeWidth - 1);
        for (int d = 0; d < kMaxShade; ++d) s.Keep[d] = 256 - Max(0, 128 - d * step);
    }
    return s;
}

// What drawing one piece reads: the buffers of its rotation and its codes.
struct TPieceSource {
    const TMyBitmap* Picture = nullptr;
    const TMyBitmap* Mask = nullptr;
    const TGame::WoodBuffer* Wood = nullptr;  // null: no edge
    int SrcX = 0, SrcY = 0;
    int FaceW = 0, FaceH = 0;  // the box, held inside the picture
    bool Relief = false;
    bool Selected = false;
};

// Pixel pointers of a 24-bit buffer (rows bottom-up), without a call per row.
inline uint8_t* Pixel24(const TMyBitmap& b, int x, int y) {
    return b.Bits + static_cast<ptrdiff_t>(b.Height - 1 - y) * b.Stride +
           3 * static_cast<ptrdiff_t>(x);
}

// What every pixel of a span needs, copied out of the piece and the look
// into one local value: byte stores into the target may alias anything the
// compiler cannot see is local, and would make it reload these per pixel.
struct TPixelConsts {
    TEdgeShades Shades;
    unsigned Code = 0;
    unsigned Bit = 0;
    int Shift = 0;
};

// The picture pixel with the relief (the mask's red byte) added and, for a
// selected piece, inverted.
template <bool kRelief, bool kInvert>
inline void FacePixel(uint8_t* d, const uint8_t* pic, uint8_t relief) {
    constexpr uint8_t invert = kInvert ? 255 : 0;
    if constexpr (kRelief) {
        d[0] = AddRelief(pic[0], relief) ^ invert;
        d[1] = AddRelief(pic[1], relief) ^ invert;
        d[2] = AddRelief(pic[2], relief) ^ invert;
    } else {
        d[0] = pic[0] ^ invert;
        d[1] = pic[1] ^ invert;
        d[2] = pic[2] ^ invert;
    }
}

// The wood word of a pixel: the set of piece classes whose edge lies here
// (16 bits) and a 3-bit distance per class (32 bits), little-endian.
template <int kStyle>
inline void EdgePixel(uint8_t* d, const uint8_t* w, const TPixelConsts& k) {
    const unsigned set = w[0] | (w[1] << 8);
    if ((set & k.Bit) == 0) return;
    const uint32_t dist = static_cast<uint32_t>(w[2]) | (static_cast<uint32_t>(w[3]) << 8) |
                          (static_cast<uint32_t>(w[4]) << 16) | (static_cast<uint32_t>(w[5]) << 24);
    const int shade = static_cast<int>((dist >> k.Shift) & 7);
    if (shade == 0) return;
    if constexpr (kStyle == 1) {
        d[0] = k.Shades.Colour[shade][0];
        d[1] = k.Shades.Colour[shade][1];
        d[2] = k.Shades.Colour[shade][2];
    } else {
        // keep is positive: the division by 256 is a shift.
        const unsigned keep = static_cast<unsigned>(k.Shades.Keep[shade]);
        d[0] = static_cast<uint8_t>((d[0] * keep) >> 8);
        d[1] = static_cast<uint8_t>((d[1] * keep) >> 8);
        d[2] = static_cast<uint8_t>((d[2] * keep) >> 8);
    }
}

// Pieces lie anywhere on the field and in the buffers, so each row of a
// piece starts on lines the caches do not hold. The lines kAhead rows further
// down are asked for early, so that their loads overlap the work on this row.
constexpr int kAhead = 4;

inline void PrefetchRun(const uint8_t* first, size_t bytes) {
    const uint8_t* last = first + bytes - 1;
    for (const uint8_t* at = first; at < last; at += 64) __builtin_prefetch(at);
    __builtin_prefetch(last);
}

// The rows of one clipped span: where its first row starts in each buffer
// and how far apart the rows lie.
struct TSpanRows {
    uint8_t* Dst = nullptr;
    const uint8_t* Mask = nullptr;
    const uint8_t* Pic = nullptr;   // the face's first row; unused when FaceRows is 0
    const uint8_t* Wood = nullptr;  // null: no edge
    ptrdiff_t DstStep = 0, MaskStep = 0, PicStep = 0, WoodStep = 0;
    int Width = 0, Height = 0;
    int FaceW = 0;     // the columns of the face in every row
    int FaceRows = 0;  // the rows that reach the face
};

// One row: the face where the mask holds the piece's code, the edge at
// every other pixel of the row.
template <bool kRelief, bool kInvert, int kEdge>
inline void DrawRow(uint8_t* d, const uint8_t* m, const uint8_t* p, const uint8_t* w, int faceEnd,
                    int width, const TPixelConsts& k) {
    const unsigned code = k.Code;
    int i = 0;
    for (; i < faceEnd; ++i, d += 3, m += 3, p += 3, w += 6) {
        if (m[0] == code)
            FacePixel<kRelief, kInvert>(d, p, m[2]);
        else if constexpr (kEdge != 0)
            EdgePixel<kEdge>(d, w, k);
    }
    if constexpr (kEdge != 0)
        for (; i < width; ++i, d += 3, w += 6) EdgePixel<kEdge>(d, w, k);
}

template <bool kRelief, bool kInvert, int kEdge>
void DrawRows(const TSpanRows& r, const TPixelConsts& consts) {
    const TPixelConsts k = consts;
    uint8_t* d = r.Dst;
    const uint8_t* m = r.Mask;
    const uint8_t* p = r.Pic;
    const uint8_t* w = r.Wood;
    for (int row = 0; row < r.Height; ++row) {
        if (row + kAhead < r.Height) {
            PrefetchRun(d + kAhead * r.DstStep, 3 * static_cast<size_t>(r.Width));
            PrefetchRun(m + kAhead * r.MaskStep, 3 * static_cast<size_t>(r.Width));
            if constexpr (kEdge != 0)
                PrefetchRun(w + kAhead * r.WoodStep, 6 * static_cast<size_t>(r.Width));
            if (r.FaceW > 0 && row + kAhead < r.FaceRows)
                PrefetchRun(p + kAhead * r.PicStep, 3 * static_cast<size_t>(r.FaceW));
        }
        const int faceEnd = row < r.FaceRows ? r.FaceW : 0;
        if (faceEnd > 0 || kEdge != 0)
            DrawRow<kRelief, kInvert, kEdge>(d, m, p, w, faceEnd, r.Width, k);
        d += r.DstStep;
        m += r.MaskStep;
        if (row + 1 < r.FaceRows) p += r.PicStep;
        if constexpr (kEdge != 0) w += r.WoodStep;
    }
}

using TRowsFn = void (*)(const TSpanRows&, const TPixelConsts&);

// The row drawer for the relief, the selection and the edge style.
TRowsFn RowsFor(bool relief, bool invert, int edge) {
    static constexpr TRowsFn kTable[2][2][3] = {
        {{DrawRows<false, false, 0>, DrawRows<false, false, 1>, DrawRows<false, false, 2>},
         {DrawRows<false, true, 0>, DrawRows<false, true, 1>, DrawRows<false, true, 2>}},
        {{DrawRows<true, false, 0>, DrawRows<true, false, 1>, DrawRows<true, false, 2>},
         {DrawRows<true, true, 0>, DrawRows<true, true, 1>, DrawRows<true, true, 2>}}};
    return kTable[relief][invert][edge];
}

// Draws the part (lx, ly, w, h) of the piece's enlarged box, whose top-left
// lies at (fx, fy) of the target. clip already holds the target and the
// mask inside, so every row pointer stays in its buffer.
void DrawSpan(TMyBitmap& t, const TMyRect& clip, const TPieceSource& s, const TPixelConsts& k,
              int fx, int fy, int lx, int ly, int w, int h) {
    int x = fx + lx, y = fy + ly, sx = lx, sy = ly;
    if (!ClipSpan(clip, x, y, w, h, sx, sy)) return;
    const TGame::WoodBuffer* wood = k.Shades.Style != 0 ? s.Wood : nullptr;
    const int mx = s.SrcX + sx;
    TSpanRows r;
    r.Width = w;
    r.Height = h;
    r.Dst = Pixel24(t, x, y);
    r.DstStep = -static_cast<ptrdiff_t>(t.Stride);
    r.Mask = Pixel24(*s.Mask, mx, s.SrcY + sy);
    r.MaskStep = -static_cast<ptrdiff_t>(s.Mask->Stride);
    r.FaceW = Clamp(s.FaceW - sx, 0, w);
    r.FaceRows = Clamp(s.FaceH - sy, 0, h);
    if (r.FaceW > 0 && r.FaceRows > 0) {
        r.Pic = Pixel24(*s.Picture, mx, s.SrcY + sy);
        r.PicStep = -static_cast<ptrdiff_t>(s.Picture->Stride);
    }
    if (wood) {
        r.Wood = wood->Data.data() + (static_cast<size_t>(s.SrcY + sy) * wood->Width + mx) * 6;
        r.WoodStep = static_cast<ptrdiff_t>(wood->Width) * 6;
    }
    RowsFor(s.Relief, s.Selected, wood ? k.Shades.Style : 0)(r, k);
}

// A face run of n pixels from its gathered colours, inverted for a selected piece.
template <bool kInvert>
inline void FaceRun(uint8_t* d, const uint8_t* colours, int n) {
    if constexpr (kInvert) {
        for (int i = 0; i < 3 * n; ++i) d[i] = colours[i] ^ 255;
    } else {
        std::memcpy(d, colours, 3 * static_cast<size_t>(n));
    }
}

// An edge run of n pixels from their gathered wood distances.
template <int kEdge>
inline void EdgeRun(uint8_t* d, const uint8_t* shades, int n, const TEdgeShades& k) {
    for (int i = 0; i < n; ++i, d += 3) {
        const int shade = shades[i];
        if constexpr (kEdge == 1) {
            d[0] = k.Colour[shade][0];
            d[1] = k.Colour[shade][1];
            d[2] = k.Colour[shade][2];
        } else {
            const unsigned keep = static_cast<unsigned>(k.Keep[shade]);
            d[0] = static_cast<uint8_t>((d[0] * keep) >> 8);
            d[1] = static_cast<uint8_t>((d[1] * keep) >> 8);
            d[2] = static_cast<uint8_t>((d[2] * keep) >> 8);
        }
    }
}

// Asks early for the target lines the runs of box row ly will touch.
void PrefetchRunsRow(const TMyBitmap& t, const TPieceRuns& runs, int ly, int fx, int fy, int lo,
                     int end) {
    const TPixelRun* all = runs.Runs.data();
    for (uint32_t i = runs.Rows[ly].Face; i < runs.Rows[ly + 1].Face; ++i) {
        const int a = Max(all[i].X, lo), b = Min(all[i].X + all[i].Length, end);
        if (a < b) PrefetchRun(Pixel24(t, fx + a, fy + ly), 3 * static_cast<size_t>(b - a));
    }
}

// Draws the gathered runs of a piece whose box has its top-left at (fx, fy)
// of the target, clipped to clip (which holds the target and the mask).
template <bool kInvert, int kEdge>
void DrawRunRows(TMyBitmap& t, const TMyRect& clip, const TEdgeShades& shades,
                 const TPieceRuns& runs, int fx, int fy) {
    const TEdgeShades k = shades;
    const int rows = static_cast<int>(runs.Rows.size()) - 1;
    const int y0 = Max(clip.Top - fy, 0), y1 = Min(clip.Bottom - fy, rows - 1);
    const int lo = clip.Left - fx, end = clip.Right - fx + 1;  // the box columns inside
    const TPixelRun* all = runs.Runs.data();
    for (int ly = y0; ly <= y1; ++ly) {
        if (ly + kAhead <= y1) PrefetchRunsRow(t, runs, ly + kAhead, fx, fy, lo, end);
        const TRunsRow& row = runs.Rows[ly];
        const uint8_t* colours = runs.Colours.data() + row.Colour;
        for (uint32_t i = row.Face; i < row.Edge; colours += 3 * all[i].Length, ++i) {
            const int a = Max(all[i].X, lo), b = Min(all[i].X + all[i].Length, end);
            if (a < b)
                FaceRun<kInvert>(Pixel24(t, fx + a, fy + ly), colours + 3 * (a - all[i].X), b - a);
        }
        if constexpr (kEdge != 0) {
            const uint8_t* shade = runs.Shades.data() + row.Shade;
            for (uint32_t i = row.Edge; i < runs.Rows[ly + 1].Face; shade += all[i].Length, ++i) {
                const int a = Max(all[i].X, lo), b = Min(all[i].X + all[i].Length, end);
                if (a < b)
                    EdgeRun<kEdge>(Pixel24(t, fx + a, fy + ly), shade + (a - all[i].X), b - a, k);
            }
        }
    }
}

using TRunRowsFn = void (*)(TMyBitmap&, const TMyRect&, const TEdgeShades&, const TPieceRuns&, int,
                            int);

TRunRowsFn RunRowsFor(bool invert, int edge) {
    static constexpr TRunRowsFn kTable[2][3] = {
        {DrawRunRows<false, 0>, DrawRunRows<false, 1>, DrawRunRows<false, 2>},
        {DrawRunRows<true, 0>, DrawRunRows<true, 1>, DrawRunRows<true, 2>}};
    return kTable[invert][edge];
}

const TGame::WoodBuffer* WoodFor(const TGame& game, int rotation, const TMyBitmap& mask) {
    const TGame::WoodBuffer& w = game.Wood[rotation];
    const size_t need = static_cast<size_t>(mask.Width) * mask.Height * 6;
    if (w.Width != mask.Width || w.Height != mask.Height || w.Data.size() != need) return nullptr;
    return &w;
}

// The one rectangle every pixel of a piece is clipped to: the window's
// client, the caller's clip, the target and the mask placed under the piece.
bool PieceClip(const TMyRect& clip, const TMyWin& win, const TMyBitmap& target,
               const TMyBitmap& mask, int fx, int fy, const TPieceSource& s, TMyRect& out) {
    TMyRect a, b, bounds;
    if (!IntersectRect(win.Client, clip, &a)) return false;
    SetPosSize(bounds, 0, 0, target.Width, target.Height);
    if (!IntersectRect(a, bounds, &b)) return false;
    SetPosSize(bounds, fx - s.SrcX, fy - s.SrcY, mask.Width, mask.Height);
    return IntersectRect(b, bounds, &out);
}

// The height of the bands of the field the pieces are drawn in: a band of
// a wide screen stays well inside the second-level cache.
constexpr int kBandRows = 64;

// Walks the lines of a band of the field, asking for a few at each step.
class TBandPrefetch {
public:
    TBandPrefetch(const TMyBitmap& field, const TMyRect& clip)
        : m_field(field),
          m_left(clip.Left),
          m_bytes(3 * static_cast<size_t>(clip.Width)),
          m_bottom(clip.Bottom) {}

    void Start(int top) {
        m_row = top;
        m_end = Min(top + kBandRows - 1, m_bottom);
        m_offset = 0;
    }

    void Step() {
        for (int line = 0; line < kLinesPerStep && m_row <= m_end; ++line) {
            __builtin_prefetch(Pixel24(m_field, m_left, m_row) + m_offset);
            m_offset += 64;
            if (m_offset >= m_bytes) {
                m_offset = 0;
                ++m_row;
            }
        }
    }

private:
    static constexpr int kLinesPerStep = 24;
    const TMyBitmap& m_field;
    int m_left;
    size_t m_bytes;
    int m_bottom;
    int m_row = 0, m_end = -1;
    size_t m_offset = 0;
};

TRunsKey RunsKeyOf(const TPiece& p, const TPieceSource& s, const TPixelConsts& k, int edge,
                   bool frame) {
    TRunsKey key;
    key.Rotation = p.rotation & 3;
    key.SrcX = s.SrcX;
    key.SrcY = s.SrcY;
    key.RotW = p.rotW;
    key.RotH = p.rotH;
    key.FaceW = s.FaceW;
    key.FaceH = s.FaceH;
    key.Edge = edge;
    key.Code = k.Code;
    key.Bit = k.Bit;
    key.Shift = k.Shift;
    key.Frame = frame;
    key.Relief = s.Relief;
    key.Wood = s.Wood != nullptr && k.Shades.Style != 0;
    return key;
}

}  // namespace

int EdgeWidth(const TGame& game, const TPieceLook& look) {
    return look.WoodStyle != 0 ? Max(0, game.WoodWidth) : 0;
}

TMyRect PieceFieldRect(const TGame& game, const TMyWin& win, const TPiece& piece,
                       const TPieceLook& look) {
    const int edge = EdgeWidth(game, look);
    TMyRect r;
    SetPosSize(r, FieldX(win, piece.posX), FieldY(win, piece.posY), piece.rotW + edge,
               piece.rotH + edge);
    return r;
}

void DrawPiece(TMyBitmap& target, const TMyRect& clip, const TMyWin& win, const TGame& game,
               int piece, const TPieceLook& look, TPieceRunsCache* cache) {
    if (piece < 0 || piece >= PiecesInPlay(game) || target.BytesPerPixel != 3) return;
    const TPiece& p = game.Pieces[piece];
    const int rot = p.rotation & 3;
    const TMyBitmap& picture = game.Buffers[rot];
    const TMyBitmap& mask = game.Buffers[4 + rot];
    if (picture.BytesPerPixel != 3 || mask.BytesPerPixel != 3) return;

    const int edge = EdgeWidth(game, look);
    TPieceSource s;
    s.Picture = &picture;
    s.Mask = &mask;
    s.Wood = edge > 0 ? WoodFor(game, rot, mask) : nullptr;
    s.SrcX = p.srcX;
    s.SrcY = p.srcY;
    s.FaceW = Min(p.rotW, picture.Width - p.srcX);
    s.FaceH = Min(p.rotH, picture.Height - p.srcY);
    s.Relief = look.EmbossStyle != 0;
    s.Selected = p.selected != 0;
    TPixelConsts k;
    k.Shades = MakeShades(look, edge);
    k.Code = p.MaskCode;
    k.Bit = static_cast<uint16_t>(p.reliefCode);
    k.Shift = 3 * Clamp(p.reliefSlot, 0, 9);  // of the piece's 3-bit distance in the wood word

    const int fx = FieldX(win, p.posX), fy = FieldY(win, p.posY);
    TMyRect c;
    if (!PieceClip(clip, win, target, mask, fx, fy, s, c)) return;
    const bool frame = piece == FramePieceIndex(game);
    if (cache != nullptr) {
        const TRunsKey key = RunsKeyOf(p, s, k, edge, frame);
        if (const TPieceRuns* runs = cache->Find(game, piece, key)) {
            RunRowsFor(s.Selected, key.Wood ? k.Shades.Style : 0)(target, c, k.Shades, *runs, fx,
                                                                  fy);
            return;
        }
    }
    TPieceSpan spans[4];
    const int count = PieceSpans(p.rotW, p.rotH, edge, frame, spans);
    for (int i = 0; i < count; ++i)
        DrawSpan(target, c, s, k, fx, fy, spans[i].X, spans[i].Y, spans[i].Width, spans[i].Height);
}

void DrawWindowPieces(TMyBitmap& field, const TMyWin& win, const TMyRect& update, TGame& game,
                      const TPieceLook& look, const std::vector<uint8_t>& skip,
                      TPieceRunsCache* cache) {
    const int n = PiecesInPlay(game);
    TMyRect clip;
    if (n == 0 || !IntersectRect(win.Client, update, &clip)) return;
    SortOrder(game, false);
    const bool skipping = skip.size() >= static_cast<size_t>(n);
    // Band by band: a band of the field stays in the caches while the
    // pieces lying over it are drawn one after another, and the next band
    // is asked for a little after each piece.
    TBandPrefetch ahead(field, clip);
    for (int top = clip.Top; top <= clip.Bottom; top += kBandRows) {
        TMyRect band;
        SetBounds(band, clip.Left, top, clip.Right, Min(top + kBandRows - 1, clip.Bottom));
        ahead.Start(top + kBandRows);
        for (const TOrderPair& pair : game.DrawOrder) {
            const int i = pair.piece;
            if (i < 0 || i >= n || game.Pieces[i].window != win.Id) continue;
            if (skipping && skip[i]) continue;
            if (!IntersectRect(PieceFieldRect(game, win, game.Pieces[i], look), band)) continue;
            DrawPiece(field, band, win, game, i, look, cache);
            ahead.Step();
        }
    }
}

void TintBand(TMyBitmap& field, const TMyRect& rect) {
    TMyRect bounds, r;
    SetPosSize(bounds, 0, 0, field.Width, field.Height);
    if (field.Width == 0 || !IntersectRect(rect, bounds, &r)) return;
    const int bpp = field.BytesPerPixel;
    for (int y = r.Top; y <= r.Bottom; ++y) {
        uint8_t* p = PixelPtr(field, r.Left, y);
        for (int x = 0; x < r.Width; ++x, p += bpp)
            for (int k = 0; k < 3; ++k)
                p[k] = static_cast<uint8_t>(p[k] + (0xF0 - p[k]) * 128 / 256);
    }
}

}  // namespace orvel
