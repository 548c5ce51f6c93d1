// Arranging 1000 selected pieces and gathering 4000 pieces (with the strict
// keeping inside that follows the gather), on games whose pieces lie
// scattered over both sides and the pockets.
#include <benchmark/benchmark.h>

#include <random>

#include "game/GameModel.h"
#include "play/Arrange.h"
#include "play/Sides.h"

namespace {

constexpr int kTileS = 60;

orvel::TGame MakeGame(int n) {
    orvel::TGame game;
    orvel::AllocPieces(game, n);
    game.Header.TotalTileNum = n;
    game.Header.TileS = kTileS;
    game.Header.MaskS = 88;
    game.Header.KnobDepth = 14;
    return game;
}

// Every piece alone, anywhere on a 4000 x 3000 content in one of six windows.
void Scatter(orvel::TGame& game, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int i = 0; i < game.Header.TotalTileNum; ++i) {
        orvel::TPiece& p = game.Pieces[i];
        p.group = i;
        p.window = static_cast<uint8_t>(rng() % 6);
        p.posX = static_cast<int32_t>(rng() % 4000) - 200;
        p.posY = static_cast<int32_t>(rng() % 3000) - 200;
        p.rotW = p.rotH = 88;
        p.selected = 0;
    }
    game.InvalidateOrder();
}

void BM_Arrange1000Selected(benchmark::State& state) {
    orvel::TGame game = MakeGame(4000);
    uint32_t seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        Scatter(game, seed++);
        for (int i = 0; i < 1000; ++i) {
            game.Pieces[i].selected = 1;
            game.Pieces[i].window = orvel::MW_SIDE0;
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(orvel::ArrangeSelected(game, orvel::MW_SIDE0, 1900, 1000));
    }
}
BENCHMARK(BM_Arrange1000Selected)->Unit(benchmark::kMillisecond);

void BM_Gather4000(benchmark::State& state) {
    orvel::TGame game = MakeGame(4000);
    uint32_t seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        Scatter(game, seed++);
        state.ResumeTiming();
        orvel::GatherToFirstSide(game);
        benchmark::DoNotOptimize(orvel::KeepGroupsInside(game, orvel::MW_SIDE0, 1900, 1000, true));
    }
}
BENCHMARK(BM_Gather4000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
