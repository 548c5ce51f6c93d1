// Jigsaw files: what is written reads back in every mode, entries are
// scrambled as laid out, and broken files are refused cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

#include "JigsawTestUtil.h"
#include "game/EntryFile.h"
#include "game/JigsawFile.h"

namespace orvel {
namespace {

using namespace orvel::test;

uint8_t TurnedRight(uint8_t key, int times) {
    times %= 8;
    return static_cast<uint8_t>((key >> times) | (key << (8 - times)));
}

TJigsawContent TwoSides(const TMyBitmap& thumb, bool bitmapThumb) {
    TJigsawContent c;
    c.ImageW = 40;
    c.ImageH = 30;
    c.Label = "lakeside";
    c.Thumb = bitmapThumb ? BitmapOf(thumb) : JpegOf(thumb);
    c.Descriptions = {"First side", "Zweite Seite: \xC3\xA4\r\nzweite Zeile"};
    c.Pictures = {JpegOf(PatternPicture(40, 30)), BitmapOf(PatternPicture(40, 30))};
    return c;
}

TEST(JigsawRoundTrip, EveryEntryKindReadsBackInItsMode) {
    const std::string path = TestFolder() + "/lake.orv";
    const TMyBitmap thumb = PatternPicture(20, 15);
    for (const bool bitmapThumb : {false, true}) {
        const TJigsawContent c = TwoSides(thumb, bitmapThumb);
        ASSERT_TRUE(WriteJigsaw(path, c).Ok());

        ResultOf<TJigsawData> browse = ReadJigsaw(path, JigsawReadMode::Browse);
        ASSERT_TRUE(browse.Ok()) << browse.Error().Detail;
        const TJigsawData& b = browse.Value();
        EXPECT_EQ(b.Label, "lakeside");
        EXPECT_EQ(b.NameCode, 'e');
        EXPECT_EQ(b.Header.SideNum, 1);
        EXPECT_EQ(b.Header.SideCur, 0);
        EXPECT_EQ(b.Header.EntryOffsets[1],
                  static_cast<int32_t>(kJigsawHeaderSize + 4 + c.Thumb.size()));
        EXPECT_EQ(b.Header.ImageW, 40);
        EXPECT_EQ(b.Header.FitH, 30);
        EXPECT_EQ(b.ThumbKind, bitmapThumb ? StoredKind::Bitmap : StoredKind::Jpeg);
        EXPECT_TRUE(SamePixels(b.Thumb, Decoded(c.Thumb)));
        EXPECT_EQ(b.Picture.Width, 0);

        ResultOf<TJigsawData> thumbOnly = ReadJigsaw(path, JigsawReadMode::Thumb);
        ASSERT_TRUE(thumbOnly.Ok());
        EXPECT_TRUE(SamePixels(thumbOnly.Value().Thumb, b.Thumb));
        EXPECT_EQ(thumbOnly.Value().Header.SideNum, 0);  // the browser's header copy is mode 0's

        for (int side = 0; side < 2; ++side) {
            ResultOf<TJigsawData> game = ReadJigsaw(path, JigsawReadMode::NewGame, 2, side);
            ASSERT_TRUE(game.Ok()) << game.Error().Detail;
            EXPECT_EQ(game.Value().Description, c.Descriptions[side]);
            EXPECT_EQ(game.Value().PictureKind, side == 0 ? StoredKind::Jpeg : StoredKind::Bitmap);
            EXPECT_TRUE(SamePixels(game.Value().Picture, Decoded(c.Pictures[side])));
            EXPECT_EQ(game.Value().Thumb.Width, 0);
        }
    }
    // The bitmap side is kept exactly.
    EXPECT_TRUE(
        SamePixels(ReadJigsaw(path, JigsawReadMode::NewGame, 2, 1).Value().Picture, PatternPicture(40, 30)));
}

TEST(JigsawScrambling, TheKeyRunsOnFromPieceToPiece) {
    std::vector<uint8_t> plain(3 * kEntryChunk + 17);
    std::mt19937 rng(5);
    for (uint8_t& b : plain) b = static_cast<uint8_t>(rng());
    std::vector<uint8_t> whole = plain;
    ScrambleBytes(whole.data(), whole.size(), 0x5B, true);
    for (size_t i = 0; i < plain.size(); ++i)
        ASSERT_EQ(whole[i], plain[i] ^ TurnedRight(0x5B, static_cast<int>(i))) << i;

    std::vector<uint8_t> pieces = plain;
    uint8_t key = 0x5B;
    size_t done = 0;
    for (const size_t size : {size_t{1}, size_t{6}, kEntryChunk - 3, kEntryChunk, size_t{1}}) {
        key = ScrambleBytes(pieces.data() + done, size, key, true);
        done += size;
    }
    ScrambleBytes(pieces.data() + done, pieces.size() - done, key, true);
    EXPECT_EQ(pieces, whole);
}

// The file's bytes themselves: the thumbnail XORed with ThumbKey throughout,
// the description and a picture of several chunks with their keys turning
// right by one bit per byte across the chunk boundaries.
TEST(JigsawScrambling, EntriesAreStoredAsLaidOut) {
    const std::string path = TestFolder() + "/big.orv";
    const TMyBitmap big = PatternPicture(300, 200);
    TJigsawContent c;
    c.ImageW = 300;
    c.ImageH = 200;
    c.Label = "big";
    c.Thumb = JpegOf(PatternPicture(30, 20));
    c.Descriptions = {"Big picture"};
    c.Pictures = {BitmapOf(big)};
    ASSERT_GT(c.Pictures[0].size(), 3 * kEntryChunk);
    ASSERT_TRUE(WriteJigsaw(path, c).Ok());

    const std::vector<uint8_t> file = ReadBytes(path);
    size_t at = kJigsawHeaderSize;
    auto expectEntry = [&](const std::vector<uint8_t>& plain, uint8_t key, bool rotates) {
        ASSERT_LE(at + 4 + plain.size(), file.size());
        EXPECT_EQ(file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (file[at + 3] << 24),
                  static_cast<int>(plain.size()));
        at += 4;
        for (size_t i = 0; i < plain.size(); ++i, ++at)
            ASSERT_EQ(file[at], plain[i] ^ (rotates ? TurnedRight(key, static_cast<int>(i)) : key))
                << i;
    };
    expectEntry(c.Thumb, ThumbKey, false);
    expectEntry(std::vector<uint8_t>(c.Descriptions[0].begin(), c.Descriptions[0].end()),
                TextKeyBase, true);
    expectEntry(c.Pictures[0], PicKeyBase, true);
    EXPECT_EQ(at, file.size());
    EXPECT_EQ(TextEntryKey(3).Start, static_cast<uint8_t>(TextKeyBase + 3));
    EXPECT_EQ(PictureEntryKey(255).Start, static_cast<uint8_t>(PicKeyBase + 255));

    ResultOf<TJigsawData> game = ReadJigsaw(path, JigsawReadMode::NewGame);
    ASSERT_TRUE(game.Ok());
    EXPECT_TRUE(SamePixels(game.Value().Picture, big));
}

void ExpectInvalid(const TError& e, const std::string& what) {
    EXPECT_EQ(e.Key, kInvalidJigsaw) << what;
    EXPECT_EQ(e.Section, MsgSection::Fixed) << what;
    EXPECT_FALSE(e.Detail.empty()) << what;
}

// A file's name says which read modes refuse it: all_ every mode, browse_
// the modes that read the thumbnail (Browse, Thumb), game_ the NewGame mode.
TEST(JigsawBadFiles, CorpusIsRefusedByExactlyTheModesThatReadTheBrokenPart) {
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(ORVEL_TEST_DATA_DIR "/bad/jigsaws")) {
        const std::string name = entry.path().filename().string();
        std::set<JigsawReadMode> refusing;
        if (name.rfind("all_", 0) == 0)
            refusing = {JigsawReadMode::Browse, JigsawReadMode::NewGame, JigsawReadMode::Thumb};
        else if (name.rfind("browse_", 0) == 0)
            refusing = {JigsawReadMode::Browse, JigsawReadMode::Thumb};
        else if (name.rfind("game_", 0) == 0)
            refusing = {JigsawReadMode::NewGame};
        ASSERT_FALSE(refusing.empty()) << name << " does not say which modes refuse it";
        for (JigsawReadMode mode :
             {JigsawReadMode::Browse, JigsawReadMode::NewGame, JigsawReadMode::Thumb}) {
            ResultOf<TJigsawData> r = ReadJigsaw(entry.path().string(), mode);
            EXPECT_EQ(r.Ok(), refusing.count(mode) == 0)
                << name << " mode " << static_cast<int>(mode);
            if (!r.Ok()) ExpectInvalid(r.Error(), name);
        }
        ++files;
    }
    EXPECT_GE(files, 30);
}

TEST(JigsawBadFiles, EveryTruncationIsRefused) {
    const std::string path = TestFolder() + "/cut.orv";
    TJigsawContent c = TwoSides(PatternPicture(8, 6), false);
    c.Descriptions.resize(1);
    c.Pictures.resize(1);
    ASSERT_TRUE(WriteJigsaw(path, c).Ok());
    const std::vector<uint8_t> file = ReadBytes(path);
    const size_t thumbEnd = kJigsawHeaderSize + 4 + c.Thumb.size();
    for (size_t n = 0; n < file.size(); ++n) {
        ResultOf<TJigsawData> game = ReadJigsawBytes(file.data(), n, JigsawReadMode::NewGame);
        ASSERT_FALSE(game.Ok()) << n;
        ExpectInvalid(game.Error(), std::to_string(n));
        for (const JigsawReadMode mode : {JigsawReadMode::Browse, JigsawReadMode::Thumb})
            ASSERT_EQ(ReadJigsawBytes(file.data(), n, mode).Ok(), n >= thumbEnd) << n;
    }
    EXPECT_TRUE(ReadJigsawBytes(file.data(), file.size(), JigsawReadMode::NewGame).Ok());
}

TEST(JigsawBadFiles, NoFileAnotherExtensionOrAFolderIsRefused) {
    const std::string dir = TestFolder();
    const std::string good = ORVEL_TEST_DATA_DIR "/jigsaws/photo.orv";
    std::filesystem::copy_file(good, dir + "/photo.bin");
    ExpectInvalid(ReadJigsaw(dir + "/missing.orv", JigsawReadMode::Browse).Error(), "missing");
    ExpectInvalid(ReadJigsaw(dir, JigsawReadMode::Browse).Error(), "folder");
    ExpectInvalid(ReadJigsaw(dir + "/photo.bin", JigsawReadMode::NewGame).Error(), "extension");
    EXPECT_TRUE(
        ReadJigsaw(dir + "/photo.bin", JigsawReadMode::Browse).Ok());    // the browser lists by extension itself
    EXPECT_FALSE(ReadJigsaw(good, JigsawReadMode::NewGame, 1, 1).Ok());  // no such side
}

TEST(JigsawBadFiles, TheWriterRefusesWhatTheReaderWould) {
    const std::string dir = TestFolder();
    const TJigsawContent good = TwoSides(PatternPicture(8, 6), false);
    std::vector<TJigsawContent> bad(5, good);
    bad[0].Thumb = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    bad[1].Pictures[0].erase(bad[1].Pictures[0].begin() + 2,
                             bad[1].Pictures[0].begin() + 20);  // no JFIF segment
    bad[2].ImageW = 41;
    bad[3].Label = "ten letter";
    bad[4].Descriptions.pop_back();
    for (size_t i = 0; i < bad.size(); ++i) {
        Result r = WriteJigsaw(dir + "/bad.orv", bad[i]);
        ASSERT_FALSE(r.Ok()) << i;
        ExpectInvalid(r.Error(), std::to_string(i));
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    Result unwritable = WriteJigsaw(dir + "/no/such/folder/x.orv", good);
    ASSERT_FALSE(unwritable.Ok());
    EXPECT_EQ(unwritable.Error().Key, kCannotWriteJigsaw);
}

// Files from a second writer (tests/data/make_jigsaw_data.py).
TEST(JigsawHeader, FilesOfAnotherWriterRead) {
    ResultOf<TJigsawData> photo = ReadJigsaw(ORVEL_TEST_DATA_DIR "/jigsaws/photo.orv", JigsawReadMode::NewGame);
    ASSERT_TRUE(photo.Ok()) << photo.Error().Detail;
    EXPECT_EQ(photo.Value().Description, "A photo");
    EXPECT_TRUE(SamePixels(photo.Value().Picture,
                           Decoded(ReadBytes(ORVEL_TEST_DATA_DIR "/images/photo.jpg"))));

    const std::string bitmap = ORVEL_TEST_DATA_DIR "/jigsaws/bitmap.orv";
    ResultOf<TJigsawData> browse = ReadJigsaw(bitmap, JigsawReadMode::Browse);
    ASSERT_TRUE(browse.Ok()) << browse.Error().Detail;
    EXPECT_EQ(browse.Value().Label, "");
    EXPECT_EQ(browse.Value().NameCode, 0);
    EXPECT_EQ(browse.Value().ThumbKind, StoredKind::Bitmap);
    ResultOf<TJigsawData> game = ReadJigsaw(bitmap, JigsawReadMode::NewGame);
    ASSERT_TRUE(game.Ok()) << game.Error().Detail;
    EXPECT_EQ(game.Value().Description, "Bitmap\r\nsecond line");
    EXPECT_TRUE(SamePixels(game.Value().Picture, browse.Value().Thumb));
}

TEST(JigsawHeader, FittingKeepsTheShapeAndSmallPicturesStay) {
    auto fit = [](int w, int h, int aw, int ah) {
        GameHeader header;
        header.ImageW = w;
        header.ImageH = h;
        FitPictureSize(header, aw, ah);
        return std::pair(header.FitW, header.FitH);
    };
    EXPECT_EQ(fit(3000, 1000, 1000, 800), std::pair(1000, 333));
    EXPECT_EQ(fit(1000, 3000, 1000, 800), std::pair(266, 800));
    EXPECT_EQ(fit(2560, 1600, 1904, 1000), std::pair(1600, 1000));
    EXPECT_EQ(fit(1000, 800, 1000, 800), std::pair(1000, 800));
}

TEST(JigsawHeader, LabelsAreCutAtACharacterBoundary) {
    EXPECT_EQ(MakeJigsawLabel("yellowflower"), "yellowflo");
    EXPECT_EQ(MakeJigsawLabel("abcdefgh\xC3\xA4"), "abcdefgh");
    EXPECT_EQ(MakeJigsawLabel("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6"),
              "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4");
    EXPECT_EQ(MakeJigsawLabel("sea"), "sea");
}

}  // namespace
}  // namespace orvel
