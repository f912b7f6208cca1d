// Frames per second of painting the date/time stamp from its mask, beside a plain frame copy.
#include "frame_bench.h"

#include "test_frame.h"
#include "core/stamp_paint.h"

namespace {

using framebench::BM_FrameCopy;
using framebench::SetFrameRate;

// The stamp of a 12-pixel font is about 130 x 14; a third of its pixels are text.
void BM_StampPaint(benchmark::State& state) {
    TestFrame frame = TestFrame::DataPadded(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    frame.FillRandom(1);
    StampMask mask;
    mask.width = 130;
    mask.height = 14;
    mask.coverage.resize(130 * 14);
    for (size_t i = 0; i < mask.coverage.size(); ++i)
        mask.coverage[i] = i % 3 == 0 ? 255 : 0;
    const StampPoint place{frame.Width() - 5 - mask.width, frame.Lines() - 5 - mask.height};
    for (auto _ : state) {
        PaintStampMask(frame.Data(), frame.Layout(), mask, place, StampColour{});
        benchmark::DoNotOptimize(frame.Data());
        benchmark::ClobberMemory();
    }
    SetFrameRate(state);
}

}  // namespace

BENCHMARK(BM_FrameCopy)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_StampPaint)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});

BENCHMARK_MAIN();
