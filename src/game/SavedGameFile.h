#pragma once

// The saved-game file (".sv1"), little-endian:
//   0   11 bytes   "ORVELSLV1.0" (no terminator)
//   11  i32        GameSeed: the identity of the game for state updates
//   15  i32        file offset of the state block
//   19  i32        n = length of the jigsaw name + 1
//   23  n bytes    the jigsaw name and a zero byte
//   .   120 bytes  GameHeader
//   .   entries    thumbnail (ThumbKey), picture buffer 0 as a 24-bit bitmap
//                  file (SavePicKey), mask buffer 4 as a 24-bit bitmap file
//                  (SaveMaskKey), the description (SaveInfoKey); all fixed keys
//   state          background block (9 x i32), play options (8 bytes), the
//                  piece records, four pockets of 26 bytes, and the trailer:
//                  i32 56010, i32 WeightPiece, 256 zero bytes
// Every count, length and offset is checked against the file's size before
// anything is allocated or read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "game/GameTypes.h"
#include "game/JigsawFile.h"
#include "game/SafeFile.h"
#include "graphics/Bitmap.h"

namespace orvel {

constexpr char kSavedGameMagic[] = "ORVELSLV1.0";
constexpr int kSavedGameMagicSize = 11;
constexpr int kSavedNameOffset = 23;
constexpr int kMaxSavedNameLength = 4096;
constexpr int kMaxSavedPieces = 65536;
constexpr int kSavedPocketSize = 26;
constexpr int kSavedTrailerSize = 264;
constexpr int32_t kSavedTrailerMark = 56010;
constexpr int kBkgBlockWords = 9;
constexpr int kPlayOptionBytes = 8;

// Start keys of the saved game's own entries (the thumbnail shares ThumbKey
// with jigsaw files).
constexpr uint8_t SavePicKey = 0x6B;
constexpr uint8_t SaveMaskKey = 0xC5;
constexpr uint8_t SaveInfoKey = 0x27;

// The fixed text a refused saved game fails with; the detail says why.
constexpr const char* kInvalidSavedGame = "Invalid Saved Game";
// The language key of a save that failed; its argument is the file's path.
constexpr const char* kCannotSaveGame = "MS_CantSaveGame";

#pragma pack(push, 1)
// A pocket as a saved game holds it.
struct TSavedPocket {
    uint8_t Fixed = 0;  // 0: the scroll position and group count are restored
    uint8_t Visible = 0;
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // the outer rectangle
    int32_t ScrollX = 0, ScrollY = 0;
};
#pragma pack(pop)
static_assert(sizeof(TSavedPocket) == kSavedPocketSize);

// Background block word by word: two carried words, the background of all
// windows, then sides 0 and 1 and pockets 1 .. 4.
enum : int { kBkgCarried0 = 0, kBkgCarried1 = 1, kBkgAll = 2, kBkgWindows = 3 };

// Play options byte by byte.
enum : int {
    kOptRotCWButton,
    kOptRotCWShift,
    kOptRotCCWButton,
    kOptRotCCWShift,
    kOptMoveOWButton,
    kOptMoveOWShift,
    kOptSingleWin,
    kOptClickToDrag,
};

// The state block: everything that changes while the game is played.
struct TSaveState {
    std::array<int32_t, kBkgBlockWords> BkgBlock{};
    std::array<uint8_t, kPlayOptionBytes> PlayOptions{};
    std::vector<TPiece> Pieces;  // TotalTileNum records
    std::array<TSavedPocket, 4> Pockets{};
    bool HasTrailer = true;  // files written before the weight existed have none
    int32_t WeightPiece = -1;
};

// The state block as it is stored.
std::vector<uint8_t> EncodeSaveState(const TSaveState& state);

// What a full save writes.
struct TSavedGameContent {
    std::string Name;  // sJigName
    GameHeader Header;
    std::vector<uint8_t> Thumb;    // a JPEG or bitmap file
    std::vector<uint8_t> Picture;  // 24-bit bitmap file, ImageW x ImageH
    std::vector<uint8_t> Mask;     // 24-bit bitmap file, (ImageW + 5) x (ImageH + 5)
    std::string Description;
    TSaveState State;
};

// Writes a complete saved game into scratch, flushed to disk; the caller
// moves it into place with CommitSavedGame (or copies it elsewhere first).
// A failure is kCannotSaveGame with path as its argument.
Result WriteSavedGameScratch(const std::string& path, const std::string& scratch,
                             const TSavedGameContent& content,
                             const TWriteFaults* faults = nullptr);
// Renames the finished scratch over path and flushes the folder.
Result CommitSavedGame(const std::string& scratch, const std::string& path,
                       const TWriteFaults* faults = nullptr);

// Rewrites only the state block of the saved game at path when it is a
// complete save of the game with seed and the new state has the old one's
// length: in place, through a journal beside the file (game/SaveJournal.h),
// so that no moment leaves a torn state behind. The value is false when the
// file is missing, holds another game or a state of another length (a full
// save is due then); an error when it is the same game but could not be
// rewritten, which leaves the file as it was.
ResultOf<bool> UpdateSavedGameState(const std::string& path, int32_t seed,
                                    const TSaveState& state,
                                    const TWriteFaults* faults = nullptr);

// What ReadSavedGame reads.
enum class SaveReadMode : uint8_t {
    Browse,  // name, header and thumbnail (for the browser's saved-games list)
    Resume,  // everything
    Thumb,   // the thumbnail alone
};

struct TSavedGameData {
    int32_t GameSeed = 0;
    int32_t StateOffset = 0;
    std::string Name;  // the stored jigsaw name
    // The header as stored, with EntryOffsets[1] the offset behind the
    // thumbnail entry; for the browser SideNum 1 and SideCur 0.
    GameHeader Header;
    TMyBitmap Thumb;
    StoredKind ThumbKind = StoredKind::None;
    // Resume only.
    TMyBitmap Picture;  // 24-bit, ImageW x ImageH
    TMyBitmap Mask;     // 24-bit, (ImageW + 5) x (ImageH + 5); a smaller stored mask is padded
    std::string Description;
    TSaveState State;
};

// Reads a saved game as mode asks; Resume first completes an update that
// was cut short (its journal). Every failure is kInvalidSavedGame with a
// detail: a wrong magic, a name, header, count or offset that does not fit
// the file, an entry longer than the file, a picture that does not decode or
// has another size, pieces that lie outside the picture.
ResultOf<TSavedGameData> ReadSavedGame(const std::string& path, SaveReadMode mode);
ResultOf<TSavedGameData> ReadSavedGameBytes(const uint8_t* data, size_t size, SaveReadMode mode);

}  // namespace orvel
