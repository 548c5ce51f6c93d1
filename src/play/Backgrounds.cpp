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
    // The picture is stretched (bilinear) to cover the whole target; the
    // shipped pictures are made for a full screen, so the change is small.
    if (tile.Width == width && tile.Height == height) {
        bkg.Picture = std::move(tile);
    } else {
        if (!Create24(bkg.Picture, width, height)) return false;
        ScaleInto(bkg.Picture, tile);
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
