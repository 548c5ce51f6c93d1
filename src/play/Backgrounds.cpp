#include "play/Backgrounds.h"

#include <utility>

#include "base/IntMath.h"
#include "graphics/ImageCodecs.h"
#include "play/PlayWindow.h"

namespace orvel {

namespace {

constexpr const char* kPictureNames[] = {"parquet", "stucco1", "stucco4", "wood1",
                                         "wood2",   "wood3",   "wood4",   "wood5"};
constexpr int32_t kFirstPictureCode = 10;

// Repeats tile over the whole of dst.
void TileInto(TMyBitmap& dst, const TMyBitmap& tile) {
    for (int y = 0; y < dst.Height; y += tile.Height)
        for (int x = 0; x < dst.Width; x += tile.Width)
            CopyRect(dst, x, y, Min(tile.Width, dst.Width - x), Min(tile.Height, dst.Height - y),
                     tile, 0, 0);
}

}  // namespace

std::string BackgroundPictureName(int32_t code) {
    if (!IsBackgroundPictureCode(code)) return {};
    return kPictureNames[code - kFirstPictureCode];
}

std::string BackgroundPicturePath(int32_t code) {
    const std::string name = BackgroundPictureName(code);
    return name.empty() ? std::string() : "bkg-pics/" + name + "-1600.jpg";
}

bool LoadBackgroundPicture(TBackgroundPicture& bkg, const std::string& programDir, int32_t code,
                           int width, int height) {
    if (!IsBackgroundPictureCode(code) || width <= 0 || height <= 0) return false;
    if (bkg.Code == code && bkg.Picture.Width == width && bkg.Picture.Height == height) return true;
    bkg.Code = 0;
    TMyBitmap tile;
    if (!LoadJpegFile(tile, programDir + BackgroundPicturePath(code)).Ok() || tile.Width <= 0 ||
        tile.Height <= 0)
        return false;
    if (tile.Width == width && tile.Height == height) {
        bkg.Picture = std::move(tile);
    } else {
        if (!Create24(bkg.Picture, width, height)) return false;
        TileInto(bkg.Picture, tile);
    }
    bkg.Code = code;
    return true;
}

void ResolveBackgrounds(TBackgroundValues& values, const std::function<bool(int32_t)>& load) {
    int32_t picture = 0;
    for (int32_t v : values)
        if (IsBackgroundPictureCode(v)) {
            picture = v;
            break;
        }
    if (picture == 0) return;
    const bool loaded = load && load(picture);
    for (int32_t& v : values)
        if (IsBackgroundPictureCode(v) && (v != picture || !loaded))
            v = static_cast<int32_t>(kDefaultBackground);
}

}  // namespace orvel
