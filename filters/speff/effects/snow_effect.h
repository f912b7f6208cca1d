#pragma once
// Snow: random flakes screened onto the picture, then a little paler and brighter; the strength is the
// flakes' density (0 copies the frame).
#include "effects/effect.h"
#include "qelimaging/noise.h"

class CSnowEffect : public CEffect {
public:
    CSnowEffect() : CEffect(5) {}
    int Process(const uint8_t* src, uint8_t* dst) override;

private:
    qel::imaging::NoiseRandom random_;  // this effect's own sequence: nothing shared between threads
};
