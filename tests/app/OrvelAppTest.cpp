#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/AppTestUtil.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using test::OrvelAppTest;

TEST_F(OrvelAppTest, MenuKeysRunOnlyTheCommandsThatAreOn) {
    Start();
    ASSERT_TRUE(fp.Messages.empty());
    std::set<int> ran;
    for (const TMenuItemDef& d : MenuItems()) {
        if (d.Key == 0 || d.Key == kKeySpace) continue;
        app->CommandLog.clear();
        Key(d.Key, d.Shift);
        ran.insert(app->CommandLog.begin(), app->CommandLog.end());
    }
    // No game: only the menu, Open (its chooser cancelled here), Download
    // (no window to show here), full screen and the help's contents; Save
    // and the rest are off, and their keys do nothing.
    EXPECT_EQ(ran, (std::set<int>{MI_Menu, MI_FileOpen, MI_FileDownload, MI_FullScreen,
                                  MI_HelpCont}));
    EXPECT_EQ(fp.HelpPages, (std::vector<std::string>{"cont-zent.htm"}));
    // The menu pops up under the App button.
    ASSERT_EQ(window.MenuPopUps.size(), 1u);
    EXPECT_EQ(window.MenuPopUps[0], std::make_pair(4, 2 + 29));
    // With a game the game keys reach the walk; of these the thumbnail, the
    // glass, the first pocket, tiling and Save are part of the program yet,
    // the others still do nothing.
    LoadGame();
    app->CommandLog.clear();
    for (uint16_t key : {'T', 'G', '1', 'L', 'S'}) Key(key);
    EXPECT_EQ(app->CommandLog, (std::vector<int>{MI_GameThumb, MI_GameGlass, MI_PocketsPocket1,
                                                 MI_PocketsTile, MI_FileSave}));
    // Keys are ignored while the progress panel is up.
    const bool fullScreen = app->IsFullScreen();
    app->ShowProgress("Working", 2);
    Key('U');
    EXPECT_EQ(app->IsFullScreen(), fullScreen);
    app->HideProgress();
}

TEST_F(OrvelAppTest, FullScreenAndBackKeepTheWindowOnTheWorkArea) {
    Start();
    window.Bounds = {100, 100, 700, 600};  // the player moved and shrank it
    app->Resize(700, 600);
    Key('U');
    EXPECT_TRUE(app->IsFullScreen());
    EXPECT_TRUE(window.FullScreen);
    EXPECT_EQ(window.Bounds, (TBounds{0, 0, 1280, 800}));
    EXPECT_TRUE(app->Menu().Checked[MI_FullScreen]);
    EXPECT_TRUE(app->Toolbar().Buttons[BI_FullScreen].Down);
    EXPECT_TRUE(app->Toolbar().Buttons[BI_Close].Visible);
    EXPECT_EQ(app->Toolbar().Buttons[BI_Close].Left, 1280 - 30);
    EXPECT_EQ(app->Wins.Wins[MW_SIDE0].Outer.Width, 1280);
    EXPECT_TRUE(app->Settings.FullScreen);
    Key('U');
    EXPECT_FALSE(window.FullScreen);
    // The client as large as the work area allows (frames 4, caption 23),
    // moved left and up so that the whole window lies on the work area.
    EXPECT_EQ(window.Bounds, (TBounds{4, 27, 1280 - 8, 760 - 8 - 23}));
    EXPECT_FALSE(app->Toolbar().Buttons[BI_Close].Visible);
    EXPECT_EQ(app->Wins.Wins[MW_SIDE0].Outer.Width, 1272);
    // The screen's top-right corner closes the program in full screen only.
    app->ToolbarPanelPress(1270, 0);
    app->ToolbarPanelRelease(1270, 0);
    EXPECT_FALSE(window.Closed);
    Key('U');
    app->ToolbarPanelPress(1279, 0);
    app->ToolbarPanelRelease(1279, 0);
    EXPECT_TRUE(window.Closed);
}

TEST(NormalWindowBounds, TheWholeWindowStaysOnTheWorkArea) {
    ScreenMetrics sm;
    sm.WorkArea = {64, 30, 1919, 1079};  // panels at the left and the top
    for (int x : {-500, 0, 70, 100, 900, 3000})
        for (int y : {-500, 40, 100, 2000}) {
            const TBounds b = NormalWindowBounds({x, y, 800, 600}, sm);
            EXPECT_EQ(b.W, 1856 - 8);
            EXPECT_EQ(b.H, 1050 - 8 - 23);
            EXPECT_GE(b.X - sm.FrameW, sm.WorkArea.Left);
            EXPECT_LE(b.X + b.W + sm.FrameW - 1, sm.WorkArea.Right);
            EXPECT_GE(b.Y - sm.FrameH - sm.CaptionH, sm.WorkArea.Top);
            EXPECT_LE(b.Y + b.H + sm.FrameH - 1, sm.WorkArea.Bottom);
        }
}

TEST_F(OrvelAppTest, SpaceAndTheSideCommandsSwitchSidesWhileBusy) {
    Start();
    std::vector<bool> busyWhileDrawing;
    app->Layers.DrawOverlays = [&](TMyBitmap&, const TMyRect&) {
        busyWhileDrawing.push_back(app->Game.Busy);
    };
    Key(kKeySpace);
    EXPECT_EQ(app->Game.CurSide, 0);  // no game
    LoadGame();
    app->Settings.bSingleWin = true;
    app->EnableGameCommands(true);
    Key(kKeySpace);
    EXPECT_EQ(app->Game.CurSide, 0);  // one side only
    app->RunCommand(MI_GameWin2);
    EXPECT_EQ(app->Game.CurSide, 0);
    app->Settings.bSingleWin = false;
    app->EnableGameCommands(true);
    busyWhileDrawing.clear();
    Key(kKeySpace);
    EXPECT_EQ(app->Game.CurSide, 1);
    EXPECT_TRUE(app->Wins.Wins[MW_SIDE1].Visible);
    EXPECT_FALSE(app->Wins.Wins[MW_SIDE0].Visible);
    EXPECT_TRUE(app->Menu().Checked[MI_GameWin2]);
    EXPECT_TRUE(app->Toolbar().Buttons[BI_Win2].Down);
    app->RunCommand(MI_GameWin1);
    EXPECT_EQ(app->Game.CurSide, 0);
    EXPECT_FALSE(app->Game.Busy);
    ASSERT_FALSE(busyWhileDrawing.empty());
    for (bool busy : busyWhileDrawing) EXPECT_TRUE(busy);
}

TEST_F(OrvelAppTest, TheOtherCommandsReachTheWindow) {
    Start();
    app->RunCommand(MI_HelpAbout);
    EXPECT_EQ(window.AboutBoxes, (std::vector<std::string>{"About Orvel Jigsaw Zentia Tour"}));
    app->RunCommand(MI_Min);
    EXPECT_EQ(window.Minimized, 1);
    app->RunCommand(MI_HelpCont);
    EXPECT_EQ(fp.HelpPages, (std::vector<std::string>{"cont-zent.htm"}));
    app->RunCommand(MI_Exit);
    EXPECT_TRUE(window.Closed);
    EXPECT_TRUE(fs::exists(app->Paths.SettingsFile));
}

TEST_F(OrvelAppTest, HomePageItemsFollowTheBuiltAddress) {
    Start({""});
    EXPECT_FALSE(app->Menu().Visible[MI_HelpHomePage]);
    EXPECT_FALSE(app->Menu().Visible[MI_HelpProductHomePage]);
    app->RunCommand(MI_HelpHomePage);
    app->RunCommand(MI_HelpProductHomePage);
    EXPECT_TRUE(fp.Opened.empty());

    Start({"https://orvel.test/games"});
    EXPECT_TRUE(app->Menu().Visible[MI_HelpHomePage]);
    app->RunCommand(MI_HelpHomePage);
    app->RunCommand(MI_HelpProductHomePage);
    EXPECT_EQ(fp.Opened, (std::vector<std::string>{"https://orvel.test/games/",
                                                   "https://orvel.test/games/orvel-zent.htm"}));
    // Contents is on whatever the build: the help pages ship with the program.
    EXPECT_TRUE(app->Menu().Enabled[MI_HelpCont]);
    EXPECT_TRUE(app->Toolbar().Buttons[BI_Help].Enabled);
}

TEST_F(OrvelAppTest, ClosingAsksFirstThenKeepsTheSettings) {
    Start();
    LoadGame();
    app->Game.Modified = true;
    app->QuerySaveChanges = [] { return false; };
    EXPECT_FALSE(app->CloseRequest());
    EXPECT_FALSE(app->Game.Busy);
    EXPECT_FALSE(fs::exists(app->Paths.SettingsFile));
    app->QuerySaveChanges = [] { return true; };
    app->Settings.iStuckKoef = 23;
    EXPECT_TRUE(app->CloseRequest());
    TSettings written;
    TSettingsHooks quiet;
    TSettingsPaths where;
    where.UserDataDir = app->Paths.UserDataDir;
    LoadSettings(written, where, quiet);
    EXPECT_EQ(written.iStuckKoef, 23);
}

TEST_F(OrvelAppTest, AutoSaveRunsWhenDueAndNeverWhileBusy) {
    Start();
    int saves = 0;
    app->AutoSaveGame = [&] { ++saves; };
    LoadGame();
    app->Game.ModifiedSinceAutosave = true;
    app->Settings.AutoSave_iIntervalMin = 10;
    app->LastAutoSave = fp.NowDays;
    app->AutoSaveTick();
    EXPECT_EQ(saves, 0);  // the interval has not passed
    fp.SleepMs(10 * 60 * 1000);
    {
        TBusyScope busy(app->Game);
        app->AutoSaveTick();
        EXPECT_EQ(saves, 0);
    }
    test::WriteFile(app->Paths.SaveScratchFile, "x");  // a save in progress
    app->AutoSaveTick();
    EXPECT_EQ(saves, 0);
    fs::remove(app->Paths.SaveScratchFile);
    app->AutoSaveTick();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(app->LastAutoSave, fp.NowDays);
    app->AutoSaveTick();
    EXPECT_EQ(saves, 1);  // the next one waits a whole interval
    fp.SleepMs(10 * 60 * 1000);
    ASSERT_TRUE(app->CloseRequest());
    app->AutoSaveTick();
    EXPECT_EQ(saves, 1);  // nothing after the window agreed to close
}

// A program folder without language files: the warnings still read as text.
TEST_F(OrvelAppTest, WithoutLanguageFilesTheWarningsAreInEnglish) {
    folders.ProgramDir = dir.File("program");
    fs::create_directories(folders.ProgramDir + "/language");
    Start();
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_EQ(fp.Messages[0].Text,
              "The language file \"" + app->Paths.LanguageDir + "english.lng\" cannot be found.");
    fs::create_directories(app->Paths.SettingsFile);  // cannot be replaced
    EXPECT_TRUE(app->CloseRequest());
    ASSERT_EQ(fp.Messages.size(), 2u);
    EXPECT_EQ(fp.Messages[1].Text.rfind("The settings could not be saved to \"" +
                                            app->Paths.SettingsFile + "\".\nThe options",
                                        0),
              0u)
        << fp.Messages[1].Text;
}

TEST(BuiltInTexts, AreEnglishAsShipped) {
    TLanguage builtIn(nullptr, "");
    builtIn.LoadFromBytes(BuiltInEnglishTexts());
    ASSERT_FALSE(builtIn.Entries().empty());
    TLanguage english(nullptr, std::string(ORVEL_SOURCE_DIR) + "/data/language/");
    ASSERT_TRUE(english.LoadAndApply(english.LangFilePath("english")));
    for (const TLangEntry& e : builtIn.Entries())
        EXPECT_EQ(e.Text, english.LookUp(e.Section, e.Key)) << e.Key;
}

}  // namespace
}  // namespace orvel
