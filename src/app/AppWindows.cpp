// The application core's play windows: pockets, the current window's menu
// texts, window-frame operations, gathering and arranging pieces, and the
// backgrounds.
#include <array>
#include "app/AppPlayHooks.h"

#include "app/OrvelApp.h"
#include "base/IntMath.h"
#include "base/Text.h"
#include "game/GameModel.h"
#include "play/Arrange.h"
#include "play/Pockets.h"

namespace orvel {

namespace {

// The toolbar pictures of a pocket's button: empty, holding groups.
constexpr int kPocketEmptyImage = 9;
constexpr int kPocketHoldsImage = 10;

constexpr MenuCmd kPocketItems[4] = {MI_PocketsPocket1, MI_PocketsPocket2, MI_PocketsPocket3,
                                     MI_PocketsPocket4};
constexpr int kPocketSlots[4] = {BI_Pocket1, BI_Pocket2, BI_Pocket3, BI_Pocket4};

bool IsPocketNumber(int window) {
    return window >= MW_POCKET0 && window <= MW_POCKET3;
}

}  // namespace

// The frame operations and the hooks are made before the piece handler,
// which holds them.
void TOrvelApp::ConnectWindows() {
    m_playHooks = std::make_unique<TAppPlayHooks>(*this, m_aidHooks.get());
    m_frame = std::make_unique<TFrameOperation>(Wins, PlayArea, m_platform);
    m_frame->Actions.Close = [this](TMyWin& win) { CloseWindow(win); };
    m_frame->Actions.GlassZoom = [this](int zoom) {
        if (GlassZoom) GlassZoom(zoom);
    };
    m_frame->Actions.ResizeMain = [this](int w, int h) {
        m_view->ResizeClient(Max(w, kMinWindowW), Max(h, kMinWindowH));
    };
    m_frame->Actions.Resized = [this](TMyWin& win) { WindowResized(win); };
    Wins.OnActivate = [this](TMyWin*) { UpdateWindowMenus(); };
}

// ----------------------------------------------------------------- pockets

void TOrvelApp::ShowPocket(int pocket, bool visible) {
    if (pocket < 0 || pocket > 3) return;
    TMyWin& win = Wins.Wins[MW_POCKET0 + pocket];
    if (visible && GroupCount(Game, win.Id, true) == 0) {
        win.Outer = NewPocketPlace(Wins, PlayArea, win.Id);
        Relayout(win);
    }
    SetVisible(Wins, win, visible);
    if (visible)
        BringToFront(Wins, win);
    else if (Wins.ActiveWin == nullptr)
        UpdateWindowMenus();
    PocketToolState(pocket);
    RequestFullRedraw();
}

void TOrvelApp::PocketCount(int pocket) {
    if (pocket < 0 || pocket > 3) return;
    TMyWin& win = Wins.Wins[MW_POCKET0 + pocket];
    win.Groups = GroupCount(Game, win.Id, true);
    PocketToolState(pocket);
    SetCaption(win, PocketCaption(*Lang, pocket + 1, win.Groups), m_platform);
}

void TOrvelApp::PocketToolState(int pocket) {
    const TMyWin& win = Wins.Wins[MW_POCKET0 + pocket];
    m_toolbar.SetImage(kPocketSlots[pocket],
                       win.Groups > 0 ? kPocketHoldsImage : kPocketEmptyImage);
    m_toolbar.MarkToolDown(kPocketSlots[pocket], win.Visible);
    SetItemChecked(kPocketItems[pocket], win.Visible);
}

void TOrvelApp::PocketChanged(int window) {
    if (!IsPocketNumber(window)) return;
    PocketCount(window - MW_POCKET0);
    PocketContent(Game, Wins.Wins[window]);
}

// Tiling and cascading first show the hidden pockets that hold pieces.
void TOrvelApp::ShowHeldPockets() {
    for (int k = 0; k < 4; ++k) {
        TMyWin& win = Wins.Wins[MW_POCKET0 + k];
        win.Groups = GroupCount(Game, win.Id, true);
        if (!win.Visible && win.Groups > 0) ShowPocket(k, true);
    }
}

void TOrvelApp::LayOutPockets(bool cascade) {
    TBusyScope busy(Game);
    ShowHeldPockets();
    const int n = cascade ? CascadePockets(Wins, PlayArea) : TilePockets(Wins, PlayArea);
    if (n == 0) return;
    for (int id = MW_POCKET0; id <= MW_POCKET3; ++id)
        if (Wins.Wins[id].Visible) PocketContent(Game, Wins.Wins[id]);
    RequestFullRedraw();
    FlushFieldUpdate();
}

// ----------------------------------------------------------------- current window

void TOrvelApp::UpdateWindowMenus() {
    const TMyWin& win = CurrentWindow(Wins);
    const bool pocket = win.Kind == TWinKind::Pocket;
    const int number = pocket ? win.Id - MW_POCKET0 + 1 : win.Id + 1;
    const std::string n = std::to_string(number);
    m_menu.Captions[MI_GameBkgCur] = FormatText(
        Lang->LookUp(LangSection::MainForm, pocket ? "MI_GameBkgPocket%d" : "MI_GameBkgWin%d"), n);
    m_menu.Captions[MI_GameSelectAll] =
        FormatText(Lang->LookUp(LangSection::MainForm,
                                pocket ? "MI_GameSelectAllPocket%d" : "MI_GameSelectAllWin%d"),
                   n);
    m_view->MenuItemChanged(MI_GameBkgCur);
    m_view->MenuItemChanged(MI_GameSelectAll);
    m_view->ToolButtonChanged(BI_BkgCur, false);
    m_view->ToolButtonChanged(BI_SelectAll, false);
}

// ----------------------------------------------------------------- frame operations

void TOrvelApp::FrameStart(TMyWin& win, THitCode code, int button, int x, int y) {
    m_frame->Start(win, code, button, x, y, m_layout.Width, m_layout.Height);
    RequestFullRedraw();
    const bool reshapes = code == THitCode::Move || IsResizeCode(code);
    if (reshapes && (win.Kind == TWinKind::Pocket || win.Kind == TWinKind::Thumb))
        BuildFrameLayers(win);
}

void TOrvelApp::FrameMove(int x, int y, bool buttonHeld) {
    if (!m_frame->Running()) return;
    m_frame->Move(x, y, buttonHeld);
    TMyWin* win = m_frame->Window();
    if (m_frameLayers.Active() && win != nullptr)
        m_frameLayers.Step(View, win->Outer, [this, win](TMyBitmap& field, const TMyRect& clip) {
            DrawWindowAlone(field, clip, *win);
        });
    else
        RequestFullRedraw();
}

void TOrvelApp::FrameEnd(int x, int y) {
    m_frame->End(x, y);
    m_frameLayers.Release();
    RequestFullRedraw();
}

// Everything but the window goes into the still layer; each step then
// costs the window's own area.
void TOrvelApp::BuildFrameLayers(TMyWin& win) {
    TFieldLayers still = Layers;
    still.DrawOverlays = nullptr;
    TMyRect area;
    SetPosSize(area, 0, 0, View.FieldW, View.FieldH);
    win.Visible = false;
    m_frameLayers.Build(View, area, Wins, still, win.Outer,
                        [this, &win](TMyBitmap& field, const TMyRect& clip) {
                            win.Visible = true;
                            DrawWindowAlone(field, clip, win);
                        });
    win.Visible = true;
}

// The composition with every other window hidden for the moment.
void TOrvelApp::DrawWindowAlone(TMyBitmap& field, const TMyRect& clip, TMyWin& win) {
    std::array<bool, kPlayWindowCount> shown{};
    for (int i = 0; i < kPlayWindowCount; ++i) {
        shown[i] = Wins.Wins[i].Visible;
        Wins.Wins[i].Visible = &Wins.Wins[i] == &win;
    }
    const bool glass = Wins.Glass.Visible;
    Wins.Glass.Visible = false;
    TFieldLayers alone = Layers;
    alone.DrawOverlays = nullptr;
    ComposeRect(field, clip, Wins, alone);
    for (int i = 0; i < kPlayWindowCount; ++i) Wins.Wins[i].Visible = shown[i];
    Wins.Glass.Visible = glass;
}

void TOrvelApp::CloseWindow(TMyWin& win) {
    if (win.Kind == TWinKind::Pocket)
        ShowPocket(win.Id - MW_POCKET0, false);
    else
        ShowPlayWindow(win, false);
}

void TOrvelApp::WindowResized(TMyWin& win) {
    if (win.Kind == TWinKind::Thumb && Game.GameLoaded)
        PaintThumbnail(GameView.ThumbBuffer, win, Game.Picture(0));
}

// A new play area: the sides take their content size again, the groups keep
// their relative places and every piece stays inside.
void TOrvelApp::PlayAreaChanged(const TPlayArea& old) {
    if (!Game.GameLoaded || old == PlayArea) return;
    SizeSides(Wins, Game.Header, PlayArea.PlayW, PlayArea.PlayH);
    for (int w = MW_SIDE0; w <= MW_POCKET3; ++w) {
        RescaleGroups(Game, w, PlayArea.PlayW, PlayArea.PlayH, old.PlayW, old.PlayH);
        m_pieces->KeepInside(w, true);
    }
    ApplyBackgrounds();
    RequestFullRedraw();
}

// ----------------------------------------------------------------- selection

void TOrvelApp::SelectionChanged(bool hasSelection) {
    SetItemEnabled(MI_GameArrange, hasSelection);
    m_toolbar.EnableToolButton(BI_Arrange, hasSelection);
}

// ----------------------------------------------------------------- gather and arrange

void TOrvelApp::GatherCommand() {
    if (!Game.GameLoaded) return;
    TBusyScope busy(Game);
    if (Lang->ShowMessageKey(LangSection::MainForm, "Q_Gather", MsgKind::YesNo) != MsgResult::Yes)
        return;
    if (Game.HasSelection && ClearSelection) ClearSelection();
    m_pieces->Reset();
    Game.DragMode = TDragMode::Idle;
    Game.PickedPiece = -1;
    GatherToFirstSide(Game);
    Activate(Wins, &Wins.Wins[MW_SIDE0]);
    ResetPockets(
        Wins, Game, [this](int pocket, int groups) { return PocketCaption(*Lang, pocket, groups); },
        m_platform);
    for (int k = 0; k < 4; ++k) PocketToolState(k);
    ShowSide(0);
    m_pieces->KeepInside(MW_SIDE0, true);
    MarkChanged(Game);
    RequestFullRedraw();
    FlushFieldUpdate();
}

void TOrvelApp::ArrangeCommand() {
    if (!Game.GameLoaded || !Game.HasSelection) return;
    TBusyScope busy(Game);
    TMyWin& win = CurrentWindow(Wins);
    int width = 0, height = 0;
    KeepInsideBounds(Wins, PlayArea, win.Id, width, height);
    if (ArrangeSelected(Game, win.Id, width, height) == 0) return;
    if (win.Kind == TWinKind::Pocket) PocketContent(Game, win);
    MarkChanged(Game);
    RequestFullRedraw();
    FlushFieldUpdate();
}

// ----------------------------------------------------------------- backgrounds

bool TOrvelApp::LoadBackgroundPicture(int32_t code) {
    const TMyWin& side = Wins.Wins[MW_SIDE0];
    const int w = Max(side.ContentW, PlayArea.PlayFullW);
    const int h = Max(side.ContentH, PlayArea.PlayFullH);
    const bool loaded = orvel::LoadBackgroundPicture(BkgPic, Paths.AppDir, code, w, h);
    Wins.BkgPicture = BkgPic.Code != 0 ? &BkgPic.Picture : nullptr;
    Wins.BkgPictureCode = BkgPic.Code;
    return loaded;
}

void TOrvelApp::SetBackground(int window, int32_t value) {
    if (window < 0 || window >= kBackgroundWindows) return;
    if (IsBackgroundPictureCode(value) && !LoadBackgroundPicture(value))
        value = static_cast<int32_t>(kDefaultBackground);
    Settings.WinBkg[window] = static_cast<TColor>(value);
    Wins.Wins[window].Background = value;
    RequestFullRedraw();
}

void TOrvelApp::ApplyBackgrounds() {
    TBackgroundValues values;
    for (int k = 0; k < kBackgroundWindows; ++k)
        values[k] = static_cast<int32_t>(Settings.WinBkg[k]);
    ResolveBackgrounds(values, [this](int32_t code) { return LoadBackgroundPicture(code); });
    for (int k = 0; k < kBackgroundWindows; ++k) SetBackground(k, values[k]);
}

}  // namespace orvel
