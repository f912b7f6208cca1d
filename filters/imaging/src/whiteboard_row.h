#pragma once
// What each of the whiteboard's per-pixel passes takes for one row, and the plain pass, which the wider
// ones (whiteboard_avx2.h, whiteboard_avx512.h) match byte for byte.
#include "byte_slices.h"

#include <cstdint>

namespace qel::imaging::whiteboard {

struct WhiteboardRowTables {
    const std::uint8_t* balance[3];    // the balance of pixel byte 0, 1 and 2
    const std::uint8_t* flatten;       // [background][luma], 256 x 256
    const std::uint8_t* backgroundRow; // the row's cells of the background map
    int block;                         // pixels a cell spans
    int columns;                       // cells a row; the last also takes the columns beyond
    const std::uint8_t* gamma;
    const std::uint8_t* clipThenGamma; // near-grey pixels: components above the level white, then gamma
    int whiteLevel;
    bool flattens;                      // false: no background to flatten, balance and gamma only
    bool blueFirst;                     // blue is pixel byte 0 and red byte 2, else the other way round
    const ByteSlices* balanceSlices[3]; // for the AVX2 pass only
    const ByteSlices* gammaSlices;
};

// Pixels the wider passes handle in one stretch: their planes, luma and flattened luma stay in the
// first-level cache between the steps.
struct WhiteboardStretch {
    static constexpr int kPixels = 256;
    std::uint8_t plane[3][kPixels]; // by pixel byte: balanced, then finished
    std::uint8_t luma[kPixels];
    std::uint8_t flat[kPixels];
};

// The flattened luma of the stretch's pixels first..first + count - 1 of the row, one table row for
// each map cell they cross.
void FlattenStretch(int first, int count, const WhiteboardRowTables& t, WhiteboardStretch& s);

// Components are 0..255, so unsigned arithmetic (a multiplication for the division) is exact.
inline int Luma(int blue, int green, int red) {
    return static_cast<int>(static_cast<unsigned>(blue + 6 * green + 3 * red + 5) / 10u);
}

// Runs the pass over pixels first..count - 1 of a row, from in to out (row starts; the same buffer or
// apart).
void EnhanceWhiteboardRow(const std::uint8_t* in, std::uint8_t* out, int first, int count,
                          const WhiteboardRowTables& t);

} // namespace qel::imaging::whiteboard
