#include "play/NewGame.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/Text.h"
#include "cutter/CellCutter.h"
#include "cutter/KnobStrip.h"
#include "cutter/Silhouettes.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "platform/Platform.h"
#include "platform/Progress.h"
#include "play/Rotations.h"
#include "play/Thumb.h"

namespace orvel {

namespace {

// The key the cell cutter shows its paint failure with (it has no
// language of its own, so the key arrives as it stands).

// Everything one start works with.
struct NewGameRun {
    TGame& game;
    TPlayWindows& pw;
    const TNewGameRequest& request;
    const TNewGameSetup& setup;
    TNewGameView view;
    Progress& progress;
    Platform& platform;
};

int ProgressSteps(const GameHeader& h, const EffectSettings& effects) {
    const int r = h.Rotate ? 1 : 0;
    const bool relief = effects.EmbossStyle != 0 || effects.WoodStyle != 0;
    return 13 + 6 * r + (relief ? 1 + 3 * r : 0);
}

}  // namespace

// Drops the pieces, buffers and names of the game in play; the random
// generator and the Busy mark of the running command stay.
void DiscardGame(TGame& game) {
    FreePieces(game);
    for (TMyBitmap& buffer : game.Buffers) ReleaseBitmap(buffer);
    for (TGame::WoodBuffer& wood : game.Wood) wood = TGame::WoodBuffer{};
    game.WoodWidth = 0;
    game.sJig.clear();
    game.sSolve.clear();
    game.sJigName.clear();
}

namespace {

// A start that failed leaves no half-built game behind.
void Abandon(TGame& game, Progress& progress) {
    DiscardGame(game);
    progress.HideProgress();
}

Result CheckJigsawPath(const std::string& path) {
    std::error_code ec;
    if (AsciiLower(std::filesystem::path(path).extension().string()) != ".orv")
        return Result::Fail(kInvalidJigsaw, {}, path + ": a jigsaw file's name ends in .orv",
                            MsgSection::Fixed);
    if (!std::filesystem::is_regular_file(path, ec))
        return Result::Fail(kInvalidJigsaw, {}, path + ": no such file", MsgSection::Fixed);
    return Result::Success();
}

// With fit-to-screen the picture is scaled to the fitted size the browser
// worked out; ImageW and ImageH become the size the picture is cut at.
Result FitPicture(GameHeader& h, TMyBitmap& picture) {
    h.ImageW = picture.Width;
    h.ImageH = picture.Height;
    if (!h.FitToScreen || h.FitW <= 0 || h.FitH <= 0) return Result::Success();
    if (h.FitW == picture.Width && h.FitH == picture.Height) return Result::Success();
    TMyBitmap fitted;
    if (!Create24(fitted, h.FitW, h.FitH))
        return Result::Fail(kInvalidJigsaw, {},
                            "no memory for a " + std::to_string(h.FitW) + " x " +
                                std::to_string(h.FitH) + " picture",
                            MsgSection::Fixed);
    ScaleInto(fitted, picture);
    picture = std::move(fitted);
    h.ImageW = h.FitW;
    h.ImageH = h.FitH;
    return Result::Success();
}

}  // namespace

// Both sides show the picture's whole area from their top-left corner.
void SizeSides(TPlayWindows& pw, const GameHeader& h, int playW, int playH) {
    TMyWin& side0 = pw.Wins[MW_SIDE0];
    side0.ScrollX = 0;
    side0.ScrollY = 0;
    side0.ContentW = Max(playW, h.ImageW);
    side0.ContentH = Max(playH, h.ImageH);
    Relayout(side0);
    CopyGeometry(pw.Wins[MW_SIDE1], side0);
}

// The thumbnail window keeps the picture's shape between 40 pixels on its
// shorter side and half the picture's size. The picture check has made both
// halves positive.
void SizeThumbWindow(TMyWin& thumb, const GameHeader& h, TMyBitmap& buffer) {
    const int w2 = h.ImageW / 2, h2 = h.ImageH / 2;
    if (h2 < w2) {
        thumb.MinClientH = 40;
        thumb.MinClientW = w2 * 40 / h2;
    } else {
        thumb.MinClientW = 40;
        thumb.MinClientH = h2 * 40 / w2;
    }
    thumb.MaxClientW = w2;
    thumb.MaxClientH = h2;
    UpdateLimits(thumb);
    SetClientSize(thumb, true, h.ImageW / 4, h.ImageH / 4);
    if (!Create24(buffer, w2, h2)) ReleaseBitmap(buffer);  // no thumbnail picture, the game goes on
}

namespace {

// A typed seed that is a whole number restarts the generator; otherwise
// the game takes the generator's current state.
void ChooseSeed(TGame& game, const TNewGameRequest& request) {
    int32_t typed = 0;
    if (request.SeedShown && !request.SeedText.empty() &&
        ParseInt32(TrimView(request.SeedText), typed))
        game.Random.Seed = static_cast<uint32_t>(typed);
    game.Header.GameSeed = static_cast<int32_t>(game.Random.Seed);
}

Result Cut(NewGameRun& run) {
    CutEnvironment env;
    env.progress = &run.progress;
    if (run.game.Header.ShapeStyle < 4) {
        Silhouettes fallback(run.setup.ShapeFile);
        if (run.game.Header.ShapeStyle == 3)
            env.pictures = run.setup.Pictures ? run.setup.Pictures : &fallback;
        return CutPieces(run.game, env);
    }
    TMyBitmap strip;
    if (Result r = LoadKnobStrip(strip, run.setup.ResourcesDir); !r) return r;
    return CutGrid(run.game, env, strip);
}

// Every piece starts alone in its group on side 0, upright or turned at random.
void InitPieces(TGame& game) {
    const int n = PiecesInPlay(game);
    for (int i = 0; i < n; ++i) {
        TPiece& p = game.Pieces[i];
        p.group = i;
        p.window = MW_SIDE0;
        p.rotation = static_cast<uint8_t>(game.Header.Rotate ? game.RandInt(4) : 0);
        p.selected = 0;
        UpdateRotatedBox(game, i);
    }
    game.InvalidateOrder();
}

int FramePiece(const TGame& game) {
    const int n = PiecesInPlay(game);
    return game.Header.BorderStyle == 1 && n == game.Header.TileNum + 1 ? n - 1 : -1;
}

// The frame lies upright in the middle of the content.
void PlaceFramePiece(TGame& game, const TLayoutArea& area) {
    const int frame = FramePiece(game);
    if (frame < 0) return;
    TPiece& p = game.Pieces[frame];
    p.posX = (area.ContentW - game.Header.ImageW) / 2;
    p.posY = (area.ContentH - game.Header.ImageH) / 2;
    p.rotation = 0;
    UpdateRotatedBox(game, frame);
}

void TakeThumbnail(NewGameRun& run) {
    const TMyBitmap* thumb = run.request.BrowserThumb;
    if (!thumb || thumb->Width <= 0) return;
    if (run.setup.InfoThumbW > 0 && run.setup.InfoThumbH > 0)
        DrawThumb(run.view.InfoThumb, run.setup.InfoThumbW, run.setup.InfoThumbH, nullptr,
                  &run.view.StoreThumb, run.setup.InfoThumbBackground, true, *thumb);
    else if (!CopyFromBitmap(run.view.StoreThumb, *thumb))
        ReleaseBitmap(run.view.StoreThumb);  // the thumbnail is only shown, never needed
}

// Header, thumbnail, description and the picture, fitted and checked.
Result ReadPicture(NewGameRun& run, TMyBitmap& picture) {
    GameHeader& h = run.game.Header;
    h = run.request.Header;
    TakeThumbnail(run);
    ResultOf<TJigsawData> read =
        ReadJigsaw(run.request.Path, JigsawReadMode::NewGame, Max(h.SideNum, 1), h.SideCur);
    if (!read) return read.Status();
    run.view.Description = std::move(read.Value().Description);
    picture = std::move(read.Value().Picture);
    run.progress.StepProgress();
    if (Result r = FitPicture(h, picture); !r) return r;
    return CheckPictureForLevel(h);
}

Result BuildGame(NewGameRun& run) {
    TGame& game = run.game;
    const TNewGameSetup& setup = run.setup;
    TMyBitmap picture;
    if (Result r = ReadPicture(run, picture); !r) return r;
    SizeSides(run.pw, game.Header, setup.PlayW, setup.PlayH);
    run.progress.StepProgress();
    SizeThumbWindow(run.pw.Wins[MW_THUMB], game.Header, run.view.ThumbBuffer);
    run.progress.StepProgress();
    ChooseSeed(game, run.request);
    game.Buffers[0] = std::move(picture);
    if (!AllocPieces(game, game.Header.TotalTileNum + 1))
        return Result::Fail(kInvalidJigsaw, {},
                            std::to_string(game.Header.TotalTileNum) + " pieces are too many",
                            MsgSection::Fixed);
    run.progress.StepProgress();
    if (Result r = Cut(run); !r) return r;
    if (!game.Header.Rotate)
        ReleaseTurnedCopies(game);
    else if (!MakeTurnedCopies(game, &run.progress, setup.Threads))
        return FixedText("Not enough memory to turn the picture");
    InitPieces(game);
    const TMyWin& side0 = run.pw.Wins[MW_SIDE0];
    const TLayoutArea area{side0.ContentW, side0.ContentH, setup.PlayW, setup.PlayH};
    InitialLayout(game, MW_SIDE0, game.Header.SpreadOut != 0, area);
    PlaceFramePiece(game, area);
    ApplyPieceEffectsShared(game, setup.Effects, &run.progress, setup.Threads);
    ResetPockets(run.pw, game, setup.PocketCaption, run.platform);
    return Result::Success();
}

// The pieces of window alone in their group, the frame excepted, in index order.
std::vector<int> LayoutCandidates(const TGame& game, int window) {
    const int n = PiecesInPlay(game);
    std::unordered_map<int32_t, int> groupSize;
    for (int i = 0; i < n; ++i) ++groupSize[game.Pieces[i].group];
    const int frame = FramePiece(game);
    std::vector<int> candidates;
    for (int i = 0; i < n; ++i) {
        const TPiece& p = game.Pieces[i];
        if (i != frame && p.window == window && groupSize[p.group] == 1) candidates.push_back(i);
    }
    return candidates;
}

void SpreadOut(TGame& game, std::vector<int>& pieces, const TLayoutArea& area) {
    const int n = static_cast<int>(pieces.size());
    for (int j = 0; j < n; ++j) std::swap(pieces[j], pieces[game.RandInt(n)]);
    int f = 0, g = 0;
    SpreadGrid(n, area.PlayW, area.PlayH, f, g);
    const int m = game.Header.KnobDepth;
    const int64_t spanX = area.ContentW - 2 * m, spanY = area.ContentH - 2 * m;
    for (int j = 0; j < n; ++j) {
        TPiece& p = game.Pieces[pieces[j]];
        p.posX = static_cast<int32_t>((j % f) * spanX / f + m);
        p.posY = static_cast<int32_t>((j / f) * spanY / g + m);
    }
}

void ScatterAtRandom(TGame& game, const std::vector<int>& pieces, const TLayoutArea& area) {
    const int m = game.Header.KnobDepth, tile = game.Header.TileS;
    // A content too small for the margins still gets a draw per axis.
    const int rangeX = Max(area.ContentW - 4 * m - tile, 1);
    const int rangeY = Max(area.ContentH - 4 * m - tile, 1);
    for (int i : pieces) {
        TPiece& p = game.Pieces[i];
        p.posX = game.RandInt(rangeX) + m;
        p.posY = game.RandInt(rangeY) + m;
    }
}

}  // namespace

Result CheckPictureForLevel(const GameHeader& h) {
    const int frame = h.BorderStyle == 1 ? 2 * kFrameWidth : 0;
    const std::string size = std::to_string(h.ImageW) + " x " + std::to_string(h.ImageH);
    std::string why;
    if (h.TileS < kMinTileS)
        why = "pieces of " + std::to_string(h.TileS) + " pixels are smaller than " +
              std::to_string(kMinTileS);
    else if (h.TilePX < kMinCellsPerSide || h.TilePY < kMinCellsPerSide)
        why = "a grid of " + std::to_string(h.TilePX) + " x " + std::to_string(h.TilePY) +
              " cells is too small";
    else if (int64_t{h.TilePX} * h.TileS + frame > h.ImageW ||
             int64_t{h.TilePY} * h.TileS + frame > h.ImageH)
        why = std::to_string(h.TilePX) + " x " + std::to_string(h.TilePY) + " cells of " +
              std::to_string(h.TileS) + " pixels do not fit";
    if (why.empty()) return Result::Success();
    return Result::Fail("MS_PictureTooSmall", {}, "a " + size + " picture: " + why);
}

Result StartNewGame(TGame& game, TPlayWindows& pw, const TNewGameRequest& request,
                    const TNewGameSetup& setup, TNewGameView& view, Progress& progress,
                    Platform& platform) {
    if (Result r = CheckJigsawPath(request.Path); !r) return r;
    ResetInteraction(game);
    progress.ShowProgress(setup.ProgressText, ProgressSteps(request.Header, setup.Effects));
    NewGameRun run{game, pw, request, setup, {}, progress, platform};
    DiscardGame(game);
    Result built = Result::Success();
    try {
        built = BuildGame(run);
    } catch (...) {
        Abandon(game, progress);
        throw;
    }
    if (!built) {
        Abandon(game, progress);
        return built;
    }
    game.WeightPiece = -1;
    progress.HideProgress();
    game.sJig = request.Path;
    game.sJigName = std::filesystem::path(request.Path).stem().string();
    game.sSolve.clear();
    view = std::move(run.view);
    game.GameLoaded = true;
    return built;
}

void SpreadGrid(int n, int playW, int playH, int& columns, int& rows) {
    const int64_t ratio = int64_t{n} * playW / Max(playH, 1);
    int f = Max(Round(std::sqrt(static_cast<double>(ratio))), 1);
    int g = Max(n / f, 1);
    if (int64_t{f} * g < n) {
        if (int64_t{g} * (f + 1) < int64_t{f} * (g + 1))
            ++f;
        else
            ++g;
    }
    columns = f;
    rows = g;
}

void InitialLayout(TGame& game, int window, bool spread, const TLayoutArea& area) {
    std::vector<int> pieces = LayoutCandidates(game, window);
    if (pieces.empty()) return;
    if (spread)
        SpreadOut(game, pieces, area);
    else
        ScatterAtRandom(game, pieces, area);
}

}  // namespace orvel
