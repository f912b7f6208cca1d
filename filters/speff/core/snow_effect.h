#pragma once
// Snow: random flakes screened onto the picture, then a little paler and brighter; the strength is the
// flakes' density (0 copies the frame).
//
// Building flakes (noise, two blurs, a threshold) costs many frames' time, so a few layers are built
// when the format or the density changes, and every frame screens on one of them, never the one of the
// frame before, chosen by this effect's own random sequence.
#include <array>

#include "core/effect.h"
#include "qelimaging/noise.h"

class CSnowEffect : public CEffect {
public:
    static constexpr int kLayers = 4;

    CSnowEffect() : CEffect(5) {}
    bool Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) override;
    void Reset() override;
    void SetStrength(int strength) override;
    int Process(const uint8_t* src, uint8_t* dst) override;

private:
    // False (and no layers) when memory is short: frames are then delivered unchanged.
    bool BuildLayers();

    qel::imaging::NoiseRandom random_;  // this effect's own sequence: nothing shared between threads
    std::array<qel::imaging::SnowFlakes, kLayers> layers_;
    bool built_ = false;
    int last_ = 0;  // the layer of the frame before
};
