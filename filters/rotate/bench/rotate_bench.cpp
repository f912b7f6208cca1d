// Frames per second of the rotation beside a plain copy of the same frame.
#include "core/rotate_kernel.h"

#include "frame_bench.h"

namespace {

void Rotate(benchmark::State& state, int angle, int method) {
    framebench::BenchFrame f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const RotateParams params{angle, method, 0x00102030};
    for (auto _ : state) {
        RotateFrame(f.in.data(), f.out.data(), qel::imaging::PixelLayout{f.width, f.height, f.stride, 3},
                    params);
        benchmark::DoNotOptimize(f.out.data());
        benchmark::ClobberMemory();
    }
    framebench::SetFrameRate(state);
}

void PlainCopy(benchmark::State& state) { framebench::BM_FrameCopy(state); }

void Rotate90Cut(benchmark::State& state) { Rotate(state, 90, kRotateCut); }
void Rotate90Zoom(benchmark::State& state) { Rotate(state, 90, kRotateZoom); }
void Rotate180(benchmark::State& state) { Rotate(state, 180, kRotateCut); }

} // namespace

BENCHMARK(PlainCopy)->Args({640, 480})->Args({1280, 720});
BENCHMARK(Rotate90Cut)->Args({640, 480})->Args({1280, 720});
BENCHMARK(Rotate90Zoom)->Args({640, 480})->Args({1280, 720});
BENCHMARK(Rotate180)->Args({640, 480})->Args({1280, 720});

BENCHMARK_MAIN();
