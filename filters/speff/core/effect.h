#pragma once
// The abstract picture effect of the special-effect filter: configured for one frame format and one
// strength, then asked to process whole frames.
//
// An effect is not thread-safe: whoever owns it must not change it (Init, Reset, SetStrength) while a
// frame is in Process. CEffectSlot builds every new configuration aside and swaps it in between frames.
#include <cstddef>
#include <cstdint>

#include "core/effect_layout.h"

// Byte orders of a three-byte pixel.
constexpr int kByteOrderRgb = 0;
constexpr int kByteOrderBgr = 1;  // what the filter always passes: blue, green, red

class CEffect {
public:
    explicit CEffect(int effectIndex) : effectIndex_(effectIndex) {}
    virtual ~CEffect() = default;
    CEffect(const CEffect&) = delete;
    CEffect& operator=(const CEffect&) = delete;

    // Stores the format and marks the effect initialised. A format the effect cannot process (not
    // three 8-bit channels, an empty picture, rows shorter than the picture) leaves it uninitialised
    // and returns false.
    virtual bool Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder);
    // Forgets the format and frees what was built for it; the strength stays.
    virtual void Reset();
    // Stores the strength; effects that use it rebuild what depends on it.
    virtual void SetStrength(int strength) { strength_ = strength; }
    // Writes every pixel of one frame (stride x |height| bytes) from src into dst; the two must not
    // overlap. Row padding is left as it is (CNoEffect copies it with the rest). Returns 0 and writes
    // nothing when not initialised or a buffer is missing.
    virtual int Process(const uint8_t* src, uint8_t* dst) = 0;

    int EffectIndex() const { return effectIndex_; }
    bool IsInitialised() const { return initialised_; }
    int ByteOrder() const { return byteOrder_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BytesPerPixel() const { return bytesPerPixel_; }
    int BitsPerChannel() const { return bitsPerChannel_; }
    int Stride() const { return stride_; }
    int Strength() const { return strength_; }
    // Bytes of one frame, 0 when not initialised.
    size_t FrameBytes() const { return initialised_ ? qel::imaging::ImageBytes(layout_) : 0; }
    // The format from Init as the kernels take it (an empty layout when not initialised).
    const qel::imaging::PixelLayout& Layout() const { return layout_; }
    // Copies the bytes after the pixels of every row, so that dst holds a whole frame.
    void CopyRowPadding(const uint8_t* src, uint8_t* dst) const;

protected:
    // Copies the whole frame; the effects' answer where their table is missing or does nothing.
    int CopyFrame(const uint8_t* src, uint8_t* dst) const;
    bool CanProcess(const uint8_t* src, const uint8_t* dst) const { return initialised_ && src && dst; }

private:
    int effectIndex_;
    bool initialised_ = false;
    int byteOrder_ = 0;
    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 0;
    int bitsPerChannel_ = 0;
    int stride_ = 0;
    int strength_ = 0;
    qel::imaging::PixelLayout layout_;
};
