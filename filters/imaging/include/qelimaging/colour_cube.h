#pragma once
// A 16 x 16 x 16 colour cube with tetrahedral interpolation: any colour mapping built once on the 4096
// nodes and applied to the pixels by lookup.
#include "qelimaging/lut.h"

namespace qel::imaging {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// Node (b, g, r) stands at index (b x 16 + g) x 16 + r and holds the output red, green, blue of the input
// colour (17 r, 17 g, 17 b). An 8-bit value v falls into cell (v - (v >> 4)) >> 4 with fraction
// v - 17 x cell (0..16).
struct ColourCube {
    static constexpr int kSide = 16;
    static constexpr int kNodes = kSide * kSide * kSide;
    std::uint8_t nodes[kNodes][3];

    static constexpr int Index(int blueCell, int greenCell, int redCell) {
        return (blueCell * kSide + greenCell) * kSide + redCell;
    }
};

// Cell of an 8-bit value and its fraction within the cell.
inline int CubeCell(int value) {
    return (value - (value >> 4)) >> 4;
}
inline int CubeFraction(int value) {
    return value - 17 * CubeCell(value);
}

// The identity cube: node (b, g, r) holds (17 r, 17 g, 17 b).
void InitCube(ColourCube& cube);

// Every node's red, green and blue pass through table 0, 1 and 2 (table 0 for a one-channel LUT).
void ComposeLutIntoCube(ColourCube& cube, const Lut& lut);

// Every node becomes the second cube looked up at the node's colour.
void ComposeCubes(ColourCube& cube, const ColourCube& second);

// One colour through the cube by tetrahedral interpolation (components 0..255).
Rgb LookupCube(const ColourCube& cube, Rgb colour);

// Maps every pixel of the region (whole image when null) of a three-channel image through the cube.
// Returns false, writing nothing, for null buffers, a bad layout or a one-channel image.
bool ApplyCube(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
               const Region* region, const ColourCube& cube);

// ApplyCube, then every channel through the LUT, in one pass: the same as the two one after the other.
bool ApplyCubeAndLut(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                     const Region* region, const ColourCube& cube, const Lut& after);

} // namespace qel::imaging
