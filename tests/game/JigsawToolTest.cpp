// orvel-tool pack and info as a user runs them: pictures become jigsaw
// files the game reads, and info names what is wrong with a broken one.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "JigsawTestUtil.h"
#include "game/EntryFile.h"
#include "game/JigsawFile.h"

namespace orvel {
namespace {

using namespace orvel::test;

// The last entry of a jigsaw file, unscrambled: the picture of its last side.
std::vector<uint8_t> LastEntry(const std::vector<uint8_t>& file, TEntryKey key) {
    size_t at = kJigsawHeaderSize, start = 0, length = 0;
    while (at + 4 <= file.size()) {
        length =
            file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (size_t{file[at + 3]} << 24);
        start = at + 4;
        at = start + length;
    }
    if (at != file.size()) return {};
    std::vector<uint8_t> bytes(file.begin() + static_cast<ptrdiff_t>(start), file.end());
    ScrambleBytes(bytes.data(), bytes.size(), key.Start, key.Rotates);
    return bytes;
}

struct ToolRun {
    int status = -1;
    std::string out, err;
};

class JigsawTool : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(std::string(ORVEL_BUILD_DIR) + "/orvel-tool"))
            GTEST_SKIP() << "orvel-tool not built";
        dir = TestFolder();
    }

    ToolRun Run(const std::string& args) const {
        const std::string errFile = dir + "/stderr.txt";
        const std::string cmd =
            std::string(ORVEL_BUILD_DIR) + "/orvel-tool " + args + " 2>'" + errFile + "'";
        ToolRun r;
        std::FILE* p = popen(cmd.c_str(), "r");
        if (!p) return r;
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
        const int st = pclose(p);
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        const std::vector<uint8_t> err = ReadBytes(errFile);
        r.err.assign(err.begin(), err.end());
        return r;
    }

    std::string dir;
    const std::string photo = std::string(ORVEL_TEST_DATA_DIR) + "/images/photo.jpg";
};

TEST_F(JigsawTool, PacksAJfifPhotoAsItStandsAndInfoPrintsTheHeader) {
    const ToolRun pack =
        Run("pack '" + photo + "' --out '" + dir + "' --description 'Sea and sky'");
    ASSERT_EQ(pack.status, 0) << pack.err;
    const std::string jigsaw = dir + "/photo.orv";
    ResultOf<TJigsawData> game = ReadJigsaw(jigsaw, JigsawReadMode::NewGame);
    ASSERT_TRUE(game.Ok()) << game.Error().Detail;
    EXPECT_EQ(game.Value().Description, "Sea and sky");
    EXPECT_EQ(game.Value().PictureKind, StoredKind::Jpeg);
    EXPECT_TRUE(SamePixels(game.Value().Picture, Decoded(ReadBytes(photo))));
    EXPECT_EQ(LastEntry(ReadBytes(jigsaw), PictureEntryKey(0)), ReadBytes(photo));

    const ToolRun info = Run("info '" + jigsaw + "'");
    EXPECT_EQ(info.status, 0) << info.err;
    for (const char* line :
         {"ImageW = 32\n", "ImageH = 24\n", "Label = photo\n", "NameCode = 111\n",
          "ThumbKind = JPEG\n", "Description = Sea and sky\n", "PictureKind = JPEG\n"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line << " in\n" << info.out;
}

TEST_F(JigsawTool, NamesAreLowerCaseThumbnailsSmallAndPngOrBmpKeptExactly) {
    const TMyBitmap wide = PatternPicture(400, 100);
    const TMyBitmap tall = PatternPicture(100, 200);
    ASSERT_TRUE(SavePngFile(wide, dir + "/Big Sky.PNG"));
    WriteBytes(dir + "/Tall.bmp", BitmapOf(tall));
    const ToolRun pack =
        Run("pack '" + dir + "/Big Sky.PNG' '" + dir + "/Tall.bmp' --out '" + dir + "/out'");
    ASSERT_EQ(pack.status, 0) << pack.err;

    struct Expect {
        const char* file;
        const char* label;
        const char* description;
        const TMyBitmap* picture;
        int thumbW, thumbH;
    };
    for (const Expect& e : {Expect{"big sky.orv", "big sky", "Big Sky", &wide, 180, 45},
                            Expect{"tall.orv", "tall", "Tall", &tall, 67, 135}}) {
        const std::string path = dir + "/out/" + e.file;
        ResultOf<TJigsawData> browse = ReadJigsaw(path, JigsawReadMode::Browse);
        ASSERT_TRUE(browse.Ok()) << e.file << ": " << browse.Error().Detail;
        EXPECT_EQ(browse.Value().Label, e.label);
        EXPECT_EQ(browse.Value().Thumb.Width, e.thumbW) << e.file;
        EXPECT_EQ(browse.Value().Thumb.Height, e.thumbH) << e.file;
        ResultOf<TJigsawData> game = ReadJigsaw(path, JigsawReadMode::NewGame);
        ASSERT_TRUE(game.Ok()) << e.file;
        EXPECT_EQ(game.Value().Description, e.description);
        EXPECT_EQ(game.Value().PictureKind, StoredKind::Bitmap);
        EXPECT_TRUE(SamePixels(game.Value().Picture, *e.picture)) << e.file;
    }
}

TEST_F(JigsawTool, AJpegWithoutJfifHeaderIsReencoded) {
    TMyBitmap pic;
    ASSERT_TRUE(Create24(pic, 64, 48));
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) SetPixel(pic, x, y, RgbToColor(x * 4, y * 5, 128 + x - y));
    std::vector<uint8_t> exif = JpegOf(pic);
    exif.erase(exif.begin() + 2, exif.begin() + 20);  // its JFIF segment
    ASSERT_FALSE(IsJfif(exif.data(), exif.size()));
    WriteBytes(dir + "/camera.jpg", exif);
    ASSERT_EQ(Run("pack '" + dir + "/camera.jpg' --out '" + dir + "'").status, 0);

    ResultOf<TJigsawData> game = ReadJigsaw(dir + "/camera.orv", JigsawReadMode::NewGame);
    ASSERT_TRUE(game.Ok()) << game.Error().Detail;
    EXPECT_EQ(game.Value().PictureKind, StoredKind::Jpeg);
    const TMyBitmap original = Decoded(exif);
    const TMyBitmap& stored = game.Value().Picture;
    ASSERT_EQ(stored.Width, 64);
    EXPECT_TRUE(IsJfif(LastEntry(ReadBytes(dir + "/camera.orv"), PictureEntryKey(0)).data(), 12));
    double difference = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64 * 3; ++x)
            difference += std::abs(RowPtr(stored, y)[x] - RowPtr(original, y)[x]);
    EXPECT_LE(difference / (64 * 48 * 3), 2.0);  // high quality: close to the picture
}

TEST_F(JigsawTool, BadInputsAreNamedAndFail) {
    const ToolRun broken = Run(std::string("info '") + ORVEL_TEST_DATA_DIR +
                               "/bad/jigsaws/all_huge_picture_size.orv'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("Invalid Jigsaw"), std::string::npos) << broken.err;
    EXPECT_NE(broken.err.find("100000 x 100000"), std::string::npos) << broken.err;
    const ToolRun body = Run(std::string("info '") + ORVEL_TEST_DATA_DIR +
                             "/bad/jigsaws/game_picture_not_jfif.orv'");
    EXPECT_EQ(body.status, 1);
    EXPECT_NE(body.err.find("Invalid Jigsaw"), std::string::npos) << body.err;

    EXPECT_EQ(Run("info").status, 2);
    EXPECT_EQ(Run("pack --out '" + dir + "'").status, 2);
    EXPECT_EQ(Run("pack '" + photo + "' --bogus").status, 2);

    // One bad picture fails the run; the good one is still packed.
    WriteBytes(dir + "/garbage.png", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'});
    const ToolRun mixed = Run("pack '" + dir + "/garbage.png' '" + photo + "' '" + dir +
                              "/missing.jpg' --out '" + dir + "'");
    EXPECT_EQ(mixed.status, 1);
    EXPECT_NE(mixed.err.find("garbage.png"), std::string::npos) << mixed.err;
    EXPECT_NE(mixed.err.find("missing.jpg"), std::string::npos) << mixed.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/garbage.orv"));
    EXPECT_TRUE(ReadJigsaw(dir + "/photo.orv", JigsawReadMode::NewGame).Ok());
}

}  // namespace
}  // namespace orvel
