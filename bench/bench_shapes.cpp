// Shape style 3: a whole level-0 cut of a screen-sized picture, and the
// playback of the silhouettes at the size of a fine cut's pieces.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "cutter/CellCutter.h"
#include "cutter/LevelTable.h"
#include "cutter/ShapeData.h"
#include "cutter/ShapeRaster.h"
#include "cutter/Silhouettes.h"

namespace orvel {
namespace {

// The program data folder of a build tree: one level above bench/.
const std::string kShapeFile =
    (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / kShapeFileName)
        .string();

void SetUp(TGame& game, int w, int h, int level, uint32_t seed) {
    game = TGame{};
    GameHeader& hd = game.Header;
    hd.ImageW = w;
    hd.ImageH = h;
    hd.ShapeStyle = 3;
    LevelTable table;
    BuildLevelTable(table, w, h, 3, 0);
    FillHeaderFromLevel(hd, table, level, w, h, 0);
    game.Random.Seed = seed;
    game.Pieces.assign(hd.TotalTileNum + 1, TPiece{});
}

void BM_CutStyle3Level0(benchmark::State& state) {
    uint32_t seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        TGame game;
        SetUp(game, 1920, 1080, static_cast<int>(state.range(0)), seed++);
        Silhouettes sil(kShapeFile);
        CutEnvironment env;
        env.pictures = &sil;
        state.ResumeTiming();
        benchmark::DoNotOptimize(CutPieces(game, env));
    }
}
BENCHMARK(BM_CutStyle3Level0)
    ->Arg(0)
    ->Arg(6)
    ->Arg(13)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

void BM_DrawSilhouettes(benchmark::State& state) {
    ShapeData data;
    if (LoadShapeData(data, kShapeFile) != ShapeLoadResult::Loaded) {
        state.SkipWithError("no shape file");
        return;
    }
    TMyBitmap work;
    if (!Create24(work, 256, 256)) return state.SkipWithError("no memory");
    const TColor c = 0x190080;
    int i = 0;
    for (auto _ : state) {
        SelectShape(data, i++ % data.Count);
        TMetafile mf = data.Current;
        MirrorShape(mf, true, false);
        const RotatedSize rs = RotateShape(mf, 17);
        RecolourShape(mf, c);
        DrawMetafile(work, mf, 10, 10, rs.W2 * 40 / 100, rs.H2 * 40 / 100, &c);
    }
}
BENCHMARK(BM_DrawSilhouettes);

}  // namespace
}  // namespace orvel

BENCHMARK_MAIN();
