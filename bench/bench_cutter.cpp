// The cut at about 100, 1000 and 4000 pieces on a 1920 x 1080 picture, so
// that the growth with the piece count shows; the cell construction with
// both growth searches; the piece effects for four rotations.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "cutter/CellCutter.h"
#include "cutter/Cells.h"
#include "cutter/KnobStrip.h"
#include "cutter/LevelTable.h"
#include "cutter/PieceEffects.h"
#include "game/GameState.h"

namespace orvel {
namespace {

constexpr int kW = 1920, kH = 1080;

// A header for about `pieces` pieces.
void SetUp(TGame& game, int pieces, int shape) {
    game = TGame{};
    GameHeader& h = game.Header;
    h.ImageW = kW;
    h.ImageH = kH;
    h.ShapeStyle = static_cast<uint8_t>(shape);
    const int tileS = static_cast<int>(std::sqrt(static_cast<double>(kW) * kH / pieces));
    const LevelRecord r = ComputeLevelRecord(tileS, kW, kH, shape, 0);
    LevelTable table;
    table.level[0] = r;
    FillHeaderFromLevel(h, table, 0, kW, kH, 0);
    game.Random.Seed = 12345;
    game.Pieces.assign(h.TotalTileNum + 1, TPiece{});
}

void BM_CutPieces(benchmark::State& state) {
    TGame game;
    CutEnvironment env;
    for (auto _ : state) {
        state.PauseTiming();
        SetUp(game, static_cast<int>(state.range(0)), 0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(CutPieces(game, env));
    }
    state.counters["pieces"] = game.Header.TileNum;
}
BENCHMARK(BM_CutPieces)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

void BM_CutGrid(benchmark::State& state) {
    TGame game;
    CutEnvironment env;
    TMyBitmap strip;
    if (!DrawKnobStrip(strip)) return state.SkipWithError("no memory");
    for (auto _ : state) {
        state.PauseTiming();
        SetUp(game, static_cast<int>(state.range(0)), 4);
        state.ResumeTiming();
        benchmark::DoNotOptimize(CutGrid(game, env, strip));
    }
    state.counters["pieces"] = game.Header.TileNum;
}
BENCHMARK(BM_CutGrid)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

void BuildCellsBench(benchmark::State& state, GrowthSearch search) {
    const int n = static_cast<int>(state.range(0));
    const int cols = static_cast<int>(std::sqrt(n * 16.0 / 9)), rows = n / cols;
    std::mt19937 rng(5);
    std::vector<CutSite> sites(static_cast<size_t>(cols) * rows), work;
    const int cw = kW / cols, ch = kH / rows;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            sites[r * cols + c].x = c * cw + static_cast<int>(rng() % cw);
            sites[r * cols + c].y = r * ch + static_cast<int>(rng() % ch);
        }
    std::vector<HullEdge> hull;
    for (auto _ : state) {
        work = sites;
        benchmark::DoNotOptimize(BuildCells(work.data(), static_cast<int>(work.size()),
                                            {0, 0, kW - 1, kH - 1}, hull, search));
    }
}
void BM_BuildCellsPlain(benchmark::State& s) { BuildCellsBench(s, GrowthSearch::Plain); }
void BM_BuildCellsBuckets(benchmark::State& s) { BuildCellsBench(s, GrowthSearch::Buckets); }
BENCHMARK(BM_BuildCellsPlain)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildCellsBuckets)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// state.range(1): 0 every piece in its own group (a new game), 1 all joined.
void BM_PieceEffectsFourRotations(benchmark::State& state) {
    TGame game;
    CutEnvironment env;
    SetUp(game, static_cast<int>(state.range(0)), 0);
    if (!CutPieces(game, env)) return state.SkipWithError("cut failed");
    game.Header.Rotate = 1;
    for (int r = 1; r < 4; ++r)
        if (!RotateRightWithMargin(game.Buffers[4 + r], game.Buffers[4 + r - 1], 5))
            return state.SkipWithError("no memory");
    game.Pieces.resize(game.Header.TotalTileNum);
    for (size_t i = 0; i < game.Pieces.size(); ++i) game.Pieces[i].group = state.range(1) ? 0 : static_cast<int>(i);
    for (auto _ : state) {
        for (int r = 0; r < 4; ++r) ResetRelief(game.Mask(r));
        ApplyPieceEffects(game, {1, 2}, nullptr);
    }
}
BENCHMARK(BM_PieceEffectsFourRotations)->Args({4000, 0})->Args({4000, 1})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvel

BENCHMARK_MAIN();
