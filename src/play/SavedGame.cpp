#include "play/SavedGame.h"

#include <algorithm>

#include "cutter/PieceEffects.h"
#include "game/GameModel.h"
#include "graphics/ImageCodecs.h"
#include "platform/Progress.h"
#include "play/Pockets.h"
#include "play/Rotations.h"
#include "play/Sides.h"

namespace orvel {

namespace {

constexpr int kStoredThumbW = 180;
constexpr int kStoredThumbH = 135;

std::array<uint8_t, kPlayOptionBytes> PlayOptionsOf(const TSettings& s) {
    return {s.RotCW_Button,  s.RotCW_Shift,  s.RotCCW_Button,        s.RotCCW_Shift,
            s.MoveOW_Button, s.MoveOW_Shift, uint8_t(s.bSingleWin), uint8_t(s.bClickToDrag)};
}

TSavedPocket PocketOf(const TMyWin& win) {
    TSavedPocket p;
    p.Fixed = 0;
    p.Visible = win.Visible ? 1 : 0;
    p.Left = win.Outer.Left;
    p.Top = win.Outer.Top;
    p.Right = win.Outer.Right;
    p.Bottom = win.Outer.Bottom;
    p.ScrollX = win.ScrollX;
    p.ScrollY = win.ScrollY;
    return p;
}

// The stored thumbnail: the browser's, or the picture made small. A bitmap
// file, so that saving a resumed game stores the very same bytes again.
Result ThumbBytes(const TGame& game, const TMyBitmap& thumb, std::vector<uint8_t>& out) {
    if (thumb.Width > 0 && thumb.Height > 0) return SaveBmp24(thumb, out);
    const TMyBitmap& picture = game.Buffers[0];
    const int w = std::max(1, std::min(kStoredThumbW, kStoredThumbH * picture.Width /
                                                          std::max(picture.Height, 1)));
    const int h = std::max(1, w * picture.Height / std::max(picture.Width, 1));
    TMyBitmap small;
    if (!Create24(small, w, std::min(h, kStoredThumbH))) return CannotSavePicture("the thumbnail");
    ScaleInto(small, picture);
    return SaveBmp24(small, out);
}

int ResumeSteps(const GameHeader& h, const EffectSettings& effects) {
    const bool r = h.Rotate != 0;
    if (effects.EmbossStyle != 0 || effects.WoodStyle != 0) return r ? 15 : 6;
    return r ? 11 : 5;
}

// The pockets as the file left them: shown or hidden, in place, scrolled,
// their groups counted.
void RestorePockets(TGame& game, TPlayWindows& pw, const TSaveState& state,
                    const TNewGameSetup& setup, Platform& platform) {
    const TMyWin& side = pw.Wins[MW_SIDE0];
    for (int k = 0; k < 4; ++k) {
        TMyWin& pocket = pw.Wins[MW_POCKET0 + k];
        pocket.MaxClientW = side.ContentW;
        pocket.MaxClientH = side.ContentH;
        UpdateLimits(pocket);
    }
    ResetPockets(pw, game, setup.PocketCaption, platform);
    for (int k = 0; k < 4; ++k) {
        TMyWin& pocket = pw.Wins[MW_POCKET0 + k];
        const TSavedPocket& saved = state.Pockets[k];
        if (saved.Right > saved.Left && saved.Bottom > saved.Top) {
            SetBounds(pocket.Outer, saved.Left, saved.Top, saved.Right, saved.Bottom);
            Relayout(pocket);
        }
        if (saved.Fixed == 0) {
            // Copied out first: the record is packed, its fields may lie unaligned.
            const int32_t scrollX = saved.ScrollX, scrollY = saved.ScrollY;
            pocket.ScrollX = std::max(0, scrollX);
            pocket.ScrollY = std::max(0, scrollY);
            pocket.Groups = GroupCount(game, MW_POCKET0 + k, true);
            if (setup.PocketCaption)
                SetCaption(pocket, setup.PocketCaption(k + 1, pocket.Groups), platform);
            PocketContent(game, pocket);
        }
        SetVisible(pw, pocket, saved.Visible != 0);
    }
}

// The relief goes back to neutral over the picture's area. The shadow
// margin keeps what the cutter left there (nothing), so that a resumed game
// holds the very mask a new cut of it would.
void ResetPictureRelief(TMyBitmap& mask, int imageW, int imageH) {
    for (int y = 0; y < std::min(imageH, mask.Height); ++y) {
        uint8_t* p = RowPtr(mask, y);
        for (int x = 0; x < std::min(imageW, mask.Width); ++x, p += 3) {
            p[1] = 0;
            p[2] = 128;
        }
    }
}

void TakePieces(TGame& game, const TSaveState& state) {
    const int n = game.Header.TotalTileNum;
    std::copy(state.Pieces.begin(), state.Pieces.end(), game.Pieces.begin());
    for (int i = 0; i < n; ++i) UpdateRotatedBox(game, i);
    game.InvalidateOrder();
}

Result BuildResumed(TGame& game, TPlayWindows& pw, TSavedGameData& data,
                    const TNewGameSetup& setup, TNewGameView& view, Progress& progress,
                    Platform& platform) {
    game.Header = data.Header;
    game.sJig = game.sJigName = data.Name;
    if (data.Thumb.Width > 0) view.StoreThumb = std::move(data.Thumb);
    game.Buffers[0] = std::move(data.Picture);
    SizeSides(pw, game.Header, setup.PlayW, setup.PlayH);
    SizeThumbWindow(pw.Wins[MW_THUMB], game.Header, view.ThumbBuffer);
    progress.StepProgress();
    game.Buffers[4] = std::move(data.Mask);
    progress.StepProgress();
    // The relief is built afresh below, with the effects chosen now.
    ResetPictureRelief(game.Buffers[4], game.Header.ImageW, game.Header.ImageH);
    progress.StepProgress();
    if (!game.Header.Rotate)
        ReleaseTurnedCopies(game);
    else if (!MakeTurnedCopies(game, &progress, setup.Threads))
        return FixedText("Not enough memory to turn the picture");
    view.Description = std::move(data.Description);
    if (!AllocPieces(game, game.Header.TotalTileNum + 1))
        return FixedText(kInvalidSavedGame, {},
                         std::to_string(game.Header.TotalTileNum) + " pieces are too many");
    TakePieces(game, data.State);
    RestorePockets(game, pw, data.State, setup, platform);
    game.WeightPiece = data.State.WeightPiece;
    progress.StepProgress();
    ApplyPieceEffectsShared(game, setup.Effects, &progress, setup.Threads);
    return Result::Success();
}

}  // namespace

TSaveState GatherSaveState(const TGame& game, const TPlayWindows& pw, const TSettings& settings,
                           const TBkgCarried& carried) {
    TSaveState s;
    s.BkgBlock[kBkgCarried0] = carried[0];
    s.BkgBlock[kBkgCarried1] = carried[1];
    s.BkgBlock[kBkgAll] = static_cast<int32_t>(settings.lBkg);
    for (int w = 0; w < 6; ++w) s.BkgBlock[kBkgWindows + w] = pw.Wins[w].Background;
    s.PlayOptions = PlayOptionsOf(settings);
    const int n = std::min<int>(game.Header.TotalTileNum, static_cast<int>(game.Pieces.size()));
    s.Pieces.assign(game.Pieces.begin(), game.Pieces.begin() + std::max(n, 0));
    // A selection is not part of the game: a resumed game starts without one.
    for (TPiece& p : s.Pieces) p.selected = 0;
    for (int k = 0; k < 4; ++k) s.Pockets[k] = PocketOf(pw.Wins[MW_POCKET0 + k]);
    s.HasTrailer = true;
    s.WeightPiece = game.WeightPiece;
    return s;
}

ResultOf<TSavedGameContent> GatherSaveContent(const TGame& game, const TPlayWindows& pw,
                                              const TSettings& settings,
                                              const TBkgCarried& carried, const TMyBitmap& thumb,
                                              const std::string& description) {
    TSavedGameContent c;
    c.Name = game.sJigName;
    c.Header = game.Header;
    c.Description = description;
    if (Result r = ThumbBytes(game, thumb, c.Thumb); !r) return r;
    if (Result r = SaveBmp24(game.Buffers[0], c.Picture); !r) return r;
    if (Result r = SaveBmp24(game.Buffers[4], c.Mask); !r) return r;
    c.State = GatherSaveState(game, pw, settings, carried);
    return c;
}

void ApplySavedSettings(const TSaveState& state, TSettings& s, TPlayWindows& pw,
                        TBkgCarried& carried) {
    const auto& o = state.PlayOptions;
    s.RotCW_Button = o[kOptRotCWButton];
    s.RotCW_Shift = o[kOptRotCWShift];
    s.RotCCW_Button = o[kOptRotCCWButton];
    s.RotCCW_Shift = o[kOptRotCCWShift];
    s.MoveOW_Button = o[kOptMoveOWButton];
    s.MoveOW_Shift = o[kOptMoveOWShift];
    s.bSingleWin = o[kOptSingleWin] != 0;
    s.bClickToDrag = o[kOptClickToDrag] != 0;
    carried = {state.BkgBlock[kBkgCarried0], state.BkgBlock[kBkgCarried1]};
    s.lBkg = static_cast<TColor>(state.BkgBlock[kBkgAll]);
    for (int w = 0; w < 6; ++w) {
        s.WinBkg[w] = static_cast<TColor>(state.BkgBlock[kBkgWindows + w]);
        pw.Wins[w].Background = state.BkgBlock[kBkgWindows + w];
    }
}

Result ResumeSavedGame(TGame& game, TPlayWindows& pw, TSavedGameData&& data,
                       const std::string& path, const TNewGameSetup& setup, TNewGameView& view,
                       Progress& progress, Platform& platform) {
    ResetInteraction(game);
    game.GameLoaded = false;
    progress.ShowProgress(setup.ProgressText, ResumeSteps(data.Header, setup.Effects));
    DiscardGame(game);
    TNewGameView built;
    Result result = Result::Success();
    try {
        result = BuildResumed(game, pw, data, setup, built, progress, platform);
    } catch (...) {
        DiscardGame(game);
        progress.HideProgress();
        throw;
    }
    progress.HideProgress();
    if (!result) {
        DiscardGame(game);
        return result;
    }
    game.sSolve = path;
    view = std::move(built);
    game.GameLoaded = true;
    return result;
}

}  // namespace orvel
