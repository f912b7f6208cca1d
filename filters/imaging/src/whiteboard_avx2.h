#pragma once
// The whiteboard's per-pixel pass eight pixels at a time with AVX2 (callers check CpuHasAvx2 first):
// the same tables and the same integer steps as the plain pass, so the same bytes.
#include <cstdint>

namespace qel::imaging::whiteboard {

struct WhiteboardRowTables {
    const std::int32_t* balance;    // 3 x 256: the balance of pixel byte 0, 1 and 2
    const std::uint8_t* flatten;    // [background][luma]; four bytes readable at every entry
    const std::int32_t* background; // the row's background of every column, times 256
    const std::int32_t* finish;     // 512: the gamma curve, then clip-to-white followed by the gamma curve
    bool flattens;                  // false: no background to flatten, balance and finish only
    int blue;                       // byte index of blue and of red within a pixel
    int red;
};

// Runs the pass over the first pixels of a row of `count` from in to out (the same buffer or apart) and
// returns how many it did: a multiple of eight, leaving at least the last few pixels to the caller,
// since each group reads eight bytes beyond its own 24.
int EnhanceWhiteboardRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count, const WhiteboardRowTables& t);

} // namespace qel::imaging::whiteboard
