// Frames per second of the rotation beside a plain copy of the same frame.
#include "rotate_kernel.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Frames {
    int width, height, stride;
    std::vector<std::uint8_t> in, out;
    Frames(int w, int h) : width(w), height(h), stride((w * 3 + 3) / 4 * 4), in(size_t(stride) * h), out(in.size()) {
        for (size_t i = 0; i < in.size(); ++i)
            in[i] = static_cast<std::uint8_t>(i * 31);
    }
};

void Report(benchmark::State& state) {
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

void Rotate(benchmark::State& state, int angle, int method) {
    Frames f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const RotateParams params{angle, method, 0x00102030};
    for (auto _ : state) {
        RotateFrame(f.in.data(), f.out.data(), f.width, f.height, f.stride, params);
        benchmark::DoNotOptimize(f.out.data());
        benchmark::ClobberMemory();
    }
    Report(state);
}

void PlainCopy(benchmark::State& state) {
    Frames f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::memcpy(f.out.data(), f.in.data(), f.in.size());
        benchmark::DoNotOptimize(f.out.data());
        benchmark::ClobberMemory();
    }
    Report(state);
}

void Rotate90Cut(benchmark::State& state) { Rotate(state, 90, kRotateCut); }
void Rotate90Zoom(benchmark::State& state) { Rotate(state, 90, kRotateZoom); }
void Rotate180(benchmark::State& state) { Rotate(state, 180, kRotateCut); }

} // namespace

BENCHMARK(PlainCopy)->Args({640, 480})->Args({1280, 720});
BENCHMARK(Rotate90Cut)->Args({640, 480})->Args({1280, 720});
BENCHMARK(Rotate90Zoom)->Args({640, 480})->Args({1280, 720});
BENCHMARK(Rotate180)->Args({640, 480})->Args({1280, 720});

BENCHMARK_MAIN();
