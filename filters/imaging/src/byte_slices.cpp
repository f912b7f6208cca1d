#include "byte_slices.h"

namespace qel::imaging {

void BuildByteSlices(const std::uint8_t table[256], ByteSlices& slices) {
    for (int k = 0; k < 8; ++k) {
        for (int l = 0; l < 16; ++l) {
            const int below = k == 0 ? 0 : table[16 * (k - 1) + l];
            slices.low[k][l] = slices.low[k][16 + l] = static_cast<std::uint8_t>(table[16 * k + l] ^ below);
            const int above = k == 7 ? 0 : table[16 * (k + 9) + l];
            slices.high[k][l] = slices.high[k][16 + l] =
                static_cast<std::uint8_t>(table[16 * (k + 8) + l] ^ above);
        }
    }
}

} // namespace qel::imaging
