#include "core/flip_kernel.h"

#include "core/mirror_row.h"
#include "qelimaging/cpu_features.h"

#include <cstring>
#include <limits>

bool FlipFrame(const std::uint8_t* source, std::uint8_t* destination, const qel::imaging::PixelLayout& layout,
               const FlipParams& params) {
    const int width = layout.width;
    const int height = layout.height;
    const int stride = layout.stride;
    if (!source || !destination || layout.channels != 3 || width <= 0 || height == 0 || stride <= 0 ||
        height == std::numeric_limits<int>::min())
        return false;
    const std::int64_t rowBytes = stride;
    if (rowBytes < std::int64_t{width} * 3)
        return false;
    const int rows = height < 0 ? -height : height;
    const bool wide = qel::imaging::CpuHasAvx2();

    for (int i = 0; i < rows; ++i) {
        const std::uint8_t* in = source + rowBytes * (params.topBottom ? rows - 1 - i : i);
        std::uint8_t* out = destination + rowBytes * i;
        std::memcpy(out, in, static_cast<size_t>(rowBytes));
        if (params.leftRight) {
            const int done = wide ? MirrorRowAvx2(in, out, width) : 0;
            const std::uint8_t* from = in + std::int64_t{width - 1 - done} * 3;
            out += std::int64_t{done} * 3;
            for (int x = done; x < width; ++x, out += 3, from -= 3) {
                out[0] = from[0];
                out[1] = from[1];
                out[2] = from[2];
            }
        }
    }
    return true;
}
