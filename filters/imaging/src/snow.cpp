#include "qelimaging/auto_levels.h"
#include "qelimaging/cpu_features.h"
#include "qelimaging/hue_saturation.h"
#include "qelimaging/noise.h"
#include "snow_wash.h"

#include <algorithm>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qel::imaging {

namespace {

constexpr int kBlurTaps = 7;
constexpr int kBlurKernel[kBlurTaps] = {10, 110, 496, 817, 496, 110, 10}; // out of 2048

inline std::uint8_t Weighed(int sum) {
    return static_cast<std::uint8_t>(std::min(sum >> 11, 255));
}

// Blurs one row, repeating its edge pixels beyond each end.
void BlurRow(const std::uint8_t* in, std::uint8_t* out, int count) {
    constexpr int kReach = kBlurTaps / 2;
    for (int i = 0; i < count; ++i) {
        int sum = 0;
        if (i >= kReach && i + kReach < count) {
            for (int t = 0; t < kBlurTaps; ++t) {
                sum += kBlurKernel[t] * in[i + t - kReach];
            }
        } else {
            for (int t = 0; t < kBlurTaps; ++t) {
                sum += kBlurKernel[t] * in[std::clamp(i + t - kReach, 0, count - 1)];
            }
        }
        out[i] = Weighed(sum);
    }
}

// Rows, then columns, of a width x height layer; `scratch` is as large as the layer. The column pass
// runs along rows (seven source rows an output row) so that it reads memory in order.
void BlurLayer(std::uint8_t* layer, std::uint8_t* scratch, int width, int height) {
    for (int y = 0; y < height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * width;
        BlurRow(layer + row, scratch + row, width);
    }
    constexpr int kReach = kBlurTaps / 2;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* rows[kBlurTaps];
        for (int t = 0; t < kBlurTaps; ++t) {
            rows[t] = scratch + static_cast<std::size_t>(std::clamp(y + t - kReach, 0, height - 1)) * width;
        }
        std::uint8_t* out = layer + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            int sum = 0;
            for (int t = 0; t < kBlurTaps; ++t) {
                sum += kBlurKernel[t] * rows[t][x];
            }
            out[x] = Weighed(sum);
        }
    }
}

// Turns the brightest share of the layer (about 2 % + 0.13 % a density point) into 255, the rest into 0.
void ThresholdLayer(std::uint8_t* layer, std::size_t count, int density) {
    long long histogram[256] = {};
    for (std::size_t i = 0; i < count; ++i) {
        ++histogram[layer[i]];
    }
    const long long limit = static_cast<long long>(count) * (13 * density / 100 + 2) / 100;
    int level = 0;
    long long atOrAbove = 0;
    for (int t = 255; t >= 0; --t) {
        atOrAbove += histogram[t];
        if (atOrAbove > limit) {
            level = t;
            break;
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        layer[i] = layer[i] > level ? 255 : 0;
    }
}

// s + n - trunc(s n / 255) for every byte (screen), sixteen at a time where SSE2 is there: the
// division is exact as (x x 0x8081) >> 23 for every product x of two bytes.
void ScreenBytes(const std::uint8_t* in, const std::uint8_t* flakes, std::uint8_t* out, std::size_t count) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i reciprocal = _mm_set1_epi16(static_cast<short>(0x8081));
    auto half = [&](__m128i s, __m128i n) {
        const __m128i quotient = _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(s, n), reciprocal), 7);
        return _mm_sub_epi16(_mm_add_epi16(s, n), quotient);
    };
    for (; i + 16 <= count; i += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i*>(flakes + i));
        const __m128i low = half(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(n, zero));
        const __m128i high = half(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(n, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    }
#endif
    for (; i < count; ++i) {
        const int v = in[i];
        const int n = flakes[i];
        out[i] = static_cast<std::uint8_t>(v + n - v * n / 255);
    }
}

// What follows the flakes: saturation -50 % and brightness +10, the same for every frame. The wide
// path's forms of both (the cube's cells, the table as a lift) are built once.
struct WashOut {
    ColourCube cube;
    Lut lighten = MakeIdentityLut(3);
    CubeCells cells;
    LiftTable lift;
    bool lifts = false; // the table has the lift's form, which the wide path needs
    WashOut() {
        BuildHueSaturationCube(cube, 0, -50);
        const int contrasts[3] = {0, 0, 0};
        const int brightnesses[3] = {10, 10, 10};
        BuildContrastBrightnessLut(lighten, contrasts, brightnesses);
        BuildCubeCells(cube, cells);
        lifts = FitLiftTable(lighten, lift);
    }
};

const WashOut& TheWashOut() {
    static const WashOut washOut;
    return washOut;
}

} // namespace

bool BuildSnowFlakes(int width, int rows, int density, NoiseRandom& random, SnowFlakes& flakes) {
    flakes = SnowFlakes();
    if (width < 0 || rows < 0) {
        return false;
    }
    // The wash-out's tables are built here, where the format or the density changes, not on a frame.
    TheWashOut();
    const int d = std::clamp(density, 1, 100);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(rows);
    std::unique_ptr<std::uint8_t[]> layer(new (std::nothrow) std::uint8_t[count]());
    std::unique_ptr<std::uint8_t[]> scratch(new (std::nothrow) std::uint8_t[count]);
    if (!layer || !scratch) {
        return false;
    }
    std::vector<std::uint8_t> values;
    try {
        values.resize(3 * count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (count > 0) {
        PixelLayout layerLayout;
        layerLayout.width = width;
        layerLayout.height = rows;
        layerLayout.stride = width;
        layerLayout.channels = 1;
        if (!AddNoise(layer.get(), layer.get(), layerLayout, 50, 50, random)) {
            return false;
        }
        BlurLayer(layer.get(), scratch.get(), width, rows);
        ThresholdLayer(layer.get(), count, d);
        BlurLayer(layer.get(), scratch.get(), width, rows);
    }
    for (std::size_t i = 0; i < count; ++i) {
        values[3 * i] = values[3 * i + 1] = values[3 * i + 2] = layer[i];
    }
    flakes.width = width;
    flakes.rows = rows;
    flakes.values.swap(values);
    return true;
}

bool ApplySnowFlakes(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                     const SnowFlakes& flakes) {
    if (source == nullptr || destination == nullptr || !IsValidLayout(layout) || layout.channels != 3 ||
        flakes.width != layout.width || flakes.rows != RowCount(layout) ||
        flakes.values.size() != 3 * static_cast<std::size_t>(flakes.width) * static_cast<std::size_t>(flakes.rows)) {
        return false;
    }
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(layout.width);
    const WashOut& washOut = TheWashOut();
    if (washOut.lifts && CpuHasAvx2()) {
        for (int y = 0; y < flakes.rows; ++y) {
            const std::size_t offset = static_cast<std::size_t>(y) * layout.stride;
            ScreenAndWashRowAvx2(source + offset, flakes.values.data() + y * rowBytes, destination + offset,
                                 layout.width, layout.order == ByteOrder::BGR, washOut.cells, washOut.lift);
        }
        return true;
    }
    for (int y = 0; y < flakes.rows; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y) * layout.stride;
        ScreenBytes(source + offset, flakes.values.data() + y * rowBytes, destination + offset, rowBytes);
    }
    return ApplyCubeAndLut(destination, destination, layout, nullptr, washOut.cube, washOut.lighten);
}

bool SnowLayer(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout, int density,
               NoiseRandom& random) {
    if (source == nullptr || destination == nullptr || !IsValidLayout(layout) || layout.channels != 3) {
        return false;
    }
    const int d = std::clamp(density, 0, 100);
    if (d == 0 || layout.width == 0 || RowCount(layout) == 0) {
        CopyFramePixels(source, destination, layout);
        return true;
    }
    SnowFlakes flakes;
    return BuildSnowFlakes(layout.width, RowCount(layout), d, random, flakes) &&
           ApplySnowFlakes(source, destination, layout, flakes);
}

} // namespace qel::imaging
