#pragma once
// Negative: every byte of every pixel becomes 255 minus itself.
#include "core/effect.h"

bool NegativeFrame(const uint8_t* src, uint8_t* dst, int width, int height, int stride);

class CNegativeEffect : public CEffect {
public:
    CNegativeEffect() : CEffect(2) {}
    int Process(const uint8_t* src, uint8_t* dst) override;
};
