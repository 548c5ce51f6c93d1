#include "play/Rotations.h"

#include <exception>
#include <functional>
#include <system_error>
#include <thread>

namespace orvel {

namespace {

// Runs first on a second thread and second on this one, or both here when
// only one thread may be used or none can be started. An exception of the
// second thread is passed on once both are done.
void RunPair(const std::function<void()>& first, const std::function<void()>& second,
             int threads) {
    if (threads < 2) {
        first();
        second();
        return;
    }
    std::exception_ptr failure;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                first();
            } catch (...) {
                failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        first();
    }
    second();
    if (worker.joinable()) worker.join();
    if (failure) std::rethrow_exception(failure);
}

void Steps(Progress* progress, int count) {
    for (int i = 0; progress && i < count; ++i) progress->StepProgress();
}

}  // namespace

bool MakeTurnedCopies(TGame& game, Progress* progress, int threads) {
    bool masksMade = true, picturesMade = true;
    auto turnMasks = [&game, &masksMade] {
        for (int r = 1; r < 4 && masksMade; ++r)
            masksMade = RotateRightWithMargin(game.Mask(r), game.Mask(r - 1), kShadowMargin);
    };
    auto turnPictures = [&game, &picturesMade] {
        for (int r = 1; r < 4 && picturesMade; ++r)
            picturesMade = RotateRight(game.Picture(r), game.Picture(r - 1));
    };
    RunPair(turnMasks, turnPictures, threads);
    Steps(progress, 6);
    return masksMade && picturesMade;
}

void ReleaseTurnedCopies(TGame& game) {
    for (int r = 1; r < 4; ++r) {
        ReleaseBitmap(game.Picture(r));
        ReleaseBitmap(game.Mask(r));
    }
}

void ApplyPieceEffectsShared(TGame& game, const EffectSettings& settings, Progress* progress,
                             int threads) {
    const bool anyEffect = settings.EmbossStyle != 0 || settings.WoodStyle != 0;
    if (threads < 2 || !game.Header.Rotate || !anyEffect ||
        static_cast<int>(game.Pieces.size()) < game.Header.TotalTileNum) {
        ApplyPieceEffects(game, settings, progress);
        return;
    }
    for (auto& w : game.Wood) w = TGame::WoodBuffer{};
    game.WoodWidth = WoodWidthFor(settings.WoodStyle);
    // The effects write each piece's wood class into its record, the same
    // value for every rotation; the second thread writes into a copy.
    TGame copy;
    copy.Header = game.Header;
    copy.Pieces = game.Pieces;
    auto lastTwo = [&] {
        for (int r = 2; r < 4; ++r) BuildPieceEffects(copy, settings, game.Mask(r), game.Wood[r], r);
    };
    auto firstTwo = [&] {
        for (int r = 0; r < 2; ++r) BuildPieceEffects(game, settings, game.Mask(r), game.Wood[r], r);
    };
    RunPair(lastTwo, firstTwo, threads);
    Steps(progress, 4);
}

}  // namespace orvel
