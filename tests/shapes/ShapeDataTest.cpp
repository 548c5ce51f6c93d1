#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cutter/ShapeData.h"
#include "cutter/ShapeRaster.h"
#include "shapes/ShapeTestUtil.h"

namespace orvel {
namespace {

using test::Make;

std::vector<uint8_t> Square(int w, int h) {
    MetafileWriter mw(w, h);
    test::PenAndBrush(mw, 0);
    mw.Points32(EMR_POLYGON, {0, 0, w - 1, 0, w - 1, h - 1, 0, h - 1});
    return mw.Finish();
}

std::string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

TEST(ShapeData, ShippedFileHoldsEnoughRecognisableSilhouettes) {
    ShapeData data;
    const ShapeLoadResult r = LoadShapeData(data, test::ShapeFilePath());
    ASSERT_EQ(r, ShapeLoadResult::Loaded);
    EXPECT_TRUE(DescribeShapeLoad(r, test::ShapeFilePath()).Ok());
    ASSERT_GE(data.Count, 24);
    int flipH = 0, flipV = 0;
    for (int i = 0; i < data.Count; ++i) {
        const ShapeDirEntry& e = data.Entries[size_t(i)];
        EXPECT_GE(std::max(e.width, e.height), 60) << i;
        EXPECT_LE(std::max(e.width, e.height), 120) << i;
        flipH += e.flipHorizontal != 0;
        flipV += e.flipVertical != 0;
        ASSERT_TRUE(SelectShape(data, i)) << i;
        EXPECT_EQ(data.Index, i);
        EXPECT_EQ(MetafileWidth(data.Current), e.width) << i;
        EXPECT_EQ(MetafileHeight(data.Current), e.height) << i;
        // Drawn at its natural size, a silhouette covers a good part of its box.
        TMyBitmap b = test::WhiteBitmap(e.width, e.height);
        const TColor c = RgbToColor(128, 0, 75);
        DrawMetafile(b, data.Current, 0, 0, e.width, e.height, &c);
        const int covered = test::CountColour(b, c);
        EXPECT_GT(covered, e.width * e.height / 5) << i;
        EXPECT_EQ(covered + test::CountColour(b, 0xFFFFFF), e.width * e.height) << i;
    }
    EXPECT_GT(flipH, 0);
    EXPECT_GT(flipV, 0);
    FreeShapeData(data);
    EXPECT_EQ(data.Count, 0);
    EXPECT_TRUE(data.Entries.empty());
    EXPECT_FALSE(data.HasCurrent);
}

TEST(ShapeData, BlobsAreFoundByTheirOwnOffsets) {
    std::vector<ShapeFileEntry> entries{{10, 20, true, false, Square(10, 20)},
                                        {30, 15, false, true, Square(30, 15)}};
    std::vector<uint8_t> file = BuildShapeFile(entries);
    // Swap the two blobs and their directory offsets.
    const size_t a = 12 + 80, la = entries[0].blob.size(), lb = entries[1].blob.size();
    std::vector<uint8_t> swapped(file.begin(), file.begin() + long(a));
    swapped.insert(swapped.end(), entries[1].blob.begin(), entries[1].blob.end());
    swapped.insert(swapped.end(), entries[0].blob.begin(), entries[0].blob.end());
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) swapped[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    put(12, uint32_t(a + lb));
    put(12 + 40, uint32_t(a));
    ASSERT_EQ(swapped.size(), a + la + lb);

    ShapeData data;
    ASSERT_EQ(ParseShapeData(data, swapped.data(), swapped.size()), ShapeLoadResult::Loaded);
    ASSERT_EQ(data.Count, 2);
    EXPECT_EQ(data.Entries[0].flipVertical, 1);
    EXPECT_EQ(data.Entries[1].flipHorizontal, 1);
    ASSERT_TRUE(SelectShape(data, 0));
    EXPECT_EQ(MetafileWidth(data.Current), 10);
    ASSERT_TRUE(SelectShape(data, 1));
    EXPECT_EQ(MetafileWidth(data.Current), 30);
    EXPECT_EQ(data.Blobs[1], entries[1].blob);
}

TEST(ShapeData, WrongMagicIsNamedAndLeavesNoEntries) {
    std::vector<uint8_t> file = BuildShapeFile({{10, 10, false, false, Square(10, 10)}});
    file[7] = '_';  // "BJ61DAT" followed by something other than a blank
    const std::string path = WriteTemp("orvel_shapes_magic.dat", file);
    ShapeData data;
    const ShapeLoadResult r = LoadShapeData(data, path);
    EXPECT_EQ(r, ShapeLoadResult::InvalidMagic);
    const Result told = DescribeShapeLoad(r, path);
    ASSERT_FALSE(told.Ok());
    EXPECT_EQ(told.Error().Key, "Invalid DAT file!");
    EXPECT_EQ(told.Error().Section, MsgSection::Fixed);
    EXPECT_EQ(data.Count, 0);
    EXPECT_FALSE(SelectShape(data, 0));
    std::filesystem::remove(path);
}

TEST(ShapeData, MissingFileLoadsNothingQuietly) {
    ShapeData data;
    const ShapeLoadResult r = LoadShapeData(data, "/nonexistent/orvel/pic_orvel.dat");
    EXPECT_EQ(r, ShapeLoadResult::Missing);
    EXPECT_TRUE(DescribeShapeLoad(r, "/nonexistent/orvel/pic_orvel.dat").Ok());
    EXPECT_EQ(data.Count, 0);
}

// A folder or a named pipe where the file should be loads nothing; the pipe
// is never opened (that would wait for a writer for ever).
TEST(ShapeData, FoldersAndPipesAreNotOpened) {
    const std::string pipe =
        (std::filesystem::temp_directory_path() / ("orvel_shapes_pipe_" + std::to_string(getpid())))
            .string();
    std::filesystem::remove(pipe);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, std::string(ORVEL_TEST_DATA_DIR)}) {
        ShapeData data;
        EXPECT_EQ(LoadShapeData(data, path), ShapeLoadResult::Missing) << path;
        EXPECT_EQ(data.Count, 0);
    }
    std::filesystem::remove(pipe);
}

TEST(ShapeData, SelectShapeChecksTheIndexAndReplacesTheCurrentDrawing) {
    const std::vector<uint8_t> file = BuildShapeFile(
        {{10, 10, false, false, Square(10, 10)}, {20, 10, false, false, Square(20, 10)}});
    ShapeData data;
    ASSERT_EQ(ParseShapeData(data, file.data(), file.size()), ShapeLoadResult::Loaded);
    ASSERT_TRUE(SelectShape(data, 1));
    EXPECT_FALSE(SelectShape(data, 2));
    EXPECT_FALSE(data.HasCurrent);
    EXPECT_FALSE(SelectShape(data, -1));
    ASSERT_TRUE(SelectShape(data, 0));
    EXPECT_EQ(MetafileWidth(data.Current), 10);
}

// Every broken file of the corpus is refused the way its name says, and
// whatever loads can be selected, turned and drawn without harm.
TEST(ShapeData, BrokenFilesCorpus) {
    const std::filesystem::path dir = std::filesystem::path(ORVEL_TEST_DATA_DIR) / "bad/shapes";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".dat") continue;
        ++files;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ShapeData data;
        const ShapeLoadResult r = LoadShapeData(data, entry.path().string());
        const Result told = DescribeShapeLoad(r, entry.path().string());
        if (name.starts_with("magic_")) {
            EXPECT_EQ(r, ShapeLoadResult::InvalidMagic);
            ASSERT_FALSE(told.Ok());
            EXPECT_EQ(told.Error().Key, "Invalid DAT file!");
        } else if (name.starts_with("damaged_")) {
            // Named as well, with the file and what happens next as detail.
            EXPECT_EQ(r, ShapeLoadResult::Damaged);
            ASSERT_FALSE(told.Ok());
            EXPECT_EQ(told.Error().Key, "Invalid DAT file!");
            EXPECT_NE(told.Error().Detail.find(name), std::string::npos);
        } else {
            ASSERT_EQ(r, ShapeLoadResult::Loaded);
        }
        if (r != ShapeLoadResult::Loaded) {
            EXPECT_EQ(data.Count, 0);
            EXPECT_TRUE(data.Entries.empty());
            continue;
        }
        for (int i = 0; i < data.Count; ++i) {
            const bool selected = SelectShape(data, i);
            EXPECT_EQ(selected, !name.starts_with("notdrawing_"));
            if (!selected) continue;
            TMetafile mf = data.Current;
            MirrorShape(mf, true, true);
            RotateShape(mf, -30);
            const TColor c = RgbToColor(128, 0, 25);
            RecolourShape(mf, c);
            // Drawn in the middle of a larger buffer: nothing lands outside the
            // buffer, and only the one colour is ever written.
            TMyBitmap b = test::WhiteBitmap(200, 200);
            DrawMetafile(b, mf, 50, 50, 100, 100, &c);
            EXPECT_EQ(test::CountColour(b, c) + test::CountColour(b, 0xFFFFFF), 200 * 200);
        }
    }
    EXPECT_GE(files, 25);
}

}  // namespace
}  // namespace orvel
