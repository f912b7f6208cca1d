#include "GifQuantize.h"

#include <cstdlib>

namespace {

// 4 x 4 Bayer thresholds 0..15.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Level 0..5 of a channel value: floor(value * 5 / 255 + (threshold + 0.5) / 16) in integers; the
// offset stays below one level, so 0 and 255 map to 0 and 5 for every threshold.
inline int DitherLevel(int value, int threshold) {
    return (value * 5 * 32 + (2 * threshold + 1) * 255) / (255 * 32);
}

} // namespace

std::uint32_t HalftonePaletteEntry(int index) {
    if (index < 0 || index >= kHalftoneCubeColours)
        return 0xFF000000u;
    const std::uint32_t red = static_cast<std::uint32_t>(index / 36) * 51;
    const std::uint32_t green = static_cast<std::uint32_t>(index / 6 % 6) * 51;
    const std::uint32_t blue = static_cast<std::uint32_t>(index % 6) * 51;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

bool ReduceToHalftone(const std::uint8_t* source, std::ptrdiff_t sourceStride, std::uint8_t* destination,
                      std::ptrdiff_t destinationStride, int width, int height) {
    if (!source || !destination || width <= 0 || height == 0)
        return false;
    const int rows = std::abs(height);
    if (sourceStride < static_cast<std::ptrdiff_t>(width) * 3 || destinationStride < width)
        return false;
    for (int row = 0; row < rows; ++row) {
        const int pictureRow = height > 0 ? rows - 1 - row : row;
        const int* thresholds = kBayer[pictureRow & 3];
        const std::uint8_t* in = source + row * sourceStride;
        std::uint8_t* out = destination + row * destinationStride;
        for (int x = 0; x < width; ++x, in += 3) {
            const int threshold = thresholds[x & 3];
            const int blue = DitherLevel(in[0], threshold);
            const int green = DitherLevel(in[1], threshold);
            const int red = DitherLevel(in[2], threshold);
            out[x] = static_cast<std::uint8_t>(red * 36 + green * 6 + blue);
        }
    }
    return true;
}
