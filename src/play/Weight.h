#pragma once

// The weight: a picture that follows the mouse until it is dropped on a
// group, which then stays at the bottom of the stacking order.

#include "graphics/Bitmap.h"
#include "graphics/Rect.h"

namespace orvel {

// Where the weight is while it is being placed.
struct TWeight {
    bool Placing = false;
    int PointX = 0, PointY = 0;  // the mouse point, where it will drop
    int Left = 0, Top = 0;       // the picture's top-left
    int Window = 0;              // the number of the window it is over
};

// The weight hangs from the point: its picture centred across it, its
// bottom four pixels below it.
void PlaceWeight(TWeight& weight, const TMyBitmap& picture, int x, int y);
// The field rectangle the picture covers (empty without a picture).
TMyRect WeightRect(const TWeight& weight, const TMyBitmap& picture);
// Draws the picture over the field while the weight is being placed,
// clipped to update.
void DrawWeight(TMyBitmap& field, const TMyRect& update, const TWeight& weight,
                const TMyBitmap& picture);

}  // namespace orvel
