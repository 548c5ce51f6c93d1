#include "play/Glass.h"

#include "base/IntMath.h"

namespace orvel {

namespace {

bool InEllipse(double dx, double dy, double rx, double ry) {
    return rx > 0 && ry > 0 && dx * dx / (rx * rx) + dy * dy / (ry * ry) <= 1.0;
}

// The top-left of the field part a client of w x h shows at zoom z: the
// part is w div z x h div z, centred on the lens centre.
int SourceStart(int clientStart, int size, int zoom) {
    return clientStart + size / 2 - (size / 2) / zoom;
}


// Copies the field under the lens's source part (inside fieldArea) out of
// the field, so drawing the lens cannot read its own pixels.
bool ReadSource(TGlassLens& lens, const TMyBitmap& field, const TMyRect& area, int sx, int sy,
                int sw, int sh) {
    if ((lens.Source.Width < sw || lens.Source.Height < sh) && !Create24(lens.Source, sw, sh))
        return false;
    const int x0 = Max(sx, area.Left), y0 = Max(sy, area.Top);
    const int x1 = Min(sx + sw - 1, area.Right), y1 = Min(sy + sh - 1, area.Bottom);
    if (x1 >= x0 && y1 >= y0)
        CopyRect(lens.Source, x0 - sx, y0 - sy, x1 - x0 + 1, y1 - y0 + 1, field, x0, y0);
    return true;
}

}  // namespace

bool DrawLensMask(TGlassLens& lens, int w, int h) {
    w = Clamp(w, 0, kLensBufferSize);
    h = Clamp(h, 0, kLensBufferSize);
    if (lens.Mask.Width != kLensBufferSize &&
        !Create24(lens.Mask, kLensBufferSize, kLensBufferSize))
        return false;
    FillBox(lens.Mask, 0, 0, w, h, 0x000000);
    const double rx = w / 2.0, ry = h / 2.0;
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && InEllipse(x - rx, y - ry, rx, ry);
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!inside(x, y)) continue;
            // The rim: lens pixels with a neighbour outside; the upper-left half catches the light.
            const bool rim = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                             !inside(x, y + 1);
            const bool light = (x - rx) / rx + (y - ry) / ry < 0;
            SetPixel(lens.Mask, x, y, !rim ? 0xFFFFFF : (light ? kLensRimLight : kLensRimDark));
        }
    }
    return true;
}

void RecomputeLens(TGlassLens& lens, const TMyWin& glass) {
    lens.Rx = glass.Client.Width / 2.0;
    lens.Ry = glass.Client.Height / 2.0;
    // Moving the glass lays it out too; only a new size needs a new mask.
    if (lens.Mask.Width > 0 && lens.MaskW == glass.Client.Width &&
        lens.MaskH == glass.Client.Height)
        return;
    if (DrawLensMask(lens, glass.Client.Width, glass.Client.Height)) {
        lens.MaskW = glass.Client.Width;
        lens.MaskH = glass.Client.Height;
    }
}

bool LensHit(const TMyWin& glass, const TGlassLens& lens, int& x, int& y, bool map) {
    const TMyRect& c = glass.Client;
    if (!glass.Visible || !ContainsPoint(c, x, y)) return false;
    if (!InEllipse(x - c.Left - lens.Rx, y - c.Top - lens.Ry, lens.Rx, lens.Ry)) return false;
    if (map) {
        const int z = Max(lens.Zoom, 1);
        x = SourceStart(c.Left, c.Width, z) + (x - c.Left) / z;
        y = SourceStart(c.Top, c.Height, z) + (y - c.Top) / z;
    }
    return true;
}

void SetGlassZoom(TMyWin& glass, TGlassLens& lens, int zoom) {
    lens.Zoom = zoom == kGlassZoomFar ? kGlassZoomFar : kGlassZoomNear;
    TMyWinButton& near = glass.Button(TWinButtonId::Zoom1);
    TMyWinButton& far = glass.Button(TWinButtonId::Zoom2);
    near.Visible = lens.Zoom == kGlassZoomNear;
    far.Visible = lens.Zoom == kGlassZoomFar;
    near.Pressed = far.Pressed = false;
    near.Hover = far.Hover = false;
    if (glass.HotButton == TWinButtonId::Zoom1 || glass.HotButton == TWinButtonId::Zoom2)
        glass.HotButton.reset();
}

void DrawGlass(TMyBitmap& field, const TMyRect& update, const TMyRect& fieldArea,
               const TMyWin& glass, TGlassLens& lens) {
    const TMyRect& c = glass.Client;
    TMyRect whole, area, inUpdate, clip;
    SetPosSize(whole, 0, 0, field.Width, field.Height);
    if (!glass.Visible || lens.Mask.Width == 0 || field.BytesPerPixel != 3 ||
        !IntersectRect(whole, fieldArea, &area) || !IntersectRect(c, update, &inUpdate) ||
        !IntersectRect(inUpdate, whole, &clip))
        return;
    const int z = Max(lens.Zoom, 1);
    const int w = Min(c.Width, kLensBufferSize), h = Min(c.Height, kLensBufferSize);
    const int sx = SourceStart(c.Left, w, z), sy = SourceStart(c.Top, h, z);
    const int sw = w / z + 1, sh = h / z + 1;
    if (!ReadSource(lens, field, area, sx, sy, sw, sh)) return;
    for (int y = clip.Top; y <= Min(clip.Bottom, c.Top + h - 1); ++y) {
        const int v = y - c.Top;
        const int fy = sy + v / z;
        const uint8_t* source =
            fy >= area.Top && fy <= area.Bottom ? PixelPtr(lens.Source, 0, fy - sy) : nullptr;
        const uint8_t* mask = PixelPtr(lens.Mask, 0, v);
        uint8_t* out = PixelPtr(field, 0, y);
        for (int x = clip.Left; x <= Min(clip.Right, c.Left + w - 1); ++x) {
            const int u = x - c.Left;
            const uint8_t* m = mask + 3 * u;
            if (m[0] == 0) continue;  // outside the lens: the field shows through
            uint8_t* d = out + 3 * x;
            if (m[0] != 255) {
                d[0] = m[0], d[1] = m[1], d[2] = m[2];
                continue;
            }
            const int fx = sx + u / z;
            if (source == nullptr || fx < area.Left || fx > area.Right) {
                d[0] = d[1] = d[2] = 0;  // no field under this part of the lens
                continue;
            }
            const uint8_t* s = source + 3 * (fx - sx);
            d[0] = s[0], d[1] = s[1], d[2] = s[2];
        }
    }
}

}  // namespace orvel
