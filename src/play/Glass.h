#pragma once

// The glass: an elliptical magnifier floating over the field. Presses,
// moves and releases inside its lens act on the spot it magnifies.

#include "base/Color.h"
#include "graphics/Bitmap.h"
#include "graphics/Rect.h"
#include "play/PlayWindow.h"

namespace orvel {

// The lens mask holds the largest glass client.
constexpr int kLensBufferSize = 490;
// The rim of the lens: one half light, the other dark.
constexpr TColor kLensRimLight = 0xF2F2F2;
constexpr TColor kLensRimDark = 0x0D0D0D;
constexpr int kGlassZoomNear = 2;
constexpr int kGlassZoomFar = 3;

struct TGlassLens {
    int Zoom = kGlassZoomNear;
    double Rx = 0;  // lens radii: half the client's width and height
    double Ry = 0;
    // By its first byte: 0 outside the lens, 255 inside, anything else the rim
    // (whose pixel colour is drawn as it stands).
    TMyBitmap Mask;
    int MaskW = 0;  // the client size the mask was drawn for
    int MaskH = 0;
    TMyBitmap Source;  // the field part under the lens, read before it is covered
};

// The radii and the lens mask for the glass's present client size; run
// whenever the glass is laid out or resized (a mask of that size is kept).
void RecomputeLens(TGlassLens& lens, const TMyWin& glass);
// Black over w x h, a white filled ellipse in it, its rim drawn in the two rim colours.
bool DrawLensMask(TGlassLens& lens, int w, int h);

// Whether a field point lies inside the shown lens; when it does and map is
// set, the point becomes the field point the lens shows there.
bool LensHit(const TMyWin& glass, const TGlassLens& lens, int& x, int& y, bool map);

// Zoom 2 or 3: the button showing the zoom in use is the one visible.
void SetGlassZoom(TMyWin& glass, TGlassLens& lens, int zoom);

// Draws the magnified field into the lens, clipped to update and to the
// field's shown area (fieldArea). The field under the whole glass must be
// freshly composed without the lens: the lens reads it.
void DrawGlass(TMyBitmap& field, const TMyRect& update, const TMyRect& fieldArea,
               const TMyWin& glass, TGlassLens& lens);

}  // namespace orvel
