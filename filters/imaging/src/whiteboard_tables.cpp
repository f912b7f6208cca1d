// The tables of the whiteboard enhancement: white level, white balance, gamma.
#include "qelimaging/whiteboard_steps.h"

#include <algorithm>
#include <cmath>

namespace qel::imaging::whiteboard {

int WhiteLevelForStrength(int strength) {
    if (strength < 0 || strength > 100) {
        return 230;
    }
    if (strength < 50) {
        return 230 + (50 - strength) / 2;
    }
    // 4.6 in single precision, so that 50 gives 229 and 60 gives 183.
    return static_cast<int>((100 - strength) * static_cast<double>(4.6f));
}

void BuildBalanceTable(int mean, int target, std::uint8_t table[256]) {
    if (mean <= 0 || mean >= 255) {
        for (int i = 0; i < 256; ++i) {
            table[i] = static_cast<std::uint8_t>(i);
        }
        return;
    }
    const float h0 = static_cast<float>(mean);
    const float h1 = static_cast<float>(255 - mean);
    const float s0 = static_cast<float>(target) / h0;
    const float s1 = static_cast<float>(255 - target) / h1;
    // Second derivative at the middle point (0 at both ends); the 3 h0 + 2 h1 weighting is what gives
    // the balance its familiar curve.
    const float middle = 6.0f * (s1 - s0) / (3.0f * h0 + 2.0f * h1);
    for (int x = 0; x < 255; ++x) {
        if (x == mean) {
            table[x] = static_cast<std::uint8_t>(std::clamp(target, 0, 255));
            continue;
        }
        double x0, x1, y0, y1, m0, m1;
        if (x < mean) {
            x0 = 0, x1 = mean, y0 = 0, y1 = target, m0 = 0, m1 = middle;
        } else {
            x0 = mean, x1 = 255, y0 = target, y1 = 255, m0 = middle, m1 = 0;
        }
        const double h = x1 - x0;
        const double d = x1 - x;
        const double e = x - x0;
        const double value = m0 * (d * d * d - h * h * d) / (6 * h) + m1 * (e * e * e - h * h * e) / (6 * h) +
                             y0 * d / h + y1 * e / h;
        const float rounded = static_cast<float>(value);
        if (!(rounded >= 0.0f)) {
            table[x] = 0;
        } else if (rounded > 255.0f) {
            table[x] = 255;
        } else {
            table[x] = static_cast<std::uint8_t>(rounded);
        }
    }
    table[255] = 255;
}

void BuildGammaTable(float gamma, std::uint8_t table[256]) {
    double g = gamma;
    if (g <= 0.0) {
        g = 1.0;
    } else if (g > 10.0) {
        g = 10.0;
    }
    table[0] = 0;
    for (int j = 1; j < 256; ++j) {
        const double value = 255.0 * std::pow(j / 255.0, 1.0 / g) + 0.5;
        table[j] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(value), 0, 255));
    }
}

bool MeasureComponentMeans(const std::uint8_t* pixels, int width, int rows, int stride, int means[3]) {
    if (width <= 0 || rows <= 0) {
        return false;
    }
    const int columnStep = std::max((width + 199) / 200, 1);
    const int rowStep = std::max((rows + 199) / 200, 1);
    long long sums[3] = {};
    for (int y = 0; y <= rows - rowStep; y += rowStep) {
        const std::uint8_t* pixel = pixels + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x <= width - columnStep; x += columnStep) {
            const std::uint8_t* p = pixel + static_cast<std::size_t>(x) * 3;
            sums[0] += p[0];
            sums[1] += p[1];
            sums[2] += p[2];
        }
    }
    const long long samples = static_cast<long long>(rows / rowStep) * (width / columnStep);
    if (samples <= 0) {
        return false;
    }
    for (int c = 0; c < 3; ++c) {
        means[c] = static_cast<int>(static_cast<float>(sums[c]) / static_cast<float>(samples) + 0.5f);
    }
    return true;
}

bool BalanceTargets(const int means[3], int targets[3]) {
    const int high = std::max({means[0], means[1], means[2]});
    const int low = std::min({means[0], means[1], means[2]});
    if ((high - low) * 100 >= high * 60) {
        return false;
    }
    const int grey = high == low ? high : (high + low + 1) / 2;
    for (int c = 0; c < 3; ++c) {
        targets[c] = (means[c] + 3 * grey) / 4;
    }
    return true;
}

} // namespace qel::imaging::whiteboard
