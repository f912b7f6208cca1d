#pragma once
// A colour cube regrouped by cell: the eight corner nodes of each cell side by side, so that the wide
// path reads everything a pixel's interpolation needs with one load. Built once per cube (128 KB).
#include "qelimaging/colour_cube.h"

namespace qel::imaging {

// Cell (b, g, r) sits at ColourCube::Index(b, g, r). Byte 8 c + k holds channel c (red, green, blue) of
// corner k, whose bit 0 steps red, bit 1 green and bit 2 blue one node on (staying in the last node,
// where the fraction is 0 anyway); bytes 24..31 are 0.
struct alignas(32) CubeCells {
    std::uint8_t corners[ColourCube::kNodes][32];
};

void BuildCubeCells(const ColourCube& cube, CubeCells& cells);

// ApplyCube with the cells of that same cube built beforehand, for callers whose cube outlives a frame.
bool ApplyCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
               const Region* region, const ColourCube& cube, const CubeCells& cells);

// Every channel through `before` (table 0 red, 1 green, 2 blue; table 0 for all in a one-channel LUT),
// then through the cube, in one pass: the same as ApplyLut then ApplyCube.
bool ApplyLutAndCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                     const Region* region, const Lut& before, const ColourCube& cube);

} // namespace qel::imaging
