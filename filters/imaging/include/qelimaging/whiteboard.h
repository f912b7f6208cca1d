#pragma once
// Whiteboard enhancement: turns a camera picture of a whiteboard, sheet or slide into an evenly white
// page with dark, crisp writing. Four steps, in order: grey-world white balance, flattening of the
// uneven background, clipping of near-grey pixels to white above a level set by the strength, and a
// gamma curve of 0.6 that darkens the mid-tones.
#include <cstdint>

namespace qel::imaging {

// The frame to enhance. Pixels are three 8-bit components; rows `stride` bytes apart. A negative height
// (top-down frame) is processed by its absolute height, rows in buffer order.
struct WhiteboardImage {
    std::int32_t width;
    std::int32_t height;
    std::int32_t stride;
    std::int32_t bytesPerPixel;  // must be 3
    std::int32_t bitsPerChannel; // must be 8
    std::int32_t componentOrder; // 1: blue, green, red (DIB order); 0: red, green, blue
    const std::uint8_t* source;
    std::uint8_t* destination; // may be the source buffer
};

// Settings. Only the strength (0..100; outside values give the white level of 50) is used: the warp
// corners and the smoothing switch are carried for layout but have no effect.
struct WhiteboardParams {
    std::int32_t warpMode;
    std::int32_t corners[8];
    std::int32_t strength;
    std::int32_t smoothing;
};

// Optional progress report: rising percentages from 20 to 90.
using WhiteboardProgress = void (*)(int percent);

enum WhiteboardResult : int {
    kWhiteboardOk = 0,
    kWhiteboardBadArguments = -2, // null pointers, wrong pixel size, no pixels, a stride too short
    kWhiteboardStepFailed = -8,   // working memory could not be had
};

// Enhances the source into the destination. On any failure nothing is written, so a caller can deliver
// its input unchanged.
int EnhanceWhiteboard(const WhiteboardImage* image, const WhiteboardParams* params,
                      WhiteboardProgress progress);

} // namespace qel::imaging
