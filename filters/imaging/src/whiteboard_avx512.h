#pragma once
// The whiteboard's per-pixel pass 64 pixels at a time with AVX-512 byte permutes (callers check
// CpuHasAvx512Vbmi first): the tables are looked up whole in registers instead of gathered, with the
// same integer steps as the plain pass, so the same bytes.
#include <cstdint>

namespace qel::imaging::whiteboard {

struct WhiteboardPlaneTables {
    const std::uint8_t* balance[3];    // the balance of pixel byte 0, 1 and 2
    const std::uint8_t* flatten;       // [background][luma], 256 x 256
    const std::uint8_t* backgroundRow; // the row's cells of the background map
    int block;                         // pixels a cell spans
    const std::uint8_t* gamma;         // 256
    int whiteLevel;                    // near-grey components above it turn white before the gamma
    bool flattens;                     // false: no background to flatten, balance and finish only
    int blue;                          // byte index of blue and of red within a pixel
    int red;
};

// Runs the pass over the first pixels of a row of `count` from in to out (the same buffer or apart) and
// returns how many it did: a multiple of 64, reading and writing nothing beyond `count` pixels.
int EnhanceWhiteboardRowAvx512(const std::uint8_t* in, std::uint8_t* out, int count,
                               const WhiteboardPlaneTables& t);

} // namespace qel::imaging::whiteboard
