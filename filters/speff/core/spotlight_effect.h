#pragma once
// Spotlight: the picture lit through the light mask; full light lifts a channel along
// 255 (1 - (1 - a/255)^2), darkness leaves about a tenth of it.
#include <vector>

#include "core/effect.h"

// mask: one byte a pixel, width x |height|, line 0 (the bottom of the picture) first.
bool SpotlightFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout,
                    const uint8_t* mask);

class CSpotlightEffect : public CEffect {
public:
    CSpotlightEffect() : CEffect(8) {}
    bool Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) override;
    void Reset() override;
    int Process(const uint8_t* src, uint8_t* dst) override;

    bool HasMask() const { return !mask_.empty(); }

private:
    std::vector<uint8_t> mask_;
};
