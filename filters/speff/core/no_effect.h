#pragma once
// The neutral effect: frames pass unchanged.
#include "core/effect.h"

class CNoEffect : public CEffect {
public:
    CNoEffect() : CEffect(-1) {}
    int Process(const uint8_t* src, uint8_t* dst) override { return CopyFrame(src, dst); }
};
