#include "snow_wash.h"

#include <algorithm>

namespace qel::imaging {

bool UnfoldCube(const ColourCube& cube, UnfoldedCube& unfolded) {
    unfolded.words.clear();
    // The plain interpolation's walk for each order key (axes 0 red, 1 green, 2 blue).
    static constexpr int kOrder[UnfoldedCube::kOrders][3] = {
        {2, 1, 0}, {2, 0, 1}, {1, 2, 0}, {0, 1, 2}, {2, 1, 0}, {0, 2, 1}, {1, 0, 2}, {0, 1, 2},
    };
    constexpr int kSide = ColourCube::kSide;
    std::vector<std::uint32_t> words(static_cast<std::size_t>(ColourCube::kNodes) * UnfoldedCube::kOrders * 4);
    for (int cell = 0; cell < ColourCube::kNodes; ++cell) {
        const int cells[3] = {cell % kSide, cell / kSide % kSide, cell / (kSide * kSide)};
        const int nodesPerCell[3] = {1, kSide, kSide * kSide};
        for (int key = 0; key < UnfoldedCube::kOrders; ++key) {
            int steps[3][3] = {}; // [axis][channel]
            int node = cell;
            for (const int axis : kOrder[key]) {
                // The last cell only takes fraction 0: its step is none, as in the plain path.
                const int next = cells[axis] < kSide - 1 ? node + nodesPerCell[axis] : node;
                for (int c = 0; c < 3; ++c) {
                    steps[axis][c] = cube.nodes[next][c] - cube.nodes[node][c];
                    if (steps[axis][c] < -128 || steps[axis][c] > 127) {
                        return false;
                    }
                }
                node = next;
            }
            std::uint32_t* entry = &words[(static_cast<std::size_t>(cell) * UnfoldedCube::kOrders + key) * 4];
            for (int c = 0; c < 3; ++c) {
                entry[c] = static_cast<std::uint8_t>(steps[0][c]) | static_cast<std::uint8_t>(steps[1][c]) << 8 |
                           static_cast<std::uint8_t>(steps[2][c]) << 16 |
                           static_cast<std::uint32_t>(cube.nodes[cell][c]) << 24;
            }
        }
    }
    unfolded.words.swap(words);
    return true;
}

bool FitLiftTable(const Lut& lut, LiftTable& lift) {
    if (lut.channels != 1) {
        for (int c = 1; c < 3; ++c) {
            if (!std::equal(lut.table[0], lut.table[0] + 256, lut.table[c])) {
                return false;
            }
        }
    }
    const std::uint8_t* table = lut.table[0];
    for (int bonusTop = -1; bonusTop < 256; ++bonusTop) {
        const int add = table[0] - (bonusTop >= 0 ? 1 : 0);
        if (add < 0) {
            continue;
        }
        bool fits = true;
        for (int v = 0; v < 256 && fits; ++v) {
            // What the wide path computes: a saturating add, then the bonus with byte wrap-around.
            const int value = (std::min(v + add, 255) + (v <= bonusTop ? 1 : 0)) & 0xFF;
            fits = value == table[v];
        }
        if (fits) {
            lift.add = add;
            lift.bonusTop = bonusTop;
            return true;
        }
    }
    return false;
}

} // namespace qel::imaging
