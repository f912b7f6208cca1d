#include "qelimaging/auto_levels.h"
#include "qelimaging/hue_saturation.h"
#include "qelimaging/noise.h"

#include <algorithm>
#include <memory>
#include <new>

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

} // namespace

bool SnowLayer(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout, int density,
               NoiseRandom& random) {
    if (source == nullptr || destination == nullptr || !IsValidLayout(layout) || layout.channels != 3) {
        return false;
    }
    const int d = std::clamp(density, 0, 100);
    const int width = layout.width;
    const int height = RowCount(layout);
    if (d == 0 || width == 0 || height == 0) {
        CopyFramePixels(source, destination, layout);
        return true;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::unique_ptr<std::uint8_t[]> layer(new (std::nothrow) std::uint8_t[count]());
    std::unique_ptr<std::uint8_t[]> scratch(new (std::nothrow) std::uint8_t[count]);
    if (!layer || !scratch) {
        return false;
    }
    PixelLayout layerLayout;
    layerLayout.width = width;
    layerLayout.height = height;
    layerLayout.stride = width;
    layerLayout.channels = 1;
    if (!AddNoise(layer.get(), layer.get(), layerLayout, 50, 50, random)) {
        return false;
    }
    BlurLayer(layer.get(), scratch.get(), width, height);
    ThresholdLayer(layer.get(), count, d);
    BlurLayer(layer.get(), scratch.get(), width, height);

    CopyFramePixels(source, destination, layout);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* flakes = layer.get() + static_cast<std::size_t>(y) * width;
        std::uint8_t* pixel = destination + static_cast<std::size_t>(y) * layout.stride;
        for (int x = 0; x < width; ++x, pixel += 3) {
            const int n = flakes[x];
            if (n == 0) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                const int s = pixel[c];
                pixel[c] = static_cast<std::uint8_t>(s + n - s * n / 255); // screen
            }
        }
    }
    // The flakes wash the colours out a little and lighten the picture.
    ColourCube washOut;
    BuildHueSaturationCube(washOut, 0, -50);
    ApplyCube(destination, destination, layout, nullptr, washOut);
    const int contrasts[3] = {0, 0, 0};
    const int brightnesses[3] = {10, 10, 10};
    return ApplyContrastBrightness(destination, destination, layout, nullptr, contrasts, brightnesses);
}

} // namespace qel::imaging
