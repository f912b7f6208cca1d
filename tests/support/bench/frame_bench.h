#pragma once
// What the frame benchmarks share: an RGB24 source and destination frame, the frames-per-second
// counter they report, and the plain frame copy each kernel is measured beside.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace framebench {

// Source and destination of one RGB24 frame with DIB rows; the source holds pseudo-random bytes
// below `levels` (256: any byte; fewer: a darker picture).
struct BenchFrame {
    BenchFrame(int width, int height, std::uint32_t seed = 1, unsigned levels = 256)
        : width(width), height(height), stride((width * 3 + 3) & ~3),
          in(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height)), out(in.size()) {
        std::uint32_t state = seed;
        for (std::uint8_t& b : in) {
            state = state * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>((state >> 24) % levels);
        }
    }
    int width;
    int height;
    int stride;
    std::vector<std::uint8_t> in, out;
};

inline void SetFrameRate(benchmark::State& state) {
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A plain copy of a range(0) x range(1) frame: what a kernel costs beyond touching the bytes.
inline void BM_FrameCopy(benchmark::State& state) {
    BenchFrame frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::memcpy(frame.out.data(), frame.in.data(), frame.in.size());
        benchmark::DoNotOptimize(frame.out.data());
        benchmark::ClobberMemory();
    }
    SetFrameRate(state);
}

} // namespace framebench
