#include "qelimaging/colour_cube.h"

#include <algorithm>

namespace qel::imaging {

namespace {

// Cell offset (in nodes) and fraction of every 8-bit value along one axis.
struct AxisTable {
    int offset[256];
    int fraction[256];
    int step[256]; // node distance of one step along the axis; 0 in the last cell
};

struct CubeAxes {
    AxisTable red, green, blue;
};

AxisTable MakeAxis(int nodesPerCell) {
    AxisTable axis{};
    for (int v = 0; v < 256; ++v) {
        const int cell = CubeCell(v);
        axis.offset[v] = cell * nodesPerCell;
        axis.fraction[v] = CubeFraction(v);
        axis.step[v] = cell < ColourCube::kSide - 1 ? nodesPerCell : 0;
    }
    return axis;
}

const CubeAxes& Axes() {
    static const CubeAxes axes{MakeAxis(1), MakeAxis(ColourCube::kSide), MakeAxis(ColourCube::kSide * ColourCube::kSide)};
    return axes;
}

// Division by 17 in the shift form; arithmetic shifts keep negative sums rounding down.
inline int DivideBy17(int sum) { return (sum - (sum >> 4)) >> 4; }

inline std::uint8_t Bound(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

// Interpolates the three outputs of the colour with the given axis positions.
inline void Interpolate(const ColourCube& cube, int red, int green, int blue, std::uint8_t out[3]) {
    const CubeAxes& axes = Axes();
    const int base = axes.red.offset[red] + axes.green.offset[green] + axes.blue.offset[blue];
    int f[3] = {axes.red.fraction[red], axes.green.fraction[green], axes.blue.fraction[blue]};
    int s[3] = {axes.red.step[red], axes.green.step[green], axes.blue.step[blue]};
    // Order the axes by falling fraction; equal fractions lead to the same result either way.
    if (f[0] < f[1]) {
        std::swap(f[0], f[1]);
        std::swap(s[0], s[1]);
    }
    if (f[1] < f[2]) {
        std::swap(f[1], f[2]);
        std::swap(s[1], s[2]);
        if (f[0] < f[1]) {
            std::swap(f[0], f[1]);
            std::swap(s[0], s[1]);
        }
    }
    const std::uint8_t* p0 = cube.nodes[base];
    const std::uint8_t* p1 = cube.nodes[base + s[0]];
    const std::uint8_t* p2 = cube.nodes[base + s[0] + s[1]];
    const std::uint8_t* p3 = cube.nodes[base + s[0] + s[1] + s[2]];
    for (int c = 0; c < 3; ++c) {
        const int sum = f[0] * (p1[c] - p0[c]) + f[1] * (p2[c] - p1[c]) + f[2] * (p3[c] - p2[c]);
        out[c] = Bound(p0[c] + DivideBy17(sum));
    }
}

} // namespace

void InitCube(ColourCube& cube) {
    for (int b = 0; b < ColourCube::kSide; ++b) {
        for (int g = 0; g < ColourCube::kSide; ++g) {
            for (int r = 0; r < ColourCube::kSide; ++r) {
                std::uint8_t* node = cube.nodes[ColourCube::Index(b, g, r)];
                node[0] = static_cast<std::uint8_t>(17 * r);
                node[1] = static_cast<std::uint8_t>(17 * g);
                node[2] = static_cast<std::uint8_t>(17 * b);
            }
        }
    }
}

void ComposeLutIntoCube(ColourCube& cube, const Lut& lut) {
    const bool single = lut.channels == 1;
    for (auto& node : cube.nodes) {
        node[0] = lut.table[0][node[0]];
        node[1] = lut.table[single ? 0 : 1][node[1]];
        node[2] = lut.table[single ? 0 : 2][node[2]];
    }
}

void ComposeCubes(ColourCube& cube, const ColourCube& second) {
    for (auto& node : cube.nodes) {
        std::uint8_t out[3];
        Interpolate(second, node[0], node[1], node[2], out);
        node[0] = out[0];
        node[1] = out[1];
        node[2] = out[2];
    }
}

Rgb LookupCube(const ColourCube& cube, Rgb colour) {
    std::uint8_t out[3];
    Interpolate(cube, std::clamp(colour.red, 0, 255), std::clamp(colour.green, 0, 255),
                std::clamp(colour.blue, 0, 255), out);
    return Rgb{out[0], out[1], out[2]};
}

bool ApplyCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout, const Region* region,
               const ColourCube& cube) {
    if (source == nullptr || destination == nullptr || !IsValidLayout(layout) || layout.channels != 3) {
        return false;
    }
    const Span span = ClipRegion(layout, region);
    const int red = RedIndex(layout);
    const int blue = BlueIndex(layout);
    for (int y = span.y0; y < span.y1; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y) * layout.stride + static_cast<std::size_t>(span.x0) * 3;
        const std::uint8_t* in = source + offset;
        std::uint8_t* out = destination + offset;
        for (int x = span.x0; x < span.x1; ++x, in += 3, out += 3) {
            std::uint8_t mapped[3];
            Interpolate(cube, in[red], in[1], in[blue], mapped);
            out[red] = mapped[0];
            out[1] = mapped[1];
            out[blue] = mapped[2];
        }
    }
    return true;
}

} // namespace qel::imaging
