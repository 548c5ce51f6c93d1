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
    uint8_t Code = 0;
    uint16_t Bit = 0;
    int Shift = 0;  // of the piece's 3-bit distance in the wood word
    bool Relief = false;
    bool Selected = false;
};

// Pixel pointers of a 24-bit buffer (rows bottom-up), without a call per row.
inline uint8_t* Pixel24(const TMyBitmap& b, int x, int y) {
    return b.Bits + static_cast<ptrdiff_t>(b.Height - 1 - y) * b.Stride +
           3 * static_cast<ptrdiff_t>(x);
}

// The picture pixel with the relief added (e is 0 without relief) and, for
// a selected piece, inverted (invert is 255, else 0).
inline void FacePixel(uint8_t* d, const uint8_t* pic, int e, int invert) {
    d[0] = static_cast<uint8_t>(ClampByte(pic[0] + e) ^ invert);
    d[1] = static_cast<uint8_t>(ClampByte(pic[1] + e) ^ invert);
    d[2] = static_cast<uint8_t>(ClampByte(pic[2] + e) ^ invert);
}

inline void EdgePixel(uint8_t* d, const uint8_t* w, const TPieceSource& s, const TEdgeShades& sh) {
    const unsigned set = w[0] | (w[1] << 8);
    if ((set & s.Bit) == 0) return;
    const uint32_t dist = static_cast<uint32_t>(w[2]) | (static_cast<uint32_t>(w[3]) << 8) |
                          (static_cast<uint32_t>(w[4]) << 16) | (static_cast<uint32_t>(w[5]) << 24);
    const int shade = static_cast<int>((dist >> s.Shift) & 7);
    if (shade == 0) return;
    if (sh.Style == 1) {
        d[0] = sh.Colour[shade][0];
        d[1] = sh.Colour[shade][1];
        d[2] = sh.Colour[shade][2];
    } else {
        const int keep = sh.Keep[shade];
        d[0] = static_cast<uint8_t>(d[0] * keep / 256);
        d[1] = static_cast<uint8_t>(d[1] * keep / 256);
        d[2] = static_cast<uint8_t>(d[2] * keep / 256);
    }
}

// Pieces lie anywhere on the field and in the buffers, so each row of a
// piece starts on lines the caches do not hold. The lines kAhead rows further
// down are asked for early, so that their loads overlap the work on this row.
constexpr int kAhead = 2;

inline void PrefetchRun(const uint8_t* first, size_t bytes) {
    __builtin_prefetch(first);
    __builtin_prefetch(first + bytes - 1);
}

// Draws the part (lx, ly, w, h) of the piece's enlarged box, whose top-left
// lies at (fx, fy) of the target. clip already holds the target and the
// mask inside, so every row pointer stays in its buffer.
void DrawSpan(TMyBitmap& t, const TMyRect& clip, const TPieceSource& s, const TEdgeShades& sh,
              int fx, int fy, int lx, int ly, int w, int h) {
    int x = fx + lx, y = fy + ly, sx = lx, sy = ly;
    if (!ClipSpan(clip, x, y, w, h, sx, sy)) return;
    const TGame::WoodBuffer* wood = sh.Style != 0 ? s.Wood : nullptr;
    const int invert = s.Selected ? 255 : 0;
    const uint8_t code = s.Code;
    const int mx = s.SrcX + sx;
    uint8_t* d = Pixel24(t, x, y);
    const uint8_t* m = Pixel24(*s.Mask, mx, s.SrcY + sy);
    const uint8_t* wd =
        wood ? wood->Data.data() + (static_cast<size_t>(s.SrcY + sy) * wood->Width + mx) * 6
             : nullptr;
    const size_t woodStride = wood ? static_cast<size_t>(wood->Width) * 6 : 0;
    const int faceW = Clamp(s.FaceW - sx, 0, w);
    for (int row = 0; row < h; ++row, d -= t.Stride, m -= s.Mask->Stride, wd += woodStride) {
        const int local = sy + row;
        if (row + kAhead < h) {
            PrefetchRun(d - kAhead * static_cast<ptrdiff_t>(t.Stride), 3 * static_cast<size_t>(w));
            PrefetchRun(m - kAhead * static_cast<ptrdiff_t>(s.Mask->Stride),
                        3 * static_cast<size_t>(w));
            if (wd) PrefetchRun(wd + kAhead * woodStride, 6 * static_cast<size_t>(w));
            if (faceW > 0 && local + kAhead < s.FaceH)
                PrefetchRun(Pixel24(*s.Picture, mx, s.SrcY + local + kAhead),
                            3 * static_cast<size_t>(faceW));
        }
        const int faceEnd = local < s.FaceH ? faceW : 0;
        int i = 0;
        if (faceEnd > 0) {
            const uint8_t* p = Pixel24(*s.Picture, mx, s.SrcY + local);
            for (; i < faceEnd; ++i) {
                const uint8_t* mp = m + 3 * i;
                if (mp[0] == code)
                    FacePixel(d + 3 * i, p + 3 * i, s.Relief ? mp[2] - 128 : 0, invert);
                else if (wd)
                    EdgePixel(d + 3 * i, wd + 6 * i, s, sh);
            }
        }
        if (!wd) continue;
        for (; i < w; ++i) EdgePixel(d + 3 * i, wd + 6 * i, s, sh);
    }
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
    const TEdgeShades shades = MakeShades(look, edge);
    TPieceSource s;
    s.Picture = &picture;
    s.Mask = &mask;
    s.Wood = edge > 0 ? WoodFor(game, rot, mask) : nullptr;
    s.SrcX = p.srcX;
    s.SrcY = p.srcY;
    s.FaceW = Min(p.rotW, picture.Width - p.srcX);
    s.FaceH = Min(p.rotH, picture.Height - p.srcY);
    s.Code = p.MaskCode;
    s.Bit = static_cast<uint16_t>(p.reliefCode);
    s.Shift = 3 * Clamp(p.reliefSlot, 0, 9);
    s.Relief = look.EmbossStyle != 0;
    s.Selected = p.selected != 0;

    const int fx = FieldX(win, p.posX), fy = FieldY(win, p.posY);
    TMyRect c;
    if (!PieceClip(clip, win, target, mask, fx, fy, s, c)) return;
    if (piece != FramePieceIndex(game)) {
        DrawSpan(target, c, s, shades, fx, fy, 0, 0, p.rotW + edge, p.rotH + edge);
        return;
    }
    // The frame is a large box with a hole: only its four strips, each
    // carrying its share of the edge band.
    const int f = kFrameWidth;
    const int sideH = p.rotH - 2 * f - edge;
    DrawSpan(target, c, s, shades, fx, fy, 0, 0, p.rotW + edge, f + edge);
    DrawSpan(target, c, s, shades, fx, fy, 0, p.rotH - f, p.rotW + edge, f + edge);
    DrawSpan(target, c, s, shades, fx, fy, 0, f + edge, f + edge, sideH);
    DrawSpan(target, c, s, shades, fx, fy, p.rotW - f, f + edge, f + edge, sideH);
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
