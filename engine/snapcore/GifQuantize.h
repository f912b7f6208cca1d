#pragma once
// Reduction of an RGB24 frame to 8-bit indexes into a fixed halftone palette, for encoders that
// write only indexed pictures (GIF). Platform-neutral.
//
// The palette is a 6 x 6 x 6 colour cube, each channel at 0, 51, 102, 153, 204, 255, entry
// red * 36 + green * 6 + blue (levels 0..5); entries 216..255 are black and never used. Pixels are
// spread over the two nearest levels of each channel by a 4 x 4 ordered dither, so flat areas keep
// their average colour; the pattern is fixed to the picture (not to the row order in memory).
#include <cstddef>
#include <cstdint>

constexpr int kHalftonePaletteSize = 256;
constexpr int kHalftoneCubeColours = 216;

// Palette entry i as 0xAARRGGBB (opaque).
std::uint32_t HalftonePaletteEntry(int index);

// source: |height| rows of (blue, green, red) pixels, sourceStride bytes apart; destination:
// |height| rows of indexes, destinationStride bytes apart, in the same row order. A positive height
// is a bottom-up frame, a negative one top-down. Padding bytes of the destination are left alone.
// False, writing nothing, for null buffers, a zero size or strides shorter than a row.
bool ReduceToHalftone(const std::uint8_t* source, std::ptrdiff_t sourceStride, std::uint8_t* destination,
                      std::ptrdiff_t destinationStride, int width, int height);
