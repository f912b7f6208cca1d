#pragma once
// The per-frame work of the low-light filter: stretch each channel's levels to its 1 % / 99 % points,
// lift them through the gamma curve, then raise the contrast automatically.
#include <cstdint>

#include "core/low_light_params.h"
#include "qelimaging/lut.h"

class CLowLightFrame {
public:
    static constexpr int kDefaultStrength = 50;

    CLowLightFrame() { SetStrength(kDefaultStrength); }

    // Derives the parameters and rebuilds the gamma table.
    void SetStrength(int strength);
    const LowLightParams& Params() const { return params_; }
    const qel::imaging::Lut& GammaTable() const { return gamma_; }

    // Brightens a three-channel frame from src into dst, row padding copied. Returns false when the
    // imaging routines refuse the frame; dst may then be half written and the caller delivers the
    // input instead.
    bool Process(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout);

private:
    LowLightParams params_;
    qel::imaging::Lut gamma_ = qel::imaging::MakeIdentityLut(3);
    qel::imaging::Lut working_ = qel::imaging::MakeIdentityLut(3);
};
