// orvel-tool cut as a user runs it: bad arguments and outputs that cannot
// be written end with a message and a non-zero exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace orvel {
namespace {

struct ToolRun {
    int status = -1;
    std::string out, err;
};

ToolRun RunTool(const std::string& args) {
    const std::string dir = ::testing::TempDir();
    const std::string errFile = dir + "/cut_tool_err.txt";
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

}  // namespace
}  // namespace orvel
