#include "play/PieceDraw.h"

#include "base/IntMath.h"
#include "game/GameModel.h"
#include "play/PieceGeometry.h"

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

inline uint8_t AddClamped(int c, int e) {
    const int v = c + e;
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// The picture pixel with the relief added and, for a selected piece, inverted.
template <bool kRelief, bool kInvert>
inline void FacePixel(uint8_t* d, const uint8_t* pic, const uint8_t* mask) {
    constexpr uint8_t invert = kInvert ? 255 : 0;
    if constexpr (kRelief) {
        const int e = mask[2] - 128;
        d[0] = AddClamped(pic[0], e) ^ invert;
        d[1] = AddClamped(pic[1], e) ^ invert;
        d[2] = AddClamped(pic[2], e) ^ invert;
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
            FacePixel<kRelief, kInvert>(d, p, m);
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
               int piece, const TPieceLook& look) {
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
    if (piece != FramePieceIndex(game)) {
        DrawSpan(target, c, s, k, fx, fy, 0, 0, p.rotW + edge, p.rotH + edge);
        return;
    }
    // The frame is a large box with a hole: only its four strips, each
    // carrying its share of the edge band.
    const int f = kFrameWidth;
    const int sideH = p.rotH - 2 * f - edge;
    DrawSpan(target, c, s, k, fx, fy, 0, 0, p.rotW + edge, f + edge);
    DrawSpan(target, c, s, k, fx, fy, 0, p.rotH - f, p.rotW + edge, f + edge);
    DrawSpan(target, c, s, k, fx, fy, 0, f + edge, f + edge, sideH);
    DrawSpan(target, c, s, k, fx, fy, p.rotW - f, f + edge, f + edge, sideH);
}

void DrawWindowPieces(TMyBitmap& field, const TMyWin& win, const TMyRect& update, TGame& game,
                      const TPieceLook& look, const std::vector<uint8_t>& skip) {
    const int n = PiecesInPlay(game);
    TMyRect clip;
    if (n == 0 || !IntersectRect(win.Client, update, &clip)) return;
    SortOrder(game, false);
    const bool skipping = skip.size() >= static_cast<size_t>(n);
    for (const TOrderPair& pair : game.DrawOrder) {
        const int i = pair.piece;
        if (i < 0 || i >= n || game.Pieces[i].window != win.Id) continue;
        if (skipping && skip[i]) continue;
        if (!IntersectRect(PieceFieldRect(game, win, game.Pieces[i], look), clip)) continue;
        DrawPiece(field, clip, win, game, i, look);
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
