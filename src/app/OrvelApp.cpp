#include "app/OrvelApp.h"

#include "app/AppPlayHooks.h"

#include <filesystem>
#include <system_error>

#include "app/AidHooks.h"
#include "app/OptionsCommands.h"
#include "base/IntMath.h"
#include "base/IoError.h"
#include "cutter/Silhouettes.h"
#include "game/GameModel.h"
#include "graphics/ImageCodecs.h"

#ifndef ORVEL_HOME_URL
#define ORVEL_HOME_URL ""
#endif

namespace orvel {

namespace {

constexpr std::string_view kBuiltInEnglish =
    "[Main Form]\n"
    "   <MS_CantWriteSettings> The settings could not be saved to \"%s\".$D"
    "The options changed in this session will be lost.\n"
    "[Options]\n"
    "   <MS_CantFindLangFile> The language file \"%s\" cannot be found.\n";

// The commands this program carries out so far; the others stay disabled
// until their windows are part of it (the help menu's are made available
// by MakeHelpAvailable).
constexpr MenuCmd kAvailable[] = {
    MI_Menu,      MI_File,      MI_FileOpen,   MI_FileLast0, MI_FileLast1, MI_FileLast2,
    MI_FileLast3, MI_Game,      MI_GameWin1,   MI_GameWin2,  MI_GameThumb, MI_Pockets,
    MI_Help,      MI_HelpAbout, MI_FullScreen, MI_Min,       MI_Exit,
    MI_FileSave,  MI_FileSaveAs,
    MI_GameGather, MI_GameArrange, MI_GameSelectAll, MI_PocketsPocket1, MI_PocketsPocket2,
    MI_PocketsPocket3, MI_PocketsPocket4, MI_PocketsTile, MI_PocketsCascade,
    MI_GameSortEdges, MI_GameFindLost, MI_GameGlass, MI_GameWeight, MI_GameInfo, MI_FileSaveImage};

// The window each play window's menu item shows, by window number.
constexpr MenuCmd kWindowItems[kPlayWindowCount] = {
    MI_GameWin1,       MI_GameWin2,       MI_PocketsPocket1, MI_PocketsPocket2,
    MI_PocketsPocket3, MI_PocketsPocket4, MI_GameThumb};

// Toolbar slots that follow a loaded game, and those that follow the progress panel.
constexpr int kGameSlots[] = {BI_Save,    BI_BkgAll, BI_BkgCur,  BI_Win1,    BI_Win2,
                              BI_Thumb,   BI_Info,   BI_Pocket1, BI_Pocket2, BI_Pocket3,
                              BI_Pocket4, BI_Glass,  BI_Weight, BI_SelectAll};
constexpr int kProgressSlots[] = {BI_Open, BI_Download, BI_FullScreen};

std::string StripAccel(std::string s) {
    std::erase(s, '&');
    return s;
}

void LoadSkin(TMyBitmap& skin, const std::string& resourcesDir, const char* name) {
    // A missing or broken skin leaves the buffer empty: the window still
    // works, drawn without that picture.
    if (!LoadPngResource(skin, resourcesDir, name)) ReleaseBitmap(skin);
}

}  // namespace

std::string PocketCaption(const TLanguage& lang, int pocket, int groups) {
    return FormatText(lang.LookUp(LangSection::Pocket, "PocketCaption"),
                      {std::to_string(pocket), std::to_string(groups)});
}

const char* BuiltHomeUrl() {
    return ORVEL_HOME_URL;
}

std::string_view BuiltInEnglishTexts() {
    return kBuiltInEnglish;
}

TBounds StartBounds(const ScreenMetrics& sm) {
    const int workW = sm.WorkArea.Right - sm.WorkArea.Left + 1;
    const int workH = sm.WorkArea.Bottom - sm.WorkArea.Top + 1;
    return {sm.WorkArea.Left + sm.FrameW, sm.WorkArea.Top + sm.FrameH + sm.CaptionH,
            Max(kMinWindowW, workW - 2 * sm.FrameW),
            Max(kMinWindowH, workH - 2 * sm.FrameH - sm.CaptionH)};
}

TBounds NormalWindowBounds(const TBounds& remembered, const ScreenMetrics& sm) {
    const int workW = sm.WorkArea.Right - sm.WorkArea.Left + 1;
    const int workH = sm.WorkArea.Bottom - sm.WorkArea.Top + 1;
    TBounds b{remembered.X, remembered.Y, workW - 2 * sm.FrameW,
              workH - 2 * sm.FrameH - sm.CaptionH};
    // Right and bottom first, so that a window larger than the work area
    // keeps its caption and left edge on it.
    b.X = Max(Min(b.X, sm.WorkArea.Right + 1 - sm.FrameW - b.W), sm.WorkArea.Left + sm.FrameW);
    b.Y = Max(Min(b.Y, sm.WorkArea.Bottom + 1 - sm.FrameH - b.H),
              sm.WorkArea.Top + sm.FrameH + sm.CaptionH);
    return b;
}

TMainLayout MainLayout(int width, int height) {
    TMainLayout l;
    l.Width = width;
    l.Height = height;
    l.FieldTop = kToolbarHeight;
    l.FieldW = width;
    l.FieldH = Max(0, height - kToolbarHeight);
    l.ProgressLeft = (l.FieldW - kProgressPanelW) / 2;
    l.ProgressTop = (l.FieldH - kProgressPanelH) / 2;
    return l;
}

// ----------------------------------------------------------------- creation

TOrvelApp::TOrvelApp(Platform& platform, const TPlatformFolders& folders, TAppOptions options)
    : m_platform(platform), m_options(std::move(options)) {
    Game.Busy = false;
    Paths = SetUpFolders(folders);
    SeedRandomAtStart(Game, m_platform);
    Lang = std::make_unique<TLanguage>(&m_platform, Paths.LanguageDir);
    Lang->LoadFromBytes(kBuiltInEnglish);
    CreateDirView();
    LoadSkins();
    CreateField();
    UpdatePlayArea();
    CreateWindows();
    m_silhouettes = std::make_unique<Silhouettes>(Paths.ShapeDataFile);
    Layers.ThumbPicture = &GameView.ThumbBuffer;
    ConnectPieces();
    ConnectSaving();
    InitAids();
    SetUpCommands();
    Game.Modified = Game.ModifiedSinceAutosave = false;
    RequestFullRedraw();
    ShowSide(0);
    m_langHandle = Lang->Forms().Register(LangApplyOrder::MainForm, "F_Main",
                                          [this](const TLanguage& lang) { ApplyTexts(lang); });
}

TOrvelApp::~TOrvelApp() {
    m_langHandle.Reset();
    // The entry scratch file holds the last unpacked picture or text; it goes with the program.
    RemoveEntryScratch(Paths);
}

// The pieces are drawn and handled by the play subsystem's piece handler; the
// hooks stay public so a test can watch or replace them.
void TOrvelApp::ConnectPieces() {
    m_aidHooks = std::make_unique<TAidHooks>(*this);
    ConnectWindows();
    m_pieces = std::make_unique<TPieceHandler>(Game, Wins, View, Layers, Settings, PlayArea,
                                               m_platform, m_playHooks.get());
    m_pieces->SetStarImage(&StarImage);
    Layers.DrawPieces = [this](TMyBitmap& field, const TMyWin& win, const TMyRect& update) {
        m_pieces->DrawPieces(field, win, update);
    };
    PieceMouseDown = [this](int button, uint8_t shift, int x, int y, bool fromWheel) {
        m_pieces->MouseDown(button, shift, x, y, fromWheel);
    };
    PieceMouseMove = [this](uint8_t shift, int x, int y, bool buttonHeld) {
        m_pieces->MouseMove(shift, x, y, buttonHeld);
    };
    PieceMouseUp = [this](int button, uint8_t shift, int x, int y, bool) {
        m_pieces->MouseUp(button, shift, x, y);
    };
    ClearSelection = [this] { m_pieces->Deselect(); };
}

void TOrvelApp::LoadSkins() {
    const std::string res = Paths.AppDir + "resources";
    LoadSkin(ToolbarSkin, res, "toolbar");
    LoadSkin(Wins.WinSkin, res, "skin");
    LoadSkin(Wins.GlassSkin, res, "glass");
    LoadSkin(StarImage, res, "star");
    LoadSkin(WeightImage, res, "weight");
}

void TOrvelApp::CreateField() {
    const ScreenMetrics sm = m_platform.GetScreenMetrics();
    m_normalBounds = StartBounds(sm);
    SizeField(View, Max(sm.ScreenW, 1), Max(sm.ScreenH, 1), kDefaultBackground);
    View.Invalidate = [this](const TMyRect& r) { m_view->FieldChanged(View.Field, r); };
}

void TOrvelApp::CreateWindows() {
    // The thumbnail starts with its designed caption; a language replaces it when applied.
    std::array<std::string, 4> pocketCaptions;
    for (int k = 0; k < 4; ++k) pocketCaptions[k] = PocketCaption(*Lang, k + 1, 0);
    CreatePlayWindows(Wins, m_platform, pocketCaptions, "Thumbnail");
    for (int i = 0; i < kPlayWindowCount; ++i) Wins.Wins[i].MenuItem = kWindowItems[i];
    Wins.Glass.MenuItem = MI_GameGlass;
}

void TOrvelApp::SetUpCommands() {
    m_available.fill(false);
    for (MenuCmd cmd : kAvailable) m_available[cmd] = true;
    for (MenuCmd cmd : kOptionCommands) m_available[cmd] = true;
    MakeHelpAvailable();
    m_available[MI_FileDownload] = true;
    const bool homePage = !m_options.HomeUrl.empty();
    m_available[MI_HelpHomePage] = m_available[MI_HelpProductHomePage] = homePage;
    m_menu.Visible[MI_HelpHomePage] = m_menu.Visible[MI_HelpProductHomePage] = homePage;
    m_menu.Visible[MI_Menu] = false;
    for (int k = MI_FileLast0; k <= MI_FileLast3; ++k) {
        SetItemEnabled(k, false);
        SetItemVisible(k, false);
    }
    SetItemVisible(MI_FileLastSep, true);
    m_toolbar.Redraw = [this](int slot, bool hot) { m_view->ToolButtonChanged(slot, hot); };
    // No game yet: every command needing one is off.
    EnableGameCommands(false);
    SetItemEnabled(MI_FileSaveImage, false);
    SetItemEnabled(MI_GameArrange, false);
    m_toolbar.EnableToolButton(BI_Arrange, false);
    for (int cmd = 0; cmd < kMenuCmdCount; ++cmd)
        if (!m_available[cmd]) SetItemEnabled(cmd, false);
    for (int slot = 0; slot < kToolSlotCount; ++slot)
        if (!m_available[m_toolbar.Buttons[slot].Item]) m_toolbar.EnableToolButton(slot, false);
}

void TOrvelApp::AttachView(TAppView* view) {
    m_view = view != nullptr ? view : &m_noView;
}

void TOrvelApp::StartUp() {
    LayoutToolbar();
    m_fieldMouse = true;
    m_view->ShowWindow();
    m_startedUp = true;
    FormResize();
    LoadSettings(Settings, SettingsPaths(), *this);
    FormResize();
    ApplyBackgrounds();
}

TSettingsPaths TOrvelApp::SettingsPaths() const {
    return TSettingsPaths{Paths.UserDataDir, Paths.JigsawsDir, Paths.SavedGamesDir,
                          Paths.LanguageDir, Paths.ThumbDir,   Paths.FirstStart};
}

// ----------------------------------------------------------------- texts

void TOrvelApp::ApplyTexts(const TLanguage& lang) {
    for (const TMenuItemDef& d : MenuItems()) {
        if (d.Cmd == MI_FileLastSep || (d.Cmd >= MI_FileLast0 && d.Cmd <= MI_FileLast3)) continue;
        // The product page's item has always been keyed MI_HelpOrvelHomePage in language files.
        m_menu.Captions[d.Cmd] =
            lang.LookUp(LangSection::MainForm,
                        d.Cmd == MI_HelpProductHomePage ? "MI_HelpOrvelHomePage" : d.Name);
    }
    for (int k = 0; k < 4; ++k) {
        TMyWin& p = Wins.Wins[MW_POCKET0 + k];
        SetCaption(p, PocketCaption(lang, k + 1, p.Groups), m_platform);
    }
    SetCaption(Wins.Wins[MW_THUMB], lang.LookUp(LangSection::Thumbnail, "FormCaption"), m_platform);
    UpdateWindowMenus();
    ShowWeightMenu();
    m_view->TextsChanged();
    RequestFullRedraw();
    FlushFieldUpdate();
}

std::string TOrvelApp::ToolHint(int slot) const {
    const TMenuItemDef& d = MenuItems()[m_toolbar.Buttons[slot].Item];
    return MenuHint(StripAccel(m_menu.Captions[d.Cmd]), ShortcutText(d.Key, d.Shift));
}

void TOrvelApp::ToolImage(int slot, bool hot, TMyBitmap& out) const {
    BuildToolImage(out, ToolbarSkin, m_toolbar.Buttons[slot].Image, m_toolbar.SourceRow(slot, hot));
}

bool TOrvelApp::ApplyLanguageFile(const std::string& path) {
    return Lang->LoadAndApply(path);
}

// ----------------------------------------------------------------- menu state

void TOrvelApp::SetItemEnabled(int cmd, bool flag) {
    m_menu.Enabled[cmd] = flag && m_available[cmd];
    m_view->MenuItemChanged(cmd);
}

void TOrvelApp::SetItemChecked(int cmd, bool flag) {
    m_menu.Checked[cmd] = flag;
    m_view->MenuItemChanged(cmd);
}

void TOrvelApp::SetItemVisible(int cmd, bool flag) {
    m_menu.Visible[cmd] = flag;
    m_view->MenuItemChanged(cmd);
}

bool TOrvelApp::CommandAvailable(int cmd) const {
    return cmd >= 0 && cmd < kMenuCmdCount && m_available[cmd];
}

void TOrvelApp::EnableGameCommands(bool flag) {
    SetItemEnabled(MI_FileSave, flag);
    SetItemEnabled(MI_FileSaveAs, flag);
    SetItemEnabled(MI_Game, flag);
    SetItemEnabled(MI_Pockets, flag);
    for (int slot : kGameSlots)
        m_toolbar.EnableToolButton(slot, flag && m_available[m_toolbar.Buttons[slot].Item]);
    if (flag) {
        const bool sides = !Settings.bSingleWin;
        SetItemEnabled(MI_GameWin1, sides);
        SetItemEnabled(MI_GameWin2, sides);
        m_toolbar.EnableToolButton(BI_Win1, sides && m_available[MI_GameWin1]);
        m_toolbar.EnableToolButton(BI_Win2, sides && m_available[MI_GameWin2]);
    }
}

void TOrvelApp::EnableCommands(bool flag) {
    EnableGameCommands(flag && Game.GameLoaded);
    SetItemEnabled(MI_FileOpen, flag);
    SetItemEnabled(MI_FileDownload, flag);
    for (int k = 0; k < 4; ++k)
        if (m_menu.Visible[MI_FileLast0 + k]) SetItemEnabled(MI_FileLast0 + k, flag);
    SetItemEnabled(MI_FullScreen, flag);
    SetItemEnabled(MI_FileSaveImage, flag && Game.Solved);
    for (int slot : kProgressSlots)
        m_toolbar.EnableToolButton(slot, flag && m_available[m_toolbar.Buttons[slot].Item]);
}

void TOrvelApp::RecentFilesLoaded(const std::vector<TRecentFile>& files) {
    UpdateRecentItems(files);
}

// ----------------------------------------------------------------- commands

void TOrvelApp::RunCommand(int cmd) {
    if (cmd < 0 || cmd >= kMenuCmdCount || !m_menu.Enabled[cmd] || !m_available[cmd]) return;
    CommandLog.push_back(cmd);
    switch (cmd) {
        case MI_Menu:
            PopUpMenu();
            break;
        case MI_FileOpen:
            OpenCommand("", false);
            break;
        case MI_FileSave:
            SaveCommand();
            break;
        case MI_FileSaveAs:
            SaveAsCommand();
            break;
        case MI_FileLast0:
        case MI_FileLast1:
        case MI_FileLast2:
        case MI_FileLast3:
            if (const size_t k = cmd - MI_FileLast0; k < Settings.RecentFiles.size())
                OpenCommand(Settings.RecentFiles[k].Path, true);
            break;
        case MI_GameThumb:
            ToggleThumbnail();
            break;
        case MI_GameWin1:
        case MI_GameWin2:
            if (Game.HasSelection && Game.DragMode == TDragMode::Idle && ClearSelection)
                ClearSelection();
            ShowSideCommand(cmd == MI_GameWin1 ? 0 : 1);
            break;
        case MI_GameGlass:
            ToggleGlass();
            break;
        case MI_GameWeight:
            WeightCommand();
            break;
        case MI_GameInfo:
            ShowGameInfo();
            break;
        case MI_FileSaveImage:
            SaveSolvedImage();
            break;
        case MI_HelpHomePage:
            OpenHomePage("");
            break;
        case MI_HelpProductHomePage:
            OpenHomePage("orvel-zent.htm");
            break;
        case MI_HelpCont:
        case MI_HelpQuick:
        case MI_HelpReport:
        case MI_HelpCredits:
            RunHelpCommand(cmd);
            break;
        case MI_FileDownload:
            DownloadCommand();
            break;
        case MI_HelpAbout:
            m_view->ShowAbout(Lang->LookUp(LangSection::About, "FormCaption"));
            break;
        case MI_FullScreen:
            FullScreenClick();
            break;
        case MI_Min:
            m_view->Minimize();
            break;
        case MI_Options:
            OptionsCommand();
            break;
        case MI_GameBkgAll:
        case MI_GameBkgCur:
            BackgroundCommand(cmd == MI_GameBkgAll);
            break;
        case MI_Exit:
            m_view->RequestClose();
            break;
        case MI_GameGather:
            GatherCommand();
            break;
        case MI_GameArrange:
            ArrangeCommand();
            break;
        case MI_GameSelectAll:
            m_pieces->SelectAll();
            FlushFieldUpdate();
            break;
        case MI_PocketsPocket1:
        case MI_PocketsPocket2:
        case MI_PocketsPocket3:
        case MI_PocketsPocket4: {
            const int k = cmd - MI_PocketsPocket1;
            ShowPocket(k, !Wins.Wins[MW_POCKET0 + k].Visible);
            FlushFieldUpdate();
            break;
        }
        case MI_PocketsTile:
        case MI_PocketsCascade:
            LayOutPockets(cmd == MI_PocketsCascade);
            break;
        case MI_GameSortEdges:
            SortEdges(EdgePocket());
            break;
        case MI_GameFindLost:
            FindLostCommand();
            break;
        default:
            break;
    }
}

void TOrvelApp::PopUpMenu() {
    const TToolButton& app = m_toolbar.Buttons[BI_App];
    m_view->PopUpMenu(app.Left, app.Top + app.Height);
}

void TOrvelApp::OpenHomePage(const std::string& page) {
    std::string url = m_options.HomeUrl;
    if (url.empty() || url.back() != '/') url += '/';
    m_platform.OpenWithDefault(url + page);
}

void TOrvelApp::ShowSideCommand(int side) {
    TBusyScope busy(Game);
    ShowSide(side);
    FlushFieldUpdate();
}

void TOrvelApp::SwitchSide() {
    if (Game.GameLoaded && m_menu.Enabled[MI_Game] && !Settings.bSingleWin)
        ShowSideCommand(1 - Game.CurSide);
}

void TOrvelApp::ShowSide(int side) {
    RequestFullRedraw();
    TMyWin& shown = Wins.Wins[side];
    TMyWin& other = Wins.Wins[1 - side];
    SetVisible(Wins, other, false);
    SetVisible(Wins, shown, true);
    BringToFront(Wins, shown);
    SetItemChecked(side == 0 ? MI_GameWin1 : MI_GameWin2, true);
    SetItemChecked(side == 0 ? MI_GameWin2 : MI_GameWin1, false);
    m_toolbar.MarkToolDown(side == 0 ? BI_Win1 : BI_Win2, true);
    m_toolbar.MarkToolDown(side == 0 ? BI_Win2 : BI_Win1, false);
    Game.CurSide = side;
    if (m_pieces && Game.GameLoaded) m_pieces->FollowShownSide(side);
}

// ----------------------------------------------------------------- full screen

void TOrvelApp::FullScreenClick() {
    m_fullScreen = !m_fullScreen;
    Settings.FullScreen = m_fullScreen;
    ShowFullScreenState(m_fullScreen);
    const ScreenMetrics sm = m_platform.GetScreenMetrics();
    TBounds target{0, 0, sm.ScreenW, sm.ScreenH};
    if (m_fullScreen) {
        m_normalBounds = m_view->WindowBounds();
    } else {
        target = NormalWindowBounds(m_normalBounds, sm);
    }
    // The window's own resizes while it changes state are laid out once, below.
    m_suppressResize = true;
    m_view->ApplyWindowState(m_fullScreen, target);
    LayoutToolbar();
    m_suppressResize = false;
    FormResize();
    const TPlayArea old = PlayArea;
    UpdatePlayArea();
    PlayAreaChanged(old);
    FlushFieldUpdate();
}

void TOrvelApp::ToggleFullScreen() {
    FullScreenClick();
    LayoutToolbar();
}

void TOrvelApp::ShowFullScreenState(bool on) {
    SetItemChecked(MI_FullScreen, on);
    m_toolbar.MarkToolDown(BI_FullScreen, on);
}

// ----------------------------------------------------------------- layout

void TOrvelApp::Resize(int width, int height) {
    m_layout = MainLayout(width, height);
    m_view->LayoutChanged(m_layout);
    FormResize();
}

void TOrvelApp::WorkAreaChanged() {
    const TPlayArea old = PlayArea;
    UpdatePlayArea();
    PlayAreaChanged(old);
    if (!m_fullScreen) FormResize();
}

void TOrvelApp::UpdatePlayArea() {
    const ScreenMetrics sm = m_platform.GetScreenMetrics();
    PlayArea = ComputePlayArea(sm, m_fullScreen, m_layout.Width, m_layout.Height);
    // The field picture has the screen's size, whatever part of it shows.
    const int screenW = Max(sm.ScreenW, 1), screenH = Max(sm.ScreenH, 1);
    if (View.Field.Width != screenW || View.Field.Height != screenH)
        SizeField(View, screenW, screenH, kDefaultBackground);
}

void TOrvelApp::FormResize() {
    if (!m_startedUp || m_suppressResize) return;
    LayoutToolbar();
    const int fieldW = Min(m_layout.FieldW, View.Field.Width);
    const int fieldH = Min(m_layout.FieldH, View.Field.Height);
    SetFieldArea(View, fieldW, fieldH);
    for (int s = 0; s < 2; ++s) {
        SetPosSize(Wins.Wins[s].Outer, 0, 0, fieldW, fieldH);
        Relayout(Wins.Wins[s]);
    }
    RequestFullRedraw();
    FlushFieldUpdate();
}

void TOrvelApp::LayoutToolbar() {
    m_toolbar.Layout(m_layout.Width, m_fullScreen);
    m_view->ToolbarPlaced();
}

// ----------------------------------------------------------------- progress

void TOrvelApp::ShowProgress(const std::string& text, int steps) {
    m_progressSteps = Max(steps, 1);
    m_progressDone = 0;
    m_progressUp = true;
    m_view->ProgressShown(text);
    EnableCommands(false);
    m_platform.ProcessEvents();
}

void TOrvelApp::StepProgress() {
    if (!m_progressUp) return;
    m_progressDone = Min(m_progressDone + 1, m_progressSteps);
    m_view->ProgressStepped(m_progressDone, m_progressSteps);
    m_platform.ProcessEvents();
}

void TOrvelApp::HideProgress() {
    m_view->ProgressHidden();
    m_progressUp = false;
    EnableCommands(true);
}

// ----------------------------------------------------------------- field

void TOrvelApp::RequestFullRedraw() {
    RequestUpdate(View, FieldUpdate::Whole);
}

void TOrvelApp::FlushFieldUpdate() {
    FlushField(View, Wins, Layers);
}

void TOrvelApp::FieldMouseDown(int x, int y, int button, uint8_t shift) {
    if (FieldMouseBlocked()) return;
    TBusyScope busy(Game);
    if (PieceMouseDown) PieceMouseDown(button, shift, x, y, false);
    FlushFieldUpdate();
}

void TOrvelApp::FieldMouseMove(int x, int y, bool buttonHeld, uint8_t shift) {
    if (FieldMouseBlocked()) return;
    TBusyScope busy(Game);
    m_toolbar.ClearHotTool();
    if (PieceMouseMove) {
        PieceMouseMove(shift, x, y, buttonHeld);
    } else if (!buttonHeld) {
        HoverField(View, Wins, x, y, m_platform);
    }
    FlushFieldUpdate();
}

void TOrvelApp::FieldMouseUp(int x, int y, int button, uint8_t shift) {
    if (FieldMouseBlocked()) return;
    TBusyScope busy(Game);
    if (PieceMouseUp) PieceMouseUp(button, shift, x, y, false);
    FlushFieldUpdate();
}

void TOrvelApp::Wheel(int x, int y, int delta) {
    if (delta == 0 || !Game.GameLoaded || FieldMouseBlocked()) return;
    if (x < 0 || y < 0 || x >= m_layout.FieldW || y >= m_layout.FieldH) return;
    // A press with the buttons the options bind to turning: down clockwise, up
    // counter-clockwise. Only the press: no release follows, so a drag in
    // progress is not dropped by the wheel.
    const bool down = delta < 0;
    const int button = down ? Settings.RotCW_Button : Settings.RotCCW_Button;
    const uint8_t shift = down ? Settings.RotCW_Shift : Settings.RotCCW_Shift;
    TBusyScope busy(Game);
    if (PieceMouseDown) PieceMouseDown(button, shift, x, y, true);
    FlushFieldUpdate();
}

// ----------------------------------------------------------------- keys

void TOrvelApp::KeyDown(uint16_t key) {
    Keys.KeyDown(key, m_progressUp);
}

void TOrvelApp::KeyUp(uint16_t key, uint8_t shift) {
    if (!Keys.KeyUp(key)) return;
    if (key == kKeySpace) {
        SwitchSide();
        return;
    }
    const int cmd = FindShortcut(m_menu, key, shift);
    if (cmd >= 0) RunCommand(cmd);
}

// ----------------------------------------------------------------- toolbar mouse

void TOrvelApp::ToolMouseMove(int slot, bool leftHeld) {
    m_toolbar.MouseMove(slot, leftHeld);
}

void TOrvelApp::ToolMouseDown(int slot) {
    m_toolbar.MouseDown(slot);
    m_view->ToolbarPlaced();
}

void TOrvelApp::ToolMouseUp() {
    const int cmd = m_toolbar.MouseUp();
    m_view->ToolbarPlaced();
    if (cmd >= 0) RunCommand(cmd);
}

void TOrvelApp::ToolbarPanelMove() {
    m_toolbar.ClearHotTool();
}

// In full screen the screen's top-right corner is the Close button's: a press
// and release there close the program.
void TOrvelApp::ToolbarPanelPress(int x, int y) {
    const TToolButton& close = m_toolbar.Buttons[BI_Close];
    if (m_fullScreen && x >= close.Left && y <= close.Top + close.Height - 1) {
        m_toolbar.MouseMove(BI_Close, false);
        ToolMouseDown(BI_Close);
    }
}

void TOrvelApp::ToolbarPanelRelease(int x, int y) {
    const TToolButton& close = m_toolbar.Buttons[BI_Close];
    if (m_fullScreen && x >= close.Left && y <= close.Top + close.Height - 1 &&
        m_toolbar.HotSlot == BI_Close)
        ToolMouseUp();
}

// ----------------------------------------------------------------- timers and closing

bool TOrvelApp::AutoSaveDue(double now) const {
    if (!Game.GameLoaded || !Settings.AutoSave_bEnabled || !Game.ModifiedSinceAutosave ||
        Game.Busy || !AutoSaveGame)
        return false;
    if (now - LastAutoSave < Settings.AutoSave_iIntervalMin / 1440.0) return false;
    // A save in progress leaves its scratch file behind until it is done.
    std::error_code ec;
    return !std::filesystem::exists(Paths.SaveScratchFile, ec);
}

void TOrvelApp::AutoSaveTick() {
    const double now = m_platform.Now();
    if (m_closing || !AutoSaveDue(now)) return;
    LastAutoSave = now;
    AutoSaveGame();
}

bool TOrvelApp::CloseRequest() {
    TBusyScope busy(Game);
    if (Game.GameLoaded && Game.Modified && QuerySaveChanges && !QuerySaveChanges()) return false;
    m_closing = true;
    SaveSettingsAtExit();
    return true;
}

void TOrvelApp::SaveSettingsAtExit() {
    Settings.FullScreen = m_fullScreen;
    try {
        SaveSettings(Settings, SettingsPaths());
    } catch (const IoError& e) {
        // The window still closes: staying open would not make the file writable.
        const std::string text =
            FormatText(Lang->LookUpMessage(LangSection::MainForm, "MS_CantWriteSettings"),
                       SettingsFilePath(SettingsPaths()));
        Lang->ShowMessage(text + "\n\n" + e.what(), MsgKind::Warning);
    }
}

}  // namespace orvel
