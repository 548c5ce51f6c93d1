#include "library/PackJigsaw.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "base/FileRead.h"
#include "base/Text.h"
#include "game/JigsawFile.h"
#include "graphics/ImageCodecs.h"
#include "play/Thumb.h"

namespace orvel {

namespace {

constexpr int kPictureQuality = 95;
constexpr int kThumbQuality = 90;

// The thumbnail's size: the picture reduced, keeping its shape, into at most
// 180 x 135 pixels the way the game reduces pictures into its thumbnail area.
void ThumbSize(int pw, int ph, int& w, int& h) {
    ThumbFitSize(kThumbMaxW, kThumbMaxH, pw, ph, w, h);
    w = std::max(w, 1);
    h = std::max(h, 1);
}

// Bilinear scaling skips source pixels when it shrinks a lot; halving first
// lets every source pixel count, so a thumbnail does not shimmer. The first
// half is taken from the picture itself, so no full-size copy is made.
TMyBitmap MakeThumb(const TMyBitmap& pic) {
    int w = 0, h = 0;
    ThumbSize(pic.Width, pic.Height, w, h);
    TMyBitmap half;
    const TMyBitmap* src = &pic;
    while (src->Width >= 4 * w && src->Height >= 4 * h) {
        TMyBitmap next;
        if (!Create24(next, src->Width / 2, src->Height / 2)) break;
        ScaleInto(next, *src);
        half = std::move(next);
        src = &half;
    }
    TMyBitmap thumb;  // stays empty when memory runs out; encoding it then fails
    if (Create24(thumb, w, h)) ScaleInto(thumb, *src);
    return thumb;
}

// The picture as the jigsaw stores it: a JFIF JPEG as it stands, another
// JPEG re-encoded, a PNG or bitmap as a 24-bit bitmap, which keeps it exact.
Result StoredPicture(std::vector<uint8_t>& file, const TMyBitmap& pic, std::vector<uint8_t>& out) {
    if (IsJfif(file.data(), file.size())) {
        out = std::move(file);
        return Result::Success();
    }
    if (StoredKindOf(file.data(), file.size()) == StoredKind::Jpeg)
        return SaveJpeg(pic, out, kPictureQuality);
    return SaveBmp24(pic, out);
}

void Step(std::atomic<int>* steps) {
    if (steps) steps->fetch_add(1);
}

Result ReadPictureFile(const std::string& imagePath, std::vector<uint8_t>& file) {
    std::string text;
    if (!ReadSmallFile(imagePath, static_cast<uint64_t>(kMaxImageFileSize), text)) {
        const std::string why = DescribeNonFile(imagePath);
        return InvalidPicture(imagePath + ": " + (why.empty() ? "too large or unreadable" : why));
    }
    file.assign(text.begin(), text.end());
    return Result::Success();
}

}  // namespace

std::string JigsawNameOf(const std::string& imagePath) {
    return AsciiLower(std::filesystem::path(imagePath).stem().string());
}

Result PackJigsaw(const std::string& imagePath, const std::string& outPath, const std::string& name,
                  const std::string& description, std::atomic<int>* steps) {
    std::vector<uint8_t> file;
    if (Result r = ReadPictureFile(imagePath, file); !r) return r;
    Step(steps);
    TMyBitmap pic;
    if (Result r = LoadImageStream(pic, file.data(), file.size()); !r) return r;
    Step(steps);
    TJigsawContent content;
    content.ImageW = pic.Width;
    content.ImageH = pic.Height;
    content.Label = MakeJigsawLabel(name);
    content.Descriptions.push_back(description);
    content.Pictures.emplace_back();
    if (Result r = StoredPicture(file, pic, content.Pictures[0]); !r) return r;
    file = {};
    Step(steps);
    if (Result r = SaveJpeg(MakeThumb(pic), content.Thumb, kThumbQuality); !r) return r;
    ReleaseBitmap(pic);
    Step(steps);
    Result written = WriteJigsaw(outPath, content);
    Step(steps);
    return written;
}

}  // namespace orvel
