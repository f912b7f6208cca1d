// Frames per second of the per-frame paths at 640x480 and 1280x720, beside a plain frame copy.
#include "qelimaging/auto_levels.h"
#include "qelimaging/auto_tone.h"
#include "qelimaging/colour_cube.h"
#include "qelimaging/cpu_features.h"
#include "qelimaging/cube_cells.h"
#include "qelimaging/hue_saturation.h"
#include "qelimaging/noise.h"
#include "qelimaging/sepia.h"
#include "qelimaging/whiteboard.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace qel::imaging;

struct BenchFrame {
    PixelLayout layout;
    std::vector<std::uint8_t> source;
    std::vector<std::uint8_t> destination;

    BenchFrame(int width, int height) : layout(Rgb24Layout(width, height)) {
        source.resize(ImageBytes(layout));
        destination.resize(source.size());
        // A camera-like picture: smooth light, texture and some colour.
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = source.data() + static_cast<std::size_t>(y) * layout.stride;
            for (int x = 0; x < width; ++x) {
                const int light = 140 + (x * 60) / width - (y * 40) / height;
                const int texture = static_cast<int>((x * 13u + y * 7u) ^ (x * y)) & 15;
                row[3 * x + 0] = static_cast<std::uint8_t>(light - 20 + texture);
                row[3 * x + 1] = static_cast<std::uint8_t>(light + texture);
                row[3 * x + 2] =
                    static_cast<std::uint8_t>(((x / 40 + y / 40) % 5 == 0 ? 200 : light) + texture / 2);
            }
        }
    }
};

template <typename Kernel> void RunFrames(benchmark::State& state, Kernel kernel) {
    BenchFrame frame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        kernel(frame);
        benchmark::DoNotOptimize(frame.destination.data());
        benchmark::ClobberMemory();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FrameCopy(benchmark::State& state) {
    RunFrames(state,
              [](BenchFrame& f) { std::memcpy(f.destination.data(), f.source.data(), f.source.size()); });
}

void BM_ApplyLut(benchmark::State& state) {
    Lut lut = MakeIdentityLut(3);
    const float gammas[3] = {2.0f, 2.0f, 2.0f};
    BuildGammaLut(lut, gammas);
    RunFrames(state, [&](BenchFrame& f) {
        ApplyLut(f.source.data(), f.destination.data(), f.layout, nullptr, lut);
    });
}

void BM_LowLightChain(benchmark::State& state) {
    // What the low-light filter does per frame: levels from the 1 %/99 % points and gamma, the auto
    // contrast measured through them and folded into the same table, one pass over the pixels.
    Lut gamma = MakeIdentityLut(3);
    const float gammas[3] = {2.0f, 2.0f, 2.0f};
    BuildGammaLut(gamma, gammas);
    RunFrames(state, [&](BenchFrame& f) {
        int high[3], low[3];
        AutoLevelsPoints(f.source.data(), f.layout, nullptr, high, low);
        Lut working = MakeIdentityLut(3);
        BuildLevelsLut(working, high, low);
        ComposeLut(working, gamma);
        Lut contrast = MakeIdentityLut(3);
        BuildAutoContrastLutThrough(f.source.data(), f.layout, nullptr, working, 150, contrast);
        ComposeLut(working, contrast);
        ApplyLut(f.source.data(), f.destination.data(), f.layout, nullptr, working);
    });
}

void BM_ContrastBrightness(benchmark::State& state) {
    const int contrasts[3] = {30, 30, 30};
    const int brightnesses[3] = {-10, -10, -10};
    RunFrames(state, [&](BenchFrame& f) {
        ApplyContrastBrightness(f.source.data(), f.destination.data(), f.layout, nullptr, contrasts,
                                brightnesses);
    });
}

void BM_ApplyCube(benchmark::State& state) {
    ColourCube cube;
    BuildSepiaCube(cube, 100);
    RunFrames(state, [&](BenchFrame& f) {
        ApplyCube(f.source.data(), f.destination.data(), f.layout, nullptr, cube);
    });
}

// Sepia as the effect runs it: the cube's cells built once per strength.
void BM_ApplyCubeCells(benchmark::State& state) {
    ColourCube cube;
    BuildSepiaCube(cube, 200);
    std::unique_ptr<CubeCells> cells(new CubeCells);
    BuildCubeCells(cube, *cells);
    RunFrames(state, [&](BenchFrame& f) {
        ApplyCube(f.source.data(), f.destination.data(), f.layout, nullptr, cube, *cells);
    });
}

void BM_BuildCubeCells(benchmark::State& state) {
    ColourCube cube;
    BuildSepiaCube(cube, 200);
    std::unique_ptr<CubeCells> cells(new CubeCells);
    for (auto _ : state) {
        BuildCubeCells(cube, *cells);
        benchmark::DoNotOptimize(cells->records);
    }
}

void BM_HueSaturationPerPixel(benchmark::State& state) {
    RunFrames(state, [](BenchFrame& f) {
        AdjustHueSaturation(f.source.data(), f.destination.data(), f.layout, nullptr, 20, -50, false);
    });
}

void BM_HueSaturationCube(benchmark::State& state) {
    RunFrames(state, [](BenchFrame& f) {
        AdjustHueSaturation(f.source.data(), f.destination.data(), f.layout, nullptr, 20, -50, true);
    });
}

void BM_AddNoise(benchmark::State& state) {
    NoiseRandom random(1);
    RunFrames(state, [&](BenchFrame& f) {
        AddNoise(f.source.data(), f.destination.data(), f.layout, 50, 50, random);
    });
}

void BM_SnowLayer(benchmark::State& state) {
    NoiseRandom random(1);
    RunFrames(state,
              [&](BenchFrame& f) { SnowLayer(f.source.data(), f.destination.data(), f.layout, 50, random); });
}

// What the Snow effect does per frame: one prebuilt flake layer screened on, washed out, lightened.
void BM_SnowFlakesApply(benchmark::State& state) {
    NoiseRandom random(1);
    SnowFlakes flakes;
    BuildSnowFlakes(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), 50, random, flakes);
    RunFrames(state, [&](BenchFrame& f) {
        ApplySnowFlakes(f.source.data(), f.destination.data(), f.layout, flakes);
    });
}

void BM_EnhanceWhiteboard(benchmark::State& state) {
    WhiteboardParams params{};
    params.strength = 50;
    RunFrames(state, [&](BenchFrame& f) {
        const WhiteboardImage image{f.layout.width,  f.layout.height,     f.layout.stride, 3, 8, 1,
                                    f.source.data(), f.destination.data()};
        EnhanceWhiteboard(&image, &params, nullptr);
    });
}

// The same passes on processors with fewer wide instructions: the third argument is the widest kernel
// allowed (0 plain, 1 AVX2).
template <void (*Bench)(benchmark::State&)> void BM_Narrower(benchmark::State& state) {
    LimitWideKernels(static_cast<WideKernels>(state.range(2)));
    Bench(state);
    LimitWideKernels(WideKernels::Avx512Vbmi);
}

void BM_AutoTone(benchmark::State& state) {
    RunFrames(state, [](BenchFrame& f) {
        AutoCorrectFrame(f.source.data(), f.destination.data(), f.layout, 50, AutoCorrection::Tone);
    });
}

// As the filter runs it: the enhance cube kept from frame to frame.
void BM_AutoEnhance(benchmark::State& state) {
    const auto kept = std::make_unique<EnhanceTables>();
    RunFrames(state, [&](BenchFrame& f) {
        AutoCorrectFrame(f.source.data(), f.destination.data(), f.layout, 50, AutoCorrection::Enhance,
                         kept.get());
    });
}

// Auto enhance where every frame's gain differs from the one before (a scene that keeps changing), so
// that its cube and cells are built for every frame.
void BM_AutoEnhanceChangingScene(benchmark::State& state) {
    BenchFrame duller(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (std::uint8_t& byte : duller.source) {
        byte = static_cast<std::uint8_t>(96 + byte / 3);
    }
    const auto kept = std::make_unique<EnhanceTables>();
    bool odd = false;
    RunFrames(state, [&](BenchFrame& f) {
        const BenchFrame& in = odd ? duller : f;
        odd = !odd;
        AutoCorrectFrame(in.source.data(), f.destination.data(), f.layout, 50, AutoCorrection::Enhance,
                         kept.get());
    });
}

// Auto enhance in its parts: the per-frame tables (tone table, enhance cube, the cube's cells), then
// the one pass through them.
void BM_AutoEnhanceTables(benchmark::State& state) {
    std::unique_ptr<CubeCells> cells(new CubeCells);
    RunFrames(state, [&](BenchFrame& f) {
        std::uint8_t tone[256];
        autotone::BuildToneTable(f.source.data(), f.layout, 50, tone);
        ColourCube cube;
        autotone::BuildEnhanceCube(f.source.data(), f.layout, 50, cube, tone);
        BuildCubeCells(cube, *cells);
        benchmark::DoNotOptimize(cells->records);
    });
}

void BM_AutoEnhanceApply(benchmark::State& state) {
    BenchFrame probe(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Lut tone;
    tone.channels = 1;
    autotone::BuildToneTable(probe.source.data(), probe.layout, 50, tone.table[0]);
    ColourCube cube;
    autotone::BuildEnhanceCube(probe.source.data(), probe.layout, 50, cube, tone.table[0]);
    std::unique_ptr<CubeCells> cells(new CubeCells);
    BuildCubeCells(cube, *cells);
    RunFrames(state, [&](BenchFrame& f) {
        ApplyLutAndCube(f.source.data(), f.destination.data(), f.layout, nullptr, tone, cube, cells.get());
    });
}

#define QEL_FRAME_SIZES ->Args({640, 480})->Args({1280, 720})->Unit(benchmark::kMillisecond)

BENCHMARK(BM_FrameCopy) QEL_FRAME_SIZES;
BENCHMARK(BM_ApplyLut) QEL_FRAME_SIZES;
BENCHMARK(BM_ContrastBrightness) QEL_FRAME_SIZES;
BENCHMARK(BM_LowLightChain) QEL_FRAME_SIZES;
BENCHMARK(BM_ApplyCube) QEL_FRAME_SIZES;
BENCHMARK(BM_ApplyCubeCells) QEL_FRAME_SIZES;
BENCHMARK(BM_BuildCubeCells)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HueSaturationPerPixel) QEL_FRAME_SIZES;
BENCHMARK(BM_HueSaturationCube) QEL_FRAME_SIZES;
BENCHMARK(BM_AddNoise) QEL_FRAME_SIZES;
BENCHMARK(BM_SnowLayer) QEL_FRAME_SIZES;
BENCHMARK(BM_SnowFlakesApply) QEL_FRAME_SIZES;
BENCHMARK(BM_EnhanceWhiteboard) QEL_FRAME_SIZES;
BENCHMARK(BM_Narrower<BM_EnhanceWhiteboard>)
    ->ArgsProduct({{640}, {480}, {0, 1}})
    ->ArgsProduct({{1280}, {720}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Narrower<BM_LowLightChain>)->Args({1280, 720, 0})->Args({1280, 720, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoTone) QEL_FRAME_SIZES;
BENCHMARK(BM_AutoEnhance) QEL_FRAME_SIZES;
BENCHMARK(BM_AutoEnhanceChangingScene) QEL_FRAME_SIZES;
BENCHMARK(BM_AutoEnhanceTables) QEL_FRAME_SIZES;
BENCHMARK(BM_AutoEnhanceApply) QEL_FRAME_SIZES;

} // namespace

BENCHMARK_MAIN();
