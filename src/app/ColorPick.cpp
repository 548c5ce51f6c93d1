#include "app/ColorPick.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/IntMath.h"
#include "graphics/ImageCodecs.h"

namespace orvel {

namespace {

constexpr std::array<TColor, kPaletteCount> kPalette = {
    0x800080, 0xA000A0, 0xC000C0, 0xE000E0, 0x508000, 0x60A000, 0x80C000, 0x8FE000,
    0x800050, 0xA00060, 0xC00080, 0xE00090, 0x008000, 0x00A000, 0x00C000, 0x00E000,
    0x800000, 0xA00000, 0xC00000, 0xE00000, 0x008080, 0x00A0A0, 0x00C0C0, 0x00E0E0,
    0x805000, 0xA06000, 0xC08000, 0xE09000, 0x005080, 0x0060A0, 0x0080C0, 0x008FE0,
    0x808000, 0xA0A000, 0xC0C000, 0xE0E000, 0x000080, 0x0000A0, 0x0000C0, 0x0000E0,
    0x000000, 0x404040, 0x606060, 0x808080, 0x989898, 0xACACAC, 0xC0C0C0, 0xFFFFFF};

constexpr std::array<const char*, kPictureCount> kPictureNames = {
    "parquet", "stucco1", "stucco4", "wood1", "wood2", "wood3", "wood4", "wood5"};

// A hue sector: its start colour (R, G, B) and the channel that changes
// across it, rising or falling.
struct THueSector {
    int Start[3];
    int Channel;  // 0 R, 1 G, 2 B
    bool Rises;
};
constexpr THueSector kSectors[6] = {{{255, 0, 0}, 2, true}, {{255, 0, 255}, 0, false},
                                    {{0, 0, 255}, 1, true}, {{0, 255, 255}, 2, false},
                                    {{0, 255, 0}, 0, true}, {{255, 255, 0}, 1, false}};

// Palette cells: 8 columns of 29 pixels, 6 rows of 29, a 25-pixel swatch in each,
// leaving room for the selection frame at the edges.
constexpr int kPaletteStep = 29;
constexpr int kPaletteSwatch = 25;
constexpr int kPaletteInset = 2;
constexpr int kSuggestedStep = 36;
constexpr int kSuggestedSwatch = 30;
constexpr int kPictureCellW = kPictureRowW / kPictureCount;
constexpr int kPictureMargin = 2;
constexpr int kFirstDarkEntry = 40;  // entries 40..43 are the dark greys
constexpr int kLastDarkEntry = 43;

// The hue at position 0..255 of sector s, as R, G, B.
void SectorHue(int s, int e, int rgb[3]) {
    const THueSector& sec = kSectors[s];
    for (int c = 0; c < 3; ++c) rgb[c] = sec.Start[c];
    rgb[sec.Channel] += sec.Rises ? e : -e;
}

// Towards white when dist < mid, towards black when dist > mid.
TColor Shade(const int rgb[3], int dist, int mid) {
    int out[3];
    for (int c = 0; c < 3; ++c) {
        const int v = rgb[c];
        if (dist > mid)
            out[c] = v - (dist - mid) * v / mid;
        else if (dist < mid)
            out[c] = v + (mid - dist) * (255 - v) / mid;
        else
            out[c] = v;
    }
    return RgbToColor(ClampByte(out[0]), ClampByte(out[1]), ClampByte(out[2]));
}

bool InRect(const TMyRect& r, int x, int y) {
    return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

TMyRect Cell(int x, int y, int w, int h) {
    TMyRect r;
    SetPosSize(r, x, y, w, h);
    return r;
}

// Two frames around a cell: the outer one shows on the dialog's dark
// background, the inner one on the cell itself.
void MarkCell(TMyBitmap& out, const TMyRect& r, TColor inner) {
    FrameBox(out, r.Left - 2, r.Top - 2, r.Width + 4, r.Height + 4, kMarkColor);
    FrameBox(out, r.Left - 1, r.Top - 1, r.Width + 2, r.Height + 2, kMarkColor);
    FrameBox(out, r.Left, r.Top, r.Width, r.Height, inner);
}

bool Prepare(TMyBitmap& out, int w, int h, TColor background) {
    if (!Create24(out, w, h)) return false;
    FillBox(out, 0, 0, w, h, background);
    return true;
}

int ChannelDiff(TColor a, TColor b) {
    return Max(Max(std::abs(ColorR(a) - ColorR(b)), std::abs(ColorG(a) - ColorG(b))),
               std::abs(ColorB(a) - ColorB(b)));
}

int ChannelSum(TColor a, TColor b) {
    return std::abs(ColorR(a) - ColorR(b)) + std::abs(ColorG(a) - ColorG(b)) +
           std::abs(ColorB(a) - ColorB(b));
}

}  // namespace

const std::array<TColor, kPaletteCount>& PaletteColors() {
    return kPalette;
}

const std::array<const char*, kPictureCount>& BackgroundPictureNames() {
    return kPictureNames;
}

TColor GammaSquareColor(int x, int y) {
    constexpr int W = kGammaSize;
    constexpr int h = kGammaSize / 2;
    const int s = Min(x * 6 / W, 5);
    const int e = Min((x * 6 - W * s) * 255 / W, 255);
    int rgb[3];
    SectorHue(s, e, rgb);
    return Shade(rgb, y, h);
}

bool GammaCircleColor(int x, int y, TColor& colour) {
    constexpr int R = kGammaSize / 2;
    const int dx = x - R, dy = y - R;
    const double dist = std::sqrt(double(dx) * dx + double(dy) * dy);
    const int d = Round(dist);
    if (d >= R) return false;
    if (d == 0) {
        colour = 0xFFFFFF;
        return true;
    }
    // The angle from the line up to the top point, growing clockwise.
    int angle = Round(std::acos(std::clamp(-dy / dist, -1.0, 1.0)) * 180.0 / M_PI);
    if (dx < 0) angle = 360 - angle;
    angle %= 360;
    const int s = angle * 6 / 360;
    const int e = Min((angle - s * 60) * 1530 / 360, 255);
    int rgb[3];
    SectorHue(s, e, rgb);
    colour = Shade(rgb, d, R / 2);
    return true;
}

bool DrawGamma(TMyBitmap& out, GammaStyle style, TColor background) {
    if (!Prepare(out, kGammaSize, kGammaSize, background)) return false;
    for (int y = 0; y < kGammaSize; ++y) {
        uint8_t* p = RowPtr(out, y);
        for (int x = 0; x < kGammaSize; ++x, p += 3) {
            TColor c = background;
            if (style == GammaStyle::Square)
                c = GammaSquareColor(x, y);
            else
                GammaCircleColor(x, y, c);
            p[0] = ColorB(c);
            p[1] = ColorG(c);
            p[2] = ColorR(c);
        }
    }
    return true;
}

bool FindInGamma(const TMyBitmap& gamma, GammaStyle style, TColor colour, int& x, int& y) {
    int best = -1;
    TColor unused;
    for (int py = 0; py < gamma.Height; ++py) {
        for (int px = 0; px < gamma.Width; ++px) {
            if (style == GammaStyle::Circle && !GammaCircleColor(px, py, unused)) continue;
            const TColor c = static_cast<TColor>(GetPixel(gamma, px, py));
            if (ChannelDiff(c, colour) > 5) continue;
            const int sum = ChannelSum(c, colour);
            if (best < 0 || sum < best) {
                best = sum;
                x = px;
                y = py;
            }
        }
    }
    return best >= 0;
}

void InvertMarker(TMyBitmap& gamma, int x, int y) {
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            if (std::abs(dx) != 2 && std::abs(dy) != 2) continue;
            const int px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= gamma.Width || py >= gamma.Height) continue;
            SetPixel(gamma, px, py, ~static_cast<TColor>(GetPixel(gamma, px, py)) & 0xFFFFFF);
        }
    }
}

TMyRect PaletteCell(int index) {
    const int col = index % kPaletteColumns, row = index / kPaletteColumns;
    return Cell(col * kPaletteStep + kPaletteInset, row * kPaletteStep + kPaletteInset,
                kPaletteSwatch, kPaletteSwatch);
}

int PaletteIndexAt(int x, int y) {
    for (int i = 0; i < kPaletteCount; ++i)
        if (InRect(PaletteCell(i), x, y)) return i;
    return -1;
}

TMyRect SuggestedCell(int index) {
    return Cell(index * kSuggestedStep + 2, 2, kSuggestedSwatch, kSuggestedSwatch);
}

TMyRect PictureCell(int index) {
    return Cell(index * kPictureCellW + kPictureMargin, kPictureMargin,
                kPictureCellW - 2 * kPictureMargin, kPictureRowH - 2 * kPictureMargin);
}

int SuggestedIndexAt(int x, int y, int count) {
    for (int i = 0; i < count; ++i)
        if (InRect(SuggestedCell(i), x, y)) return i;
    return -1;
}

int PictureIndexAt(int x, int y) {
    for (int i = 0; i < kPictureCount; ++i)
        if (InRect(PictureCell(i), x, y)) return i;
    return -1;
}

// ----------------------------------------------------------------- the picker

TColorPicker::TColorPicker() {
    Suggested.fill(-1);
}

bool TColorPicker::Choose(int32_t value) {
    if (value == Color) return false;
    Color = value;
    if (Apply) Apply(value);
    return true;
}

int TColorPicker::SuggestedCount() const {
    int n = 0;
    while (n < kSuggestedMax && Suggested[n] != -1) ++n;
    return n;
}

int TColorPicker::PaletteIndex() const {
    if (IsPicture()) return -1;
    for (int i = 0; i < kPaletteCount; ++i)
        if (static_cast<int32_t>(kPalette[i]) == Color) return i;
    return -1;
}

int TColorPicker::SuggestedIndex() const {
    if (IsPicture()) return -1;
    for (int i = 0; i < SuggestedCount(); ++i)
        if (Suggested[i] == Color) return i;
    return -1;
}

int TColorPicker::PictureIndex() const {
    return IsPicture() ? Color - kFirstPictureCode : -1;
}

bool TColorPicker::DrawPalette(TMyBitmap& out, TColor background) const {
    if (!Prepare(out, kPaletteW, kPaletteH, background)) return false;
    for (int i = 0; i < kPaletteCount; ++i) {
        const TMyRect r = PaletteCell(i);
        FillBox(out, r.Left, r.Top, r.Width, r.Height, kPalette[i]);
    }
    if (const int sel = PaletteIndex(); sel >= 0) {
        const bool dark = sel >= kFirstDarkEntry && sel <= kLastDarkEntry;
        MarkCell(out, PaletteCell(sel), dark ? kDarkMarkColor : 0);
    }
    return true;
}

bool TColorPicker::DrawSuggested(TMyBitmap& out, TColor background) const {
    if (!Prepare(out, kSuggestedRowW, kSuggestedRowH, background)) return false;
    for (int i = 0; i < SuggestedCount(); ++i) {
        const TMyRect r = SuggestedCell(i);
        FillBox(out, r.Left, r.Top, r.Width, r.Height, static_cast<TColor>(Suggested[i]));
    }
    if (const int sel = SuggestedIndex(); sel >= 0) MarkCell(out, SuggestedCell(sel), 0);
    return true;
}

bool TColorPicker::DrawPictures(TMyBitmap& out, TColor background,
                                const std::array<TMyBitmap, kPictureCount>& buttons) const {
    if (!Prepare(out, kPictureRowW, kPictureRowH, background)) return false;
    for (int i = 0; i < kPictureCount; ++i) {
        const TMyRect r = PictureCell(i);
        if (buttons[i].Width > 0)
            CopyRect(out, r.Left, r.Top, Min(r.Width, buttons[i].Width),
                     Min(r.Height, buttons[i].Height), buttons[i], 0, 0);
        else
            FillBox(out, r.Left, r.Top, r.Width, r.Height, 0x989898);
    }
    if (const int sel = PictureIndex(); sel >= 0) {
        const TMyRect r = PictureCell(sel);
        FrameBox(out, r.Left - 2, r.Top - 2, r.Width + 4, r.Height + 4, kMarkColor);
        FrameBox(out, r.Left - 1, r.Top - 1, r.Width + 2, r.Height + 2, kMarkColor);
    }
    return true;
}

bool TColorPicker::DrawMarkedGamma(TMyBitmap& out, TColor background) const {
    if (!DrawGamma(out, Style, background)) return false;
    int x = 0, y = 0;
    if (!IsPicture() && FindInGamma(out, Style, static_cast<TColor>(Color), x, y))
        InvertMarker(out, x, y);
    return true;
}

void LoadPictureButtons(const std::string& folder, std::array<TMyBitmap, kPictureCount>& buttons) {
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    for (int i = 0; i < kPictureCount; ++i) {
        TMyBitmap& b = buttons[i];
        if (!LoadJpegFile(b, dir + kPictureNames[i] + "-but.jpg").Ok()) ReleaseBitmap(b);
    }
}

}  // namespace orvel
