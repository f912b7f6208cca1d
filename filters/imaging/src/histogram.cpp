#include "qelimaging/histogram.h"

#include "qelimaging/lut.h"

#include <algorithm>
#include <cstring>

namespace qel::imaging {

namespace {

int SampleStep(int extent, int grid) {
    if (grid <= 1) {
        return 1;
    }
    const int step = (extent + grid - 1) / grid;
    return step > 0 ? step : 1;
}

} // namespace

int BuildHistogram(const std::uint8_t* source, const PixelLayout& layout, const Region* region,
                   Histogram& histogram, bool normalise, bool everyPixel, int gridX, int gridY) {
    static const Lut identity = MakeIdentityLut(3);
    return BuildHistogramThrough(source, layout, region, identity, histogram, normalise, everyPixel, gridX, gridY);
}

int BuildHistogramThrough(const std::uint8_t* source, const PixelLayout& layout, const Region* region,
                          const Lut& through, Histogram& histogram, bool normalise, bool everyPixel, int gridX,
                          int gridY) {
    std::memset(&histogram, 0, sizeof histogram);
    if (source == nullptr || !IsValidLayout(layout)) {
        return 0;
    }
    // Inclusive bounds: the region's right and bottom edges are sampled too.
    const int rows = RowCount(layout);
    if (layout.width <= 0 || rows <= 0) {
        return 0;
    }
    int x0 = 0, x1 = layout.width - 1, y0 = 0, y1 = rows - 1;
    if (region != nullptr) {
        x0 = std::clamp(std::min(region->left, region->right), 0, layout.width - 1);
        x1 = std::clamp(std::max(region->left, region->right), 0, layout.width - 1);
        y0 = std::clamp(std::min(region->top, region->bottom), 0, rows - 1);
        y1 = std::clamp(std::max(region->top, region->bottom), 0, rows - 1);
    }
    const int stepX = everyPixel ? 1 : SampleStep(x1 - x0 + 1, std::max(gridX, 1));
    const int stepY = everyPixel ? 1 : SampleStep(y1 - y0 + 1, std::max(gridY, 1));

    // Integer counts first: exact, and cheaper than float increments.
    int counts[3][256] = {};
    int samples = 0;
    const int channels = layout.channels;
    const int red = channels == 3 ? RedIndex(layout) : 0;
    const int blue = channels == 3 ? BlueIndex(layout) : 0;
    // The tables as ApplyLut takes them: table 0 red, 1 green, 2 blue, or one for every channel.
    const bool single = through.channels == 1 || channels == 1;
    const std::uint8_t* redTable = through.table[0];
    const std::uint8_t* greenTable = through.table[single ? 0 : 1];
    const std::uint8_t* blueTable = through.table[single ? 0 : 2];
    for (int y = y0; y <= y1; y += stepY) {
        const std::uint8_t* row = source + static_cast<std::size_t>(y) * layout.stride;
        for (int x = x0; x <= x1; x += stepX) {
            const std::uint8_t* pixel = row + static_cast<std::size_t>(x) * channels;
            if (channels == 3) {
                ++counts[0][redTable[pixel[red]]];
                ++counts[1][greenTable[pixel[1]]];
                ++counts[2][blueTable[pixel[blue]]];
            } else {
                ++counts[0][redTable[pixel[0]]];
            }
            ++samples;
        }
    }
    for (int c = 0; c < channels; ++c) {
        for (int k = 0; k < 256; ++k) {
            histogram.bins[c][k] = normalise && samples > 0
                                       ? static_cast<float>(counts[c][k]) / static_cast<float>(samples)
                                       : static_cast<float>(counts[c][k]);
        }
    }
    return samples;
}

void CorrectLevelPoints(int& low, int& high) {
    low = std::clamp(low, 0, 255);
    high = std::clamp(high, 0, 255);
    if (low >= high) {
        if (high > 0) {
            low = high - 1;
        } else if (low == 255) {
            low = 0;
            high = 255;
        } else {
            high = low + 1;
        }
    }
}

bool FindPercentilePoints(const Histogram& histogram, bool normalised, int pixelCount, int channels,
                          int high[], int low[], float highFraction, float lowFraction) {
    if ((channels != 1 && channels != 3) || high == nullptr || low == nullptr) {
        return false;
    }
    if (!normalised && pixelCount <= 0) {
        return false;
    }
    const float lowShare = lowFraction >= 0.0f && lowFraction <= 1.0f ? lowFraction : 0.01f;
    const float highShare = highFraction >= 0.0f && highFraction <= 1.0f ? highFraction : 0.99f;
    const float count = static_cast<float>(pixelCount);
    for (int c = 0; c < channels; ++c) {
        int lowPoint = -1;
        int highPoint = -1;
        float sum = 0.0f;
        for (int k = 0; k < 256; ++k) {
            sum += normalised ? histogram.bins[c][k] : histogram.bins[c][k] / count;
            if (lowPoint < 0) {
                if (sum > lowShare) {
                    lowPoint = k;
                }
            } else if (sum > highShare) {
                highPoint = k;
                break;
            }
        }
        if (lowPoint < 0) {
            lowPoint = 0;
        }
        if (highPoint < 0) {
            highPoint = lowPoint;
        }
        CorrectLevelPoints(lowPoint, highPoint);
        low[c] = lowPoint;
        high[c] = highPoint;
    }
    return true;
}

} // namespace qel::imaging
