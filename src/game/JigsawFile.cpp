#include "game/JigsawFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "base/Text.h"
#include "game/EntryFile.h"
#include "graphics/ImageCodecs.h"

namespace orvel {

namespace {

constexpr uint8_t kJfifStart[12] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10,
                                    0x4A, 0x46, 0x49, 0x46, 0x00, 0x01};

uint32_t Be16(const uint8_t* p) {
    return (uint32_t{p[0]} << 8) | p[1];
}

uint32_t Le32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// The frame header (SOF0 ... SOF15) of a JPEG, found by walking its marker
// segments from the start.
bool JpegFrameSize(const uint8_t* p, size_t n, int& width, int& height) {
    size_t i = 2;  // behind SOI
    while (i + 4 <= n) {
        if (p[i] != 0xFF) return false;
        const uint8_t marker = p[i + 1];
        if (marker == 0xFF) {  // fill byte
            ++i;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // segments without length
            i += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return false;  // image data before any frame
        const size_t length = Be16(p + i + 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8 || i + 9 > n) return false;
            height = static_cast<int>(Be16(p + i + 5));
            width = static_cast<int>(Be16(p + i + 7));
            return true;
        }
        if (length < 2) return false;
        i += 2 + length;
    }
    return false;
}

// The size in a bitmap's info header (40 bytes or more) or core header (12).
bool BitmapHeaderSize(const uint8_t* p, size_t n, int& width, int& height) {
    if (n < 26) return false;
    const uint32_t headerSize = Le32(p + 14);
    if (headerSize == 12) {
        width = static_cast<int>(p[18] | (p[19] << 8));
        height = static_cast<int>(p[20] | (p[21] << 8));
        return true;
    }
    const auto w = static_cast<int64_t>(static_cast<int32_t>(Le32(p + 18)));
    const auto h = static_cast<int64_t>(static_cast<int32_t>(Le32(p + 22)));
    const int64_t rows = h < 0 ? -h : h;  // negative: rows stored top-down
    if (headerSize < 40 || w <= 0 || rows == 0 || w > kMaxBitmapSide || rows > kMaxBitmapSide)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(rows);
    return true;
}

const char* KindName(StoredKind kind) {
    switch (kind) {
        case StoredKind::Jpeg:
            return "a JPEG";
        case StoredKind::Bitmap:
            return "a bitmap";
        case StoredKind::Gif:
            return "a GIF picture";
        default:
            return "of no known kind";
    }
}

// Why a stored picture of size bytes declaring w x h must not be decoded,
// or "" when it may.
std::string DensityProblem(const std::string& what, int w, int h, size_t bytes) {
    if (int64_t{w} * h > kMaxPixelsPerByte * static_cast<int64_t>(bytes))
        return what + " declares " + std::to_string(w) + " x " + std::to_string(h) + " pixels in " +
               std::to_string(bytes) + " bytes";
    return {};
}

// Why a thumbnail cannot be shown, or "" when it may be decoded.
std::string ThumbProblem(const std::vector<uint8_t>& bytes) {
    int w = 0, h = 0;
    const StoredKind kind = StoredKindOf(bytes.data(), bytes.size());
    if (kind != StoredKind::Jpeg && kind != StoredKind::Bitmap)
        return std::string("the thumbnail is ") + KindName(kind) + ", not a JPEG or bitmap";
    if (!PeekPictureSize(bytes.data(), bytes.size(), w, h) || w <= 0 || h <= 0)
        return "the thumbnail's size cannot be read";
    if (w > kMaxThumbSide || h > kMaxThumbSide)
        return "the thumbnail is " + std::to_string(w) + " x " + std::to_string(h) + " pixels";
    return DensityProblem("the thumbnail", w, h, bytes.size());
}

// A stored picture is decoded as JPEG when it has the JFIF header and as a
// bitmap file otherwise.
StoredKind PictureKindOf(const std::vector<uint8_t>& bytes) {
    return IsJfif(bytes.data(), bytes.size()) ? StoredKind::Jpeg : StoredKind::Bitmap;
}

std::string PictureProblem(const std::vector<uint8_t>& bytes, int imageW, int imageH) {
    int w = 0, h = 0;
    if (!IsJfif(bytes.data(), bytes.size()) &&
        StoredKindOf(bytes.data(), bytes.size()) != StoredKind::Bitmap)
        return "the picture is neither a JFIF JPEG nor a bitmap";
    if (!PeekPictureSize(bytes.data(), bytes.size(), w, h))
        return "the picture's size cannot be read";
    if (w != imageW || h != imageH)
        return "the picture is " + std::to_string(w) + " x " + std::to_string(h) +
               " pixels, the header says " + std::to_string(imageW) + " x " +
               std::to_string(imageH);
    return DensityProblem("the picture", w, h, bytes.size());
}

std::string ImageSizeProblem(int64_t w, int64_t h) {
    if (w <= 0 || h <= 0 || w > kMaxBitmapSide || h > kMaxBitmapSide || w * h > kMaxDecodePixels)
        return "the header's picture size " + std::to_string(w) + " x " + std::to_string(h) +
               " is out of range";
    return {};
}

// The one place the picture decoders are called.
bool DecodeStored(TMyBitmap& out, const std::vector<uint8_t>& bytes, StoredKind kind,
                  std::string& why) {
    const Result decoded = kind == StoredKind::Jpeg ? LoadJpegStream(out, bytes.data(), bytes.size())
                                                    : LoadBmpStream(out, bytes.data(), bytes.size());
    if (!decoded) why = PlainText(decoded.Error());
    return decoded.Ok();
}

Result ReadFixedFields(TEntryReader& in, TJigsawData& data) {
    char magic[kJigsawMagicSize];
    if (Result r = in.Read(magic, sizeof magic, "the header"); !r) return r;
    if (std::memcmp(magic, kJigsawMagic, sizeof magic) != 0)
        return in.Fail("not a jigsaw file (wrong magic)");
    int32_t w = 0, h = 0;
    uint8_t label[1 + kJigsawLabelMax];
    if (Result r = in.ReadInt32(w, "the header"); !r) return r;
    if (Result r = in.ReadInt32(h, "the header"); !r) return r;
    if (Result r = in.Read(label, sizeof label, "the header"); !r) return r;
    if (const std::string why = ImageSizeProblem(w, h); !why.empty()) return in.Fail(why);
    if (label[0] > kJigsawLabelMax) return in.Fail("the short label is longer than 9 characters");
    data.ImageW = w;
    data.ImageH = h;
    data.Label.assign(reinterpret_cast<const char*>(label + 1), label[0]);
    data.NameCode = label[0] > 0 ? label[label[0]] : 0;
    return Result::Success();
}

Result ReadThumb(TEntryReader& in, TJigsawData& data) {
    std::vector<uint8_t> bytes;
    if (Result r = in.ReadEntry(bytes, ThumbEntryKey(), kMaxThumbEntry, "the thumbnail"); !r)
        return r;
    if (const std::string why = ThumbProblem(bytes); !why.empty()) return in.Fail(why);
    data.ThumbKind = StoredKindOf(bytes.data(), bytes.size());
    std::string why;
    if (!DecodeStored(data.Thumb, bytes, data.ThumbKind, why))
        return in.Fail("the thumbnail: " + why);
    return Result::Success();
}

Result ReadPicture(TEntryReader& in, TJigsawData& data, int sideNum, int sideCur) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < sideNum; ++i) {
        if (Result r = in.ReadEntry(bytes, TextEntryKey(i), kMaxTextEntry, "the description"); !r)
            return r;
        if (i == sideCur) data.Description.assign(bytes.begin(), bytes.end());
    }
    for (int j = 0; j <= sideCur; ++j) {
        const size_t limit = static_cast<size_t>(kMaxImageFileSize);
        if (Result r = in.ReadEntry(bytes, PictureEntryKey(j), limit, "the picture"); !r) return r;
    }
    if (const std::string why = PictureProblem(bytes, data.ImageW, data.ImageH); !why.empty())
        return in.Fail(why);
    data.PictureKind = PictureKindOf(bytes);
    std::string why;
    if (!DecodeStored(data.Picture, bytes, data.PictureKind, why))
        return in.Fail("the picture: " + why);
    if (data.Picture.Width != data.ImageW || data.Picture.Height != data.ImageH)
        return in.Fail("the picture decodes to another size than the header's");
    if (data.Picture.BytesPerPixel != 3) {
        TMyBitmap rgb;
        if (!CopyFromBitmap(rgb, data.Picture)) return in.Fail("not enough memory for the picture");
        data.Picture = std::move(rgb);
    }
    return Result::Success();
}

ResultOf<TJigsawData> ReadJigsawFrom(TEntryReader& in, JigsawReadMode mode, int sideNum,
                                     int sideCur) {
    if (sideNum < 1 || sideNum > kJigsawMaxSides || sideCur < 0 || sideCur >= sideNum)
        return in.Fail("no side " + std::to_string(sideCur) + " of " + std::to_string(sideNum));
    TJigsawData data;
    if (Result r = ReadFixedFields(in, data); !r) return r;
    if (mode == JigsawReadMode::NewGame) {
        if (Result r = in.SkipEntry(kMaxThumbEntry, "the thumbnail"); !r) return r;
        if (Result r = ReadPicture(in, data, sideNum, sideCur); !r) return r;
        return data;
    }
    if (Result r = ReadThumb(in, data); !r) return r;
    if (mode == JigsawReadMode::Browse) {
        GameHeader& h = data.Header;
        h.SideNum = 1;
        h.SideCur = 0;
        h.EntryOffsets[1] = static_cast<int32_t>(in.Position());
        h.ImageW = h.FitW = data.ImageW;
        h.ImageH = h.FitH = data.ImageH;
        h.NameCode = data.NameCode;
    }
    return data;
}

Result CheckContent(const TJigsawContent& c) {
    auto invalid = [](const std::string& why) {
        return Result::Fail(kInvalidJigsaw, {}, why, MsgSection::Fixed);
    };
    if (const std::string why = ImageSizeProblem(c.ImageW, c.ImageH); !why.empty())
        return invalid(why);
    if (c.Label.size() > kJigsawLabelMax)
        return invalid("the short label is longer than 9 characters");
    if (c.Thumb.size() > kMaxThumbEntry) return invalid("the thumbnail is too large");
    if (const std::string why = ThumbProblem(c.Thumb); !why.empty()) return invalid(why);
    if (c.Pictures.empty() || c.Pictures.size() > kJigsawMaxSides ||
        c.Descriptions.size() != c.Pictures.size())
        return invalid("a jigsaw has one or two sides, each with a description and a picture");
    for (const std::string& text : c.Descriptions)
        if (text.size() > kMaxTextEntry) return invalid("a description is too long");
    for (const std::vector<uint8_t>& picture : c.Pictures) {
        if (picture.size() > static_cast<size_t>(kMaxImageFileSize))
            return invalid("a picture is too large");
        if (const std::string why = PictureProblem(picture, c.ImageW, c.ImageH); !why.empty())
            return invalid(why);
    }
    return Result::Success();
}

}  // namespace

StoredKind StoredKindOf(const uint8_t* data, size_t size) {
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return StoredKind::Jpeg;
    if (size >= 4 && std::memcmp(data, "GIF8", 4) == 0) return StoredKind::Gif;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return StoredKind::Bitmap;
    return StoredKind::Other;
}

bool IsJfif(const uint8_t* data, size_t size) {
    return size >= sizeof kJfifStart && std::memcmp(data, kJfifStart, sizeof kJfifStart) == 0;
}

bool PeekPictureSize(const uint8_t* data, size_t size, int& width, int& height) {
    switch (StoredKindOf(data, size)) {
        case StoredKind::Jpeg:
            return JpegFrameSize(data, size, width, height);
        case StoredKind::Bitmap:
            return BitmapHeaderSize(data, size, width, height);
        default:
            return false;
    }
}

ResultOf<TJigsawData> ReadJigsaw(const std::string& path, JigsawReadMode mode, int sideNum,
                                 int sideCur) {
    TEntryReader in(kInvalidJigsaw, MsgSection::Fixed);
    if (mode == JigsawReadMode::NewGame &&
        AsciiLower(std::filesystem::path(path).extension().string()) != ".orv")
        return in.Fail(path + ": a jigsaw file's name ends in .orv");
    if (Result r = in.OpenFile(path); !r) return r;
    return ReadJigsawFrom(in, mode, sideNum, sideCur);
}

ResultOf<TJigsawData> ReadJigsawBytes(const uint8_t* data, size_t size, JigsawReadMode mode,
                                      int sideNum, int sideCur) {
    TEntryReader in(kInvalidJigsaw, MsgSection::Fixed);
    in.OpenBytes(data, size);
    return ReadJigsawFrom(in, mode, sideNum, sideCur);
}

void FitPictureSize(GameHeader& header, int availW, int availH) {
    const int w = header.ImageW, h = header.ImageH;
    header.FitW = w;
    header.FitH = h;
    if (availW <= 0 || availH <= 0 || w <= 0 || h <= 0 || (w <= availW && h <= availH)) return;
    if (static_cast<double>(availW) / availH > static_cast<double>(w) / h) {
        header.FitW = static_cast<int32_t>(int64_t{availH} * w / h);
        header.FitH = availH;
    } else {
        header.FitW = availW;
        header.FitH = static_cast<int32_t>(int64_t{availW} * h / w);
    }
}

Result WriteJigsaw(const std::string& path, const TJigsawContent& content) {
    if (Result r = CheckContent(content); !r) return r;
    TEntryWriter out(kCannotWriteJigsaw, MsgSection::Fixed);
    if (Result r = out.Open(path); !r) return r;
    out.Write(kJigsawMagic, kJigsawMagicSize);
    out.WriteInt32(content.ImageW);
    out.WriteInt32(content.ImageH);
    uint8_t label[1 + kJigsawLabelMax] = {};
    label[0] = static_cast<uint8_t>(content.Label.size());
    std::memcpy(label + 1, content.Label.data(), content.Label.size());
    out.Write(label, sizeof label);
    out.WriteEntry(content.Thumb.data(), content.Thumb.size(), ThumbEntryKey());
    for (size_t i = 0; i < content.Descriptions.size(); ++i) {
        const std::string& text = content.Descriptions[i];
        out.WriteEntry(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                       TextEntryKey(static_cast<int>(i)));
    }
    for (size_t j = 0; j < content.Pictures.size(); ++j)
        out.WriteEntry(content.Pictures[j].data(), content.Pictures[j].size(),
                       PictureEntryKey(static_cast<int>(j)));
    return out.Commit();
}

std::string MakeJigsawLabel(const std::string& name) {
    size_t n = std::min(name.size(), static_cast<size_t>(kJigsawLabelMax));
    // Never end inside a UTF-8 sequence: step back over continuation bytes
    // and the lead byte whose sequence would be cut.
    if (n < name.size()) {
        while (n > 0 && (static_cast<uint8_t>(name[n]) & 0xC0) == 0x80) --n;
    }
    return name.substr(0, n);
}

}  // namespace orvel
