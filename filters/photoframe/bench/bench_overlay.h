#pragma once
// A typical photo frame for the benchmarks: an opaque border, a soft inner edge and a transparent middle.
#include <algorithm>
#include <random>

#include "core/overlay_image.h"

inline OverlayImage BenchPhotoFrame(int width, int height) {
    OverlayImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
    std::mt19937 random(3);
    const int border = height / 10;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = &image.pixels[(static_cast<size_t>(y) * width + x) * 4];
            const int edge = std::min(std::min(x, width - 1 - x), std::min(y, height - 1 - y));
            pixel[0] = static_cast<uint8_t>(random());
            pixel[1] = static_cast<uint8_t>(random());
            pixel[2] = static_cast<uint8_t>(random());
            pixel[3] = edge < border ? 255 : edge < border * 2 ? static_cast<uint8_t>(255 * (border * 2 - edge) / border) : 0;
        }
    return image;
}
