// Draw-order sort of a 4000-piece game: the full exchange sort (first call
// after a group change) against the cached call that drawing passes and hit
// tests make while no group changes.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "game/GameModel.h"

namespace {

orvel::TGame MakeGame(int n, int distinct) {
    orvel::TGame game;
    orvel::AllocPieces(game, n);
    game.Header.TotalTileNum = n;
    std::mt19937 rng(1234);
    for (auto& p : game.Pieces) p.group = static_cast<int32_t>(rng() % distinct);
    return game;
}

void BM_SortOrderFirst(benchmark::State& state) {
    orvel::TGame game = MakeGame(4000, static_cast<int>(state.range(0)));
    const bool descending = state.range(1) != 0;
    for (auto _ : state) {
        game.InvalidateOrder();
        orvel::SortOrder(game, descending);
        benchmark::DoNotOptimize(game.DrawOrder.data());
    }
}
BENCHMARK(BM_SortOrderFirst)
    ->Args({4000, 0})
    ->Args({4000, 1})
    ->Args({300, 0})
    ->Unit(benchmark::kMillisecond);

void BM_SortOrderRepeated(benchmark::State& state) {
    orvel::TGame game = MakeGame(4000, 4000);
    orvel::SortOrder(game, false);
    orvel::SortOrder(game, true);
    bool descending = false;
    for (auto _ : state) {
        // Alternating as a drawing pass and a hit test do.
        orvel::SortOrder(game, descending);
        descending = !descending;
        benchmark::DoNotOptimize(game.DrawOrder.data());
    }
}
BENCHMARK(BM_SortOrderRepeated)->Unit(benchmark::kMicrosecond);

void BM_SortOrderAfterDragStart(benchmark::State& state) {
    orvel::TGame game = MakeGame(4000, 4000);
    for (int i = 0; i < 4000; ++i) game.Pieces[i].group = i;
    int piece = 0;
    for (auto _ : state) {
        orvel::BringGroupToTop(game, piece);
        piece = (piece + 997) % 4000;
        orvel::SortOrder(game, false);
        benchmark::DoNotOptimize(game.DrawOrder.data());
    }
}
BENCHMARK(BM_SortOrderAfterDragStart)->Unit(benchmark::kMillisecond);

// For scale: the exchange sort itself, as a plain double loop.
void BM_PlainExchangeSort(benchmark::State& state) {
    orvel::TGame game = MakeGame(4000, 4000);
    std::vector<orvel::TOrderPair> order(4000);
    for (auto _ : state) {
        for (int i = 0; i < 4000; ++i) order[i] = {game.Pieces[i].group, i};
        for (size_t j = 0; j + 1 < order.size(); ++j)
            for (size_t k = j + 1; k < order.size(); ++k)
                if (order[k].group < order[j].group) std::swap(order[j], order[k]);
        benchmark::DoNotOptimize(order.data());
    }
}
BENCHMARK(BM_PlainExchangeSort)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
