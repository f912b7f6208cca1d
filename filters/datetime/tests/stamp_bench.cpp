// Frames per second of painting the date/time stamp from its mask, beside a plain frame copy.
#include <benchmark/benchmark.h>

#include <cstring>

#include "guarded_frame.h"
#include "stamp_paint.h"

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

// The stamp of a 12-pixel font is about 130 x 14; a third of its pixels are text.
void BM_StampPaint(benchmark::State& state) {
    frametest::GuardedFrame frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 3);
    frame.FillRandom(1);
    StampMask mask;
    mask.width = 130;
    mask.height = 14;
    mask.coverage.resize(130 * 14);
    for (size_t i = 0; i < mask.coverage.size(); ++i)
        mask.coverage[i] = i % 3 == 0 ? 255 : 0;
    const StampPoint place{frame.width() - 5 - mask.width, frame.rows() - 5 - mask.height};
    for (auto _ : state) {
        PaintStampMask(frame.data(), frame.width(), frame.height(), frame.stride(), mask, place, StampColour{});
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    SetFrameRate(state);
}

}  // namespace

BENCHMARK(BM_FrameCopy)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_StampPaint)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});

BENCHMARK_MAIN();
