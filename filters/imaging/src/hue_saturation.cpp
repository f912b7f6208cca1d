#include "qelimaging/hue_saturation.h"

#include <algorithm>

namespace qel::imaging {

namespace {

int HueIntoCircle(int hue) {
    hue %= 360;
    return hue < 0 ? hue + 360 : hue;
}

int ChannelForHue(int m1, int m2, int hue) {
    const int x = HueIntoCircle(hue);
    int value;
    if (x < 60) {
        value = m1 + (m2 - m1) * x / 60;
    } else if (x < 180) {
        value = m2;
    } else if (x < 240) {
        value = m1 + (m2 - m1) * (240 - x) / 60;
    } else {
        value = m1;
    }
    return std::clamp(value, 0, 255);
}

} // namespace

Rgb AdjustHueSaturation(Rgb colour, int hueShift, int saturation) {
    const int r = colour.red, g = colour.green, b = colour.blue;
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    const int lightness = (mx + mn + 1) / 2;
    if (mx == mn) {
        return Rgb{lightness, lightness, lightness};
    }
    const int d = mx - mn;
    const int s = lightness > 128 ? d * 100 / (510 - mx - mn) : d * 100 / (mx + mn);
    int hue;
    if (r == mx) {
        hue = (g - b) * 60 / d;
    } else if (g == mx) {
        hue = (b - r) * 60 / d + 120;
    } else {
        hue = (r - g) * 60 / d + 240;
    }
    hue = HueIntoCircle(hue);

    int shift = hueShift;
    if (shift > 360) {
        shift = (shift - 1) % 360 + 1;
    } else if (shift < 0) {
        shift = HueIntoCircle(shift);
    }
    const int change = std::clamp(saturation, -100, 100);
    const int newSaturation = std::min(s * (change + 100) / 100, 100);
    const int newHue = hue + shift;

    const int m2 = lightness > 128 ? lightness + ((255 - lightness) * newSaturation + 50) / 100
                                   : (lightness * (newSaturation + 100) + 50) / 100;
    const int m1 = 2 * lightness - m2;
    return Rgb{ChannelForHue(m1, m2, newHue + 120), ChannelForHue(m1, m2, newHue),
               ChannelForHue(m1, m2, newHue - 120)};
}

void BuildHueSaturationCube(ColourCube& cube, int hueShift, int saturation) {
    InitCube(cube);
    for (auto& node : cube.nodes) {
        if (node[0] == node[1] && node[1] == node[2]) {
            continue;
        }
        const Rgb adjusted = AdjustHueSaturation(Rgb{node[0], node[1], node[2]}, hueShift, saturation);
        node[0] = static_cast<std::uint8_t>(adjusted.red);
        node[1] = static_cast<std::uint8_t>(adjusted.green);
        node[2] = static_cast<std::uint8_t>(adjusted.blue);
    }
}

bool AdjustHueSaturation(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                         const Region* region, int hueShift, int saturation, bool useCube) {
    if (source == nullptr || destination == nullptr || !IsValidLayout(layout) || layout.channels != 3) {
        return false;
    }
    if (useCube) {
        ColourCube cube;
        BuildHueSaturationCube(cube, hueShift, saturation);
        return ApplyCube(source, destination, layout, region, cube);
    }
    const Span span = ClipRegion(layout, region);
    const int red = RedIndex(layout);
    const int blue = BlueIndex(layout);
    for (int y = span.y0; y < span.y1; ++y) {
        const std::size_t offset =
            static_cast<std::size_t>(y) * layout.stride + static_cast<std::size_t>(span.x0) * 3;
        const std::uint8_t* in = source + offset;
        std::uint8_t* out = destination + offset;
        for (int x = span.x0; x < span.x1; ++x, in += 3, out += 3) {
            const Rgb adjusted = AdjustHueSaturation(Rgb{in[red], in[1], in[blue]}, hueShift, saturation);
            out[red] = static_cast<std::uint8_t>(adjusted.red);
            out[1] = static_cast<std::uint8_t>(adjusted.green);
            out[blue] = static_cast<std::uint8_t>(adjusted.blue);
        }
    }
    return true;
}

} // namespace qel::imaging
