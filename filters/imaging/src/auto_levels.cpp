#include "qelimaging/auto_levels.h"

#include "qelimaging/histogram.h"

#include <algorithm>
#include <cmath>

namespace qel::imaging {

bool AutoLevelsPoints(const std::uint8_t* source, const PixelLayout& layout, const Region* region, int high[],
                      int low[]) {
    Histogram histogram;
    const int samples = BuildHistogram(source, layout, region, histogram, true, false, 500, 500);
    if (samples <= 0) {
        return false;
    }
    return FindPercentilePoints(histogram, true, samples, layout.channels, high, low, 0.99f, 0.01f);
}

bool BuildAutoContrastLut(const std::uint8_t* source, const PixelLayout& layout, const Region* region,
                          int strength, Lut& lut) {
    static const Lut identity = MakeIdentityLut(3);
    return BuildAutoContrastLutThrough(source, layout, region, identity, strength, lut);
}

bool BuildAutoContrastLutThrough(const std::uint8_t* source, const PixelLayout& layout, const Region* region,
                                 const Lut& through, int strength, Lut& lut) {
    const int e = std::min(strength, 400);
    InitLut(lut);
    Histogram histogram;
    const int samples = BuildHistogramThrough(source, layout, region, through, histogram, true, false, 300, 300);
    int highs[3] = {};
    int lows[3] = {};
    if (samples <= 0 ||
        !FindPercentilePoints(histogram, true, samples, layout.channels, highs, lows, 0.995f, 0.005f)) {
        return false;
    }
    int high = highs[0];
    int low = lows[0];
    for (int c = 1; c < layout.channels; ++c) {
        high = std::max(high, highs[c]);
        low = std::min(low, lows[c]);
    }
    if (high < 128) {
        high = 128;
    }
    if (low >= 128) {
        low = 127;
    }
    if (e <= 100) {
        low = e * low / 100;
        high = 255 - (255 - high) * e / 100;
    } else if (e <= 200) {
        const int floor = std::max(low, 64);
        low = low + (floor - low) * (e - 100) / 100;
        high = high - (e - 100) * (high - std::min(high, 192)) / 100;
    } else {
        const int floor = std::max(low, 64);
        const int ceiling = std::min(high, 192);
        low = floor + (127 - floor) * (e - 200) / 200;
        high = ceiling - (e - 200) * (ceiling - 128) / 200;
    }
    const int highPoints[3] = {high, high, high};
    const int lowPoints[3] = {low, low, low};
    BuildLevelsLut(lut, highPoints, lowPoints);
    return true;
}

bool AutoContrast(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                  const Region* measureRegion, const Region* applyRegion, int strength) {
    if (destination == nullptr) {
        return false;
    }
    Lut lut = MakeIdentityLut(layout.channels);
    if (!BuildAutoContrastLut(source, layout, measureRegion, strength, lut)) {
        return false;
    }
    return ApplyLut(source, destination, layout, applyRegion, lut);
}

void BuildContrastBrightnessLut(Lut& lut, const int contrasts[], const int brightnesses[]) {
    const int channels = lut.channels == 1 ? 1 : 3;
    for (int c = 0; c < channels; ++c) {
        // Degrees to radians with 3.14159 / 180, as the table has always been computed.
        const double slope = std::tan((0.44 * contrasts[c] + 45.0) * 0.01745327777777778);
        const double offset = (slope + 1.0) * brightnesses[c] * 1.275 + (1.0 - slope) * 127.5;
        for (int i = 0; i < 256; ++i) {
            const double value = std::clamp(offset + slope * i + 0.5, 0.0, 255.0);
            lut.table[c][i] = static_cast<std::uint8_t>(value);
        }
    }
}

bool ApplyContrastBrightness(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                             const Region* region, const int contrasts[], const int brightnesses[]) {
    Lut lut = MakeIdentityLut(layout.channels);
    BuildContrastBrightnessLut(lut, contrasts, brightnesses);
    return ApplyLut(source, destination, layout, region, lut);
}

} // namespace qel::imaging
