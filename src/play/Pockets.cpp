#include "play/Pockets.h"

#include <vector>

#include "base/IntMath.h"
#include "game/GameModel.h"

namespace orvel {

void PocketContent(const TGame& game, TMyWin& pocket) {
    int w = 0, h = 0;
    const int n = PiecesInPlay(game);
    for (int i = 0; i < n; ++i) {
        const TPiece& p = game.Pieces[i];
        if (p.window != pocket.Id) continue;
        w = Max(w, p.posX + p.rotW);
        h = Max(h, p.posY + p.rotH);
    }
    if (pocket.MaxClientW > 0) w = Min(w, pocket.MaxClientW);
    if (pocket.MaxClientH > 0) h = Min(h, pocket.MaxClientH);
    pocket.ContentW = w;
    pocket.ContentH = h;
    Relayout(pocket);
}

void ResetPockets(TPlayWindows& pw, const TGame& game, const PocketCaptionFn& caption,
                  Platform& platform) {
    for (int k = 0; k < 4; ++k) {
        TMyWin& pocket = pw.Wins[MW_POCKET0 + k];
        pocket.Groups = 0;
        SetVisible(pw, pocket, false);
        if (caption) SetCaption(pocket, caption(k + 1, 0), platform);
        PocketContent(game, pocket);
    }
}

namespace {

std::vector<TMyWin*> VisiblePockets(TPlayWindows& pw) {
    std::vector<TMyWin*> shown;
    for (int id = MW_POCKET0; id <= MW_POCKET3; ++id)
        if (pw.Wins[id].Visible) shown.push_back(&pw.Wins[id]);
    return shown;
}

void PlacePocket(TPlayWindows& pw, TMyWin& pocket, int left, int top, int width, int height) {
    SetPosSize(pocket.Outer, left, top, width, height);
    Relayout(pocket);
    BringToFront(pw, pocket);
}

}  // namespace

TMyRect NewPocketPlace(const TPlayWindows& pw, const TPlayArea& area, int pocket) {
    const int w = area.PlayW / 4, h = area.PlayH / 4;
    int bestLeft = 10000, bestTop = -10000;
    bool found = false;
    for (int id = MW_POCKET0; id <= MW_POCKET3; ++id) {
        const TMyWin& other = pw.Wins[id];
        if (id == pocket || !other.Visible) continue;
        if (other.Outer.Left < bestLeft && other.Outer.Top > bestTop) {
            bestLeft = other.Outer.Left;
            bestTop = other.Outer.Top;
            found = true;
        }
    }
    int left = area.PlayW - w, top = 0;
    if (found) {
        left = area.PlayW >= w + bestLeft - 40 ? bestLeft - 40 : area.PlayW - w;
        top = area.PlayH < h + bestTop + 40 ? area.PlayH - h : bestTop + 40;
    }
    TMyRect r;
    SetPosSize(r, Max(left, 0), Max(top, 0), w, h);
    return r;
}

int TilePockets(TPlayWindows& pw, const TPlayArea& area) {
    const std::vector<TMyWin*> shown = VisiblePockets(pw);
    const int n = static_cast<int>(shown.size());
    if (n == 0) return 0;
    const int w = area.PlayW / 4, h = area.PlayH / n;
    for (int k = 0; k < n; ++k) PlacePocket(pw, *shown[k], area.PlayW - w, h * k, w, h);
    return n;
}

int CascadePockets(TPlayWindows& pw, const TPlayArea& area) {
    const std::vector<TMyWin*> shown = VisiblePockets(pw);
    const int n = static_cast<int>(shown.size());
    if (n == 0) return 0;
    const int a = area.PlayW / 4;
    for (int k = 0; k < n; ++k)
        PlacePocket(pw, *shown[k], area.PlayW - a - 30 * n + 30 + 30 * k, 34 * k, a,
                    area.PlayH - 34 * n);
    return n;
}

}  // namespace orvel
