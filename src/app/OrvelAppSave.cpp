// The application core's saved games: Save, Save As, the autosave, the
// save-changes question and resuming a saved game.
#include <filesystem>
#include <system_error>

#include "app/OrvelApp.h"
#include "base/IoError.h"
#include "base/Text.h"
#include "game/SafeFile.h"
#include "game/SavedGameFile.h"
#include "play/SavedGame.h"
#include "play/Sides.h"

namespace orvel {

namespace {

constexpr const char* kSaveScratchName = "orvel.svt";

// Saved-game names are compared as the player sees them: case does not count.
bool SamePath(const std::string& a, const std::string& b) {
    return !a.empty() && AsciiLower(a) == AsciiLower(b);
}

void RemoveFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

}  // namespace

// ----------------------------------------------------------------- commands

void TOrvelApp::ConnectSaving() {
    QuerySaveChanges = [this] { return AskSaveChanges(); };
    AutoSaveGame = [this] { SaveGame(Paths.AutosaveFile, true); };
}

void TOrvelApp::SaveCommand() {
    TBusyScope busy(Game);
    if (Game.HasSelection && ClearSelection) ClearSelection();
    // The autosave file is the program's own: saving the game means giving it a name.
    if (SamePath(Game.sSolve, Paths.AutosaveFile)) Game.sSolve.clear();
    if (Game.sSolve.empty()) {
        SaveAsCommand();
        return;
    }
    if (SaveGame(Game.sSolve, false)) AddRecent(Game.sSolve);
}

bool TOrvelApp::SaveAsCommand() {
    TBusyScope busy(Game);
    if (m_view->HasDirView()) {
        std::string chosen;
        return ChooseSavePath(chosen) && SaveAsPath(chosen);
    }
    std::string title = Lang->LookUp(LangSection::LoadSaveForm, "Cap_Save");
    std::string start = Paths.SavedGamesDir + Game.sJigName + kSavedGameExt;
    if (!Game.sSolve.empty() && !SamePath(Game.sSolve, Paths.AutosaveFile)) start = Game.sSolve;
    const std::string chosen = m_platform.ChooseSaveFile(
        title, start, Lang->LookUp(LangSection::LoadSaveForm, "TS_Games"),
        {std::string("*") + kSavedGameExt});
    if (chosen.empty()) return false;
    return SaveAsPath(chosen);
}

bool TOrvelApp::SaveAsPath(const std::string& chosen) {
    std::string path = chosen;
    if (AsciiLower(std::filesystem::path(path).extension().string()) != kSavedGameExt)
        path += kSavedGameExt;
    if (!SaveGame(path, false)) return false;
    Game.sSolve = path;
    AddRecent(path);
    return true;
}

// A failed save keeps the game open: going on would lose what the player
// asked to keep.
bool TOrvelApp::AskSaveChanges() {
    if (!Game.GameLoaded || !Game.Modified) return true;
    const MsgResult answer = Lang->ShowMessageKey(LangSection::MainForm, "Q_SaveChanges",
                                                  MsgKind::YesNoCancel);
    if (answer == MsgResult::No) return true;
    if (answer != MsgResult::Yes) return false;
    if (SamePath(Game.sSolve, Paths.AutosaveFile)) Game.sSolve.clear();
    if (Game.sSolve.empty()) return SaveAsCommand();
    return SaveGame(Game.sSolve, false);
}

// ----------------------------------------------------------------- saving

bool TOrvelApp::SaveGame(const std::string& path, bool autosave) {
    if (!Game.GameLoaded) return false;
    TBusyScope busy(Game);
    const std::string text =
        Lang->LookUp(LangSection::MainForm, autosave ? "Prog_AutoSaveSolve" : "Prog_SaveSolve");
    ShowProgress(text, 1);
    const TSaveState state = GatherSaveState(Game, Wins, Settings, BkgCarried);
    const std::string scratch = FolderOf(path) + kSaveScratchName;
    ResultOf<bool> updated =
        UpdateSavedGameState(path, Game.Header.GameSeed, state, SaveFaults);
    if (updated && updated.Value()) StepProgress();
    HideProgress();
    if (!updated) {
        ShowResult(updated.Status());
        return false;
    }
    if (!updated.Value() && !WriteFullSave(path, scratch, autosave)) return false;
    SavedAs(path, autosave);
    return true;
}

bool TOrvelApp::WriteFullSave(const std::string& path, const std::string& scratch, bool autosave) {
    ShowProgress(Lang->LookUp(LangSection::MainForm, autosave ? "Prog_AutoSaveSolve"
                                                              : "Prog_SaveSolve"),
                 4);
    ResultOf<TSavedGameContent> content = GatherSaveContent(
        Game, Wins, Settings, BkgCarried, GameView.StoreThumb, GameView.Description);
    StepProgress();
    Result result = content.Status();
    if (result) result = WriteSavedGameScratch(path, scratch, content.Value(), SaveFaults);
    StepProgress();
    if (result) result = CommitSavedGame(scratch, path, SaveFaults);
    StepProgress();
    if (!result && !(SaveFaults && SaveFaults->Crash)) RemoveFile(scratch);
    HideProgress();
    if (!result) ShowResult(Result::Fail(kCannotSaveGame, {path}, result.Error().Detail));
    return result.Ok();
}

// After a save by the player the autosave file holds the same game, so that
// the next autosave only updates its state.
bool TOrvelApp::MirrorToAutosave(const std::string& path) {
    const std::string& autosave = Paths.AutosaveFile;
    const std::string scratch = FolderOf(autosave) + kAutosaveScratchName;
    const TSaveState state = GatherSaveState(Game, Wins, Settings, BkgCarried);
    ResultOf<bool> updated =
        UpdateSavedGameState(autosave, Game.Header.GameSeed, state, SaveFaults);
    if (updated && updated.Value()) return false;
    // The player's file is saved; a stale autosave only costs the next
    // autosave a full write.
    return CopyFileSafely(path, autosave, scratch, kCannotSaveGame, SaveFaults).Ok();
}

void TOrvelApp::SavedAs(const std::string& path, bool autosave) {
    const bool mirrored = !autosave && !SamePath(path, Paths.AutosaveFile) && MirrorToAutosave(path);
    if (!autosave) Game.Modified = false;
    Game.ModifiedSinceAutosave = false;
    if (SavedThumbChanged) {
        SavedThumbChanged(path, GameView.StoreThumb);
        if (mirrored) SavedThumbChanged(Paths.AutosaveFile, GameView.StoreThumb);
    }
}

// ----------------------------------------------------------------- resuming

void TOrvelApp::OpenSavedGame(const std::string& path) {
    ResultOf<TSavedGameData> read = ReadSavedGame(path, SaveReadMode::Resume);
    if (!read) {
        ShowResult(read.Status());
        return;
    }
    const TSaveState state = read.Value().State;
    const TShownWindows shown = HideWindowsForOpening();
    TNewGameSetup setup = NewGameSetup();
    Result result = Result::Success();
    try {
        result = ResumeSavedGame(Game, Wins, std::move(read.Value()), path, setup, GameView, *this,
                                 m_platform);
    } catch (const IoError& e) {
        result = FixedText(kInvalidSavedGame, {}, e.what());
    }
    ShowResult(result);
    if (!result) {
        OpeningFailed(shown);
        return;
    }
    ApplySavedSettings(state, Settings, Wins, BkgCarried);
    FinishOpening(path, shown);
    ShowSavedPockets();
    Game.WeightPiece = state.WeightPiece;
    // The menu and toolbar show the weight carried over; the groups stay as saved.
    ShowWeightMenu();
}

// A pocket saved on a larger screen may reach past this one's play area.
void TOrvelApp::ShowSavedPockets() {
    for (int k = 0; k < 4; ++k) {
        TMyWin& pocket = Wins.Wins[MW_POCKET0 + k];
        int w = 0, h = 0;
        KeepInsideBounds(Wins, PlayArea, pocket.Id, w, h);
        KeepGroupsInside(Game, pocket.Id, w, h, true);
        if (pocket.Visible) ShowPlayWindow(pocket, true);
        PocketCount(k);
    }
    RequestFullRedraw();
    FlushFieldUpdate();
}

}  // namespace orvel
