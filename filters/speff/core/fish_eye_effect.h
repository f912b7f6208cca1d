#pragma once
// Fish eye (sphere): the picture is bent over an arch and bulged out sideways towards the middle
// lines; points that come from outside the picture, and the border lines and columns, are black.
#include "core/effect.h"
#include "core/source_map.h"

// Fills map for a frame of the layout; false when the map cannot be built.
bool BuildFishEyeMap(const qel::imaging::PixelLayout& layout, CSourceMap* map);

class CFishEyeEffect : public CEffect {
public:
    CFishEyeEffect() : CEffect(4) {}
    bool Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) override;
    void Reset() override;
    int Process(const uint8_t* src, uint8_t* dst) override;

    bool HasMap() const { return !map_.Empty(); }

private:
    CSourceMap map_;
};
