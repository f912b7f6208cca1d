// The background map of the whiteboard enhancement: which cells are writing, how to fill them, and the
// median that smooths the map.
#include "qelimaging/whiteboard_steps.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

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

namespace {

// Counts of byte values in 16 coarse bins (by the high nibble) and 16 x 16 fine ones. A window of the map
// holds at most 15 x 15 cells, so 8-bit counts do.
struct Counts {
    std::uint8_t coarse[16];
    std::uint8_t fine[16][16];
};

// Adds (delta 1) or takes away (delta -1) 16 counts: whole small arrays, which the compiler runs at once.
void AddSixteen(std::uint8_t* to, const std::uint8_t* from, int delta) {
    for (int i = 0; i < 16; ++i) {
        to[i] = static_cast<std::uint8_t>(to[i] + delta * from[i]);
    }
}

// The median window moving along one row: its coarse counts follow every step, the fine counts of a
// coarse bin only when the median falls in that bin (and then catch up on the steps they missed).
class RowWindow {
public:
    RowWindow(const Counts* column, int columns, int reach) : column_(column), columns_(columns), reach_(reach) {
        std::fill(current_, current_ + 16, kStale);
    }

    void Move(int x) {
        if (x == 0) {
            for (int c = 0; c <= std::min(reach_, Columns() - 1); ++c) {
                AddSixteen(coarse_, column_[c].coarse, 1);
            }
        } else {
            Step(coarse_, x, 16);
        }
        x_ = x;
    }

    // The smallest value whose cumulative count reaches `wanted`.
    int SmallestReaching(int wanted) {
        int below = 0;
        int bin = 0;
        while (bin < 15 && below + coarse_[bin] < wanted) {
            below += coarse_[bin];
            ++bin;
        }
        const std::uint8_t* fine = Fine(bin);
        int value = 0;
        while (value < 15 && below + fine[value] < wanted) {
            below += fine[value];
            ++value;
        }
        return 16 * bin + value;
    }

private:
    static constexpr int kStale = -1000000;

    int Columns() const { return columns_; }

    // Moves counts (the coarse ones for bin 16, else the fine ones of that bin) from the window at x - 1 to x.
    void Step(std::uint8_t* counts, int x, int bin) {
        const int out = x - reach_ - 1;
        const int in = x + reach_;
        if (out >= 0) {
            AddSixteen(counts, bin == 16 ? column_[out].coarse : column_[out].fine[bin], -1);
        }
        if (in < Columns()) {
            AddSixteen(counts, bin == 16 ? column_[in].coarse : column_[in].fine[bin], 1);
        }
    }

    const std::uint8_t* Fine(int bin) {
        std::uint8_t* fine = fine_[bin];
        int& at = current_[bin];
        if (at < x_ - 2 * reach_ - 1) {
            // Too far behind: counted afresh over the window's columns.
            std::fill(fine, fine + 16, 0);
            for (int c = std::max(x_ - reach_, 0); c <= std::min(x_ + reach_, Columns() - 1); ++c) {
                AddSixteen(fine, column_[c].fine[bin], 1);
            }
        } else {
            for (int x = at + 1; x <= x_; ++x) {
                Step(fine, x, bin);
            }
        }
        at = x_;
        return fine;
    }

    const Counts* column_;
    const int columns_;
    const int reach_;
    int x_ = 0;
    std::uint8_t coarse_[16] = {};
    std::uint8_t fine_[16][16] = {};
    int current_[16]; // the column at which each bin's fine counts are the window's
};

} // namespace

bool MedianFilter15(const std::uint8_t* in, std::uint8_t* out, int columns, int rows) {
    constexpr int kReach = 7;
    // Every column's counts over the rows of the window, moved down a row at a time.
    std::unique_ptr<Counts[]> column(new (std::nothrow) Counts[static_cast<std::size_t>(columns)]);
    if (!column) {
        return false;
    }
    std::memset(column.get(), 0, static_cast<std::size_t>(columns) * sizeof(Counts));
    auto countRow = [&](int r, int delta) {
        const std::uint8_t* row = in + static_cast<std::size_t>(r) * columns;
        for (int x = 0; x < columns; ++x) {
            const int v = row[x];
            column[x].coarse[v >> 4] = static_cast<std::uint8_t>(column[x].coarse[v >> 4] + delta);
            column[x].fine[v >> 4][v & 15] = static_cast<std::uint8_t>(column[x].fine[v >> 4][v & 15] + delta);
        }
    };
    for (int r = 0; r <= std::min(kReach, rows - 1); ++r) {
        countRow(r, 1);
    }
    for (int y = 0; y < rows; ++y) {
        if (y > 0) {
            if (y - kReach - 1 >= 0) {
                countRow(y - kReach - 1, -1);
            }
            if (y + kReach < rows) {
                countRow(y + kReach, 1);
            }
        }
        const int height = std::min(y + kReach, rows - 1) - std::max(y - kReach, 0) + 1;
        RowWindow window(column.get(), columns, kReach);
        for (int x = 0; x < columns; ++x) {
            window.Move(x);
            const int width = std::min(x + kReach, columns - 1) - std::max(x - kReach, 0) + 1;
            // Half the window, and at least one cell: the median of a single cell is that cell.
            const int wanted = std::max(width * height / 2, 1);
            out[static_cast<std::size_t>(y) * columns + x] = static_cast<std::uint8_t>(window.SmallestReaching(wanted));
        }
    }
    return true;
}

} // namespace qel::imaging::whiteboard
