// The whole effect chain per frame: all eleven effects one after the other, in the order of the engine's
// effect rows (auto enhance, auto tone, whiteboard, low light, contrast/brightness, digital zoom, photo
// frame, date/time stamp, special effect, flip, rotate), each at its heaviest setting, beside a plain
// frame copy. The third argument picks the special effect.
#include "frame_bench.h"

#include <chrono>
#include <memory>
#include <string>
#include <utility>

#include "qelimaging/auto_tone.h"
#include "qelimaging/cpu_features.h"
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

// Every stage's state, set up once as a live chain would set it up when its format is known.
class Chain {
public:
    static constexpr int kStages = 11;

    Chain(int width, int height, int specialEffect)
        : width_(width), height_(height), frame_(width, height, 7), stride_(frame_.stride),
          layout_{width, height, stride_, 3},
          whiteboard_{width, height, stride_, 3, 8, 1, nullptr, nullptr},
          overlay_(BenchPhotoFrame(width, height)), effect_(CreateEffect(specialEffect)) {
        whiteboardSettings_.strength = 100;
        contrast_.SetValues(100, 100);
        zoom_.SetFormat(layout_);
        zoom_.SetZoom(150);
        stamp_.width = 130;
        stamp_.height = 14;
        stamp_.coverage.assign(130 * 14, 0);
        for (size_t i = 0; i < stamp_.coverage.size(); i += 3)
            stamp_.coverage[i] = 255;
        effect_->Init(width, height, 3, 8, stride_, kByteOrderBgr);
        effect_->SetStrength(100);
    }

    std::vector<uint8_t> Picture() const { return frame_.in; }

    // One stage from `in` to `out` (both of the frame's size); in-place stages work on `in` and copy
    // nothing, so the caller goes on from the buffer the stage names: true when that is `out`.
    bool Stage(int stage, std::vector<uint8_t>& in, std::vector<uint8_t>& out) {
        switch (stage) {
        case 0:
            AutoCorrectFrame(in.data(), out.data(), Rgb24Layout(width_, height_), 100, AutoCorrection::Enhance,
                             enhanceTables_.get());
            return true;
        case 1:
            AutoCorrectFrame(in.data(), out.data(), Rgb24Layout(width_, height_), 100, AutoCorrection::Tone);
            return true;
        case 2:
            whiteboard_.source = whiteboard_.destination = in.data();
            EnhanceWhiteboard(&whiteboard_, &whiteboardSettings_, nullptr);
            return false;
        case 3:
            lowLight_.Process(in.data(), out.data(), layout_);
            return true;
        case 4:
            contrast_.Process(in.data(), out.data(), layout_);
            return true;
        case 5:
            zoom_.Process(in.data(), in.size(), out.data(), out.size());
            return true;
        case 6:
            BlendOverlayFrame(in.data(), out.data(), layout_, overlay_);
            return true;
        case 7:
            PaintStampMask(in.data(), layout_, stamp_, StampPoint{width_ - 135, height_ - 19}, StampColour{});
            return false;
        case 8:
            effect_->Process(in.data(), out.data());
            return true;
        case 9:
            FlipFrame(in.data(), out.data(), layout_, flip_);
            return true;
        default:
            RotateFrame(in.data(), out.data(), layout_, rotate_);
            return true;
        }
    }

private:
    int width_, height_;
    framebench::BenchFrame frame_;
    int stride_;
    PixelLayout layout_;
    WhiteboardImage whiteboard_;
    WhiteboardParams whiteboardSettings_{};
    CLowLightFrame lowLight_;
    CContrastBrightnessFrame contrast_;
    ZoomEngine zoom_;
    OverlayImage overlay_;
    StampMask stamp_;
    std::unique_ptr<CEffect> effect_;
    FlipParams flip_{true, true};
    RotateParams rotate_{90, kRotateZoom, 0};
    // Kept from frame to frame, as the auto enhance filter keeps them.
    std::unique_ptr<EnhanceTables> enhanceTables_ = std::make_unique<EnhanceTables>();
};

void BM_EffectChain(benchmark::State& state) {
    Chain chain(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    std::vector<uint8_t> a = chain.Picture(), b(a.size());
    // Each stage's share, timed inside the live chain (its pictures are not the stage bench's).
    std::chrono::steady_clock::duration spent[Chain::kStages] = {};
    for (auto _ : state) {
        for (int stage = 0; stage < Chain::kStages; ++stage) {
            const auto start = std::chrono::steady_clock::now();
            if (chain.Stage(stage, a, b))
                std::swap(a, b);  // the next stage starts from this one's result, as a live chain would
            spent[stage] += std::chrono::steady_clock::now() - start;
        }
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    framebench::SetFrameRate(state);
    for (int stage = 0; stage < Chain::kStages; ++stage)
        state.counters["s" + std::to_string(stage)] =
            std::chrono::duration<double, std::milli>(spent[stage]).count() / static_cast<double>(state.iterations());
}

// The chain as processors without AVX-512 run it: every kernel limited to AVX2 at most.
void BM_EffectChainAvx2(benchmark::State& state) {
    LimitWideKernels(WideKernels::Avx2);
    BM_EffectChain(state);
    LimitWideKernels(WideKernels::Avx512Vbmi);
}

// One stage of the chain alone, on the chain's own picture: where the chain's time goes.
void BM_ChainStage(benchmark::State& state) {
    Chain chain(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 5);
    const int stage = static_cast<int>(state.range(2));
    std::vector<uint8_t> a = chain.Picture(), b(a.size());
    for (auto _ : state) {
        chain.Stage(stage, a, b);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace

// Special effects 1 (sepia), 4 (fish eye), 5 (snow) and 7 (swirl): the heaviest ones.
BENCHMARK(framebench::BM_FrameCopy)->ArgNames({"width", "height"})->Args({640, 480})->Args({1280, 720});
BENCHMARK(BM_EffectChain)
    ->ArgNames({"width", "height", "effect"})
    ->ArgsProduct({{640}, {480}, {1, 4, 5, 7}})
    ->ArgsProduct({{1280}, {720}, {1, 4, 5, 7}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EffectChainAvx2)
    ->ArgNames({"width", "height", "effect"})
    ->Args({640, 480, 5})
    ->Args({1280, 720, 5})
    ->Unit(benchmark::kMillisecond);
// Stages in the chain's order: 0 auto enhance .. 8 the special effect (snow) .. 10 rotate.
BENCHMARK(BM_ChainStage)
    ->ArgNames({"width", "height", "stage"})
    ->ArgsProduct({{640}, {480}, benchmark::CreateDenseRange(0, 10, 1)})
    ->ArgsProduct({{1280}, {720}, benchmark::CreateDenseRange(0, 10, 1)})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
