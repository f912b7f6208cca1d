// The whole effect chain per frame: all eleven effects one after the other, in the order of the engine's
// effect rows (auto enhance, auto tone, whiteboard, low light, contrast/brightness, digital zoom, photo
// frame, date/time stamp, special effect, flip, rotate), each at its heaviest setting, beside a plain
// frame copy. The third argument picks the special effect.
#include "frame_bench.h"

#include <memory>
#include <utility>

#include "qelimaging/auto_tone.h"
#include "qelimaging/whiteboard.h"

#include "core/contrast_brightness_frame.h"
#include "core/stamp_paint.h"
#include "core/zoom_engine.h"
#include "core/flip_kernel.h"
#include "core/low_light_frame.h"
#include "bench/bench_overlay.h"
#include "core/overlay_blend.h"
#include "core/rotate_kernel.h"
#include "core/effect_factory.h"

namespace {

using namespace qel::imaging;

void BM_EffectChain(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    framebench::BenchFrame frame(width, height, 7);
    std::vector<uint8_t> a = frame.in, b(frame.in.size());
    const int stride = frame.stride;

    WhiteboardImage whiteboard{width, height, stride, 3, 8, 1, nullptr, nullptr};
    WhiteboardParams whiteboardSettings{};
    whiteboardSettings.strength = 100;
    CLowLightFrame lowLight;
    CContrastBrightnessFrame contrast;
    contrast.SetValues(100, 100);
    ZoomEngine zoom;
    zoom.SetFormat(qel::imaging::PixelLayout{width, height, stride, 3});
    zoom.SetZoom(150);
    const OverlayImage overlay = BenchPhotoFrame(width, height);
    StampMask stamp;
    stamp.width = 130;
    stamp.height = 14;
    stamp.coverage.assign(130 * 14, 0);
    for (size_t i = 0; i < stamp.coverage.size(); i += 3)
        stamp.coverage[i] = 255;
    std::unique_ptr<CEffect> effect = CreateEffect(static_cast<int>(state.range(2)));
    effect->Init(width, height, 3, 8, stride, kByteOrderBgr);
    effect->SetStrength(100);
    const FlipParams flip{true, true};
    const RotateParams rotate{90, kRotateZoom, 0};

    for (auto _ : state) {
        AutoCorrectFrame(a.data(), b.data(), Rgb24Layout(width, height), 100, AutoCorrection::Enhance);
        AutoCorrectFrame(b.data(), a.data(), Rgb24Layout(width, height), 100, AutoCorrection::Tone);
        whiteboard.source = whiteboard.destination = a.data();
        EnhanceWhiteboard(&whiteboard, &whiteboardSettings, nullptr);
        lowLight.Process(a.data(), b.data(), qel::imaging::PixelLayout{width, height, stride, 3});
        contrast.Process(b.data(), a.data(), qel::imaging::PixelLayout{width, height, stride, 3});
        zoom.Process(a.data(), a.size(), b.data(), b.size());
        BlendOverlayFrame(b.data(), a.data(), qel::imaging::PixelLayout{width, height, stride, 3}, overlay);
        PaintStampMask(a.data(), qel::imaging::PixelLayout{width, height, stride, 3}, stamp,
                       StampPoint{width - 135, height - 19}, StampColour{});
        effect->Process(a.data(), b.data());
        FlipFrame(b.data(), a.data(), qel::imaging::PixelLayout{width, height, stride, 3}, flip);
        RotateFrame(a.data(), b.data(), qel::imaging::PixelLayout{width, height, stride, 3}, rotate);
        std::swap(a, b);  // the next frame starts from this one's result, as a live chain would
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    framebench::SetFrameRate(state);
}

}  // namespace

// Special effects 1 (sepia), 4 (fish eye), 5 (snow) and 7 (swirl): the heaviest ones.
BENCHMARK(framebench::BM_FrameCopy)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_EffectChain)
    ->ArgNames({"width", "height", "effect"})
    ->ArgsProduct({{640}, {480}, {1, 4, 5, 7}})
    ->ArgsProduct({{1280}, {720}, {1, 4, 5, 7}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
