// orvel-tool solve as a user runs it: a jigsaw is opened and solved and the
// figures printed, or played part way, saved and finished from the saved
// game; what the program cannot do yet is refused by name.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "graphics/ImageCodecs.h"

namespace orvel::test {
namespace {

struct ToolRun {
    int Status = -1;
    std::string Out, Err;
};

class SolveTool : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(std::string(ORVEL_BUILD_DIR) + "/orvel-tool"))
            GTEST_SKIP() << "orvel-tool not built";
        dir = TestFolder();
        jigsaw = dir + "/pattern.orv";
        TJigsawContent c;
        c.ImageW = 320;
        c.ImageH = 240;
        c.Label = "pattern";
        c.Thumb = JpegOf(PatternPicture(40, 30));
        c.Descriptions = {"A pattern"};
        c.Pictures = {BitmapOf(PatternPicture(320, 240))};
        ASSERT_TRUE(WriteJigsaw(jigsaw, c).Ok());
    }

    ToolRun Solve(const std::string& args) const { return Run("solve " + args); }

    ToolRun Run(const std::string& args) const {
        const std::string err = dir + "/stderr.txt";
        const std::string cmd =
            std::string(ORVEL_BUILD_DIR) + "/orvel-tool " + args + " 2>'" + err + "'";
        ToolRun r;
        std::FILE* p = popen(cmd.c_str(), "r");
        if (!p) return r;
        char buf[512];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.Out.append(buf, n);
        const int st = pclose(p);
        r.Status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        const std::vector<uint8_t> bytes = ReadBytes(err);
        r.Err.assign(bytes.begin(), bytes.end());
        return r;
    }

    std::string dir, jigsaw;
};

TEST_F(SolveTool, SolvesAJigsawAndPrintsWhatItTook) {
    const std::string shot = dir + "/field.png", picture = dir + "/picture.png",
                      image = dir + "/solved.bmp";
    const ToolRun r =
        Solve("'" + jigsaw + "' --level 12 --shape 4 --border 1 --rotate --seed 77 " +
              "--screen 800x600 --emboss 0 --wood 0 --screenshot '" + shot + "' --picture '" +
              picture + "' --image '" + image + "'");
    ASSERT_EQ(r.Status, 0) << r.Err;
    for (const char* line : {"GameSeed = 77\n", "solved = 1\n", "iSolvedPercent = 100\n"})
        EXPECT_NE(r.Out.find(line), std::string::npos) << line << " in\n" << r.Out;
    for (const char* name : {"TotalTileNum = ", "moves = ", "joins = ", "newgame_ms = ",
                             "drag_step_us_median = ", "compose_ms_median = "})
        EXPECT_NE(r.Out.find(std::string("\n") + name), std::string::npos) << name;

    TMyBitmap fitted, field;
    ASSERT_TRUE(LoadImageFile(fitted, picture).Ok());
    EXPECT_TRUE(SamePixels(fitted, PatternPicture(320, 240)));
    ASSERT_TRUE(LoadImageFile(field, shot).Ok());
    EXPECT_EQ(field.Width, 800 - 8);  // the field of a window on the whole screen

    // After the finish the picture lies whole in the middle of the play area
    // (the screen less the window's frame, caption and the toolbar).
    const TMyBitmap pattern = PatternPicture(320, 240);
    int left = -1, top = -1;
    for (int y = 0; y < field.Height && left < 0; ++y)
        for (int x = 0; x < field.Width && left < 0; ++x)
            if (GetPixel(field, x, y) == GetPixel(pattern, 0, 0) &&
                GetPixel(field, x + 319, y + 239) == GetPixel(pattern, 319, 239))
                left = x, top = y;
    EXPECT_EQ(left, (800 - 8 - 320) / 2);
    EXPECT_EQ(top, (600 - 8 - 23 - 35 - 240) / 2);

    // The solved picture: the picture in a black border over two caption strips.
    TMyBitmap solved;
    ASSERT_TRUE(LoadBmpFile(solved, image).Ok());
    EXPECT_EQ(solved.Width, 322);
    EXPECT_EQ(solved.Height, 292);
    EXPECT_EQ(GetPixel(solved, 0, 0), 0);
    EXPECT_EQ(GetPixel(solved, 1 + 200, 1 + 100), GetPixel(pattern, 200, 100));
    EXPECT_EQ(GetPixel(solved, 5, 240 + 5), 0xFFFFFF);
}

TEST_F(SolveTool, SavesPartWayAndFinishesTheSavedGame) {
    const std::string out = dir + "/half.sv1";
    const ToolRun first = Solve("'" + jigsaw + "' --level 12 --shape 4 --rotate --seed 5 " +
                                "--screen 800x600 --moves 2 --save '" + out + "'");
    ASSERT_EQ(first.Status, 0) << first.Err;
    EXPECT_NE(first.Out.find("solved = 0\n"), std::string::npos) << first.Out;
    EXPECT_NE(first.Out.find("saved = " + out + "\n"), std::string::npos) << first.Out;
    const ToolRun info = Run("info '" + out + "'");
    ASSERT_EQ(info.Status, 0) << info.Err;
    for (const char* line : {"Name = pattern\n", "GameSeed = 5\n", "Rotate = 1\n", "Trailer = 1\n"})
        EXPECT_NE(info.Out.find(line), std::string::npos) << line << " in\n" << info.Out;
    const ToolRun resumed = Solve("'" + out + "' --screen 800x600");
    ASSERT_EQ(resumed.Status, 0) << resumed.Err;
    EXPECT_NE(resumed.Out.find("GameSeed = 5\n"), std::string::npos) << resumed.Out;
    EXPECT_NE(resumed.Out.find("solved = 1\n"), std::string::npos) << resumed.Out;
}

TEST_F(SolveTool, RefusesWhatThisVersionCannotDo) {
    const ToolRun saved = Solve("'" + dir + "/game.sv1'");
    EXPECT_EQ(saved.Status, 1);
    EXPECT_NE(saved.Err.find("Invalid Saved Game"), std::string::npos) << saved.Err;
    // A game left unsolved has no solved picture to write.
    const ToolRun unsolved =
        Solve("'" + jigsaw + "' --level 12 --moves 0 --image '" + dir + "/out.bmp'");
    EXPECT_EQ(unsolved.Status, 1);
    EXPECT_NE(unsolved.Err.find("not solved"), std::string::npos) << unsolved.Err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/out.bmp"));
    const ToolRun missing = Solve("'" + dir + "/missing.orv'");
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("Invalid Jigsaw"), std::string::npos) << missing.Err;
}

}  // namespace
}  // namespace orvel::test
