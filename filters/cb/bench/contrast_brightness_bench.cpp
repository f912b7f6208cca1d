// Frames per second of the contrast/brightness path at camera sizes, beside a plain frame copy.
#include "frame_bench.h"

#include "core/contrast_brightness_frame.h"

namespace {

using framebench::BenchFrame;
using framebench::BM_FrameCopy;
using framebench::SetFrameRate;

void BM_ContrastBrightness(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    BenchFrame frame(width, height, 99);
    CContrastBrightnessFrame cb;
    cb.SetValues(30, 10);
    for (auto _ : state) {
        cb.Process(frame.in.data(), frame.out.data(),
                   qel::imaging::PixelLayout{width, height, frame.stride, 3});
        benchmark::DoNotOptimize(frame.out.data());
    }
    SetFrameRate(state);
}

BENCHMARK(BM_FrameCopy)->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_ContrastBrightness)->Args({640, 480})->Args({1280, 720});

}  // namespace

BENCHMARK_MAIN();
