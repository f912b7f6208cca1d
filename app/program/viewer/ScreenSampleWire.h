#pragma once
// What the viewer and its screen sampler (ScreenSampler.exe) say over the sampler's standard input and
// output: a request is a count and that many points (screen coordinates); the answer is a count and
// that many colours (0x00BBGGRR), or a count of 0 when the screen could not be read.
#include <cstdint>

namespace screenwire {

// More points than this in one request ends the sampler: it is not what the viewer asks for.
constexpr uint32_t kMostPoints = 1024;

struct Point {
    int32_t x;
    int32_t y;
};

} // namespace screenwire
