// Composition of a full-HD play field: both sides, four pockets, the
// thumbnail and the glass, with no pieces. Reports a full composition, one
// hover update (a close button lighting up and going dark again) and a plain
// memcpy of the field buffer for scale.
//
//   bench_field [--save=field.png] [benchmark flags]

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "play/Field.h"
#include "graphics/ImageCodecs.h"
#include "play/PlayWindow.h"
#include "platform/FakePlatform.h"

namespace {

using namespace orvel;

std::string g_resources = "resources";

struct Scene {
    FakePlatform platform;
    TPlayWindows pw;
    TFieldView view;
    TFieldLayers layers;
    TMyBitmap thumb;

    Scene() {
        // Without the skin files, clear skins of the right size.
        if (!LoadPngResource(pw.WinSkin, g_resources, "skin") &&
            !Create32(pw.WinSkin, kWinSkinW, kWinSkinH))
            std::fprintf(stderr, "no memory for the window skin\n");
        if (!LoadPngResource(pw.GlassSkin, g_resources, "glass") &&
            !Create32(pw.GlassSkin, kGlassSkinW, kGlassSkinH))
            std::fprintf(stderr, "no memory for the glass skin\n");
        CreatePlayWindows(pw, platform, {"Pocket 1 (0)", "Pocket 2 (0)", "Pocket 3 (0)", "Pocket 4 (0)"}, "Thumbnail");
        SizeField(view, 1920, 1080, kDefaultBackground);
        SetFieldArea(view, 1920, 1045);
        for (int s = 0; s < 2; ++s) {
            TMyWin& side = pw.Wins[s];
            SetPosSize(side.Outer, 0, 0, 1920, 1045);
            side.ContentW = 2600;
            side.ContentH = 1500;
            Relayout(side);
        }
        pw.Wins[MW_SIDE1].Visible = false;
        for (int k = 0; k < 4; ++k) {
            TMyWin& p = pw.Wins[MW_POCKET0 + k];
            SetPosSize(p.Outer, 1920 - 480, 261 * k, 480, 261);
            p.ContentW = 700;
            p.ContentH = 500;
            p.Background = k % 2 ? 0x6a8a5a : kDefaultBackground;
            Relayout(p);
            p.Visible = true;
        }
        TMyWin& t = pw.Wins[MW_THUMB];
        t.MaxClientW = 400;
        t.MaxClientH = 300;
        SetPosSize(t.Outer, 60, 60, 308, 226);
        SetClientSize(t, false, 0, 0);
        t.Visible = true;
        if (!Create24(thumb, t.Client.Width, t.Client.Height))
            std::fprintf(stderr, "no memory for the thumbnail\n");
        FillBox(thumb, 0, 0, thumb.Width, thumb.Height, 0x4070b0);
        layers.ThumbPicture = &thumb;
        SetPosSize(pw.Glass.Outer, 700, 400, 240, 240);
        Relayout(pw.Glass);
        pw.Glass.Visible = true;
        BringToFront(pw, pw.Wins[MW_POCKET2]);
    }
};

void BM_ComposeFull(benchmark::State& state) {
    Scene s;
    TMyRect all;
    SetPosSize(all, 0, 0, 1920, 1045);
    for (auto _ : state) {
        ComposeRect(s.view.Field, all, s.pw, s.layers);
        benchmark::DoNotOptimize(s.view.Field.Bits);
    }
}
BENCHMARK(BM_ComposeFull)->Unit(benchmark::kMillisecond);

void BM_HoverUpdate(benchmark::State& state) {
    Scene s;
    FlushField(s.view, s.pw, s.layers);
    const TMyRect close = s.pw.Wins[MW_POCKET2].Button(TWinButtonId::Close).Bounds;
    bool on = false;
    for (auto _ : state) {
        on = !on;
        const int x = on ? close.Left + 5 : close.Left - 40;
        HoverField(s.view, s.pw, x, close.Top + 5, s.platform);
        FlushField(s.view, s.pw, s.layers);
        benchmark::DoNotOptimize(s.view.Field.Bits);
    }
}
BENCHMARK(BM_HoverUpdate)->Unit(benchmark::kMicrosecond);

void BM_MemcpyField(benchmark::State& state) {
    Scene s;
    std::string copy(static_cast<size_t>(s.view.Field.Size), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), s.view.Field.Bits, copy.size());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_MemcpyField)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    std::string save;
    std::string exe = argv[0];
    const size_t slash = exe.rfind('/');
    g_resources =
        (slash == std::string::npos ? std::string(".") : exe.substr(0, slash)) + "/../resources";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--save=", 7) == 0) {
            save = argv[i] + 7;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (!save.empty()) {
        Scene s;
        s.view.Pending = FieldUpdate::Whole;
        FlushField(s.view, s.pw, s.layers);
        return SavePngFile(s.view.Field, save).Ok() ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
