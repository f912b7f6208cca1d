// Frames per second of the contrast/brightness path at camera sizes, beside a plain frame copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "core/contrast_brightness_frame.h"

namespace {

struct BenchFrame {
    BenchFrame(int width, int height) : stride((width * 3 + 3) & ~3), in(static_cast<size_t>(stride) * height), out(in.size()) {
        uint32_t state = 99;
        for (uint8_t& b : in) {
            state = state * 1664525u + 1013904223u;
            b = static_cast<uint8_t>((state >> 24) );
        }
    }
    int stride;
    std::vector<uint8_t> in, out;
};

void BM_FrameCopy(benchmark::State& state) {
    BenchFrame frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::memcpy(frame.out.data(), frame.in.data(), frame.in.size());
        benchmark::DoNotOptimize(frame.out.data());
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ContrastBrightness(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    BenchFrame frame(width, height);
    CContrastBrightnessFrame cb;
    cb.SetValues(30, 10);
    for (auto _ : state) {
        cb.Process(frame.in.data(), frame.out.data(), width, height, frame.stride);
        benchmark::DoNotOptimize(frame.out.data());
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_FrameCopy)->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_ContrastBrightness)->Args({640, 480})->Args({1280, 720});

}  // namespace

BENCHMARK_MAIN();
