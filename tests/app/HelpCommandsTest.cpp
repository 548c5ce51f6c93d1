// The help menu through the application core: contents by menu, F1 and the
// toolbar, the quick-help box and credits asked of the window, and the
// report of a game in play saved to the documents folder and opened.
#include <gtest/gtest.h>

#include <regex>

#include "app/AppTestUtil.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"

namespace orvel {
namespace {

using test::OrvelAppTest;

struct THelpWindow : test::TFakeWindow {
    int QuickHelps = 0;
    int Credits = 0;
    void ShowQuickHelp() override { ++QuickHelps; }
    void ShowCredits() override { ++Credits; }
};

class HelpCommandsTest : public OrvelAppTest {
protected:
    void SetUp() override {
        OrvelAppTest::SetUp();
        app = std::make_unique<TOrvelApp>(fp, folders);
        app->ExePath = dir.File("orvel-jigsaw");
        helpWindow.App = app.get();
        helpWindow.Bounds = app->NormalBounds();
        app->AttachView(&helpWindow);
        app->StartUp();
    }

    std::string OpenPatternJigsaw() {
        const std::string path = app->Paths.JigsawsDir + "pattern.orv";
        TJigsawContent c;
        c.ImageW = 320;
        c.ImageH = 240;
        c.Label = "pattern";
        c.Thumb = test::JpegOf(test::PatternPicture(40, 30));
        c.Descriptions = {"A pattern"};
        c.Pictures = {test::BitmapOf(test::PatternPicture(320, 240))};
        EXPECT_TRUE(WriteJigsaw(path, c).Ok());
        app->Settings.Level = 10;
        app->Settings.ShapeStyle = 0;
        app->OpenFile(path);
        return path;
    }

    THelpWindow helpWindow;
};

TEST_F(HelpCommandsTest, ContentsOpensTheContentsPageFromMenuKeyAndToolbar) {
    for (int cmd : {MI_HelpCont, MI_HelpQuick, MI_HelpReport, MI_HelpCredits})
        EXPECT_TRUE(app->Menu().Enabled[cmd]) << cmd;
    app->RunCommand(MI_HelpCont);
    Key(kKeyF1);
    app->ToolMouseMove(BI_Help, false);
    app->ToolMouseDown(BI_Help);
    app->ToolMouseUp();
    EXPECT_EQ(fp.HelpPages, (std::vector<std::string>(3, "cont-zent.htm")));

    app->RunCommand(MI_HelpQuick);
    app->RunCommand(MI_HelpCredits);
    EXPECT_EQ(helpWindow.QuickHelps, 1);
    EXPECT_EQ(helpWindow.Credits, 1);
}

TEST_F(HelpCommandsTest, TheReportOfAGameInPlayIsSavedWithCrLfAndOpened) {
    const std::string jigsaw = OpenPatternJigsaw();
    ASSERT_TRUE(app->Game.GameLoaded);
    app->RunCommand(MI_HelpReport);
    ASSERT_EQ(fp.Opened, std::vector<std::string>{app->Paths.ReportFile});
    EXPECT_EQ(app->Paths.ReportFile, app->Paths.DocsDir + "orvel-report.txt");
    const std::string text = test::ReadFile(app->Paths.ReportFile);
    EXPECT_TRUE(fp.Messages.empty());

    // Every line ends in CR LF; no bare LF.
    ASSERT_TRUE(text.ends_with("\r\n"));
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    for (const std::string& line : lines) EXPECT_EQ(line.find('\n'), std::string::npos);

    const auto at = [&](const std::string& line) {
        return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    };
    const size_t jig = at("------ Jigsaw ------");
    ASSERT_LT(jig, lines.size());
    EXPECT_LT(at("Exe path = " + dir.File("orvel-jigsaw")), jig);
    EXPECT_LT(jig, at("------ Options ------"));
    EXPECT_EQ(lines[jig + 2], "sJig: " + jigsaw);
    EXPECT_EQ(lines[jig + 3], "sSolve: ");
    EXPECT_EQ(lines[jig + 4], "sJigName: pattern");
    const GameHeader& h = app->Game.Header;
    EXPECT_EQ(lines[jig + 11], "TileNum = " + std::to_string(h.TileNum) +
                                   ", TotalTileNum = " + std::to_string(h.TotalTileNum));
    // Every piece starts on the first side.
    EXPECT_TRUE(std::regex_match(lines[jig + 19], std::regex(R"(Jigs in MW_SIDE0 = [1-9]\d*)")));
    EXPECT_EQ(lines[jig + 20], "Jigs in MW_SIDE1 = 0");
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(lines[jig + 21 + k], "Jigs in MW_POCKET" + std::to_string(k) + " = 0");
    EXPECT_TRUE(std::regex_match(lines[jig + 25], std::regex(R"(iUnsolvedNum = [1-9]\d*)")));
    EXPECT_EQ(lines[jig + 26], "iSolvedPercent = 0");
    EXPECT_TRUE(std::regex_match(lines[at("------ Screen ------") + 2],
                                 std::regex("ScreenW = 1280, ScreenH = 800")));
}

TEST_F(HelpCommandsTest, AReportThatCannotBeSavedIsReportedAndTheOpeningStillTried) {
    std::filesystem::remove_all(app->Paths.DocsDir);
    test::WriteFile(dir.File("docs"), "a file where the documents folder should be");
    app->RunCommand(MI_HelpReport);
    EXPECT_EQ(fp.Messages.size(), 1u);
    EXPECT_EQ(fp.Opened.size(), 1u);
}

}  // namespace
}  // namespace orvel
