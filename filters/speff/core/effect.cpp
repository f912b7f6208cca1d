#include "core/effect.h"

#include <cstring>

bool CEffect::Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) {
    Reset();
    FrameGeometry geometry;
    if (bitsPerChannel != 8 || !FrameGeometry::Make(width, height, bytesPerPixel, stride, &geometry))
        return false;
    geometry_ = geometry;
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
    geometry_ = FrameGeometry();
}

int CEffect::CopyFrame(const uint8_t* src, uint8_t* dst) const {
    if (!CanProcess(src, dst))
        return 0;
    std::memcpy(dst, src, geometry_.FrameBytes());
    return 1;
}

void CEffect::CopyRowPadding(const uint8_t* src, uint8_t* dst) const {
    if (!CanProcess(src, dst))
        return;
    const size_t pixels = static_cast<size_t>(geometry_.width) * kEffectBytesPerPixel;
    const size_t padding = static_cast<size_t>(geometry_.stride) - pixels;
    if (padding == 0)
        return;
    for (int row = 0; row < geometry_.lines; ++row) {
        const size_t offset = static_cast<size_t>(row) * static_cast<size_t>(geometry_.stride) + pixels;
        std::memcpy(dst + offset, src + offset, padding);
    }
}
