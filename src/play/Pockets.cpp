#include "play/Pockets.h"

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

}  // namespace orvel
