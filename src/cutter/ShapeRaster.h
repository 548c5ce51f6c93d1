#pragma once

#include <cstdint>

#include "cutter/Metafile.h"
#include "graphics/Bitmap.h"

namespace orvel {

// Plays a drawing stretched into the box (boxX, boxY, boxW x boxH) of buf:
// the picture frame (MetafileWidth x MetafileHeight) maps onto the box.
// Pixels are set hard, never blended: a pixel belongs to a filled region when
// its centre lies inside (even-odd or winding rule as the drawing selects),
// and a pen draws one-pixel lines. With onlyColor set every visible pen,
// brush and pixel uses that colour, so a silhouette lands on a mask in
// exactly one colour and drawing it again in white erases it exactly.
//
// Played: header, pen and brush creation, selection and deletion (stock
// objects included), fill mode, polygon, polyline, polybezier and their -to
// forms (32- and 16-bit points), poly-polygon and poly-polyline, move-to,
// line-to, path brackets with close figure, fill, stroke and stroke-and-fill,
// set-pixel, end of file. Other records are skipped. Counts in records are
// checked against the record size; drawing is clipped to the buffer.
void DrawMetafile(TMyBitmap& buf, const TMetafile& mf, int boxX, int boxY, int boxW, int boxH,
                  const TColor* onlyColor = nullptr);

}  // namespace orvel
