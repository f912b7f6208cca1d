#pragma once
// The overlay blend eight pixels at a time with AVX2 (callers check qel::imaging::CpuHasAvx2 first).
// Gives exactly what the plain blend gives.
#include <cstdint>

// Blends the first pixels of a row of `count` RGB24 pixels with a row of BGRA overlay pixels and
// returns how many it did: a multiple of eight, leaving at least the last three to the caller, since
// each group reads eight bytes beyond its own 24 of the video row. in may equal out.
int BlendOverlayRowAvx2(const uint8_t* in, const uint8_t* overlay, uint8_t* out, int count);
