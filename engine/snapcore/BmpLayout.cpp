#include "BmpLayout.h"

namespace {

void PutLe16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

bool MakeBmpFileHeader(std::uint32_t bitsLength, std::uint8_t* out) {
    if (!out || bitsLength > UINT32_MAX - kBmpBitsOffset)
        return false;
    out[0] = 'B';
    out[1] = 'M';
    PutLe32(out + 2, kBmpBitsOffset + bitsLength);
    PutLe16(out + 6, 0);
    PutLe16(out + 8, 0);
    PutLe32(out + 10, kBmpBitsOffset);
    return true;
}
