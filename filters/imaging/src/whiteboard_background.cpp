// The background map of the whiteboard enhancement: which cells are writing, how to fill them, and the
// median that smooths the map.
#include "qelimaging/whiteboard_steps.h"

#include <algorithm>
#include <cmath>

namespace qel::imaging::whiteboard {

namespace {

struct Statistics {
    int mode = 0; // first highest bin
    float deviation = 0.0f;
};

Statistics Describe(const int histogram[256]) {
    Statistics stats;
    long long count = 0;
    long long sum = 0;
    for (int k = 0; k < 256; ++k) {
        if (histogram[k] > histogram[stats.mode]) {
            stats.mode = k;
        }
        count += histogram[k];
        sum += static_cast<long long>(k) * histogram[k];
    }
    if (count == 0) {
        return stats;
    }
    const long long mean = sum / count;
    long long squares = 0;
    for (int k = 0; k < 256; ++k) {
        squares += (k - mean) * (k - mean) * histogram[k];
    }
    stats.deviation = std::sqrt(static_cast<float>(squares / count));
    return stats;
}

// Iterative two-means threshold over the bins low..high.
int TwoMeansThreshold(const int histogram[256], int low, int high) {
    auto weightedMean = [&](int from, int to) {
        long long count = 0, sum = 0;
        for (int k = from; k <= to; ++k) {
            count += histogram[k];
            sum += static_cast<long long>(k) * histogram[k];
        }
        return count > 0 ? static_cast<int>(sum / count) : 0;
    };
    int threshold = (low + high) / 2;
    for (int round = 0; round < 10; ++round) {
        const int next = (weightedMean(low, threshold - 1) + weightedMean(threshold, high)) / 2;
        if (next == threshold) {
            break;
        }
        threshold = next;
    }
    return threshold;
}

} // namespace

int BlockSize(int width, int height) {
    // 1/120 and 1/160 in single precision, as the map has always been sized.
    const int byHeight = static_cast<int>((height + 119) * static_cast<double>(1.0f / 120.0f));
    const int byWidth = static_cast<int>((width + 159) * static_cast<double>(1.0f / 160.0f));
    return std::max({byHeight, byWidth, 1});
}

BackgroundBounds ClassifyCells(const std::uint8_t* luma, const std::uint8_t* saturation, int count,
                               std::uint8_t* foreground) {
    int lumaHistogram[256] = {};
    int saturationHistogram[256] = {};
    for (int i = 0; i < count; ++i) {
        ++lumaHistogram[luma[i]];
        ++saturationHistogram[saturation[i]];
    }
    const Statistics all = Describe(lumaHistogram);
    const int darkBound = std::clamp(all.mode - static_cast<int>(2.0f * all.deviation + 0.5f), 0, 255);

    int lowest = 0;
    while (lowest < 255 && saturationHistogram[lowest] == 0) {
        ++lowest;
    }
    int highest = 255;
    while (highest > 0 && saturationHistogram[highest] == 0) {
        --highest;
    }
    const int threshold =
        highest - lowest > 59 ? TwoMeansThreshold(saturationHistogram, lowest, highest) : 255;
    const int colourBound = threshold * 85 / 100;

    int backgroundHistogram[256] = {};
    int backgroundCells = 0;
    for (int i = 0; i < count; ++i) {
        const bool isForeground = saturation[i] >= colourBound || luma[i] < darkBound;
        foreground[i] = isForeground ? 1 : 0;
        if (!isForeground) {
            ++backgroundHistogram[luma[i]];
            ++backgroundCells;
        }
    }
    BackgroundBounds bounds;
    if (backgroundCells == 0) {
        return bounds;
    }
    const Statistics background = Describe(backgroundHistogram);
    const float spread = std::max(background.deviation, static_cast<float>(background.mode) * 0.33333334f);
    bounds.found = true;
    bounds.lower = std::clamp(static_cast<int>(static_cast<float>(background.mode) - spread), 0, 255);
    bounds.upper = std::clamp(static_cast<int>(static_cast<float>(background.mode) + spread), 0, 255);
    bounds.floor = std::max(static_cast<int>(spread),
                            static_cast<int>(static_cast<float>(bounds.lower) - 2.0f * spread));
    return bounds;
}

void FillForeground(std::uint8_t* luma, const std::uint8_t* foreground, int columns, int rows,
                    const BackgroundBounds& bounds) {
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            const int i = y * columns + x;
            if (!foreground[i]) {
                continue;
            }
            const bool border = y == 0 || x == 0 || y == rows - 1 || x == columns - 1;
            int weight = 0;
            int sum = 0;
            if (!border) {
                const int neighbours[4] = {i - columns - 1, i - columns, i - columns + 1, i - 1};
                const int weights[4] = {1, 2, 1, 2};
                for (int n = 0; n < 4; ++n) {
                    if (luma[neighbours[n]] > bounds.lower) {
                        weight += weights[n];
                        sum += weights[n] * luma[neighbours[n]];
                    }
                }
            }
            if (weight > 0) {
                luma[i] = static_cast<std::uint8_t>(std::clamp(sum / weight, bounds.lower, bounds.upper));
            } else if (luma[i] < bounds.floor) {
                luma[i] = static_cast<std::uint8_t>(bounds.lower);
            }
        }
    }
}

void MedianFilter15(const std::uint8_t* in, std::uint8_t* out, int columns, int rows) {
    constexpr int kReach = 7;
    for (int y = 0; y < rows; ++y) {
        const int top = std::max(y - kReach, 0);
        const int bottom = std::min(y + kReach, rows - 1);
        const int height = bottom - top + 1;
        int histogram[256] = {};
        auto addColumn = [&](int x, int delta, int median, int& below) {
            for (int r = top; r <= bottom; ++r) {
                const int v = in[r * columns + x];
                histogram[v] += delta;
                if (v < median) {
                    below += delta;
                }
            }
        };
        int median = 0;
        int below = 0; // cells of the window below the median
        for (int x = 0; x <= std::min(kReach, columns - 1); ++x) {
            addColumn(x, 1, median, below);
        }
        for (int x = 0; x < columns; ++x) {
            if (x > 0) {
                if (x - kReach - 1 >= 0) {
                    addColumn(x - kReach - 1, -1, median, below);
                }
                if (x + kReach < columns) {
                    addColumn(x + kReach, 1, median, below);
                }
            }
            const int width = std::min(x + kReach, columns - 1) - std::max(x - kReach, 0) + 1;
            // Half the window, and at least one cell: the median of a single cell is that cell.
            const int wanted = std::max(width * height / 2, 1);
            while (below + histogram[median] < wanted) {
                below += histogram[median];
                ++median;
            }
            while (median > 0 && below >= wanted) {
                --median;
                below -= histogram[median];
            }
            out[y * columns + x] = static_cast<std::uint8_t>(median);
        }
    }
}

} // namespace qel::imaging::whiteboard
