#include "qelimaging/cube_cells.h"

#include "cube_cells_avx2.h"

#include <algorithm>
#include <cstring>

namespace qel::imaging {

void BuildCubeCells(const ColourCube& cube, CubeCells& cells) {
    constexpr int kLast = ColourCube::kSide - 1;
    for (int b = 0; b < ColourCube::kSide; ++b) {
        for (int g = 0; g < ColourCube::kSide; ++g) {
            for (int r = 0; r < ColourCube::kSide; ++r) {
                const int cell = ColourCube::Index(b, g, r);
                // Node steps along each axis; none from the last node, where the fraction is 0 anyway.
                const int step[3] = {r < kLast ? 1 : 0, g < kLast ? ColourCube::kSide : 0,
                                     b < kLast ? ColourCube::kSide * ColourCube::kSide : 0};
                // Channel c of the cell's corner k, whose bits step along the axes.
                std::uint32_t corner[3][8];
#pragma GCC unroll 8
                for (int k = 0; k < 8; ++k) {
                    const std::uint8_t* node = cube.nodes[cell + (k & 1 ? step[0] : 0) +
                                                          (k & 2 ? step[1] : 0) + (k & 4 ? step[2] : 0)];
                    corner[0][k] = node[0];
                    corner[1][k] = node[1];
                    corner[2][k] = node[2];
                }
                std::uint8_t* record = cells.records[kWalkOrders * cell];
#pragma GCC unroll 6
                for (int order = 0; order < kWalkOrders; ++order, record += 16) {
                    const int first = kWalkAxes[order][0];
                    const int second = first | kWalkAxes[order][1];
                    // A channel's four walk nodes as one little-endian word, base node lowest.
                    std::uint32_t words[4] = {};
#pragma GCC unroll 3
                    for (int c = 0; c < 3; ++c) {
                        words[c] = corner[c][0] | corner[c][first] << 8 | corner[c][second] << 16 |
                                   corner[c][7] << 24;
                    }
                    std::memcpy(record, words, sizeof words);
                }
            }
        }
    }
}

} // namespace qel::imaging
