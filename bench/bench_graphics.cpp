// Timings of the pixel operations the game runs on every recomposition of
// the play field or while opening a jigsaw, next to a plain memcpy of one
// 1920 x 1080 24-bit picture as the memory-bandwidth yardstick.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "graphics/Bitmap.h"

namespace {

using namespace orvel;

void FillNoise(TMyBitmap& buf, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < buf.Height; ++y) {
        uint8_t* p = RowPtr(buf, y);
        for (int i = 0; i < buf.Width * buf.BytesPerPixel; ++i) p[i] = static_cast<uint8_t>(rng());
    }
}

void BM_Memcpy1080p(benchmark::State& state) {
    const size_t n = size_t{1920} * 1080 * 3;
    std::vector<uint8_t> src(n, 1), dst(n, 2);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), n);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * n));
}
BENCHMARK(BM_Memcpy1080p)->Unit(benchmark::kMicrosecond);

void BM_ScaleInto1080pTo720p(benchmark::State& state) {
    TMyBitmap src, dst;
    if (!Create24(src, 1920, 1080) || !Create24(dst, 1280, 720))
        return state.SkipWithError("no memory");
    FillNoise(src, 1);
    for (auto _ : state) {
        ScaleInto(dst, src);
        benchmark::DoNotOptimize(dst.Bits);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ScaleInto1080pTo720p)->Unit(benchmark::kMicrosecond);

void BM_RotateRightWithMargin(benchmark::State& state) {
    TMyBitmap src, dst;
    if (!Create24(src, 1925, 1085)) return state.SkipWithError("no memory");
    FillNoise(src, 2);
    for (auto _ : state) {
        if (!RotateRightWithMargin(dst, src, 5)) return state.SkipWithError("no memory");
        benchmark::DoNotOptimize(dst.Bits);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RotateRightWithMargin)->Unit(benchmark::kMicrosecond);

void BM_FloodFill1080p(benchmark::State& state) {
    TMyBitmap buf;
    if (!Create24(buf, 1920, 1080)) return state.SkipWithError("no memory");
    FillBox(buf, 0, 0, 1920, 1080, 0x101010);
    TColor next = 0x202020;
    TMyRect bounds;
    for (auto _ : state) {
        // Every round turns the whole area to the other colour.
        FloodFill(buf, 960, 540, bounds, true, next);
        next = next == 0x202020 ? 0x101010 : 0x202020;
        benchmark::DoNotOptimize(bounds);
    }
}
BENCHMARK(BM_FloodFill1080p)->Unit(benchmark::kMicrosecond);

void BM_BlitAlpha1080p(benchmark::State& state) {
    TMyBitmap src, dst;
    if (!Create32(src, 1920, 1080) || !Create24(dst, 1920, 1080))
        return state.SkipWithError("no memory");
    FillNoise(src, 3);
    FillNoise(dst, 4);
    // A third opaque, a third transparent, a third blended, as a piece
    // picture with its soft edge would have.
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x) {
            uint8_t& a = PixelPtr(src, x, y)[3];
            a = a % 3 == 0 ? 255 : (a % 3 == 1 ? 0 : a);
        }
    TMyRect clip;
    SetBounds(clip, 0, 0, 1919, 1079);
    for (auto _ : state) {
        BlitAlpha(dst, 0, 0, 1920, 1080, src, 0, 0, 1920, 1080, clip);
        benchmark::DoNotOptimize(dst.Bits);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlitAlpha1080p)->Unit(benchmark::kMicrosecond);

// The same with a skin-like source: opaque and clear areas with a soft
// two-pixel border between them.
void BM_BlitAlphaSkinLike1080p(benchmark::State& state) {
    TMyBitmap src, dst;
    if (!Create32(src, 1920, 1080) || !Create24(dst, 1920, 1080))
        return state.SkipWithError("no memory");
    FillNoise(src, 5);
    FillNoise(dst, 6);
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x) {
            const int cell = (x / 40 + y / 40) % 2;
            const bool edge = x % 40 < 2 || y % 40 < 2;
            PixelPtr(src, x, y)[3] = edge ? 128 : (cell ? 255 : 0);
        }
    TMyRect clip;
    SetBounds(clip, 0, 0, 1919, 1079);
    for (auto _ : state) {
        BlitAlpha(dst, 0, 0, 1920, 1080, src, 0, 0, 1920, 1080, clip);
        benchmark::DoNotOptimize(dst.Bits);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlitAlphaSkinLike1080p)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
