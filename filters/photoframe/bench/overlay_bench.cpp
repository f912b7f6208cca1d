// Frames per second of the photo-frame blend, beside a plain frame copy.
#include "frame_bench.h"
#include "test_frame.h"
#include "bench_overlay.h"
#include "core/overlay_blend.h"

namespace {

using framebench::BM_FrameCopy;
using framebench::SetFrameRate;

void BM_PhotoFrameBlend(benchmark::State& state) {
    TestFrame src = TestFrame::DataPadded(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TestFrame dst = TestFrame::DataPadded(src.Width(), src.Height());
    src.FillRandom(1);
    const OverlayImage overlay = BenchPhotoFrame(src.Width(), src.Lines());
    for (auto _ : state) {
        BlendOverlayFrame(src.Data(), dst.Data(),
                          qel::imaging::PixelLayout{src.Width(), src.Height(), src.Stride(), 3}, overlay);
        benchmark::DoNotOptimize(dst.Data());
        benchmark::ClobberMemory();
    }
    SetFrameRate(state);
}

}  // namespace

BENCHMARK(BM_FrameCopy)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_PhotoFrameBlend)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});

BENCHMARK_MAIN();
