#include "qelimaging/cube_cells.h"

#include "cube_cells_avx2.h"

#include <algorithm>

namespace qel::imaging {

void BuildCubeCells(const ColourCube& cube, CubeCells& cells) {
    constexpr int kLast = ColourCube::kSide - 1;
    for (int b = 0; b < ColourCube::kSide; ++b) {
        for (int g = 0; g < ColourCube::kSide; ++g) {
            for (int r = 0; r < ColourCube::kSide; ++r) {
                // The cell's eight corners, corner k stepping along the axes of its bits.
                const std::uint8_t* corner[8];
                for (int k = 0; k < 8; ++k) {
                    corner[k] = cube.nodes[ColourCube::Index(std::min(b + (k >> 2 & 1), kLast),
                                                             std::min(g + (k >> 1 & 1), kLast),
                                                             std::min(r + (k & 1), kLast))];
                }
                const int cell = ColourCube::Index(b, g, r);
                for (int order = 0; order < kWalkOrders; ++order) {
                    const int first = kWalkAxes[order][0];
                    const int walk[4] = {0, first, first | kWalkAxes[order][1], 7};
                    std::uint8_t* record = cells.records[kWalkOrders * cell + order];
                    for (int c = 0; c < 3; ++c) {
                        for (int i = 0; i < 4; ++i) {
                            record[4 * c + i] = corner[walk[i]][c];
                        }
                    }
                    std::fill(record + 12, record + 16, std::uint8_t{0});
                }
            }
        }
    }
}

void BuildShuffleTable(const std::uint8_t table[256], ShuffleTable& shuffle) {
    for (int row = 0; row < 16; ++row) {
        // Each half of the table starts afresh: the lookup runs the two halves separately.
        const bool first = row % 8 == 0;
        for (int i = 0; i < 16; ++i) {
            const std::uint8_t value = table[16 * row + i];
            shuffle.rows[row][i] = first ? value : static_cast<std::uint8_t>(value ^ table[16 * (row - 1) + i]);
        }
    }
}

} // namespace qel::imaging
