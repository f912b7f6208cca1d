// Frames per second of the low-light path at camera sizes, beside a plain frame copy.
#include "frame_bench.h"

#include "core/low_light_frame.h"

namespace {

using framebench::BenchFrame;
using framebench::BM_FrameCopy;
using framebench::SetFrameRate;

void BM_LowLight(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    BenchFrame frame(width, height, 99, 90);  // a dark picture
    CLowLightFrame lowLight;
    for (auto _ : state) {
        lowLight.Process(frame.in.data(), frame.out.data(),
                         qel::imaging::PixelLayout{width, height, frame.stride, 3});
        benchmark::DoNotOptimize(frame.out.data());
    }
    SetFrameRate(state);
}

BENCHMARK(BM_FrameCopy)->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_LowLight)->Args({640, 480})->Args({1280, 720});

}  // namespace

BENCHMARK_MAIN();
