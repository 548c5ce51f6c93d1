// The saved-game file: its layout, round trips, state updates that touch
// only the state, refusal of broken files, and saves that fail or are
// killed at any moment leaving the old or the new complete file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "game/EntryFile.h"
#include "game/JigsawTestUtil.h"
#include "game/SaveJournal.h"
#include "game/SavedGameFile.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

constexpr int kW = 40, kH = 30, kPieces = 6;

int32_t Le32At(const std::vector<uint8_t>& b, size_t at) {
    int32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

void PutLe32At(std::vector<uint8_t>& b, size_t at, int32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}

TSaveState SmallState(int32_t marker) {
    TSaveState s;
    s.BkgBlock = {7, 8, 0x112233, 1, 2, 3, 4, 5, 12};
    s.PlayOptions = {0, 1, 1, 0, 2, 4, 0, 1};
    for (int i = 0; i < kPieces; ++i) {
        TPiece p;
        p.posX = marker + i;
        p.posY = 10 * i;
        p.group = i % 3;
        p.window = static_cast<uint8_t>(i % 6);
        p.rotation = static_cast<uint8_t>(i % 4);
        p.boxX = 2 * i;
        p.boxY = i;
        p.boxW = p.boxH = 10;
        p.neighbours[0] = static_cast<int16_t>((i + 1) % kPieces);
        p.MaskCode = static_cast<uint8_t>(i + 1);
        s.Pieces.push_back(p);
    }
    s.Pockets[1] = {0, 1, 100, 120, 400, 380, 5, 6};
    s.WeightPiece = 2;
    return s;
}

TSavedGameContent SmallGame(int32_t seed, int32_t marker = 0) {
    TSavedGameContent c;
    c.Name = "pattern";
    c.Header.GameSeed = seed;
    c.Header.ImageW = kW;
    c.Header.ImageH = kH;
    c.Header.TileS = 20;
    c.Header.TotalTileNum = kPieces;
    c.Header.Rotate = 1;
    c.Thumb = test::JpegOf(test::PatternPicture(20, 15));
    c.Picture = test::BitmapOf(test::PatternPicture(kW, kH));
    c.Mask = test::BitmapOf(test::PatternPicture(kW + 5, kH + 5));
    c.Description = "A pattern\r\nsecond line";
    c.State = SmallState(marker);
    return c;
}

class SavedGameFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::TestFolder() + "/";
        path = dir + "game.sv1";
        scratch = dir + "orvel.svt";
    }
    Result Save(const TSavedGameContent& c, const TWriteFaults* faults = nullptr) {
        if (Result r = WriteSavedGameScratch(path, scratch, c, faults); !r) return r;
        return CommitSavedGame(scratch, path, faults);
    }
    ResultOf<TSavedGameData> Resume(const std::vector<uint8_t>& bytes) {
        return ReadSavedGameBytes(bytes.data(), bytes.size(), SaveReadMode::Resume);
    }
    std::string dir, path, scratch;
};

size_t StateSize(const TSaveState& s) {
    return 36 + 8 + s.Pieces.size() * sizeof(TPiece) + 4 * 26 + (s.HasTrailer ? 264 : 0);
}

TEST_F(SavedGameFileTest, TheLayoutOfASmallGame) {
    const TSavedGameContent c = SmallGame(1234);
    ASSERT_TRUE(Save(c).Ok());
    EXPECT_FALSE(fs::exists(scratch));
    const std::vector<uint8_t> b = ReadBytes(path);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 11), "ORVELSLV1.0");
    EXPECT_EQ(Le32At(b, 11), 1234);
    EXPECT_EQ(Le32At(b, 19), 8);  // "pattern" and its zero
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 23)), "pattern");
    EXPECT_EQ(std::memcmp(b.data() + 31, &c.Header, 108), 0);
    // The entries follow, each its length and its bytes under a fixed key;
    // the header notes where the picture's entry starts.
    size_t at = 31 + 120;
    EXPECT_EQ(Le32At(b, 31 + 112), static_cast<int32_t>(at + 4 + c.Thumb.size()));
    const std::vector<uint8_t>* parts[] = {&c.Thumb, &c.Picture, &c.Mask};
    const uint8_t keys[] = {ThumbKey, SavePicKey, SaveMaskKey, SaveInfoKey};
    for (int e = 0; e < 4; ++e) {
        const size_t n = e < 3 ? parts[e]->size() : c.Description.size();
        ASSERT_EQ(Le32At(b, at), static_cast<int32_t>(n)) << e;
        const uint8_t first = e < 3 ? (*parts[e])[0] : static_cast<uint8_t>(c.Description[0]);
        const uint8_t last = e < 3 ? parts[e]->back() : static_cast<uint8_t>(c.Description.back());
        EXPECT_EQ(b[at + 4] ^ keys[e], first) << e;
        EXPECT_EQ(b[at + 4 + n - 1] ^ keys[e], last) << "the key does not turn, entry " << e;
        at += 4 + n;
    }
    EXPECT_EQ(Le32At(b, 15), static_cast<int32_t>(at));
    ASSERT_EQ(b.size(), at + StateSize(c.State));
    EXPECT_EQ(Le32At(b, at + 8), 0x112233);  // lBkg
    EXPECT_EQ(b[at + 36 + 5], 4);            // MoveOW shift
    const size_t pieces = at + 44;
    EXPECT_EQ(std::memcmp(b.data() + pieces, c.State.Pieces.data(), kPieces * 112), 0);
    const size_t pocket1 = pieces + kPieces * 112 + 26;
    EXPECT_EQ(b[pocket1 + 1], 1);
    EXPECT_EQ(Le32At(b, pocket1 + 2), 100);
    EXPECT_EQ(Le32At(b, pocket1 + 22), 6);
    const size_t trailer = pieces + kPieces * 112 + 104;
    EXPECT_EQ(Le32At(b, trailer), 56010);
    EXPECT_EQ(Le32At(b, trailer + 4), 2);
    for (size_t k = trailer + 8; k < b.size(); ++k) ASSERT_EQ(b[k], 0) << k;
    EXPECT_NE(SavePicKey, SaveMaskKey);
    EXPECT_NE(SaveMaskKey, SaveInfoKey);
    EXPECT_NE(SavePicKey, SaveInfoKey);
}

TEST_F(SavedGameFileTest, WhatIsReadIsWhatWasSavedAndSavesTheSameBytesAgain) {
    const TSavedGameContent c = SmallGame(77);
    ASSERT_TRUE(Save(c).Ok());
    const std::vector<uint8_t> first = ReadBytes(path);
    ResultOf<TSavedGameData> read = ReadSavedGame(path, SaveReadMode::Resume);
    ASSERT_TRUE(read.Ok()) << PlainText(read.Error());
    const TSavedGameData& d = read.Value();
    EXPECT_EQ(d.Name, "pattern");
    EXPECT_EQ(d.GameSeed, 77);
    EXPECT_EQ(d.Header.EntryOffsets[1], static_cast<int32_t>(151 + 4 + c.Thumb.size()));
    EXPECT_TRUE(test::SamePixels(d.Picture, test::PatternPicture(kW, kH)));
    EXPECT_TRUE(test::SamePixels(d.Mask, test::PatternPicture(kW + 5, kH + 5)));
    EXPECT_EQ(d.Description, c.Description);
    EXPECT_EQ(EncodeSaveState(d.State), EncodeSaveState(c.State));
    EXPECT_EQ(d.State.WeightPiece, 2);

    // Saved again from what was read: the same file, byte for byte.
    TSavedGameContent again = c;
    again.Header = d.Header;
    again.Header.EntryOffsets[1] = 0;
    again.Picture = test::BitmapOf(d.Picture);
    again.Mask = test::BitmapOf(d.Mask);
    again.State = d.State;
    ASSERT_TRUE(Save(again).Ok());
    EXPECT_EQ(ReadBytes(path), first);

    // The browser's reading: header and thumbnail only.
    ResultOf<TSavedGameData> browse = ReadSavedGame(path, SaveReadMode::Browse);
    ASSERT_TRUE(browse.Ok());
    EXPECT_EQ(browse.Value().Thumb.Width, 20);
    EXPECT_EQ(browse.Value().Header.SideNum, 1);
    EXPECT_EQ(browse.Value().Picture.Width, 0);
}

TEST_F(SavedGameFileTest, AStateUpdateRewritesOnlyTheStateOfTheSameGame) {
    ASSERT_TRUE(Save(SmallGame(5)).Ok());
    const std::vector<uint8_t> before = ReadBytes(path);
    const int32_t stateAt = Le32At(before, 15);
    const TSaveState moved = SmallState(900);
    ResultOf<bool> updated = UpdateSavedGameState(path, 5, moved);
    ASSERT_TRUE(updated.Ok());
    EXPECT_TRUE(updated.Value());
    const std::vector<uint8_t> after = ReadBytes(path);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + stateAt, after.begin()));
    EXPECT_EQ(Le32At(after, stateAt + 44), 900);  // piece 0's posX
    EXPECT_FALSE(fs::exists(scratch));

    // Another game's file, a missing file and a broken one ask for a full save.
    for (const auto& [file, seed] : {std::pair{path, 6}, std::pair{dir + "none.sv1", 5}}) {
        ResultOf<bool> other = UpdateSavedGameState(file, seed, moved);
        ASSERT_TRUE(other.Ok());
        EXPECT_FALSE(other.Value()) << file;
    }
    std::vector<uint8_t> cut(after.begin(), after.begin() + stateAt - 10);
    WriteBytes(dir + "cut.sv1", cut);
    EXPECT_FALSE(UpdateSavedGameState(dir + "cut.sv1", 5, moved).Value());
    EXPECT_EQ(ReadBytes(dir + "cut.sv1"), cut);
}

TEST_F(SavedGameFileTest, OlderFilesResume) {
    // A mask stored at the picture's own size gets the shadow margin.
    TSavedGameContent c = SmallGame(3);
    c.Mask = test::BitmapOf(test::PatternPicture(kW, kH));
    c.State.HasTrailer = false;
    ASSERT_TRUE(Save(c).Ok());
    ResultOf<TSavedGameData> read = ReadSavedGame(path, SaveReadMode::Resume);
    ASSERT_TRUE(read.Ok()) << PlainText(read.Error());
    const TMyBitmap& mask = read.Value().Mask;
    ASSERT_EQ(mask.Width, kW + 5);
    ASSERT_EQ(mask.Height, kH + 5);
    const TMyBitmap pattern = test::PatternPicture(kW, kH);
    for (int y = 0; y < kH + 5; ++y)
        for (int x = 0; x < kW + 5; ++x) {
            const uint8_t* p = PixelPtr(mask, x, y);
            const uint8_t* q = x < kW && y < kH ? PixelPtr(pattern, x, y) : nullptr;
            for (int k = 0; k < 3; ++k) ASSERT_EQ(p[k], q ? q[k] : 0) << x << "," << y;
        }
    // Without the trailer there is no weight.
    EXPECT_FALSE(read.Value().State.HasTrailer);
    EXPECT_EQ(read.Value().State.WeightPiece, -1);
}

TEST_F(SavedGameFileTest, EveryCutShortOfTheStateIsRefused) {
    ASSERT_TRUE(Save(SmallGame(9)).Ok());
    const std::vector<uint8_t> whole = ReadBytes(path);
    const size_t withoutTrailer = whole.size() - 264;
    for (size_t n = 0; n < whole.size(); ++n) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + n);
        ResultOf<TSavedGameData> read = Resume(cut);
        if (n < withoutTrailer) {
            ASSERT_FALSE(read.Ok()) << n;
            EXPECT_EQ(read.Error().Key, kInvalidSavedGame);
            EXPECT_FALSE(read.Error().Detail.empty());
        } else {
            // A cut into the trailer reads as a save made before the weight.
            ASSERT_TRUE(read.Ok()) << n;
            EXPECT_EQ(read.Value().State.WeightPiece, -1);
        }
    }
}

TEST_F(SavedGameFileTest, FieldsThatLieAreRefusedBeforeAnythingIsRead) {
    ASSERT_TRUE(Save(SmallGame(9)).Ok());
    const std::vector<uint8_t> good = ReadBytes(path);
    const int32_t stateAt = Le32At(good, 15);
    const size_t header = 31, pieces = static_cast<size_t>(stateAt) + 44;
    struct Lie {
        const char* why;
        size_t at;
        int32_t value;
    };
    const Lie lies[] = {
        {"the magic", 0, 0x4c454f52},
        {"a name longer than the file", 19, 0x7fffffff},
        {"a name of no length", 19, 0},
        {"the state behind the end", 15, static_cast<int32_t>(good.size() + 1)},
        {"the state inside the header", 15, 40},
        {"more pieces than the file holds", header + 44, 60000},
        {"a negative piece count", header + 44, -1},
        {"a picture of no width", header + 48, 0},
        {"a thumbnail longer than the file", header + 120, 0x7ffffff0},
        {"a piece's box outside the picture", pieces + 32, kW},
        {"a piece in no window", pieces + 12, 9},
        {"the weight on no piece", good.size() - 260, kPieces},
    };
    for (const Lie& lie : lies) {
        std::vector<uint8_t> bad = good;
        PutLe32At(bad, lie.at, lie.value);
        ResultOf<TSavedGameData> read = Resume(bad);
        ASSERT_FALSE(read.Ok()) << lie.why;
        EXPECT_EQ(read.Error().Key, kInvalidSavedGame) << lie.why;
        EXPECT_FALSE(read.Error().Detail.empty()) << lie.why;
    }
    // Noise behind the magic is refused, whatever its length.
    std::mt19937 rng(4);
    for (int k = 0; k < 200; ++k) {
        std::vector<uint8_t> noise(rng() % 4000);
        for (uint8_t& byte : noise) byte = static_cast<uint8_t>(rng());
        std::memcpy(noise.data(), "ORVELSLV1.0", std::min<size_t>(11, noise.size()));
        EXPECT_FALSE(Resume(noise).Ok()) << k;
    }
}

// A full disk or a kill after any number of bytes, or a failed rename:
// the old save stays whole, whether the scratch file was cleaned up or not.
TEST_F(SavedGameFileTest, AFaultAtAnyByteLeavesTheOldSave) {
    ASSERT_TRUE(Save(SmallGame(11)).Ok());
    const std::vector<uint8_t> old = ReadBytes(path);
    const TSavedGameContent other = SmallGame(12, 500);
    for (bool crash : {false, true}) {
        for (int64_t n = 0; n <= static_cast<int64_t>(old.size()); n += 97) {
            TWriteFaults faults{n, false, crash};
            EXPECT_FALSE(Save(other, &faults).Ok()) << n;
            ASSERT_EQ(ReadBytes(path), old) << "full save cut at " << n;
            EXPECT_EQ(fs::exists(scratch), crash) << n;
        }
        TWriteFaults rename{-1, true, crash};
        EXPECT_FALSE(Save(other, &rename).Ok());
        // An update whose journal cannot be flushed has not begun.
        EXPECT_FALSE(UpdateSavedGameState(path, 11, other.State, &rename).Ok());
        EXPECT_EQ(ReadBytes(path), old);
    }
    // A leftover scratch file or journal does not stand in the way of the
    // next save.
    ASSERT_TRUE(Save(other).Ok());
    EXPECT_EQ(Le32At(ReadBytes(path), 11), 12);
    EXPECT_FALSE(fs::exists(SaveJournalPath(path)));
    ResultOf<TSavedGameData> read = ReadSavedGame(path, SaveReadMode::Resume);
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(EncodeSaveState(read.Value().State), EncodeSaveState(other.State));
}

TEST_F(SavedGameFileTest, AFolderThatCannotBeWrittenFailsAndSaysWhere) {
    const std::string gone = dir + "missing/game.sv1";
    Result r = WriteSavedGameScratch(gone, dir + "missing/orvel.svt", SmallGame(1));
    ASSERT_FALSE(r.Ok());
    EXPECT_EQ(r.Error().Key, kCannotSaveGame);
    EXPECT_EQ(r.Error().Args, std::vector<std::string>{gone});
    EXPECT_FALSE(r.Error().Detail.empty());
    // A read-only folder, where permissions hold (not for the superuser).
    ASSERT_TRUE(Save(SmallGame(1)).Ok());
    const std::vector<uint8_t> old = ReadBytes(path);
    ::chmod(dir.c_str(), 0555);
    const bool enforced = ::access(dir.c_str(), W_OK) != 0;
    Result ro = Save(SmallGame(2));
    ::chmod(dir.c_str(), 0755);
    if (enforced) {
        EXPECT_FALSE(ro.Ok());
        EXPECT_EQ(ReadBytes(path), old);
    }
}

// A program saving over and over (full saves and state updates) is killed
// at random moments: every time, what is on disk is a complete save.
TEST_F(SavedGameFileTest, AKilledSaverAlwaysLeavesACompleteSave) {
    ASSERT_TRUE(Save(SmallGame(21)).Ok());
    std::mt19937 rng(21);
    int written = 0;  // rounds in which the saver got a save done before it died
    for (int round = 0; round < 100; ++round) {
        // The child tells through a pipe when its first save is done, so that
        // even a slow machine kills it while it is writing later ones.
        int done[2];
        ASSERT_EQ(::pipe(done), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t i = 1;; ++i) {
                const TSavedGameContent c = SmallGame(21, i);
                if (i % 3 == 0)
                    (void)Save(c);
                else
                    (void)UpdateSavedGameState(path, 21, c.State);
                if (i == 1) (void)!::write(done[1], "x", 1);
            }
        }
        ::close(done[1]);
        char byte = 0;
        ASSERT_EQ(::read(done[0], &byte, 1), 1);
        ::close(done[0]);
        ::usleep(static_cast<useconds_t>(rng() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ResultOf<TSavedGameData> read = ReadSavedGame(path, SaveReadMode::Resume);
        ASSERT_TRUE(read.Ok()) << "round " << round << ": " << PlainText(read.Error());
        EXPECT_EQ(read.Value().State.Pieces.size(), static_cast<size_t>(kPieces));
        written += read.Value().State.Pieces[0].posX > 0 ? 1 : 0;
        // The next round starts from the first game again.
        ASSERT_TRUE(Save(SmallGame(21)).Ok());
    }
    EXPECT_GT(written, 0);
}

// ------------------------------------------------- state updates in place

// The bytes of an update's journal: identity, the state, the checksum.
int64_t JournalSize(const TSaveState& s) {
    return 48 + static_cast<int64_t>(StateSize(s));
}

// The state a resumed game gets from file; empty when it is refused.
std::vector<uint8_t> ResumedState(const std::string& file) {
    ResultOf<TSavedGameData> read = ReadSavedGame(file, SaveReadMode::Resume);
    return read ? EncodeSaveState(read.Value().State) : std::vector<uint8_t>{};
}

class SaveJournalTest : public SavedGameFileTest {
protected:
    void SetUp() override {
        SavedGameFileTest::SetUp();
        journal = SaveJournalPath(path);
        ASSERT_TRUE(Save(SmallGame(11)).Ok());
        old = ReadBytes(path);
        oldState = EncodeSaveState(SmallGame(11).State);
    }
    // An update killed right after its journal was whole.
    void KillAfterJournal(const TSaveState& s) {
        const TWriteFaults killed{JournalSize(s), false, true};
        EXPECT_FALSE(UpdateSavedGameState(path, 11, s, &killed).Ok());
        ASSERT_TRUE(fs::exists(journal));
    }
    std::string journal;
    std::vector<uint8_t> old, oldState;
};

// Cut short at any byte of its journal or of the state written in place:
// failed cleanly, the file is as it was; killed, it reads as the old save
// until the journal is whole and as the new one from then on.
TEST_F(SaveJournalTest, AnUpdateCutAtAnyByteReadsAsTheOldOrTheNewSave) {
    const TSaveState moved = SmallState(700);
    const std::vector<uint8_t> newState = EncodeSaveState(moved);
    const int64_t whole = JournalSize(moved), total = whole + static_cast<int64_t>(StateSize(moved));
    std::vector<int64_t> cuts = {whole - 1, whole, whole + 1, total - 1, total};
    for (int64_t n = 0; n < total; n += 29) cuts.push_back(n);
    for (bool crash : {false, true}) {
        for (int64_t n : cuts) {
            const TWriteFaults faults{n, false, crash};
            ResultOf<bool> updated = UpdateSavedGameState(path, 11, moved, &faults);
            EXPECT_EQ(updated.Ok(), n >= total) << n;
            if (!crash && n < total) {
                ASSERT_EQ(ReadBytes(path), old) << "failed cleanly at " << n;
                EXPECT_FALSE(fs::exists(journal)) << n;
            }
            EXPECT_EQ(fs::exists(journal), crash && n < total) << n;
            const bool saved = crash ? n >= whole : n >= total;
            ASSERT_EQ(ResumedState(path), saved ? newState : oldState) << crash << " " << n;
            EXPECT_FALSE(fs::exists(journal)) << "read and dropped, " << n;
            WriteBytes(path, old);
        }
    }
}

TEST_F(SaveJournalTest, AWholeJournalIsReplayedByTheNextReadingOrInMemory) {
    const TSaveState moved = SmallState(700);
    KillAfterJournal(moved);
    ASSERT_EQ(ReadBytes(path), old);
    // The browser does not read the state and leaves the journal alone.
    EXPECT_TRUE(ReadSavedGame(path, SaveReadMode::Browse).Ok());
    EXPECT_TRUE(fs::exists(journal));
    EXPECT_EQ(ResumedState(path), EncodeSaveState(moved));
    EXPECT_FALSE(fs::exists(journal));
    // The replayed file is the one an update that was not cut writes.
    const std::vector<uint8_t> replayed = ReadBytes(path);
    WriteBytes(path, old);
    ASSERT_TRUE(UpdateSavedGameState(path, 11, moved).Value());
    EXPECT_EQ(ReadBytes(path), replayed);

    // A save that cannot be written (where permissions hold, not for the
    // superuser) is read with the journal laid over it; the journal waits.
    const TSaveState later = SmallState(800);
    KillAfterJournal(later);
    ::chmod(path.c_str(), 0444);
    ::chmod(dir.c_str(), 0555);
    const bool enforced = ::access(path.c_str(), W_OK) != 0;
    EXPECT_EQ(ResumedState(path), EncodeSaveState(later));
    const bool journalWaits = fs::exists(journal);
    ::chmod(dir.c_str(), 0755);
    ::chmod(path.c_str(), 0644);
    if (enforced) {
        EXPECT_EQ(ReadBytes(path), replayed);
        EXPECT_TRUE(journalWaits);
    }
    // The next update replays it before it starts.
    const TSaveState last = SmallState(900);
    ASSERT_TRUE(UpdateSavedGameState(path, 11, last).Value());
    EXPECT_EQ(ResumedState(path), EncodeSaveState(last));
}

TEST_F(SaveJournalTest, ATornJournalIsDroppedAndTheOldStateRead) {
    KillAfterJournal(SmallState(700));
    const std::vector<uint8_t> whole = ReadBytes(journal);
    ASSERT_EQ(static_cast<int64_t>(whole.size()), JournalSize(SmallState(700)));
    std::vector<std::vector<uint8_t>> torn;
    for (size_t n = 0; n < whole.size(); n += 5) torn.emplace_back(whole.begin(), whole.begin() + n);
    for (size_t at = 0; at < whole.size(); at += 13) {
        torn.push_back(whole);
        torn.back()[at] ^= 0x20;
    }
    for (size_t k = 0; k < torn.size(); ++k) {
        WriteBytes(journal, torn[k]);
        ASSERT_EQ(ResumedState(path), oldState) << k;
        EXPECT_FALSE(fs::exists(journal)) << k;
        ASSERT_EQ(ReadBytes(path), old) << k;
    }
    // The whole journal, put back, still applies.
    WriteBytes(journal, whole);
    EXPECT_EQ(ResumedState(path), EncodeSaveState(SmallState(700)));
}

// A journal left from before a full save of the same game, of the same size
// and layout, must not write its older state into the newer file.
TEST_F(SaveJournalTest, AJournalNeverOverridesALaterFullSave) {
    KillAfterJournal(SmallState(700));
    const std::vector<uint8_t> stale = ReadBytes(journal);
    const TSavedGameContent later = SmallGame(11, 300);
    ASSERT_TRUE(Save(later).Ok());
    EXPECT_FALSE(fs::exists(journal));
    EXPECT_EQ(ResumedState(path), EncodeSaveState(later.State));
    // Even one that outlived the rename names the file it was written for.
    WriteBytes(journal, stale);
    EXPECT_EQ(ResumedState(path), EncodeSaveState(later.State));
    EXPECT_FALSE(fs::exists(journal));
    // A new file moved into place without looking at the journal.
    KillAfterJournal(SmallState(800));
    const TSavedGameContent latest = SmallGame(11, 400);
    ASSERT_TRUE(WriteSavedGameScratch(path, scratch, latest).Ok());
    ASSERT_TRUE(MoveIntoPlace(scratch, path, kCannotSaveGame).Ok());
    EXPECT_EQ(ResumedState(path), EncodeSaveState(latest.State));
}

}  // namespace
}  // namespace orvel
