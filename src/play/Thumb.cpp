#include "play/Thumb.h"

#include <cstdint>

namespace orvel {

namespace {

constexpr int kIconSize = 16;

// Scales source into the width x height block of target at (x, y). The
// scaler fills a buffer from its top-left corner, so it is handed a view of
// the block: the same rows, starting at the block's bottom-left pixel.
void ScaleIntoBlock(TMyBitmap& target, int x, int y, int width, int height,
                    const TMyBitmap& source) {
    x = Max(x, 0);
    y = Max(y, 0);
    width = Min(width, target.Width - x);
    height = Min(height, target.Height - y);
    if (width <= 0 || height <= 0) return;
    TMyBitmap block;
    if (!AttachPixels(block, PixelPtr(target, x, y + height - 1), width, height,
                      target.BytesPerPixel, target.Stride))
        return;
    ScaleInto(block, source);
    ClearBitmap(block);
}

}  // namespace

void ThumbFitSize(int w, int h, int pw, int ph, int& width, int& height) {
    width = pw;
    height = ph;
    if (pw <= 0 || ph <= 0 || (pw <= w && ph <= h)) return;
    const int d = static_cast<int>(int64_t{h} * pw / ph);
    if (w < d) {
        width = w;
        height = static_cast<int>(int64_t{ph} * w / pw);
    } else {
        width = d;
        height = h;
    }
}

void DrawThumb(TMyBitmap& target, int w, int h, const TMyBitmap* icon, TMyBitmap* buffer,
               TColor background, bool recreate, const TMyBitmap& source) {
    if (recreate && !Create24(target, w, h)) return;  // left empty: nothing to draw into
    if (target.Width <= 0) return;
    FillBox(target, 0, 0, target.Width, target.Height, background);
    int width = 0, height = 0;
    ThumbFitSize(w, h, source.Width, source.Height, width, height);
    const int left = (w - width) / 2, top = (h - height) / 2;
    if (source.Width > kThumbMaxW || source.Height > kThumbMaxH)
        ScaleIntoBlock(target, left, top, width, height, source);
    else
        CopyRect(target, left, top, source.Width, source.Height, source, 0, 0);
    if (icon && icon->Width > 0) {
        TMyRect all;
        SetPosSize(all, 0, 0, target.Width, target.Height);
        BlitAlpha(target, Max(left - 1, 0), Max(top - 1, 0), kIconSize, kIconSize, *icon, 0, 0,
                  kIconSize, kIconSize, all);
    }
    if (buffer && !CopyFromBitmap(*buffer, source)) ReleaseBitmap(*buffer);
}

}  // namespace orvel
