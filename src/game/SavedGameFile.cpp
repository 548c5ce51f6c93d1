#include "game/SavedGameFile.h"

#include <algorithm>
#include <cstring>

#include "game/EntryFile.h"
#include "game/SaveJournal.h"
#include "graphics/ImageCodecs.h"

namespace orvel {

namespace {

constexpr int kMaskMargin = 5;
constexpr size_t kMaxTextEntry = size_t{1} << 20;
constexpr size_t kMaxPictureEntry = static_cast<size_t>(kMaxImageFileSize);
// Two pictures at most and small parts besides.
constexpr int64_t kMaxSaveFileSize = 3 * kMaxImageFileSize;

TEntryKey FixedKey(uint8_t start) {
    return {start, false};
}

void PutInt32(std::vector<uint8_t>& out, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    out.insert(out.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                           static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)});
}

void PutBytes(std::vector<uint8_t>& out, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    out.insert(out.end(), p, p + size);
}

void WriteEntry(TSafeFile& out, const uint8_t* data, size_t size, uint8_t key) {
    out.WriteInt32(static_cast<int32_t>(size));
    std::vector<uint8_t> chunk;
    uint8_t k = key;
    for (size_t done = 0; done < size; done += kEntryChunk) {
        chunk.assign(data + done, data + done + std::min(kEntryChunk, size - done));
        k = ScrambleBytes(chunk.data(), chunk.size(), k, false);
        out.Write(chunk.data(), chunk.size());
    }
}

// ------------------------------------------------------------------ reading

std::string HeaderProblem(const GameHeader& h) {
    const int64_t w = h.ImageW, ht = h.ImageH;
    if (w <= 0 || ht <= 0 || w + kMaskMargin > kMaxBitmapSide || ht + kMaskMargin > kMaxBitmapSide ||
        (w + kMaskMargin) * (ht + kMaskMargin) > kMaxDecodePixels)
        return "the header's picture size " + std::to_string(w) + " x " + std::to_string(ht) +
               " is out of range";
    if (h.TotalTileNum < 1 || h.TotalTileNum > kMaxSavedPieces)
        return "the header's piece count " + std::to_string(h.TotalTileNum) + " is out of range";
    if (h.Rotate > 1) return "the header's rotation flag is " + std::to_string(h.Rotate);
    return {};
}

Result ReadFixedPart(TEntryReader& in, TSavedGameData& data) {
    char magic[kSavedGameMagicSize];
    if (Result r = in.Read(magic, sizeof magic, "the magic"); !r) return r;
    if (std::memcmp(magic, kSavedGameMagic, sizeof magic) != 0)
        return in.Fail("not a saved game (wrong magic)");
    int32_t n = 0;
    if (Result r = in.ReadInt32(data.GameSeed, "the seed"); !r) return r;
    if (Result r = in.ReadInt32(data.StateOffset, "the state offset"); !r) return r;
    if (Result r = in.ReadInt32(n, "the name length"); !r) return r;
    if (n < 1 || n > kMaxSavedNameLength + 1)
        return in.Fail("the name length " + std::to_string(n) + " is out of range");
    std::string name(static_cast<size_t>(n), '\0');
    if (Result r = in.Read(name.data(), name.size(), "the name"); !r) return r;
    if (name.back() != '\0') return in.Fail("the name has no terminating zero");
    name.pop_back();
    data.Name = name.substr(0, name.find('\0'));
    if (Result r = in.Read(&data.Header, sizeof data.Header, "the game header"); !r) return r;
    if (const std::string why = HeaderProblem(data.Header); !why.empty()) return in.Fail(why);
    if (data.StateOffset < in.Position() || data.StateOffset > in.Size())
        return in.Fail("the state offset " + std::to_string(data.StateOffset) +
                       " does not fit the file");
    return Result::Success();
}

// A stored picture decoded after its declared size was checked, so that no
// entry makes the decoder allocate for a picture it does not hold.
Result DecodeChecked(TEntryReader& in, const std::vector<uint8_t>& bytes, const std::string& what,
                     int maxW, int maxH, TMyBitmap& out) {
    const StoredKind kind = StoredKindOf(bytes.data(), bytes.size());
    int w = 0, h = 0;
    if (kind != StoredKind::Jpeg && kind != StoredKind::Bitmap)
        return in.Fail(what + " is neither a JPEG nor a bitmap");
    if (!PeekPictureSize(bytes.data(), bytes.size(), w, h) || w <= 0 || h <= 0)
        return in.Fail(what + ": its size cannot be read");
    if (w > maxW || h > maxH)
        return in.Fail(what + " is " + std::to_string(w) + " x " + std::to_string(h) +
                       " pixels, more than " + std::to_string(maxW) + " x " + std::to_string(maxH));
    const Result decoded = kind == StoredKind::Jpeg ? LoadJpegStream(out, bytes.data(), bytes.size())
                                                    : LoadBmpStream(out, bytes.data(), bytes.size());
    if (!decoded) return in.Fail(what + ": " + PlainText(decoded.Error()));
    if (out.BytesPerPixel != 3) {
        TMyBitmap rgb;
        if (!CopyFromBitmap(rgb, out)) return in.Fail(what + ": not enough memory");
        out = std::move(rgb);
    }
    return Result::Success();
}

Result ReadThumb(TEntryReader& in, TSavedGameData& data) {
    std::vector<uint8_t> bytes;
    if (Result r = in.ReadEntry(bytes, FixedKey(ThumbKey), kMaxThumbEntry, "the thumbnail"); !r)
        return r;
    data.Header.EntryOffsets[1] = static_cast<int32_t>(in.Position());
    data.ThumbKind = StoredKindOf(bytes.data(), bytes.size());
    return DecodeChecked(in, bytes, "the thumbnail", kMaxThumbSide, kMaxThumbSide, data.Thumb);
}

// A mask of the picture's own size (as older programs stored it) gets the
// shadow margin added at its right and bottom.
Result PadMask(TEntryReader& in, TSavedGameData& data) {
    const GameHeader& h = data.Header;
    TMyBitmap& mask = data.Mask;
    if (mask.Width == h.ImageW + kMaskMargin && mask.Height == h.ImageH + kMaskMargin)
        return Result::Success();
    if (mask.Width < h.ImageW || mask.Height < h.ImageH)
        return in.Fail("the mask is smaller than the picture");
    TMyBitmap padded;
    if (!Create24(padded, h.ImageW + kMaskMargin, h.ImageH + kMaskMargin))
        return in.Fail("not enough memory for the mask");
    FillBox(padded, 0, 0, padded.Width, padded.Height, 0);
    CopyRect(padded, 0, 0, h.ImageW, h.ImageH, mask, 0, 0);
    mask = std::move(padded);
    return Result::Success();
}

Result ReadPictures(TEntryReader& in, TSavedGameData& data) {
    const GameHeader& h = data.Header;
    std::vector<uint8_t> bytes;
    if (Result r = in.ReadEntry(bytes, FixedKey(SavePicKey), kMaxPictureEntry, "the picture"); !r)
        return r;
    if (Result r = DecodeChecked(in, bytes, "the picture", h.ImageW, h.ImageH, data.Picture); !r)
        return r;
    if (data.Picture.Width != h.ImageW || data.Picture.Height != h.ImageH)
        return in.Fail("the picture is smaller than the header says");
    if (Result r = in.ReadEntry(bytes, FixedKey(SaveMaskKey), kMaxPictureEntry, "the mask"); !r)
        return r;
    if (Result r = DecodeChecked(in, bytes, "the mask", h.ImageW + kMaskMargin,
                                 h.ImageH + kMaskMargin, data.Mask);
        !r)
        return r;
    if (Result r = PadMask(in, data); !r) return r;
    if (Result r = in.ReadEntry(bytes, FixedKey(SaveInfoKey), kMaxTextEntry, "the description"); !r)
        return r;
    data.Description.assign(bytes.begin(), bytes.end());
    return Result::Success();
}

// Pieces are drawn from their boxes in the picture and mask: a box outside
// them, a window or turn out of range, a neighbour that is no piece, would
// send the drawing code outside its buffers.
std::string PieceProblem(const GameHeader& h, const TPiece& p, int index) {
    const int n = h.TotalTileNum;
    const std::string which = "piece " + std::to_string(index);
    if (p.window > MW_POCKET3) return which + " lies in window " + std::to_string(p.window);
    if (p.rotation > 3 || (!h.Rotate && p.rotation != 0))
        return which + " is turned " + std::to_string(p.rotation) + " times";
    if (p.boxX < 0 || p.boxY < 0 || p.boxW <= 0 || p.boxH <= 0 ||
        int64_t{p.boxX} + p.boxW > h.ImageW + kMaskMargin ||
        int64_t{p.boxY} + p.boxH > h.ImageH + kMaskMargin)
        return which + "'s box lies outside the picture";
    for (int16_t nb : p.neighbours)
        if (nb < -1 || nb >= n) return which + " has neighbour " + std::to_string(nb);
    return {};
}

Result ReadState(TEntryReader& in, TSavedGameData& data) {
    const GameHeader& h = data.Header;
    TSaveState& s = data.State;
    if (Result r = in.Seek(data.StateOffset, "the state block"); !r) return r;
    for (int32_t& word : s.BkgBlock)
        if (Result r = in.ReadInt32(word, "the background block"); !r) return r;
    if (Result r = in.Read(s.PlayOptions.data(), s.PlayOptions.size(), "the play options"); !r)
        return r;
    const int64_t pieceBytes = int64_t{h.TotalTileNum} * static_cast<int64_t>(sizeof(TPiece));
    if (pieceBytes > in.Remaining())
        return in.Fail(std::to_string(h.TotalTileNum) + " pieces run past the end of the file");
    s.Pieces.resize(static_cast<size_t>(h.TotalTileNum));
    if (Result r = in.Read(s.Pieces.data(), static_cast<size_t>(pieceBytes), "the pieces"); !r)
        return r;
    for (int i = 0; i < h.TotalTileNum; ++i)
        if (const std::string why = PieceProblem(h, s.Pieces[i], i); !why.empty())
            return in.Fail(why);
    if (Result r = in.Read(s.Pockets.data(), sizeof s.Pockets, "the pockets"); !r) return r;
    s.WeightPiece = -1;
    s.HasTrailer = false;
    int32_t mark = 0, weight = -1;
    if (in.Remaining() < kSavedTrailerSize) return Result::Success();
    if (Result r = in.ReadInt32(mark, "the trailer"); !r) return r;
    if (Result r = in.ReadInt32(weight, "the trailer"); !r) return r;
    if (mark != kSavedTrailerMark) return Result::Success();
    if (weight < -1 || weight >= h.TotalTileNum)
        return in.Fail("the weight lies on piece " + std::to_string(weight));
    s.HasTrailer = true;
    s.WeightPiece = weight;
    return Result::Success();
}

ResultOf<TSavedGameData> ReadFrom(TEntryReader& in, SaveReadMode mode) {
    TSavedGameData data;
    if (Result r = ReadFixedPart(in, data); !r) return r;
    if (Result r = ReadThumb(in, data); !r) return r;
    if (mode == SaveReadMode::Browse) {
        data.Header.SideNum = 1;
        data.Header.SideCur = 0;
    }
    if (mode != SaveReadMode::Resume) return data;
    if (Result r = ReadPictures(in, data); !r) return r;
    if (Result r = ReadState(in, data); !r) return r;
    return data;
}

// Walks a saved game up to its state block without decoding anything; true
// when every part is where the fixed fields say.
bool IsCompleteSave(const std::string& path, int32_t seed, int32_t& stateOffset,
                    int64_t& stateSize) {
    TEntryReader in(kInvalidSavedGame, MsgSection::Fixed);
    TSavedGameData data;
    if (!in.OpenFile(path) || !ReadFixedPart(in, data) || data.GameSeed != seed) return false;
    for (size_t limit : {kMaxThumbEntry, kMaxPictureEntry, kMaxPictureEntry, kMaxTextEntry})
        if (!in.SkipEntry(limit, "an entry")) return false;
    const int64_t pieces = int64_t{data.Header.TotalTileNum} * static_cast<int64_t>(sizeof(TPiece));
    const int64_t leastState = 4 * kBkgBlockWords + kPlayOptionBytes + pieces + 4 * kSavedPocketSize;
    stateOffset = data.StateOffset;
    stateSize = in.Size() - stateOffset;
    return in.Position() == stateOffset && stateSize >= leastState;
}

// A save whose journal could not be written into it (a read-only folder or
// disk) is read with the journal's state laid over it.
ResultOf<TSavedGameData> ReadWithJournal(const std::string& path, const TJournalReplay& replay) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, kMaxSaveFileSize))
        return Result::Fail(kInvalidSavedGame, {}, path + ": the file cannot be read",
                            MsgSection::Fixed);
    if (replay.Offset + static_cast<int64_t>(replay.Bytes.size()) <= static_cast<int64_t>(bytes.size()))
        std::copy(replay.Bytes.begin(), replay.Bytes.end(), bytes.begin() + replay.Offset);
    TEntryReader in(kInvalidSavedGame, MsgSection::Fixed);
    in.OpenBytes(bytes.data(), bytes.size());
    return ReadFrom(in, SaveReadMode::Resume);
}

}  // namespace

std::vector<uint8_t> EncodeSaveState(const TSaveState& s) {
    std::vector<uint8_t> out;
    out.reserve(4 * kBkgBlockWords + kPlayOptionBytes + s.Pieces.size() * sizeof(TPiece) +
                sizeof s.Pockets + kSavedTrailerSize);
    for (int32_t word : s.BkgBlock) PutInt32(out, word);
    PutBytes(out, s.PlayOptions.data(), s.PlayOptions.size());
    PutBytes(out, s.Pieces.data(), s.Pieces.size() * sizeof(TPiece));
    PutBytes(out, s.Pockets.data(), sizeof s.Pockets);
    if (s.HasTrailer) {
        PutInt32(out, kSavedTrailerMark);
        PutInt32(out, s.WeightPiece);
        out.resize(out.size() + kSavedTrailerSize - 8, 0);
    }
    return out;
}

Result WriteSavedGameScratch(const std::string& path, const std::string& scratch,
                             const TSavedGameContent& c, const TWriteFaults* faults) {
    if (c.Name.size() > static_cast<size_t>(kMaxSavedNameLength) ||
        static_cast<size_t>(c.Header.TotalTileNum) != c.State.Pieces.size())
        return Result::Fail(kCannotSaveGame, {path}, "the game is not complete");
    TSafeFile out(path, scratch, kCannotSaveGame, faults);
    if (Result r = out.Open(); !r) return r;
    out.Write(kSavedGameMagic, kSavedGameMagicSize);
    out.WriteInt32(c.Header.GameSeed);
    out.WriteInt32(0);  // the state offset, known once the entries are written
    out.WriteInt32(static_cast<int32_t>(c.Name.size() + 1));
    out.Write(c.Name.c_str(), c.Name.size() + 1);
    // EntryOffsets[1] says where this file's picture entry starts.
    GameHeader header = c.Header;
    header.EntryOffsets[1] = static_cast<int32_t>(out.Position() + sizeof header + 4 + c.Thumb.size());
    out.Write(&header, sizeof header);
    WriteEntry(out, c.Thumb.data(), c.Thumb.size(), ThumbKey);
    WriteEntry(out, c.Picture.data(), c.Picture.size(), SavePicKey);
    WriteEntry(out, c.Mask.data(), c.Mask.size(), SaveMaskKey);
    WriteEntry(out, reinterpret_cast<const uint8_t*>(c.Description.data()), c.Description.size(),
               SaveInfoKey);
    out.PatchInt32(15, static_cast<int32_t>(out.Position()));
    const std::vector<uint8_t> state = EncodeSaveState(c.State);
    out.Write(state.data(), state.size());
    // Kept under the scratch name: the caller decides where it goes.
    return out.Finish();
}

Result CommitSavedGame(const std::string& scratch, const std::string& path,
                       const TWriteFaults* faults) {
    // A journal left by an update that was cut short completes the old file
    // and is gone before the new file takes its place, so that the old file
    // stays whole should the rename fail; one that outlived the rename would
    // name the old file's inode and be dropped anyway.
    (void)RecoverSaveJournal(path);
    return MoveIntoPlace(scratch, path, kCannotSaveGame, faults);
}

ResultOf<bool> UpdateSavedGameState(const std::string& path, int32_t seed,
                                    const TSaveState& state, const TWriteFaults* faults) {
    (void)RecoverSaveJournal(path);
    int32_t stateOffset = 0;
    int64_t stateSize = 0;
    if (!IsCompleteSave(path, seed, stateOffset, stateSize)) return false;
    const std::vector<uint8_t> bytes = EncodeSaveState(state);
    // A state of another length (a file from before the weight) cannot be
    // written in place.
    if (static_cast<int64_t>(bytes.size()) != stateSize) return false;
    if (Result r = WriteStateInPlace(path, seed, stateOffset, bytes, faults); !r) return r;
    return true;
}

ResultOf<TSavedGameData> ReadSavedGame(const std::string& path, SaveReadMode mode) {
    if (mode == SaveReadMode::Resume) {
        TJournalReplay replay = RecoverSaveJournal(path);
        if (replay.Pending) return ReadWithJournal(path, replay);
    }
    TEntryReader in(kInvalidSavedGame, MsgSection::Fixed);
    if (Result r = in.OpenFile(path); !r) return r;
    return ReadFrom(in, mode);
}

ResultOf<TSavedGameData> ReadSavedGameBytes(const uint8_t* data, size_t size, SaveReadMode mode) {
    TEntryReader in(kInvalidSavedGame, MsgSection::Fixed);
    in.OpenBytes(data, size);
    return ReadFrom(in, mode);
}

}  // namespace orvel
