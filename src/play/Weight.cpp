#include "play/Weight.h"

namespace orvel {

void PlaceWeight(TWeight& weight, const TMyBitmap& picture, int x, int y) {
    weight.PointX = x;
    weight.PointY = y;
    weight.Left = x - picture.Width / 2;
    weight.Top = y - picture.Height + 4;
}

TMyRect WeightRect(const TWeight& weight, const TMyBitmap& picture) {
    TMyRect r;
    if (picture.Width > 0) SetPosSize(r, weight.Left, weight.Top, picture.Width, picture.Height);
    return r;
}

void DrawWeight(TMyBitmap& field, const TMyRect& update, const TWeight& weight,
                const TMyBitmap& picture) {
    if (!weight.Placing || picture.Width <= 0) return;
    TMyRect whole, clip;
    SetPosSize(whole, 0, 0, field.Width, field.Height);
    if (!IntersectRect(update, whole, &clip)) return;
    BlitAlpha(field, weight.Left, weight.Top, picture.Width, picture.Height, picture, 0, 0,
              picture.Width, picture.Height, clip);
}

}  // namespace orvel
