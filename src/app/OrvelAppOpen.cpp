// The application core's open command: choosing a jigsaw, the opening
// sequence around the new game, the recent-file list and the thumbnail window.
#include <filesystem>
#include <system_error>

#include "app/OrvelApp.h"
#include "app/RecentFiles.h"
#include "base/IoError.h"
#include "base/Text.h"
#include "cutter/Silhouettes.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "play/Thumb.h"

namespace orvel {

namespace {

std::string LowerExtension(const std::string& path) {
    return AsciiLower(std::filesystem::path(path).extension().string());
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

LangSection LangSectionOf(MsgSection section) {
    switch (section) {
        case MsgSection::LoadSaveForm:
            return LangSection::LoadSaveForm;
        case MsgSection::Options:
            return LangSection::Options;
        case MsgSection::Download:
            return LangSection::Download;
        default:
            return LangSection::MainForm;
    }
}

}  // namespace

// ----------------------------------------------------------------- the command

void TOrvelApp::OpenCommand(const std::string& path, bool direct) {
    TBusyScope busy(Game);
    if (Game.HasSelection && ClearSelection) ClearSelection();
    if (Game.GameLoaded && Game.Modified && QuerySaveChanges && !QuerySaveChanges()) return;
    // A recent saved game opens at once; a recent jigsaw opens the browser on
    // it, for its cut. The plain file chooser offers no choice of cut, so
    // without the browser a recent jigsaw opens at once as well.
    if (direct && IsFile(path)) {
        const std::string ext = LowerExtension(path);
        if (ext == kSavedGameExt || (ext == kJigsawExt && !m_view->HasDirView())) {
            OpenFile(path);
            return;
        }
    }
    if (m_view->HasDirView()) {
        std::string start = path;
        if (start.empty() && IsFile(Game.sSolve)) start = Game.sSolve;
        if (start.empty() && IsFile(Game.sJig)) start = Game.sJig;
        const std::string chosen = BrowseForJigsaw(start);
        if (!chosen.empty()) OpenFile(chosen);
        return;
    }
    std::string start = path;
    if (start.empty() && IsFile(Game.sJig)) start = Game.sJig;
    if (start.empty()) start = Paths.JigsawsDir;
    const std::string chosen = AskForJigsaw(start);
    if (!chosen.empty()) OpenFile(chosen);
}

std::string TOrvelApp::AskForJigsaw(const std::string& start) {
    std::string title = m_menu.Captions[MI_FileOpen];
    std::erase(title, '&');
    return m_platform.ChooseOpenFile(title, start,
                                     Lang->LookUp(LangSection::LoadSaveForm, "TS_Jigs"),
                                     {std::string("*") + kJigsawExt, std::string("*") + kSavedGameExt});
}

// The player's default choices decide the cut; the picture is fitted to the
// room a window on the work area leaves for the field.
bool TOrvelApp::ChooseJigsaw(const std::string& path) {
    const TPlayArea fit = ComputePlayArea(m_platform.GetScreenMetrics(), false, 0, 0);
    ResultOf<TJigsawChoice> choice =
        ChooseDefaultCut(path, DefaultCut(Settings), fit.PlayW, fit.PlayH);
    ShowResult(choice.Status());
    if (!choice) return false;
    m_choice = std::move(choice.Value());
    m_choicePath = path;
    return true;
}

// ----------------------------------------------------------------- the opening sequence

void TOrvelApp::OpenFile(const std::string& path) {
    const std::string ext = LowerExtension(path);
    if (ext == kSavedGameExt) {
        OpenSavedGame(path);
        return;
    }
    if (ext != kJigsawExt) return;
    // A jigsaw nobody chose a cut for gets the default one, read before
    // anything of the game in play changes.
    if (m_choicePath != path && !ChooseJigsaw(path)) return;
    const TShownWindows shown = HideWindowsForOpening();
    const bool started = StartJigsaw(path);
    m_choicePath.clear();
    ReleaseBitmap(m_choice.Thumb);
    if (!started) {
        OpeningFailed(shown);
        return;
    }
    FinishOpening(path, shown);
}

TOrvelApp::TShownWindows TOrvelApp::HideWindowsForOpening() {
    TShownWindows shown;
    for (int k = 0; k < 4; ++k) {
        TMyWin& pocket = Wins.Wins[MW_POCKET0 + k];
        shown.Pockets[k] = pocket.Visible;
        if (pocket.Visible) ShowPlayWindow(pocket, false);
    }
    shown.Thumb = Wins.Wins[MW_THUMB].Visible;
    shown.Glass = Wins.Glass.Visible;
    ShowPlayWindow(Wins.Wins[MW_THUMB], false);
    ShowPlayWindow(Wins.Glass, false);
    return shown;
}

void TOrvelApp::ShowWindowsAgain(const TShownWindows& shown, bool pockets) {
    if (pockets)
        for (int k = 0; k < 4; ++k)
            if (shown.Pockets[k]) ShowPlayWindow(Wins.Wins[MW_POCKET0 + k], true);
    if (shown.Thumb) ShowPlayWindow(Wins.Wins[MW_THUMB], true);
    if (shown.Glass) ShowPlayWindow(Wins.Glass, true);
}

TNewGameSetup TOrvelApp::NewGameSetup() {
    UpdatePlayArea();
    TNewGameSetup setup;
    setup.PlayW = PlayArea.PlayW;
    setup.PlayH = PlayArea.PlayH;
    setup.Effects.EmbossStyle = Settings.EmbossStyle;
    setup.Effects.WoodStyle = Settings.WoodStyle;
    setup.ProgressText = Lang->LookUp(LangSection::MainForm, "Prog_OpenJig");
    setup.PocketCaption = [this](int pocket, int groups) {
        return PocketCaption(*Lang, pocket, groups);
    };
    setup.ResourcesDir = Paths.AppDir + "resources";
    setup.ShapeFile = Paths.ShapeDataFile;
    setup.Pictures = m_silhouettes.get();
    // The information form shows the picture fitted with a little room around it.
    setup.InfoThumbW = kThumbMaxW + 4;
    setup.InfoThumbH = kThumbMaxH + 4;
    return setup;
}

bool TOrvelApp::StartJigsaw(const std::string& path) {
    TNewGameRequest request;
    request.Path = path;
    request.Header = m_choice.Header;
    request.BrowserThumb = &m_choice.Thumb;
    request.SeedShown = m_choice.SeedShown;
    request.SeedText = m_choice.SeedText;
    Result result = Result::Success();
    try {
        result = StartNewGame(Game, Wins, request, NewGameSetup(), GameView, *this, m_platform);
    } catch (const IoError& e) {
        result = FixedText(kInvalidJigsaw, {}, e.what());
    }
    ShowResult(result);
    return result.Ok();
}

void TOrvelApp::FinishOpening(const std::string& path, const TShownWindows& shown) {
    SortOrder(Game, false);
    AddRecent(path);
    PaintThumbnail(GameView.ThumbBuffer, Wins.Wins[MW_THUMB], Game.Picture(0));
    const TMyWin& side = Wins.Wins[MW_SIDE0];
    for (int k = 0; k < 4; ++k) {
        TMyWin& pocket = Wins.Wins[MW_POCKET0 + k];
        pocket.MaxClientW = side.ContentW;
        pocket.MaxClientH = side.ContentH;
        UpdateLimits(pocket);
    }
    // The windows keep the backgrounds they have; a picture is made as large as the new content.
    ShowSide(0);
    ApplyBackgrounds();
    Game.PickedPiece = -1;
    Game.DragMode = TDragMode::Idle;
    Game.HasSelection = false;
    Game.Solved = false;
    m_pieces->Reset();
    Weight.Placing = false;
    ShowWeightMenu();
    SetItemEnabled(MI_FileSaveImage, false);
    EnableGameCommands(true);
    ShowWindowsAgain(shown, false);
    RequestFullRedraw();
    FlushFieldUpdate();
    Game.Modified = Game.ModifiedSinceAutosave = false;
    LastAutoSave = m_platform.Now();
    m_view->AutoSaveTimerStarted();
}

// A game that could not be read leaves the one in play as it was; one that
// failed while it was being built has already replaced it, and then no game
// is left at all.
void TOrvelApp::OpeningFailed(const TShownWindows& shown) {
    if (Game.GameLoaded)
        ShowWindowsAgain(shown, true);
    else
        ClearGameShown();
    RequestFullRedraw();
    FlushFieldUpdate();
}

void TOrvelApp::ClearGameShown() {
    GameView = TNewGameView{};
    for (int s = MW_SIDE0; s <= MW_SIDE1; ++s) {
        TMyWin& side = Wins.Wins[s];
        side.ScrollX = side.ScrollY = 0;
        side.ContentW = side.ContentH = 0;
        Relayout(side);
    }
    EnableGameCommands(false);
    SetItemEnabled(MI_FileSaveImage, false);
    Game.Modified = Game.ModifiedSinceAutosave = false;
    ShowSide(0);
}

// ----------------------------------------------------------------- play windows

int TOrvelApp::ToolSlotOf(int cmd) const {
    for (int slot = 0; slot < kToolSlotCount; ++slot)
        if (m_toolbar.Buttons[slot].Item == cmd) return slot;
    return -1;
}

// Shows or hides a pocket, the thumbnail or the glass with its menu check
// and toolbar button; a shown window comes to the front.
void TOrvelApp::ShowPlayWindow(TMyWin& win, bool visible) {
    SetVisible(Wins, win, visible);
    if (visible && &win != &Wins.Glass) BringToFront(Wins, win);
    if (win.MenuItem >= 0) {
        SetItemChecked(win.MenuItem, visible);
        if (const int slot = ToolSlotOf(win.MenuItem); slot >= 0)
            m_toolbar.MarkToolDown(slot, visible);
    }
    RequestFullRedraw();
}

void TOrvelApp::ToggleThumbnail() {
    TBusyScope busy(Game);
    TMyWin& thumb = Wins.Wins[MW_THUMB];
    if (!thumb.Visible) {
        SetPosSize(thumb.Outer, 0, 0, thumb.Outer.Width, thumb.Outer.Height);
        Relayout(thumb);
    }
    ShowPlayWindow(thumb, !thumb.Visible);
    FlushFieldUpdate();
}

// ----------------------------------------------------------------- recent files

void TOrvelApp::AddRecent(const std::string& path) {
    AddRecentToList(Settings.RecentFiles, path);
    UpdateRecentItems(Settings.RecentFiles);
}

void TOrvelApp::UpdateRecentItems(const std::vector<TRecentFile>& files) {
    for (int k = 0; k < kMaxRecentFiles; ++k) {
        const int cmd = MI_FileLast0 + k;
        const bool used = k < static_cast<int>(files.size());
        if (used) m_menu.Captions[cmd] = RecentFileCaption(k, files[k].Name);
        SetItemVisible(cmd, used);
        SetItemEnabled(cmd, used && !m_progressUp);
    }
    SetItemVisible(MI_FileLastSep, !files.empty());
}

// ----------------------------------------------------------------- messages

// The notes first, in their order, then the error.
void TOrvelApp::ShowResult(const Result& result) {
    for (const TError& note : result.Notes()) ShowError(note);
    if (!result.Ok()) ShowError(result.Error());
}

void TOrvelApp::ShowError(const TError& error) {
    const std::string format = error.Section == MsgSection::Fixed
                                   ? error.Key
                                   : Lang->LookUpMessage(LangSectionOf(error.Section), error.Key);
    std::string text = FormatText(format, error.Args);
    if (!error.Detail.empty()) text += "\n\n" + error.Detail;
    Lang->ShowMessage(text, MsgKind::Warning);
}

}  // namespace orvel
