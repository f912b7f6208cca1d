#pragma once
// The 14-byte file header of the BMP files the engine writes: no palette, the 40-byte info header
// right after it, the bits at offset 54. Little-endian whatever the host. Platform-neutral.
#include <cstdint>

constexpr std::uint32_t kBmpFileHeaderBytes = 14;
constexpr std::uint32_t kBmpInfoHeaderBytes = 40;
constexpr std::uint32_t kBmpBitsOffset = kBmpFileHeaderBytes + kBmpInfoHeaderBytes;

// "BM", file size 54 + bitsLength, two reserved zeros, bits offset 54. False, writing nothing, when
// the file size would not fit the 32-bit field or out is null.
bool MakeBmpFileHeader(std::uint32_t bitsLength, std::uint8_t* out);
