#include "qelimaging/sepia.h"

#include "qelimaging/hue_saturation.h"

#include <algorithm>
#include <cmath>

namespace qel::imaging {

namespace {

// The rows that fix the sepia look; the curve between them is a monotone cubic.
constexpr int kKnotCount = 9;
constexpr double kKnotInput[kKnotCount] = {0, 32, 64, 96, 128, 160, 192, 224, 255};
constexpr double kKnotOutput[3][kKnotCount] = {
    {50, 87, 120, 149, 172, 189, 203, 215, 226}, // red
    {54, 77, 101, 126, 150, 172, 193, 210, 226}, // green
    {38, 40, 57, 75, 95, 115, 137, 159, 176},    // blue
};

// Monotone piecewise cubic Hermite curve through the knots (tangents limited so that no segment
// overshoots), evaluated at every integer input and rounded.
void FillMonotoneCurve(const double* ys, std::uint8_t* table) {
    double slopes[kKnotCount - 1];
    for (int i = 0; i + 1 < kKnotCount; ++i) {
        slopes[i] = (ys[i + 1] - ys[i]) / (kKnotInput[i + 1] - kKnotInput[i]);
    }
    double tangents[kKnotCount];
    tangents[0] = slopes[0];
    tangents[kKnotCount - 1] = slopes[kKnotCount - 2];
    for (int i = 1; i + 1 < kKnotCount; ++i) {
        const double a = slopes[i - 1];
        const double b = slopes[i];
        // Weighted harmonic mean; zero at a flat neighbour or a change of direction.
        tangents[i] = a * b <= 0.0 ? 0.0 : 2.0 * a * b / (a + b);
    }
    int segment = 0;
    for (int x = 0; x < 256; ++x) {
        while (segment + 2 < kKnotCount && x > kKnotInput[segment + 1]) {
            ++segment;
        }
        const double x0 = kKnotInput[segment];
        const double h = kKnotInput[segment + 1] - x0;
        const double t = (x - x0) / h;
        const double t2 = t * t;
        const double t3 = t2 * t;
        const double value = (2 * t3 - 3 * t2 + 1) * ys[segment] + (t3 - 2 * t2 + t) * h * tangents[segment] +
                             (-2 * t3 + 3 * t2) * ys[segment + 1] + (t3 - t2) * h * tangents[segment + 1];
        table[x] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(value)), 0, 255));
    }
}

Lut MakeSepiaToneTable() {
    Lut lut;
    lut.channels = 3;
    for (int c = 0; c < 3; ++c) {
        FillMonotoneCurve(kKnotOutput[c], lut.table[c]);
    }
    return lut;
}

} // namespace

const Lut& SepiaToneTable() {
    static const Lut table = MakeSepiaToneTable();
    return table;
}

Lut SepiaToneBlend(int amount) {
    const int k = std::clamp(amount, 0, 100);
    if (k == 100) {
        return SepiaToneTable();
    }
    const Lut& tone = SepiaToneTable();
    const int weight = k * 127 / 100;
    Lut lut;
    lut.channels = 3;
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 256; ++i) {
            const int value = (i * (127 - weight) + weight * tone.table[c][i]) >> 7;
            lut.table[c][i] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
        }
    }
    return lut;
}

void BuildSepiaCube(ColourCube& cube, int amount) {
    const int a = std::clamp(amount, 0, 200);
    const int saturation = std::max(a * -75 / 100, -75);
    BuildHueSaturationCube(cube, 0, saturation);
    ComposeLutIntoCube(cube, SepiaToneBlend(std::min(a, 100)));
    if (a > 100) {
        ColourCube second;
        BuildHueSaturationCube(second, 0, std::max(saturation + 75, -75));
        ComposeCubes(cube, second);
        ComposeLutIntoCube(cube, SepiaToneBlend(std::min(a - 100, 100)));
    }
}

} // namespace qel::imaging
