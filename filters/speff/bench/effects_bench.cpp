// Frames per second of every effect at camera sizes, beside a plain frame copy.
#include "frame_bench.h"

#include <memory>

#include "core/effect_factory.h"

namespace {

using framebench::BenchFrame;
using framebench::BM_FrameCopy;
using framebench::SetFrameRate;

void BM_Effect(benchmark::State& state) {
    const int index = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    const int height = static_cast<int>(state.range(2));
    BenchFrame frame(width, height, 12345);
    std::unique_ptr<CEffect> effect = CreateEffect(index);
    effect->Init(width, height, 3, 8, frame.stride, kByteOrderBgr);
    effect->SetStrength(index == 6 ? 8 : 50);
    for (auto _ : state) {
        effect->Process(frame.in.data(), frame.out.data());
        benchmark::DoNotOptimize(frame.out.data());
    }
    SetFrameRate(state);
}

const char* const kEffectNames[] = {"BlackWhite", "Sepia", "Negative", "Emboss", "FishEye",
                                    "Snow",       "Mosaic", "Swirl",    "Spotlight"};

void RegisterAll() {
    for (const auto& size : {std::make_pair(640, 480), std::make_pair(1280, 720)}) {
        benchmark::RegisterBenchmark("FrameCopy", BM_FrameCopy)->Args({size.first, size.second});
        for (int index = 0; index < kEffectCount; ++index)
            benchmark::RegisterBenchmark(kEffectNames[index], BM_Effect)->Args({index, size.first, size.second});
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
