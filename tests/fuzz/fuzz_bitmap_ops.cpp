// libFuzzer entry: the pixel operations with arbitrary arguments. The bytes
// pick buffer sizes and depths, then a sequence of calls whose coordinates,
// sizes and colours come straight from the input (extremes of int included),
// so that any clipping gap shows up as an AddressSanitizer report.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "graphics/Bitmap.h"

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    bool More() const { return pos < size; }
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
    // Mostly small values around the buffers, now and then anything at all.
    int Int() {
        const uint8_t kind = Byte();
        if (kind < 200) return static_cast<int>(Byte()) - 100;
        int32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = static_cast<int32_t>((static_cast<uint32_t>(v) << 8) | Byte());
        return v;
    }
};

void Make(orvel::TMyBitmap& buf, Reader& in) {
    const int w = 1 + in.Byte() % 64, h = 1 + in.Byte() % 64;
    const bool made = (in.Byte() & 1) ? orvel::Create32(buf, w, h) : orvel::Create24(buf, w, h);
    if (made) std::memset(buf.Bits, in.Byte(), static_cast<size_t>(buf.Size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    Reader in{data, size};
    TMyBitmap a, b;
    Make(a, in);
    Make(b, in);
    for (int steps = 0; in.More() && steps < 64; ++steps) {
        const uint8_t op = in.Byte() % 13;
        TMyBitmap& dst = in.Byte() & 1 ? a : b;
        const TMyBitmap& src = &dst == &a ? b : a;
        TMyRect clip;
        SetBounds(clip, in.Int(), in.Int(), in.Int(), in.Int());
        const int x = in.Int(), y = in.Int(), w = in.Int(), h = in.Int();
        const int sx = in.Int(), sy = in.Int(), sw = in.Int(), sh = in.Int();
        const TColor c = static_cast<TColor>(in.Byte()) * 0x010203u;
        TMyRect bounds;
        switch (op) {
            case 0:
                BlitAlpha(dst, x, y, w, h, src, sx, sy, sw, sh, clip);
                break;
            case 1:
                BlitKeyed(dst, x, y, w, h, src, sx, sy, sw, sh, clip, c);
                break;
            case 2:
                CopyRect(dst, x, y, w, h, src, sx, sy);
                break;
            case 3:
                CopyRect(dst, x, y, w, h, dst, sx, sy);
                break;
            case 4:
                FillBox(dst, x, y, w, h, c);
                break;
            case 5:
                FrameBox(dst, x, y, w, h, c);
                break;
            case 6:
                HalfTint(dst, x, y, w, h, c, 0);
                break;
            case 7:
                DrawLine(dst, x, y, sx, sy, c);
                break;
            case 8:
                FloodFill(dst, x, y, bounds, true, c);
                break;
            case 9:
                ScaleRegion(dst, w, h, src, sw, sh);
                break;
            case 10:
                ScaleInto(dst, src);
                break;
            case 11:
                // A failure leaves dst released, which the next operations must take.
                (void)RotateRightWithMargin(dst, src, w);
                break;
            case 12: {
                int cx = x, cy = y, cw = w, ch = h, csx = sx, csy = sy;
                ClipSpan(clip, cx, cy, cw, ch, csx, csy);
                break;
            }
        }
    }
    return 0;
}
