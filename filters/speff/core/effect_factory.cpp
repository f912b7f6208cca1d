#include "core/effect_factory.h"

#include "core/black_white_effect.h"
#include "core/emboss_effect.h"
#include "core/fish_eye_effect.h"
#include "core/mosaic_effect.h"
#include "core/negative_effect.h"
#include "core/no_effect.h"
#include "core/sepia_effect.h"
#include "core/snow_effect.h"
#include "core/spotlight_effect.h"
#include "core/swirl_effect.h"

std::unique_ptr<CEffect> CreateEffect(int effectIndex) {
    switch (effectIndex) {
    case 0: return std::make_unique<CBlackWhiteEffect>();
    case 1: return std::make_unique<CSepiaEffect>();
    case 2: return std::make_unique<CNegativeEffect>();
    case 3: return std::make_unique<CEmbossEffect>();
    case 4: return std::make_unique<CFishEyeEffect>();
    case 5: return std::make_unique<CSnowEffect>();
    case 6: return std::make_unique<CMosaicEffect>();
    case 7: return std::make_unique<CSwirlEffect>();
    case 8: return std::make_unique<CSpotlightEffect>();
    default: return std::make_unique<CNoEffect>();
    }
}
