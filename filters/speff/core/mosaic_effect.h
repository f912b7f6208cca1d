#pragma once
// Mosaic: square blocks from the first line and column on, each filled with its mean colour (the last
// blocks of a line or column are smaller).
#include "core/effect.h"

// The block size for a strength: the strength bounded to 2..16.
int MosaicBlockSize(int strength);

bool MosaicFrame(const uint8_t* src, uint8_t* dst, const qel::imaging::PixelLayout& layout, int blockSize);

class CMosaicEffect : public CEffect {
public:
    CMosaicEffect() : CEffect(6) {}
    void SetStrength(int strength) override;
    int Process(const uint8_t* src, uint8_t* dst) override;
    int BlockSize() const { return blockSize_; }

private:
    int blockSize_ = MosaicBlockSize(0);
};
