#pragma once
// Swirl / spiral: the picture is turned about its centre by an angle that is largest at the centre and
// falls to zero at the edge of the centred ellipse, (1 - r)^2 x angle. The strength -100..100 gives
// the angle -180..180 degrees.
#include "core/effect.h"
#include "core/source_map.h"

// strength bounded to -100..100, times 180 / 100 (integer).
int SwirlAngleForStrength(int strength);

// Fills map for a frame of the layout and the angle in degrees; false when the map cannot be built.
bool BuildSwirlMap(const qel::imaging::PixelLayout& layout, int angleDegrees, CSourceMap* map);

class CSwirlEffect : public CEffect {
public:
    CSwirlEffect() : CEffect(7) {}
    bool Init(int width, int height, int bytesPerPixel, int bitsPerChannel, int stride, int byteOrder) override;
    void Reset() override;
    void SetStrength(int strength) override;
    int Process(const uint8_t* src, uint8_t* dst) override;

    int Angle() const { return angle_; }
    bool HasMap() const { return !map_.Empty(); }

private:
    void RebuildMap();

    int angle_ = 0;
    CSourceMap map_;
};
