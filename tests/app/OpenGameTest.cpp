// Opening a jigsaw through the application core: the open command with its
// chooser, the opening sequence, failures that leave no half game, the
// recent-file list and the progress display.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/AppTestUtil.h"
#include "app/RecentFiles.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using test::OrvelAppTest;

class OpenGameTest : public OrvelAppTest {
protected:
    void SetUp() override {
        OrvelAppTest::SetUp();
        Start();
        // A quick cut of a small picture.
        app->Settings.Level = 10;
        app->Settings.ShapeStyle = 0;
        app->Settings.Rotate = true;
    }

    // A w x h pattern jigsaw in the player's Jigsaws folder.
    std::string Jigsaw(const std::string& name, int w = 320, int h = 240) {
        const std::string path = app->Paths.JigsawsDir + name;
        TJigsawContent c;
        c.ImageW = w;
        c.ImageH = h;
        c.Label = "pattern";
        c.Thumb = test::JpegOf(test::PatternPicture(40, 30));
        c.Descriptions = {"A pattern"};
        c.Pictures = {test::BitmapOf(test::PatternPicture(w, h))};
        EXPECT_TRUE(WriteJigsaw(path, c).Ok());
        return path;
    }

    void OpenThroughChooser(const std::string& path) {
        fp.QueueFileChoice(path);
        Key('O');
    }

    // Every command the progress display holds back is off.
    void ExpectHeldBack() {
        const TMenuState& m = app->Menu();
        for (int cmd : {MI_FileOpen, MI_Game, MI_Pockets, MI_FullScreen, MI_FileLast0})
            EXPECT_FALSE(m.Enabled[cmd]) << cmd;
        for (int slot : {BI_Open, BI_Thumb, BI_Win1, BI_FullScreen})
            EXPECT_FALSE(app->Toolbar().Buttons[slot].Enabled) << slot;
    }
};

TEST_F(OpenGameTest, TheOpenCommandStartsTheChosenJigsawOnTheFirstSide) {
    const std::string path = Jigsaw("pattern.orv");
    app->AddRecent(app->Paths.JigsawsDir + "older.orv");
    int heldBackSteps = 0;
    window.OnProgressStep = [&] {
        ExpectHeldBack();
        ++heldBackSteps;
    };
    OpenThroughChooser(path);

    ASSERT_EQ(fp.FileChoices.size(), 1u);
    EXPECT_EQ(fp.FileChoices[0].Start, app->Paths.JigsawsDir);
    EXPECT_EQ(fp.FileChoices[0].Patterns, (std::vector<std::string>{"*.orv", "*.sv1"}));
    EXPECT_EQ(fp.FileChoices[0].FilterText, "Jigsaws");
    EXPECT_TRUE(fp.Messages.empty()) << fp.Messages[0].Text;

    const TGame& g = app->Game;
    ASSERT_TRUE(g.GameLoaded);
    EXPECT_EQ(g.Header.Level, 10);
    EXPECT_EQ(g.Header.ImageW, 320);
    EXPECT_TRUE(g.Header.Rotate);
    EXPECT_EQ(g.sJig, path);
    const int n = PiecesInPlay(g);
    EXPECT_GT(n, 4);
    for (int i = 0; i < n; ++i) EXPECT_EQ(g.Pieces[i].window, MW_SIDE0);
    EXPECT_EQ(g.CurSide, 0);
    EXPECT_TRUE(app->Wins.Wins[MW_SIDE0].Visible);
    // The sides fill the play area: the work area less frame, caption and toolbar.
    EXPECT_EQ(app->Wins.Wins[MW_SIDE0].ContentW, 1280 - 8);
    EXPECT_EQ(app->Wins.Wins[MW_SIDE0].ContentH, 760 - 8 - 23 - 35);
    EXPECT_EQ(app->Wins.Wins[MW_POCKET0].MaxClientW, 1280 - 8);

    // Game menus on, Save and Save As with them.
    const TMenuState& m = app->Menu();
    for (int cmd : {MI_Game, MI_Pockets, MI_GameWin1, MI_GameThumb, MI_FileOpen, MI_FileSave,
                    MI_FileSaveAs})
        EXPECT_TRUE(m.Enabled[cmd]) << cmd;
    EXPECT_TRUE(app->Toolbar().Buttons[BI_Save].Enabled);
    EXPECT_TRUE(app->Toolbar().Buttons[BI_Thumb].Enabled);
    EXPECT_FALSE(g.Modified || g.ModifiedSinceAutosave || g.Busy);
    EXPECT_EQ(app->LastAutoSave, fp.NowDays);
    EXPECT_EQ(window.AutoSaveStarts, 1);

    // The new file heads the recent list.
    ASSERT_EQ(app->Settings.RecentFiles.size(), 2u);
    EXPECT_EQ(app->Settings.RecentFiles[0].Path, path);
    EXPECT_EQ(m.Captions[MI_FileLast0], "&1. pattern.orv");
    EXPECT_EQ(m.Captions[MI_FileLast1], "&2. older.orv");
    EXPECT_TRUE(m.Visible[MI_FileLastSep]);

    // Progress: one panel, never filled past its end, hidden again; the
    // commands were held back all the while.
    EXPECT_EQ(window.ProgressTexts, (std::vector<std::string>{"Opening the jigsaw..."}));
    EXPECT_EQ(window.ProgressHides, 1);
    EXPECT_GT(heldBackSteps, 5);
    for (auto [done, steps] : window.ProgressSteps) EXPECT_LE(done, steps);
    EXPECT_FALSE(app->ProgressUp());

    // The thumbnail window shows the picture, scaled to its client.
    Key('T');
    const TMyWin& thumb = app->Wins.Wins[MW_THUMB];
    ASSERT_TRUE(thumb.Visible);
    EXPECT_EQ(thumb.Outer.Left, 0);
    EXPECT_EQ(app->Layers.ThumbPicture, &app->GameView.ThumbBuffer);
    EXPECT_EQ(app->GameView.ThumbBuffer.Width, 160);
    EXPECT_EQ(thumb.Client.Width, 80);
    TMyBitmap scaled;
    ASSERT_TRUE(Create24(scaled, thumb.Client.Width, thumb.Client.Height));
    ScaleInto(scaled, app->Game.Buffers[0]);
    for (int d : {3, 20, 50})
        EXPECT_EQ(GetPixel(app->View.Field, thumb.Client.Left + d, thumb.Client.Top + d / 2),
                  GetPixel(scaled, d, d / 2));
}

TEST_F(OpenGameTest, CancellingTheChooserChangesNothing) {
    OpenThroughChooser(Jigsaw("pattern.orv"));
    ASSERT_TRUE(app->Game.GameLoaded);
    const int32_t seed = app->Game.Header.GameSeed;
    const std::vector<TRecentFile> recent = app->Settings.RecentFiles;
    Key('O');  // nothing queued: the player cancels
    EXPECT_EQ(fp.FileChoices.size(), 2u);
    // The chooser starts at the jigsaw in play.
    EXPECT_EQ(fp.FileChoices[1].Start, app->Game.sJig);
    EXPECT_TRUE(app->Game.GameLoaded);
    EXPECT_EQ(app->Game.Header.GameSeed, seed);
    EXPECT_EQ(app->Settings.RecentFiles, recent);
    EXPECT_EQ(window.ProgressTexts.size(), 1u);
    EXPECT_TRUE(fp.Messages.empty());
}

TEST_F(OpenGameTest, BrokenFilesShowInvalidJigsawAndLeaveNoHalfGame) {
    const std::string good = Jigsaw("pattern.orv");
    OpenThroughChooser(good);
    ASSERT_TRUE(app->Game.GameLoaded);
    Key('T');

    // Not a jigsaw at all: refused before the game in play is touched.
    const std::string junk = app->Paths.JigsawsDir + "junk.orv";
    test::WriteFile(junk, "this is no jigsaw");
    OpenThroughChooser(junk);
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_EQ(fp.Messages[0].Text.rfind("Invalid Jigsaw\n\n", 0), 0u) << fp.Messages[0].Text;
    EXPECT_TRUE(app->Game.GameLoaded);
    EXPECT_TRUE(app->Menu().Enabled[MI_Game]);
    EXPECT_TRUE(app->Wins.Wins[MW_THUMB].Visible);
    EXPECT_EQ(window.ProgressTexts.size(), 1u);

    // Header and thumbnail intact, picture cut short: the new game fails
    // while it is built, after the old one was let go. No game is left.
    const std::string cut = Jigsaw("cut.orv");
    std::vector<uint8_t> bytes = test::ReadBytes(cut);
    bytes.resize(bytes.size() - 500);
    test::WriteBytes(cut, bytes);
    OpenThroughChooser(cut);
    ASSERT_EQ(fp.Messages.size(), 2u);
    EXPECT_EQ(fp.Messages[1].Text.rfind("Invalid Jigsaw", 0), 0u) << fp.Messages[1].Text;
    const TGame& g = app->Game;
    EXPECT_FALSE(g.GameLoaded);
    EXPECT_EQ(PiecesInPlay(g), 0);
    EXPECT_EQ(g.Buffers[0].Width, 0);
    EXPECT_EQ(app->GameView.ThumbBuffer.Width, 0);
    EXPECT_FALSE(app->Wins.Wins[MW_THUMB].Visible);
    EXPECT_EQ(app->Wins.Wins[MW_SIDE0].ContentW, 0);
    EXPECT_FALSE(app->Menu().Enabled[MI_Game]);
    EXPECT_FALSE(app->Toolbar().Buttons[BI_Thumb].Enabled);
    EXPECT_TRUE(app->Menu().Enabled[MI_FileOpen]);
    EXPECT_FALSE(app->ProgressUp());
    EXPECT_EQ(app->Settings.RecentFiles[0].Path, good);

    // A broken saved game is refused the same way.
    const std::string saved = app->Paths.SavedGamesDir + "game.sv1";
    test::WriteFile(saved, "x");
    app->OpenCommand(saved, true);
    ASSERT_EQ(fp.Messages.size(), 3u);
    EXPECT_NE(fp.Messages[2].Text.find("Invalid Saved Game"), std::string::npos);
    EXPECT_EQ(fp.FileChoices.size(), 3u);
}

TEST_F(OpenGameTest, RecentItemsReopenTheirFilesAtOnce) {
    const std::string a = Jigsaw("a.orv"), b = Jigsaw("b.orv");
    OpenThroughChooser(a);
    OpenThroughChooser(b);
    ASSERT_EQ(app->Settings.RecentFiles.size(), 2u);
    EXPECT_EQ(app->Settings.RecentFiles[1].Path, a);
    app->RunCommand(MI_FileLast1);
    EXPECT_EQ(fp.FileChoices.size(), 2u);  // no chooser
    EXPECT_EQ(app->Game.sJig, a);
    EXPECT_EQ(app->Settings.RecentFiles[0].Path, a);
    EXPECT_EQ(app->Settings.RecentFiles[1].Path, b);
    EXPECT_EQ(app->Menu().Captions[MI_FileLast1], "&2. b.orv");
    // A recent file that is gone opens the chooser on it instead.
    fs::remove(b);
    app->RunCommand(MI_FileLast1);
    ASSERT_EQ(fp.FileChoices.size(), 3u);
    EXPECT_EQ(fp.FileChoices[2].Start, b);
    EXPECT_EQ(app->Game.sJig, a);
}

TEST(RecentFiles, MoveToTheFrontAndKeepFour) {
    std::vector<TRecentFile> list;
    for (const char* p : {"/j/a.orv", "/j/b.orv", "/j/c.orv", "/j/d.orv", "/j/e.orv"})
        AddRecentToList(list, p);
    auto paths = [&] {
        std::vector<std::string> out;
        for (const TRecentFile& f : list) out.push_back(f.Path);
        return out;
    };
    EXPECT_EQ(paths(), (std::vector<std::string>{"/j/e.orv", "/j/d.orv", "/j/c.orv", "/j/b.orv"}));
    EXPECT_EQ(list[0].Name, "e.orv");
    // Found again in another case: moved up, not added; those before it move down.
    AddRecentToList(list, "/J/C.ORV");
    EXPECT_EQ(paths(), (std::vector<std::string>{"/J/C.ORV", "/j/e.orv", "/j/d.orv", "/j/b.orv"}));
    AddRecentToList(list, "/j/b.orv");
    EXPECT_EQ(paths(), (std::vector<std::string>{"/j/b.orv", "/J/C.ORV", "/j/e.orv", "/j/d.orv"}));
    AddRecentToList(list, "/j/b.orv");
    EXPECT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1].Path, "/J/C.ORV");
}

TEST(RecentFiles, PathsCompareWithoutCaseInEveryScript) {
    EXPECT_TRUE(SameRecentPath("/j/\xC3\x84pfel.orv", "/J/\xC3\xA4PFEL.orv"));  // Ä, ä
    EXPECT_TRUE(SameRecentPath("/\xD0\x9B\xD0\xB5\xD1\x81.orv",
                               "/\xD0\xBB\xD0\x95\xD0\xA1.orv"));  // Лес, лЕС
    EXPECT_FALSE(SameRecentPath("/j/a.orv", "/j/b.orv"));
    EXPECT_FALSE(SameRecentPath("/j/a.orv", "/j/a.orv.bak"));
    // Bytes that are no UTF-8 match only themselves.
    EXPECT_TRUE(SameRecentPath("/j/\xE9t\xE9.orv", "/j/\xE9T\xE9.orv"));
    EXPECT_FALSE(SameRecentPath("/j/\xE9.orv", "/j/\xC3\xA9.orv"));
    EXPECT_FALSE(SameRecentPath("/j/\xC3", "/j/\xC3\xA9"));
}

TEST_F(OpenGameTest, ProgressHoldsBackTheListedCommandsAndNeverOverfills) {
    OpenThroughChooser(Jigsaw("pattern.orv"));
    ASSERT_TRUE(app->Game.GameLoaded);
    window.ProgressSteps.clear();
    app->ShowProgress("Working", 3);
    ExpectHeldBack();
    for (int i = 0; i < 5; ++i) app->StepProgress();
    ASSERT_EQ(window.ProgressSteps.size(), 5u);
    EXPECT_EQ(window.ProgressSteps.back(), std::make_pair(3, 3));
    app->HideProgress();
    const TMenuState& m = app->Menu();
    for (int cmd : {MI_FileOpen, MI_Game, MI_Pockets, MI_FullScreen, MI_FileLast0})
        EXPECT_TRUE(m.Enabled[cmd]) << cmd;
    for (int slot : {BI_Open, BI_Thumb, BI_Win1, BI_FullScreen})
        EXPECT_TRUE(app->Toolbar().Buttons[slot].Enabled) << slot;
    // Without a game the game commands stay off after the panel.
    app->Game.GameLoaded = false;
    app->ShowProgress("Working", 1);
    app->HideProgress();
    EXPECT_FALSE(m.Enabled[MI_Game]);
    EXPECT_TRUE(m.Enabled[MI_FileOpen]);
}

}  // namespace
}  // namespace orvel
