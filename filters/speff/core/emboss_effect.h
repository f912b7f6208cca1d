#pragma once
// Emboss: each channel becomes 128 plus the difference between a sample taken a little further on
// in the frame (bilinear, 7-bit fraction) and the pixel itself.
#include "core/effect.h"

struct EmbossParams {
    int offset = 0;    // whole lines and columns to the sample
    int fraction = 0;  // the rest, in 1/128
};

// From the strength: x = strength x 0.03, offset = trunc(x), fraction = trunc((x - offset) x 128).
EmbossParams EmbossParamsForStrength(int strength);

bool EmbossFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                 const EmbossParams& params);

class CEmbossEffect : public CEffect {
public:
    CEmbossEffect() : CEffect(3) {}
    void SetStrength(int strength) override;
    int Process(const uint8_t* src, uint8_t* dst) override;
    const EmbossParams& Params() const { return params_; }

private:
    EmbossParams params_;
};
