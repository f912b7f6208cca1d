#pragma once
// The whiteboard's per-pixel pass 32 pixels at a time with AVX2 (callers check CpuHasAvx2 first): the
// byte tables are looked up whole with byte shuffles, the flattening table, whose row changes from
// cell to cell, one byte at a time; the same integer steps as the plain pass, so the same bytes.
#include "byte_slices.h"

#include <cstdint>

namespace qel::imaging::whiteboard {

struct WhiteboardSliceTables {
    const ByteSlices* balance[3];      // the balance of pixel byte 0, 1 and 2
    const std::uint8_t* flatten;       // [background][luma], 256 x 256
    const std::uint8_t* backgroundRow; // the row's cells of the background map
    int block;                         // pixels a cell spans
    int columns;                       // cells a row; the last also takes the columns beyond
    const ByteSlices* gamma;
    int whiteLevel;                    // near-grey components above it turn white before the gamma
    bool flattens;                     // false: no background to flatten, balance and gamma only
    bool blueFirst;                    // blue is pixel byte 0 and red byte 2, else the other way round
};

// Runs the pass over the first pixels of a row of `count` from in to out (the same buffer or apart) and
// returns how many it did: a multiple of 32, reading and writing nothing beyond `count` pixels.
int EnhanceWhiteboardRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count,
                             const WhiteboardSliceTables& t);

} // namespace qel::imaging::whiteboard
