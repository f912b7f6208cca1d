#pragma once
// The whiteboard's per-pixel pass 32 pixels at a time with AVX2 (callers check CpuHasAvx2 first): the
// byte tables are looked up whole with byte shuffles, the flattening table, whose row changes from
// cell to cell, one byte at a time; the same integer steps as the plain pass, so the same bytes.
#include "whiteboard_row.h"

#include <cstdint>

namespace qel::imaging::whiteboard {

// Runs the pass over the first pixels of a row of `count` from in to out (the same buffer or apart) and
// returns how many it did: a multiple of 32, reading and writing nothing beyond `count` pixels.
int EnhanceWhiteboardRowAvx2(const std::uint8_t* in, std::uint8_t* out, int count,
                             const WhiteboardRowTables& t);

} // namespace qel::imaging::whiteboard
