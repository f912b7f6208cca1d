#include "core/zoom_plan.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct PatternTap {
    int nearOffset;  // from the block's first source pixel
    int farOffset;
    int nearWeight;
    int farWeight;
};

// How one block of source pixels becomes one block of output pixels along an axis. The outputs lie
// 1/zoom source pixels apart; "centred" steps interpolate around the block's second source pixel,
// the others between the block's source pixel and its right (lower) neighbour.
struct BlockPattern {
    int percent;
    int sourcePerBlock;
    int outputPerBlock;
    int weightSum;
    bool centred;
    PatternTap taps[5];
};

constexpr BlockPattern kPatterns[] = {
    {150, 2, 3, 3, true, {{1, 0, 1, 2}, {1, 1, 3, 0}, {1, 2, 1, 2}}},
    {200, 1, 2, 4, false, {{0, 1, 3, 1}, {0, 1, 1, 3}}},
    {250, 2, 5, 5, true, {{1, 0, 1, 4}, {1, 0, 3, 2}, {1, 1, 5, 0}, {1, 2, 3, 2}, {1, 2, 1, 4}}},
    {300, 1, 3, 6, false, {{0, 1, 5, 1}, {0, 1, 3, 3}, {0, 1, 1, 5}}},
};

const BlockPattern* FindPattern(int percent) {
    for (const BlockPattern& pattern : kPatterns)
        if (pattern.percent == percent)
            return &pattern;
    return nullptr;
}

// First source pixel of the zoomed region: centred on the frame, pulled back inside near the far edge.
int RegionOrigin(const BlockPattern& pattern, int length, int blocks) {
    const int centre = length / 2;
    if (pattern.centred) {
        if (centre - blocks < 0)
            return 0;
        if (length < blocks + centre + 2)
            return length - 2 * blocks - 2;
        return centre - blocks;
    }
    const int start = centre - blocks / 2;
    if (start < 0)
        return 0;
    if (length < start + blocks + 1)
        return length - blocks - 1;
    return start;
}

// Lays the blocks out from the first output pixel; the one to four outputs left over after the
// whole blocks take the first outputs of the next block's pattern. False when the axis is too short
// for the step, that is when some tap would name a pixel outside 0..length-1.
bool BuildAxis(const BlockPattern& pattern, int length, ZoomAxis& axis) {
    axis.sourcePerBlock = pattern.sourcePerBlock;
    axis.outputPerBlock = pattern.outputPerBlock;
    axis.weightSum = pattern.weightSum;
    axis.blocks = length / pattern.outputPerBlock;
    axis.covered = axis.blocks * pattern.outputPerBlock;
    if (axis.blocks < 1)
        return false;
    axis.origin = RegionOrigin(pattern, length, axis.blocks);

    axis.taps.resize(static_cast<size_t>(length));
    axis.firstSource = length;
    axis.lastSource = -1;
    for (int output = 0; output < length; ++output) {
        const int block = output / pattern.outputPerBlock;
        const PatternTap& tap = pattern.taps[output % pattern.outputPerBlock];
        const int base = axis.origin + block * pattern.sourcePerBlock;
        const int nearIndex = base + tap.nearOffset;
        const int farIndex = tap.farWeight != 0 ? base + tap.farOffset : nearIndex;
        if (nearIndex < 0 || nearIndex >= length || farIndex < 0 || farIndex >= length)
            return false;
        axis.taps[static_cast<size_t>(output)] = {nearIndex, farIndex, tap.nearWeight, tap.farWeight};
        axis.firstSource = std::min({axis.firstSource, nearIndex, farIndex});
        axis.lastSource = std::max({axis.lastSource, nearIndex, farIndex});
    }
    return true;
}

bool IsUsableFormat(const qel::imaging::PixelLayout& format) {
    return qel::imaging::IsValidLayout(format) && format.width >= 1 && format.height != 0;
}

}  // namespace

bool IsZoomScalePercent(int percent) {
    return FindPattern(percent) != nullptr;
}

ZoomPlan BuildZoomPlan(int percent, const qel::imaging::PixelLayout* format) {
    ZoomPlan plan;
    plan.percent = percent;
    if (!format || !IsUsableFormat(*format))
        return plan;
    plan.formatKnown = true;
    plan.format = *format;

    const BlockPattern* pattern = FindPattern(percent);
    if (!pattern)
        return plan;
    if (!BuildAxis(*pattern, format->width, plan.columns) ||
        !BuildAxis(*pattern, std::abs(format->height), plan.rows)) {
        plan.mode = ZoomMode::TooSmall;
        plan.columns.taps.clear();
        plan.rows.taps.clear();
        return plan;
    }
    plan.mode = ZoomMode::Scale;
    return plan;
}
