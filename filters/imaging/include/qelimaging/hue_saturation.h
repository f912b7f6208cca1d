#pragma once
// Hue and saturation adjustment in the HSL model, in integers.
#include "qelimaging/colour_cube.h"

namespace qel::imaging {

// One colour (components 0..255): hue turned by `hueShift` degrees, saturation changed by `saturation`
// percent (-100..100; -100 gives the grey of the colour's lightness). Greys stay grey.
Rgb AdjustHueSaturation(Rgb colour, int hueShift, int saturation);

// The identity cube with every node whose three values are not all equal adjusted as above.
void BuildHueSaturationCube(ColourCube& cube, int hueShift, int saturation);

// Adjusts every pixel of the region of a three-channel image, per pixel (useCube false) or through a
// hue/saturation cube built once (useCube true: faster, within the interpolation's rounding).
bool AdjustHueSaturation(const std::uint8_t* source, std::uint8_t* destination, const PixelLayout& layout,
                         const Region* region, int hueShift, int saturation, bool useCube);

} // namespace qel::imaging
