// Full composition of a 1920 x 1080 play field with its pieces: a sample
// jigsaw fitted to the screen, cut at about 100, 1000 and 3800 pieces with
// rotation and the spread layout, drawn with relief 1 and wood 2 and with no
// effects. Arguments: level, effects on (1) or off (0).
//
//   bench_compose [benchmark flags]
#include <benchmark/benchmark.h>

#include "BenchGame.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "cutter/LevelTable.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "platform/FakePlatform.h"
#include "play/Field.h"
#include "play/NewGame.h"
#include "play/PieceDraw.h"

namespace {

using namespace orvel;

constexpr int kScreenW = 1920, kFieldH = 1045;
constexpr int kPlayW = 1912, kPlayH = 1014;

struct Scene {
    FakePlatform platform;
    TPlayWindows pw;
    TGame game;
    TFieldView view;
    TFieldLayers layers;
    TPieceLook look;
    bool ok = false;

    Scene(int level, bool effects) {
        const EffectSettings effectsUsed{effects ? 1 : 0, effects ? 2 : 0};
        if (!bench::StartSampleGame(game, pw, platform, level, true, effectsUsed, kPlayW, kPlayH))
            return;
        look.EmbossStyle = effectsUsed.EmbossStyle;
        look.WoodStyle = effectsUsed.WoodStyle;
        bench::ShowSideOnField(pw, kScreenW, kFieldH);
        SizeField(view, kScreenW, 1080, kDefaultBackground);
        SetFieldArea(view, kScreenW, kFieldH);
        layers.DrawPieces = [this](TMyBitmap& field, const TMyWin& win, const TMyRect& update) {
            DrawWindowPieces(field, win, update, game, look, {});
        };
        ok = true;
    }
};

// Games are cut once per argument pair and kept for the repetitions.
Scene& SceneFor(int level, bool effects) {
    static std::map<std::pair<int, bool>, std::unique_ptr<Scene>> scenes;
    auto& s = scenes[{level, effects}];
    if (!s) s = std::make_unique<Scene>(level, effects);
    return *s;
}

void BM_ComposePieces(benchmark::State& state) {
    Scene& s = SceneFor(static_cast<int>(state.range(0)), state.range(1) != 0);
    if (!s.ok) {
        state.SkipWithError("no game; build orvel_sample_jigsaws");
        return;
    }
    TMyRect all;
    SetPosSize(all, 0, 0, kScreenW, kFieldH);
    for (auto _ : state) {
        ComposeRect(s.view.Field, all, s.pw, s.layers);
        benchmark::DoNotOptimize(s.view.Field.Bits);
    }
    state.counters["pieces"] = s.game.Header.TotalTileNum;
}
BENCHMARK(BM_ComposePieces)->ArgsProduct({{9, 3, 0}, {1, 0}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
