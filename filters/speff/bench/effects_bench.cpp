// Frames per second of every effect at camera sizes, beside a plain frame copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "effects/effect_factory.h"

namespace {

struct BenchFrame {
    BenchFrame(int width, int height) : stride((width * 3 + 3) & ~3), in(static_cast<size_t>(stride) * height), out(in.size()) {
        uint32_t state = 12345;
        for (uint8_t& b : in) {
            state = state * 1664525u + 1013904223u;
            b = static_cast<uint8_t>(state >> 24);
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

void BM_Effect(benchmark::State& state) {
    const int index = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    const int height = static_cast<int>(state.range(2));
    BenchFrame frame(width, height);
    std::unique_ptr<CEffect> effect = CreateEffect(index);
    effect->Init(width, height, 3, 8, frame.stride, kByteOrderBgr);
    effect->SetStrength(index == 6 ? 8 : 50);
    for (auto _ : state) {
        effect->Process(frame.in.data(), frame.out.data());
        benchmark::DoNotOptimize(frame.out.data());
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
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
