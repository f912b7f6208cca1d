// The whole effect chain per frame: all eleven effects one after the other, in the order of the engine's
// effect rows (auto enhance, auto tone, whiteboard, low light, contrast/brightness, digital zoom, photo
// frame, date/time stamp, special effect, flip, rotate), each at its heaviest setting, beside a plain
// frame copy. The third argument picks the special effect.
#include "frame_bench.h"

#include <memory>
#include <random>
#include <utility>

#include "qelimaging/auto_tone.h"
#include "qelimaging/whiteboard.h"

#include "core/contrast_brightness_frame.h"
#include "core/stamp_paint.h"
#include "core/zoom_engine.h"
#include "core/flip_kernel.h"
#include "core/low_light_frame.h"
#include "core/overlay_blend.h"
#include "core/rotate_kernel.h"
#include "core/effect_factory.h"

namespace {

using namespace qel::imaging;

// An opaque border, a soft inner edge and a transparent middle.
OverlayImage PhotoFrame(int width, int height) {
    OverlayImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
    std::mt19937 random(3);
    const int border = height / 10;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = &image.pixels[(static_cast<size_t>(y) * width + x) * 4];
            const int edge = std::min(std::min(x, width - 1 - x), std::min(y, height - 1 - y));
            pixel[0] = static_cast<uint8_t>(random());
            pixel[1] = static_cast<uint8_t>(random());
            pixel[2] = static_cast<uint8_t>(random());
            pixel[3] = edge < border ? 255 : edge < border * 2 ? static_cast<uint8_t>(255 * (border * 2 - edge) / border) : 0;
        }
    }
    return image;
}

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
    zoom.SetFormat(ZoomFormat{width, height, 3, stride});
    zoom.SetZoom(150);
    const OverlayImage overlay = PhotoFrame(width, height);
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
        lowLight.Process(a.data(), b.data(), width, height, stride);
        contrast.Process(b.data(), a.data(), width, height, stride);
        zoom.Process(a.data(), a.size(), b.data(), b.size());
        BlendOverlayFrame(b.data(), a.data(), width, height, stride, overlay);
        PaintStampMask(a.data(), width, height, stride, stamp, StampPoint{width - 135, height - 19}, StampColour{});
        effect->Process(a.data(), b.data());
        FlipFrame(b.data(), a.data(), width, height, stride, flip);
        RotateFrame(a.data(), b.data(), width, height, stride, rotate);
        std::swap(a, b);  // the next frame starts from this one's result, as a live chain would
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    framebench::SetFrameRate(state);
}

const char* const kEffectNames[] = {"BlackWhite", "Sepia", "Negative", "Emboss", "FishEye",
                                    "Snow",       "Mosaic", "Swirl",    "Spotlight"};

void RegisterAll() {
    for (const auto& size : {std::make_pair(640, 480), std::make_pair(1280, 720)}) {
        benchmark::RegisterBenchmark("FrameCopy", framebench::BM_FrameCopy)
            ->Args({size.first, size.second})
            ->Unit(benchmark::kMillisecond);
        for (int index : {1, 4, 5, 7}) {
            const std::string name = std::string("Chain/") + kEffectNames[index];
            benchmark::RegisterBenchmark(name.c_str(), BM_EffectChain)
                ->Args({size.first, size.second, index})
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
