// orvel-tool pack-site and download end to end: a site made from pictures,
// served by a real web server, fetched and unpacked without a window.
#include <gtest/gtest.h>

#include "DownloadTestUtil.h"
#include "graphics/ImageCodecs.h"

namespace orvel {
namespace {

using namespace orvel::test;

// Runs orvel-tool with the player's folders inside home; returns its exit
// status and what it printed.
int RunTool(const std::string& home, const std::string& args, std::string& output) {
    const std::string out = home + "tool-output.txt";
    const std::string cmd = "HOME='" + home + "' XDG_DATA_HOME='" + home + "data' XDG_CONFIG_HOME='" + home +
                            "config' " ORVEL_BUILD_DIR "/orvel-tool " + args + " >'" + out + "' 2>&1";
    const int status = std::system(cmd.c_str());
    output = ReadText(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Picture(const std::string& path, int w, int h) {
    TMyBitmap pic;
    std::vector<uint8_t> jpeg;
    EXPECT_TRUE(Create24(pic, w, h) && SaveJpeg(pic, jpeg, 85).Ok());
    WriteText(path, std::string(jpeg.begin(), jpeg.end()));
    return path;
}

TEST(DownloadToolTest, APackSiteMadeByTheToolIsServedAndDownloaded) {
    if (!HaveProgram("python3")) GTEST_SKIP() << "python3 is missing";
    TScratchDir dir;
    const std::string home = dir.Sub("home");
    const std::string pics = dir.Sub("pics");
    const std::string site = dir.Sub("site");
    std::string out;
    ASSERT_EQ(RunTool(home, "pack-site '" + site + "' '" + Picture(pics + "Hill.jpg", 320, 200) + "' '" +
                                Picture(pics + "lake.jpg", 200, 320) + "' --kind tar.gz",
                      out),
              0)
        << out;
    EXPECT_EQ(ReadText(site + "thumb/jiglist.txt"), "hill\nlake\n");
    EXPECT_EQ(ReadText(site + "orvel/jigsaws_zent/info.dat").rfind("ext: .tar.gz\n", 0), 0u);
    EXPECT_TRUE(fs::exists(site + "thumb/lake.jpg"));

    TTestServer server;
    ASSERT_TRUE(server.Start(site, dir.Sub("work")));
    const std::string common =
        " --host " + server.Host() + " --jigsaws '" + dir.Sub("jigsaws") + "' --thumb '" + site + "thumb'";
    ASSERT_EQ(RunTool(home, "download lake" + common, out), 0) << out;
    EXPECT_NE(out.find("unpacked: " + dir.Sub("jigsaws") + "lake.orv"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(dir.Sub("jigsaws") + "hill.orv"));

    ASSERT_EQ(RunTool(home, "download --new" + common, out), 0) << out;
    EXPECT_NE(out.find("hill.orv"), std::string::npos) << out;
    EXPECT_EQ(out.find("lake.orv"), std::string::npos) << out;

    // Nothing new is left, and a name outside the catalogue is an error.
    EXPECT_EQ(RunTool(home, "download --new" + common, out), 1);
    EXPECT_EQ(RunTool(home, "download nowhere" + common, out), 1);
    EXPECT_NE(out.find("nowhere is not in the catalogue"), std::string::npos) << out;
    EXPECT_EQ(RunTool(home, "download" + common, out), 2);
}

}  // namespace
}  // namespace orvel
