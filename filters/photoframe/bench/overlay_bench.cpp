// Frames per second of the photo-frame blend, beside a plain frame copy.
#include "frame_bench.h"
#include <random>

#include "frame_fixture.h"
#include "core/overlay_blend.h"

namespace {

using framebench::BM_FrameCopy;
using framebench::SetFrameRate;

// A typical frame picture: an opaque border, a soft inner edge and a transparent middle.
OverlayImage PhotoFrame(int width, int height) {
    OverlayImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
    std::mt19937 random(3);
    const int border = height / 10;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = &image.pixels[(static_cast<size_t>(y) * width + x) * 4];
            const int edge = std::min(std::min(x, width - 1 - x), std::min(y, height - 1 - y));
            pixel[0] = static_cast<uint8_t>(random());
            pixel[1] = static_cast<uint8_t>(random());
            pixel[2] = static_cast<uint8_t>(random());
            pixel[3] = edge < border ? 255 : edge < border * 2 ? static_cast<uint8_t>(255 * (border * 2 - edge) / border) : 0;
        }
    return image;
}

void BM_PhotoFrameBlend(benchmark::State& state) {
    TestFrame src = TestFrame::DataPadded(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TestFrame dst = TestFrame::DataPadded(src.Width(), src.Height());
    src.FillRandom(1);
    const OverlayImage overlay = PhotoFrame(src.Width(), src.Lines());
    for (auto _ : state) {
        BlendOverlayFrame(src.Data(), dst.Data(), src.Width(), src.Height(), src.Stride(), overlay);
        benchmark::DoNotOptimize(dst.Data());
        benchmark::ClobberMemory();
    }
    SetFrameRate(state);
}

}  // namespace

BENCHMARK(BM_FrameCopy)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_PhotoFrameBlend)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});

BENCHMARK_MAIN();
