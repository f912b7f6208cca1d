#pragma once
// Black and white: every pixel becomes its luminance grey.
#include "core/effect.h"

// grey = (306 R + 601 G + 117 B) >> 10 into all three bytes, red and blue found by the layout's byte
// order. False (nothing written) for a bad frame.
bool BlackWhiteFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout);

class CBlackWhiteEffect : public CEffect {
public:
    CBlackWhiteEffect() : CEffect(0) {}
    int Process(const uint8_t* src, uint8_t* dst) override;
};
