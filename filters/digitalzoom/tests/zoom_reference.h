// A reference zoom written from the geometry rather than from the block patterns: output pixel o of
// an axis lies at source position origin + (o + 1/2) x 100 / percent, and its two neighbouring
// source pixels weigh by their distance in steps of 1 / (percent / 50).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace zoomtest {

struct ReferenceTap {
    int first;
    int second;
    int firstWeight;
    int secondWeight;
};

inline ReferenceTap ReferenceAxisTap(int origin, int percent, int output) {
    const long long numerator = 100LL * (2 * output + 1);
    const long long denominator = 2LL * percent;
    ReferenceTap tap;
    tap.first = origin + static_cast<int>(numerator / denominator);
    tap.second = tap.first + 1;
    tap.secondWeight = static_cast<int>(numerator % denominator / 100);
    tap.firstWeight = percent / 50 - tap.secondWeight;
    return tap;
}

// Scales width x |height| pixels of bytesPerPixel bytes; only pixels with a non-zero weight are read.
inline void ReferenceZoom(const uint8_t* src, uint8_t* dst, int width, int height, int stride, int bytesPerPixel,
                          int percent, int originX, int originY) {
    const int rows = std::abs(height);
    const int weightSum = percent / 50;
    for (int y = 0; y < rows; ++y) {
        const ReferenceTap rowTap = ReferenceAxisTap(originY, percent, y);
        for (int x = 0; x < width; ++x) {
            const ReferenceTap columnTap = ReferenceAxisTap(originX, percent, x);
            const int sourceRows[2] = {rowTap.first, rowTap.second};
            const int rowWeights[2] = {rowTap.firstWeight, rowTap.secondWeight};
            const int sourceColumns[2] = {columnTap.first, columnTap.second};
            const int columnWeights[2] = {columnTap.firstWeight, columnTap.secondWeight};
            for (int c = 0; c < bytesPerPixel; ++c) {
                int sum = 0;
                for (int i = 0; i < 2; ++i)
                    for (int j = 0; j < 2; ++j) {
                        const int weight = rowWeights[i] * columnWeights[j];
                        if (weight != 0)
                            sum += weight * src[sourceRows[i] * stride + sourceColumns[j] * bytesPerPixel + c];
                    }
                dst[y * stride + x * bytesPerPixel + c] = static_cast<uint8_t>(sum / (weightSum * weightSum));
            }
        }
    }
}

}  // namespace zoomtest
