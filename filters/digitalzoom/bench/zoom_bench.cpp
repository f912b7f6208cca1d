// Frames per second of the zoom scaler at each step, beside a plain frame copy.
#include "frame_bench.h"

#include "test_frame.h"
#include "core/zoom_engine.h"

namespace {

using framebench::BM_FrameCopy;
using framebench::SetFrameRate;

void BM_ZoomScaler(benchmark::State& state) {
    TestFrame src = TestFrame::DataPadded(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TestFrame dst = TestFrame::DataPadded(src.Width(), src.Height());
    src.FillRandom(1);
    ZoomEngine engine;
    engine.SetFormat(qel::imaging::PixelLayout{src.Width(), src.Height(), src.Stride(), 3});
    engine.SetZoom(static_cast<int>(state.range(2)));
    for (auto _ : state) {
        engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes());
        benchmark::DoNotOptimize(dst.Data());
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
