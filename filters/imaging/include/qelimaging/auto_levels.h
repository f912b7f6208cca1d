#pragma once
// Automatic levels and automatic contrast from sampled histograms, and the contrast/brightness table.
#include "qelimaging/lut.h"

namespace qel::imaging {

// The 1 % and 99 % levels of each channel (table order: red, green, blue), measured on a 500 x 500 grid.
// Returns false for a bad image or one without pixels; the points are then untouched.
bool AutoLevelsPoints(const std::uint8_t* source, const PixelLayout& layout, const Region* region, int high[],
                      int low[]);

// Resets `lut` to the identity and, from the 0.5 % / 99.5 % points of the image on a 300 x 300 grid,
// builds one levels stretch for every channel shaped by `strength`: 0 keeps the identity, 100 stretches
// fully to the points, above 100 the levels close in on 64/192 and then on 127/128 (400 at most).
// Returns false for a bad image or one without pixels (the table is then the identity).
bool BuildAutoContrastLut(const std::uint8_t* source, const PixelLayout& layout, const Region* region,
                          int strength, Lut& lut);

// The same table for the image as `through` would map it, measured on the source: a stretch that follows
// another table can then be folded into it and the frame mapped once.
bool BuildAutoContrastLutThrough(const std::uint8_t* source, const PixelLayout& layout, const Region* region,
                                 const Lut& through, int strength, Lut& lut);

// Builds the automatic contrast table on the source within `measureRegion` and applies it from source to
// destination within `applyRegion` (null regions: the whole image).
bool AutoContrast(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                  const Region* measureRegion, const Region* applyRegion, int strength);

// Contrast/brightness table, contrast and brightness (-100..100) one a channel: a line of slope
// tan(0.44 c + 45 degrees) about mid-grey, shifted by the brightness. 0, 0 gives the identity.
void BuildContrastBrightnessLut(Lut& lut, const int contrasts[], const int brightnesses[]);

// Builds the table for the image's channel count and applies it.
bool ApplyContrastBrightness(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                             const Region* region, const int contrasts[], const int brightnesses[]);

} // namespace qel::imaging
