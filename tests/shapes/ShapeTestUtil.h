#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "cutter/Metafile.h"
#include "graphics/Bitmap.h"

namespace orvel::test {

inline std::string ShapeFilePath() {
    return std::string(ORVEL_SOURCE_DIR) + "/data/pic_orvel.dat";
}

inline TMyBitmap WhiteBitmap(int w, int h) {
    TMyBitmap b;
    if (!Create24(b, w, h)) return b;  // empty: the caller's checks fail
    for (int y = 0; y < h; ++y) std::memset(RowPtr(b, y), 0xFF, size_t(b.Stride));
    return b;
}

inline int CountColour(const TMyBitmap& b, TColor c) {
    int n = 0;
    for (int y = 0; y < b.Height; ++y)
        for (int x = 0; x < b.Width; ++x) n += GetPixel(b, x, y) == int32_t(c);
    return n;
}

inline TMetafile Make(const std::vector<uint8_t>& bytes) {
    TMetafile mf;
    LoadMetafile(mf, bytes.data(), bytes.size());
    return mf;
}

// A solid pen and brush in colour c, selected.
inline void PenAndBrush(MetafileWriter& w, TColor c, bool nullPen = false) {
    w.Record(EMR_CREATEPEN, {1, nullPen ? 5u : 0u, 1, 0, c});
    w.Record(EMR_CREATEBRUSHINDIRECT, {2, 0, c, 0});
    w.Record(EMR_SELECTOBJECT, {1});
    w.Record(EMR_SELECTOBJECT, {2});
}

}  // namespace orvel::test
