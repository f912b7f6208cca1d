#pragma once
// Creates the effect of an index: 0 black and white, 1 sepia, 2 negative, 3 emboss, 4 fish eye,
// 5 snow, 6 mosaic, 7 swirl, 8 spotlight; any other index the neutral effect.
#include <memory>

#include "core/effect.h"

constexpr int kEffectCount = 9;

std::unique_ptr<CEffect> CreateEffect(int effectIndex);
