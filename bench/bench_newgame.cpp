// A new game at level 0 with rotation, relief 1 and wood 2 on a 1920 x 1080
// picture (a sample jigsaw scaled to that size), on one and on two threads;
// and the two parts the threads share, alone.
#include <benchmark/benchmark.h>

#include "BenchGame.h"

#include <filesystem>
#include <string>

#include "cutter/LevelTable.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "graphics/ImageCodecs.h"
#include "platform/FakePlatform.h"
#include "play/NewGame.h"
#include "play/Rotations.h"

namespace {

using namespace orvel;
using bench::BuildDir;

constexpr int kW = 1920, kH = 1080;

// build/jigsaws/raindrops.orv turned into a 1920 x 1080 jigsaw in the temp folder.
std::string BenchJigsaw() {
    static std::string path;
    if (!path.empty()) return path;
    ResultOf<TJigsawData> sample = ReadJigsaw(BuildDir() + "/jigsaws/raindrops.orv", JigsawReadMode::NewGame);
    if (!sample) return {};
    TMyBitmap picture, thumb;
    if (!Create24(picture, kW, kH) || !Create24(thumb, 180, 101)) return {};
    ScaleInto(picture, sample.Value().Picture);
    ScaleInto(thumb, picture);
    TJigsawContent c;
    c.ImageW = kW;
    c.ImageH = kH;
    c.Label = "bench";
    c.Descriptions = {"bench"};
    c.Pictures.emplace_back();
    if (!SaveJpeg(thumb, c.Thumb, 90) || !SaveJpeg(picture, c.Pictures[0], 95)) return {};
    path = (std::filesystem::temp_directory_path() / "orvel-bench-1920x1080.orv").string();
    if (!WriteJigsaw(path, c).Ok()) path.clear();
    return path;
}

TNewGameRequest Request(const std::string& path) {
    TNewGameRequest r;
    r.Path = path;
    ResultOf<TJigsawData> read = ReadJigsaw(path, JigsawReadMode::Browse);
    r.Header = read.Value().Header;
    r.Header.Rotate = 1;
    r.Header.SpreadOut = 1;
    LevelTable table;
    BuildLevelTable(table, kW, kH, 0, 0);
    FillHeaderFromLevel(r.Header, table, 0, kW, kH, 0);
    r.SeedShown = true;
    r.SeedText = "7";
    return r;
}

TNewGameSetup Setup(int threads) {
    TNewGameSetup s;
    s.PlayW = kW - 8;
    s.PlayH = kH - 40 - 8 - 23 - 33;
    s.Effects.EmbossStyle = 1;
    s.Effects.WoodStyle = 2;
    s.ResourcesDir = BuildDir() + "/resources";
    s.ShapeFile = BuildDir() + "/pic_orvel.dat";
    s.Threads = threads;
    return s;
}

void BM_StartNewGame(benchmark::State& state) {
    const std::string path = BenchJigsaw();
    if (path.empty()) {
        state.SkipWithError("no sample jigsaw; build orvel_sample_jigsaws");
        return;
    }
    FakePlatform platform;
    CountingProgress progress;
    TPlayWindows pw;
    CreatePlayWindows(pw, platform, {"1", "2", "3", "4"}, "Thumbnail");
    const TNewGameRequest request = Request(path);
    const TNewGameSetup setup = Setup(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TGame game;
        TNewGameView view;
        if (!StartNewGame(game, pw, request, setup, view, progress, platform).Ok())
            state.SkipWithError("the new game failed");
        benchmark::DoNotOptimize(game.Buffers[7].Bits);
    }
}
BENCHMARK(BM_StartNewGame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// One started game whose rotations are redone.
TGame& StartedGame() {
    static TGame game;
    if (game.GameLoaded) return game;
    FakePlatform platform;
    CountingProgress progress;
    TPlayWindows pw;
    CreatePlayWindows(pw, platform, {"1", "2", "3", "4"}, "Thumbnail");
    TNewGameView view;
    (void)StartNewGame(game, pw, Request(BenchJigsaw()), Setup(1), view, progress, platform);
    return game;
}

void BM_TurnedCopies(benchmark::State& state) {
    TGame& game = StartedGame();
    for (auto _ : state) benchmark::DoNotOptimize(MakeTurnedCopies(game, nullptr, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_TurnedCopies)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PieceEffects(benchmark::State& state) {
    TGame& game = StartedGame();
    EffectSettings effects;
    effects.EmbossStyle = 1;
    effects.WoodStyle = 2;
    for (auto _ : state)
        ApplyPieceEffectsShared(game, effects, nullptr, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_PieceEffects)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
