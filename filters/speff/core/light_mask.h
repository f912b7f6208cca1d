#pragma once
// The spotlight's light mask: 320 x 240 points, 0 dark .. 255 full light, full light over a central
// ellipse and falling off smoothly towards the edges and corners.
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kLightMaskWidth = 320;
constexpr int kLightMaskLines = 240;

// The mask, kLightMaskLines lines of kLightMaskWidth bytes; computed once, then shared.
const uint8_t* LightMask();

// The mask resampled bilinearly (10-bit fractions) to width x lines bytes, line 0 first; empty when
// the size is not positive, does not fit or memory is short.
std::vector<uint8_t> ResampleLightMask(int width, int lines);
