// Shape data file reader and the drawing player: any bytes must neither crash
// nor allocate without bound nor write outside the target buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "cutter/Metafile.h"
#include "cutter/ShapeData.h"
#include "cutter/ShapeRaster.h"
#include "graphics/Bitmap.h"

using namespace orvel;

namespace {

void Play(const TMetafile& current, int salt) {
    TMetafile mf = current;
    MirrorShape(mf, salt & 1, salt & 2);
    const RotatedSize rs = RotateShape(mf, (salt % 60) - 30);
    const TColor c = RgbToColor(128, 0, 25);
    RecolourShape(mf, c);
    TMyBitmap b;
    if (!Create24(b, 64, 64)) return;
    const int w = rs.W2 > 0 && rs.W2 < 200 ? rs.W2 : 40, h = rs.H2 > 0 && rs.H2 < 200 ? rs.H2 : 40;
    DrawMetafile(b, mf, -5 + salt % 11, -5 + salt % 7, w, h, &c);
    DrawMetafile(b, mf, 10, 10, 30, 30);  // with the drawing's own colours
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ShapeData shapes;
    if (ParseShapeData(shapes, data, size) == ShapeLoadResult::Loaded) {
        for (int i = 0; i < shapes.Count && i < 8; ++i)
            if (SelectShape(shapes, i)) Play(shapes.Current, i * 37 + int(size));
    }
    // The same bytes as a bare drawing.
    TMetafile mf;
    if (LoadMetafile(mf, data, size)) Play(mf, int(size));
    return 0;
}
