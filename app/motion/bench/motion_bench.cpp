// Frames per second of motion detection at 640 x 480 as the motion watch runs it (2 x 2 grid, all
// cells watched), on a still picture (every cell compared) and on a moving one (the first cell ends
// the search), beside a plain copy of the same frame.
#include "MotionDetector.h"

#include "frame_bench.h"

namespace {

void Detect(benchmark::State& state, bool moving) {
    framebench::BenchFrame f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::uint32_t mask[4] = {1, 1, 1, 1};
    MD_Reset();
    if (MD_Init(2, mask, f.width, f.height, f.stride, 50) != kMdOk) {
        state.SkipWithError("MD_Init refused the frame");
        return;
    }
    int moved = 0;
    MD_Detect(f.in.data(), f.width, f.height, f.stride, &moved); // the reference
    const std::vector<std::uint8_t>& compared = moving ? f.out : f.in;
    if (moving)
        for (std::size_t i = 0; i < f.out.size(); ++i)
            f.out[i] = static_cast<std::uint8_t>(f.in[i] ^ 0x80);
    for (auto _ : state) {
        MD_Detect(compared.data(), f.width, f.height, f.stride, &moved);
        benchmark::DoNotOptimize(moved);
    }
    MD_Reset();
    framebench::SetFrameRate(state);
}

void PlainCopy(benchmark::State& state) { framebench::BM_FrameCopy(state); }
void DetectStill(benchmark::State& state) { Detect(state, false); }
void DetectMoving(benchmark::State& state) { Detect(state, true); }

} // namespace

BENCHMARK(PlainCopy)->Args({640, 480});
BENCHMARK(DetectStill)->Args({640, 480});
BENCHMARK(DetectMoving)->Args({640, 480});

BENCHMARK_MAIN();
