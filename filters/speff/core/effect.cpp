#include "core/effect.h"

#include <cstring>

bool CEffect::Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) {
    Reset();
    const qel::imaging::PixelLayout layout{width, height, stride, bytesPerPixel,
                                           byteOrder == kByteOrderRgb ? qel::imaging::ByteOrder::RGB
                                                                      : qel::imaging::ByteOrder::BGR};
    if (bitsPerChannel != 8 || !IsEffectLayout(layout))
        return false;
    layout_ = layout;
    width_ = width;
    height_ = height;
    bytesPerPixel_ = bytesPerPixel;
    bitsPerChannel_ = bitsPerChannel;
    stride_ = stride;
    byteOrder_ = byteOrder;
    initialised_ = true;
    return true;
}

void CEffect::Reset() {
    initialised_ = false;
    byteOrder_ = 0;
    width_ = 0;
    height_ = 0;
    bytesPerPixel_ = 0;
    bitsPerChannel_ = 0;
    stride_ = 0;
    layout_ = qel::imaging::PixelLayout{};
}

int CEffect::CopyFrame(const uint8_t* src, uint8_t* dst) const {
    if (!CanProcess(src, dst))
        return 0;
    std::memcpy(dst, src, qel::imaging::ImageBytes(layout_));
    return 1;
}

void CEffect::CopyRowPadding(const uint8_t* src, uint8_t* dst) const {
    if (!CanProcess(src, dst))
        return;
    qel::imaging::CopyRowPadding(src, dst, layout_);
}
