// The application core's helpers for big puzzles: the edge pieces sorted
// into a pocket, and the lost pieces found one after another.
#include "app/OrvelApp.h"

#include "game/GameModel.h"
#include "play/EdgeSort.h"
#include "play/LostPieces.h"
#include "play/PieceGeometry.h"
#include "play/Sides.h"

namespace orvel {

namespace {

bool IsSide(const TMyWin& win) {
    return win.Kind == TWinKind::Side;
}

}  // namespace

// The current window when it is a pocket, else the first pocket.
int TOrvelApp::EdgePocket() {
    const TMyWin& current = CurrentWindow(Wins);
    return current.Kind == TWinKind::Pocket ? current.Id - MW_POCKET0 : 0;
}

void TOrvelApp::SortEdges(int pocket) {
    if (!Game.GameLoaded || Game.DragMode != TDragMode::Idle || pocket < 0 || pocket > 3) return;
    TBusyScope busy(Game);
    if (Game.HasSelection && ClearSelection) ClearSelection();
    TMyWin& win = Wins.Wins[MW_POCKET0 + pocket];
    if (!win.Visible) ShowPocket(pocket, true);
    int width = 0, height = 0;
    KeepInsideBounds(Wins, PlayArea, win.Id, width, height);
    const TEdgeSortResult sorted = SortEdgesIntoPocket(Game, win.Id, width, height);
    for (int w = MW_POCKET0; w <= MW_POCKET3; ++w)
        if (w == win.Id || (sorted.FromWindows & (1u << w)) != 0) PocketChanged(w);
    BringToFront(Wins, win);
    Activate(Wins, &win);
    if (sorted.Moved > 0) MarkChanged(Game);
    RequestFullRedraw();
    FlushFieldUpdate();
}

// The shown side and the visible pockets: the windows a player looks in.
std::vector<int> TOrvelApp::LookedAtWindows() const {
    std::vector<int> windows{Game.CurSide};
    for (int w = MW_POCKET0; w <= MW_POCKET3; ++w)
        if (Wins.Wins[w].Visible) windows.push_back(w);
    return windows;
}

void TOrvelApp::FindLostCommand() {
    if (!Game.GameLoaded || Game.DragMode != TDragMode::Idle) return;
    TBusyScope busy(Game);
    // A round belongs to one game: piece numbers mean nothing in the next.
    if (m_lostRoundGame != Game.Pieces.data() || m_lostRoundPieces != Game.Pieces.size()) {
        m_lostRound.Reset();
        m_lostRoundGame = Game.Pieces.data();
        m_lostRoundPieces = Game.Pieces.size();
    }
    const std::vector<TLostGroup> lost = FindLostGroups(Game, Wins, LookedAtWindows());
    const int next = m_lostRound.Next(lost);
    if (next < 0) {
        Lang->ShowMessageKey(LangSection::MainForm, "MS_NoLostPieces", MsgKind::Info);
        return;
    }
    if (Game.HasSelection && ClearSelection) ClearSelection();
    ShowFoundGroup(lost[next]);
}

// Selects the group, raises it, scrolls its window to it and flashes it.
void TOrvelApp::ShowFoundGroup(const TLostGroup& found) {
    TMyWin& win = Wins.Wins[found.Window];
    const int32_t group = Game.Pieces[found.Piece].group;
    for (int i = 0; i < PiecesInPlay(Game); ++i) {
        TPiece& p = Game.Pieces[i];
        if (p.group == group && p.window == found.Window) p.selected = 1;
    }
    BringSelectionToTop(Game);
    Game.HasSelection = true;
    SelectionChanged(true);
    if (!IsSide(win)) BringToFront(Wins, win);
    Activate(Wins, &win);
    const TMyRect box = GroupContentBox(Game, found.Piece);
    if (ScrollIntoView(win, box) && IsSide(win)) CopyGeometry(Wins.Wins[1 - win.Id], win);
    MarkChanged(Game);
    RequestFullRedraw();
    FlushFieldUpdate();
    TMyRect outline;
    SetBounds(outline, FieldX(win, box.Left) - 3, FieldY(win, box.Top) - 3,
              FieldX(win, box.Right) + 3, FieldY(win, box.Bottom) + 3);
    FlashOutline(View, Wins, Layers, outline, win.Client, m_platform);
}

}  // namespace orvel
