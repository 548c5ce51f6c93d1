// libFuzzer target: the jigsaw reader in every mode on arbitrary bytes. Each
// input ends in a read or a clean "Invalid Jigsaw" with a reason; a read
// thumbnail or picture is walked once, so that a wrong size or stride shows
// up under AddressSanitizer. Good seeds: tests/data/jigsaws and
// tests/data/bad/jigsaws.
#include <cstddef>
#include <cstdint>

#include "game/JigsawFile.h"

namespace {

unsigned Walk(const orvel::TMyBitmap& buf) {
    unsigned sum = 0;
    for (int y = 0; y < buf.Height; ++y) {
        const uint8_t* row = orvel::RowPtr(buf, y);
        for (int i = 0; i < buf.Width * buf.BytesPerPixel; ++i) sum += row[i];
    }
    return sum;
}

void ReadOnce(const uint8_t* data, size_t size, orvel::JigsawReadMode mode, int sideNum,
              int sideCur) {
    using namespace orvel;
    ResultOf<TJigsawData> r = ReadJigsawBytes(data, size, mode, sideNum, sideCur);
    if (!r.Ok()) {
        if (r.Error().Key != kInvalidJigsaw || r.Error().Detail.empty()) __builtin_trap();
        return;
    }
    const TJigsawData& d = r.Value();
    if (mode == JigsawReadMode::NewGame && (d.Picture.Width != d.ImageW || d.Picture.Height != d.ImageH))
        __builtin_trap();
    if (mode != JigsawReadMode::NewGame && (d.Thumb.Width > kMaxThumbSide || d.Thumb.Height > kMaxThumbSide))
        __builtin_trap();
    volatile unsigned sink = Walk(d.Thumb) + Walk(d.Picture);
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    ReadOnce(data, size, JigsawReadMode::Browse, 1, 0);
    ReadOnce(data, size, JigsawReadMode::Thumb, 1, 0);
    ReadOnce(data, size, JigsawReadMode::NewGame, 1, 0);
    ReadOnce(data, size, JigsawReadMode::NewGame, 2, 1);
    return 0;
}
