#pragma once
// Random brightening (or darkening) of chosen pixels, and the Snow overlay built from it.
#include "qelimaging/pixel_layout.h"

#include <vector>

namespace qel::imaging {

// Uniform pseudo-random numbers 0..32767. Each caller owns one, so that streaming threads never share
// state and tests can fix the sequence by the seed.
class NoiseRandom {
public:
    explicit NoiseRandom(std::uint32_t seed = 1) : state_(seed) {}
    int Next() {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    std::uint32_t state_;
};

// Copies the source to the destination, then in every row chooses (width x coverage + 50) / 100
// columns at random and pushes each chosen pixel toward white by a random share below amount % (toward
// black for a negative amount). Amount is bounded to -100..100 and coverage to 0..100; with either 0 the
// image is only copied. Returns false, writing nothing, for null buffers or a bad layout.
bool AddNoise(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout, int amount,
              int coverage, NoiseRandom& random);

// The Snow effect on a three-channel image: a blurred, thresholded noise layer screened onto the picture
// (density 0..100 sets how much of it turns to flakes), then saturation -50 % and brightness +10.
// Density 0 copies the source. Returns false, writing nothing, for null buffers, a bad layout, a
// one-channel image or when the working layer cannot be allocated.
bool SnowLayer(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout, int density,
               NoiseRandom& random);

// The two halves of SnowLayer, so that a caller can build flake layers when the format or the density
// changes and only screen them on per frame: SnowLayer is BuildSnowFlakes then ApplySnowFlakes.
struct SnowFlakes {
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> values; // a pixel's flake value for each of its three bytes, rows packed
};

// Steps 3 to 6 of the Snow effect for a width x rows picture at density 1..100 (bounded). Returns false,
// leaving flakes empty, for a negative size or when memory is short.
bool BuildSnowFlakes(int width, int rows, int density, NoiseRandom& random, SnowFlakes& flakes);

// Screens the flakes onto a three-channel image of their size, then washes it out and lightens it as
// SnowLayer does. Returns false, writing nothing, for null buffers, a bad layout or flakes of another size.
bool ApplySnowFlakes(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                     const SnowFlakes& flakes);

} // namespace qel::imaging
