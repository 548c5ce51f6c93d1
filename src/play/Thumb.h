#pragma once

#include "base/Color.h"
#include "graphics/Bitmap.h"

namespace orvel {

// Pictures at most this large are shown at their own size; larger ones are
// scaled into the place they get.
constexpr int kThumbMaxW = 180;
constexpr int kThumbMaxH = 135;

// The size a pw x ph picture takes in a w x h place: its own size when it
// fits, else reduced to the place keeping its shape.
void ThumbFitSize(int w, int h, int pw, int ph, int& width, int& height);

// Draws source fitted and centred into a w x h target on a background
// colour. With recreate the target becomes a fresh w x h 24-bit picture;
// otherwise the whole existing target is filled first. A source above
// 180 x 135 is scaled into its fitted place, a smaller one copied at the
// place's corner. The 16 x 16 icon (may be null) goes one pixel up and left
// of that corner where there is room; buffer (may be null) receives an
// unscaled 24-bit copy of the source.
void DrawThumb(TMyBitmap& target, int w, int h, const TMyBitmap* icon, TMyBitmap* buffer,
               TColor background, bool recreate, const TMyBitmap& source);

}  // namespace orvel
