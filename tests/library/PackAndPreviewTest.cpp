// Making jigsaws from pictures (the code orvel-tool pack shares with the
// browser), the level page's piece preview, and the one level table the
// browser and orvel-tool cut both use.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "graphics/ImageCodecs.h"
#include "library/DirView.h"
#include "library/PackJigsaw.h"
#include "library/PiecePreview.h"
#include "platform/FakePlatform.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

TEST(PackJigsaw, APictureBecomesAJigsawThatShowsItExactly) {
    test::TempDir dir;
    const TMyBitmap pic = test::PatternPicture(640, 200);
    std::vector<uint8_t> png;
    ASSERT_TRUE(SavePng(pic, png).Ok());
    test::WriteBytes(dir.File("Wide Shot.png"), png);
    EXPECT_EQ(JigsawNameOf(dir.File("Wide Shot.png")), "wide shot");

    std::atomic<int> steps{0};
    const std::string out = dir.File("wide shot.orv");
    ASSERT_TRUE(PackJigsaw(dir.File("Wide Shot.png"), out, "wide shot", "By the sea", &steps).Ok());
    EXPECT_EQ(steps.load(), kPackSteps);
    ResultOf<TJigsawData> read = ReadJigsaw(out, JigsawReadMode::NewGame);
    ASSERT_TRUE(read.Ok());
    EXPECT_TRUE(test::SamePixels(read.Value().Picture, pic));
    EXPECT_EQ(read.Value().Description, "By the sea");
    // The thumbnail keeps the picture's shape within 180 x 135.
    ResultOf<TJigsawData> thumb = ReadJigsaw(out, JigsawReadMode::Thumb);
    ASSERT_TRUE(thumb.Ok());
    EXPECT_EQ(thumb.Value().Thumb.Width, 180);
    EXPECT_EQ(thumb.Value().Thumb.Height, 56);

    // Something that is no picture fails and writes nothing.
    test::WriteFile(dir.File("fake.png"), "hello");
    EXPECT_FALSE(PackJigsaw(dir.File("fake.png"), dir.File("fake.orv"), "fake", "").Ok());
    EXPECT_FALSE(fs::exists(dir.File("fake.orv")));
}

TEST(PackJigsaw, TheBrowserMakesAJigsawFromAPictureAndSelectsIt) {
    test::TempDir dir;
    FakePlatform fp;
    TLanguage lang(&fp, "");
    lang.LoadFromBytes(test::ReadFile(std::string(ORVEL_BUILD_DIR) + "/language/english.lng"));
    TDirFolders folders;
    folders.JigsawsDir = dir.File("jigs") + "/";
    folders.SavedGamesDir = dir.File("saves") + "/";
    folders.PicturesDir = dir.Path();
    fs::create_directories(folders.JigsawsDir);
    TDirView view(fp, lang, folders);
    view.Show();
    std::vector<uint8_t> bmp;
    ASSERT_TRUE(SaveBmp24(test::PatternPicture(300, 200), bmp).Ok());
    test::WriteBytes(dir.File("Garden.bmp"), bmp);

    int packs = 0;
    view.Pack = [&](const std::string& image, const std::string& target,
                                          const std::string& name) {
        ++packs;
        return PackJigsaw(image, target, name, name);
    };
    fp.QueueFileChoice(dir.File("Garden.bmp"));
    view.NewJigsawFromPicture();
    ASSERT_EQ(fp.FileChoices.size(), 1u);
    EXPECT_EQ(fp.FileChoices[0].Start, dir.Path());
    ASSERT_EQ(view.Items(DirTab::Jigs).size(), 1u);
    EXPECT_EQ(view.FileName, "garden.orv");
    EXPECT_EQ(view.Kind(), SelectionKind::Jigsaw);
    EXPECT_EQ(view.Header().ImageW, 300);

    // The same name again asks first; Cancel makes nothing.
    fp.QueueFileChoice(dir.File("Garden.bmp"));
    fp.QueueAnswer(MsgResult::Cancel);
    view.NewJigsawFromPicture();
    EXPECT_EQ(packs, 1);
    EXPECT_EQ(fp.Messages.back().Kind, MsgKind::OkCancel);
    // No picture chosen: nothing happens.
    view.NewJigsawFromPicture();
    EXPECT_EQ(packs, 1);
}

TEST(PiecePreview, PiecePixelsAreTheBackgroundBevelled) {
    TMyBitmap strip;
    ASSERT_TRUE(Create24(strip, kShapeStripW, kShapeStripH));
    FillBox(strip, 0, 0, kShapeStripW, kShapeStripH, 0);
    // Shape 2: a square in the middle of its cell.
    FillBox(strip, 2 * kShapeCellStep + 1 + 32, 34, 100, 100, 0xFFFFFF);
    const TMyBitmap bkg = ShapeBackground(200, 200);
    int w = 0, h = 0;
    PreviewPieceSize(64, w, h);
    EXPECT_EQ(w, 82);
    EXPECT_EQ(h, 84);
    PreviewPieceSize(400, w, h);  // never larger than the cell
    EXPECT_EQ(w, kShapeCellW);
    EXPECT_EQ(h, kShapeCellH);

    const TMyBitmap out = PiecePreview(strip, 2, kShapeStripTile, bkg);
    ASSERT_EQ(out.Width, 200);
    int lighter = 0, darker = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x) {
            const int d = PixelPtr(out, x, y)[1] - PixelPtr(bkg, x, y)[1];
            ASSERT_TRUE(d == 0 || d == kBevel || d == -kBevel) << x << "," << y;
            lighter += d > 0;
            darker += d < 0;
        }
    // Left rim lighter, right rim darker, inside unchanged.
    auto diff = [&](int x, int y) { return PixelPtr(out, x, y)[1] - PixelPtr(bkg, x, y)[1]; };
    EXPECT_EQ(diff(50, 100), kBevel);
    EXPECT_EQ(diff(149, 100), -kBevel);
    EXPECT_EQ(diff(51, 100), kBevel);
    EXPECT_EQ(diff(100, 100), 0);
    // Two rims two pixels wide each way (4 * 100 - 4 pixels); where a light
    // and a dark rim meet (two 2 x 2 corners) they cancel.
    EXPECT_EQ(lighter, 4 * 100 - 4 - 8);
    EXPECT_EQ(darker, 4 * 100 - 4 - 8);
}

// The level a picture is cut at comes from one table: the browser's header
// and orvel-tool cut agree on the tile size and the grid.
TEST(LevelTableShared, TheBrowserAndTheCutToolAgree) {
    const std::string tool = std::string(ORVEL_BUILD_DIR) + "/orvel-tool";
    if (!fs::exists(tool)) GTEST_SKIP() << "orvel-tool not built";
    test::TempDir dir;
    FakePlatform fp;
    TLanguage lang(&fp, "");
    TDirFolders folders;
    folders.JigsawsDir = dir.Path() + "/";
    folders.SavedGamesDir = dir.Path() + "/";
    const TMyBitmap pic = test::PatternPicture(523, 311);
    std::vector<uint8_t> png;
    ASSERT_TRUE(SavePng(pic, png).Ok());
    test::WriteBytes(dir.File("pic.png"), png);
    ASSERT_TRUE(PackJigsaw(dir.File("pic.png"), dir.File("pic.orv"), "pic", "").Ok());
    for (int level : {0, 5, 13}) {
        TDirView view(fp, lang, folders);
        view.Defaults = TDirChoices{level, false, 1, 4, 0, false};
        view.Show();
        ASSERT_EQ(view.Kind(), SelectionKind::Jigsaw);
        const std::string cmd = tool + " cut '" + dir.File("pic.png") + "' --shape 4 --border 1 --seed 3 --level " +
                                std::to_string(level) + " 2>/dev/null";
        std::string out;
        if (std::FILE* p = popen(cmd.c_str(), "r")) {
            char buf[512];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
            pclose(p);
        }
        const GameHeader& h = view.Header();
        EXPECT_NE(out.find("TileS = " + std::to_string(h.TileS) + "\n"), std::string::npos) << out;
        EXPECT_NE(out.find("TilePX = " + std::to_string(h.TilePX) + "\n"), std::string::npos) << out;
        EXPECT_NE(out.find("TilePY = " + std::to_string(h.TilePY) + "\n"), std::string::npos) << out;
    }
}

}  // namespace
}  // namespace orvel
