#pragma once
// Sepia toning: fixed tone curves and the cube that desaturates and tones in one lookup.
#include "qelimaging/colour_cube.h"

namespace qel::imaging {

// The sepia tone curves (red, green, blue): smooth, non-decreasing, from 50, 54, 38 at black to
// 226, 226, 176 at white.
const Lut& SepiaToneTable();

// Tone table for amount k (0..100): k = 100 is the sepia table; otherwise each entry blends i x 127 / 128
// with the sepia value by weight k x 127 / 100 out of 127.
Lut SepiaToneBlend(int amount);

// The sepia cube for amount 0..200 (outside values are bounded): saturation lowered by up to 75 %, the
// tone blended in; above 100 a second pass of both.
void BuildSepiaCube(ColourCube& cube, int amount);

} // namespace qel::imaging
