#pragma once
// The whiteboard's per-pixel pass 64 pixels at a time with AVX-512 byte permutes (callers check
// CpuHasAvx512Vbmi first): the tables are looked up whole in registers instead of gathered, with the
// same integer steps as the plain pass, so the same bytes.
#include "whiteboard_row.h"

#include <cstdint>

namespace qel::imaging::whiteboard {

// Runs the pass over the first pixels of a row of `count` from in to out (the same buffer or apart) and
// returns how many it did: a multiple of 64, reading and writing nothing beyond `count` pixels.
int EnhanceWhiteboardRowAvx512(const std::uint8_t* in, std::uint8_t* out, int count,
                               const WhiteboardRowTables& t);

} // namespace qel::imaging::whiteboard
