// Frames per second of the zoom scaler at each step, beside a plain frame copy.
#include <benchmark/benchmark.h>

#include <cstring>

#include "guarded_frame.h"
#include "zoom_engine.h"

namespace {

void SetFrameRate(benchmark::State& state) {
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

void BM_FrameCopy(benchmark::State& state) {
    frametest::GuardedFrame src(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 3);
    frametest::GuardedFrame dst(src.width(), src.height(), 3);
    src.FillRandom(1);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetFrameRate(state);
}

void BM_ZoomScaler(benchmark::State& state) {
    frametest::GuardedFrame src(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 3);
    frametest::GuardedFrame dst(src.width(), src.height(), 3);
    src.FillRandom(1);
    ZoomEngine engine;
    engine.SetFormat(ZoomFormat{src.width(), src.height(), 3, src.stride()});
    engine.SetZoom(static_cast<int>(state.range(2)));
    for (auto _ : state) {
        engine.Process(src.data(), src.size(), dst.data(), dst.size());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    SetFrameRate(state);
}

}  // namespace

BENCHMARK(BM_FrameCopy)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_ZoomScaler)
    ->ArgNames({"width", "height", "zoom"})
    ->ArgsProduct({{640}, {480}, {150, 200, 250, 300}})
    ->ArgsProduct({{1280}, {720}, {150, 200, 250, 300}});

BENCHMARK_MAIN();
