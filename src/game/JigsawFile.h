#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "game/GameTypes.h"
#include "graphics/Bitmap.h"

namespace orvel {

// The jigsaw file (".orv"), little-endian:
//   0   9 bytes  "ORVEL1.0" and a zero byte
//   9   i32      picture width
//   13  i32      picture height
//   17  10 bytes short label: a length byte and up to 9 characters
//   27  entries  the thumbnail (key ThumbKey, fixed), then one description
//                per side (TextKeyBase + i, rotating), then one picture per
//                side (PicKeyBase + j, rotating)
// An entry is an i32 length and that many scrambled bytes (game/EntryFile.h).
// Stored pictures are JFIF JPEG or bitmap files; the thumbnail is a JPEG or a
// bitmap file.

// The fixed, untranslated text every refused jigsaw file fails with; the
// error's detail says what was wrong.
constexpr const char* kInvalidJigsaw = "Invalid Jigsaw";

constexpr char kJigsawMagic[] = "ORVEL1.0";  // stored with its terminating zero
constexpr int kJigsawMagicSize = 9;
constexpr int kJigsawLabelMax = 9;
constexpr int kJigsawHeaderSize = 27;
// EntryOffsets holds an offset for every side and one more.
constexpr int kJigsawMaxSides = 2;

// What a jigsaw file may hold. The picture is limited by the decoders'
// pixel limit; the thumbnail is meant to be small.
constexpr int kMaxThumbSide = 1024;
constexpr size_t kMaxThumbEntry = size_t{4} << 20;
constexpr size_t kMaxTextEntry = size_t{1} << 20;
// No Huffman-coded JPEG packs more than about 512 pixels into a byte, a
// bitmap no more than 8: a stored picture that declares more pixels per byte
// of its entry is refused before it is decoded.
constexpr int64_t kMaxPixelsPerByte = 1024;

// What ReadJigsaw reads.
enum class JigsawReadMode : uint8_t {
    Browse,   // header and thumbnail; fills Header for the browser
    NewGame,  // header, descriptions and the picture of the chosen side
    Thumb,    // the thumbnail
};

enum class StoredKind : uint8_t { None, Jpeg, Bitmap, Gif, Other };

// What ReadJigsaw found. Every mode reads the fixed fields; the rest depends
// on the mode.
struct TJigsawData {
    int32_t ImageW = 0;  // the stored picture's size
    int32_t ImageH = 0;
    std::string Label;     // the short label
    int32_t NameCode = 0;  // code of the label's last character, 0 for an empty label
    // Mode 0: the browser's header copy as the file gives it: SideNum 1,
    // SideCur 0, EntryOffsets[1] (the offset behind the thumbnail), ImageW,
    // ImageH, NameCode, and FitW, FitH = the picture size (FitPictureSize
    // fits them to the screen).
    GameHeader Header;
    TMyBitmap Thumb;  // modes 0 and 2
    StoredKind ThumbKind = StoredKind::None;
    std::string Description;  // mode 1: the chosen side's description
    TMyBitmap Picture;        // mode 1: the chosen side's picture, 24-bit, ImageW x ImageH
    StoredKind PictureKind = StoredKind::None;
};

// Reads a jigsaw file as mode asks. Mode 1 reads the descriptions of sides
// 0 .. sideNum-1 and the picture entries up to sideCur, and needs the
// extension ".orv". Every failure (a missing file, a wrong magic, sizes beyond
// the limits, an entry longer than the file, a thumbnail of another kind, a
// picture that does not decode or has another size than the header's) is
// kInvalidJigsaw with a detail. Every length and size is checked against
// the file and the limits above before anything is allocated.
ResultOf<TJigsawData> ReadJigsaw(const std::string& path, JigsawReadMode mode, int sideNum = 1,
                                 int sideCur = 0);
// The same from a file's bytes in memory.
ResultOf<TJigsawData> ReadJigsawBytes(const uint8_t* data, size_t size, JigsawReadMode mode,
                                      int sideNum = 1, int sideCur = 0);

// Fits the header's picture size (ImageW x ImageH) into availW x availH,
// keeping its shape, into FitW and FitH; a picture that fits keeps its size.
void FitPictureSize(GameHeader& header, int availW, int availH);

// The kind of a stored picture or thumbnail by its first bytes: FF D8 FF is
// a JPEG, "GIF8" a GIF, "BM" a bitmap.
StoredKind StoredKindOf(const uint8_t* data, size_t size);
// A JPEG with the JFIF header: FF D8 FF E0 00 10 "JFIF" 00 01.
bool IsJfif(const uint8_t* data, size_t size);
// The picture size a JPEG frame header or a bitmap header declares, read
// without decoding; false when none is found.
bool PeekPictureSize(const uint8_t* data, size_t size, int& width, int& height);

// The parts of a jigsaw file, for writing.
struct TJigsawContent {
    int32_t ImageW = 0;
    int32_t ImageH = 0;
    std::string Label;                      // at most kJigsawLabelMax bytes
    std::vector<uint8_t> Thumb;             // a JPEG or bitmap file
    std::vector<std::string> Descriptions;  // one per side
    std::vector<std::vector<uint8_t>>
        Pictures;  // one per side: JFIF JPEG or bitmap, ImageW x ImageH
};

// Writes a jigsaw file through a scratch file. Content the reader would
// refuse is refused here (kInvalidJigsaw); a write failure fails with
// kCannotWriteJigsaw and the system's reason.
constexpr const char* kCannotWriteJigsaw = "Cannot write the jigsaw file";
Result WriteJigsaw(const std::string& path, const TJigsawContent& content);

// Up to kJigsawLabelMax bytes of name, cut at a character boundary.
std::string MakeJigsawLabel(const std::string& name);

}  // namespace orvel
