#pragma once
// A colour cube regrouped for the wide path: for every cell and every order of the three fractions, the
// four nodes that the tetrahedral walk visits, side by side, so that one load fetches all that a pixel's
// interpolation needs. Built once per cube (384 KB).
#include "qelimaging/colour_cube.h"

namespace qel::imaging {

// The walk orders, largest fraction first: the axes as bits (1 red, 2 green, 4 blue).
constexpr int kWalkOrders = 6;
constexpr std::uint8_t kWalkAxes[kWalkOrders][3] = {{1, 2, 4}, {1, 4, 2}, {4, 1, 2},
                                                    {2, 1, 4}, {2, 4, 1}, {4, 2, 1}};

// Record 6 x cell + order, cell = ColourCube::Index(b, g, r): bytes 4 c + i hold channel c (red, green,
// blue) of the walk's node i (0 the cell's base node, 3 the far one; a step past the last node stays
// on it, where the fraction is 0 anyway); bytes 12..15 are 0.
struct alignas(32) CubeCells {
    std::uint8_t records[ColourCube::kNodes * kWalkOrders][16];
};

void BuildCubeCells(const ColourCube& cube, CubeCells& cells);

// ApplyCube with the cells of that same cube built beforehand, for callers whose cube outlives a frame:
// where the processor has AVX2 the pixels are then mapped from the cells, far faster.
bool ApplyCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
               const Region* region, const ColourCube& cube, const CubeCells& cells);

// Every channel through `before` (table 0 red, 1 green, 2 blue; table 0 for all in a one-channel LUT),
// then through the cube, in one pass: the same as ApplyLut then ApplyCube. `cells`, when given, are the
// cube's own (the fast path needs them).
bool ApplyLutAndCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                     const Region* region, const Lut& before, const ColourCube& cube,
                     const CubeCells* cells = nullptr);

} // namespace qel::imaging
