#pragma once
// Per-channel 8-bit lookup tables and the tables built from gamma and levels.
#include "qelimaging/pixel_layout.h"

namespace qel::imaging {

// One 256-entry table per channel: table 0 red, 1 green, 2 blue. A one-channel table serves every
// channel of an image.
struct Lut {
    int channels = 3;
    std::uint8_t table[3][256];
};

// Identity table of 1 or 3 channels (any other count is taken as 3).
Lut MakeIdentityLut(int channels);
void InitLut(Lut& lut);

// Maps every pixel of the region (the whole image when null) through the table into the destination;
// the rest of the destination stays as it is. Source and destination may be the same buffer.
// Returns false, writing nothing, for a null buffer or a bad layout.
bool ApplyLut(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
              const Region* region, const Lut& lut);

// destination[c][i] = source[c'][destination[c][i]], c' = c for a three-channel source, 0 for one channel:
// the source table is applied after the destination table.
void ComposeLut(Lut& destination, const Lut& source);

// Gamma curves, one gamma a channel: entry 0 = 0, entry j = trunc(255 (j / 255)^(1 / g) + 0.5).
// A gamma <= 0 is taken as 1. Gamma 2 maps 64 to 128.
void BuildGammaLut(Lut& lut, const float gammas[]);

// Linear stretch per channel from its low point (to 0) to its high point (to 255); the points are first
// put into 0..255 and made distinct (CorrectLevelPoints).
void BuildLevelsLut(Lut& lut, const int high[], const int low[]);

} // namespace qel::imaging
