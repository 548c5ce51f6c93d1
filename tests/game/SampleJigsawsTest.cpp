// The sample jigsaws packed at build time reach a new player's Jigsaws
// folder at the first start and open as the game opens them.
#include <gtest/gtest.h>

#include <filesystem>

#include "JigsawTestUtil.h"
#include "app/Folders.h"
#include "game/JigsawFile.h"

namespace orvel {
namespace {

TEST(SampleJigsaws, AFreshStartBringsEverySampleIntoTheJigsawsFolder) {
    const std::string program = ORVEL_BUILD_DIR;
    const std::vector<std::string> list = ReadListFile(program + "/jigsaws/distjiglist.txt");
    if (list.empty())
        GTEST_SKIP() << "no sample jigsaws in this build (mate-backgrounds not installed)";
    EXPECT_EQ(list.size(), 8u);

    const std::string home = test::TestFolder();
    TPlatformFolders folders;
    folders.ProgramDir = program;
    folders.DocumentsDir = home + "/Documents";
    folders.DataHomeDir = home + "/.local/share";
    folders.TempDir = home + "/tmp";
    const TAppPaths paths = SetUpFolders(folders);
    ASSERT_TRUE(paths.FirstStart);

    for (const std::string& name : list) {
        const std::string path = paths.JigsawsDir + name;
        ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
        ResultOf<TJigsawData> browse = ReadJigsaw(path, JigsawReadMode::Browse);
        ASSERT_TRUE(browse.Ok()) << name << ": " << browse.Error().Detail;
        const TMyBitmap& thumb = browse.Value().Thumb;
        EXPECT_TRUE((thumb.Width == 180 && thumb.Height <= 135) ||
                    (thumb.Height == 135 && thumb.Width <= 180))
            << name << " " << thumb.Width << " x " << thumb.Height;
        ResultOf<TJigsawData> game = ReadJigsaw(path, JigsawReadMode::NewGame);
        ASSERT_TRUE(game.Ok()) << name << ": " << game.Error().Detail;
        EXPECT_NE(game.Value().Description.find("Photograph by"), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace orvel
