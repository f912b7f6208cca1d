#include "effects/snow_effect.h"

using namespace qel::imaging;

int CSnowEffect::Process(const uint8_t* src, uint8_t* dst) {
    if (!CanProcess(src, dst))
        return 0;
    if (Strength() == 0)
        return CopyFrame(src, dst);
    PixelLayout layout;
    layout.width = Width();
    layout.height = Height();
    layout.stride = Stride();
    layout.channels = 3;
    layout.order = ByteOrder() == kByteOrderRgb ? qel::imaging::ByteOrder::RGB : qel::imaging::ByteOrder::BGR;
    // A layer that cannot be allocated gives 0: the frame is then delivered unchanged.
    return SnowLayer(src, dst, layout, Strength(), random_) ? 1 : 0;
}
