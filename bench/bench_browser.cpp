// The browser with many jigsaws: listing and selecting (what the window
// needs before it first paints its list), and filling every thumbnail in
// timer ticks of at most 0.1 s of work. The folder holds links to the sample
// jigsaws of the build (ORVEL_BENCH_JIGSAWS jigsaws, 500 by default).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "lang/Lang.h"
#include "library/DirView.h"
#include "platform/FakePlatform.h"

namespace {

namespace fs = std::filesystem;
using namespace orvel;

// A platform whose tick clock is the real one.
class RealClock : public FakePlatform {
public:
    uint64_t TickMs() override {
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now().time_since_epoch())
                                         .count());
    }
};

int JigsawCount() {
    const char* n = std::getenv("ORVEL_BENCH_JIGSAWS");
    return n ? std::max(1, std::atoi(n)) : 500;
}

// A folder of links to the samples, made once.
const TDirFolders& Folders() {
    static TDirFolders folders = [] {
        TDirFolders f;
        const fs::path root = fs::temp_directory_path() / "orvel-bench-browser";
        fs::remove_all(root);
        fs::create_directories(root / "jigs");
        fs::create_directories(root / "saves");
        std::vector<fs::path> samples;
        for (const auto& e : fs::directory_iterator(fs::path(ORVEL_BUILD_DIR) / "jigsaws"))
            if (e.path().extension() == ".orv") samples.push_back(e.path());
        const int n = JigsawCount();
        for (int i = 0; i < n && !samples.empty(); ++i)
            fs::create_symlink(samples[i % samples.size()],
                               root / "jigs" / ("jigsaw" + std::to_string(i) + ".orv"));
        f.JigsawsDir = (root / "jigs").string() + "/";
        f.SavedGamesDir = (root / "saves").string() + "/";
        f.ThumbDir = (root / "thumb").string() + "/";
        return f;
    }();
    return folders;
}

void BM_ListAndSelect(benchmark::State& state) {
    RealClock platform;
    TLanguage lang(&platform, "");
    TDirView view(platform, lang, Folders());
    view.FitAvailW = 1900;
    view.FitAvailH = 1000;
    for (auto _ : state) {
        view.Show();
        benchmark::DoNotOptimize(view.Items(DirTab::Jigs).size());
    }
    state.counters["items"] = static_cast<double>(view.Items(DirTab::Jigs).size());
}
BENCHMARK(BM_ListAndSelect)->Unit(benchmark::kMillisecond);

// A fresh store each time, as at the first showing in a program run.
void BM_FillAllThumbnails(benchmark::State& state) {
    RealClock platform;
    TLanguage lang(&platform, "");
    int ticks = 0;
    for (auto _ : state) {
        TDirView view(platform, lang, Folders());
        view.Show();
        ticks = 0;
        while (view.TimerOn()) {
            view.FillTick();
            ++ticks;
        }
    }
    state.counters["ticks"] = ticks;
}
BENCHMARK(BM_FillAllThumbnails)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
