#pragma once
// Negative: every byte of every pixel becomes 255 minus itself.
#include "core/effect.h"

// False (nothing written) for a bad frame.
bool NegativeFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout);

class CNegativeEffect : public CEffect {
public:
    CNegativeEffect() : CEffect(2) {}
    int Process(const uint8_t* src, uint8_t* dst) override;
};
