#include "core/light_mask.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

namespace {

// The shape: full light inside an ellipse of 176 x 120 points around the centre; outside it the
// light decays with the elliptical distance, faster sideways than up and down, so that the middle of
// the left and right edges keeps about 90, the middle of the top and bottom about 117 and the corners
// about 48.
constexpr double kCentreX = 160.0;
constexpr double kCentreY = 120.0;
constexpr double kSemiAxisX = 88.0;
constexpr double kSemiAxisY = 60.0;
constexpr double kEdgeSide = 90.0;
constexpr double kEdgeTop = 117.0;
constexpr double kDarkest = 47.0;
// The decay starts gently at the ellipse (no kink) over this much elliptical distance.
constexpr double kSoftStart = 0.1;
// How the decay rate turns from the sideways to the up-and-down one around the ellipse.
constexpr double kRateBlend = 1.5;

double SoftDistance(double outside) {
    return outside - kSoftStart * (1.0 - std::exp(-outside / kSoftStart));
}

double DecayRate(double edgeValue, double edgeDistance) {
    return -std::log(edgeValue / 255.0) / SoftDistance(edgeDistance - 1.0);
}

std::array<uint8_t, kLightMaskWidth * kLightMaskLines> ComputeMask() {
    const double rateSide = DecayRate(kEdgeSide, kCentreX / kSemiAxisX);
    const double rateTop = DecayRate(kEdgeTop, kCentreY / kSemiAxisY);
    std::array<uint8_t, kLightMaskWidth * kLightMaskLines> mask{};
    for (int line = 0; line < kLightMaskLines; ++line) {
        for (int column = 0; column < kLightMaskWidth; ++column) {
            const double ux = (column - kCentreX) / kSemiAxisX;
            const double uy = (line - kCentreY) / kSemiAxisY;
            const double r = std::hypot(ux, uy);
            double value = 255.0;
            if (r > 1.0) {
                const double sideways = std::pow(ux * ux / (r * r), kRateBlend);
                const double rate = rateSide * sideways + rateTop * (1.0 - sideways);
                value = std::max(kDarkest, 255.0 * std::exp(-rate * SoftDistance(r - 1.0)));
            }
            mask[static_cast<size_t>(line) * kLightMaskWidth + column] = static_cast<uint8_t>(std::lround(value));
        }
    }
    return mask;
}

}  // namespace

const uint8_t* LightMask() {
    static const std::array<uint8_t, kLightMaskWidth * kLightMaskLines> mask = ComputeMask();
    return mask.data();
}

std::vector<uint8_t> ResampleLightMask(int width, int lines) {
    std::vector<uint8_t> out;
    if (width <= 0 || lines <= 0 ||
        static_cast<size_t>(width) > std::numeric_limits<size_t>::max() / static_cast<size_t>(lines))
        return out;
    try {
        out.resize(static_cast<size_t>(width) * static_cast<size_t>(lines));
    } catch (const std::bad_alloc&) {
        return out;
    }
    const uint8_t* mask = LightMask();
    const float lineStep = static_cast<float>(kLightMaskLines) / static_cast<float>(lines);
    const float columnStep = static_cast<float>(kLightMaskWidth) / static_cast<float>(width);
    uint8_t* value = out.data();
    for (int i = 0; i < lines; ++i) {
        const float v = static_cast<float>(i) * lineStep;
        int k = static_cast<int>(v);
        int64_t fy = static_cast<int64_t>((v - static_cast<float>(k)) * 1024.0f + 0.5f);
        int k1 = k + 1;
        if (k >= kLightMaskLines - 1) {
            k = k1 = kLightMaskLines - 1;
            fy = 0;
        }
        const uint8_t* row0 = mask + static_cast<size_t>(k) * kLightMaskWidth;
        const uint8_t* row1 = mask + static_cast<size_t>(k1) * kLightMaskWidth;
        for (int j = 0; j < width; ++j, ++value) {
            const float u = static_cast<float>(j) * columnStep;
            int l = static_cast<int>(u);
            int64_t fx = static_cast<int64_t>((u - static_cast<float>(l)) * 1024.0f + 0.5f);
            int l1 = l + 1;
            if (l >= kLightMaskWidth - 1) {
                l = l1 = kLightMaskWidth - 1;
                fx = 0;
            }
            const int64_t a = row0[l], b = row0[l1], c = row1[l], d = row1[l1];
            const int64_t sum = ((fy * (a + d - b - c) + (b - a) * 1024) * fx + ((c - a) * fy + a * 1024) * 1024) >> 20;
            *value = static_cast<uint8_t>(std::clamp<int64_t>(sum, 0, 255));
        }
    }
    return out;
}
