// The glass over a 1920 x 1080 play field of a sample jigsaw cut at about
// 1000 pieces: one step of the glass following the mouse (moved three
// pixels, the old and new places composed again with the lens on top), and
// the lens drawing alone. Arguments: zoom, lens client size.
//
//   bench_glass [benchmark flags]
#include <benchmark/benchmark.h>

#include "BenchGame.h"

#include <filesystem>
#include <memory>
#include <string>

#include "cutter/LevelTable.h"
#include "game/GameModel.h"
#include "game/JigsawFile.h"
#include "platform/FakePlatform.h"
#include "play/Field.h"
#include "play/Glass.h"
#include "play/NewGame.h"
#include "play/PieceDraw.h"

namespace {

using namespace orvel;

constexpr int kScreenW = 1920, kFieldH = 1045;
constexpr int kPlayW = 1912, kPlayH = 1014;
constexpr int kLevel = 3;

struct Scene {
    FakePlatform platform;
    TPlayWindows pw;
    TGame game;
    TFieldView view;
    TFieldLayers layers;
    TGlassLens lens;
    TPieceLook look{1, 2, 0};
    bool ok = false;

    Scene() {
        const EffectSettings effects{look.EmbossStyle, look.WoodStyle};
        if (!bench::StartSampleGame(game, pw, platform, kLevel, false, effects, kPlayW, kPlayH))
            return;
        bench::ShowSideOnField(pw, kScreenW, kFieldH);
        SizeField(view, kScreenW, 1080, kDefaultBackground);
        SetFieldArea(view, kScreenW, kFieldH);
        pw.Glass.OnLensChanged = [this](TMyWin& g) { RecomputeLens(lens, g); };
        layers.DrawPieces = [this](TMyBitmap& field, const TMyWin& win, const TMyRect& update) {
            DrawWindowPieces(field, win, update, game, look, {});
        };
        layers.DrawOverlays = [this](TMyBitmap& field, const TMyRect& update) {
            TMyRect shown;
            SetPosSize(shown, 0, 0, view.FieldW, view.FieldH);
            DrawGlass(field, update, shown, pw.Glass, lens);
        };
        FlushField(view, pw, layers);
        ok = true;
    }

    void PlaceGlass(int x, int y, int size, int zoom) {
        TMyWin& g = pw.Glass;
        g.Visible = true;
        SetPosSize(g.Outer, x, y, size, size);
        SetClientSize(g, true, size, size);
        SetGlassZoom(g, lens, zoom);
    }
};

Scene& TheScene() {
    static std::unique_ptr<Scene> scene = std::make_unique<Scene>();
    return *scene;
}

void BM_GlassFollowsTheMouse(benchmark::State& state) {
    Scene& s = TheScene();
    if (!s.ok) {
        state.SkipWithError("no game; build orvel_sample_jigsaws");
        return;
    }
    const int zoom = static_cast<int>(state.range(0)), size = static_cast<int>(state.range(1));
    s.PlaceGlass(700, 300, size, zoom);
    int step = 0;
    for (auto _ : state) {
        TMyRect old = s.pw.Glass.Outer;
        const int x = 700 + 3 * (step++ % 100);
        SetPosSize(s.pw.Glass.Outer, x, 300, size, size);
        Relayout(s.pw.Glass);
        RequestUpdate(s.view, FieldUpdate::Button, &old);
        RequestUpdate(s.view, FieldUpdate::Button, &s.pw.Glass.Outer);
        FlushField(s.view, s.pw, s.layers);
        benchmark::DoNotOptimize(s.view.Field.Bits);
    }
    state.counters["pieces"] = s.game.Header.TotalTileNum;
}
BENCHMARK(BM_GlassFollowsTheMouse)
    ->ArgsProduct({{3, 2}, {240, 480}})
    ->Unit(benchmark::kMillisecond);

void BM_LensOnly(benchmark::State& state) {
    Scene& s = TheScene();
    if (!s.ok) {
        state.SkipWithError("no game; build orvel_sample_jigsaws");
        return;
    }
    const int size = static_cast<int>(state.range(0));
    s.PlaceGlass(700, 300, size, 3);
    TMyRect all;
    SetPosSize(all, 0, 0, kScreenW, kFieldH);
    for (auto _ : state) {
        DrawGlass(s.view.Field, all, all, s.pw.Glass, s.lens);
        benchmark::DoNotOptimize(s.view.Field.Bits);
    }
}
BENCHMARK(BM_LensOnly)->Arg(240)->Arg(480)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
