#pragma once

// The application core: the game, settings, language, folders, play windows,
// menu and toolbar state and the command table, driven by plain events (keys,
// field mouse, wheel, toolbar mouse, timer ticks, resizes, the close request).
// It decides; the window it reports to (TAppView) only shows.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppView.h"
#include "app/Folders.h"
#include "app/MainMenu.h"
#include "app/OpenGame.h"
#include "app/Toolbar.h"
#include "app/OptionsRules.h"
#include "game/GameState.h"
#include "game/SafeFile.h"
#include "lang/Lang.h"
#include "platform/Platform.h"
#include "platform/Progress.h"
#include "play/Backgrounds.h"
#include "play/DragLayers.h"
#include "play/Field.h"
#include "play/FrameOps.h"
#include "play/LostPieces.h"
#include "play/Glass.h"
#include "play/NewGame.h"
#include "play/PieceHandling.h"
#include "play/PlayWindow.h"
#include "play/SavedGame.h"
#include "play/Weight.h"
#include "settings/Settings.h"

namespace orvel {

class Silhouettes;
class TAppPlayHooks;

constexpr int kMinWindowW = 500;
constexpr int kMinWindowH = 500;
constexpr int kProgressPanelW = 400;
constexpr int kProgressPanelH = 100;
constexpr int kAutoSaveTickMs = 5000;

// The vendor's home page as the program was built (ORVEL_HOME_URL); empty
// when none was set.
const char* BuiltHomeUrl();

// The few texts that can be shown before any language file is read (a
// missing english.lng, a settings file that cannot be written), in the
// language file's own form; every language file replaces them.
std::string_view BuiltInEnglishTexts();

struct TAppOptions {
    // The home-page items open this address; empty hides them.
    std::string HomeUrl = BuiltHomeUrl();
    // The download server's credentials (and, in tests, its trust store).
    TDownloadDeployment Download = BuiltDownloadDeployment();
};

// A pocket's caption: the language's "PocketCaption" with the pocket number
// 1..4 and the number of groups in it.
std::string PocketCaption(const TLanguage& lang, int pocket, int groups);

// The window's bounds at start: the work area less the window frame.
TBounds StartBounds(const ScreenMetrics& sm);
// Where a window goes back to when full screen ends: at its remembered place
// with the client as large as the work area allows, moved as little as needed
// for the whole window, frame included, to lie on the work area.
TBounds NormalWindowBounds(const TBounds& remembered, const ScreenMetrics& sm);
// The parts of a client area of the given size.
TMainLayout MainLayout(int width, int height);

class TOrvelApp : public Progress, public TSettingsHooks {
public:
    // Works out the folders, seeds the random generator, loads the skins and
    // creates the play windows, the menu and toolbar state. Shows nothing.
    TOrvelApp(Platform& platform, const TPlatformFolders& folders, TAppOptions options = {});
    ~TOrvelApp() override;
    TOrvelApp(const TOrvelApp&) = delete;
    TOrvelApp& operator=(const TOrvelApp&) = delete;

    // The window that shows the core; null detaches it. The window reads the
    // whole state once when it attaches; after that it hears of changes.
    void AttachView(TAppView* view);
    // Toolbar laid out, field mouse on, window shown; settings and language read.
    void StartUp();

    // Commands.
    void RunCommand(int cmd);
    bool CommandAvailable(int cmd) const;
    void EnableGameCommands(bool flag);
    void EnableCommands(bool flag);
    void SetItemEnabled(int cmd, bool flag);
    void SetItemChecked(int cmd, bool flag);
    void SetItemVisible(int cmd, bool flag);
    const TMenuState& Menu() const { return m_menu; }
    const TToolbar& Toolbar() const { return m_toolbar; }
    // A toolbar button's hint and its picture in its current state.
    std::string ToolHint(int slot) const;
    void ToolImage(int slot, bool hot, TMyBitmap& out) const;

    // Keys by the menu's key codes; commands fire on release.
    void KeyDown(uint16_t key);
    void KeyUp(uint16_t key, uint8_t shift);
    // Field mouse at field coordinates; button 0 left, 1 right, 2 middle.
    void FieldMouseDown(int x, int y, int button, uint8_t shift);
    void FieldMouseMove(int x, int y, bool buttonHeld, uint8_t shift);
    void FieldMouseUp(int x, int y, int button, uint8_t shift);
    // The wheel at field coordinates; delta < 0 turns towards the player.
    void Wheel(int x, int y, int delta);
    // Toolbar mouse: over a button, pressed on one, released anywhere; over,
    // pressed and released on the toolbar itself at toolbar coordinates.
    void ToolMouseMove(int slot, bool leftHeld);
    void ToolMouseDown(int slot);
    void ToolMouseUp();
    void ToolbarPanelMove();
    void ToolbarPanelPress(int x, int y);
    void ToolbarPanelRelease(int x, int y);
    // The client area's new size; the desktop's work area changed.
    void Resize(int width, int height);
    void WorkAreaChanged();
    // The autosave timer's tick (every kAutoSaveTickMs).
    void AutoSaveTick();
    // The window is asked to close: the save-changes question, then the
    // settings file. Returns whether it may close.
    bool CloseRequest();

    // Progress (opening, cutting, saving).
    void ShowProgress(const std::string& text, int steps) override;
    void StepProgress() override;
    void HideProgress() override;
    bool ProgressUp() const { return m_progressUp; }

    // Settings hooks.
    bool ApplyLanguageFile(const std::string& path) override;
    bool IsFullScreen() const override { return m_fullScreen; }
    void ToggleFullScreen() override;
    void ShowFullScreenState(bool on) override;
    void RecentFilesLoaded(const std::vector<TRecentFile>& files) override;

    // Opening. OpenCommand: the open command (no path: the player chooses a
    // jigsaw; a path and direct: a recent file opens at once); OpenFile: the
    // opening sequence for the jigsaw chosen.
    void OpenCommand(const std::string& path, bool direct);
    void OpenFile(const std::string& path);
    // The recent-file list and its menu items take path as the newest entry.
    void AddRecent(const std::string& path);
    // At start: the browser, on the most recently used file if there is one.
    void OpenAtStart();
    // Save As: the browser in save mode; true with the chosen path when the
    // player chose a name.
    bool ChooseSavePath(std::string& path);

    // Downloading. The main menu's command: the download window, then the
    // offer to open the first new jigsaw. ShowDownloadWindow alone is what the
    // browser's download button calls: it returns the ".orv" path of the first
    // jigsaw downloaded (empty when none was), for the browser to select.
    void DownloadCommand();
    std::string ShowDownloadWindow();
    // The offer after a download: opens that jigsaw when the player agrees.
    void OfferFirstDownloaded(const std::string& path);

    // Field.
    void ShowSide(int side);
    void RequestFullRedraw();
    void FlushFieldUpdate();
    const TMainLayout& Layout() const { return m_layout; }
    const TBounds& NormalBounds() const { return m_normalBounds; }

    // Installed by the saved-games part: asks whether to save a changed game;
    // false keeps the window open.
    std::function<bool()> QuerySaveChanges;
    // Installed by the piece-handling part: field mouse events with the button
    // (0 left, 1 right), the shift set (1 Shift, 2 Alt, 4 Ctrl) and the point;
    // fromWheel marks the presses the wheel makes (a press alone). Without them
    // the field only shows hover on window buttons.
    std::function<void(int button, uint8_t shift, int x, int y, bool fromWheel)> PieceMouseDown;
    std::function<void(uint8_t shift, int x, int y, bool buttonHeld)> PieceMouseMove;
    std::function<void(int button, uint8_t shift, int x, int y, bool fromWheel)> PieceMouseUp;
    // Installed by the saved-games part: writes the autosave.
    std::function<void()> AutoSaveGame;
    // Installed by the piece-handling part: drops the selection, as the
    // commands that start with a cleared selection need.
    std::function<void()> ClearSelection;

    TGame Game;
    // What the game in play was opened with beside its state: the picture's
    // description, the thumbnails and the thumbnail window's picture.
    TNewGameView GameView;
    TPlayArea PlayArea;
    TPlayWindows Wins;
    TFieldView View;
    TFieldLayers Layers;
    TKeyGate Keys;
    TSettings Settings;
    TAppPaths Paths;
    std::unique_ptr<TLanguage> Lang;
    TMyBitmap ToolbarSkin;
    TMyBitmap StarImage;
    TMyBitmap WeightImage;
    double LastAutoSave = 0;
    // The jigsaw and saved-game browser, made once and shown for each choice.
    std::unique_ptr<TDirView> DirView;
    // Commands run, for the tests and the curious reader of a report.
    std::vector<int> CommandLog;

    // The aids: the glass, the weight, the finish and the solved picture.
    TGlassLens Lens;
    TWeight Weight;
    // Whether a field point lies inside the glass's lens; with map it becomes
    // the point the lens shows there.
    bool LensHit(int& x, int& y, bool map);
    // Zoom 2 or 3 with the zoom buttons' look (the glass's zoom buttons).
    void SetGlassZoom(int zoom);
    // After the glass or the thumbnail window changed size: the lens and the
    // thumbnail picture follow.
    void GlassResized();
    void ThumbnailResized();
    // The weight: placed at a field point, following the mouse, dropped on
    // the piece under its point (or on nothing, which removes it).
    void StartWeight(int x, int y);
    void MoveWeight(int x, int y);
    void DropWeight();
    // Menu check and caption, toolbar image; a weighted group sinks.
    void UpdateWeightMenu();
    // The solved test passed: the picture is centred, the win sound plays
    // and the finish form offers to save the picture.
    void FinishSequence();
    // Asks for a file and saves the solved picture there; WriteSolvedImage
    // saves it without asking.
    void SaveSolvedImage();
    Result WriteSolvedImage(const std::string& path);

    // Play windows: pockets shown or hidden (pocket 0 .. 3), their group
    // count with its caption, toolbar picture and menu check; the menu
    // captions that name the current window.
    void ShowPocket(int pocket, bool visible);
    void PocketCount(int pocket);
    void UpdateWindowMenus();
    // The window-frame operations the piece handler starts, and what it
    // reports about pockets and the selection.
    void FrameStart(TMyWin& win, THitCode code, int button, int x, int y);
    void FrameMove(int x, int y, bool buttonHeld);
    void FrameEnd(int x, int y);
    void PocketChanged(int window);
    void SelectionChanged(bool hasSelection);
    // Backgrounds: a picture code's picture made ready (true when loaded);
    // one window's value (0 .. 5: sides, then pockets), stored in
    // Settings.WinBkg; all six values applied with one picture at most.
    bool LoadBackgroundPicture(int32_t code);
    void SetBackground(int window, int32_t value);
    void ApplyBackgrounds();
    // Installed by the glass: the zoom its buttons select (3 or 2).
    std::function<void(int zoom)> GlassZoom;
    // The loaded background picture.
    TBackgroundPicture BkgPic;

    // Options: the dialog's values copied back after OK and applied to the
    // running game (effects rebuilt where they changed, the language applied).
    void ApplyOptions(const TOptionsValues& values);
    // Sets a picked background on its target: -1 all play windows, 0.. one window.
    void SetPickedBackground(int target, int32_t value);

    // Big-puzzle helpers: the loose edge pieces laid into pocket 0 .. 3 (the
    // menu command takes EdgePocket: the current window when it is a
    // pocket, else the first pocket), with one change step.
    void SortEdges(int pocket);
    int EdgePocket();

    // Saved games. SaveGame writes the game in play to path (only its state
    // when path holds a save of the same game); SaveAsPath names the game's
    // saved game path (".sv1" added when missing) and saves it there;
    // AskSaveChanges asks whether to save a changed game and is true when
    // the caller may go on. Failures are shown and leave the old file.
    bool SaveGame(const std::string& path, bool autosave);
    bool SaveAsPath(const std::string& path);
    bool AskSaveChanges();
    // Planted faults for the tests of failing saves; null in the program.
    const TWriteFaults* SaveFaults = nullptr;
    // Run after a save with the saved file's path and the game's thumbnail,
    // so that a list of saved games can show the new picture.
    std::function<void(const std::string& path, const TMyBitmap& thumb)> SavedThumbChanged;
    // The background words a saved game carries without a role.
    TBkgCarried BkgCarried{};

    // The system report's lines as they are now (the report command saves
    // and opens them), and the program file it names.
    std::vector<std::string> ReportLines();
    std::string ExePath;

private:
    void LoadSkins();
    void ConnectPieces();
    void CreateField();
    void CreateWindows();
    void SetUpCommands();
    void ApplyTexts(const TLanguage& lang);
    TSettingsPaths SettingsPaths() const;

    void FormResize();
    void LayoutToolbar();
    void FullScreenClick();
    void SwitchSide();
    void ShowSideCommand(int side);
    void OpenHomePage(const std::string& page);
    void PopUpMenu();
    bool AutoSaveDue(double now) const;
    void SaveSettingsAtExit();
    bool FieldMouseBlocked() const { return !m_fieldMouse || m_progressUp; }
    void UpdatePlayArea();
    void ConnectWindows();
    void GatherCommand();
    void ArrangeCommand();
    void LayOutPockets(bool cascade);
    void ShowHeldPockets();
    void PocketToolState(int pocket);
    void CloseWindow(TMyWin& win);
    void WindowResized(TMyWin& win);
    void PlayAreaChanged(const TPlayArea& old);
    void BuildFrameLayers(TMyWin& win);
    void DrawWindowAlone(TMyBitmap& field, const TMyRect& clip, TMyWin& win);

    // Opening.
    struct TShownWindows {
        std::array<bool, 4> Pockets{};
        bool Thumb = false;
        bool Glass = false;
    };
    std::string AskForJigsaw(const std::string& start);
    TNewGameSetup NewGameSetup();
    bool StartJigsaw(const std::string& path);
    TShownWindows HideWindowsForOpening();
    void ShowWindowsAgain(const TShownWindows& shown, bool pockets);
    void FinishOpening(const std::string& path, const TShownWindows& shown);
    void OpeningFailed(const TShownWindows& shown);
    void ClearGameShown();
    void ShowPlayWindow(TMyWin& win, bool visible);
    void ToggleThumbnail();
    void UpdateRecentItems(const std::vector<TRecentFile>& files);
    bool ChooseJigsaw(const std::string& path);
    void CreateDirView();
    void PrepareDirView(DirMode mode, const std::string& path);
    std::string BrowseForJigsaw(const std::string& path);
    void TakeBrowserChoice();
    Result PackPicture(const std::string& image, const std::string& target, const std::string& name);
    int ToolSlotOf(int cmd) const;
    void ShowResult(const Result& result);
    void ShowError(const TError& error);

    // The aids.
    void InitAids();
    void ToggleGlass();
    void WeightCommand();
    void RemoveWeight();
    // The weight's menu caption and check and its toolbar image; true when a weight is set.
    bool ShowWeightMenu();
    void ShowGameInfo();
    void DrawAids(TMyBitmap& field, const TMyRect& update);
    int PlayWindowAt(int x, int y) const;
    std::unique_ptr<TPlayHooks> m_aidHooks;

    // Options and backgrounds.
    void OptionsCommand();
    void BackgroundCommand(bool allWindows);
    void ApplySingleWindow(bool on);
    void ApplyEffectStyles(int emboss, int wood);
    void ApplyChosenLanguage(const std::string& name);

    // Saved games.
    void ConnectSaving();
    void SaveCommand();
    bool SaveAsCommand();
    bool WriteFullSave(const std::string& path, const std::string& scratch, bool autosave);
    bool MirrorToAutosave(const std::string& path);
    void SavedAs(const std::string& path, bool autosave);
    void OpenSavedGame(const std::string& path);
    void ShowSavedPockets();

    // Help menu.
    void MakeHelpAvailable();
    void RunHelpCommand(int cmd);
    void CreateReport();

    Platform& m_platform;
    TAppOptions m_options;
    // Kept for the program's run, so a damaged shape file is reported once.
    std::unique_ptr<Silhouettes> m_silhouettes;
    std::unique_ptr<TAppPlayHooks> m_playHooks;
    std::unique_ptr<TFrameOperation> m_frame;
    // A pocket or the thumbnail being moved or resized over the still field.
    TDragLayers m_frameLayers;
    std::unique_ptr<TPieceHandler> m_pieces;
    // The jigsaw about to be opened (m_choicePath) with its chosen cut; an
    // opening takes it, and a path without one gets the default cut.
    TJigsawChoice m_choice;
    std::string m_choicePath;
    TAppView m_noView;
    TAppView* m_view = &m_noView;
    TMenuState m_menu;
    TToolbar m_toolbar;
    std::array<bool, kMenuCmdCount> m_available{};
    TLangApplyRegistry::Handle m_langHandle;
    TMainLayout m_layout;
    TBounds m_normalBounds;
    bool m_startedUp = false;
    bool m_fieldMouse = false;
    bool m_fullScreen = false;
    bool m_suppressResize = false;
    bool m_closing = false;
    bool m_progressUp = false;
    int m_progressSteps = 0;
    int m_progressDone = 0;

    // The lost-piece finder: each hidden group once per round.
    void FindLostCommand();
    void ShowFoundGroup(const TLostGroup& found);
    std::vector<int> LookedAtWindows() const;
    TLostRound m_lostRound;
    const TPiece* m_lostRoundGame = nullptr;
    size_t m_lostRoundPieces = 0;
    // Made at the first showing of the download window; it keeps its list
    // and mode from one showing to the next.
    std::unique_ptr<TDownloader> m_download;
};

}  // namespace orvel
