#pragma once
// A 256-entry byte table cut into the sixteen-entry slices that a 16-byte byte shuffle looks up, arranged
// so that a lookup of every slice can be combined by XOR without a compare per slice: the shuffle gives 0
// for an index byte with its top bit set, and the index falls by 16 from one slice to the next.
#include <cstdint>

namespace qel::imaging {

// Each slice is held twice over, once for each 16-byte half of a 32-byte register, so that it is loaded
// whole rather than broadcast (a broadcast takes the shuffle unit the lookups need).
struct ByteSlices {
    // Looked up with index - 16 k (k = 0..7): entries 0..127, slice k = T(k) ^ T(k - 1), T(-1) = 0, where
    // T(k) holds entries 16 k .. 16 k + 15. An index i < 128 meets slices 0..i / 16 and no others.
    std::uint8_t low[8][32];
    // Looked up with index - 16 (k + 1): entries 128..255, slice k = T(k + 8) ^ T(k + 9), T(16) = 0. An
    // index i >= 128 meets slices i / 16 - 8 .. 7 and no others.
    std::uint8_t high[8][32];
};

void BuildByteSlices(const std::uint8_t table[256], ByteSlices& slices);

} // namespace qel::imaging
