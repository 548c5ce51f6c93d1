// libFuzzer target: the saved-game reader in every mode on arbitrary bytes.
// Each input ends in a read or a clean "Invalid Saved Game" with a reason;
// what a resume reads is checked against the header (picture and mask
// sizes, piece boxes inside the mask, the weight on a piece) and the
// buffers are walked once, so that a wrong size shows up under
// AddressSanitizer. Good seeds: files written by "orvel-tool solve --save".
#include <cstddef>
#include <cstdint>

#include "game/SavedGameFile.h"

namespace {

unsigned Walk(const orvel::TMyBitmap& buf) {
    unsigned sum = 0;
    for (int y = 0; y < buf.Height; ++y) {
        const uint8_t* row = orvel::RowPtr(buf, y);
        for (int i = 0; i < buf.Width * buf.BytesPerPixel; ++i) sum += row[i];
    }
    return sum;
}

void CheckResumed(const orvel::TSavedGameData& d) {
    using namespace orvel;
    const GameHeader& h = d.Header;
    if (d.Picture.Width != h.ImageW || d.Picture.Height != h.ImageH) __builtin_trap();
    if (d.Mask.Width != h.ImageW + 5 || d.Mask.Height != h.ImageH + 5) __builtin_trap();
    if (static_cast<int>(d.State.Pieces.size()) != h.TotalTileNum) __builtin_trap();
    for (const TPiece& p : d.State.Pieces)
        if (p.boxX < 0 || p.boxY < 0 || p.boxX + p.boxW > d.Mask.Width ||
            p.boxY + p.boxH > d.Mask.Height || p.window > MW_POCKET3 || p.rotation > 3)
            __builtin_trap();
    if (d.State.WeightPiece < -1 || d.State.WeightPiece >= h.TotalTileNum) __builtin_trap();
}

void ReadOnce(const uint8_t* data, size_t size, orvel::SaveReadMode mode) {
    using namespace orvel;
    ResultOf<TSavedGameData> r = ReadSavedGameBytes(data, size, mode);
    if (!r.Ok()) {
        if (r.Error().Key != kInvalidSavedGame || r.Error().Detail.empty()) __builtin_trap();
        return;
    }
    const TSavedGameData& d = r.Value();
    if (d.Thumb.Width > kMaxThumbSide || d.Thumb.Height > kMaxThumbSide) __builtin_trap();
    if (mode == SaveReadMode::Resume) CheckResumed(d);
    volatile unsigned sink = Walk(d.Thumb) + Walk(d.Picture) + Walk(d.Mask);
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    ReadOnce(data, size, SaveReadMode::Browse);
    ReadOnce(data, size, SaveReadMode::Thumb);
    ReadOnce(data, size, SaveReadMode::Resume);
    return 0;
}
