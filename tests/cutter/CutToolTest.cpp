// orvel-tool cut as a user runs it: bad arguments and outputs that cannot
// be written end with a message and a non-zero exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "graphics/ImageCodecs.h"

namespace orvel {
namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

// Standard error goes to a file of this test's own: ctest runs the tests of
// this binary as separate processes at the same time.
std::string ErrorFile() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "/cut_tool_err_" + test->name() + "_" + std::to_string(getpid()) +
           ".txt";
}

ToolRun RunTool(const std::string& args) {
    const std::string errFile = ErrorFile();
    const std::string cmd = std::string(ORVEL_BUILD_DIR) + "/orvel-tool cut " + args + " 2>" + errFile;
    ToolRun r;
    std::FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    if (std::FILE* e = std::fopen(errFile.c_str(), "r")) {
        while ((n = std::fread(buf, 1, sizeof buf, e)) > 0) r.err.append(buf, n);
        std::fclose(e);
    }
    std::filesystem::remove(errFile);
    return r;
}

class CutTool : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(std::string(ORVEL_BUILD_DIR) + "/orvel-tool"))
            GTEST_SKIP() << "orvel-tool not built";
    }
    const std::string image = std::string(ORVEL_TEST_DATA_DIR) + "/images/photo.jpg";
};

TEST_F(CutTool, CutsAndPrintsTheFigures) {
    const ToolRun r = RunTool(image + " --shape 4 --seed 7 --level 13 --fit 200x150");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("GameSeed = 7\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("TotalTileNum = "), std::string::npos);
}

TEST_F(CutTool, BadArgumentsAreNamedAndFail) {
    for (const std::string& args : {image + " second.png", image + " --fit 100x100junk", image + " --fit x100",
                                    image + " --level 14", image + " --border 2", std::string("--seed 3")}) {
        const ToolRun r = RunTool(args);
        EXPECT_NE(r.status, 0) << args;
        EXPECT_FALSE(r.err.empty()) << args;
    }
    const ToolRun extra = RunTool(image + " second.png");
    EXPECT_NE(extra.err.find("second.png"), std::string::npos) << extra.err;
}

TEST_F(CutTool, UnwritableOutputsFailTheRun) {
    const std::string nowhere = ::testing::TempDir() + "/no/such/folder";
    for (const std::string& out : {" --mask " + nowhere + "/m.png", " --pieces " + nowhere + "/p.json"}) {
        const ToolRun r = RunTool(image + " --shape 4 --seed 7 --level 13 --fit 200x150" + out);
        EXPECT_NE(r.status, 0) << out;
        EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
    }
}

// The messages the game would show in boxes are printed in the same order,
// one a line, and a failed cut fails the run.
TEST_F(CutTool, CutFailuresArePrintedInTheGamesOrder) {
    const std::string tiny =
        ::testing::TempDir() + "/cut_tool_tiny_" + std::to_string(getpid()) + ".bmp";
    TMyBitmap picture;
    ASSERT_TRUE(Create24(picture, 3, 3));
    FillBox(picture, 0, 0, 3, 3, 0x808080);
    ASSERT_TRUE(SaveBmp24File(picture, tiny).Ok());
    const ToolRun cells = RunTool(tiny + " --shape 0 --level 13");
    EXPECT_EQ(cells.status, 1);
    EXPECT_EQ(cells.err.rfind("PaintError: Ind = ", 0), 0u) << cells.err;
    EXPECT_NE(cells.err.find("\nMS_PaintError\n"), std::string::npos) << cells.err;
    const ToolRun grid = RunTool(tiny + " --shape 4 --level 13");
    EXPECT_EQ(grid.status, 1);
    EXPECT_NE(grid.err.find("\nJigsaw has not been cut properly! Please reopen the puzzle.\n"),
              std::string::npos)
        << grid.err;
    std::filesystem::remove(tiny);
}

TEST_F(CutTool, AFolderGivenAsThePictureIsNamed) {
    const ToolRun r = RunTool(std::string(ORVEL_TEST_DATA_DIR) + " --shape 4");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(" is a folder"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace orvel
