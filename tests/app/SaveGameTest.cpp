// Saved games through the application core: saving and resuming the game in
// play, state updates, the autosave file, the save-changes question and
// saves that fail.
#include <filesystem>

#include "app/AppTestUtil.h"
#include "app/AutoPlay.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "game/SavedGameFile.h"

namespace orvel::test {
namespace {

namespace fs = std::filesystem;

class SaveGameTest : public OrvelAppTest {
protected:
    void SetUp() override {
        OrvelAppTest::SetUp();
        fp.Counter = 4242;
        Start();
        app->Settings.Level = 11;
        app->Settings.ShapeStyle = 0;
        app->Settings.Rotate = true;
        jigsaw = app->Paths.JigsawsDir + "pattern.orv";
        TJigsawContent c;
        c.ImageW = 320;
        c.ImageH = 240;
        c.Label = "pattern";
        c.Thumb = JpegOf(PatternPicture(40, 30));
        c.Descriptions = {"A pattern"};
        c.Pictures = {BitmapOf(PatternPicture(320, 240))};
        ASSERT_TRUE(WriteJigsaw(jigsaw, c).Ok());
        app->OpenCommand(jigsaw, true);
        ASSERT_TRUE(app->Game.GameLoaded);
        saved = app->Paths.SavedGamesDir + "mine.sv1";
    }

    // A few moves with the mouse, one group in a shown pocket, the weight
    // on a piece, a background and a play option of the player's own.
    void Play() {
        TAppHands hands(*app);
        TAutoPlay(app->Game, app->Wins, app->Settings, hands).Play(4);
        TGame& g = app->Game;
        const int n = PiecesInPlay(g);
        g.Pieces[n - 1].window = MW_POCKET1;
        g.Pieces[n - 1].group = n + 100;  // alone in its group
        g.Pieces[n - 1].posX = g.Pieces[n - 1].posY = 12;
        SetVisible(app->Wins, app->Wins.Wins[MW_POCKET1], true);
        g.WeightPiece = 1;
        app->Wins.Wins[MW_SIDE1].Background = 0x204060;
        app->Settings.RotCW_Button = 2;
        MarkChanged(g);
    }

    std::vector<uint8_t> Bytes(const std::string& path) const { return ReadBytes(path); }

    std::string jigsaw, saved;
};

// Where two files first differ, for a readable failure; -1 when they are equal.
long FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t k = 0; k < n; ++k)
        if (a[k] != b[k]) return static_cast<long>(k);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

std::vector<uint8_t> PieceBytes(const TGame& g) {
    const auto* p = reinterpret_cast<const uint8_t*>(g.Pieces.data());
    return {p, p + PiecesInPlay(g) * sizeof(TPiece)};
}

TEST_F(SaveGameTest, AResumedGameIsTheGameThatWasSaved) {
    Play();
    ASSERT_TRUE(app->SaveAsPath(app->Paths.SavedGamesDir + "mine"));  // ".sv1" is added
    EXPECT_EQ(app->Game.sSolve, saved);
    EXPECT_FALSE(app->Game.Modified || app->Game.ModifiedSinceAutosave);
    EXPECT_EQ(app->Settings.RecentFiles[0].Path, saved);
    const std::vector<uint8_t> pieces = PieceBytes(app->Game);
    const GameHeader header = app->Game.Header;
    const std::vector<uint8_t> first = Bytes(saved);

    // Another game in between, and the player's options changed meanwhile.
    app->OpenCommand(jigsaw, true);
    app->Settings.RotCW_Button = 0;
    app->Wins.Wins[MW_SIDE1].Background = 0;
    ASSERT_NE(PieceBytes(app->Game), pieces);

    // The recent-file list opens the saved game at once.
    ASSERT_EQ(app->Settings.RecentFiles[1].Path, saved);
    app->RunCommand(MI_FileLast1);
    ASSERT_TRUE(fp.Messages.empty()) << fp.Messages[0].Text;
    const TGame& g = app->Game;
    ASSERT_TRUE(g.GameLoaded);
    EXPECT_EQ(g.sSolve, saved);
    EXPECT_EQ(g.sJigName, "pattern");
    EXPECT_EQ(g.Header.GameSeed, header.GameSeed);
    EXPECT_EQ(PieceBytes(g), pieces);
    EXPECT_EQ(g.WeightPiece, 1);
    EXPECT_TRUE(app->Wins.Wins[MW_POCKET1].Visible);
    EXPECT_TRUE(app->Menu().Checked[MI_PocketsPocket2]);
    EXPECT_EQ(app->Wins.Wins[MW_POCKET1].Groups, 1);
    EXPECT_EQ(app->Wins.Wins[MW_SIDE1].Background, 0x204060);
    EXPECT_EQ(app->Settings.RotCW_Button, 2);
    EXPECT_TRUE(SamePixels(app->Game.Buffers[0], PatternPicture(320, 240)));
    EXPECT_FALSE(g.Modified || g.ModifiedSinceAutosave);

    // Saved again, as it is: the same file, byte for byte.
    ASSERT_TRUE(app->SaveAsPath(app->Paths.SavedGamesDir + "again.sv1"));
    EXPECT_EQ(FirstDifference(Bytes(app->Paths.SavedGamesDir + "again.sv1"), first), -1)
        << "the state starts at " << ReadSavedGame(saved, SaveReadMode::Browse).Value().StateOffset;
}

TEST_F(SaveGameTest, SavingAgainRewritesOnlyTheStateAndKeepsTheAutosaveAlongside) {
    Play();
    ASSERT_TRUE(app->SaveAsPath(saved));
    const std::vector<uint8_t> before = Bytes(saved);
    // After the player's save the autosave file holds the same game.
    const std::string autosave = app->Paths.AutosaveFile;
    ASSERT_EQ(Bytes(autosave), before);

    Play();
    app->RunCommand(MI_FileSave);
    EXPECT_TRUE(fp.FileChoices.empty());  // saved under its name, no question
    const std::vector<uint8_t> after = Bytes(saved);
    ASSERT_EQ(after.size(), before.size());
    const int32_t stateAt = ReadSavedGame(saved, SaveReadMode::Browse).Value().StateOffset;
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + stateAt, after.begin()));
    EXPECT_NE(after, before);

    // A later autosave updates the autosave file's state in place; the
    // game stays changed for the player.
    Play();
    app->Game.Pieces[0].selected = 1;  // a selection is never saved
    app->Game.HasSelection = true;
    app->Settings.AutoSave_bEnabled = true;
    fp.SleepMs(app->Settings.AutoSave_iIntervalMin * 60 * 1000 + 1000);
    app->AutoSaveTick();
    EXPECT_TRUE(app->Game.Modified);
    EXPECT_FALSE(app->Game.ModifiedSinceAutosave);
    const std::vector<uint8_t> autosaved = Bytes(autosave);
    ASSERT_EQ(autosaved.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + stateAt, autosaved.begin()));
    EXPECT_EQ(Bytes(saved), after);
    EXPECT_FALSE(fs::exists(app->Paths.SaveScratchFile));
    ResultOf<TSavedGameData> read = ReadSavedGame(autosave, SaveReadMode::Resume);
    ASSERT_TRUE(read.Ok());
    for (const TPiece& p : read.Value().State.Pieces) EXPECT_EQ(p.selected, 0);
    EXPECT_EQ(read.Value().State.Pieces[0].posX, app->Game.Pieces[0].posX);
}

TEST_F(SaveGameTest, SaveOnTheAutosaveFileAsksForAName) {
    Play();
    app->Game.sSolve = app->Paths.AutosaveFile;
    fp.QueueFileChoice(saved);
    app->RunCommand(MI_FileSave);
    ASSERT_EQ(fp.FileChoices.size(), 1u);
    EXPECT_EQ(fp.FileChoices[0].Patterns, std::vector<std::string>{"*.sv1"});
    EXPECT_EQ(fp.FileChoices[0].Start, app->Paths.SavedGamesDir + "pattern.sv1");
    EXPECT_EQ(app->Game.sSolve, saved);
    EXPECT_TRUE(ReadSavedGame(saved, SaveReadMode::Resume).Ok());
}

TEST_F(SaveGameTest, TheSaveChangesQuestion) {
    Play();
    // No: the window closes without a save.
    fp.QueueAnswer(MsgResult::No);
    EXPECT_TRUE(app->AskSaveChanges());
    EXPECT_FALSE(fs::exists(saved));
    // Cancel: the game stays open and changed.
    fp.QueueAnswer(MsgResult::Cancel);
    EXPECT_FALSE(app->CloseRequest());
    EXPECT_TRUE(app->Game.GameLoaded && app->Game.Modified);
    // Yes with no name yet: the player names the file, or cancels and stays.
    fp.QueueAnswer(MsgResult::Yes);
    EXPECT_FALSE(app->AskSaveChanges());
    fp.QueueAnswer(MsgResult::Yes);
    fp.QueueFileChoice(saved);
    EXPECT_TRUE(app->AskSaveChanges());
    EXPECT_TRUE(fs::exists(saved));
    EXPECT_FALSE(app->Game.Modified);
    // Unchanged: nothing is asked.
    const size_t asked = fp.Messages.size();
    EXPECT_TRUE(app->AskSaveChanges());
    EXPECT_EQ(fp.Messages.size(), asked);
    // Yes with a name: saved there before another game opens.
    Play();
    fp.QueueAnswer(MsgResult::Yes);
    const std::vector<TPiece> before(app->Game.Pieces.begin(),
                                     app->Game.Pieces.begin() + PiecesInPlay(app->Game));
    app->OpenCommand(jigsaw, true);
    ResultOf<TSavedGameData> read = ReadSavedGame(saved, SaveReadMode::Resume);
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.Value().State.Pieces[0].posX, before[0].posX);
    EXPECT_EQ(read.Value().State.Pieces[0].group, before[0].group);
}

TEST_F(SaveGameTest, AFailedSaveSaysSoAndKeepsTheOldFileAndTheWindow) {
    Play();
    ASSERT_TRUE(app->SaveAsPath(saved));
    const std::vector<uint8_t> old = Bytes(saved);
    Play();
    const TWriteFaults full{1000, false, false};
    app->SaveFaults = &full;
    app->Game.Header.GameSeed ^= 1;  // another game: a full save is due
    EXPECT_FALSE(app->SaveGame(saved, false));
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_NE(fp.Messages[0].Text.find("could not be saved to \"" + saved + "\""),
              std::string::npos)
        << fp.Messages[0].Text;
    EXPECT_EQ(Bytes(saved), old);
    EXPECT_TRUE(app->Game.Modified);
    EXPECT_FALSE(fs::exists(app->Paths.SaveScratchFile));
    // Asked at closing, the failed save keeps the window open.
    fp.QueueAnswer(MsgResult::Yes);
    EXPECT_FALSE(app->CloseRequest());
    EXPECT_EQ(Bytes(saved), old);
    app->SaveFaults = nullptr;
}

TEST_F(SaveGameTest, BrokenSavedGamesAreRefusedAndTheGameInPlayStays) {
    Play();
    ASSERT_TRUE(app->SaveAsPath(saved));
    std::vector<uint8_t> cut = Bytes(saved);
    cut.resize(cut.size() / 2);
    const std::string broken = app->Paths.SavedGamesDir + "broken.sv1";
    WriteBytes(broken, cut);
    const std::vector<uint8_t> pieces = PieceBytes(app->Game);
    app->OpenCommand(broken, true);
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_NE(fp.Messages[0].Text.find("Invalid Saved Game"), std::string::npos);
    EXPECT_TRUE(app->Game.GameLoaded);
    EXPECT_EQ(PieceBytes(app->Game), pieces);
}

}  // namespace
}  // namespace orvel::test
