#include "qelimaging/colour_cube.h"

#include "cube_cells_avx2.h"
#include "qelimaging/cpu_features.h"
#include "qelimaging/cube_cells.h"

#include <algorithm>

namespace qel::imaging {

namespace {

// Per 8-bit value along one axis: its cell's node offset, its fraction and the node distance of one
// step along the axis (0 in the last cell, where the fraction is 0 anyway).
struct AxisEntry {
    int offset;
    int fraction;
    int step;
    int key; // fraction << 16 | step: sorting keys sorts the axes by fraction, steps riding along
};

struct CubeAxes {
    AxisEntry red[256], green[256], blue[256];
};

void FillAxis(AxisEntry* axis, int nodesPerCell) {
    for (int v = 0; v < 256; ++v) {
        const int cell = CubeCell(v);
        axis[v].offset = cell * nodesPerCell;
        axis[v].fraction = CubeFraction(v);
        axis[v].step = cell < ColourCube::kSide - 1 ? nodesPerCell : 0;
        axis[v].key = axis[v].fraction << 16 | axis[v].step;
    }
}

CubeAxes MakeAxes() {
    CubeAxes axes;
    FillAxis(axes.red, 1);
    FillAxis(axes.green, ColourCube::kSide);
    FillAxis(axes.blue, ColourCube::kSide * ColourCube::kSide);
    return axes;
}

const CubeAxes& Axes() {
    static const CubeAxes axes = MakeAxes();
    return axes;
}

// Division by 17 in the shift form; arithmetic shifts keep negative sums rounding down.
inline int DivideBy17(int sum) {
    return (sum - (sum >> 4)) >> 4;
}

inline std::uint8_t Bound(int value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// Tetrahedral interpolation: walk from the base node along the axes in the order of falling fraction;
// each output is the base plus the fraction-weighted differences of the walk. Equal fractions give the
// same result in either order.
inline void Interpolate(const CubeAxes& axes, const ColourCube& cube, int red, int green, int blue,
                        std::uint8_t out[3]) {
    const AxisEntry& r = axes.red[red];
    const AxisEntry& g = axes.green[green];
    const AxisEntry& b = axes.blue[blue];
    // Axis order by falling fraction, picked without branches (fractions are noise-like in real
    // pictures, so branches would mispredict): bit 0 red >= green, bit 1 green >= blue, bit 2 red >= blue.
    static constexpr std::uint8_t kOrder[8][3] = {
        {2, 1, 0}, {2, 0, 1}, {1, 2, 0}, {0, 1, 2}, {2, 1, 0}, {0, 2, 1}, {1, 0, 2}, {0, 1, 2},
    };
    const int fractions[3] = {r.fraction, g.fraction, b.fraction};
    const int steps[3] = {r.step, g.step, b.step};
    const int key =
        (r.fraction >= g.fraction) | ((g.fraction >= b.fraction) << 1) | ((r.fraction >= b.fraction) << 2);
    const std::uint8_t* order = kOrder[key];
    const int f1 = fractions[order[0]], f2 = fractions[order[1]], f3 = fractions[order[2]];
    const int s1 = steps[order[0]], s2 = steps[order[1]], s3 = steps[order[2]];
    const std::uint8_t* p0 = cube.nodes[r.offset + g.offset + b.offset];
    const std::uint8_t* p1 = p0 + 3 * s1;
    const std::uint8_t* p2 = p1 + 3 * s2;
    const std::uint8_t* p3 = p2 + 3 * s3;
    for (int c = 0; c < 3; ++c) {
        const int sum = f1 * (p1[c] - p0[c]) + f2 * (p2[c] - p1[c]) + f3 * (p3[c] - p2[c]);
        out[c] = Bound(p0[c] + DivideBy17(sum));
    }
}

// clamp(v - 240, 0, 255) for every lane value the wide interpolation can give.
const std::uint8_t* BiasedBound() {
    static const struct Table {
        std::uint8_t value[1024];
        Table() {
            for (int v = 0; v < 1024; ++v) {
                value[v] = Bound(v - 240);
            }
        }
    } table;
    return table.value;
}

// The cube with each node widened to three 16-bit lanes of one word, so that one multiplication weighs
// all three channels of a node: the weighted sums stay below 16 x 255 per lane.
struct WideCube {
    std::uint64_t nodes[ColourCube::kNodes];

    explicit WideCube(const ColourCube& cube) {
        for (int n = 0; n < ColourCube::kNodes; ++n) {
            nodes[n] = static_cast<std::uint64_t>(cube.nodes[n][0]) |
                       (static_cast<std::uint64_t>(cube.nodes[n][1]) << 16) |
                       (static_cast<std::uint64_t>(cube.nodes[n][2]) << 32);
        }
    }
};

// The same interpolation as Interpolate, rewritten as P0 + (w1 P1 + w2 P2 + w3 P3 - f1 P0) / 17 with
// w1 = f1 - f2, w2 = f2 - f3, w3 = f3 (identical sums, a third of the multiplications), and the walk
// found without branches: P1 steps along the largest fraction's axis, P2 along all but the smallest's,
// P3 along all three. Where fractions tie, the node that a different order would visit has weight 0.
inline void InterpolateWide(const CubeAxes& axes, const WideCube& cube, int red, int green, int blue,
                            std::uint8_t out[3]) {
    const AxisEntry& r = axes.red[red];
    const AxisEntry& g = axes.green[green];
    const AxisEntry& b = axes.blue[blue];
    // Sorting the packed keys orders the axes by fraction and carries each axis's step along. Equal
    // fractions are ordered by step, which is as good as any order (see above); three equal keys mean
    // three zero steps, where every node of the walk is the base.
    const int largestKey = std::max(r.key, std::max(g.key, b.key));
    const int smallestKey = std::min(r.key, std::min(g.key, b.key));
    const int keySum = r.key + g.key + b.key;
    const int middleKey = keySum - largestKey - smallestKey;
    const int largest = largestKey >> 16;
    const int middle = middleKey >> 16;
    const int smallest = smallestKey >> 16;
    const int stepLargest = largestKey & 0xFFFF;
    const int stepSmallest = smallestKey & 0xFFFF;
    const int allSteps = keySum & 0xFFFF;
    const int i0 = r.offset + g.offset + b.offset;
    const std::uint64_t p0 = cube.nodes[i0];
    // Lane-wise: s + 4096 with a bias of 4096 a lane, which keeps every lane positive (f1 P0 <= 16 x 255)
    // and turns the arithmetic shifts of the division by 17 into logical ones: ((t - (t >> 4)) >> 4) on
    // t = s + 4096 is the shift-form quotient of s plus 240.
    constexpr std::uint64_t kBias = 0x100010001000ull;
    constexpr std::uint64_t kLow12 = 0x0FFF0FFF0FFFull;
    const std::uint64_t t =
        static_cast<std::uint64_t>(largest - middle) * cube.nodes[i0 + stepLargest] +
        static_cast<std::uint64_t>(middle - smallest) * cube.nodes[i0 + allSteps - stepSmallest] +
        static_cast<std::uint64_t>(smallest) * cube.nodes[i0 + allSteps] + kBias -
        static_cast<std::uint64_t>(largest) * p0;
    const std::uint64_t quotient = ((t - ((t >> 4) & kLow12)) >> 4) & kLow12;
    const std::uint64_t result = quotient + p0; // each lane: value + 240
    const std::uint8_t* bound = BiasedBound();
    out[0] = bound[result & 0xFFFF];
    out[1] = bound[(result >> 16) & 0xFFFF];
    out[2] = bound[(result >> 32) & 0xFFFF];
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
        Interpolate(Axes(), second, node[0], node[1], node[2], out);
        node[0] = out[0];
        node[1] = out[1];
        node[2] = out[2];
    }
}

Rgb LookupCube(const ColourCube& cube, Rgb colour) {
    std::uint8_t out[3];
    Interpolate(Axes(), cube, std::clamp(colour.red, 0, 255), std::clamp(colour.green, 0, 255),
                std::clamp(colour.blue, 0, 255), out);
    return Rgb{out[0], out[1], out[2]};
}

namespace {

// Each byte of a pixel's table (in byte order) for a LUT of one or three channels; the identity for none.
struct ByteTables {
    Lut identity;
    const std::uint8_t* table[3];

    ByteTables(const Lut* lut, const PixelLayout& layout) {
        if (lut == nullptr) {
            identity = MakeIdentityLut(3);
            lut = &identity;
        }
        const bool single = lut->channels == 1;
        table[RedIndex(layout)] = lut->table[0];
        table[1] = lut->table[single ? 0 : 1];
        table[BlueIndex(layout)] = lut->table[single ? 0 : 2];
    }
};

// The wide path from the cube's cells: one load a pixel fetches the four nodes of its walk.
void MapThroughCells(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                     const Span& span, const CubeCells& cells, const Lut* before) {
    ByteSlices slices[3];
    if (before != nullptr) {
        const ByteTables tables(before, layout);
        for (int c = 0; c < 3; ++c) {
            BuildByteSlices(tables.table[c], slices[c]);
        }
    }
    for (int y = span.y0; y < span.y1; ++y) {
        const std::size_t offset =
            static_cast<std::size_t>(y) * layout.stride + static_cast<std::size_t>(span.x0) * 3;
        ApplyCubeCellsRowAvx2(source + offset, destination + offset, span.x1 - span.x0,
                              layout.order == ByteOrder::BGR, cells, before != nullptr ? slices : nullptr);
    }
}

// ApplyCube, with `before` each channel first through that LUT, with `after` each output channel then
// through that one (table 0 red, 1 green, 2 blue). `cells`, when given, are the cube's own.
bool MapThroughCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                    const Region* region, const ColourCube& cube, const Lut* before, const Lut* after,
                    const CubeCells* cells) {
    if (source == nullptr || destination == nullptr || !IsValidLayout(layout) || layout.channels != 3) {
        return false;
    }
    const Span span = ClipRegion(layout, region);
    if (span.Empty()) {
        return true;
    }
    // The wide path needs the cube's cells, which callers whose cube outlives a frame keep: building
    // them here would cost a large block a frame.
    if (CpuHasAvx2() && after == nullptr && cells != nullptr) {
        MapThroughCells(source, destination, layout, span, *cells, before);
        return true;
    }
    const int red = RedIndex(layout);
    const int blue = BlueIndex(layout);
    const CubeAxes& axes = Axes();
    // 32 KB on the stack: nothing can fail once the arguments are good, so callers that have already
    // written part of a frame never see this step give up.
    const WideCube wide(cube);
    const ByteTables in(before, layout);
    Lut identity;
    if (after == nullptr) {
        identity = MakeIdentityLut(3);
    }
    const bool single = after != nullptr && after->channels == 1;
    const std::uint8_t* tables[3] = {after ? after->table[0] : identity.table[0],
                                     after ? after->table[single ? 0 : 1] : identity.table[1],
                                     after ? after->table[single ? 0 : 2] : identity.table[2]};
    for (int y = span.y0; y < span.y1; ++y) {
        const std::size_t offset =
            static_cast<std::size_t>(y) * layout.stride + static_cast<std::size_t>(span.x0) * 3;
        const std::uint8_t* pixel = source + offset;
        std::uint8_t* out = destination + offset;
        for (int x = span.x0; x < span.x1; ++x, pixel += 3, out += 3) {
            std::uint8_t mapped[3];
            InterpolateWide(axes, wide, in.table[red][pixel[red]], in.table[1][pixel[1]],
                            in.table[blue][pixel[blue]], mapped);
            out[red] = tables[0][mapped[0]];
            out[1] = tables[1][mapped[1]];
            out[blue] = tables[2][mapped[2]];
        }
    }
    return true;
}

} // namespace

bool ApplyCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
               const Region* region, const ColourCube& cube) {
    return MapThroughCube(source, destination, layout, region, cube, nullptr, nullptr, nullptr);
}

bool ApplyCubeAndLut(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                     const Region* region, const ColourCube& cube, const Lut& after) {
    return MapThroughCube(source, destination, layout, region, cube, nullptr, &after, nullptr);
}

bool ApplyCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
               const Region* region, const ColourCube& cube, const CubeCells& cells) {
    return MapThroughCube(source, destination, layout, region, cube, nullptr, nullptr, &cells);
}

bool ApplyLutAndCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                     const Region* region, const Lut& before, const ColourCube& cube,
                     const CubeCells* cells) {
    return MapThroughCube(source, destination, layout, region, cube, &before, nullptr, cells);
}

} // namespace qel::imaging
