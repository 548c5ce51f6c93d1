// The aids of the application core: the glass, the weight, the game
// information, the finish sequence and the solved picture.
#include "app/GameInfo.h"
#include "app/OrvelApp.h"
#include "game/GameModel.h"
#include "graphics/ImageCodecs.h"
#include "play/PieceGeometry.h"
#include "play/SolvedImage.h"

namespace orvel {

namespace {

// Where the weight waits while the mouse is not over the field.
constexpr int kWeightAway = -100;
// The weight's toolbar pictures: placed and not.
constexpr int kWeightImageOn = 15;
constexpr int kWeightImageOff = 14;

}  // namespace

void TOrvelApp::InitAids() {
    Wins.Glass.OnLensChanged = [this](TMyWin& glass) { RecomputeLens(Lens, glass); };
    RecomputeLens(Lens, Wins.Glass);
    orvel::SetGlassZoom(Wins.Glass, Lens, kGlassZoomNear);
    GlassZoom = [this](int zoom) { SetGlassZoom(zoom); };
    Layers.DrawOverlays = [this](TMyBitmap& field, const TMyRect& update) {
        DrawAids(field, update);
    };
}

void TOrvelApp::DrawAids(TMyBitmap& field, const TMyRect& update) {
    DrawWeight(field, update, Weight, WeightImage);
    TMyRect shown;
    SetPosSize(shown, 0, 0, View.FieldW, View.FieldH);
    DrawGlass(field, update, shown, Wins.Glass, Lens);
}

// ----------------------------------------------------------------- glass

bool TOrvelApp::LensHit(int& x, int& y, bool map) {
    return orvel::LensHit(Wins.Glass, Lens, x, y, map);
}

void TOrvelApp::SetGlassZoom(int zoom) {
    orvel::SetGlassZoom(Wins.Glass, Lens, zoom);
    RequestFullRedraw();
}

void TOrvelApp::GlassResized() {
    RecomputeLens(Lens, Wins.Glass);
    RequestFullRedraw();
}

void TOrvelApp::ThumbnailResized() {
    if (Game.GameLoaded)
        PaintThumbnail(GameView.ThumbBuffer, Wins.Wins[MW_THUMB], Game.Picture(0));
    RequestFullRedraw();
}

void TOrvelApp::ToggleGlass() {
    TBusyScope busy(Game);
    TMyWin& glass = Wins.Glass;
    if (!glass.Visible) {
        SetPosSize(glass.Outer, 0, 0, glass.Outer.Width, glass.Outer.Height);
        Relayout(glass);
    }
    ShowPlayWindow(glass, !glass.Visible);
    FlushFieldUpdate();
}

// ----------------------------------------------------------------- weight

void TOrvelApp::WeightCommand() {
    TBusyScope busy(Game);
    const int picked = Game.PickedPiece;
    if (picked >= 0 && picked < PiecesInPlay(Game)) {
        Game.WeightPiece = picked;
        UpdateWeightMenu();
    } else if (Game.WeightPiece != -1) {
        RemoveWeight();
    } else if (Weight.Placing) {
        RemoveWeight();
        RequestFullRedraw();
    } else {
        int x = kWeightAway, y = kWeightAway;
        if (!m_view->FieldCursor(x, y) || x < 0 || y < 0) x = y = kWeightAway;
        StartWeight(x, y);
        RequestFullRedraw();
    }
    FlushFieldUpdate();
}

void TOrvelApp::RemoveWeight() {
    Weight.Placing = false;
    Game.WeightPiece = -1;
    UpdateWeightMenu();
}

void TOrvelApp::StartWeight(int x, int y) {
    Weight.Placing = true;
    PlaceWeight(Weight, WeightImage, x, y);
    Weight.Window = Wins.ActiveWin != nullptr ? Wins.ActiveWin->Id : 0;
    m_pieces->RebuildDragLayers();
}

// The topmost side or pocket under a field point (the glass is looked through).
int TOrvelApp::PlayWindowAt(int x, int y) const {
    for (int pos = kPlayWindowCount - 1; pos >= 0; --pos) {
        const TMyWin& win = Wins.Wins[Wins.ZOrder[pos]];
        if (win.Visible && IsSideOrPocket(win) && ContainsPoint(win.Outer, x, y)) return win.Id;
    }
    return kNoWindow;
}

void TOrvelApp::MoveWeight(int x, int y) {
    const TMyRect before = WeightRect(Weight, WeightImage);
    PlaceWeight(Weight, WeightImage, x, y);
    const int number = PlayWindowAt(x, y);
    if (number != kNoWindow && number != Weight.Window) {
        Weight.Window = number;
        TMyWin& win = Wins.Wins[number];
        if (win.Kind == TWinKind::Pocket)
            BringToFront(Wins, win);
        else
            Activate(Wins, &win);
        RequestFullRedraw();
        return;
    }
    const TMyRect after = WeightRect(Weight, WeightImage);
    RequestUpdate(View, FieldUpdate::Button, &before);
    RequestUpdate(View, FieldUpdate::Button, &after);
}

void TOrvelApp::DropWeight() {
    const int number = PlayWindowAt(Weight.PointX, Weight.PointY);
    if (number != kNoWindow && Wins.ActiveWin != &Wins.Wins[number])
        Activate(Wins, &Wins.Wins[number]);
    Game.WeightPiece = number != kNoWindow ? m_pieces->PieceAt(Weight.PointX, Weight.PointY) : -1;
    Weight.Placing = false;
    UpdateWeightMenu();
    MarkChanged(Game);
    RequestFullRedraw();
}

void TOrvelApp::UpdateWeightMenu() {
    if (!ShowWeightMenu()) return;
    SinkWeightedGroup(Game);
    RequestFullRedraw();
}

bool TOrvelApp::ShowWeightMenu() {
    const bool on = Game.GameLoaded && Game.WeightPiece != -1;
    m_menu.Captions[MI_GameWeight] =
        Lang->LookUp(LangSection::MainForm, on ? "MI_GameWeightOn" : "MI_GameWeightOff");
    SetItemChecked(MI_GameWeight, on);
    m_toolbar.SetImage(BI_Weight, on ? kWeightImageOn : kWeightImageOff);
    return on;
}

// ----------------------------------------------------------------- information

void TOrvelApp::ShowGameInfo() {
    if (!Game.GameLoaded) return;
    TBusyScope busy(Game);
    m_view->ShowInfo(BuildInfoForm(Game, *Lang, GameView));
}

// ----------------------------------------------------------------- finish

void TOrvelApp::FinishSequence() {
    Game.Solved = true;
    SetItemEnabled(MI_FileSaveImage, true);
    CentreSolvedPicture(Game, PlayArea.PlayW, PlayArea.PlayH);
    MarkChanged(Game);
    RequestFullRedraw();
    FlushFieldUpdate();
    if (Settings.CB_SoundPlay) m_platform.PlaySoundFile(kWinSound);
    if (m_view->ShowFinish(BuildFinishForm(*Lang))) SaveSolvedImage();
}

void TOrvelApp::SaveSolvedImage() {
    if (!Game.GameLoaded) return;
    TBusyScope busy(Game);
    const std::string path =
        m_platform.ChooseSaveFile(Lang->LookUp(LangSection::MainForm, "SD_SaveImage"),
                                  Paths.PicturesDir + Game.sJigName + ".bmp", "Bitmap", {"*.bmp"});
    if (path.empty()) return;
    ShowResult(WriteSolvedImage(path));
}

Result TOrvelApp::WriteSolvedImage(const std::string& path) {
    TMyBitmap picture;
    const std::string date = m_platform.ShortDate(m_platform.Now());
    if (!BuildSolvedImage(picture, Game, m_pieces->Look(), GameView.Description, date,
                          m_platform))
        return Result::Fail("MS_CantSaveImage", {path});
    Result saved = SaveBmp24File(picture, path);
    if (saved) return saved;
    return Result::Fail("MS_CantSaveImage", {path}, PlainText(saved.Error()));
}

}  // namespace orvel
