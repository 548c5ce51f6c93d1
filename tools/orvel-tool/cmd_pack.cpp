// orvel-tool pack: makes a jigsaw file of every picture given, as the game
// and its download site use them.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Command.h"
#include "play/Thumb.h"
#include "base/FileRead.h"
#include "base/Text.h"
#include "game/JigsawFile.h"
#include "graphics/ImageCodecs.h"

namespace fs = std::filesystem;

namespace orvel::tool {
namespace {

constexpr int kPictureQuality = 95;
constexpr int kThumbQuality = 90;

const char* kUsage = "IMAGE... [--out DIR] [--description TEXT]";

// The codec calls of this command, in one place.
bool Succeeded(const Result& result, std::string& why) {
    if (!result) why = PlainText(result.Error());
    return result.Ok();
}
bool DecodeImage(const std::vector<uint8_t>& bytes, TMyBitmap& pic, std::string& why) {
    return Succeeded(LoadImageStream(pic, bytes.data(), bytes.size()), why);
}
bool EncodeJpeg(const TMyBitmap& pic, int quality, std::vector<uint8_t>& out, std::string& why) {
    return Succeeded(SaveJpeg(pic, out, quality), why);
}
bool EncodeBitmap(const TMyBitmap& pic, std::vector<uint8_t>& out, std::string& why) {
    return Succeeded(SaveBmp24(pic, out), why);
}

struct PackOptions {
    std::vector<std::string> Images;
    std::string OutDir = ".";
    std::string Description;
    bool HaveDescription = false;
};

// The thumbnail's size: the picture reduced, keeping its shape, into at most
// 180 x 135 pixels the way the game reduces pictures into its thumbnail area.
void ThumbSize(int pw, int ph, int& w, int& h) {
    ThumbFitSize(kThumbMaxW, kThumbMaxH, pw, ph, w, h);
    w = std::max(w, 1);
    h = std::max(h, 1);
}

// Bilinear scaling skips source pixels when it shrinks a lot; halving first
// lets every source pixel count, so a thumbnail does not shimmer.
TMyBitmap MakeThumb(const TMyBitmap& pic) {
    int w = 0, h = 0;
    ThumbSize(pic.Width, pic.Height, w, h);
    TMyBitmap src;
    TMyBitmap thumb;  // stays empty when memory runs out; encoding it then fails
    if (!CopyFromBitmap(src, pic)) return thumb;
    while (src.Width >= 4 * w && src.Height >= 4 * h) {
        TMyBitmap half;
        if (!Create24(half, src.Width / 2, src.Height / 2)) break;
        ScaleInto(half, src);
        src = std::move(half);
    }
    if (Create24(thumb, w, h)) ScaleInto(thumb, src);
    return thumb;
}

// The picture as the jigsaw stores it: a JFIF JPEG as it stands, another
// JPEG re-encoded, a PNG or bitmap as a 24-bit bitmap, which keeps it exact.
bool StoredPicture(const std::vector<uint8_t>& file, const TMyBitmap& pic,
                   std::vector<uint8_t>& out, std::string& why) {
    if (IsJfif(file.data(), file.size())) {
        out = file;
        return true;
    }
    if (StoredKindOf(file.data(), file.size()) == StoredKind::Jpeg)
        return EncodeJpeg(pic, kPictureQuality, out, why);
    return EncodeBitmap(pic, out, why);
}

bool PackOne(const std::string& image, const PackOptions& options, std::set<std::string>& written) {
    const std::string stem = fs::path(image).stem().string();
    const std::string name = AsciiLower(stem);
    const std::string outPath = JoinPath(options.OutDir, name + ".orv");
    auto fail = [&](const std::string& why) {
        std::fprintf(stderr, "pack: %s: %s\n", image.c_str(), why.c_str());
        return false;
    };
    if (name.empty()) return fail("the file name gives no jigsaw name");
    if (!written.insert(name).second) return fail("another picture already gave " + outPath);
    std::string text;
    if (!ReadSmallFile(image, static_cast<uint64_t>(kMaxImageFileSize), text))
        return fail(
            "cannot read the file (" +
            (DescribeNonFile(image).empty() ? "too large or unreadable" : DescribeNonFile(image)) +
            ")");
    const std::vector<uint8_t> file(text.begin(), text.end());
    TMyBitmap pic;
    std::string why;
    if (!DecodeImage(file, pic, why)) return fail(why);

    TJigsawContent content;
    content.ImageW = pic.Width;
    content.ImageH = pic.Height;
    content.Label = MakeJigsawLabel(name);
    content.Descriptions.push_back(options.HaveDescription ? options.Description : stem);
    content.Pictures.emplace_back();
    if (!StoredPicture(file, pic, content.Pictures[0], why)) return fail(why);
    if (!EncodeJpeg(MakeThumb(pic), kThumbQuality, content.Thumb, why))
        return fail("thumbnail: " + why);
    if (Result r = WriteJigsaw(outPath, content); !r)
        return fail(r.Error().Key + ": " + r.Error().Detail);
    std::printf("%s\n", outPath.c_str());
    return true;
}

// Returns the exit status for bad arguments, or -1 when they are fine.
int ParseArgs(const std::vector<std::string>& args, PackOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out" || a == "--description") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "pack: %s needs a value\n", a.c_str());
                return 2;
            }
            (a == "--out" ? options.OutDir : options.Description) = args[++i];
            options.HaveDescription |= a == "--description";
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "pack: unknown option %s\nUsage: orvel-tool pack %s\n", a.c_str(),
                         kUsage);
            return 2;
        } else {
            options.Images.push_back(a);
        }
    }
    if (options.Images.empty()) {
        std::fprintf(stderr, "Usage: orvel-tool pack %s\n", kUsage);
        return 2;
    }
    return -1;
}

int RunPack(const std::vector<std::string>& args) {
    PackOptions options;
    if (const int status = ParseArgs(args, options); status >= 0) return status;
    std::error_code ec;
    fs::create_directories(options.OutDir, ec);
    if (!fs::is_directory(options.OutDir, ec)) {
        std::fprintf(stderr, "pack: cannot make the folder %s\n", options.OutDir.c_str());
        return 1;
    }
    std::set<std::string> written;
    bool ok = true;
    for (const std::string& image : options.Images) ok = PackOne(image, options, written) && ok;
    return ok ? 0 : 1;
}

CommandRegistration packCommand(
    {"pack", kUsage,
     "makes a jigsaw file <name>.orv of every picture (JPEG, PNG or BMP), "
     "with a thumbnail and a description",
     RunPack});

}  // namespace
}  // namespace orvel::tool
